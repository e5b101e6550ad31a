#include "setupwindow.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

#include "services.hpp"
#include "viewer/setuprules.hpp"

namespace ondavia::gui {

namespace {

constexpr int kCompanyNameLength = 30;

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

QLabel* Note(const QString& text, QWidget* parent, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(16, y, 548, 18);
    label->setTextFormat(Qt::PlainText);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
    return label;
}

}  // namespace

QColor TFrmDtgAnalySetup::FocusTint() { return QColor(209, 214, 254); }

TFrmDtgAnalySetup::TFrmDtgAnalySetup(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle(QStringLiteral("환경 설정"));
    // A single fixed border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(692, 267);
    setModal(true);
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(12);
    setFont(font);
    QFont bold = font;
    bold.setBold(true);

    LblCompanyName = new QLabel(QStringLiteral("회사명"), this);
    LblCompanyName->setFont(bold);
    LblCompanyName->setGeometry(16, 14, 200, 18);
    EdtCompanyName = new QLineEdit(this);
    EdtCompanyName->setGeometry(16, 34, 420, 24);
    EdtCompanyName->setMaxLength(kCompanyNameLength);

    CBoxSelectMap = new QComboBox(this);
    CBoxSelectMap->setGeometry(16, 72, 420, 24);
    CBoxSelectMap->setEditable(false);
    for (const MapChoice& choice : MapChoices())
        CBoxSelectMap->addItem(QString::fromUtf8(choice.caption), choice.selectMap);

    ChkBoxGpsView = new QCheckBox(QStringLiteral("GPS 데이터를 지도에 출력"), this);
    ChkBoxGpsView->setGeometry(16, 110, 420, 22);
    ChkBoxNoCarTrack = new QCheckBox(QStringLiteral("주행 궤적 제외"), this);
    ChkBoxNoCarTrack->setGeometry(16, 136, 420, 22);

    LblNote1 = Note(QStringLiteral(">>  운행기록 자료중 GPS 자료는 다음지도 또는 구글지도를 "
                                   "이용하여 출력할 수 있습니다."),
                    this, 176);
    LblNote2 =
        Note(QStringLiteral("    지도를 사용 하시려면 위의 항목에 체크하시면 됩니다."), this, 198);

    BevelButtons = new QFrame(this);
    BevelButtons->setFrameShape(QFrame::VLine);
    BevelButtons->setFrameShadow(QFrame::Sunken);
    BevelButtons->setGeometry(570, 8, 4, 228);

    BBtnSave = new QPushButton(QStringLiteral("변경(&S)"), this);
    BBtnSave->setFont(bold);
    BBtnSave->setGeometry(584, 12, 96, 36);
    BBtnClose = new QPushButton(QStringLiteral("닫기(&X)"), this);
    BBtnClose->setFont(bold);
    BBtnClose->setGeometry(584, 54, 96, 36);
    // Enter moves between the fields; a button is pressed with the mouse,
    // Space or its accelerator only.
    for (QPushButton* b : {BBtnSave, BBtnClose}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    for (int i = 0; i < 2; ++i) {
        StatusPanels[i] = new QLabel(this);
        StatusPanels[i]->setTextFormat(Qt::PlainText);
        StatusPanels[i]->setFrameShape(QFrame::Panel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        StatusPanels[i]->setGeometry(i == 0 ? 0 : 346, 245, i == 0 ? 344 : 346, 22);
    }

    controls_[0] = EdtCompanyName;
    controls_[1] = CBoxSelectMap;
    controls_[2] = ChkBoxGpsView;
    controls_[3] = ChkBoxNoCarTrack;
    controls_[4] = BBtnSave;
    controls_[5] = BBtnClose;
    for (int i = 0; i + 1 < 6; ++i)
        setTabOrder(controls_[i], controls_[i + 1]);

    connect(BBtnSave, &QPushButton::clicked, this, [this] { BBtnSaveClick(); });
    connect(BBtnClose, &QPushButton::clicked, this, [this] { BBtnCloseClick(); });

    // The key hook sees every key before the control it is meant for, as
    // long as the window exists.
    qApp->installEventFilter(this);
}

TFrmDtgAnalySetup::~TFrmDtgAnalySetup() { qApp->removeEventFilter(this); }

void TFrmDtgAnalySetup::FormShow() {
    const TDtgSetValue& s = state_.ViewerSettings;
    const QString name = QString::fromStdString(s.CompanyName);
    // A longer name from a hand-edited file is shown whole, never cut.
    EdtCompanyName->setMaxLength(std::max(kCompanyNameLength, static_cast<int>(name.size())));
    EdtCompanyName->setText(name);
    CBoxSelectMap->setCurrentIndex(MapChoiceIndex(s.SelectMap));
    ChkBoxGpsView->setChecked(s.GpsView);
    ChkBoxNoCarTrack->setChecked(s.NoCarTrack);
    BBtnClose->setFocus();
}

void TFrmDtgAnalySetup::BBtnSaveClick() {
    TDtgSetValue& s = state_.ViewerSettings;
    s.CompanyName = EdtCompanyName->text().toStdString();
    // No entry selected (a value the list does not know): the value stays.
    if (CBoxSelectMap->currentIndex() >= 0) s.SelectMap = CBoxSelectMap->currentData().toInt();
    s.GpsView = ChkBoxGpsView->isChecked();
    s.NoCarTrack = ChkBoxNoCarTrack->isChecked();

    // Every key is tried even after one fails, so that none is lost that
    // could be kept.
    // The window reports a failure once, for all four keys.
    state_.ReportSettingsErrors = false;
    bool written = state_.WriteString(kSectionCompany, kKeyCompanyName, EdtCompanyName->text());
    written = state_.WriteInteger(kSectionGeneral, kKeySelectMap, s.SelectMap) && written;
    written = state_.WriteBool(kSectionGeneral, kKeyGpsView, s.GpsView) && written;
    written = state_.WriteBool(kSectionGeneral, kKeyNoCarTrack, s.NoCarTrack) && written;
    state_.ReportSettingsErrors = true;
    if (!written) {
        ShowError(this, QStringLiteral("설정 파일에 저장할 수 없습니다.   \n\n%1")
                            .arg(state_.SettingsFilePath));
        return;
    }
    ShowInfo(this, QStringLiteral("변경된 설정 내용을 저장하였습니다.\n\n"
                                  "사용할 지도를 변경한 경우에는 [Ondavia]를 다시 실행 하세요."));
    accept();
}

void TFrmDtgAnalySetup::BBtnCloseClick() { reject(); }

void TFrmDtgAnalySetup::Focus(int index) { controls_[(index + 6) % 6]->setFocus(); }

bool TFrmDtgAnalySetup::KeyHook(QObject* receiver, int key) {
    if (receiver == BBtnClose && (key == Qt::Key_Right || key == Qt::Key_Down)) {
        EdtCompanyName->setFocus();
        return true;
    }
    if (receiver == BBtnSave && (key == Qt::Key_Left || key == Qt::Key_Up)) {
        ChkBoxNoCarTrack->setFocus();
        return true;
    }
    return false;
}

bool TFrmDtgAnalySetup::ComponentKeyDown(QWidget* control, int key) {
    const int index = static_cast<int>(std::find(controls_, controls_ + 6, control) - controls_);
    if (control == CBoxSelectMap) {
        const int current = CBoxSelectMap->currentIndex();
        if (IsEnter(key) || key == Qt::Key_Down) {
            ChkBoxGpsView->setFocus();
        } else if (key == Qt::Key_Up) {
            EdtCompanyName->setFocus();
        } else if (key == Qt::Key_Left && current > 0) {
            CBoxSelectMap->setCurrentIndex(current - 1);
        } else if (key == Qt::Key_Right) {
            // On the last entry the selection stays.
            CBoxSelectMap->setCurrentIndex(std::min(current + 1, CBoxSelectMap->count() - 1));
        } else {
            return false;
        }
        return true;
    }
    if (IsEnter(key) || key == Qt::Key_Down) {
        Focus(index + 1);
        return true;
    }
    if (key == Qt::Key_Up) {
        Focus(index - 1);
        return true;
    }
    return false;
}

void TFrmDtgAnalySetup::ComponentEnter(QWidget* control) {
    QPalette p = control->palette();
    if (control == EdtCompanyName) {
        p.setColor(QPalette::Base, FocusTint());
    } else if (qobject_cast<QCheckBox*>(control)) {
        p.setColor(QPalette::Window, FocusTint());
        control->setAutoFillBackground(true);
    } else {
        return;
    }
    control->setPalette(p);
}

void TFrmDtgAnalySetup::ComponentExit(QWidget* control) {
    QPalette p = control->palette();
    if (control == EdtCompanyName)
        p.setColor(QPalette::Base, palette().color(QPalette::Base));
    else if (qobject_cast<QCheckBox*>(control))
        p.setColor(QPalette::Window, palette().color(QPalette::Button));  // button face
    else
        return;
    control->setPalette(p);
}

bool TFrmDtgAnalySetup::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    const bool ours = control && std::find(controls_, controls_ + 6, control) != controls_ + 6;
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
                break;
            if (KeyHook(watched, key->key())) return true;
            if (ours && ComponentKeyDown(control, key->key())) return true;
            break;
        }
        case QEvent::FocusIn:
            if (ours) ComponentEnter(control);
            break;
        case QEvent::FocusOut:
            if (ours) ComponentExit(control);
            break;
        case QEvent::MouseButtonRelease:
            // A click into the name selects all of it, after the edit has
            // placed its cursor.
            if (watched == EdtCompanyName)
                QMetaObject::invokeMethod(EdtCompanyName, &QLineEdit::selectAll,
                                          Qt::QueuedConnection);
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmDtgAnalySetup::keyPressEvent(QKeyEvent* event) {
    // Escape has no meaning here; only the buttons and the close box close.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmDtgAnalySetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    if (QScreen* screen = this->screen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    FormShow();
}

void SBtnSetupClick(QWidget* parent, AppState& state, const std::function<void()>& showRouteOnMap,
                    const std::function<void(const QString&)>& setStatusPanel0) {
    const TDtgSetValue before = state.ViewerSettings;
    {
        TFrmDtgAnalySetup window(state, parent);
        window.exec();
    }
    if (RouteNeedsRedraw(before, state.ViewerSettings) && showRouteOnMap) showRouteOnMap();
    if (setStatusPanel0) setStatusPanel0(QString::fromStdString(state.ViewerSettings.CompanyName));
}

}  // namespace ondavia::gui
