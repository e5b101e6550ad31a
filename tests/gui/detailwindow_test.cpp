#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <qcustomplot.h>

#include "app/appstate.hpp"
#include "app/icons.hpp"
#include "data/recording.hpp"
#include "support/builders.hpp"
#include "support/synthetic.hpp"
#include "viewer/chartzoom.hpp"
#include "viewer/detailspan.hpp"
#include "views/chartview.hpp"
#include "views/detailwindow.hpp"

using ondavia::DateTime;
using ondavia::DetailNav;
using ondavia::gui::ChartView;
using ondavia::gui::TFrmDTG_Detail;
using Series = ChartView::Series;

namespace {

const char* const kNavNames[] = {"SBtnLeftEnd", "SBtnPrevious", "SBtnLeft",
                                 "SBtnRight",   "SBtnNext",     "SBtnRightEnd"};

DetailNav NavOf(const QString& name) {
    int i = 0;
    while (i < 5 && name != QLatin1String(kNavNames[i]))
        ++i;
    return static_cast<DetailNav>(i);
}

std::string Text(DateTime t) { return ondavia::FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t); }

// A loaded file, the shared state the main window would leave for it, and
// the detailed graph window over it.
class Shown {
  public:
    Shown(const std::string& bytes, bool hundredths) {
        ondavia::LoadOptions options;
        options.upperName = "DETAIL.TXT";
        options.hundredths = hundredths;
        options.pivotYear = ondavia::CurrentYear();
        loaded = ondavia::LoadRecordingBytes(bytes, options, recording).ok();
        series = ondavia::BuildChartSeries(recording.table, hundredths, ondavia::CurrentYear());
        state.HundredthsData = hundredths;
        state.RecordTable = &recording.table;
        state.ChartStartTime = series.firstTime;
        state.ChartEndTime = series.lastTime;
        window = std::make_unique<TFrmDTG_Detail>(
            state, [this]() -> const ondavia::ChartSeries& { return series; });
    }
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;

    bool Hundredths() const { return state.HundredthsData; }
    // The file's start moved by n units.
    DateTime At(long long units) const {
        return ondavia::AddUnits(Hundredths(), units, state.ChartStartTime);
    }
    long long UnitsOf(DateTime t) const {
        return ondavia::UnitsBetween(Hundredths(), state.ChartStartTime, t);
    }

