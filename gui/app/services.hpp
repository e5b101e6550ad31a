// Window-side services every window shares: message boxes and the busy cursor.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

namespace ondavia::gui {

// Modal boxes with the program's titles: "확인!" for information and
// questions, "오류!" for errors.
void ShowInfo(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
// Yes/No with the given default button (the one Enter presses); true only
// for Yes.
bool AskConfirm(QWidget* parent, const QString& text,
                QMessageBox::StandardButton defaultButton = QMessageBox::No);
// "경고" with the warning icon.
void ShowWarning(QWidget* parent, const QString& text);
// A plain box: the program's title, no icon, OK.
void ShowPlain(QWidget* parent, const QString& text);

// Tests answer the boxes instead of a person: while set, the hook receives
// the title and text and its result stands for the button (Yes = true).
using MessageHook = std::function<bool(const QString& title, const QString& text)>;
void SetMessageHook(MessageHook hook);
// The same with the box itself, as it would be shown (buttons, default
// button, text format); the hook returns the button that stands pressed.
// It takes precedence over a MessageHook.
using MessageBoxHook = std::function<QMessageBox::StandardButton(QMessageBox& box)>;
void SetMessageBoxHook(MessageBoxHook hook);

// The window sees its keys before its controls do: `preview` gets every key
// press made while the focus is inside `window`; true consumes the key.
void PreviewKeys(QWidget* window, std::function<bool(QKeyEvent* key)> preview);

// The hourglass for the life of the object, restored whatever happens.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace ondavia::gui
