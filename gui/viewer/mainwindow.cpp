#include "mainwindow.hpp"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

#include "app/icons.hpp"
#include "app/services.hpp"
#include "common/cp949.hpp"
#include "common/text.hpp"
#include "data/opendatafile.hpp"
#include "gridcelldelegate.hpp"
#include "output/exportcommands.hpp"
#include "recordgridmodel.hpp"
#include "viewer/chartpanel.hpp"
#include "viewer/chartzoom.hpp"
#include "viewer/filelistpanel.hpp"
#include "viewer/widgets.hpp"
#include "viewer/windowlayout.hpp"
#include "views/chartview.hpp"
#include "views/mapview.hpp"

namespace ondavia::gui {

namespace {

constexpr int kToolbarHeight = 44;
constexpr int kHeadHeight = 56;
constexpr int kStatusHeight = 22;
constexpr int kFileListWidth = 246;
constexpr int kStatusWidths[6] = {250, 140, 0, 140, 140, 140};

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TFrmOndavia::TFrmOndavia(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), recording_(std::make_unique<Recording>()) {
    setObjectName(QStringLiteral("FrmOndavia"));
    setWindowTitle(QStringLiteral("Ondavia"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    state_.RecordTable = &recording_->table;
    central_ = new QWidget(this);
    setCentralWidget(central_);
    BuildToolbar();
    BuildHeader();
    BuildBody();
    BuildStatusBar();
    BuildMenus();
    resize(1016, 699);
    ImageLogo->setVisible(true);
    // A change of the desktop's work area (a panel moved, a screen resized)
    // takes the window to the new area, as at start-up.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::availableGeometryChanged, this,
                [this](const QRect& area) { FitToWorkArea(area); });
    }
}

TFrmOndavia::~TFrmOndavia() { state_.RecordTable = nullptr; }

void TFrmOndavia::BuildToolbar() {
    toolbar_ = new QWidget(central_);
    auto button = [this](const char* name, const QString& caption, ToolbarPicture picture,
                         const QString& hint) {
        auto* b = Named(new QToolButton(toolbar_), name);
        b->setText(caption);
        b->setToolTip(hint.isEmpty() ? caption : hint);
        b->setIcon(ToolbarIcon(picture));
        b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                : Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFixedSize(50, 38);
        return b;
    };
    SBtnChartPrint = button("SBtnChartPrint", "Chart", ToolbarPicture::Chart, {});
    SBtnMapPrint = button("SBtnMapPrint", QStringLiteral("지도"), ToolbarPicture::Map, {});
    SBtnWindowPrint = button("SBtnWindowPrint", QStringLiteral("화면"), ToolbarPicture::Screen, {});
    SBtnSearch = button("SBtnSearch", QStringLiteral("찾기"), ToolbarPicture::Search, {});
    SBtnExcel = button("SBtnExcel", "Excel", ToolbarPicture::Excel, {});
    SBtnSetup = button("SBtnSetup", {}, ToolbarPicture::Settings, QStringLiteral("환경설정"));
    SBtnExit = button("SBtnExit", {}, ToolbarPicture::Exit, QStringLiteral("작업종료"));
    Bevel2 = Named(Bevel(toolbar_), "Bevel2");
    ImageLogo = Named(new QLabel(toolbar_), "ImageLogo");
    ImageLogo->setPixmap(QPixmap(QStringLiteral(":/logo.png")));
    // Commands of windows that are not built yet stay disabled.
    for (QToolButton* b :
         {SBtnChartPrint, SBtnMapPrint, SBtnWindowPrint, SBtnSearch, SBtnExcel, SBtnSetup})
        b->setEnabled(false);
    connect(SBtnSearch, &QToolButton::clicked, this, [this] {
        if (!SearchWindow) return;
        SearchWindow->show();
        SearchWindow->raise();
        SearchWindow->activateWindow();
    });
    connect(SBtnExit, &QToolButton::clicked, this, &QWidget::close);
}

void TFrmOndavia::BuildHeader() {
    PanelHead = Named(new QWidget(central_), "PanelHead");
    BevelHead = Named(Bevel(PanelHead), "BevelHead");
    BevelTime = Named(Bevel(PanelHead), "BevelTime");
    const char* captions[] = {"모델명",     "차량번호",   "차대번호",
                              "사업자번호", "자동차유형", "운전자코드"};
    const char* names[] = {"LblModelName",  "LblCarNo",   "LblCarBody",
                           "LblBusinessNo", "LblCarKind", "LblDriverNo"};
    QLabel** values[] = {&LblModelName,  &LblCarNo,   &LblCarBody,
                         &LblBusinessNo, &LblCarKind, &LblDriverNo};
    for (int i = 0; i < 6; ++i) {
        auto* c = new QLabel(QString::fromUtf8(captions[i]), PanelHead);
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        headerCaptions_.append(c);
        *values[i] = Named(ValueLabel(PanelHead), names[i]);
    }
    LblStartDTLabel = Named(new QLabel(QStringLiteral("시작시간"), PanelHead), "LblStartDTLabel");
    LblEndDTLabel = Named(new QLabel(QStringLiteral("종료시간"), PanelHead), "LblEndDTLabel");
    LblStartDTLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblEndDTLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblStartDateTime = Named(ValueLabel(PanelHead), "LblStartDateTime");
    LblEndDateTime = Named(ValueLabel(PanelHead), "LblEndDateTime");
}

void TFrmOndavia::BuildBody() {
    chartPanel_ = new ChartPanel(state_, central_, PanelHead, central_);
    connect(chartPanel_, &ChartPanel::DetailRequested, this, [this] {
        if (openDetail_) openDetail_();
    });
    connect(chartPanel_, &ChartPanel::ReportRequested, this, [this] {
        if (!openChartReport_) return;
        const ChartView* chart = chartPanel_->Chart();
        openChartReport_(chart->SpanMin(), chart->SpanMax());
    });

    PanelTextData = Named(new QWidget(central_), "PanelTextData");
    GridTextView = Named(new QTableView(PanelTextData), "GridTextView");
    gridModel_ = new RecordGridModel(this);
    GridTextView->setModel(gridModel_);
    GridTextView->setItemDelegate(new GridCellDelegate(GridTextView));
    GridTextView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridTextView->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridTextView->setSelectionMode(QAbstractItemView::SingleSelection);
    GridTextView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridTextView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GridTextView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridTextView->verticalHeader()->setDefaultSectionSize(20);
    GridTextView->verticalHeader()->setFixedWidth(12);
    GridTextView->horizontalHeader()->setFixedHeight(26);
    GridTextView->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridTextView->horizontalHeader()->setSectionsMovable(false);
    GridTextView->horizontalHeader()->setHighlightSections(false);
    GridTextView->setWordWrap(false);
    GridTextView->setStyleSheet(QStringLiteral(
        "QTableView::item:selected { background: palette(highlight); color: white; }"));
    for (int c = 0; c < kGridColumnCount; ++c)
        GridTextView->setColumnWidth(c, RecordGridModel::ColumnWidth(c));
    GridTextView->setContextMenuPolicy(Qt::CustomContextMenu);
    GridTextView->setEnabled(false);
    connect(GridTextView, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        PMenuGridPopup();
        PMenuGrid->popup(GridTextView->viewport()->mapToGlobal(p));
    });
    connect(GridTextView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                SetStatus(
                    4, current.isValid()
                           ? QStringLiteral("현재 레코드 : %1").arg(GroupDigits(current.row() + 1))
                           : QString());
                map_->GridTextViewFocusedRecordChanged();  // the map marker follows
            });
    gridEmptyNote_ = new QLabel(QString::fromUtf8(kEmptyNote), GridTextView->viewport());
    gridEmptyNote_->setAlignment(Qt::AlignCenter);
    gridEmptyNote_->setTextFormat(Qt::PlainText);

