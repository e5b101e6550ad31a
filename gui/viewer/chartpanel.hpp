// The chart panel: the chart of the shown file with its time window (the
// zoom slider and the scroll bar in the header strip), the pointer hint and
// the chart's popup menu.
#pragma once

#include <QList>
#include <QWidget>

#include "app/appstate.hpp"
#include "viewer/chartseries.hpp"

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QSlider;

namespace ondavia::gui {

class ChartView;

class ChartPanel : public QWidget {
    Q_OBJECT
  public:
    // The slider and scroll bar live on barParent (the header strip), the
    // hint label on hintParent (it may reach outside the panel).
    ChartPanel(AppState& state, QWidget* parent, QWidget* barParent, QWidget* hintParent);

    ChartView* Chart() const { return ChartGraph; }
    QSlider* ZoomBar() const { return TBarChart; }
    QScrollBar* ScrollBar() const { return ScrBarChart; }
    QMenu* PopupMenu() const { return PMenuChart; }

    // Places the slider (its numbers follow) and the scroll bar.
    void PlaceBars(const QRect& slider, const QRect& scrollBar);

    // Shows a loaded file: the series over ChartStartTime..ChartEndTime, the
    // slider for the file's length and the first zoom step.
    void Show(const ChartSeries& series);
    // No file: the chart empty and greyed, slider and scroll bar disabled.
    void Clear();
    void SetRpmVisible(bool visible);
    int WindowLength() const { return windowLength_; }
    // The popup offers the detailed graph and the chart report only when
    // their windows exist.
    void SetCommandsAvailable(bool detail, bool report);
    bool DetailAllowed() const { return detailAllowed_; }

    void TBarChartPropertiesChange();
    void ScrBarChartChange();
    void ChartGraphMouseMove(int x, int y);
    void PMenuChartPopup();
    void PMRPMVisibleClick();

  signals:
    void DetailRequested();
    void ReportRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceZoomNumbers();
    void HideHint();

    AppState& state_;
    ChartView* ChartGraph;
    QSlider* TBarChart;
    QScrollBar* ScrBarChart;
    QLabel* LblChartHint;
    QMenu* PMenuChart;
    QAction* PMChartPrint;
    QAction* PMGraphDetail;
    QAction* PMRPMVisible;
    QList<QLabel*> zoomNumbers_;
    QWidget* hintParent_;
    int windowLength_ = 0;  // visible span in seconds or milliseconds
    bool detailAllowed_ = false;
    bool detailAvailable_ = false;
    bool reportAvailable_ = false;
};

}  // namespace ondavia::gui
