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
#include "viewer/windowlayout.hpp"

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

class ChartPanel;
class FileListPanel;
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
    // Sizes and places the whole window, frame included, by the start-up
    // rule; also run when the desktop's work area changes.
    MainWindowSize FitToWorkArea(const QRect& workArea);
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
    const std::vector<ListedFile>& listedFiles() const;
    QString StatusText(int panel) const;
    double ChartShare() const { return chartShare_; }
    int WindowLength() const;

    // The panels: the map, the file list and the chart with its time window.
    MapView* Map() const { return map_; }
    FileListPanel* FileList() const { return fileList_; }
    ChartPanel* Charts() const { return chartPanel_; }

    // Slot bodies, public so that tests can drive them as a person would.
    void TBarChartPropertiesChange();
    void ScrBarChartChange();
    void ChartGraphMouseMove(int x, int y);
    void PMenuChartPopup();
    void PMRPMVisibleClick();
    void PmGridWideClick();
    void PmGpsClick();
    void PmExcelClick();
    void PMenuGridPopup();
    void RadioButtonClick();
    void GridFileListViewDblClick();

    // What the chart commands open, set by the application once their
    // windows exist; until then the commands stay disabled. The detailed
    // graph reads ChartStartTime, ChartEndTime and PointerTime; the chart
    // report gets the visible span.
    void SetDetailCommand(std::function<void()> open);
    void SetChartReportCommand(std::function<void(DateTime, DateTime)> open);
    // The screen report ("화면"), with the window as it is shown.
    void SetScreenReportCommand(std::function<void()> open);
    // The car number as the header shows it.
    QString CarNoText() const;
    // Where the window below the toolbar line begins (window coordinates).
    int ToolbarBottom() const;
    QWidget* SearchWindow = nullptr;
    // The settings button's command; the button is enabled once it is set.
    void SetSetupCommand(std::function<void()> open);
    void SetStatus(int panel, const QString& text);

    // Moves the record grid's focus to a record (scrolls it into view).
    void FocusRecord(int record);
    // Opens folders for the folder button; tests replace it.
    void SetFolderChooser(std::function<QString(QWidget*, const QString&)> chooser);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildToolbar();
    void BuildHeader();
    void BuildBody();
    void BuildStatusBar();
    void BuildMenus();
    void PlaceHeader();
    void PlacePanels();
    void SetHeaderLabels(const HeaderTexts& h);
    void ShowEmptyNote();
    void FileListListed(int count);
    QString FocusedFileName() const;

    AppState& state_;
    std::unique_ptr<Recording> recording_;
    std::shared_ptr<const ChartSeries> series_ = std::make_shared<const ChartSeries>();
    RecordGridModel* gridModel_;
    QWidget* toolbar_;
    QWidget* central_;
    QLabel* gridEmptyNote_;
    QWidget* statusBar_;
    QList<QLabel*> headerCaptions_;
    double chartShare_ = 0.67;
    QString loadFailure_;
    std::function<void()> openDetail_;
    std::function<void(DateTime, DateTime)> openChartReport_;
    std::function<void()> openScreenReport_;
    void UpdateReportButtons();

    // Components, named as the window's form names them.
    QToolButton *SBtnChartPrint, *SBtnMapPrint, *SBtnWindowPrint, *SBtnSearch, *SBtnExcel,
        *SBtnSetup, *SBtnExit;
    QLabel* ImageLogo;
    QWidget* PanelHead;
    QFrame *BevelHead, *BevelTime, *Bevel2;
    QLabel *LblModelName, *LblCarNo, *LblCarBody, *LblBusinessNo, *LblCarKind, *LblDriverNo;
    QLabel *LblStartDTLabel, *LblEndDTLabel, *LblStartDateTime, *LblEndDateTime;
    ChartPanel* chartPanel_;
    QWidget* PanelTextData;
    QTableView* GridTextView;
    QWidget* PanelMap;
    MapView* map_;
    FileListPanel* fileList_;
    QLabel* StatusPanels[6];
    QMenu* PMenuGrid;
    QAction *PmGps, *PmExcel, *PmGridWide;
};

}  // namespace ondavia::gui
