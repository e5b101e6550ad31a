#include "recordsearchwindow.hpp"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "app/services.hpp"

namespace ondavia::gui {

namespace {
// The texts carry bare carriage returns as line breaks.
QString ForDisplay(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
}  // namespace

TFrmRecordSearch::TFrmRecordSearch(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("검색"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(false);
    setFixedSize(509, 291);
    PreviewKeys(this, [this](QKeyEvent* key) { return FormKeyDown(key); });
    QFont f(QStringLiteral("굴림체"));
    f.setPixelSize(12);
    setFont(f);

    BtnFind = new QPushButton(QStringLiteral("찾기"), this);
    BtnFind->setGeometry(401, 8, 100, 50);
    BtnFind->setFocusPolicy(Qt::NoFocus);
    QFont bold = f;
    bold.setBold(true);
    BtnFind->setFont(bold);

    group_ = new QGroupBox(this);
    group_->setGeometry(8, 2, 388, 282);
    const char* captions[] = {"가속도 ( X축 : ±1.2G 이상  Y축 : ±0.5G 이상)",
                              "장치 이상 검사",
                              "거리/누적거리 오류",
                              "속도 오류 (오차율 ±2%초과)",
                              "RPM 오류 (오차율 ±2%초과)",
                              "자료(시간) 중복 또는 누락 오류",
                              "속도 차이가 초당 15km/h 이상 차이가 나는 경우",
                              "속도 5km/h 이상일때 GPS 좌표 중복",
                              "속도 5km/h 미만일때 GPS 좌표가 다른 경우",
                              "GPS 위치 정보 오류"};
    QRadioButton** targets[] = {&RBtnAcceleration, &RBtnDeviceWrong,   &RBtnDistanceWrong,
                                &RBtnSPDErr,       &RBtnRPMErr,        &RBtnTimeErr,
                                &RBtnSPD15km,      &RBtn5kmOverGPSDup, &RBtn5kmUnderGPS,
                                &RBtnGPSDataError};
    for (int i = 0; i < 10; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(captions[i]), group_);
        r->move(10, 15 + 25 * i);
        r->adjustSize();
        *targets[i] = r;
        radios_.push_back(r);
        connect(r, &QRadioButton::clicked, this, [this, r] { RBtnRadioBTNClick(r); });
    }
    RBtnAcceleration->setChecked(true);

    CBoxStateWrong = new QComboBox(group_);
    CBoxStateWrong->addItems({QStringLiteral("GPS (11)"), QStringLiteral("속도 (12)"),
                              QStringLiteral("RPM (13)"), QStringLiteral("센서 입력 (21)"),
                              QStringLiteral("GPS 제외"), QStringLiteral("전체")});
    CBoxStateWrong->setCurrentIndex(-1);
    CBoxStateWrong->setGeometry(150, 37, 140, 22);
    CBoxStateWrong->hide();

    MEdt01 = new QLineEdit(QStringLiteral("0"), group_);
    digitsOnly_ = new QRegularExpressionValidator(MEdt01);
    MEdt01->setValidator(digitsOnly_);
    MEdt01->setAlignment(Qt::AlignRight);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(19);
    MEdt01->setFont(arial);
    MEdt01->setGeometry(250, 88, 80, 26);
    MEdt01->hide();

    connect(BtnFind, &QPushButton::clicked, this, [this] { BtnFindClick(); });
}

SearchKind TFrmRecordSearch::SelectedKind() const {
    for (size_t i = 0; i < radios_.size(); ++i)
        if (radios_[i]->isChecked()) return static_cast<SearchKind>(i + 1);
    return SearchKind::Acceleration;
}

void TFrmRecordSearch::RBtnRadioBTNClick(QRadioButton* sender) {
    CBoxStateWrong->setVisible(sender == RBtnDeviceWrong);
    MEdt01->setVisible(sender == RBtnSPDErr || sender == RBtnRPMErr);
    if (sender == RBtnDeviceWrong) {
        if (CBoxStateWrong->currentIndex() < 0) CBoxStateWrong->setCurrentIndex(4);
        CBoxStateWrong->setFocus();
    } else if (sender == RBtnSPDErr || sender == RBtnRPMErr) {
        const bool rpm = sender == RBtnRPMErr;
        // Digits only: up to three for a speed, four for an engine speed.
        digitsOnly_->setRegularExpression(
            QRegularExpression(rpm ? QStringLiteral("\\d{0,4}") : QStringLiteral("\\d{0,3}")));
        MEdt01->setMaxLength(rpm ? 4 : 3);
        MEdt01->setText(rpm ? QStringLiteral("2000") : QStringLiteral("100"));
        MEdt01->move(MEdt01->x(), rpm ? 118 - 5 : 93 - 5);
        MEdt01->setFocus();
    }
}

void TFrmRecordSearch::BtnFindClick() {
    static const GridRows kNoRows;
    const GridRows& rows = Rows ? Rows() : kNoRows;
    SearchOptions options;
    options.stateChoice = CBoxStateWrong->currentIndex();
    options.reference = MEdt01->text().toStdString();
    SearchRun run;
    {
        BusyCursor busy;
        run = RunSearch(rows, SelectedKind(), options);
    }
    bool stepping = true;
    for (const SearchHit& hit : run.hits) {
        if (!stepping) break;  // the count is already complete
        if (!hit.stepped) continue;
        if (FocusRecord) FocusRecord(static_cast<int>(hit.record));
        stepping = AskConfirm(this, ForDisplay(HitQuestion(rows, run, hit)), QMessageBox::Yes);
    }
    const std::string summary = SummaryText(run) + "\r\r\r" + kSearchClosingQuestion;
    if (AskConfirm(this, ForDisplay(summary), QMessageBox::Yes)) hide();
}

bool TFrmRecordSearch::FormKeyDown(QKeyEvent* event) {
    const bool altOnly = event->modifiers() == Qt::AltModifier;
    if ((altOnly && (event->key() == Qt::Key_X || event->key() == Qt::Key_F4)) ||
        (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)) {
        hide();
        return true;
    }
    return false;
}

}  // namespace ondavia::gui
