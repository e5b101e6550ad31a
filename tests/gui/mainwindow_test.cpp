// The main window driven as a person would: layout, file list, loading,
// zoom and scroll, the pointer hint, the chart popup and the RPM switch.
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "support/findchild.hpp"

#include "app/application.hpp"
#include "app/appstate.hpp"
#include "app/services.hpp"
#include "app/singleinstance.hpp"
#include "data/filename.hpp"
#include "support/builders.hpp"
#include "viewer/mainwindow.hpp"
#include "views/chartview.hpp"

#include <qcustomplot.h>

using namespace ondavia;
using namespace ondavia::gui;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

namespace {

// A 1-second file of `seconds` + 1 records from 06:00:00, or a 0.01-second
// file of `seconds` in hundredths.
std::string OneSecondFile(int seconds, int speedAt = -1) {
    std::string out = MakeHeader() + "\r\n";
    for (int i = 0; i <= seconds; ++i) {
        RecordFields f;
        f.time = test::ClockText(6 * 3600 + i);
        f.speed = i == speedAt ? "123" : "045";
        f.km = QStringLiteral("%1").arg(i % 10000, 4, 10, QLatin1Char('0')).toStdString();
        out += MakeRecord(f) + "\r\n";
    }
    return out;
}

std::string HundredthsFile(int centis) {
    std::string out = MakeHeader() + "\r\n";
    for (int i = 0; i <= centis; ++i) {
        RecordFields f;
        f.time = test::ClockText(6 * 3600 + i / 100);
        f.hundredths = QStringLiteral("%1").arg(i % 100, 2, 10, QLatin1Char('0')).toStdString();
        out += MakeRecord(f) + "\r\n";
    }
    return out;
}

struct Fixture {
    QTemporaryDir dir;
    AppState state;
    std::unique_ptr<TFrmOndavia> window;

    Fixture() {
        LoadSettings(state, dir.path(), dir.filePath("ONDAVIA.INI"));
        state.ViewerSettings.DataFilePath = (dir.path() + "/data/").toStdString();
        QDir(dir.path()).mkpath("data");
    }
    void Write(const QString& name, const std::string& bytes) {
        QFile f(dir.filePath("data/" + name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    TFrmOndavia& Open(QRect area = QRect(0, 0, 1366, 738)) {
        window = std::make_unique<TFrmOndavia>(state);
        window->show();
        window->LayoutMainWindow(area);
        return *window;
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
    }
    void init() { messages.clear(); }

    void layoutFollowsTheWorkArea_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("share");
        QTest::addColumn<bool>("timeLabels");
        QTest::newRow("1366x738") << QRect(0, 0, 1366, 738) << QSize(1366, 737) << 0.67 << true;
        QTest::newRow("1366x728") << QRect(0, 0, 1366, 728) << QSize(1366, 727) << 0.705 << true;
        QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040) << QSize(1920, 1039) << 0.6 << true;
        QTest::newRow("640x480") << QRect(0, 0, 640, 480) << QSize(800, 565) << 0.705 << false;
        QTest::newRow("1000 wide") << QRect(0, 0, 1000, 740) << QSize(1000, 739) << 0.67 << false;
    }
    void layoutFollowsTheWorkArea() {
        QFETCH(QRect, area);
        QFETCH(QSize, size);
        QFETCH(double, share);
        QFETCH(bool, timeLabels);
        Fixture fx;
        TFrmOndavia& w = fx.Open(area);
        QCOMPARE(w.frameGeometry().size(), size);  // the whole window, frame included
        QCOMPARE(w.ChartShare(), share);
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblStartDateTime")->isVisible(), timeLabels);
        QCOMPARE(ondavia::test::Child<QFrame>(w, "BevelTime")->isVisible(), timeLabels);
        // The chart takes its share of the body; the map and file list the rest.
        const int body = ondavia::test::Child<QWidget>(w, "PanelChart")->height() +
                         ondavia::test::Child<QWidget>(w, "PanelMap")->height();
        QVERIFY(qAbs(ondavia::test::Child<QWidget>(w, "PanelChart")->height() -
                     qRound(body * share)) <= 1);
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelMap")->y(),
                 ondavia::test::Child<QWidget>(w, "PanelChart")->y() +
                     ondavia::test::Child<QWidget>(w, "PanelChart")->height());
        QCOMPARE(w.StatusText(5), QStringLiteral("파일 갯수 :  0"));
    }

