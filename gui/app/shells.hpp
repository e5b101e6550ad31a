// The windows created at start-up besides the main window. Each keeps its
// caption and place in the start-up order; their contents arrive with their
// own commands.
#pragma once

#include <QDialog>

namespace ondavia::gui {

class ShellWindow : public QDialog {
    Q_OBJECT
  public:
    ShellWindow(const QString& caption, QWidget* parent) : QDialog(parent) {
        setWindowTitle(caption);
        setModal(true);
        resize(640, 420);
    }
};

class TFrmDTG_Detail : public ShellWindow {
    Q_OBJECT
  public:
    explicit TFrmDTG_Detail(QWidget* parent) : ShellWindow(QStringLiteral("정밀 분석"), parent) {}
};

}  // namespace ondavia::gui
