#include "viewer/chartpanel.hpp"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "common/settings.hpp"
#include "viewer/chartzoom.hpp"
#include "viewer/widgets.hpp"
#include "views/chartview.hpp"

namespace ondavia::gui {

ChartPanel::ChartPanel(AppState& state, QWidget* parent, QWidget* barParent, QWidget* hintParent)
    : QWidget(parent), state_(state), hintParent_(hintParent) {
    setObjectName(QStringLiteral("PanelChart"));
    ChartGraph = Named(new ChartView(this), "ChartGraph");
    ChartGraph->setEnabled(false);

    TBarChart = Named(new QSlider(Qt::Horizontal, barParent), "TBarChart");
    TBarChart->setRange(1, 7);
    TBarChart->setPageStep(1);
    TBarChart->setTickPosition(QSlider::TicksBelow);
    TBarChart->setTickInterval(1);
    TBarChart->setValue(1);
    TBarChart->setEnabled(false);
    for (int i = 0; i < 7; ++i) {
        auto* number = new QLabel(QString::number(i + 1), barParent);
        number->setAlignment(Qt::AlignCenter);
        number->setAttribute(Qt::WA_TransparentForMouseEvents);
        zoomNumbers_.append(number);
    }
    ScrBarChart = Named(new QScrollBar(Qt::Horizontal, barParent), "ScrBarChart");
    ScrBarChart->setSingleStep(60);
    ScrBarChart->setPageStep(600);
    ScrBarChart->setEnabled(false);

    LblChartHint = HintLabel(hintParent);

    PMenuChart = Named(new QMenu(this), "PMenuChart");
    PMChartPrint = PMenuChart->addAction(QStringLiteral("챠트 출력(&P)"));
    PMChartPrint->setObjectName(QStringLiteral("PMChartPrint"));
    PMChartPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    PMenuChart->addSeparator();
    PMGraphDetail = PMenuChart->addAction(QStringLiteral("그래프 정밀 분석(&D)"));
    PMGraphDetail->setObjectName(QStringLiteral("PMGraphDetail"));
    PMenuChart->addSeparator();
    PMRPMVisible = PMenuChart->addAction(QStringLiteral("RPM 출력(&R)"));
    PMRPMVisible->setObjectName(QStringLiteral("PMRPMVisible"));
    PMRPMVisible->setCheckable(true);
    QAction* hidden = PMenuChart->addAction(QString());
    hidden->setVisible(false);

    connect(TBarChart, &QSlider::valueChanged, this, [this] { TBarChartPropertiesChange(); });
    connect(ScrBarChart, &QScrollBar::valueChanged, this, [this] { ScrBarChartChange(); });
    connect(ChartGraph, &ChartView::MouseMoved, this,
            [this](int x, int y) { ChartGraphMouseMove(x, y); });
    connect(ChartGraph, &ChartView::MouseEntered, this, [this] {
        LblChartHint->setText(QString());
        LblChartHint->show();
        LblChartHint->raise();
        // Place it at the pointer at once rather than where it last stood.
        const QPoint at = ChartGraph->mapFromGlobal(QCursor::pos());
        if (ChartGraph->rect().contains(at)) ChartGraphMouseMove(at.x(), at.y());
    });
    connect(ChartGraph, &ChartView::MouseLeft, this, [this] { HideHint(); });
    connect(ChartGraph, &ChartView::DoubleClicked, this, [this](int x, int) {
        state_.PointerTime =
            PointerAt(state_.HundredthsData, ChartGraph->TimeAtX(x), CurrentYear()).pointerTime;
        if (detailAllowed_) emit DetailRequested();
    });
    connect(ChartGraph, &ChartView::ContextMenuRequested, this, [this](const QPoint& pos) {
        PMenuChartPopup();
        PMenuChart->popup(pos);
    });
    connect(PMRPMVisible, &QAction::triggered, this, [this] { PMRPMVisibleClick(); });
    connect(PMGraphDetail, &QAction::triggered, this, [this] {
        if (PMGraphDetail->isEnabled()) emit DetailRequested();
    });
    connect(PMChartPrint, &QAction::triggered, this, [this] {
        if (PMChartPrint->isEnabled()) emit ReportRequested();
    });
}

void ChartPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ChartGraph->setGeometry(rect());
}

void ChartPanel::PlaceBars(const QRect& slider, const QRect& scrollBar) {
    TBarChart->setGeometry(slider);
    ScrBarChart->setGeometry(scrollBar);
    PlaceZoomNumbers();
}