    // Opens the window as the main chart does: the pointed time in the
    // shared state, then a modal show.
    bool Open(long long centreUnits) {
        state.PointerTime = At(centreUnits);
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    template <typename T>
    T* Find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QToolButton* Button(const char* name) const { return Find<QToolButton>(name); }
    QScrollBar* Scroll() const { return Find<QScrollBar>("ScrBarChart"); }
    ChartView* Chart() const { return Find<ChartView>("ChartGraph"); }
    QLabel* Hint() const { return Find<QLabel>("LblChartHint"); }

    std::pair<long long, long long> SpanUnits() const {
        return {UnitsOf(window->SpanMin()), UnitsOf(window->SpanMax())};
    }
    // "LLLRRR" style: which of the six buttons are enabled.
    QString Enabled() const {
        QString s;
        for (const char* name : kNavNames)
            s += Button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    // Moves the mouse over the chart's plot as a person would.
    void MoveMouse(int x, int y) const {
        QWidget* plot = Chart()->Plot();
        const QPointF local = plot->mapFrom(Chart(), QPoint(x, y));
        QMouseEvent move(QEvent::MouseMove, local, plot->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
    }

    bool loaded = false;
    ondavia::Recording recording;
    ondavia::ChartSeries series;
    ondavia::gui::AppState state;
    std::unique_ptr<TFrmDTG_Detail> window;
};

// An hour of 1-second data and ten seconds of 0.01-second data, from midnight.
std::unique_ptr<Shown> SecondsFile() {
    return std::make_unique<Shown>(ondavia::test::SyntheticDayFile(3600, false), false);
}
std::unique_ptr<Shown> HundredthsFile() {
    return std::make_unique<Shown>(ondavia::test::SyntheticDayFile(1000, true), true);
}
std::unique_ptr<Shown> FileOf(bool hundredths) {
    return hundredths ? HundredthsFile() : SecondsFile();
}

}  // namespace

class DetailWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstSpanAroundThePointedTime_data();
    void firstSpanAroundThePointedTime();
    void navigationButtons_data();
    void navigationButtons();
    void scrollBarMovesTheSpan();
    void detailChartDrawsCappedGAndPlainSpeedBars();
    void keys_data();
    void keys();
    void altKeysNeverReachTheControls();
    void hintLabelFollowsTheMouse();
    void printButtonOnlyWithAChartReport();
    void everyOpeningStartsAfresh();
    void showForOpensModallyWithItsTimes();
    void picturesArePaintedInColourAndGreyWhenDisabled();
};

void DetailWindowTest::firstSpanAroundThePointedTime_data() {
    QTest::addColumn<bool>("hundredths");
    QTest::addColumn<int>("centre");  // units from the file's start
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("enabled");
    // The 1-second file runs 0..3599 s, the 0.01-second one 0..9990 ms.
    QTest::newRow("first second") << false << 0 << 0 << 240 << "000111";
    QTest::newRow("middle") << false << 1800 << 1680 << 1920 << "111111";
    QTest::newRow("last second") << false << 3599 << 3359 << 3599 << "111000";
    QTest::newRow("near the start") << false << 50 << 0 << 240 << "000111";
    QTest::newRow("0.01 s first") << true << 0 << 0 << 2000 << "000111";
    QTest::newRow("0.01 s middle") << true << 5000 << 4000 << 6000 << "111111";
    QTest::newRow("0.01 s last") << true << 9990 << 7990 << 9990 << "111000";
}

void DetailWindowTest::firstSpanAroundThePointedTime() {
    QFETCH(bool, hundredths);
    QFETCH(int, centre);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, enabled);
    auto f = FileOf(hundredths);
    QVERIFY(f->loaded);
    QVERIFY(f->Open(centre));

    QCOMPARE(f->window->windowTitle(), QStringLiteral("정밀 분석"));
    QCOMPARE(Text(f->window->SpanMin()), Text(f->At(min)));
    QCOMPARE(Text(f->window->SpanMax()), Text(f->At(max)));
    QCOMPARE(f->Enabled(), enabled);
    QCOMPARE(f->window->WindowLength(), hundredths ? 2000 : 240);

    QScrollBar* scroll = f->Scroll();
    QCOMPARE(scroll->minimum(), 0);
    QCOMPARE(scroll->maximum(), hundredths ? 7990 : 3359);
    QCOMPARE(scroll->value(), min);
    QCOMPARE(scroll->singleStep(), hundredths ? 1000 : 60);
    QCOMPARE(scroll->pageStep(), hundredths ? 5000 : 600);
    QVERIFY(scroll->isEnabled());

    auto* status = f->Find<QStatusBar>("StatusBarViewer");
    QVERIFY(status);
    QCOMPARE(f->Find<QLabel>("StatusBarViewerPanel0")->text(),
             hundredths ? QStringLiteral("0.01초 데이터") : QStringLiteral("1초 데이터"));
    QCOMPARE(f->Find<QLabel>("StatusBarViewerPanel0")->width(), 150);
    QCOMPARE(f->Find<QLabel>("StatusBarViewerPanel1")->width(), 500);
    QVERIFY(f->Find<QLabel>("StatusBarViewerPanel2")->width() >= 150);

    // Every record of the file is on the chart.
    QCOMPARE(f->Chart()->PointCount(Series::Speed), f->recording.table.Count());
    QCOMPARE(f->Chart()->PointCount(Series::Gy), f->recording.table.Count());
    QVERIFY(f->Chart()->BottomAxisVisible());
}

