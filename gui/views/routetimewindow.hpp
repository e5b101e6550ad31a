// The route time window: the user narrows the route on the map to a stretch
// of the day, in hours and minutes. Made for one use and freed afterwards.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTimeEdit;

namespace ondavia::gui {

class TFrmEnterRouteTime : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmEnterRouteTime(QWidget* parent = nullptr);

    // The file's first and last time ("hh:nn:ss") before the window is
    // shown; the chosen stretch after OK.
    QString StartTime;
    QString EndTime;

    // Puts the given times into the edits (done when the window is shown).
    void FormShow();
    // Checks the edits; closes with OK or tells what is wrong and stays open.
    void BtnOkClick();

    QLabel* LblGuide;
    QTimeEdit* TEdtStartTime;
    QTimeEdit* TEdtEndTime;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the window modally with the two times; on OK (result 1) they hold
// the chosen stretch, otherwise they are left as they were.
int EnterRouteTime(QWidget* parent, QString& StartTime, QString& EndTime);

}  // namespace ondavia::gui
