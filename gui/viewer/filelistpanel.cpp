#include "viewer/filelistpanel.hpp"

#include <QAction>
#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>

#include "app/icons.hpp"
#include "app/services.hpp"
#include "common/cp949.hpp"
#include "common/datetime.hpp"
#include "common/settings.hpp"
#include "search/lockcommand.hpp"
#include "viewer/widgets.hpp"

#include <algorithm>

namespace ondavia::gui {

FileListPanel::FileListPanel(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("PanelFileList"));
    auto* lblDate = Named(new QLabel(QStringLiteral("작업일"), this), "LblFileDate");
    DEdtFileDate = Named(new QDateEdit(QDate::currentDate(), this), "DEdtFileDate");
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
    RBtnTotal = Named(new QRadioButton(QStringLiteral("전체"), this), "RBtnTotal");
    RBtnToday = Named(new QRadioButton(QStringLiteral("일자"), this), "RBtnToday");
    auto* lblFolder = Named(new QLabel(QStringLiteral("폴더"), this), "cxLabel3");
    LblPathName = Named(ValueLabel(this), "LblPathName");
    LblPathName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SBtnPathName = Named(new QToolButton(this), "SBtnPathName");
    SBtnPathName->setIcon(ToolbarIcon(ToolbarPicture::Folder));
    GridFileListView = Named(new QTableWidget(0, 2, this), "GridFileListView");
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
    GridFileListView->viewport()->installEventFilter(this);
    emptyNote_ = new QLabel(QString::fromUtf8(kEmptyNote), GridFileListView->viewport());
    emptyNote_->setAlignment(Qt::AlignCenter);
    emptyNote_->setTextFormat(Qt::PlainText);

    PMenuFilelist = Named(new QMenu(this), "PMenuFilelist");
    PMLock = PMenuFilelist->addAction(QStringLiteral("암호화 진행(&L)"));
    PMUnlock = PMenuFilelist->addAction(QStringLiteral("암호화 해제(&U)"));
    PMLock->setObjectName(QStringLiteral("PMLock"));
    PMUnlock->setObjectName(QStringLiteral("PMUnlock"));
    connect(PMenuFilelist, &QMenu::aboutToShow, this, [this] {
        const ListedFile* file = CurrentFile();
        PMenuFilelistPopup(PMLock, PMUnlock,
                           file ? QString::fromStdString(file->displayName) : QString(),
                           state_.CurrentFilePath);
    });
    connect(PMLock, &QAction::triggered, this, [this] { PMLock_UnlockClick(true); });
    connect(PMUnlock, &QAction::triggered, this, [this] { PMLock_UnlockClick(false); });

    auto* layout = new QGridLayout(this);
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

    ChooseFolder = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, QString(), start,
                                                 QFileDialog::ShowDirsOnly);
    };
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

void FileListPanel::ApplySettings() {
    RBtnTotal->setChecked(state_.ViewerSettings.AllWorkDate);
    RBtnToday->setChecked(!state_.ViewerSettings.AllWorkDate);
    LblPathName->setText(QString::fromStdString(state_.ViewerSettings.DataFilePath));
    DEdtFileDate->setEnabled(RBtnToday->isChecked());
    DEdtFileDate->setDate(QDate::currentDate());
}

void FileListPanel::ListDataFiles() {
    BusyCursor busy;
    GridFileListView->setUpdatesEnabled(false);
    GridFileListView->setRowCount(0);
    std::optional<std::string> date;
    if (!RBtnTotal->isChecked())
        date = DEdtFileDate->date().toString(QStringLiteral("yyyyMMdd")).toStdString();
    listed_ = ondavia::ListDataFiles(std::filesystem::path(LblPathName->text().toStdString()), date,
                                     CurrentYear());
    FillRows();
    GridFileListView->setUpdatesEnabled(true);
    ShowEmptyNote();
    if (!listed_.empty()) {
        // The list is already in name order; the first row is the first file.
        GridFileListView->selectRow(0);
        GridFileListView->setCurrentCell(0, 0);
        GridFileListView->setFocus();
    }
    emit Listed(static_cast<int>(listed_.size()));
}

