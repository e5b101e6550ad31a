// The file list panel: work-date choice, data folder and the list of data
// files in it. It lists; the main window opens what it picks.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/appstate.hpp"
#include "data/filelist.hpp"

class QAction;
class QDateEdit;
class QLabel;
class QMenu;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace ondavia::gui {

class FileListPanel : public QWidget {
    Q_OBJECT
  public:
    FileListPanel(AppState& state, QWidget* parent);

    // Start-up state from the settings: the work-date choice, the folder and
    // today's date; lists nothing.
    void ApplySettings();
    // Lists the folder's data files for the chosen date (or all), selects
    // the first row and reports the count.
    void ListDataFiles();
    int FindFileRow(const QString& name) const;

    const std::vector<ListedFile>& Files() const { return listed_; }
    // The focused row's file, or nullptr.
    const ListedFile* CurrentFile() const;
    int CurrentRow() const;
    // The folder as shown, with its trailing separator.
    QString Folder() const;

    void RadioButtonClick();
    void SBtnPathNameClick();
    void GridFileListViewDblClick();

    // Opens folders for SBtnPathNameClick; tests replace it.
    std::function<QString(QWidget*, const QString&)> ChooseFolder;

  signals:
    // After every listing; with rows, the first one is selected.
    void Listed(int count);
    // Double click or Enter on a row.
    void OpenRequested();
    // A status-bar text the list changed (the file count after a lock).
    void StatusChanged(int panel, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowEmptyNote();
    void FillRows();
    void PMLock_UnlockClick(bool lock);

    AppState& state_;
    std::vector<ListedFile> listed_;
    QDateEdit* DEdtFileDate;
    QRadioButton* RBtnTotal;
    QRadioButton* RBtnToday;
    QLabel* LblPathName;
    QToolButton* SBtnPathName;
    QTableWidget* GridFileListView;
    QLabel* emptyNote_;
    QMenu* PMenuFilelist;
    QAction* PMLock;
    QAction* PMUnlock;
};

}  // namespace ondavia::gui
