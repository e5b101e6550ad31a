// The settings window: company name, map page and the two map options,
// saved into the settings file. Opened modally from the main window's
// toolbar and freed when it closes.
#pragma once

#include <QDialog>
#include <functional>

#include "appstate.hpp"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ondavia::gui {

class TFrmDtgAnalySetup : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalySetup(AppState& state, QWidget* parent = nullptr);
    // Removes the key hook.
    ~TFrmDtgAnalySetup() override;

    // Slot bodies, public so that tests can drive them as a person would.
    void FormShow();
    void BBtnSaveClick();
    void BBtnCloseClick();

    // Components, named as the window's form names them; tab order as listed.
    QLabel* LblCompanyName;
    QLineEdit* EdtCompanyName;
    QComboBox* CBoxSelectMap;
    QCheckBox* ChkBoxGpsView;
    QCheckBox* ChkBoxNoCarTrack;
    QPushButton* BBtnSave;
    QPushButton* BBtnClose;
    QLabel *LblNote1, *LblNote2;
    QFrame* BevelButtons;
    QLabel* StatusPanels[2];

    // The focused colour of the fields (red 209, green 214, blue 254).
    static QColor FocusTint();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    bool KeyHook(QObject* receiver, int key);
    bool ComponentKeyDown(QWidget* control, int key);
    void ComponentEnter(QWidget* control);
    void ComponentExit(QWidget* control);
    void Focus(int index);

    AppState& state_;
    QWidget* controls_[6];
};

// SBtnSetupClick: shows the settings window modally; when a map option
// changed, draws the route again; shows the company name in status panel 0.
void SBtnSetupClick(QWidget* parent, AppState& state, const std::function<void()>& showRouteOnMap,
                    const std::function<void(const QString&)>& setStatusPanel0);

}  // namespace ondavia::gui