void DetailWindowTest::navigationButtons_data() {
    QTest::addColumn<bool>("hundredths");
    QTest::addColumn<int>("centre");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("enabled");
    // 1-second file, 0..3599 s; the middle span is [1680, 1920].
    QTest::newRow("middle left end") << false << 1800 << "SBtnLeftEnd" << 0 << 240 << "000111";
    QTest::newRow("middle previous") << false << 1800 << "SBtnPrevious" << 1440 << 1680 << "111111";
    QTest::newRow("middle left") << false << 1800 << "SBtnLeft" << 1620 << 1860 << "111111";
    QTest::newRow("middle right") << false << 1800 << "SBtnRight" << 1740 << 1980 << "111111";
    QTest::newRow("middle next") << false << 1800 << "SBtnNext" << 1920 << 2160 << "111111";
    QTest::newRow("middle right end")
        << false << 1800 << "SBtnRightEnd" << 3359 << 3599 << "111000";
    QTest::newRow("start right") << false << 0 << "SBtnRight" << 60 << 300 << "111111";
    QTest::newRow("start next") << false << 0 << "SBtnNext" << 240 << 480 << "111111";
    QTest::newRow("start left does nothing") << false << 0 << "SBtnLeft" << 0 << 240 << "000111";
    QTest::newRow("end left") << false << 3599 << "SBtnLeft" << 3299 << 3539 << "111111";
    QTest::newRow("end previous") << false << 3599 << "SBtnPrevious" << 3119 << 3359 << "111111";
    QTest::newRow("end next does nothing")
        << false << 3599 << "SBtnNext" << 3359 << 3599 << "111000";
    // Spans 100 s after the start and 30 s before the end.
    QTest::newRow("previous back to the start")
        << false << 220 << "SBtnPrevious" << 0 << 240 << "000111";
    QTest::newRow("next up to the end") << false << 3449 << "SBtnNext" << 3359 << 3599 << "111000";
    // 0.01-second file, 0..9990 ms; the middle span is [4000, 6000].
    QTest::newRow("0.01 s left end") << true << 5000 << "SBtnLeftEnd" << 0 << 2000 << "000111";
    QTest::newRow("0.01 s previous") << true << 5000 << "SBtnPrevious" << 2000 << 4000 << "111111";
    QTest::newRow("0.01 s left") << true << 5000 << "SBtnLeft" << 3000 << 5000 << "111111";
    QTest::newRow("0.01 s right") << true << 5000 << "SBtnRight" << 5000 << 7000 << "111111";
    QTest::newRow("0.01 s next") << true << 5000 << "SBtnNext" << 6000 << 8000 << "111111";
    QTest::newRow("0.01 s right end") << true << 5000 << "SBtnRightEnd" << 7990 << 9990 << "111000";
    QTest::newRow("0.01 s start right") << true << 0 << "SBtnRight" << 1000 << 3000 << "111111";
    QTest::newRow("0.01 s end left") << true << 9990 << "SBtnLeft" << 6990 << 8990 << "111111";
    QTest::newRow("0.01 s end next does nothing")
        << true << 9990 << "SBtnNext" << 7990 << 9990 << "111000";
}

void DetailWindowTest::navigationButtons() {
    QFETCH(bool, hundredths);
    QFETCH(int, centre);
    QFETCH(QString, button);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, enabled);
    auto f = FileOf(hundredths);
    QVERIFY(f->Open(centre));
    const int scrollBefore = f->Scroll()->value();

    QToolButton* b = f->Button(qPrintable(button));
    QVERIFY(b);
    QVERIFY(!b->icon().isNull());  // a picture, no caption
    QVERIFY(b->text().isEmpty());
    const bool wasEnabled = b->isEnabled();
    QTest::mouseClick(b, Qt::LeftButton);
    // The handler itself also leaves a span that touches the button's side.
    if (!wasEnabled) f->window->Navigate(NavOf(button));

    QCOMPARE(Text(f->window->SpanMin()), Text(f->At(min)));
    QCOMPARE(Text(f->window->SpanMax()), Text(f->At(max)));
    QCOMPARE(f->Enabled(), enabled);
    // The buttons leave the scroll bar where it was.
    QCOMPARE(f->Scroll()->value(), scrollBefore);
}

