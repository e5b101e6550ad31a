// The search window steps through hits in the main grid, asking at each.
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QValidator>
#include <QtTest>

#include "support/findchild.hpp"

#include "app/application.hpp"
#include "app/appstate.hpp"
#include "app/services.hpp"
#include "search/recordsearchwindow.hpp"
#include "support/builders.hpp"
#include "viewer/mainwindow.hpp"

using namespace ondavia;
using namespace ondavia::gui;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

namespace {

// Speeds 10, 30, 30, 50, 50, 70: jumps at records 1, 3 and 5.
std::string JumpyFile() {
    std::string out = MakeHeader() + "\r\n";
    const int speeds[] = {10, 30, 30, 50, 50, 70};
    for (int i = 0; i < 6; ++i) {
        RecordFields f;
        f.time = test::ClockText(36000 + i);
        char buf[8];
        std::snprintf(buf, sizeof buf, "%03d", speeds[i]);
        f.speed = buf;
        f.state = i == 2 ? "11" : i == 4 ? "12" : "00";
        out += MakeRecord(f) + "\r\n";
    }
    return out;
}

}  // namespace

class RecordSearchTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    AppState state;
    std::unique_ptr<TFrmOndavia> main;
    std::unique_ptr<TFrmRecordSearch> search;
    QStringList asked;    // every question, with the record the grid showed then
    QList<bool> answers;  // scripted answers, Yes = true; No once they run out

  private slots:
    void init() {
        QDir(dir.path()).mkpath("data");
        QFile f(dir.filePath("data/20261210-12345678-01.TXT"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        std::string bytes = JumpyFile();
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        LoadSettings(state, dir.path(), dir.filePath("ONDAVIA.INI"));
        state.ViewerSettings.DataFilePath = (dir.path() + "/data/").toStdString();
        main = std::make_unique<TFrmOndavia>(state);
        main->show();
        main->LayoutMainWindow(QRect(0, 0, 1366, 738));
        search = std::make_unique<TFrmRecordSearch>(nullptr);
        search->Rows = [this]() -> const GridRows& { return main->recording().rows; };
        search->FocusRecord = [this](int r) { main->FocusRecord(r); };
        main->SearchWindow = search.get();
        asked.clear();
        answers.clear();
        SetMessageHook([this](const QString&, const QString& text) {
            asked << QStringLiteral("%1|%2")
                         .arg(ondavia::test::Child<QTableView>(*main, "GridTextView")
                                  ->currentIndex()
                                  .row())
                         .arg(text);
            return answers.isEmpty() ? false : answers.takeFirst();
        });
    }
    void cleanup() {
        SetMessageHook({});
        search.reset();
        main.reset();
    }

    void searchButtonFollowsTheFileList() {
        QVERIFY(ondavia::test::Child<QToolButton>(*main, "SBtnSearch")->isEnabled());
        ondavia::test::Child<QToolButton>(*main, "SBtnSearch")->click();
        QVERIFY(search->isVisible());
    }

    void yesAtEveryHitVisitsThemInOrder() {
        search->RBtnSPD15km->click();
        answers = {true, true, true, true};  // three hits, then Yes to close
        search->show();
        search->BtnFindClick();
        QCOMPARE(asked.size(), 4);
        QVERIFY(asked[0].startsWith(
            "1|10:00:00  /  속도 :  10 km/h   \n\n10:00:01  /  속도 :  30 km/h"));
        QVERIFY(asked[1].startsWith("3|"));
        QVERIFY(asked[2].startsWith("5|"));
        QCOMPARE(asked[3], QStringLiteral("5|속도 이상 :  3회\n\n\n원하는 자료를 검색하였습니다.  "
                                          "작업을 종료하겠습니까?     "));
        QVERIFY(!search->isVisible());
        QCOMPARE(main->StatusText(4), QStringLiteral("현재 레코드 : 6"));
    }

    void noAtTheFirstHitStillCountsEverything() {
        search->RBtnSPD15km->click();
        answers = {false, false};
        search->show();
        search->BtnFindClick();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[0].startsWith("1|"));
        QVERIFY(asked[1].startsWith("1|속도 이상 :  3회"));
        QVERIFY(search->isVisible());  // No to the summary keeps the window
        // A second run starts again from the first record.
        asked.clear();
        answers = {false, false};
        search->BtnFindClick();
        QVERIFY(asked[0].startsWith("1|"));
    }

    void choicesThatAreNeverSteppedOnlySummarise_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("summary");
        QTest::newRow("GPS (11)") << 0
                                  << QStringLiteral(
                                         "G.P.S 장치 이상 횟수 / 전체 횟수  : 1회 / 6회");
        QTest::newRow("전체") << 5 << QStringLiteral("장치 이상 횟수 / 전체 횟수  : 2회 / 6회");
    }
    void choicesThatAreNeverSteppedOnlySummarise() {
        QFETCH(int, choice);
        QFETCH(QString, summary);
        search->RBtnDeviceWrong->click();
        QVERIFY(search->CBoxStateWrong->isVisible() || !search->isVisible());
        search->CBoxStateWrong->setCurrentIndex(choice);
        search->BtnFindClick();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].section('|', 1).startsWith(summary), qPrintable(asked[0]));
    }

    // Enter at a hit goes on to the next one, and at the summary closes the
    // window: both questions default to Yes. Their texts are plain text.
    void questionsDefaultToYesAsPlainText() {
        search->RBtnSPD15km->click();
        QList<QMessageBox::StandardButton> defaults;
        QList<Qt::TextFormat> formats;
        SetMessageBoxHook([&](QMessageBox& box) {
            defaults << box.standardButton(box.defaultButton());
            formats << box.textFormat();
            return box.standardButton(box.defaultButton());  // Enter
        });
        search->show();
        search->BtnFindClick();
        SetMessageBoxHook({});
        QCOMPARE(defaults.size(), 4);  // three hits and the summary
        for (QMessageBox::StandardButton b : defaults)
            QCOMPARE(b, QMessageBox::Yes);
        for (Qt::TextFormat f : formats)
            QCOMPARE(f, Qt::PlainText);
        QVERIFY(!search->isVisible());
    }

    // The window sees its keys before its editors: Alt+X, Alt+F4 and Esc
    // close it wherever the focus is; the editor keeps one validator.
    void closingKeysReachTheWindowFromItsEditors_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        for (const char* focus : {"speed", "rpm", "state"}) {
            QTest::addRow("Alt+X in %s", focus) << int(Qt::Key_X) << int(Qt::AltModifier) << focus;
            QTest::addRow("Alt+F4 in %s", focus)
                << int(Qt::Key_F4) << int(Qt::AltModifier) << focus;
            QTest::addRow("Esc in %s", focus)
                << int(Qt::Key_Escape) << int(Qt::NoModifier) << focus;
        }
    }
    void closingKeysReachTheWindowFromItsEditors() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, focus);
        search->show();
        QVERIFY(QTest::qWaitForWindowActive(search.get()));
        QRadioButton* radio = focus == "speed" ? search->RBtnSPDErr
                              : focus == "rpm" ? search->RBtnRPMErr
                                               : search->RBtnDeviceWrong;
        for (int i = 0; i < 5; ++i)
            radio->click();
        QWidget* editor = focus == "state" ? static_cast<QWidget*>(search->CBoxStateWrong)
                                           : static_cast<QWidget*>(search->MEdt01);
        QCOMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(search->MEdt01->findChildren<QValidator*>().size(), 1);
        QTest::keyClick(editor, static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QVERIFY(!search->isVisible());
    }

    void otherAltKeysDoNotClose() {
        search->show();
        QVERIFY(QTest::qWaitForWindowActive(search.get()));
        search->RBtnSPDErr->click();
        QTest::keyClick(search->MEdt01, Qt::Key_S, Qt::AltModifier);
        QVERIFY(search->isVisible());
    }

    void radioButtonsShowTheirEditors() {
        search->show();
        search->RBtnDeviceWrong->click();
        QVERIFY(search->CBoxStateWrong->isVisible());
        QVERIFY(!search->MEdt01->isVisible());
        QCOMPARE(search->CBoxStateWrong->currentIndex(), 4);  // "GPS 제외" when nothing was chosen
        search->RBtnSPDErr->click();
        QVERIFY(!search->CBoxStateWrong->isVisible());
        QVERIFY(search->MEdt01->isVisible());
        QCOMPARE(search->MEdt01->text(), QStringLiteral("100"));
        search->MEdt01->setText("50");
        search->RBtnRPMErr->click();
        QCOMPARE(search->MEdt01->text(), QStringLiteral("2000"));
        search->RBtnSPDErr->click();
        QCOMPARE(search->MEdt01->text(), QStringLiteral("100"));  // every click resets it
        QTest::keyClicks(search->MEdt01, "x7");
        QVERIFY(!search->MEdt01->text().contains('x'));
        search->RBtnTimeErr->click();
        QVERIFY(!search->MEdt01->isVisible());
        QTest::keyClick(search.get(), Qt::Key_Escape);
        QVERIFY(!search->isVisible());
    }
};

QTEST_MAIN(RecordSearchTest)
#include "recordsearch_test.moc"
