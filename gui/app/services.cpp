#include "services.hpp"

#include <QApplication>
#include <QCursor>

namespace ondavia::gui {

namespace {
MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

bool Show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
          bool question) {
    if (Hook()) return Hook()(title, text);
    QMessageBox box(icon, title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // Messages carry file names and texts from data files: never markup.
    box.setTextFormat(Qt::PlainText);
    if (question) box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
}  // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void ShowInfo(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Information, QStringLiteral("확인!"), text, false);
}

void ShowError(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Critical, QStringLiteral("오류!"), text, false);
}

void ShowWarning(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Warning, QStringLiteral("경고"), text, false);
}

bool AskConfirm(QWidget* parent, const QString& text) {
    return Show(parent, QMessageBox::Question, QStringLiteral("확인!"), text, true);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace ondavia::gui