void DetailWindowTest::scrollBarMovesTheSpan() {
    for (bool hundredths : {false, true}) {
        auto f = FileOf(hundredths);
        QVERIFY(f->Open(hundredths ? 5000 : 1800));
        QScrollBar* scroll = f->Scroll();
        const int w = hundredths ? 2000 : 240;
        const int end = hundredths ? 9990 : 3599;
        struct Step {
            std::function<void()> act;
            int min;
            const char* enabled;
        };
        const int step = hundredths ? 1000 : 60;
        const int page = hundredths ? 5000 : 600;
        const Step steps[] = {
            {[&] { scroll->setValue(100); }, 100, "111111"},
            {[&] { scroll->setValue(scroll->maximum()); }, end - w, "111000"},
            {[&] { scroll->setValue(0); }, 0, "000111"},
            {[&] { scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd); }, step, "111111"},
            {[&] { scroll->triggerAction(QAbstractSlider::SliderPageStepAdd); }, step + page,
             "111111"},
        };
        for (const Step& s : steps) {
            s.act();
            QCOMPARE(Text(f->window->SpanMin()), Text(f->At(s.min)));
            QCOMPARE(Text(f->window->SpanMax()), Text(f->At(s.min + w)));
            QCOMPARE(f->Enabled(), QString::fromLatin1(s.enabled));
        }
    }
}

void DetailWindowTest::detailChartDrawsCappedGAndPlainSpeedBars() {
    using ondavia::test::RecordFields;
    std::vector<std::string> records;
    for (int i = 0; i < 400; ++i) {
        RecordFields r;
        r.time = ondavia::test::ClockText(10 * 3600 + i);
        if (i == 200) {
            r.speed = "120";
            r.gx = "+22.56";  // 2.3 g
            r.gy = "-22.56";  // -2.3 g
        }
        records.push_back(ondavia::test::MakeRecord(r));
    }
    Shown f(ondavia::test::TextFile(ondavia::test::MakeHeader(), records), false);
    QVERIFY(f.loaded);
    QCOMPARE(f.recording.table.Count(), 400);
    f.state.ViewerSettings.RPMVisible = false;  // the main chart's setting only
    QVERIFY(f.Open(200));

    ChartView* chart = f.Chart();
    QVERIFY(f.recording.table.Item(200).Gx > 2.29);
    QCOMPARE(chart->PointAt(Series::Gx, 200).y(), 1.5);
    QCOMPARE(chart->PointAt(Series::Gy, 200).y(), f.recording.table.Item(200).Gy);
    QVERIFY(chart->PointAt(Series::Gy, 200).y() < -2.29);
    QCOMPARE(chart->PointAt(Series::Speed, 200).y(), 120.0);
    QVERIFY(!chart->SpeedBarRedAt(200));
    QVERIFY(chart->RpmVisible());
}

void DetailWindowTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("toControl");  // pressed on the scroll bar rather than the window
    QTest::addColumn<bool>("closes");
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false << true;
    QTest::newRow("Alt+X") << int(Qt::Key_X) << int(Qt::AltModifier) << false << true;
    QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << false << true;
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier) << false << false;
    QTest::newRow("X") << int(Qt::Key_X) << int(Qt::NoModifier) << false << false;
    QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier) << false << false;
    QTest::newRow("Esc on a control") << int(Qt::Key_Escape) << int(Qt::NoModifier) << true << true;
    QTest::newRow("Alt+X on a control") << int(Qt::Key_X) << int(Qt::AltModifier) << true << true;
    QTest::newRow("Alt+S on a control") << int(Qt::Key_S) << int(Qt::AltModifier) << true << false;
}

void DetailWindowTest::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, toControl);
    QFETCH(bool, closes);
    auto f = SecondsFile();
    QVERIFY(f->Open(1800));
    QWidget* target = toControl ? static_cast<QWidget*>(f->Scroll()) : f->window.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->window->isVisible(), !closes);
    if (closes) QCOMPARE(f->window->result(), int(QDialog::Rejected));
}

