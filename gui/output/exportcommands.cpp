#include "exportcommands.hpp"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <filesystem>

#include "app/services.hpp"
#include "common/datetime.hpp"
#include "common/text.hpp"
#include "output/nmealog.hpp"
#include "output/xlsxexport.hpp"

namespace ondavia::gui {

namespace {

std::filesystem::path PathOf(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

std::string ExportName(const Recording& rec, const QString& focusedRowName) {
    return focusedRowName.isEmpty() ? ListNameOf(rec.upperName) : focusedRowName.toStdString();
}

ExportProgress ProgressTo(const StatusSetter& setStatus) {
    if (!setStatus) return {};
    return [setStatus](size_t done) {
        setStatus(kExportStatusPanel,
                  QString::fromStdString(FormatThousands(static_cast<std::int64_t>(done))));
    };
}

void ClearStatus(const StatusSetter& setStatus) {
    if (setStatus) setStatus(kExportStatusPanel, QString());
}

}  // namespace

bool OpenWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool ExportGpsLog(QWidget* parent, const Recording& rec, const QString& focusedRowName,
                  const QString& dataFolder, const StatusSetter& setStatus) {
    if (!AskConfirm(parent, QStringLiteral("G.P.S 로그 파일을 생성 하시겠습니까?    ")))
        return false;
    bool written;
    {
        BusyCursor busy;
        const auto path = GpsLogPath(PathOf(dataFolder), ExportName(rec, focusedRowName));
        written = WriteGpsLog(path, rec.rows, CurrentYear(), ProgressTo(setStatus));
        ClearStatus(setStatus);
    }
    if (written)
        ShowInfo(parent, QStringLiteral("작업을 완료 하였습니다!!!  "));
    else
        ShowError(parent, QStringLiteral("작업중 오류가 발생하여 작업을 중지합니다!!!  "));
    return written;
}

QString ExportWorkbook(QWidget* parent, const Recording& rec, const QString& focusedRowName,
                       const QString& dataFolder, const StatusSetter& setStatus,
                       const WorkbookOpener& open, const QString& tempFolder) {
    if (!AskConfirm(parent, QStringLiteral("Excel 파일을 생성 하시겠습니까?    "))) return {};
    const std::string name = ExportName(rec, focusedRowName);
    WorkbookOptions options;
    options.title = name;
    options.progress = ProgressTo(setStatus);
    std::filesystem::path written;
    WorkbookResult result;
    {
        BusyCursor busy;
        result = WriteWorkbookBeside(PathOf(dataFolder),
                                     PathOf(tempFolder.isEmpty() ? QDir::tempPath() : tempFolder),
                                     name, rec.rows, options, written);
        ClearStatus(setStatus);
    }
    if (!result.ok()) {
        ShowPlain(parent, QStringLiteral("데이터 저장 오류 !!! - ") +
                              QString::fromStdString(result.message));
        return {};
    }
    const QString path = QString::fromStdString(written.string());
    if (setStatus) setStatus(kExportStatusPanel, QStringLiteral("Excel 파일 : ") + path);
    // The file stays written even when nothing can show it.
    if (!open || !open(path))
        ShowPlain(parent, QStringLiteral("EXCEL이 설치되어 있지 않습니다 !!!"));
    return path;
}

}  // namespace ondavia::gui
