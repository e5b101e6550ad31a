#include "output/screenreport.hpp"

#include <qcustomplot.h>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "output/reporttext.hpp"

namespace ondavia::gui {

namespace {

// The page in millimetres from the paper's corner: margins 10 above and 15
// left, the header band 13.2 high, the framed picture below it.
constexpr double kLeft = 15, kTop = 10;
constexpr double kBandWidth = 267.2, kBandHeight = 13.2;

}  // namespace

QPixmap CaptureMainWindow(QWidget* mainWindow, int topLineY) {
    const QRect client = mainWindow->rect();
    const int top = std::clamp(topLineY, 0, client.height());
    const QRect below(0, top, client.width(), client.height() - top);
    // An empty rectangle would make grab() take the whole window.
    if (below.isEmpty()) return {};
    return mainWindow->grab(below);
}

TFrmDtgAnalyP_B1::TFrmDtgAnalyP_B1(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("FrmDtgAnalyP_B1"));
}

QRectF TFrmDtgAnalyP_B1::PictureBoxMm() {
    return {kLeft + 0.3, kTop + kBandHeight + 0.3, 266.7, 175.9};
}

void TFrmDtgAnalyP_B1::Fill(bool hundredths, const QString& carNoText) {
    QLblTitleName = QString::fromStdString(ReportTitle(hundredths));
    QLblCarNo = carNoText;
}

QString TFrmDtgAnalyP_B1::DocumentName() const { return QLblTitleName; }

void TFrmDtgAnalyP_B1::PaintPage(QCPPainter& painter, double dotsPerMm) {
    DrawReportTitle(painter, dotsPerMm, kLeft, kTop + 0.8, kBandWidth, QLblTitleName,
                    ReportFont(15, true));
    DrawReportText(painter, dotsPerMm, kLeft + 4.5, kTop + 9.3, kBandWidth - 4.5, QLblCarNo,
                   ReportFont(10), Qt::AlignLeft);
    const QRectF mm = PictureBoxMm();
    const QRectF box(mm.left() * dotsPerMm, mm.top() * dotsPerMm, mm.width() * dotsPerMm,
                     mm.height() * dotsPerMm);
    painter.save();
    if (!QRImageWindow.isNull())
        painter.drawPixmap(box, QRImageWindow, QRectF(QRImageWindow.rect()));
    QPen frame(Qt::black);
    frame.setWidthF(0.25 * dotsPerMm);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
}

TFrmDtgAnalyP_B::TFrmDtgAnalyP_B(AppState& state, TFrmDtgAnalyP_B1& report, QWidget* parent)
    : ReportOptionsWindow(QStringLiteral("화면 출력"), state, parent), report_(report) {
    setObjectName(QStringLiteral("FrmDtgAnalyP_B"));
    QGridLayout* grid = RangeLayout();
    QWidget* group = RangeGroup();
    LblCarNo = ValueLabel(QStringLiteral("LblCarNo"), group);
    LblFileName = ValueLabel(QStringLiteral("LblFileName"), group);
    LblFileName->setMinimumWidth(300);
    grid->addWidget(new QLabel(QStringLiteral("차량번호"), group), 0, 0);
    grid->addWidget(LblCarNo, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("파일이름"), group), 1, 0);
    grid->addWidget(LblFileName, 1, 1);
}

void TFrmDtgAnalyP_B::SetImage(const QString& path, const QPixmap& picture) {
    fileName_ = QString::fromStdString(ondavia::ReportFileName(path.toStdString()));
    report_.SetPicture(picture);
}

void TFrmDtgAnalyP_B::PrintWindowImage(const QString& path, const QPixmap& picture) {
    SetImage(path, picture);
    exec();
}

void TFrmDtgAnalyP_B::showEvent(QShowEvent* event) {
    FormShow();
    ReportOptionsWindow::showEvent(event);
}

void TFrmDtgAnalyP_B::FormShow() {
    LblCarNo->setText(QStringLiteral("  ") + (CarNo ? CarNo() : QString()));
    LblFileName->setText(QStringLiteral("  ") + fileName_);
}

void TFrmDtgAnalyP_B::PrepareReport() {
    report_.Fill(state_.HundredthsData, QStringLiteral("차량번호 : ") + LblCarNo->text().trimmed() +
                                            QStringLiteral(" (") + LblFileName->text().trimmed() +
                                            QStringLiteral(")"));
}

QString TFrmDtgAnalyP_B::SuggestedPdfName() const {
    const QFileInfo file(state_.LoadedFilePath);
    const QString base = QFileInfo(fileName_).completeBaseName();
    return file.dir().filePath((base.isEmpty() ? QStringLiteral("screen") : base) +
                               QStringLiteral("-screen.pdf"));
}

}  // namespace ondavia::gui