void DetailWindowTest::altKeysNeverReachTheControls() {
    auto f = SecondsFile();
    QVERIFY(f->Open(1800));
    f->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
    // A shortcut on Alt+S would act before the key reaches the window.
    int triggered = 0;
    auto* action = new QAction(f->window.get());
    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    f->window->addAction(action);
    connect(action, &QAction::triggered, this, [&triggered] { ++triggered; });

    QScrollBar* scroll = f->Scroll();
    scroll->setFocus();
    const int before = scroll->value();
    QTest::keyClick(scroll, Qt::Key_End, Qt::AltModifier);
    QCOMPARE(scroll->value(), before);
    QTest::keyClick(scroll, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(triggered, 0);
    QVERIFY(f->window->isVisible());
    // Without Alt the key is the scroll bar's.
    QTest::keyClick(scroll, Qt::Key_End);
    QCOMPARE(scroll->value(), scroll->maximum());
}

void DetailWindowTest::hintLabelFollowsTheMouse() {
    auto f = SecondsFile();
    QVERIFY(f->Open(1800));  // [1680, 1920]
    ChartView* chart = f->Chart();
    QLabel* hint = f->Hint();
    auto* panel = f->Find<QWidget>("PanelChart");
    QVERIFY(hint && panel);
    QCOMPARE(hint->parentWidget(), panel);
    QCOMPARE(hint->size(), QSize(220, 60));

    // Over the record of 00:30:50.
    const DateTime at = f->At(1850);
    const int x = static_cast<int>(std::ceil(chart->XAtTime(at) + 0.01));
    const int y = chart->height() / 2;
    f->MoveMouse(x, y);
    QVERIFY(hint->isVisible());
    QVERIFY(f->recording.table.FindRecord("00:30:50") >= 0);
    QCOMPARE(hint->text(),
             QString::fromStdString(ondavia::HintText(false, at, f->recording.table.Current())));
    QCOMPARE(hint->text().split(QLatin1Char('\n')).size(), 3);
    const ondavia::HintPlace place =
        ondavia::DetailHintPlace(chart->x(), chart->y(), x, y, panel->width());
    QCOMPARE(hint->pos(), QPoint(place.left, place.top));
    // The pointed time is this window's own.
    QCOMPARE(Text(f->window->CentreTime()), Text(at));
    QCOMPARE(Text(f->state.PointerTime), Text(f->At(1800)));

    // Near the top edge the label drops below the pointer.
    f->MoveMouse(x, 40);
    QCOMPARE(hint->y(), chart->y() + 40 + 20);
    // Near the right edge it stays inside the panel.
    f->MoveMouse(chart->PlotArea().right(), y);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->x(), panel->width() - 220);

    // Left of the plotted span: hidden and emptied.
    f->MoveMouse(chart->PlotArea().left() - 20, y);
    QVERIFY(!hint->isVisible());
    QVERIFY(hint->text().isEmpty());
    f->MoveMouse(x, y);
    QVERIFY(hint->isVisible());

    // Leaving the chart hides it.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(chart->Plot(), &leave);
    QVERIFY(!hint->isVisible());
    QVERIFY(hint->text().isEmpty());
}

void DetailWindowTest::printButtonOnlyWithAChartReport() {
    auto f = SecondsFile();
    QVERIFY(f->Open(1800));
    QToolButton* print = f->Button("SBtnChartPrint");
    QVERIFY(print);
    QCOMPARE(print->text(), QStringLiteral("출력"));
    QVERIFY(!print->isEnabled());
    f->window->hide();

    std::optional<std::pair<DateTime, DateTime>> asked;
    f->window->ShowChartReport = [&asked](DateTime min, DateTime max) { asked = {min, max}; };
    QVERIFY(f->Open(1800));
    QVERIFY(print->isEnabled());
    QTest::mouseClick(f->Button("SBtnRight"), Qt::LeftButton);
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(asked.has_value());
    QCOMPARE(Text(asked->first), Text(f->At(1740)));
    QCOMPARE(Text(asked->second), Text(f->At(1980)));
}

