// The settings window: what it shows, what saving writes, its keys and tints,
// and when the main window draws the route again.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/appstate.hpp"
#include "app/services.hpp"
#include "app/setupwindow.hpp"
#include "common/cp949.hpp"
#include "common/fileio.hpp"

using namespace ondavia;
using namespace ondavia::gui;

namespace {

QByteArray ReadBytes(const QString& path) {
    auto bytes = ReadWholeFile(path.toStdString());
    return bytes ? QByteArray::fromStdString(*bytes) : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QVERIFY(ReplaceFileAtomically(path.toStdString(), bytes.toStdString()));
}

}  // namespace

class SetupWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    AppState state;
    QStringList messages;  // "title|text" of every box shown

    QString Ini() const { return dir.filePath("ONDAVIA.INI"); }

    // A shown, active window, as the main window's button opens it.
    std::unique_ptr<TFrmDtgAnalySetup> Open() {
        auto w = std::make_unique<TFrmDtgAnalySetup>(state);
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("settings window not active");
        return w;
    }

  private slots:
    void init() {
        QFile::remove(Ini());
        LoadSettings(state, dir.path(), Ini());
        messages.clear();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
    }
    void cleanup() { SetMessageHook({}); }

    void layoutAndCaptions() {
        TFrmDtgAnalySetup w(state);
        QCOMPARE(w.windowTitle(), QStringLiteral("환경 설정"));
        QCOMPARE(w.size(), QSize(692, 267));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(w.font().family(), QStringLiteral("굴림체"));
        QCOMPARE(w.font().pixelSize(), 12);
        QCOMPARE(w.LblCompanyName->text(), QStringLiteral("회사명"));
        QVERIFY(w.LblCompanyName->font().bold());
        QCOMPARE(w.EdtCompanyName->maxLength(), 30);
        QVERIFY(!w.CBoxSelectMap->isEditable());
        QCOMPARE(w.ChkBoxGpsView->text(), QStringLiteral("GPS 데이터를 지도에 출력"));
        QCOMPARE(w.ChkBoxNoCarTrack->text(), QStringLiteral("주행 궤적 제외"));
        QCOMPARE(w.BBtnSave->text(), QStringLiteral("변경(&S)"));
        QCOMPARE(w.BBtnClose->text(), QStringLiteral("닫기(&X)"));
        QVERIFY(w.BBtnSave->font().bold() && w.BBtnClose->font().bold());
        QVERIFY(w.BBtnClose->y() > w.BBtnSave->y());
        QCOMPARE(w.LblNote1->text(), QStringLiteral(">>  운행기록 자료중 GPS 자료는 다음지도 또는 "
                                                    "구글지도를 이용하여 출력할 수 있습니다."));
        QCOMPARE(w.LblNote2->text(),
                 QStringLiteral("    지도를 사용 하시려면 위의 항목에 체크하시면 됩니다."));
        for (QLabel* note : {w.LblNote1, w.LblNote2})
            QCOMPARE(note->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(w.StatusPanels[0]->text().isEmpty() && w.StatusPanels[1]->text().isEmpty());

        // The map list: three pages of the recorder's maker, then the keyless map.
        const QStringList captions = {QStringLiteral("구글 지도Ⅰ"), QStringLiteral("구글 지도 Ⅱ"),
                                      QStringLiteral("다음 지도"),
                                      QStringLiteral("오픈스트리트맵 (키 불필요)")};
        const QList<int> values = {0, 1, 2, 5};
        QCOMPARE(w.CBoxSelectMap->count(), captions.size());
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(w.CBoxSelectMap->itemText(i), captions[i]);
            QCOMPARE(w.CBoxSelectMap->itemData(i).toInt(), values[i]);
        }
    }

    void tabOrder() {
        auto w = Open();
        QWidget* order[] = {w->EdtCompanyName,   w->CBoxSelectMap, w->ChkBoxGpsView,
                            w->ChkBoxNoCarTrack, w->BBtnSave,      w->BBtnClose};
        for (int i = 0; i < 6; ++i) {
            order[i]->setFocus();
            QTest::keyClick(order[i], Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[(i + 1) % 6]);
        }
    }

    void showsTheSettings_data() {
        QTest::addColumn<int>("selectMap");
        QTest::addColumn<int>("index");
        QTest::newRow("local Google") << 0 << 0;
        QTest::newRow("remote Google") << 1 << 1;
        QTest::newRow("Kakao") << 2 << 2;
        QTest::newRow("keyless") << 5 << 3;
        QTest::newRow("Naver, not in the list") << 3 << -1;
    }
    void showsTheSettings() {
        QFETCH(int, selectMap);
        QFETCH(int, index);
        state.ViewerSettings.CompanyName = "온다비아 운수";
        state.ViewerSettings.SelectMap = selectMap;
        state.ViewerSettings.GpsView = true;
        state.ViewerSettings.NoCarTrack = false;
        auto w = Open();
        QCOMPARE(w->EdtCompanyName->text(), QStringLiteral("온다비아 운수"));
        QCOMPARE(w->CBoxSelectMap->currentIndex(), index);
        QVERIFY(w->ChkBoxGpsView->isChecked());
        QVERIFY(!w->ChkBoxNoCarTrack->isChecked());
        QCOMPARE(QApplication::focusWidget(), w->BBtnClose);
    }

    void saveWritesTheFourKeysInOrder() {
        WriteBytes(Ini(), "; kept\r\n[PATHNAME]\r\nDataFilePath=/data/\r\n");
        LoadSettings(state, dir.path(), Ini());
        auto w = Open();
        w->EdtCompanyName->setText(QStringLiteral("한빛택시"));
        w->CBoxSelectMap->setCurrentIndex(3);
        w->ChkBoxGpsView->setChecked(true);
        w->ChkBoxNoCarTrack->setChecked(false);
        QTest::mouseClick(w->BBtnSave, Qt::LeftButton);

        QCOMPARE(messages, QStringList{QStringLiteral(
                               "확인!|변경된 설정 내용을 저장하였습니다.\n\n사용할 지도를 "
                               "변경한 경우에는 [Ondavia]를 다시 실행 하세요.")});
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        const QByteArray company = QByteArray::fromStdString(*Utf8ToCp949("한빛택시"));
        QCOMPARE(ReadBytes(Ini()),
                 "; kept\r\n[PATHNAME]\r\nDataFilePath=/data/\r\n[COMPANY]\r\n"
                 "CompanyName=" +
                     company +
                     "\r\n[GENERAL]\r\nSelectMap=5\r\nGpsView=1\r\n"
                     "NoCarTrack=0\r\n");
        const TDtgSetValue& s = state.ViewerSettings;
        QCOMPARE(QString::fromStdString(s.CompanyName), QStringLiteral("한빛택시"));
        QCOMPARE(s.SelectMap, 5);
        QVERIFY(s.GpsView && !s.NoCarTrack);
    }

    void saveWithoutAMapEntryKeepsTheValue() {
        state.ViewerSettings.SelectMap = 3;  // Naver: a value the list does not show
        auto w = Open();
        QCOMPARE(w->CBoxSelectMap->currentIndex(), -1);
        w->BBtnSaveClick();
        QCOMPARE(state.ViewerSettings.SelectMap, 3);
        QVERIFY(ReadBytes(Ini()).contains("SelectMap=3\r\n"));
    }

    void unwritableSettingsFileIsReportedAndTheWindowStays() {
        // A folder that does not exist cannot take the file.
        state.SettingsFilePath = dir.filePath("gone/ONDAVIA.INI");
        auto w = Open();
        w->EdtCompanyName->setText(QStringLiteral("새 회사"));
        w->ChkBoxNoCarTrack->setChecked(true);
        QTest::mouseClick(w->BBtnSave, Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("오류!|")));
        QVERIFY(messages[0].contains(state.SettingsFilePath));
        QVERIFY(w->isVisible());
        // The window's values are in use even though the file kept the old ones.
        QCOMPARE(QString::fromStdString(state.ViewerSettings.CompanyName),
                 QStringLiteral("새 회사"));
        QVERIFY(state.ViewerSettings.NoCarTrack);
        QVERIFY(!QFile::exists(state.SettingsFilePath));
    }

    void keysTheFileCannotHoldAreReportedOthersSaved() {
        auto w = Open();
        w->EdtCompanyName->setText(QStringLiteral("회사 😀"));  // no cp949 form
        w->ChkBoxGpsView->setChecked(true);
        w->BBtnSaveClick();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("오류!|")));
        QVERIFY(w->isVisible());
        const QByteArray ini = ReadBytes(Ini());
        QVERIFY(!ini.contains("CompanyName"));
        QVERIFY(ini.contains("GpsView=1\r\n"));
    }

    void closingSavesNothing() {
        WriteBytes(Ini(), "[COMPANY]\r\nCompanyName=Old\r\n");
        LoadSettings(state, dir.path(), Ini());
        const QByteArray before = ReadBytes(Ini());
        auto w = Open();
        w->EdtCompanyName->setText(QStringLiteral("New"));
        w->ChkBoxGpsView->setChecked(true);
        // Escape means nothing here.
        QTest::keyClick(w->EdtCompanyName, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QTest::mouseClick(w->BBtnClose, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(ReadBytes(Ini()), before);
        QCOMPARE(state.ViewerSettings.CompanyName, std::string("Old"));
        QVERIFY(!state.ViewerSettings.GpsView);
        QVERIFY(messages.isEmpty());
    }

    void enterNeverPressesAButton() {
        auto w = Open();
        w->BBtnSave->setFocus();
        QTest::keyClick(w->BBtnSave, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->BBtnClose);
        QTest::keyClick(w->BBtnClose, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), w->EdtCompanyName);
        QVERIFY(w->isVisible());
        QVERIFY(messages.isEmpty());
        QVERIFY(!QFile::exists(Ini()));
        // The accelerators still press them.
        QTest::keyClick(w.get(), Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!w->isVisible());
    }

    void arrowsRunThroughTheControlsAsARing_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        // 0 name, 1 map list, 2 GPS, 3 no track, 4 save, 5 close
        QTest::newRow("name, down") << 0 << int(Qt::Key_Down) << 1;
        QTest::newRow("name, enter") << 0 << int(Qt::Key_Return) << 1;
        QTest::newRow("name, up wraps") << 0 << int(Qt::Key_Up) << 5;
        QTest::newRow("map, down") << 1 << int(Qt::Key_Down) << 2;
        QTest::newRow("map, enter") << 1 << int(Qt::Key_Enter) << 2;
        QTest::newRow("map, up") << 1 << int(Qt::Key_Up) << 0;
        QTest::newRow("gps, down") << 2 << int(Qt::Key_Down) << 3;
        QTest::newRow("gps, up") << 2 << int(Qt::Key_Up) << 1;
        QTest::newRow("no track, down") << 3 << int(Qt::Key_Down) << 4;
        QTest::newRow("save, up (hook)") << 4 << int(Qt::Key_Up) << 3;
        QTest::newRow("save, left (hook)") << 4 << int(Qt::Key_Left) << 3;
        QTest::newRow("save, down") << 4 << int(Qt::Key_Down) << 5;
        QTest::newRow("close, down (hook)") << 5 << int(Qt::Key_Down) << 0;
        QTest::newRow("close, right (hook)") << 5 << int(Qt::Key_Right) << 0;
        QTest::newRow("close, up") << 5 << int(Qt::Key_Up) << 4;
    }
    void arrowsRunThroughTheControlsAsARing() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        auto w = Open();
        QWidget* controls[] = {w->EdtCompanyName,   w->CBoxSelectMap, w->ChkBoxGpsView,
                               w->ChkBoxNoCarTrack, w->BBtnSave,      w->BBtnClose};
        controls[from]->setFocus();
        QCOMPARE(QApplication::focusWidget(), controls[from]);
        QTest::keyClick(controls[from], Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), controls[to]);
        QVERIFY(w->isVisible());
    }

    void leftAndRightInTheMapList() {
        auto w = Open();
        w->CBoxSelectMap->setFocus();
        w->CBoxSelectMap->setCurrentIndex(1);
        QTest::keyClick(w->CBoxSelectMap, Qt::Key_Right);
        QCOMPARE(w->CBoxSelectMap->currentIndex(), 2);
        QTest::keyClick(w->CBoxSelectMap, Qt::Key_Right);
        QTest::keyClick(w->CBoxSelectMap, Qt::Key_Right);
        QCOMPARE(w->CBoxSelectMap->currentIndex(), 3);  // the last entry stays
        QTest::keyClick(w->CBoxSelectMap, Qt::Key_Left);
        QCOMPARE(w->CBoxSelectMap->currentIndex(), 2);
        w->CBoxSelectMap->setCurrentIndex(0);
        QTest::keyClick(w->CBoxSelectMap, Qt::Key_Left);
        QCOMPARE(w->CBoxSelectMap->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), w->CBoxSelectMap);
        // The hook ends with the window: other windows' keys are their own.
        w.reset();
        QLineEdit other;
        other.setText("abc");
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        other.setCursorPosition(3);
        QTest::keyClick(&other, Qt::Key_Left);
        QCOMPARE(other.cursorPosition(), 2);
    }

    void tintsFollowTheFocus() {
        auto w = Open();
        const QColor tint(209, 214, 254);
        w->ChkBoxGpsView->setFocus();
        QCOMPARE(w->ChkBoxGpsView->palette().color(QPalette::Window), tint);
        QVERIFY(w->ChkBoxGpsView->autoFillBackground());
        w->ChkBoxNoCarTrack->setFocus();
        QCOMPARE(w->ChkBoxNoCarTrack->palette().color(QPalette::Window), tint);
        QCOMPARE(w->ChkBoxGpsView->palette().color(QPalette::Window),
                 w->palette().color(QPalette::Button));
        w->EdtCompanyName->setFocus();
        QCOMPARE(w->EdtCompanyName->palette().color(QPalette::Base), tint);
        QCOMPARE(w->ChkBoxNoCarTrack->palette().color(QPalette::Window),
                 w->palette().color(QPalette::Button));
        w->BBtnClose->setFocus();
        QCOMPARE(w->EdtCompanyName->palette().color(QPalette::Base),
                 w->palette().color(QPalette::Base));
    }

    void nameEditing() {
        state.ViewerSettings.CompanyName = "Ondavia Transport";
        auto w = Open();
        QTest::mouseClick(w->EdtCompanyName, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(w->EdtCompanyName->selectedText(), QStringLiteral("Ondavia Transport"));
        w->EdtCompanyName->clear();
        QTest::keyClicks(w->EdtCompanyName, QString(35, QLatin1Char('a')));
        QCOMPARE(w->EdtCompanyName->text().size(), 30);
    }

    void longerNameFromTheFileIsNotCut() {
        const std::string name(40, 'n');
        state.ViewerSettings.CompanyName = name;
        auto w = Open();
        w->BBtnSaveClick();
        QCOMPARE(state.ViewerSettings.CompanyName, name);
    }

    // SBtnSetupClick: the route is drawn again only for the two map options.
    void redrawRule_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("redraws");
        QTest::addColumn<QString>("status");
        QTest::newRow("name only") << "name" << 0 << "New Name";
        QTest::newRow("gps view") << "gps" << 1 << "Old Name";
        QTest::newRow("no car track") << "track" << 1 << "Old Name";
        QTest::newRow("map page") << "map" << 0 << "Old Name";
        QTest::newRow("both options back and forth") << "twice" << 0 << "Old Name";
        QTest::newRow("closed without saving") << "close" << 0 << "Old Name";
    }
    void redrawRule() {
        QFETCH(QString, action);
        QFETCH(int, redraws);
        QFETCH(QString, status);
        state.ViewerSettings.CompanyName = "Old Name";
        QWidget parent;
        int redrawn = 0;
        QString shown = "<not set>";
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TFrmDtgAnalySetup*>(QApplication::activeModalWidget());
            QVERIFY(w);
            if (action == "name") w->EdtCompanyName->setText("New Name");
            if (action == "gps") w->ChkBoxGpsView->toggle();
            if (action == "track") w->ChkBoxNoCarTrack->toggle();
            if (action == "map") w->CBoxSelectMap->setCurrentIndex(1);
            if (action == "twice") {
                w->ChkBoxGpsView->toggle();
                w->ChkBoxGpsView->toggle();
            }
            if (action == "close") {
                w->ChkBoxGpsView->toggle();
                w->BBtnClose->click();
            } else {
                w->BBtnSave->click();
            }
        });
        SBtnSetupClick(
            &parent, state, [&] { ++redrawn; }, [&](const QString& s) { shown = s; });
        QCOMPARE(redrawn, redraws);
        QCOMPARE(shown, status);
        QVERIFY(!QApplication::activeModalWidget());
        if (action == "map") QCOMPARE(state.ViewerSettings.SelectMap, 1);
    }
};

QTEST_MAIN(SetupWindowTest)
#include "setupwindow_test.moc"
