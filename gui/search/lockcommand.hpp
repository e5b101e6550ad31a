// The file list's lock and unlock commands: which of them the popup offers,
// and the command itself (question, copy beside the file, list update,
// outcome). The file list lends its rows through FileListAccess.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "data/filelist.hpp"
#include "search/transform.hpp"

class QAction;
class QWidget;

namespace ondavia::gui {

// PMenuFilelistPopup: shows PMLock, PMUnlock or neither. focusedName is the
// focused row's name (without ".TXT"), currentFilePath the identity of the
// file opened last (AppState::CurrentFilePath).
void PMenuFilelistPopup(QAction* PMLock, QAction* PMUnlock, const QString& focusedName,
                        const QString& currentFilePath);

struct FileListAccess {
    // Row of a name (cp949, upper case, without ".TXT"); -1 when absent.
    std::function<int(const std::string& name)> FindFileRow;
    // Appends the row of a new file and sorts the list again by name.
    std::function<void(const ListedFile& file)> AddFileRow;
    // Sets the form column of a row.
    std::function<void(int row, int fileMode)> SetFileMode;
    std::function<int()> RowCount;
    // Status bar panel 5, the file count.
    std::function<void(const QString& text)> SetFileCountText;
    // Repainting suspended (false) while the list changes, resumed (true).
    std::function<void(bool enabled)> SetUpdatesEnabled;
};

// PMLock_UnlockClick for the focused file (the one opened last, as the popup
// guarantees): asks first, with No as the default, then writes the copy
// beside it, lists it and tells the outcome. Returns the transform's result
// code, or -1 when the question was answered No.
int PMLock_UnlockClick(QWidget* parent, TransformDirection direction, const ListedFile& focused,
                       const FileListAccess& list);

}  // namespace ondavia::gui
