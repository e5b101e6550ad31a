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

#include "app/services.hpp"
#include "common/cp949.hpp"
#include "common/text.hpp"
#include "gridcelldelegate.hpp"
#include "recordgridmodel.hpp"
#include "viewer/chartzoom.hpp"
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
const char* const kEmptyNote = "< 화면에 출력할 파일이 없습니다. >";

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

QLabel* ValueLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(p);
    return l;
}

QFrame* Bevel(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

}  // namespace

TFrmOndavia::TFrmOndavia(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), recording_(std::make_unique<Recording>()) {
    setWindowTitle(QStringLiteral("Ondavia"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    state_.RecordTable = &recording_->table;
    central_ = new QWidget(this);
    setCentralWidget(central_);
    BuildToolbar();
    BuildHeader();
    BuildBody();
    BuildFileList();
    BuildStatusBar();
    BuildMenus();
    ChooseFolder = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, QString(), start,
                                                 QFileDialog::ShowDirsOnly);
    };
    resize(1016, 699);
    ImageLogo->setVisible(true);
    // A change of the desktop's work area (a panel moved, a screen resized)
    // takes the window to the new area, as at start-up.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::availableGeometryChanged, this,
                [this](const QRect& area) { resize(area.right() + 1, area.bottom()); });
    }
    LblChartHint->hide();
}

TFrmOndavia::~TFrmOndavia() { state_.RecordTable = nullptr; }

void TFrmOndavia::BuildToolbar() {
    toolbar_ = new QWidget(central_);
    auto button = [this](const QString& caption, QStyle::StandardPixmap icon, const QString& hint) {
        auto* b = new QToolButton(toolbar_);
        b->setText(caption);
        b->setToolTip(hint.isEmpty() ? caption : hint);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                : Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFixedSize(50, 38);
        return b;
    };
    SBtnChartPrint = button("Chart", QStyle::SP_FileDialogContentsView, {});
    SBtnMapPrint = button(QStringLiteral("지도"), QStyle::SP_DriveNetIcon, {});
    SBtnWindowPrint = button(QStringLiteral("화면"), QStyle::SP_DesktopIcon, {});
    SBtnSearch = button(QStringLiteral("찾기"), QStyle::SP_FileDialogDetailedView, {});
    SBtnExcel = button("Excel", QStyle::SP_DialogSaveButton, {});
    SBtnSetup = button({}, QStyle::SP_FileDialogInfoView, QStringLiteral("환경설정"));
    SBtnExit = button({}, QStyle::SP_DialogCloseButton, QStringLiteral("작업종료"));
    Bevel2 = Bevel(toolbar_);
    ImageLogo = new QLabel(toolbar_);
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
    PanelHead = new QWidget(central_);
    TBarChart = new QSlider(Qt::Horizontal, PanelHead);
    TBarChart->setRange(1, 7);
    TBarChart->setPageStep(1);
    TBarChart->setTickPosition(QSlider::TicksBelow);
    TBarChart->setTickInterval(1);
    TBarChart->setValue(1);
    TBarChart->setEnabled(false);
    for (int i = 0; i < 7; ++i) {
        auto* number = new QLabel(QString::number(i + 1), PanelHead);
        number->setAlignment(Qt::AlignCenter);
        number->setAttribute(Qt::WA_TransparentForMouseEvents);
        zoomNumbers_.append(number);
    }
    ScrBarChart = new QScrollBar(Qt::Horizontal, PanelHead);
    ScrBarChart->setSingleStep(60);
    ScrBarChart->setPageStep(600);
    ScrBarChart->setEnabled(false);
    BevelHead = Bevel(PanelHead);
    BevelTime = Bevel(PanelHead);
    const char* captions[] = {"모델명",     "차량번호",   "차대번호",
                              "사업자번호", "자동차유형", "운전자코드"};
    QLabel** values[] = {&LblModelName,  &LblCarNo,   &LblCarBody,
                         &LblBusinessNo, &LblCarKind, &LblDriverNo};
    for (int i = 0; i < 6; ++i) {
        auto* c = new QLabel(QString::fromUtf8(captions[i]), PanelHead);
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        headerCaptions_.append(c);
        *values[i] = ValueLabel(PanelHead);
    }
    LblStartDTLabel = new QLabel(QStringLiteral("시작시간"), PanelHead);
    LblEndDTLabel = new QLabel(QStringLiteral("종료시간"), PanelHead);
    LblStartDTLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblEndDTLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblStartDateTime = ValueLabel(PanelHead);
    LblEndDateTime = ValueLabel(PanelHead);
    connect(TBarChart, &QSlider::valueChanged, this, [this] { TBarChartPropertiesChange(); });
    connect(ScrBarChart, &QScrollBar::valueChanged, this, [this] { ScrBarChartChange(); });
}

