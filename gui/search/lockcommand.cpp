#include "lockcommand.hpp"

#include <QAction>

#include "app/services.hpp"
#include "common/cp949.hpp"
#include "common/text.hpp"

namespace ondavia::gui {

namespace {

std::string Cp949Of(const QString& text) {
    return Utf8ToCp949(text.toStdString()).value_or(std::string());
}

// A listed name that turns into the counterpart's row.
void ListTarget(const TransformResult& result, const FileListAccess& list) {
    const std::string stem = TextBefore(UpperCp949(result.targetName), '.');
    const int row = list.FindFileRow ? list.FindFileRow(stem) : -1;
    if (row >= 0) {
        if (list.SetFileMode) list.SetFileMode(row, 0);
        return;
    }
    ListedFile file;
    file.path = result.targetPath;
    file.name = stem;
    file.displayName = Cp949ToUtf8(stem);
    file.fileMode = FileLayout::Packed;  // copies are always packed
    if (list.AddFileRow) list.AddFileRow(file);
    if (list.SetFileCountText && list.RowCount)
        list.SetFileCountText(QStringLiteral("파일 갯수 :  %1").arg(list.RowCount()));
}

}  // namespace

void PMenuFilelistPopup(QAction* PMLock, QAction* PMUnlock, const QString& focusedName,
                        const QString& currentFilePath) {
    const QString opened = currentFilePath.mid(currentFilePath.lastIndexOf(QLatin1Char('/')) + 1);
    const LockMenu menu = LockMenuFor(Cp949Of(focusedName), Cp949Of(opened));
    PMLock->setVisible(menu.lock);
    PMUnlock->setVisible(menu.unlock);
}

int PMLock_UnlockClick(QWidget* parent, TransformDirection direction, const ListedFile& focused,
                       const FileListAccess& list) {
    const bool lock = direction == TransformDirection::Lock;
    const QString name = QString::fromStdString(focused.displayName) + QStringLiteral(".TXT");
    const QString question =
        lock ? QStringLiteral("[ %1 ] 파일의 암호화를 진행 하겠습니까?   ")
             : QStringLiteral("[ %1 ] 파일의 암호화 해제를 진행 하겠습니까?   ");
    if (!AskConfirm(parent, question.arg(name))) return -1;

    TransformResult result;
    {
        BusyCursor busy;
        if (list.SetUpdatesEnabled) list.SetUpdatesEnabled(false);
        result = TransformDataFile(direction, focused.path, focused.fileMode);
        if (result.code == kTransformDone) ListTarget(result, list);
        if (list.SetUpdatesEnabled) list.SetUpdatesEnabled(true);
    }

    if (!TransformSucceeded(result.code))
        ShowError(parent, lock ? QStringLiteral("암호화 진행중 오류가 발생 하였습니다.   \n\n"
                                                "확인후 다시 진행 하십시요.")
                               : QStringLiteral("암호화 해제중 오류가 발생 하였습니다.   \n\n"
                                                "확인후 다시 진행 하십시요."));
    else
        ShowInfo(parent, lock ? QStringLiteral("암호화 진행을 완료 하였습니다.   ")
                              : QStringLiteral("암호화 해제를 완료 하였습니다.   "));
    return result.code;
}

}  // namespace ondavia::gui
