#include "output/reportpage.hpp"

#include <qcustomplot.h>
#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "common/fileio.hpp"

namespace ondavia::gui {

QFont ReportFont(double pointSize, bool bold) {
    QFont font;
    // The named face first; the Nanum fonts stand for it where it is missing.
    font.setFamilies({QStringLiteral("돋움체"), QStringLiteral("NanumGothicCoding"),
                      QStringLiteral("NanumGothic")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

namespace {

// Draws `text` on one line with its left end at x; returns its advance.
// Words are drawn one by one and the blanks between them left as gaps: the
// Korean fonts map control characters to the blank's glyph, so a drawn
// blank would read back from a PDF as a control character and the words
// would run together.
double DrawWords(QPainter& painter, const QFontMetricsF& fm, double x, double baseline,
                 const QString& text) {
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == QLatin1Char(' '))
            ++i;
        qsizetype j = i;
        while (j < text.size() && text[j] != QLatin1Char(' '))
            ++j;
        if (j > i)
            painter.drawText(QPointF(x + fm.horizontalAdvance(text.left(i)), baseline),
                             text.mid(i, j - i));
        i = j;
    }
    return fm.horizontalAdvance(text);
}

void DrawLine(QPainter& painter, double dotsPerMm, double left, double top, double width,
              const QString& text, const QFont& font, Qt::Alignment alignment, bool underline) {
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF fm(font, painter.device());
    const double boxLeft = left * dotsPerMm, boxWidth = width * dotsPerMm;
    const double advance = fm.horizontalAdvance(text);
    double x = boxLeft;
    if (alignment & Qt::AlignHCenter)
        x += (boxWidth - advance) / 2;
    else if (alignment & Qt::AlignRight)
        x += boxWidth - advance;
    const double baseline = top * dotsPerMm + fm.ascent();
    DrawWords(painter, fm, x, baseline, text);
    if (underline) {
        QPen pen(Qt::black);
        pen.setWidthF(std::max(1.0, fm.lineWidth()));
        painter.setPen(pen);
        const double y = baseline + fm.underlinePos();
        painter.drawLine(QPointF(x, y), QPointF(x + advance, y));
    }
    painter.restore();
}

}  // namespace

void DrawReportText(QPainter& painter, double dotsPerMm, double left, double top, double width,
                    const QString& text, const QFont& font, Qt::Alignment alignment) {
    DrawLine(painter, dotsPerMm, left, top, width, text, font, alignment, false);
}

void DrawReportTitle(QPainter& painter, double dotsPerMm, double left, double top, double width,
                     const QString& text, const QFont& font) {
    DrawLine(painter, dotsPerMm, left, top, width, text, font, Qt::AlignHCenter, true);
}

void PrepareReportDevice(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    // Printers keep margins of their own; the page's margins are drawn.
    printer.setFullPage(true);
}

bool RenderReportPage(ReportPage& page, QPaintDevice& device) {
    QCPPainter painter;
    if (!painter.begin(&device)) return false;
    // Vector output with real text: no cached label pictures.
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    page.PaintPage(painter, device.logicalDpiX() / 25.4);
    return painter.end();
}

QByteArray ReportPdf(ReportPage& page) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(page.DocumentName());
        writer.setCreator(QStringLiteral("Ondavia"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        if (!RenderReportPage(page, writer)) return {};
    }
    return bytes;
}

bool SaveReportPdf(ReportPage& page, const QString& path) {
    const QByteArray pdf = ReportPdf(page);
    if (pdf.isEmpty()) return false;
    return ReplaceFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
}

}  // namespace ondavia::gui
