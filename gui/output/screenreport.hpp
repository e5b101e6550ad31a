// The screen report: a picture of the main window below its toolbar on one
// landscape A4 page, under the title, the car number and the file name. Its
// options window is TFrmDtgAnalyP_B, its page TFrmDtgAnalyP_B1.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <functional>

#include "output/reportoptions.hpp"
#include "output/reportpage.hpp"

class QLabel;

namespace ondavia::gui {

// The main window's client area from `topLineY` (the line under the
// toolbar) down, as it is displayed now.
QPixmap CaptureMainWindow(QWidget* mainWindow, int topLineY);

// The page: the header band and the picture, centred and stretched to fill
// its framed box whatever the window's size was. Never shown as a window.
class TFrmDtgAnalyP_B1 : public QObject, public ReportPage {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_B1(QObject* parent = nullptr);

    // A copy of the picture, kept until the next one.
    void SetPicture(const QPixmap& picture) { QRImageWindow = picture; }
    const QPixmap& Picture() const { return QRImageWindow; }
    void Fill(bool hundredths, const QString& carNoText);

    QString TitleName() const { return QLblTitleName; }
    QString CarNoText() const { return QLblCarNo; }
    // The framed box of the picture, in millimetres from the paper's corner.
    static QRectF PictureBoxMm();

    void PaintPage(QCPPainter& painter, double dotsPerMm) override;
    QString DocumentName() const override;

  private:
    QString QLblTitleName, QLblCarNo;
    QPixmap QRImageWindow;
};

// The options window "화면 출력".
class TFrmDtgAnalyP_B : public ReportOptionsWindow {
    Q_OBJECT
  public:
    TFrmDtgAnalyP_B(AppState& state, TFrmDtgAnalyP_B1& report, QWidget* parent);

    // The main window's car number.
    std::function<QString()> CarNo;

    // Keeps the picture for the page and shows the window modally until it
    // is closed. Take the picture (CaptureMainWindow) before calling, so
    // that the options window is not in it.
    void PrintWindowImage(const QString& path, const QPixmap& picture);
    // Remembers the file name and the picture without showing the window.
    void SetImage(const QString& path, const QPixmap& picture);
    void FormShow();
    QString ReportFileName() const { return fileName_; }

  protected:
    void PrepareReport() override;
    ReportPage& Page() override { return report_; }
    QString SuggestedPdfName() const override;
    void showEvent(QShowEvent* event) override;

  private:
    TFrmDtgAnalyP_B1& report_;
    QLabel *LblCarNo, *LblFileName;
    QString fileName_;
};

}  // namespace ondavia::gui
