#pragma once
// Starting a print on the printer of the printer setup, or on any other paged
// device (a PDF file, the preview).
class QPainter;
class QPagedPaintDevice;

namespace Printing {

/// Begin painting on the device; false when it cannot be started. A printer
/// with nowhere to print (no print queue, and no file chosen in the printer
/// setup) is refused without being started: Qt marks such a printer active
/// when its start fails and never clears the mark, so that no later choice of
/// a printer or a file would take and nothing could be printed until the
/// program is started again.
bool begin(QPainter &painter, QPagedPaintDevice &device);

} // namespace Printing
