// The record search window: ten checks over the open file's grid rows,
// stepping from hit to hit in the main grid with a question at each.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "data/record.hpp"
#include "search/recordsearch.hpp"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRegularExpressionValidator;
class QPushButton;
class QRadioButton;

namespace ondavia::gui {

class TFrmRecordSearch : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmRecordSearch(QWidget* parent);

    // The rows of the open file (may be empty) and how the main grid moves
    // its focus to a record.
    std::function<const GridRows&()> Rows;
    std::function<void(int record)> FocusRecord;

    void BtnFindClick();
    void RBtnRadioBTNClick(QRadioButton* sender);
    SearchKind SelectedKind() const;

    QPushButton* BtnFind;
    QRadioButton *RBtnAcceleration, *RBtnDeviceWrong, *RBtnDistanceWrong, *RBtnSPDErr, *RBtnRPMErr,
        *RBtnTimeErr, *RBtnSPD15km, *RBtn5kmOverGPSDup, *RBtn5kmUnderGPS, *RBtnGPSDataError;
    QComboBox* CBoxStateWrong;
    QLineEdit* MEdt01;

    // The window's keys, seen before its controls: Esc, Alt+X and Alt+F4 close.
    bool FormKeyDown(QKeyEvent* event);

  private:
    QGroupBox* group_;
    QRegularExpressionValidator* digitsOnly_;
    std::vector<QRadioButton*> radios_;
};

}  // namespace ondavia::gui