void ChartPanel::PlaceZoomNumbers() {
    // The numbers sit under the slider's ticks, one per position.
    QStyleOptionSlider opt;
    opt.initFrom(TBarChart);
    opt.orientation = Qt::Horizontal;
    opt.minimum = TBarChart->minimum();
    opt.maximum = TBarChart->maximum();
    const QRect handle = TBarChart->style()->subControlRect(QStyle::CC_Slider, &opt,
                                                            QStyle::SC_SliderHandle, TBarChart);
    const int span = TBarChart->width() - handle.width();
    for (int i = 0; i < zoomNumbers_.size(); ++i) {
        const int value = i + 1;
        QLabel* number = zoomNumbers_[i];
        number->setVisible(value <= TBarChart->maximum());
        if (value > TBarChart->maximum()) continue;
        int x = QStyle::sliderPositionFromValue(TBarChart->minimum(), TBarChart->maximum(), value,
                                                span);
        number->setGeometry(TBarChart->x() + x + handle.width() / 2 - 6, TBarChart->y() + 30, 12,
                            14);
        number->setEnabled(TBarChart->isEnabled());
    }
}

void ChartPanel::Show(const ChartSeries& series) {
    ChartGraph->setEnabled(true);
    ChartGraph->SetSeries(series);
    ChartGraph->SetSpan(state_.ChartStartTime, state_.ChartEndTime);
    ondavia::ZoomBar bar = ZoomBarFor(state_.HundredthsData, state_.ChartStartTime,
                                      state_.ChartEndTime, TBarChart->maximum());
    {
        QSignalBlocker block(TBarChart);
        TBarChart->setMaximum(bar.max);
    }
    TBarChart->setEnabled(bar.enabled);
    PlaceZoomNumbers();
    TBarChartPropertiesChange();
}

void ChartPanel::Clear() {
    TBarChart->setEnabled(false);
    ScrBarChart->setEnabled(false);
    PlaceZoomNumbers();
    ChartGraph->setEnabled(false);
    ChartGraph->ClearChart();
    ChartGraph->SetBottomAxisVisible(false);
}

void ChartPanel::SetRpmVisible(bool visible) {
    PMRPMVisible->setChecked(visible);
    ChartGraph->SetRpmVisible(visible);
}

void ChartPanel::TBarChartPropertiesChange() {
    ScrollBarState current{ScrBarChart->minimum(),  ScrBarChart->maximum(),
                           ScrBarChart->value(),    ScrBarChart->singleStep(),
                           ScrBarChart->pageStep(), ScrBarChart->isEnabled()};
    ZoomResult z =
        ApplyZoom(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime,
                  TBarChart->value(), TBarChart->maximum(), ChartGraph->SpanMin(), current);
    windowLength_ = z.windowLength;
    {
        QSignalBlocker block(ScrBarChart);
        ScrBarChart->setSingleStep(z.scroll.smallChange);
        ScrBarChart->setPageStep(z.scroll.largeChange);
        ScrBarChart->setRange(z.scroll.min, z.scroll.max);
        ScrBarChart->setValue(z.scroll.position);
    }
    ScrBarChart->setEnabled(z.scroll.enabled);
    ChartGraph->SetSpan(z.min, z.max);
    PMenuChartPopup();
}

void ChartPanel::ScrBarChartChange() {
    auto [min, max] = ApplyScroll(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime,
                                  ScrBarChart->value(), windowLength_);
    ChartGraph->SetSpan(min, max);
}

void ChartPanel::HideHint() {
    LblChartHint->hide();
    LblChartHint->setText(QString());
}

void ChartPanel::ChartGraphMouseMove(int x, int y) {
    PointerInfo p = PointerAt(state_.HundredthsData, ChartGraph->TimeAtX(x), CurrentYear());
    state_.PointerTime = p.pointerTime;
    if (p.pointerTime < ChartGraph->SpanMin() || p.pointerTime > ChartGraph->SpanMax()) {
        HideHint();
        return;
    }
    LblChartHint->show();
    LblChartHint->raise();
    TDTG_CLASS* table = state_.RecordTable;
    if (!table || table->FindRecord(p.key) < 0) {
        LblChartHint->setText(QString());
    } else {
        LblChartHint->setText(QString::fromStdString(
            HintText(state_.HundredthsData, p.pointerTime, table->Current())));
    }
    QPoint origin = ChartGraph->mapTo(hintParent_, QPoint(0, 0));
    int left = std::max(0, origin.x() + x - 110);
    int top = origin.y() + y - 80;
    if (top < 90) top = origin.y() + y + 20;
    LblChartHint->move(left, top);
}

void ChartPanel::SetCommandsAvailable(bool detail, bool report) {
    detailAvailable_ = detail;
    reportAvailable_ = report;
    PMenuChartPopup();
}

void ChartPanel::PMenuChartPopup() {
    PMChartPrint->setEnabled(reportAvailable_ && ChartGraph->isEnabled());
    detailAllowed_ =
        detailAvailable_ && ChartGraph->isEnabled() &&
        DetailGraphAllowed(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime);
    PMGraphDetail->setEnabled(detailAllowed_);
}

void ChartPanel::PMRPMVisibleClick() {
    const bool visible = PMRPMVisible->isChecked();
    ChartGraph->SetRpmVisible(visible);
    state_.ViewerSettings.RPMVisible = visible;
    state_.WriteBool(kSectionGeneral, kKeyRPMVisible, visible);
}

}  // namespace ondavia::gui
