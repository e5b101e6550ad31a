// The record grid's export commands as the main window runs them: the GPS
// log (PmGpsClick) and the spreadsheet workbook (PmExcelClick, SBtnExcel).
// Each asks first, shows progress in the status bar with the busy cursor,
// and reports with the program's message boxes.
#pragma once

#include <QString>
#include <functional>

#include "data/recording.hpp"

class QWidget;

namespace ondavia::gui {

// Sets one status-bar panel's text and repaints the status bar.
using StatusSetter = std::function<void(int panel, const QString& text)>;
// Opens a written workbook with the desktop's spreadsheet program; false
// when no program can open it.
using WorkbookOpener = std::function<bool(const QString& path)>;

// The panel the exports show their progress in.
inline constexpr int kExportStatusPanel = 2;

bool OpenWithDesktop(const QString& path);

// Writes focusedRowName + ".LOG" into dataFolder (the recording's own name
// when no row is focused). True when the log was written.
bool ExportGpsLog(QWidget* parent, const Recording& rec, const QString& focusedRowName,
                  const QString& dataFolder, const StatusSetter& setStatus);

// Writes NAME.xlsx into dataFolder, or into tempFolder (the user's temporary
// folder when empty) when dataFolder cannot be written, then opens it. The
// status panel says where it went. Returns the workbook's path, empty when
// nothing was written.
QString ExportWorkbook(QWidget* parent, const Recording& rec, const QString& focusedRowName,
                       const QString& dataFolder, const StatusSetter& setStatus,
                       const WorkbookOpener& open = OpenWithDesktop,
                       const QString& tempFolder = {});

}  // namespace ondavia::gui
