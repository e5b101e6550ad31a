#include "output/reportoptions.hpp"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/services.hpp"
#include "output/printclass.hpp"
#include "output/reportpage.hpp"

namespace ondavia::gui {

namespace {

const char* const kNoPrinter = "설치된 프린터 드라이브가 없습니다.";

// The focus tint: the background ANDed with FED6D1 as the colour is stored
// blue-green-red, a light blue on white.
QColor Tinted(const QColor& c) { return QColor(c.red() & 0xD1, c.green() & 0xD6, c.blue() & 0xFE); }

QLabel* FixedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

ReportOptionsWindow::ReportOptionsWindow(const QString& caption, AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      state_(state) {
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    BuildPrinterGroup();
    rangeGroup_ = new QGroupBox(QStringLiteral(" 인쇄범위 "), this);
    rangeGroup_->setObjectName(QStringLiteral("GroupRange"));
    rangeLayout_ = new QGridLayout(rangeGroup_);
    layout->addWidget(rangeGroup_);
    BuildPaperGroup();
    BuildButtons();

    order_ = {CbBoxSelectPrinter, SEdtReportCount, BBtnPrint, BBtnPreview, BBtnPdf, BBtnClose};
    for (size_t i = 1; i < order_.size(); ++i)
        setTabOrder(order_[i - 1], order_[i]);

    ChoosePdfFile = [](QWidget* owner, const QString& suggested) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("PDF 저장"), suggested,
                                            QStringLiteral("PDF (*.pdf)"));
    };
    ShowPreview = [this](QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
        QPrintPreviewDialog preview(&printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, paint);
        preview.exec();
    };
}

QLabel* ReportOptionsWindow::ValueLabel(const QString& name, QWidget* parent) {
    QLabel* label = FixedLabel(QString(), parent);
    label->setObjectName(name);
    label->setMinimumWidth(180);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void ReportOptionsWindow::BuildPrinterGroup() {
    auto* group = new QGroupBox(QStringLiteral(" 프린터 "), this);
    group->setObjectName(QStringLiteral("GroupPrinter"));
    auto* grid = new QGridLayout(group);
    CbBoxSelectPrinter = new QComboBox(group);
    CbBoxSelectPrinter->setObjectName(QStringLiteral("CbBoxSelectPrinter"));
    CbBoxSelectPrinter->setEditable(false);
    CbBoxSelectPrinter->setMinimumWidth(260);
    // Reached by mouse and the arrow keys, never by Tab.
    CbBoxSelectPrinter->setFocusPolicy(Qt::ClickFocus);
    CbBoxSelectPrinter->installEventFilter(this);
    grid->addWidget(FixedLabel(QStringLiteral("프린트명"), group), 0, 0);
    grid->addWidget(CbBoxSelectPrinter, 0, 1);
    connect(CbBoxSelectPrinter, &QComboBox::currentIndexChanged, this,
            &ReportOptionsWindow::CbBoxSelectPrinterChange);
    static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void ReportOptionsWindow::BuildPaperGroup() {
    auto* group = new QGroupBox(QStringLiteral(" 용지 및 옵션 "), this);
    group->setObjectName(QStringLiteral("GroupPaper"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(14);
    grid->addWidget(FixedLabel(QStringLiteral("출력용지"), group), 0, 0);
    grid->addWidget(FixedLabel(QStringLiteral("A4"), group), 0, 1);
    grid->addWidget(FixedLabel(QStringLiteral("용지방향"), group), 0, 2);
    grid->addWidget(FixedLabel(QStringLiteral("넓게 출력"), group), 0, 3);
    grid->addWidget(FixedLabel(QStringLiteral("매수"), group), 0, 4);
    SEdtReportCount = new QSpinBox(group);
    SEdtReportCount->setObjectName(QStringLiteral("SEdtReportCount"));
    SEdtReportCount->setRange(1, 10);
    SEdtReportCount->setValue(1);
    SEdtReportCount->setToolTip(QStringLiteral("출력물 매수"));
    SEdtReportCount->setFocusPolicy(Qt::ClickFocus);
    SEdtReportCount->installEventFilter(this);
    if (auto* edit = SEdtReportCount->findChild<QLineEdit*>()) edit->installEventFilter(this);
    grid->addWidget(SEdtReportCount, 0, 5);
    static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void ReportOptionsWindow::BuildButtons() {
    auto* row = new QHBoxLayout;
    auto button = [&](const char* name, const QString& text, const QString& hint) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::StrongFocus);
        row->addWidget(b);
        return b;
    };
    BBtnPrint =
        button("BBtnPrint", QStringLiteral("인쇄(&P)"), QStringLiteral("프린터로 출력하기"));
    BBtnPreview =
        button("BBtnPreview", QStringLiteral("미리보기(&V)"), QStringLiteral("화면으로 미리보기"));
    BBtnPdf = button("BBtnPdf", QStringLiteral("PDF 저장"), QStringLiteral("PDF 파일로 저장하기"));
    BBtnClose = button("BBtnClose", QStringLiteral("닫기(&X)"), QStringLiteral("인쇄 작업 종료"));
    for (QPushButton* b : {BBtnPrint, BBtnPreview, BBtnPdf})
        connect(b, &QPushButton::clicked, this, [this, b] { BBtnPrintClick(b); });
    connect(BBtnClose, &QPushButton::clicked, this, &QDialog::close);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void ReportOptionsWindow::showEvent(QShowEvent* event) {
    warned_ = false;
    QDialog::showEvent(event);
    if (QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

bool ReportOptionsWindow::event(QEvent* event) {
    // After the activation has been handled: the warning it may show is a
    // window of its own.
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &ReportOptionsWindow::FormActivate);
    return QDialog::event(event);
}

void ReportOptionsWindow::FormActivate() {
    TPRINT_CLASS* print = state_.PrintClass;
    if (!print) return;
    // Closing the warning activates the window again: one warning per showing.
    if (warned_ && print->InstalledPrinters().isEmpty()) return;
    int index;
    {
        const QSignalBlocker quiet(CbBoxSelectPrinter);  // filling is not a choice
        index = print->FillPrinterList(CbBoxSelectPrinter, this);
    }
    if (index == -1) {
        warned_ = true;
        return;
    }
    BBtnPrint->setFocus(Qt::ActiveWindowFocusReason);
}

void ReportOptionsWindow::CbBoxSelectPrinterChange() {
    if (state_.PrintClass) state_.PrintClass->SelectPrinter(CbBoxSelectPrinter);
}

void ReportOptionsWindow::BBtnPrintClick(QAbstractButton* sender) {
    // Pressed by its accelerator: leaving the editor first finishes its input.
    if (focusWidget() != sender) sender->setFocus(Qt::ShortcutFocusReason);
    SEdtReportCount->interpretText();
    PrepareReport();
    if (sender == BBtnPrint)
        Print();
    else if (sender == BBtnPreview)
        Preview();
    else if (sender == BBtnPdf)
        SavePdf();
}

void ReportOptionsWindow::Print() {
    QPrinter printer(QPrinter::HighResolution);
    if (state_.PrintClass) state_.PrintClass->ApplyToReport(printer, SEdtReportCount->value());
    const bool none = state_.PrintClass ? state_.PrintClass->InstalledPrinters().isEmpty()
                                        : QPrinterInfo::availablePrinterNames().isEmpty();
    if (none || printer.printerName().isEmpty() || !printer.isValid()) {
        ShowWarning(this, QString::fromUtf8(kNoPrinter));
        return;
    }
    PrepareReportDevice(printer);
    printer.setDocName(Page().DocumentName());
    BusyCursor busy;
    if (!RenderReportPage(Page(), printer))
        ShowError(this, QStringLiteral("인쇄하지 못했습니다: ") + printer.printerName());
}

void ReportOptionsWindow::Preview() {
    QPrinter printer(QPrinter::HighResolution);
    if (state_.PrintClass) state_.PrintClass->ApplyToReport(printer, SEdtReportCount->value());
    PrepareReportDevice(printer);
    printer.setDocName(Page().DocumentName());
    ShowPreview(printer, [this](QPrinter* p) { RenderReportPage(Page(), *p); });
}

void ReportOptionsWindow::SavePdf() {
    QString path = ChoosePdfFile(this, SuggestedPdfName());
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    bool saved;
    {
        BusyCursor busy;
        saved = SaveReportPdf(Page(), path);
    }
    if (!saved) ShowError(this, QStringLiteral("PDF 파일을 저장하지 못했습니다.\n") + path);
}

void ReportOptionsWindow::Tint(QWidget* editor, bool on) {
    auto it = std::find_if(saved_.begin(), saved_.end(),
                           [editor](const auto& s) { return s.first == editor; });
    if (on) {
        if (it != saved_.end()) return;  // already tinted
        const QPalette before = editor->palette();
        saved_.emplace_back(editor, before);
        QPalette tinted = before;
        // A list draws on the button colour, an editor on the base colour.
        tinted.setColor(QPalette::Base, Tinted(before.color(QPalette::Base)));
        tinted.setColor(QPalette::Button, Tinted(before.color(QPalette::Button)));
        editor->setPalette(tinted);
    } else if (it != saved_.end()) {
        editor->setPalette(it->second);
        saved_.erase(it);
    }
}

bool ReportOptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    QWidget* editor = nullptr;
    if (watched == CbBoxSelectPrinter) editor = CbBoxSelectPrinter;
    if (watched == SEdtReportCount || watched->parent() == SEdtReportCount)
        editor = SEdtReportCount;
    if (!editor) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            Tint(editor, true);
            if (editor == SEdtReportCount)
                QTimer::singleShot(0, SEdtReportCount, &QAbstractSpinBox::selectAll);
            break;
        case QEvent::FocusOut:
            Tint(editor, false);
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (editor == SEdtReportCount)
                QTimer::singleShot(0, SEdtReportCount, &QAbstractSpinBox::selectAll);
            break;
        case QEvent::KeyPress:
            if (EditorKey(editor, static_cast<QKeyEvent*>(event))) return true;
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool ReportOptionsWindow::EditorKey(QWidget* editor, QKeyEvent* key) {
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
    const bool list = editor == CbBoxSelectPrinter;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveFocus(editor, 1, true);
            return true;
        case Qt::Key_Down:
            MoveFocus(editor, 1, false);
            return true;
        case Qt::Key_Up:
            if (!list) MoveFocus(editor, -1, false);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Space: {
            if (!list) return false;
            const int n = CbBoxSelectPrinter->count();
            if (n > 0) {
                const int step = key->key() == Qt::Key_Left ? -1 : 1;
                CbBoxSelectPrinter->setCurrentIndex(
                    (CbBoxSelectPrinter->currentIndex() + step + n) % n);
            }
            return true;
        }
        default:
            return false;
    }
}

void ReportOptionsWindow::MoveFocus(QWidget* from, int step, bool tabStopsOnly) {
    const int n = static_cast<int>(order_.size());
    const int at = static_cast<int>(std::find(order_.begin(), order_.end(), from) - order_.begin());
    for (int k = 1; k < n; ++k) {
        QWidget* w = order_[static_cast<size_t>(((at + step * k) % n + n) % n)];
        if (!w->isEnabled() || w->isHidden()) continue;
        if (tabStopsOnly && !(w->focusPolicy() & Qt::TabFocus)) continue;
        w->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

}  // namespace ondavia::gui
