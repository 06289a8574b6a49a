#include "platform/printer/Printing.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace Printing {

bool begin(QPainter &painter, QPagedPaintDevice &device)
{
    if (const auto *printer = dynamic_cast<const QPrinter *>(&device))
        if (printer->outputFormat() == QPrinter::PdfFormat && printer->outputFileName().isEmpty())
            return false;
    return painter.begin(&device);
}

} // namespace Printing
