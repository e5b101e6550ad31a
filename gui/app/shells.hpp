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

class TFrmDtgAnalyP_A : public ShellWindow {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_A(QWidget* parent) : ShellWindow(QStringLiteral("챠트 출력"), parent) {}
};

class TFrmDtgAnalyP_A1 : public ShellWindow {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_A1(QWidget* parent) : ShellWindow(QStringLiteral("챠트 출력"), parent) {}
};

class TFrmDtgAnalyP_B : public ShellWindow {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_B(QWidget* parent) : ShellWindow(QStringLiteral("화면 출력"), parent) {}
};

class TFrmDtgAnalyP_B1 : public ShellWindow {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_B1(QWidget* parent) : ShellWindow(QStringLiteral("화면 출력"), parent) {}
};

}  // namespace ondavia::gui
