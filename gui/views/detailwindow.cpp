#include "views/detailwindow.hpp"

#include "viewer/widgets.hpp"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/icons.hpp"
#include "app/services.hpp"
#include "viewer/chartzoom.hpp"
#include "views/chartdescription.hpp"
#include "views/chartview.hpp"

namespace ondavia::gui {

namespace {

constexpr DetailNav kNavOrder[] = {DetailNav::LeftEnd, DetailNav::Previous, DetailNav::Left,
                                   DetailNav::Right,   DetailNav::Next,     DetailNav::RightEnd};
constexpr const char* kNavNames[] = {"SBtnLeftEnd", "SBtnPrevious", "SBtnLeft",
                                     "SBtnRight",   "SBtnNext",     "SBtnRightEnd"};
constexpr NavigationPicture kNavPictures[] = {
    NavigationPicture::LeftEnd, NavigationPicture::Previous, NavigationPicture::Left,
    NavigationPicture::Right,   NavigationPicture::Next,     NavigationPicture::RightEnd};

constexpr int kStatusWidths[] = {150, 500, 150};

}  // namespace

TFrmDTG_Detail::TFrmDTG_Detail(AppState& state, SeriesSource series, QWidget* parent)
    : QDialog(parent), state_(state), series_(std::move(series)) {
    setWindowTitle(QStringLiteral("정밀 분석"));
    setModal(true);
    resize(830, 600);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolRow = new QWidget(this);
    toolRow->setObjectName(QStringLiteral("PanelTool"));
    BuildToolRow(toolRow);
    layout->addWidget(toolRow);

    PanelChart = new QWidget(this);
    PanelChart->setObjectName(QStringLiteral("PanelChart"));
    auto* chartLayout = new QVBoxLayout(PanelChart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    ChartGraph = new ChartView(DetailChartDescription(), PanelChart);
    ChartGraph->setObjectName(QStringLiteral("ChartGraph"));
    chartLayout->addWidget(ChartGraph);
    layout->addWidget(PanelChart, 1);

    // Over the chart, inside its panel; it never takes the mouse from it.
    LblChartHint = HintLabel(PanelChart);

    StatusBarViewer = new QStatusBar(this);
    StatusBarViewer->setObjectName(QStringLiteral("StatusBarViewer"));
    StatusBarViewer->setSizeGripEnabled(false);
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(StatusBarViewer);
        panel->setObjectName(QStringLiteral("StatusBarViewerPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        // The last panel takes whatever width the window has beyond the others.
        const bool last = i + 1 == statusPanels_.size();
        if (last)
            panel->setMinimumWidth(kStatusWidths[i]);
        else
            panel->setFixedWidth(kStatusWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBarViewer->addWidget(panel, last ? 1 : 0);
        statusPanels_[i] = panel;
    }
    layout->addWidget(StatusBarViewer);

    connect(ChartGraph, &ChartView::MouseMoved, this,
            [this](int x, int y) { ChartGraphMouseMove(x, y); });
    connect(ChartGraph, &ChartView::MouseEntered, this, [this] {
        LblChartHint->setText(QString());
        LblChartHint->show();
        LblChartHint->raise();
        // At the pointer at once rather than where it last stood.
        const QPoint at = ChartGraph->mapFromGlobal(QCursor::pos());
        if (ChartGraph->rect().contains(at)) ChartGraphMouseMove(at.x(), at.y());
    });
    connect(ChartGraph, &ChartView::MouseLeft, this, [this] {
        LblChartHint->hide();
        LblChartHint->setText(QString());
    });
}

TFrmDTG_Detail::~TFrmDTG_Detail() {
    if (keyPreview_) qApp->removeEventFilter(this);
}

void TFrmDTG_Detail::BuildToolRow(QWidget* row) {
    auto* tools = new QHBoxLayout(row);
    tools->setContentsMargins(4, 3, 4, 3);
    tools->setSpacing(2);
    for (size_t i = 0; i < navButtons_.size(); ++i) {
        auto* b = new QToolButton(row);
        b->setObjectName(QString::fromLatin1(kNavNames[i]));
        b->setIcon(NavigationIcon(kNavPictures[i]));
        b->setIconSize(QSize(18, 18));
        b->setFixedSize(30, 26);
        b->setAutoRaise(true);
        const DetailNav nav = kNavOrder[i];
        connect(b, &QToolButton::clicked, this, [this, nav] { Navigate(nav); });
        tools->addWidget(b);
        navButtons_[i] = b;
    }
    tools->addSpacing(6);
    ScrBarChart = new QScrollBar(Qt::Horizontal, row);
    ScrBarChart->setObjectName(QStringLiteral("ScrBarChart"));
    ScrBarChart->setSingleStep(60);
    ScrBarChart->setPageStep(600);
    ScrBarChart->setRange(0, 0);
    tools->addWidget(ScrBarChart, 1);
    tools->addSpacing(6);
    SBtnChartPrint = new QToolButton(row);
    SBtnChartPrint->setObjectName(QStringLiteral("SBtnChartPrint"));
    SBtnChartPrint->setText(QStringLiteral("출력"));
    SBtnChartPrint->setIcon(ToolbarIcon(ToolbarPicture::Chart));
    SBtnChartPrint->setIconSize(QSize(18, 18));
    SBtnChartPrint->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SBtnChartPrint->setFixedHeight(26);
    SBtnChartPrint->setAutoRaise(true);
    SBtnChartPrint->setEnabled(false);
    tools->addWidget(SBtnChartPrint);

    connect(ScrBarChart, &QScrollBar::valueChanged, this, [this] { ScrBarChartChange(); });
    connect(SBtnChartPrint, &QToolButton::clicked, this, [this] { SBtnChartPrintClick(); });
}

void TFrmDTG_Detail::SetTimes(DateTime start, DateTime end, DateTime centre) {
    start_ = start;
    end_ = end;
    centre_ = centre;
    timesGiven_ = true;
}

int TFrmDTG_Detail::ShowFor(DateTime start, DateTime end, DateTime centre) {
    SetTimes(start, end, centre);
    return exec();
}

DateTime TFrmDTG_Detail::SpanMin() const { return ChartGraph->SpanMin(); }
DateTime TFrmDTG_Detail::SpanMax() const { return ChartGraph->SpanMax(); }

void TFrmDTG_Detail::showEvent(QShowEvent* event) {
    // A window restored by the window system keeps what it shows.
    if (!event->spontaneous()) {
        if (!timesGiven_) SetTimes(state_.ChartStartTime, state_.ChartEndTime, state_.PointerTime);
        if (!keyPreview_) {
            qApp->installEventFilter(this);
            keyPreview_ = true;
        }
        FillDetailChart();
    }
    QDialog::showEvent(event);
}

void TFrmDTG_Detail::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        if (keyPreview_) {
            qApp->removeEventFilter(this);
            keyPreview_ = false;
        }
        // The next opening brings its own times.
        timesGiven_ = false;
        LblChartHint->hide();
        LblChartHint->setText(QString());
    }
    QDialog::hideEvent(event);
}

void TFrmDTG_Detail::FillDetailChart() {
    BusyCursor busy;
    const bool hundredths = state_.HundredthsData;
    const DetailStart first = FirstDetailSpan(hundredths, start_, end_, centre_);
    windowLength_ = first.windowLength;
    {
        // The span is set once below, not once per scroll bar property.
        const QSignalBlocker block(ScrBarChart);
        ScrBarChart->setSingleStep(first.scroll.smallChange);
        ScrBarChart->setPageStep(first.scroll.largeChange);
        ScrBarChart->setRange(first.scroll.min, first.scroll.max);
        ScrBarChart->setValue(first.scroll.position);
        ScrBarChart->setEnabled(first.scroll.enabled);
    }
    statusPanels_[0]->setText(hundredths ? QStringLiteral("0.01초 데이터")
                                         : QStringLiteral("1초 데이터"));
    if (series_) {
        ChartGraph->SetSeries(series_());
    } else {
        ChartGraph->ClearChart();
        ChartGraph->SetBottomAxisVisible(true);
    }
    SBtnChartPrint->setEnabled(static_cast<bool>(ShowChartReport));
    LblChartHint->hide();
    LblChartHint->setText(QString());
    SetSpan(first.span);
}

void TFrmDTG_Detail::SetSpan(DetailSpan span) {
    const DetailNavEnabled enabled = UpdateNavButtons(start_, end_, span);
    for (size_t i = 0; i < navButtons_.size(); ++i)
        navButtons_[i]->setEnabled(NavEnabled(enabled, kNavOrder[i]));
    ChartGraph->SetSpan(span.min, span.max);
}

void TFrmDTG_Detail::Navigate(DetailNav button) {
    const DetailSpan current{ChartGraph->SpanMin(), ChartGraph->SpanMax()};
    if (!NavEnabled(UpdateNavButtons(start_, end_, current), button)) return;
    // The scroll bar stays where the user left it.
    SetSpan(NavigateDetail(state_.HundredthsData, button, start_, end_, current));
}

void TFrmDTG_Detail::ScrBarChartChange() {
    const auto [min, max] =
        ApplyScroll(state_.HundredthsData, start_, end_, ScrBarChart->value(), windowLength_);
    SetSpan({min, max});
}

void TFrmDTG_Detail::ChartGraphMouseMove(int x, int y) {
    const bool hundredths = state_.HundredthsData;
    const PointerInfo p = PointerAt(hundredths, ChartGraph->TimeAtX(x), CurrentYear());
    centre_ = p.pointerTime;
    if (p.pointerTime < ChartGraph->SpanMin() || p.pointerTime > ChartGraph->SpanMax()) {
        LblChartHint->hide();
        LblChartHint->setText(QString());
        return;
    }
    LblChartHint->show();
    LblChartHint->raise();
    TDTG_CLASS* table = state_.RecordTable;
    if (table && table->FindRecord(p.key) >= 0)
        LblChartHint->setText(
            QString::fromStdString(HintText(hundredths, p.pointerTime, table->Current())));
    else
        LblChartHint->setText(QString());
    const HintPlace place =
        DetailHintPlace(ChartGraph->x(), ChartGraph->y(), x, y, PanelChart->width());
    LblChartHint->move(place.left, place.top);
}

void TFrmDTG_Detail::SBtnChartPrintClick() {
    if (ShowChartReport) ShowChartReport(ChartGraph->SpanMin(), ChartGraph->SpanMax());
}

bool TFrmDTG_Detail::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && PreviewKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TFrmDTG_Detail::PreviewKey(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers().testFlag(Qt::AltModifier);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed as ordinary keys, so no mnemonic or shortcut acts on them
        // before the key press below.
        if (!alt && key->key() != Qt::Key_Escape) return false;
        event->accept();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (!alt) return false;
    if (key->key() == Qt::Key_X || key->key() == Qt::Key_F4) reject();
    return true;  // every key pressed with Alt stops here
}

}  // namespace ondavia::gui
