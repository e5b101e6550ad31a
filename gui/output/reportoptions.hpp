// The options window both reports share: the printer list, the number of
// copies, and the buttons that print, preview or save the page as PDF. The
// chart report and the screen report add their print range group and their
// page.
#pragma once

#include <QColor>
#include <QDialog>
#include <functional>
#include <vector>

#include "app/appstate.hpp"

class QAbstractButton;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace ondavia::gui {

class ReportPage;

class ReportOptionsWindow : public QDialog {
    Q_OBJECT
  public:
    ReportOptionsWindow(const QString& caption, AppState& state, QWidget* parent);

    // Asks where "PDF 저장" writes; an empty answer cancels. Tests answer
    // instead of a person.
    std::function<QString(QWidget* parent, const QString& suggested)> ChoosePdfFile;
    // Opens the preview of `printer`, whose pages `paint` draws, and returns
    // when it is closed. Tests look at the pages instead.
    std::function<void(QPrinter& printer, const std::function<void(QPrinter*)>& paint)> ShowPreview;

    // Each activation refills the printer list and, with a printer, moves
    // the focus to the print button.
    void FormActivate();
    // One handler for print, preview and PDF.
    void BBtnPrintClick(QAbstractButton* sender);

  protected:
    // Builds the page for one press of print, preview or PDF.
    virtual void PrepareReport() = 0;
    virtual ReportPage& Page() = 0;
    // The file name "PDF 저장" proposes.
    virtual QString SuggestedPdfName() const = 0;

    // The print range group, between the printer group and the paper group.
    QGroupBox* RangeGroup() const { return rangeGroup_; }
    QGridLayout* RangeLayout() const { return rangeLayout_; }
    // A read-only value label; texts from data files stay plain text.
    static QLabel* ValueLabel(const QString& name, QWidget* parent);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppState& state_;

  private:
    void BuildPrinterGroup();
    void BuildPaperGroup();
    void BuildButtons();
    void CbBoxSelectPrinterChange();
    bool EditorKey(QWidget* editor, QKeyEvent* key);
    void MoveFocus(QWidget* from, int step, bool tabStopsOnly);
    void Tint(QWidget* editor, bool on);
    void Print();
    void Preview();
    void SavePdf();

    QComboBox* CbBoxSelectPrinter;
    QSpinBox* SEdtReportCount;
    QPushButton *BBtnPrint, *BBtnPreview, *BBtnPdf, *BBtnClose;
    QGroupBox* rangeGroup_;
    QGridLayout* rangeLayout_;
    // The editors and buttons in focus order.
    std::vector<QWidget*> order_;
    // Background colours of the editors while they carry the focus tint.
    std::vector<std::pair<QWidget*, QPalette>> saved_;
    // Set once the no-printer warning was shown for this showing, so that
    // the activation its closing brings does not warn again and again.
    bool warned_ = false;
};

}  // namespace ondavia::gui