void DetailWindowTest::everyOpeningStartsAfresh() {
    auto f = SecondsFile();
    QVERIFY(f->Open(1800));
    QTest::mouseClick(f->Button("SBtnNext"), Qt::LeftButton);
    f->Scroll()->setValue(5);
    f->MoveMouse(f->Chart()->width() / 2, f->Chart()->height() / 2);
    QVERIFY(f->Hint()->isVisible());
    QVERIFY(f->window->close());
    QVERIFY(!f->window->isVisible());

    // Another file is loaded in the meantime.
    f->loaded = ondavia::LoadRecordingBytes(
                    ondavia::test::SyntheticDayFile(1200, false),
                    [] {
                        ondavia::LoadOptions o;
                        o.upperName = "OTHER.TXT";
                        o.pivotYear = ondavia::CurrentYear();
                        return o;
                    }(),
                    f->recording)
                    .ok();
    QVERIFY(f->loaded);
    f->series = ondavia::BuildChartSeries(f->recording.table, false, ondavia::CurrentYear());
    f->state.ChartEndTime = f->series.lastTime;
    QVERIFY(f->Open(600));
    QCOMPARE(Text(f->window->SpanMin()), Text(f->At(480)));
    QCOMPARE(Text(f->window->SpanMax()), Text(f->At(720)));
    QCOMPARE(f->Scroll()->value(), 480);
    QCOMPARE(f->Scroll()->maximum(), 959);
    QCOMPARE(f->Chart()->PointCount(Series::Speed), 1200);
    QVERIFY(!f->Hint()->isVisible());
    QCOMPARE(f->Enabled(), QStringLiteral("111111"));
}

void DetailWindowTest::showForOpensModallyWithItsTimes() {
    auto f = SecondsFile();
    f->state.PointerTime = f->At(3000);  // not the time handed over
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
        checked = f->window->isVisible() && f->window->isModal() &&
                  Text(f->window->SpanMin()) == Text(f->At(780)) &&
                  Text(f->window->SpanMax()) == Text(f->At(1020));
        QTest::keyClick(f->window.get(), Qt::Key_Escape);
    });
    const int result =
        f->window->ShowFor(f->state.ChartStartTime, f->state.ChartEndTime, f->At(900));
    QVERIFY(checked);
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!f->window->isVisible());
}

void DetailWindowTest::picturesArePaintedInColourAndGreyWhenDisabled() {
    using ondavia::gui::NavigationPicture;
    using ondavia::gui::ToolbarPicture;
    std::vector<QIcon> icons;
    for (int i = 0; i <= static_cast<int>(NavigationPicture::RightEnd); ++i)
        icons.push_back(ondavia::gui::NavigationIcon(static_cast<NavigationPicture>(i)));
    for (int i = 0; i <= static_cast<int>(ToolbarPicture::Folder); ++i)
        icons.push_back(ondavia::gui::ToolbarIcon(static_cast<ToolbarPicture>(i)));

    std::vector<QImage> seen;
    for (size_t i = 0; i < icons.size(); ++i) {
        for (int size : {16, 32, 48}) {
            const QImage normal = icons[i].pixmap(size, QIcon::Normal).toImage();
            const QImage disabled = icons[i].pixmap(size, QIcon::Disabled).toImage();
            QCOMPARE(normal.size(), QSize(size, size));
            int opaque = 0;
            bool coloured = false;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QColor n = normal.pixelColor(x, y);
                    if (n.alpha() > 128) {
                        ++opaque;
                        coloured = coloured || n.red() != n.green() || n.green() != n.blue();
                    }
                    const QColor d = disabled.pixelColor(x, y);
                    if (d.alpha() > 0)
                        QVERIFY2(
                            qAbs(d.red() - d.green()) <= 2 && qAbs(d.green() - d.blue()) <= 2,
                            qPrintable(QStringLiteral("picture %1 at %2,%3").arg(i).arg(x).arg(y)));
                }
            }
            QVERIFY2(opaque > size * size / 20, qPrintable(QString::number(i)));
            QVERIFY2(coloured, qPrintable(QString::number(i)));
            if (size == 32) seen.push_back(normal);
        }
    }
    for (size_t a = 0; a < seen.size(); ++a)
        for (size_t b = a + 1; b < seen.size(); ++b)
            QVERIFY2(seen[a] != seen[b], qPrintable(QStringLiteral("%1 and %2").arg(a).arg(b)));
}

QTEST_MAIN(DetailWindowTest)
#include "detailwindow_test.moc"