    PanelMap = Named(new QWidget(central_), "PanelMap");
    PanelMap->setAutoFillBackground(true);
    // ---- map panel: its components and behaviour live in MapView ----
    map_ = new MapView(
        state_, *recording_, [this] { return GridTextView->currentIndex().row(); }, PanelMap);
    connect(map_, &MapView::MapWideChanged, this, [this] {
        PlacePanels();
        fileList_->findChild<QWidget*>(QStringLiteral("GridFileListView"))->setFocus();
    });
    // ---- end of map panel ----

    fileList_ = new FileListPanel(state_, central_);
    connect(fileList_, &FileListPanel::Listed, this, [this](int count) { FileListListed(count); });
    connect(fileList_, &FileListPanel::OpenRequested, this, [this] { OpenSelectedFile(); });
    connect(fileList_, &FileListPanel::StatusChanged, this,
            [this](int panel, const QString& text) { SetStatus(panel, text); });
}

void TFrmOndavia::BuildStatusBar() {
    statusBar_ = new QWidget(central_);
    for (int i = 0; i < 6; ++i) {
        StatusPanels[i] = new QLabel(statusBar_);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setTextFormat(Qt::PlainText);
        StatusPanels[i]->setFrameShape(QFrame::Panel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        StatusPanels[i]->setAlignment(i == 2 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    }
}

void TFrmOndavia::BuildMenus() {
    PMenuGrid = Named(new QMenu(this), "PMenuGrid");
    PmGps = PMenuGrid->addAction(QStringLiteral("G.P.S 로그 파일 생성(&G)"));
    PmGps->setObjectName(QStringLiteral("PmGps"));
    PmExcel = PMenuGrid->addAction(QStringLiteral("Excel 파일 생성(&E)"));
    PmExcel->setObjectName(QStringLiteral("PmExcel"));
    PmGridWide = PMenuGrid->addAction(QStringLiteral("텍스트 Grid 확대(&W)"));
    PmGridWide->setObjectName(QStringLiteral("PmGridWide"));
    PmGridWide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    PmGridWide->setShortcutContext(Qt::WindowShortcut);
    addAction(PmGridWide);
    connect(PmGridWide, &QAction::triggered, this, [this] { PmGridWideClick(); });
    connect(PmGps, &QAction::triggered, this, [this] { PmGpsClick(); });
    connect(PmExcel, &QAction::triggered, this, [this] { PmExcelClick(); });
    connect(SBtnExcel, &QToolButton::clicked, this, [this] { PmExcelClick(); });
    connect(SBtnChartPrint, &QToolButton::clicked, this, [this] {
        if (!openChartReport_) return;
        const ChartView* chart = chartPanel_->Chart();
        openChartReport_(chart->SpanMin(), chart->SpanMax());
    });
    connect(SBtnWindowPrint, &QToolButton::clicked, this, [this] {
        if (openScreenReport_) openScreenReport_();
    });
    // The chart's popup keys (Ctrl+P) work anywhere in the window.
    addActions(chartPanel_->PopupMenu()->actions());
}

// ---- layout -----------------------------------------------------------------

void TFrmOndavia::LayoutMainWindow() {
    QRect area = QGuiApplication::primaryScreen()
                     ? QGuiApplication::primaryScreen()->availableGeometry()
                     : QRect(0, 0, 1024, 768);
    LayoutMainWindow(area);
}

void TFrmOndavia::LayoutMainWindow(const QRect& workArea) {
    state_.LayoutInProgress = true;
    state_.GridNarrow = true;
    state_.LoadedFilePath.clear();

    const MainWindowSize size = FitToWorkArea(workArea);

    SetStatus(0, Utf8(state_.ViewerSettings.CompanyName));
    for (int i = 1; i < 6; ++i)
        SetStatus(i, QString());

    const bool wideEnough = size.width >= kTimeLabelsMinWidth;
    for (QWidget* w :
         {static_cast<QWidget*>(BevelTime), static_cast<QWidget*>(LblStartDTLabel),
          static_cast<QWidget*>(LblEndDTLabel), static_cast<QWidget*>(LblStartDateTime),
          static_cast<QWidget*>(LblEndDateTime)})
        w->setVisible(wideEnough);
    PlaceHeader();

    SBtnSearch->setVisible(true);
    SBtnExcel->setVisible(true);
    Bevel2->setVisible(true);

    chartPanel_->SetRpmVisible(state_.ViewerSettings.RPMVisible);
    fileList_->ApplySettings();
    SetGridWidth(false);

    state_.LayoutInProgress = false;
    ListDataFiles();
}

// The sizing rules give the whole window, frame and title bar included; the
// client area is what is left inside the frame.
MainWindowSize TFrmOndavia::FitToWorkArea(const QRect& workArea) {
    MainWindowSize size = MainWindowSizeFor(workArea.right() + 1, workArea.bottom() + 1);
    chartShare_ = size.chartShare;
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    move(workArea.topLeft());
    resize(std::max(1, size.width - frameExtra.width()),
           std::max(1, size.height - frameExtra.height()));
    PlacePanels();
    return size;
}

void TFrmOndavia::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlacePanels();
    PlaceHeader();
}

void TFrmOndavia::PlacePanels() {
    const int w = central_->width();
    const int h = central_->height();
    toolbar_->setGeometry(0, 0, w, kToolbarHeight);
    int x = 4;
    for (QToolButton* b : {SBtnChartPrint, SBtnMapPrint, SBtnWindowPrint, SBtnSearch, SBtnExcel}) {
        b->move(x, 3);
        x += 52;
    }
    Bevel2->setGeometry(x + 2, 4, 4, 36);
    ImageLogo->setGeometry(w - 124, 2, 120, 40);
    SBtnExit->move(w - 124 - 56, 3);
    SBtnSetup->move(w - 124 - 108, 3);

    PanelHead->setGeometry(0, kToolbarHeight, w, kHeadHeight);
    const int chartTop = kToolbarHeight + kHeadHeight;
    BodySplit body = SplitBody(h, chartTop, kStatusHeight, chartShare_);
    const int leftWidth = w - kFileListWidth - 8;
    chartPanel_->setGeometry(0, chartTop, leftWidth, body.chartHeight);
    const int gridWidth = GridPanelWidth(!state_.GridNarrow, state_.FileMode);
    PanelTextData->setGeometry(w - gridWidth - 8, chartTop, gridWidth + 8, body.chartHeight);
    GridTextView->setGeometry(0, 0, gridWidth + 8, body.chartHeight);
    PanelTextData->raise();
    // The enlarged map covers the chart beside the grid; its panel places
    // its own components.
    if (map_->MapWide()) {
        PanelMap->setGeometry(0, chartTop, leftWidth, body.chartHeight + body.lowerHeight);
        PanelMap->raise();
        PanelTextData->raise();
    } else {
        PanelMap->setGeometry(0, body.lowerTop, leftWidth, body.lowerHeight);
    }
    fileList_->setGeometry(leftWidth, body.lowerTop, w - leftWidth, body.lowerHeight);

    statusBar_->setGeometry(0, h - kStatusHeight, w, kStatusHeight);
    int fixed = 0;
    for (int i = 0; i < 6; ++i)
        fixed += kStatusWidths[i];
    int sx = 0;
    for (int i = 0; i < 6; ++i) {
        int pw = i == 2 ? std::max(0, w - fixed) : kStatusWidths[i];
        StatusPanels[i]->setGeometry(sx, 0, pw, kStatusHeight);
        sx += pw;
    }
    ShowEmptyNote();
}

void TFrmOndavia::PlaceHeader() {
    const int w = PanelHead->width();
    const int rowH = 22, top1 = 4, top2 = 30;
    const int bevelHeadLeft = 330;
    BevelHead->setGeometry(bevelHeadLeft, 4, 4, 48);
    const bool timeShown = BevelTime->isVisibleTo(PanelHead);
    int scrollWidth = timeShown ? bevelHeadLeft - 118 : bevelHeadLeft - 115;
    chartPanel_->PlaceBars(QRect(4, 2, 104, 30), QRect(112, 18, scrollWidth, 18));
    int right = w - 4;
    if (timeShown) {
        const int timeBlock = 220;
        BevelTime->setGeometry(w - timeBlock - 8, 4, 4, 48);
        LblStartDTLabel->setGeometry(w - timeBlock, top1, 60, rowH);
        LblEndDTLabel->setGeometry(w - timeBlock, top2, 60, rowH);
        LblStartDateTime->setGeometry(w - timeBlock + 64, top1, timeBlock - 68, rowH);
        LblEndDateTime->setGeometry(w - timeBlock + 64, top2, timeBlock - 68, rowH);
        right = w - timeBlock - 12;
    }
    const int left = bevelHeadLeft + 8;
    const int columnWidth = std::max(120, (right - left) / 3);
    QLabel* values[] = {LblModelName, LblCarNo, LblCarBody, LblBusinessNo, LblCarKind, LblDriverNo};
    for (int i = 0; i < 6; ++i) {
        int col = i / 2, row = i % 2;
        int cx = left + col * columnWidth;
        int cy = row == 0 ? top1 : top2;
        headerCaptions_[i]->setGeometry(cx, cy, 66, rowH);
        values[i]->setGeometry(cx + 70, cy, columnWidth - 76, rowH);
    }
}

void TFrmOndavia::ShowEmptyNote() {
    gridEmptyNote_->setGeometry(GridTextView->viewport()->rect());
    gridEmptyNote_->setVisible(gridModel_->rowCount() == 0);
}

void TFrmOndavia::SetStatus(int panel, const QString& text) { StatusPanels[panel]->setText(text); }

QString TFrmOndavia::StatusText(int panel) const { return StatusPanels[panel]->text(); }

void TFrmOndavia::SetGridWidth(bool wide) {
    state_.GridNarrow = !wide;
    PmGridWide->setText(wide ? QStringLiteral("텍스트 Grid 축소")
                             : QStringLiteral("텍스트 Grid 확대"));
    const bool extended = state_.FileMode == FileLayout::ExtendedLines;
    for (int c = 0; c < kGridColumnCount; ++c) {
        bool visible;
        switch (c) {
            case ColInfoDateTime:
                visible = wide;
                break;
            case ColInfoTime:
                visible = !wide;
                break;
            case ColSpeed:
            case ColRPM:
            case ColBrake:
                visible = true;
                break;
            case ColGear:
            case ColFuel:
            case ColAuto:
            case ColAccel:
            case ColSteer:
                visible = wide && extended;
                break;
            default:
                visible = wide;
        }
        GridTextView->setColumnHidden(c, !visible);
    }
    PlacePanels();
}

void TFrmOndavia::PmGridWideClick() {
    SetGridWidth(PmGridWide->text().contains(QStringLiteral("확대")));
}

QString TFrmOndavia::FocusedFileName() const {
    const ListedFile* file = fileList_->CurrentFile();
    return file ? Utf8(file->displayName) : QString();
}

void TFrmOndavia::PmGpsClick() {
    if (gridModel_->rowCount() == 0) return;
    ExportGpsLog(this, *recording_, FocusedFileName(), fileList_->Folder(),
                 [this](int panel, const QString& text) {
                     SetStatus(panel, text);
                     statusBar_->repaint();
                 });
}

void TFrmOndavia::PmExcelClick() {
    ExportWorkbook(this, *recording_, FocusedFileName(), fileList_->Folder(),
                   [this](int panel, const QString& text) {
                       SetStatus(panel, text);
                       statusBar_->repaint();
                   });
}

void TFrmOndavia::PMenuGridPopup() {
    const bool rows = gridModel_->rowCount() > 0;
    PmGps->setEnabled(rows);
    PmExcel->setEnabled(rows);
    PmGridWide->setEnabled(rows);
}

// ---- file list --------------------------------------------------------------

void TFrmOndavia::ListDataFiles() { fileList_->ListDataFiles(); }

void TFrmOndavia::FileListListed(int count) {
    SBtnSearch->setEnabled(count > 0);
    SBtnExcel->setEnabled(count > 0);
    if (count == 0)
        ClearView();
    else
        OpenSelectedFile();
    SetStatus(5, QStringLiteral("파일 갯수 :  %1").arg(count));
}

const std::vector<ListedFile>& TFrmOndavia::listedFiles() const { return fileList_->Files(); }

int TFrmOndavia::FindFileRow(const QString& name) const { return fileList_->FindFileRow(name); }

void TFrmOndavia::RadioButtonClick() { fileList_->RadioButtonClick(); }

void TFrmOndavia::GridFileListViewDblClick() { fileList_->GridFileListViewDblClick(); }

void TFrmOndavia::SetFolderChooser(std::function<QString(QWidget*, const QString&)> chooser) {
    fileList_->ChooseFolder = std::move(chooser);
}

void TFrmOndavia::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        event->accept();  // no help
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ---- loading ----------------------------------------------------------------

void TFrmOndavia::OpenSelectedFile() {
    const ListedFile* current = fileList_->CurrentFile();
    if (!current) return;
    const ListedFile& file = *current;
    const QString identity =
        (fileList_->Folder() + Utf8(file.displayName) + QStringLiteral(".TXT")).toUpper();
    state_.CurrentFilePath = identity;
    if (identity == state_.LoadedFilePath) return;
    state_.MapReady = false;
    BusyCursor busy;
    if (LoadDataFile()) {
        FillChart();
        SetGridWidth(!state_.GridNarrow);
        map_->ShowRouteOnMap();
    } else {
        ClearView();
        ShowError(this, loadFailure_ + QStringLiteral("   "));
    }
    state_.LoadedFilePath = state_.CurrentFilePath;
}

// Opens the focused file the way every part of the program opens one (name,
// layout, validation, load); on refusal loadFailure_ says why.
bool TFrmOndavia::LoadDataFile() {
    const ListedFile* current = fileList_->CurrentFile();
    if (!current) return false;
    gridModel_->SetRecording(nullptr);
    OpenedFile opened = OpenDataFile(current->path, CurrentYear());
    if (!opened.ok()) {
        loadFailure_ = QString::fromStdString(opened.message);
        return false;  // ClearView follows
    }
    *recording_ = std::move(*opened.recording);
    state_.FileMode = recording_->fileMode;
    state_.HundredthsData = recording_->hundredths;
    SetHeaderLabels(recording_->header);
    gridModel_->SetRecording(recording_.get());
    GridTextView->setEnabled(true);
    SBtnSearch->setEnabled(true);
    SBtnExcel->setEnabled(true);
    LblStartDateTime->setText(Utf8(recording_->startText));
    LblEndDateTime->setText(Utf8(recording_->endText));
    GridTextView->setCurrentIndex(gridModel_->index(0, ColSpeed));
    GridTextView->scrollToTop();
    SetStatus(2, state_.FileMode == FileLayout::ExtendedLines
                     ? QStringLiteral("연료소모량 : %1  ").arg(GroupDigits(recording_->fuelTotal))
                     : QString());
    SetStatus(3, QStringLiteral("레코드 갯수 : %1")
                     .arg(GroupDigits(static_cast<long long>(recording_->rows.size()))));
    ShowEmptyNote();
    return true;
}

void TFrmOndavia::FocusRecord(int record) {
    if (record < 0 || record >= gridModel_->rowCount()) return;
    QModelIndex index = gridModel_->index(record, ColSpeed);
    GridTextView->setCurrentIndex(index);
    GridTextView->scrollTo(index);
}

void TFrmOndavia::SetHeaderLabels(const HeaderTexts& h) {
    LblModelName->setText(Utf8(h.model));
    LblCarBody->setText(Utf8(h.carBody));
    LblCarKind->setText(Utf8(h.carKind));
    LblCarNo->setText(Utf8(h.carNo));
    LblBusinessNo->setText(Utf8(h.businessNo));
    LblDriverNo->setText(Utf8(h.driverNo));
}

void TFrmOndavia::FillChart() {
    SetStatus(
        1, state_.HundredthsData ? QStringLiteral("0.01초 데이터") : QStringLiteral("1초 데이터"));
    SBtnMapPrint->setEnabled(false);
    series_ = std::make_shared<const ChartSeries>(
        BuildChartSeries(recording_->table, state_.HundredthsData, CurrentYear()));

    // The span runs from the first to the last grid row; a row whose stamp
    // cannot be read gives way to the first or last plotted time.
    const int pivot = CurrentYear();
    auto rowTime = [&](const GridRow& row) {
        std::string text = row.DateTimeText();
        if (state_.HundredthsData) text.push_back('0');
        return TryParseDateTime(text, pivot);
    };
    state_.ChartStartTime = rowTime(recording_->rows.front()).value_or(series_->firstTime);
    state_.ChartEndTime = rowTime(recording_->rows.back()).value_or(series_->lastTime);
    chartPanel_->Show(*series_);
    UpdateReportButtons();
}

void TFrmOndavia::ClearView() {
    state_.MapReady = false;
    state_.LoadedFilePath.clear();
    for (QToolButton* b : {SBtnChartPrint, SBtnMapPrint, SBtnWindowPrint, SBtnSearch, SBtnExcel})
        b->setEnabled(false);
    for (QLabel* l : {LblStartDateTime, LblEndDateTime, LblModelName, LblCarBody, LblCarKind,
                      LblCarNo, LblBusinessNo, LblDriverNo})
        l->clear();
    gridModel_->SetRecording(nullptr);
    GridTextView->setEnabled(false);
    SetStatus(1, QString());
    SetStatus(3, QString());
    SetStatus(4, QString());
    chartPanel_->Clear();
    series_ = std::make_shared<const ChartSeries>();
    map_->ClearView();
    recording_->rows.clear();
    recording_->table.Clear();
    ShowEmptyNote();
}

// ---- chart interaction ------------------------------------------------------

void TFrmOndavia::TBarChartPropertiesChange() { chartPanel_->TBarChartPropertiesChange(); }

void TFrmOndavia::ScrBarChartChange() { chartPanel_->ScrBarChartChange(); }

void TFrmOndavia::ChartGraphMouseMove(int x, int y) { chartPanel_->ChartGraphMouseMove(x, y); }

void TFrmOndavia::PMenuChartPopup() { chartPanel_->PMenuChartPopup(); }

void TFrmOndavia::PMRPMVisibleClick() { chartPanel_->PMRPMVisibleClick(); }

void TFrmOndavia::SetDetailCommand(std::function<void()> open) {
    openDetail_ = std::move(open);
    chartPanel_->SetCommandsAvailable(bool(openDetail_), bool(openChartReport_));
}

void TFrmOndavia::SetChartReportCommand(std::function<void(DateTime, DateTime)> open) {
    openChartReport_ = std::move(open);
    chartPanel_->SetCommandsAvailable(bool(openDetail_), bool(openChartReport_));
    UpdateReportButtons();
}

void TFrmOndavia::SetScreenReportCommand(std::function<void()> open) {
    openScreenReport_ = std::move(open);
    UpdateReportButtons();
}

// The report buttons are enabled while a file is shown and their report exists.
void TFrmOndavia::UpdateReportButtons() {
    const bool shown = chartPanel_->Chart()->isEnabled();
    SBtnChartPrint->setEnabled(shown && bool(openChartReport_));
    SBtnWindowPrint->setEnabled(shown && bool(openScreenReport_));
}

QString TFrmOndavia::CarNoText() const { return LblCarNo->text(); }

int TFrmOndavia::ToolbarBottom() const {
    return toolbar_->mapTo(this, QPoint(0, toolbar_->height())).y();
}

void TFrmOndavia::SetSetupCommand(std::function<void()> open) {
    SBtnSetup->disconnect(this);
    SBtnSetup->setEnabled(bool(open));
    if (open) connect(SBtnSetup, &QToolButton::clicked, this, [open] { open(); });
}

int TFrmOndavia::WindowLength() const { return chartPanel_->WindowLength(); }

}  // namespace ondavia::gui
