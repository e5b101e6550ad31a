// One printed page of a report, painted the same way on every device: the
// printer, the preview, a PDF file and an image. Pages are A4 landscape and
// are laid out in millimetres from the paper's top-left corner.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QRectF>
#include <QString>

class QCPPainter;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace ondavia::gui {

inline constexpr double kPaperWidthMm = 297;
inline constexpr double kPaperHeightMm = 210;

class ReportPage {
  public:
    virtual ~ReportPage() = default;
    // Paints the page; the painter's origin is the paper's corner and
    // dotsPerMm the device's resolution.
    virtual void PaintPage(QCPPainter& painter, double dotsPerMm) = 0;
    // The name the print system and the PDF give the document.
    virtual QString DocumentName() const = 0;
};

// The reports' face: "돋움체" (drawn with the Nanum fonts here).
QFont ReportFont(double pointSize, bool bold = false);

// One line of text aligned in a box `width` wide at (left, top), all in
// millimetres; `top` is the top of the text.
void DrawReportText(QPainter& painter, double dotsPerMm, double left, double top, double width,
                    const QString& text, const QFont& font, Qt::Alignment alignment);
// A title centred on a band, with a line under it.
void DrawReportTitle(QPainter& painter, double dotsPerMm, double left, double top, double width,
                     const QString& text, const QFont& font);

// Sets the device to A4 landscape with its origin at the paper's corner.
void PrepareReportDevice(QPrinter& printer);
// Paints the page on a prepared device (printer, PDF writer, or an image of
// the paper). False when
// the device cannot be painted on.
bool RenderReportPage(ReportPage& page, QPaintDevice& device);
// The page as a PDF document.
QByteArray ReportPdf(ReportPage& page);
// Writes the PDF through a temporary file renamed into place, so that a
// failed write leaves an earlier file as it was.
bool SaveReportPdf(ReportPage& page, const QString& path);

}  // namespace ondavia::gui