    void fileListFiltersAndOrder() {
        Fixture fx;
        fx.Write("20261211-12345678-02.txt", OneSecondFile(3));
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(3));
        fx.Write("20261210-12345678-01.TXT", test::PackedFile(MakeHeader(), {MakeRecord()}));
        fx.Write("20261210-12345678-09.TXT", "junk");
        TFrmOndavia& w = fx.Open();
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->rowCount(), 3);
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->item(0, 0)->text(),
                 QStringLiteral("20261210-12345678-01"));
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->item(1, 0)->text(),
                 QStringLiteral("20261210-12345678-S-01-ABCDEFG"));
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->item(2, 0)->text(),
                 QStringLiteral("20261211-12345678-02"));
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->item(2, 1)->text(),
                 QStringLiteral("2"));
        QCOMPARE(w.StatusText(5), QStringLiteral("파일 갯수 :  3"));
        QCOMPARE(w.FindFileRow("20261211-12345678-02"), 2);
        QCOMPARE(w.FindFileRow("20261211-12345678-03"), -1);
        // The first file is opened.
        QCOMPARE(fx.state.LoadedFilePath.endsWith("20261210-12345678-01.TXT"), true);

        // One work date, saved at once.
        ondavia::test::Child<QRadioButton>(w, "RBtnToday")->setChecked(true);
        w.RadioButtonClick();
        QVERIFY(ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")->isEnabled());
        ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")->setDate(QDate(2026, 12, 11));
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->rowCount(), 1);
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->item(0, 0)->text(),
                 QStringLiteral("20261211-12345678-02"));
        AppState reread;
        LoadSettings(reread, fx.dir.path(), fx.state.SettingsFilePath);
        QCOMPARE(reread.ViewerSettings.AllWorkDate, false);

        // A date without files empties every view.
        ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")->setDate(QDate(2026, 12, 12));
        QCOMPARE(ondavia::test::Child<QTableWidget>(w, "GridFileListView")->rowCount(), 0);
        QCOMPARE(w.StatusText(5), QStringLiteral("파일 갯수 :  0"));
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount(), 0);
        QVERIFY(fx.state.LoadedFilePath.isEmpty());
    }

    void dateDropDownGoesBackToToday() {
        Fixture fx;
        TFrmOndavia& w = fx.Open();
        ondavia::test::Child<QRadioButton>(w, "RBtnToday")->setChecked(true);
        w.RadioButtonClick();
        ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")->setDate(QDate(2026, 1, 1));
        QPushButton* today = nullptr;
        for (auto* b : ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")
                           ->calendarWidget()
                           ->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("오늘")) today = b;
        QVERIFY(today);
        today->click();
        QCOMPARE(ondavia::test::Child<QDateEdit>(w, "DEdtFileDate")->date(), QDate::currentDate());
    }

    void loadingFillsLabelsGridAndStatus() {
        Fixture fx;
        RecordFields a, b;
        a.extended = b.extended = true;
        a.fuel = "00000A";
        b.fuel = "000014";
        b.time = "100004";
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT",
                 test::TextFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}));
        TFrmOndavia& w = fx.Open();
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblModelName")->text(),
                 QStringLiteral("ON-T100"));
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblCarKind")->text(),
                 QStringLiteral("21 - 일반택시"));
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblBusinessNo")->text(),
                 QStringLiteral("123-45-67890"));
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblStartDateTime")->text(),
                 QStringLiteral("26-12-10 10:00:00"));
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblEndDateTime")->text(),
                 QStringLiteral("26-12-10 10:00:04"));
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount(), 2);
        QCOMPARE(w.recording().table.Count(), 5);
        QCOMPARE(w.StatusText(1), QStringLiteral("1초 데이터"));
        QCOMPARE(w.StatusText(2), QStringLiteral("연료소모량 : 30  "));
        QCOMPARE(w.StatusText(3), QStringLiteral("레코드 갯수 : 2"));
        QCOMPARE(w.StatusText(4), QStringLiteral("현재 레코드 : 1"));
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")
                     ->model()
                     ->index(0, 7)
                     .data()
                     .toString(),
                 QStringLiteral("126.978012 "));
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")
                     ->model()
                     ->index(0, 12)
                     .data()
                     .toString(),
                 QStringLiteral("00"));
        // Narrow grid: time, speed, RPM and brake only.
        QVERIFY(!ondavia::test::Child<QTableView>(w, "GridTextView")->isColumnHidden(1));
        QVERIFY(ondavia::test::Child<QTableView>(w, "GridTextView")->isColumnHidden(0));
        QVERIFY(ondavia::test::Child<QTableView>(w, "GridTextView")->isColumnHidden(5));
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelTextData")->width(), 246 + 8);
        // Wide grid of an extended file: everything but the time column.
        w.PmGridWideClick();
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelTextData")->width(), 1032 + 8);
        for (int c = 0; c < 18; ++c)
            QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->isColumnHidden(c),
                     c == 1);
        QCOMPARE(ondavia::test::Child<QAction>(w, "PmGridWide")->text(),
                 QStringLiteral("텍스트 Grid 축소"));
        w.PmGridWideClick();
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelTextData")->width(), 246 + 8);
        QCOMPARE(ondavia::test::Child<QAction>(w, "PmGridWide")->text(),
                 QStringLiteral("텍스트 Grid 확대"));
        QVERIFY(messages.isEmpty());
    }

    // A first or last record whose stamp cannot be read does not stretch
    // the chart's span back to the calendar's day zero: the span runs over
    // the times that were plotted.
    void unreadableEndStampsKeepTheSpanOnPlottedTimes() {
        Fixture fx;
        std::vector<std::string> records;
        for (int i = 0; i < 5; ++i) {
            RecordFields f;
            f.time = test::ClockText(6 * 3600 + i);
            if (i == 0 || i == 4) f.date = "261310";  // month 13
            records.push_back(MakeRecord(f));
        }
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", test::TextFile(MakeHeader(), records));
        TFrmOndavia& w = fx.Open();
        QCOMPARE(w.recording().rows.size(), size_t{5});
        const DateTime first = *EncodeDate(2026, 12, 10) + (6 * 3600 + 1) / 86400.0;
        QVERIFY(std::fabs(fx.state.ChartStartTime - first) < 1e-9);
        QVERIFY(std::fabs(fx.state.ChartEndTime - (first + 2 / 86400.0)) < 1e-9);
        auto* chart = ondavia::test::Child<ChartView>(w, "ChartGraph");
        QVERIFY(chart->SpanMin() >= fx.state.ChartStartTime);
    }

    // Texts from a data file are shown as they stand: never read as markup.
    void fileTextsShowAsPlainText() {
        Fixture fx;
        test::HeaderFields h;
        h.carNo = "<b>12</b>3";
        RecordFields f;
        f.time = "100000";
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT",
                 test::TextFile(test::MakeHeader(h), {test::MakeRecord(f)}));
        TFrmOndavia& w = fx.Open();
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblCarNo")->text(), QStringLiteral("<b>12</b>3"));
        int checked = 0;
        for (QLabel* label : w.findChildren<QLabel*>()) {
            if (!label->text().contains(QLatin1Char('<'))) continue;
            ++checked;
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
        }
        QVERIFY(checked > 0);
    }

    void failedLoadClearsTheViewsAndReports() {
        Fixture fx;
        RecordFields bad;
        bad.rpm = "12x4";
        fx.Write("20261210-12345678-01.TXT", OneSecondFile(3));
        fx.Write("20261210-12345678-02.TXT",
                 test::PackedFile(MakeHeader(), {MakeRecord(), MakeRecord(bad)}));
        TFrmOndavia& w = fx.Open();
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount(), 4);
        ondavia::test::Child<QTableWidget>(w, "GridFileListView")->setCurrentCell(1, 0);
        w.GridFileListViewDblClick();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0], QStringLiteral("오류!|자료가 없거나 자료를 읽어 오는중 오류가 "
                                             "발생하여 작업을 할 수 없습니다.   "));
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount(), 0);
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblModelName")->text(), QString());
        QCOMPARE(ondavia::test::Child<QLabel>(w, "LblStartDateTime")->text(), QString());
        QVERIFY(!ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->isEnabled());
        QVERIFY(!ondavia::test::Child<QSlider>(w, "TBarChart")->isEnabled());
        QCOMPARE(w.StatusText(3), QString());
        // The failed file is not retried until another one is opened.
        w.GridFileListViewDblClick();
        QCOMPARE(messages.size(), 1);
        ondavia::test::Child<QTableWidget>(w, "GridFileListView")->setCurrentCell(0, 0);
        w.GridFileListViewDblClick();
        QCOMPARE(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount(), 4);
    }

    void zoomAndScrollOneSecond() {
        Fixture fx;
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(5000));
        TFrmOndavia& w = fx.Open();
        QVERIFY(ondavia::test::Child<QSlider>(w, "TBarChart")->isEnabled());
        QCOMPARE(ondavia::test::Child<QSlider>(w, "TBarChart")->maximum(), 4);
        QCOMPARE(ondavia::test::Child<QSlider>(w, "TBarChart")->value(), 1);
        QVERIFY(!ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->isEnabled());
        struct Step {
            int position, window, small, large, scrollMax;
        } steps[] = {
            {4, 360, 60, 180, 4640}, {3, 1800, 300, 360, 3200}, {2, 3600, 600, 3600, 1400}};
        for (const Step& s : steps) {
            ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(s.position);
            QCOMPARE(w.WindowLength(), s.window);
            QCOMPARE(SecondsBetween(
                         ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin(),
                         ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax()),
                     s.window);
            QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->singleStep(), s.small);
            QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->pageStep(), s.large);
            QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->minimum(), 0);
            QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->maximum(), s.scrollMax);
        }
        // Scrolling to the end shows a span ending at the file's end.
        ondavia::test::Child<QScrollBar>(w, "ScrBarChart")
            ->setValue(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->maximum());
        QCOMPARE(SecondsBetween(
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax(),
                     fx.state.ChartEndTime),
                 0);
        QVERIFY(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->isEnabled());
        // Zooming in keeps the left edge; zooming out again pulls back from the end.
        ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(4);
        QCOMPARE(SecondsBetween(
                     fx.state.ChartStartTime,
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin()),
                 1400);
        ondavia::test::Child<QScrollBar>(w, "ScrBarChart")
            ->setValue(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->maximum());
        ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(3);
        QCOMPARE(SecondsBetween(
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax(),
                     fx.state.ChartEndTime),
                 0);
        QCOMPARE(SecondsBetween(
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin(),
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax()),
                 1800);
        ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(1);
        QCOMPARE(ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin(),
                 fx.state.ChartStartTime);
        QCOMPARE(ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax(),
                 fx.state.ChartEndTime);
        QVERIFY(!ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->isEnabled());
    }

    void zoomHundredths() {
        Fixture fx;
        fx.Write("20261210-12345678-C-01-ABCDEFG.TXT", HundredthsFile(800));
        TFrmOndavia& w = fx.Open();
        QCOMPARE(w.StatusText(1), QStringLiteral("0.01초 데이터"));
        QCOMPARE(ondavia::test::Child<QSlider>(w, "TBarChart")->maximum(), 3);
        ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(3);
        QCOMPARE(MillisecondsBetween(
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin(),
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax()),
                 3000);
        QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->singleStep(), 1000);
        QCOMPARE(ondavia::test::Child<QScrollBar>(w, "ScrBarChart")->pageStep(), 3000);
        ondavia::test::Child<QSlider>(w, "TBarChart")->setValue(2);
        QCOMPARE(MillisecondsBetween(
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMin(),
                     ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->SpanMax()),
                 6000);
    }

    void pointerHint_data() {
        QTest::addColumn<bool>("hundredths");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("secondLine");
        QTest::newRow("1-second") << false << QStringLiteral("2026-12-10 06:00:30")
                                  << QStringLiteral("45 Km/h   1500 RPM   B: OFF");
        QTest::newRow("0.01-second") << true << QStringLiteral("2026-12-10 06:00:03.50")
                                     << QStringLiteral("50 Km/h   1500 RPM   B: OFF");
    }
    void pointerHint() {
        QFETCH(bool, hundredths);
        QFETCH(QString, firstLine);
        QFETCH(QString, secondLine);
        Fixture fx;
        if (hundredths)
            fx.Write("20261210-12345678-C-01-ABCDEFG.TXT", HundredthsFile(800));
        else
            fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(100));
        TFrmOndavia& w = fx.Open();
        DateTime target = hundredths ? AddMilliseconds(3505, fx.state.ChartStartTime)
                                     : AddMilliseconds(30500, fx.state.ChartStartTime);
        // Find the pixel whose time lies closest past the target.
        int x = 0;
        for (int px = 0;
             px < ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->width(); ++px) {
            if (ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->TimeAtX(px) >=
                target) {
                x = px;
                break;
            }
        }
        QVERIFY(x > 0);
        w.ChartGraphMouseMove(x, 200);
        QStringList lines = ondavia::test::Child<QLabel>(w, "LblChartHint")->text().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(firstLine.left(firstLine.size() - 1)), qPrintable(lines[0]));
        QCOMPARE(lines[1], secondLine);
        QVERIFY(lines[2].startsWith("D: "));
        QVERIFY(ondavia::test::Child<QLabel>(w, "LblChartHint")->isVisible());
        // Left of the plotted span the hint goes away.
        w.ChartGraphMouseMove(0, 200);
        QVERIFY(ondavia::test::Child<QLabel>(w, "LblChartHint")->isHidden());
    }

    void chartPopupDetailNeedsMoreThan300Seconds() {
        for (int seconds : {300, 301}) {
            Fixture fx;
            fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(seconds));
            TFrmOndavia& w = fx.Open();
            w.SetDetailCommand([] {});
            w.SetChartReportCommand([](DateTime, DateTime) {});
            w.PMenuChartPopup();
            QCOMPARE(ondavia::test::Child<QAction>(w, "PMGraphDetail")->isEnabled(),
                     seconds == 301);
            QVERIFY(ondavia::test::Child<QAction>(w, "PMChartPrint")->isEnabled());
            QVERIFY(ondavia::test::Child<QAction>(w, "PMRPMVisible")->isEnabled());
        }
    }

    // Without the detailed graph or the chart report behind them, the chart's
    // commands stay disabled: no key, item or double click opens anything.
    void chartCommandsWaitForTheirWindows() {
        Fixture fx;
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(600));
        TFrmOndavia& w = fx.Open();
        w.PMenuChartPopup();
        auto* detail = ondavia::test::Child<QAction>(w, "PMGraphDetail");
        auto* print = ondavia::test::Child<QAction>(w, "PMChartPrint");
        QVERIFY(!detail->isEnabled());
        QVERIFY(!print->isEnabled());
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        auto* chart = ondavia::test::Child<ChartView>(w, "ChartGraph");
        QTest::mouseDClick(chart->Plot(), Qt::LeftButton, {}, chart->Plot()->rect().center());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        int details = 0;
        std::pair<DateTime, DateTime> reported{0, 0};
        w.SetDetailCommand([&] { ++details; });
        w.SetChartReportCommand([&](DateTime a, DateTime b) { reported = {a, b}; });
        QVERIFY(detail->isEnabled());
        QVERIFY(print->isEnabled());
        detail->trigger();
        print->trigger();
        QCOMPARE(details, 1);
        QCOMPARE(reported.first, chart->SpanMin());
        QCOMPARE(reported.second, chart->SpanMax());
    }

    // The sizing rule covers the whole window, frame included, at start-up
    // and whenever the desktop's work area changes.
    void windowFrameFitsTheWorkArea_data() {
        QTest::addColumn<QRect>("area");
        QTest::newRow("1366x738") << QRect(0, 0, 1366, 738);
        QTest::newRow("1024x728") << QRect(0, 0, 1024, 728);
        QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040);
    }
    void windowFrameFitsTheWorkArea() {
        QFETCH(QRect, area);
        Fixture fx;
        TFrmOndavia& w = fx.Open(QRect(0, 0, 800, 560));
        emit QGuiApplication::primaryScreen()->availableGeometryChanged(area);
        const MainWindowSize expected = MainWindowSizeFor(area.right() + 1, area.bottom() + 1);
        QCOMPARE(w.frameGeometry().size(), QSize(expected.width, expected.height));
        QVERIFY(area.contains(w.frameGeometry()));
        QCOMPARE(w.ChartShare(), expected.chartShare);
    }

    void rpmSwitchSurvivesARestart() {
        Fixture fx;
        fx.Write("20261210-12345678-S-01-ABCDEFG.TXT", OneSecondFile(10));
        {
            TFrmOndavia& w = fx.Open();
            QVERIFY(ondavia::test::Child<QAction>(w, "PMRPMVisible")->isChecked());
            QVERIFY(ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->RpmVisible());
            ondavia::test::Child<QAction>(w, "PMRPMVisible")->trigger();
            QVERIFY(!ondavia::test::Child<ondavia::gui::ChartView>(w, "ChartGraph")->RpmVisible());
        }
        AppState restarted;
        LoadSettings(restarted, fx.dir.path(), fx.state.SettingsFilePath);
        QCOMPARE(restarted.ViewerSettings.RPMVisible, false);
        fx.state.ViewerSettings = restarted.ViewerSettings;
        fx.state.ViewerSettings.DataFilePath = (fx.dir.path() + "/data/").toStdString();
        TFrmOndavia& again = fx.Open();
        QVERIFY(!ondavia::test::Child<QAction>(again, "PMRPMVisible")->isChecked());
        QVERIFY(!ondavia::test::Child<ondavia::gui::ChartView>(again, "ChartGraph")->RpmVisible());
    }

    void singleInstance() {
        const QString id =
            QStringLiteral("ONDAVIA_TEST_%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(id);
        QVERIFY(!first.IsAlreadyRunning());
        QSignalSpy activated(&first, &SingleInstance::Activated);
        SingleInstance second(id);
        QVERIFY(second.IsAlreadyRunning());
        QVERIFY(activated.wait(2000) || activated.count() == 1);
    }

  private:
    QStringList messages;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