void FileListPanel::FillRows() {
    GridFileListView->setRowCount(static_cast<int>(listed_.size()));
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i) {
        const ListedFile& file = listed_[static_cast<size_t>(i)];
        auto* name = new QTableWidgetItem(QString::fromStdString(file.displayName));
        name->setTextAlignment(Qt::AlignCenter);
        GridFileListView->setItem(i, 0, name);
        GridFileListView->setItem(i, 1,
                                  new QTableWidgetItem(QString::number(ModeNumber(file.fileMode))));
    }
}

void FileListPanel::PMLock_UnlockClick(bool lock) {
    const ListedFile* current = CurrentFile();
    if (!current) return;
    const ListedFile focused = *current;  // the list may grow under it
    FileListAccess access;
    access.FindFileRow = [this](const std::string& name) {
        return ondavia::FindFileRow(listed_, name);
    };
    access.AddFileRow = [this](const ListedFile& file) {
        const std::string keep = CurrentFile() ? CurrentFile()->name : std::string();
        listed_.push_back(file);
        std::stable_sort(listed_.begin(), listed_.end(),
                         [](const ListedFile& a, const ListedFile& b) {
                             return a.name != b.name ? a.name < b.name : a.path < b.path;
                         });
        FillRows();
        // The focus stays on the file it was on.
        const int row = ondavia::FindFileRow(listed_, keep);
        if (row >= 0) GridFileListView->setCurrentCell(row, 0);
        ShowEmptyNote();
    };
    access.SetFileMode = [this](int row, int fileMode) {
        listed_[static_cast<size_t>(row)].fileMode = LayoutFromMode(fileMode);
        GridFileListView->item(row, 1)->setText(QString::number(fileMode));
    };
    access.RowCount = [this] { return GridFileListView->rowCount(); };
    access.SetFileCountText = [this](const QString& text) { emit StatusChanged(5, text); };
    access.SetUpdatesEnabled = [this](bool on) { GridFileListView->setUpdatesEnabled(on); };
    ondavia::gui::PMLock_UnlockClick(
        window(), lock ? TransformDirection::Lock : TransformDirection::Unlock, focused, access);
}

int FileListPanel::FindFileRow(const QString& name) const {
    auto bytes = Utf8ToCp949(name.toStdString());
    return bytes ? ondavia::FindFileRow(listed_, *bytes) : -1;
}

int FileListPanel::CurrentRow() const { return GridFileListView->currentRow(); }

const ListedFile* FileListPanel::CurrentFile() const {
    const int row = CurrentRow();
    if (row < 0 || row >= static_cast<int>(listed_.size())) return nullptr;
    return &listed_[static_cast<size_t>(row)];
}

QString FileListPanel::Folder() const { return LblPathName->text(); }

void FileListPanel::RadioButtonClick() {
    if (state_.LayoutInProgress) return;
    state_.ViewerSettings.AllWorkDate = RBtnTotal->isChecked();
    DEdtFileDate->setEnabled(RBtnToday->isChecked());
    state_.WriteBool(kSectionGeneral, kKeyAllWorkDate, state_.ViewerSettings.AllWorkDate);
    ListDataFiles();
}

void FileListPanel::SBtnPathNameClick() {
    QString start = QDir(LblPathName->text()).exists() ? LblPathName->text() : QString();
    QString chosen = ChooseFolder(this, start);
    if (chosen.isEmpty()) return;
    if (!chosen.endsWith('/')) chosen += '/';
    LblPathName->setText(chosen);
    state_.ViewerSettings.DataFilePath = chosen.toStdString();
    state_.WriteString(kSectionPathname, kKeyDataFilePath, chosen);
    ListDataFiles();
}

void FileListPanel::GridFileListViewDblClick() { emit OpenRequested(); }

void FileListPanel::ShowEmptyNote() {
    emptyNote_->setGeometry(GridFileListView->viewport()->rect());
    emptyNote_->setVisible(GridFileListView->rowCount() == 0);
}

void FileListPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ShowEmptyNote();
}

bool FileListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GridFileListView && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            GridFileListViewDblClick();
            return true;
        }
    }
    if (watched == GridFileListView->viewport() && event->type() == QEvent::Resize) ShowEmptyNote();
    return QWidget::eventFilter(watched, event);
}

}  // namespace ondavia::gui
