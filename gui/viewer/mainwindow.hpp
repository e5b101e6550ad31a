// The main window: toolbar, header strip, chart, record grid, map panel,
// file list and status bar.
#pragma once

#include <QMainWindow>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

#include "app/appstate.hpp"
#include "data/filelist.hpp"
#include "data/recording.hpp"
#include "viewer/chartseries.hpp"

class QAction;
class QDateEdit;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTableView;
class QTableWidget;
class QToolButton;

namespace ondavia::gui {

class ChartView;
class MapView;
class RecordGridModel;

class TFrmOndavia : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFrmOndavia(AppState& state, QWidget* parent = nullptr);
    ~TFrmOndavia() override;

    // Start-up sizing and initial state, from the desktop's work area.
    void LayoutMainWindow(const QRect& workArea);
    void LayoutMainWindow();
    void ListDataFiles();
    int FindFileRow(const QString& name) const;
    void SetGridWidth(bool wide);
    void OpenSelectedFile();
    bool LoadDataFile();
    void FillChart();
    void ClearView();

    const Recording& recording() const { return *recording_; }
    // The chart values of the shown file, computed once per load.
    const ChartSeries& chartSeries() const { return *series_; }
    const std::vector<ListedFile>& listedFiles() const { return listed_; }
    QString StatusText(int panel) const;
    double ChartShare() const { return chartShare_; }
    int WindowLength() const { return windowLength_; }

    // Slot bodies, public so that tests can drive them as a person would.
    void TBarChartPropertiesChange();
    void ScrBarChartChange();
    void ChartGraphMouseMove(int x, int y);
    void PMenuChartPopup();
    void PMRPMVisibleClick();
    void PmGridWideClick();
    void PMenuGridPopup();
    void RadioButtonClick();
    void GridFileListViewDblClick();

    // Components, named as the window's form names them.
    QToolButton *SBtnChartPrint, *SBtnMapPrint, *SBtnWindowPrint, *SBtnSearch, *SBtnExcel,
        *SBtnSetup, *SBtnExit;
    QLabel* ImageLogo;
    QWidget* PanelHead;
    QSlider* TBarChart;
    QScrollBar* ScrBarChart;
    QFrame *BevelHead, *BevelTime, *Bevel2;
    QLabel *LblModelName, *LblCarNo, *LblCarBody, *LblBusinessNo, *LblCarKind, *LblDriverNo;
    QLabel *LblStartDTLabel, *LblEndDTLabel, *LblStartDateTime, *LblEndDateTime;
    QWidget* PanelChart;
    ChartView* ChartGraph;
    QWidget* PanelTextData;
    QTableView* GridTextView;
    QWidget* PanelMap;
    // The map panel's behaviour; the three components below are its own.
    MapView* Map;
    QLabel* LblMapMessage;
    QPushButton* BtnMapWide;
    QLabel* LblStartEndRoute;
    QWidget* PanelFileList;
    QDateEdit* DEdtFileDate;
    QRadioButton *RBtnTotal, *RBtnToday;
    QLabel* LblPathName;
    QToolButton* SBtnPathName;
    QTableWidget* GridFileListView;
    QLabel* LblChartHint;
    QLabel* StatusPanels[6];
    QMenu *PMenuGrid, *PMenuFilelist, *PMenuChart;
    QAction *PmGps, *PmExcel, *PmGridWide, *PMLock, *PMUnlock;
    QAction *PMChartPrint, *PMGraphDetail, *PMRPMVisible;

    // Windows the chart commands open (set by the application).
    QWidget* DetailWindow = nullptr;
    QWidget* ReportWindow = nullptr;
    QWidget* SearchWindow = nullptr;

    // Moves the record grid's focus to a record (scrolls it into view).
    void FocusRecord(int record);
    // Opens folders for SBtnPathNameClick; tests replace it.
    std::function<QString(QWidget*, const QString&)> ChooseFolder;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildToolbar();
    void BuildHeader();
    void BuildBody();
    void BuildFileList();
    void BuildStatusBar();
    void BuildMenus();
    void PlaceHeader();
    void PlaceZoomNumbers();
    void PlacePanels();
    void SetHeaderLabels(const HeaderTexts& h);
    void ShowEmptyNotes();
    void SBtnPathNameClick();
    void SetStatus(int panel, const QString& text);

    AppState& state_;
    std::unique_ptr<Recording> recording_;
    std::shared_ptr<const ChartSeries> series_ = std::make_shared<const ChartSeries>();
    std::vector<ListedFile> listed_;
    RecordGridModel* gridModel_;
    QWidget* toolbar_;
    QWidget* central_;
    QLabel* gridEmptyNote_;
    QLabel* fileListEmptyNote_;
    QWidget* statusBar_;
    QList<QLabel*> headerCaptions_;
    QList<QLabel*> zoomNumbers_;
    int windowLength_ = 0;  // visible span in seconds or milliseconds
    double chartShare_ = 0.67;
    bool detailAllowed_ = false;
};

}  // namespace ondavia::gui
