#include "platform/printer/Printing.h"

#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>

namespace Printing {

bool begin(QPainter &painter, QPagedPaintDevice &device)
{
    // A print preview draws on a printer too, through a picture engine of its
    // own that needs no file; only the printer's own PDF engine writes one.
    if (const auto *printer = dynamic_cast<const QPrinter *>(&device))
        if (printer->outputFormat() == QPrinter::PdfFormat && printer->outputFileName().isEmpty() &&
            printer->paintEngine() && printer->paintEngine()->type() == QPaintEngine::Pdf)
            return false;
    return painter.begin(&device);
}

} // namespace Printing
