#include "services.hpp"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

namespace ondavia::gui {

namespace {
MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

MessageBoxHook& BoxHook() {
    static MessageBoxHook hook;
    return hook;
}

bool Show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
          bool question, QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
    QMessageBox box(icon, title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // Texts carry names and values from data files: never markup.
    box.setTextFormat(Qt::PlainText);
    if (question) box.setDefaultButton(defaultButton);
    if (BoxHook()) return BoxHook()(box) == QMessageBox::Yes;
    if (Hook()) return Hook()(title, text);
    return box.exec() == QMessageBox::Yes;
}

// An application-wide filter sees a key before the control that has the
// focus; it passes on only keys aimed inside its window.
class KeyPreview : public QObject {
  public:
    KeyPreview(QWidget* window, std::function<bool(QKeyEvent*)> preview)
        : QObject(window), window_(window), preview_(std::move(preview)) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* target = static_cast<QWidget*>(watched);
        if (target != window_ && !window_->isAncestorOf(target)) return false;
        // A key reaches the focus widget and then its parents: look at it once.
        if (target != QApplication::focusWidget() && target != window_) return false;
        return preview_(static_cast<QKeyEvent*>(event));
    }

  private:
    QWidget* window_;
    std::function<bool(QKeyEvent*)> preview_;
};
}  // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void SetMessageBoxHook(MessageBoxHook hook) { BoxHook() = std::move(hook); }

void PreviewKeys(QWidget* window, std::function<bool(QKeyEvent*)> preview) {
    new KeyPreview(window, std::move(preview));
}

void ShowInfo(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Information, QStringLiteral("확인!"), text, false);
}

void ShowError(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Critical, QStringLiteral("오류!"), text, false);
}

void ShowWarning(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Warning, QStringLiteral("경고"), text, false);
}

void ShowPlain(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, false);
}

bool AskConfirm(QWidget* parent, const QString& text, QMessageBox::StandardButton defaultButton) {
    return Show(parent, QMessageBox::Question, QStringLiteral("확인!"), text, true, defaultButton);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace ondavia::gui
