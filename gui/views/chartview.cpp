#include "views/chartview.hpp"

#include <QContextMenuEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <qcustomplot.h>

namespace ondavia::gui {

ChartView::ChartView(QWidget* parent) : ChartView(MainChartDescription(), parent) {}

ChartView::ChartView(ChartDescription description, QWidget* parent)
    : QWidget(parent), plot_(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);
    plot_->setInteractions(QCP::Interactions());
    plot_->setMouseTracking(true);
    plot_->setCursor(Qt::CrossCursor);
    plot_->installEventFilter(this);
    chart_ = new StackedChart(plot_, std::move(description));
    chart_->ApplyFont(font());
    chart_->ApplyLook(isEnabled());
}

ChartView::~ChartView() = default;

void ChartView::SetSeries(const ChartSeries& series) {
    chart_->SetSeries(series);
    SetBottomAxisVisible(true);
    if (!series.Empty()) SetSpan(series.firstTime, series.lastTime);
}

void ChartView::Fill(const TDTG_CLASS& table, bool hundredths) {
    SetSeries(BuildChartSeries(table, hundredths, CurrentYear()));
}

void ChartView::ClearChart() {
    chart_->Clear();
    SetBottomAxisVisible(false);
}

void ChartView::SetBottomAxisVisible(bool visible) { chart_->SetTimeAxisVisible(visible); }

bool ChartView::BottomAxisVisible() const { return chart_->TimeAxisVisible(); }

void ChartView::SetSpan(DateTime min, DateTime max) { chart_->SetSpan(min, max); }

DateTime ChartView::TimeAtX(int x) const { return chart_->TimeAtPixel(x - plot_->x()); }

double ChartView::XAtTime(DateTime t) const { return chart_->PixelAtTime(t) + plot_->x(); }

void ChartView::SetRpmVisible(bool visible) { chart_->SetRpmVisible(visible); }

bool ChartView::RpmVisible() const { return chart_->RpmVisible(); }

QRect ChartView::PlotArea() const { return chart_->PlotArea().translated(plot_->pos()); }

QRect ChartView::SeriesArea(Series series) const {
    return chart_->SeriesArea(series).translated(plot_->pos());
}

void ChartView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) chart_->ApplyLook(isEnabled());
    if (event->type() == QEvent::FontChange) chart_->ApplyFont(font());
    QWidget::changeEvent(event);
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_) {
        switch (event->type()) {
            case QEvent::Enter:
                emit MouseEntered();
                break;
            case QEvent::Leave:
                emit MouseLeft();
                break;
            case QEvent::MouseMove: {
                const QPoint p =
                    plot_->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
                emit MouseMoved(p.x(), p.y());
                break;
            }
            case QEvent::MouseButtonDblClick: {
                const QPoint p =
                    plot_->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
                emit DoubleClicked(p.x(), p.y());
                break;
            }
            case QEvent::ContextMenu:
                emit ContextMenuRequested(static_cast<QContextMenuEvent*>(event)->globalPos());
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ondavia::gui