void TFrmOndavia::BuildBody() {
    PanelChart = new QWidget(central_);
    ChartGraph = new ChartView(PanelChart);
    ChartGraph->setEnabled(false);
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
    connect(ChartGraph, &ChartView::MouseLeft, this, [this] {
        LblChartHint->hide();
        LblChartHint->setText(QString());
    });
    connect(ChartGraph, &ChartView::DoubleClicked, this, [this](int x, int) {
        state_.PointerTime =
            PointerAt(state_.HundredthsData, ChartGraph->TimeAtX(x), CurrentYear()).pointerTime;
        if (detailAllowed_ && DetailWindow) DetailWindow->show();
    });
    connect(ChartGraph, &ChartView::ContextMenuRequested, this, [this](const QPoint& pos) {
        PMenuChartPopup();
        PMenuChart->popup(pos);
    });

    PanelTextData = new QWidget(central_);
    GridTextView = new QTableView(PanelTextData);
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
                Map->GridTextViewFocusedRecordChanged();  // the map marker follows
            });
    gridEmptyNote_ = new QLabel(QString::fromUtf8(kEmptyNote), GridTextView->viewport());
    gridEmptyNote_->setAlignment(Qt::AlignCenter);

    PanelMap = new QWidget(central_);
    PanelMap->setAutoFillBackground(true);
    // ---- map panel: its components and behaviour live in MapView ----
    Map = new MapView(
        state_, *recording_, [this] { return GridTextView->currentIndex().row(); }, PanelMap);
    LblMapMessage = Map->LblMapMessage;
    BtnMapWide = Map->BtnMapWide;
    LblStartEndRoute = Map->LblStartEndRoute;
    connect(Map, &MapView::MapWideChanged, this, [this] {
        PlacePanels();
        GridFileListView->setFocus();
    });
    // ---- end of map panel ----

    LblChartHint = new QLabel(central_);
    LblChartHint->setFixedSize(220, 60);
    LblChartHint->setAlignment(Qt::AlignCenter);
    LblChartHint->setFrameShape(QFrame::Box);
    LblChartHint->setAutoFillBackground(true);
    QPalette p = LblChartHint->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    LblChartHint->setPalette(p);
    LblChartHint->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFrmOndavia::BuildFileList() {
    PanelFileList = new QWidget(central_);
    auto* lblDate = new QLabel(QStringLiteral("작업일"), PanelFileList);
    lblDate->setObjectName("LblFileDate");
    DEdtFileDate = new QDateEdit(QDate::currentDate(), PanelFileList);
    DEdtFileDate->setCalendarPopup(true);
    DEdtFileDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    // The drop-down calendar carries a button back to today.
    if (auto* calendarLayout = DEdtFileDate->calendarWidget()->layout()) {
        auto* today = new QPushButton(QStringLiteral("오늘"), DEdtFileDate->calendarWidget());
        calendarLayout->addWidget(today);
        connect(today, &QPushButton::clicked, this, [this] {
            DEdtFileDate->setDate(QDate::currentDate());
            DEdtFileDate->calendarWidget()->setSelectedDate(QDate::currentDate());
            if (QWidget* popup = DEdtFileDate->calendarWidget()->window(); popup != window())
                popup->hide();
        });
    }
    RBtnTotal = new QRadioButton(QStringLiteral("전체"), PanelFileList);
    RBtnToday = new QRadioButton(QStringLiteral("일자"), PanelFileList);
    auto* lblFolder = new QLabel(QStringLiteral("폴더"), PanelFileList);
    lblFolder->setObjectName("cxLabel3");
    LblPathName = ValueLabel(PanelFileList);
    LblPathName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SBtnPathName = new QToolButton(PanelFileList);
    SBtnPathName->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    GridFileListView = new QTableWidget(0, 2, PanelFileList);
    GridFileListView->setHorizontalHeaderLabels(
        {QStringLiteral("파일 목록"), QStringLiteral("Mode")});
    GridFileListView->setColumnHidden(1, true);
    GridFileListView->horizontalHeader()->setStretchLastSection(false);
    GridFileListView->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    GridFileListView->verticalHeader()->hide();
    GridFileListView->verticalHeader()->setDefaultSectionSize(20);
    GridFileListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridFileListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridFileListView->setSelectionMode(QAbstractItemView::SingleSelection);
    GridFileListView->setStyleSheet(QStringLiteral(
        "QTableWidget::item:selected { background: palette(highlight); color: white; }"));
    GridFileListView->setContextMenuPolicy(Qt::CustomContextMenu);
    GridFileListView->installEventFilter(this);
    fileListEmptyNote_ = new QLabel(QString::fromUtf8(kEmptyNote), GridFileListView->viewport());
    fileListEmptyNote_->setAlignment(Qt::AlignCenter);

    auto* layout = new QGridLayout(PanelFileList);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(lblDate, 0, 0);
    layout->addWidget(DEdtFileDate, 0, 1, 1, 2);
    auto* radios = new QHBoxLayout;
    radios->addWidget(RBtnTotal);
    radios->addWidget(RBtnToday);
    radios->addStretch();
    layout->addLayout(radios, 1, 0, 1, 3);
    layout->addWidget(lblFolder, 2, 0);
    layout->addWidget(LblPathName, 2, 1);
    layout->addWidget(SBtnPathName, 2, 2);
    layout->addWidget(GridFileListView, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(RBtnTotal, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
    connect(RBtnToday, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
    connect(DEdtFileDate, &QDateEdit::dateChanged, this, [this] {
        if (!state_.LayoutInProgress) ListDataFiles();
    });
    connect(SBtnPathName, &QToolButton::clicked, this, [this] { SBtnPathNameClick(); });
    connect(GridFileListView, &QTableWidget::cellDoubleClicked, this,
            [this] { GridFileListViewDblClick(); });
    connect(GridFileListView, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        if (GridFileListView->rowCount() == 0) return;
        PMenuFilelist->popup(GridFileListView->viewport()->mapToGlobal(p));
    });
}

void TFrmOndavia::BuildStatusBar() {
    statusBar_ = new QWidget(central_);
    for (int i = 0; i < 6; ++i) {
        StatusPanels[i] = new QLabel(statusBar_);
        StatusPanels[i]->setFrameShape(QFrame::Panel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        StatusPanels[i]->setAlignment(i == 2 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    }
}

void TFrmOndavia::BuildMenus() {
    PMenuGrid = new QMenu(this);
    PmGps = PMenuGrid->addAction(QStringLiteral("G.P.S 로그 파일 생성(&G)"));
    PmExcel = PMenuGrid->addAction(QStringLiteral("Excel 파일 생성(&E)"));
    PmGridWide = PMenuGrid->addAction(QStringLiteral("텍스트 Grid 확대(&W)"));
    PmGridWide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    PmGridWide->setShortcutContext(Qt::WindowShortcut);
    addAction(PmGridWide);
    connect(PmGridWide, &QAction::triggered, this, [this] { PmGridWideClick(); });

    PMenuFilelist = new QMenu(this);
    PMLock = PMenuFilelist->addAction(QStringLiteral("암호화 진행(&L)"));
    PMUnlock = PMenuFilelist->addAction(QStringLiteral("암호화 해제(&U)"));
    // Locking and unlocking arrive with their own commands; until then the
    // popup offers nothing.
    PMLock->setVisible(false);
    PMUnlock->setVisible(false);

    PMenuChart = new QMenu(this);
    PMChartPrint = PMenuChart->addAction(QStringLiteral("챠트 출력(&P)"));
    PMChartPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    PMenuChart->addSeparator();
    PMGraphDetail = PMenuChart->addAction(QStringLiteral("그래프 정밀 분석(&D)"));
    PMenuChart->addSeparator();
    PMRPMVisible = PMenuChart->addAction(QStringLiteral("RPM 출력(&R)"));
    PMRPMVisible->setCheckable(true);
    QAction* hidden = PMenuChart->addAction(QString());
    hidden->setVisible(false);
    connect(PMRPMVisible, &QAction::triggered, this, [this] { PMRPMVisibleClick(); });
    connect(PMGraphDetail, &QAction::triggered, this, [this] {
        if (PMGraphDetail->isEnabled() && DetailWindow) DetailWindow->show();
    });
    connect(PMChartPrint, &QAction::triggered, this, [this] {
        if (PMChartPrint->isEnabled() && ReportWindow) ReportWindow->show();
    });
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

    MainWindowSize size = MainWindowSizeFor(workArea.right() + 1, workArea.bottom() + 1);
    chartShare_ = size.chartShare;
    move(0, 0);
    resize(size.width, size.height);
    PlacePanels();

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

    LblChartHint->hide();
    SBtnSearch->setVisible(true);
    SBtnExcel->setVisible(true);
    Bevel2->setVisible(true);

    PMRPMVisible->setChecked(state_.ViewerSettings.RPMVisible);
    ChartGraph->SetRpmVisible(state_.ViewerSettings.RPMVisible);

    RBtnTotal->setChecked(state_.ViewerSettings.AllWorkDate);
    RBtnToday->setChecked(!state_.ViewerSettings.AllWorkDate);
    LblPathName->setText(Utf8(state_.ViewerSettings.DataFilePath));
    DEdtFileDate->setEnabled(RBtnToday->isChecked());
    DEdtFileDate->setDate(QDate::currentDate());
    SetGridWidth(false);

    state_.LayoutInProgress = false;
    ListDataFiles();
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
    PanelChart->setGeometry(0, chartTop, leftWidth, body.chartHeight);
    ChartGraph->setGeometry(0, 0, leftWidth, body.chartHeight);
    const int gridWidth = GridPanelWidth(!state_.GridNarrow, state_.FileMode);
    PanelTextData->setGeometry(w - gridWidth - 8, chartTop, gridWidth + 8, body.chartHeight);
    GridTextView->setGeometry(0, 0, gridWidth + 8, body.chartHeight);
    PanelTextData->raise();
    // The enlarged map covers the chart beside the grid; its panel places
    // its own components.
    if (Map->MapWide()) {
        PanelMap->setGeometry(0, chartTop, leftWidth, body.chartHeight + body.lowerHeight);
        PanelMap->raise();
        PanelTextData->raise();
    } else {
        PanelMap->setGeometry(0, body.lowerTop, leftWidth, body.lowerHeight);
    }
    PanelFileList->setGeometry(leftWidth, body.lowerTop, w - leftWidth, body.lowerHeight);

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
    ShowEmptyNotes();
}

void TFrmOndavia::PlaceHeader() {
    const int w = PanelHead->width();
    const int rowH = 22, top1 = 4, top2 = 30;
    TBarChart->setGeometry(4, 2, 104, 30);
    PlaceZoomNumbers();
    const int bevelHeadLeft = 330;
    BevelHead->setGeometry(bevelHeadLeft, 4, 4, 48);
    const bool timeShown = BevelTime->isVisibleTo(PanelHead);
    int scrollWidth = timeShown ? bevelHeadLeft - 118 : bevelHeadLeft - 115;
    ScrBarChart->setGeometry(112, 18, scrollWidth, 18);
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

void TFrmOndavia::PlaceZoomNumbers() {
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

void TFrmOndavia::ShowEmptyNotes() {
    gridEmptyNote_->setGeometry(GridTextView->viewport()->rect());
    gridEmptyNote_->setVisible(gridModel_->rowCount() == 0);
    fileListEmptyNote_->setGeometry(GridFileListView->viewport()->rect());
    fileListEmptyNote_->setVisible(GridFileListView->rowCount() == 0);
}

void TFrmOndavia::SetStatus(int panel, const QString& text) { StatusPanels[panel]->setText(text); }

QString TFrmOndavia::StatusText(int panel) const { return StatusPanels[panel]->text(); }

void TFrmOndavia::SetGridWidth(bool wide) {
    state_.GridNarrow = !wide;
    PmGridWide->setText(wide ? QStringLiteral("텍스트 Grid 축소(&W)")
                             : QStringLiteral("텍스트 Grid 확대(&W)"));
    const bool extended = state_.FileMode == 1;
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

void TFrmOndavia::PMenuGridPopup() {
    const bool rows = gridModel_->rowCount() > 0;
    // Exports arrive with their own commands.
    PmGps->setEnabled(false);
    PmExcel->setEnabled(false);
    PmGridWide->setEnabled(rows);
}

// ---- file list --------------------------------------------------------------

void TFrmOndavia::ListDataFiles() {
    BusyCursor busy;
    GridFileListView->setUpdatesEnabled(false);
    GridFileListView->setRowCount(0);
    std::optional<std::string> date;
    if (!RBtnTotal->isChecked())
        date = DEdtFileDate->date().toString(QStringLiteral("yyyyMMdd")).toStdString();
    listed_ = ondavia::ListDataFiles(std::filesystem::path(LblPathName->text().toStdString()), date,
                                     CurrentYear());
    GridFileListView->setRowCount(static_cast<int>(listed_.size()));
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i) {
        auto* name = new QTableWidgetItem(Utf8(listed_[static_cast<size_t>(i)].displayName));
        name->setTextAlignment(Qt::AlignCenter);
        GridFileListView->setItem(i, 0, name);
        GridFileListView->setItem(
            i, 1, new QTableWidgetItem(QString::number(listed_[static_cast<size_t>(i)].fileMode)));
    }
    GridFileListView->setUpdatesEnabled(true);
    SBtnSearch->setEnabled(!listed_.empty());
    ShowEmptyNotes();
    if (listed_.empty()) {
        ClearView();
    } else {
        // The list is already in name order; the first row is the first file.
        GridFileListView->selectRow(0);
        GridFileListView->setCurrentCell(0, 0);
        GridFileListView->setFocus();
        OpenSelectedFile();
    }
    SetStatus(5, QStringLiteral("파일 갯수 :  %1").arg(listed_.size()));
}

int TFrmOndavia::FindFileRow(const QString& name) const {
    auto bytes = Utf8ToCp949(name.toStdString());
    return bytes ? ondavia::FindFileRow(listed_, *bytes) : -1;
}

void TFrmOndavia::RadioButtonClick() {
    if (state_.LayoutInProgress) return;
    state_.ViewerSettings.AllWorkDate = RBtnTotal->isChecked();
    DEdtFileDate->setEnabled(RBtnToday->isChecked());
    state_.WriteBool("GENERAL", "AllWorkDate", state_.ViewerSettings.AllWorkDate);
    ListDataFiles();
}

void TFrmOndavia::SBtnPathNameClick() {
    QString start = QDir(LblPathName->text()).exists() ? LblPathName->text() : QString();
    QString chosen = ChooseFolder(this, start);
    if (chosen.isEmpty()) return;
    if (!chosen.endsWith('/')) chosen += '/';
    LblPathName->setText(chosen);
    state_.ViewerSettings.DataFilePath = chosen.toStdString();
    state_.WriteString("PATHNAME", "DataFilePath", chosen);
    ListDataFiles();
}

void TFrmOndavia::GridFileListViewDblClick() { OpenSelectedFile(); }

bool TFrmOndavia::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GridFileListView && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            GridFileListViewDblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
    int row = GridFileListView->currentRow();
    if (row < 0 || row >= static_cast<int>(listed_.size())) return;
    const ListedFile& file = listed_[static_cast<size_t>(row)];
    const QString identity =
        (LblPathName->text() + Utf8(file.displayName) + QStringLiteral(".TXT")).toUpper();
    state_.CurrentFilePath = identity;
    if (identity == state_.LoadedFilePath) return;
    state_.MapReady = false;
    BusyCursor busy;
    state_.FileMode = file.fileMode == 0 ? 0 : file.fileMode == 1 ? 1 : 2;
    BlockSizes sizes = SizesForMode(state_.FileMode);
    state_.HeaderSize = sizes.headerSize;
    state_.RecordSize = sizes.recordSize;
    Validation v = ValidateDataFile(file.UpperFileName(), file.path, sizes);
    state_.HundredthsData = v.hundredths;
    state_.LockedFile = v.locked;
    if (v.valid && LoadDataFile()) {
        FillChart();
        SetGridWidth(!state_.GridNarrow);
        Map->ShowRouteOnMap();
    } else {
        ClearView();
        ShowError(this, QString::fromUtf8(kLoadFailedMessage) + QStringLiteral("   "));
    }
    state_.LoadedFilePath = state_.CurrentFilePath;
}

bool TFrmOndavia::LoadDataFile() {
    int row = GridFileListView->currentRow();
    const ListedFile& file = listed_[static_cast<size_t>(row)];
    LoadOptions options;
    options.upperName = file.UpperFileName();
    options.fileMode = state_.FileMode;
    options.hundredths = state_.HundredthsData;
    options.locked = state_.LockedFile;
    options.pivotYear = CurrentYear();
    gridModel_->SetRecording(nullptr);
    LoadResult result = LoadRecording(file.path, options, *recording_);
    if (!result.ok()) return false;  // ClearView follows
    SetHeaderLabels(recording_->header);
    gridModel_->SetRecording(recording_.get());
    GridTextView->setEnabled(true);
    SBtnSearch->setEnabled(true);
    LblStartDateTime->setText(Utf8(recording_->startText));
    LblEndDateTime->setText(Utf8(recording_->endText));
    GridTextView->setCurrentIndex(gridModel_->index(0, ColSpeed));
    GridTextView->scrollToTop();
    SetStatus(2, state_.FileMode == 1
                     ? QStringLiteral("연료소모량 : %1  ").arg(GroupDigits(recording_->fuelTotal))
                     : QString());
    SetStatus(3, QStringLiteral("레코드 갯수 : %1")
                     .arg(GroupDigits(static_cast<long long>(recording_->rows.size()))));
    ShowEmptyNotes();
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
    ChartGraph->setEnabled(true);
    SBtnMapPrint->setEnabled(false);
    ChartGraph->SetBottomAxisVisible(true);
    series_ = std::make_shared<const ChartSeries>(
        BuildChartSeries(recording_->table, state_.HundredthsData, CurrentYear()));
    ChartGraph->SetSeries(*series_);

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
    ChartGraph->SetSpan(state_.ChartStartTime, state_.ChartEndTime);

    ZoomBar bar = ZoomBarFor(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime,
                             TBarChart->maximum());
    {
        QSignalBlocker block(TBarChart);
        TBarChart->setMaximum(bar.max);
    }
    TBarChart->setEnabled(bar.enabled);
    PlaceZoomNumbers();
    TBarChartPropertiesChange();
}

void TFrmOndavia::ClearView() {
    state_.MapReady = false;
    state_.LoadedFilePath.clear();
    for (QWidget* w : {static_cast<QWidget*>(TBarChart), static_cast<QWidget*>(ScrBarChart),
                       static_cast<QWidget*>(SBtnChartPrint), static_cast<QWidget*>(SBtnMapPrint),
                       static_cast<QWidget*>(SBtnWindowPrint), static_cast<QWidget*>(SBtnSearch),
                       static_cast<QWidget*>(SBtnExcel)})
        w->setEnabled(false);
    PlaceZoomNumbers();
    for (QLabel* l : {LblStartDateTime, LblEndDateTime, LblModelName, LblCarBody, LblCarKind,
                      LblCarNo, LblBusinessNo, LblDriverNo})
        l->clear();
    gridModel_->SetRecording(nullptr);
    GridTextView->setEnabled(false);
    SetStatus(1, QString());
    SetStatus(3, QString());
    SetStatus(4, QString());
    ChartGraph->setEnabled(false);
    ChartGraph->ClearChart();
    ChartGraph->SetBottomAxisVisible(false);
    series_ = std::make_shared<const ChartSeries>();
    Map->ClearView();
    recording_->rows.clear();
    recording_->table.Clear();
    ShowEmptyNotes();
}

// ---- chart interaction ------------------------------------------------------

void TFrmOndavia::TBarChartPropertiesChange() {
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

void TFrmOndavia::ScrBarChartChange() {
    auto [min, max] = ApplyScroll(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime,
                                  ScrBarChart->value(), windowLength_);
    ChartGraph->SetSpan(min, max);
}

void TFrmOndavia::ChartGraphMouseMove(int x, int y) {
    PointerInfo p = PointerAt(state_.HundredthsData, ChartGraph->TimeAtX(x), CurrentYear());
    state_.PointerTime = p.pointerTime;
    if (p.pointerTime < ChartGraph->SpanMin() || p.pointerTime > ChartGraph->SpanMax()) {
        LblChartHint->hide();
        LblChartHint->setText(QString());
        return;
    }
    LblChartHint->show();
    LblChartHint->raise();
    TDTG_CLASS& table = recording_->table;
    if (table.FindRecord(p.key) < 0) {
        LblChartHint->setText(QString());
    } else {
        LblChartHint->setText(
            Utf8(HintText(state_.HundredthsData, p.pointerTime, table.Current())));
    }
    QPoint origin = ChartGraph->mapTo(central_, QPoint(0, 0));
    int left = std::max(0, origin.x() + x - 110);
    int top = origin.y() + y - 80;
    if (top < 90) top = origin.y() + y + 20;
    LblChartHint->move(left, top);
}

void TFrmOndavia::PMenuChartPopup() {
    PMChartPrint->setEnabled(ChartGraph->isEnabled());
    detailAllowed_ =
        ChartGraph->isEnabled() &&
        DetailGraphAllowed(state_.HundredthsData, state_.ChartStartTime, state_.ChartEndTime);
    PMGraphDetail->setEnabled(detailAllowed_);
}

void TFrmOndavia::PMRPMVisibleClick() {
    const bool visible = PMRPMVisible->isChecked();
    ChartGraph->SetRpmVisible(visible);
    state_.ViewerSettings.RPMVisible = visible;
    state_.WriteBool("GENERAL", "RPMVisible", visible);
}

}  // namespace ondavia::gui
