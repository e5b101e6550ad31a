// The chart report and the screen report: their pages read back from the
// PDF they make (paper, header texts, chart, picture), their options windows
// (printer list, copies, keys, focus tint), and printing to a real print
// queue when the machine has one (scripts/start-cups.sh).
#include <qcustomplot.h>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>

#include "app/application.hpp"
#include "app/services.hpp"
#include "output/chartreport.hpp"
#include "output/printclass.hpp"
#include "output/screenreport.hpp"
#include "viewer/chartseries.hpp"
#include "views/stackedchart.hpp"

using ondavia::ChartSeries;
using ondavia::DateTime;
using ondavia::TDTG_CLASS;
using ondavia::TDTG_RECORD;
using namespace ondavia::gui;
using Series = StackedChart::Series;

namespace {

DateTime At(int h, int mi, int s, int ms = 0) {
    return ondavia::ComposeDateTime(*ondavia::EncodeDate(2026, 12, 10),
                                    ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

// `count` records from `start`, one a second or a hundredth, at 60 km/h and
// 2,400 RPM with the engine on.
ChartSeries Steady(DateTime start, int count, bool hundredths) {
    TDTG_CLASS t;
    for (int i = 0; i < count; ++i) {
        const DateTime at =
            hundredths ? ondavia::AddMilliseconds(i * 10LL, start) : ondavia::AddSeconds(i, start);
        const std::string text =
            ondavia::FormatDateTime(hundredths ? "yy-mm-dd hh:nn:ss.zz0" : "yy-mm-dd hh:nn:ss", at);
        TDTG_RECORD r;
        r.InfoDateTime.Assign(text);
        r.InfoTime.Assign(std::string_view(text).substr(9, hundredths ? 11 : 8));
        r.Speed = 60;
        r.RPM = 2400;
        r.Engine = 1;
        r.Km = 5;
        t.Add(r);
    }
    t.Sort();
    return ondavia::BuildChartSeries(t, hundredths, ondavia::CurrentYear());
}

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60'000) || p.exitCode() != 0) return QStringLiteral("<failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PdfText(const QString& pdf) { return Run("pdftotext", {"-layout", pdf, "-"}); }
QString PdfInfo(const QString& pdf) { return Run("pdfinfo", {pdf}); }

// The page as the PDF viewer draws it, at `dpi`.
QImage PdfImage(const QString& pdf, int dpi) {
    const QString prefix = pdf + QStringLiteral(".page");
    Run("pdftoppm", {"-png", "-r", QString::number(dpi), "-singlefile", pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool Reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
bool Greenish(QRgb c) { return qGreen(c) > 120 && qRed(c) < 60 && qBlue(c) < 60; }
bool White(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

// A millimetre rectangle of the paper in image pixels.
QRect MmToPixels(const QRectF& mm, int dpi) {
    const double k = dpi / 25.4;
    return QRectF(mm.left() * k, mm.top() * k, mm.width() * k, mm.height() * k).toAlignedRect();
}

template <typename T>
T* Child(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(QString::fromLatin1(name));
    if (!child) qWarning("no child %s", name);
    return child;
}

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QStringList installed;
    QStringList messages;
    AppState state;
    std::unique_ptr<TPRINT_CLASS> print;

    // A printer class on stand-in printers and a private remembered choice.
    void StandIn(TPRINT_CLASS& p) {
        const QString file = dir.filePath("printer.ini");
        p.OpenSettings = [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
        p.InstalledPrinters = [this] { return installed; };
        p.DefaultPrinter = [] { return QStringLiteral("Laser"); };
    }
    // The same on the machine's real printers.
    void RealPrinters(TPRINT_CLASS& p) {
        const QString file = dir.filePath("printer.ini");
        p.OpenSettings = [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
    }
    static bool HasQueue() { return QPrinterInfo::availablePrinterNames().contains("PDF"); }
    // No job of the queue waiting or printing.
    static bool QueueIdle() {
        QProcess p;
        p.start("lpstat", {"-o", "PDF"});
        return p.waitForFinished(10'000) && p.readAllStandardOutput().trimmed().isEmpty();
    }

    // Shows a window as a person would see it, active and focused.
    static void ShowActive(QWidget& w) {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCoreApplication::processEvents();  // the activation's own work
    }

    // Saves through "PDF 저장" without a file dialog.
    QString SavePdf(ReportOptionsWindow& window, const QString& name) {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        window.ChoosePdfFile = [path](QWidget*, const QString&) { return path; };
        Child<QPushButton>(&window, "BBtnPdf")->click();
        return path;
    }

  private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    void init() {
        QFile::remove(dir.filePath("printer.ini"));
        installed = {"PDF", "Laser", "Ink"};
        messages.clear();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
        state = AppState{};
        state.ViewerSettings.RPMVisible = true;
        print = std::make_unique<TPRINT_CLASS>();
        StandIn(*print);
        state.PrintClass = print.get();
    }
    void cleanup() { SetMessageHook({}); }

    void chartPageHeaderAndPaper_data();
    void chartPageHeaderAndPaper();
    void rpmLineFollowsRpmVisible_data();
    void rpmLineFollowsRpmVisible();
    void detailWindowSpanWithEveryPoint();
    void screenPageHeaderAndPicture();
    void captureTakesTheWindowBelowTheLine();
    void optionsWindowControls();
    void editorKeysAndTint();
    void acceleratorFinishesTheCopiesInput();
    void noPrinterInstalled();
    void realQueueAndRememberedPrinter();
    void printJobToTheQueueWritesAPdf();
};

void ReportTest::chartPageHeaderAndPaper_data() {
    QTest::addColumn<bool>("hundredths");
    QTest::addColumn<DateTime>("from");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("span");
    QTest::newRow("1 s") << false << At(9, 5, 3) << QString("운행기록 분석 (1초)")
                         << QString("출력시간 : 2026-12-10 09:05:03 ~ 2026-12-10 09:15:02");
    QTest::newRow("0.01 s, one hundredth")
        << true << At(9, 5, 3, 10) << QString("운행기록 분석 (0.01초)")
        << QString("출력시간 : 2026-12-10 09:05:03.01 ~ 2026-12-10 09:05:09.00");
    QTest::newRow("0.01 s, ten hundredths")
        << true << At(9, 5, 3, 100) << QString("운행기록 분석 (0.01초)")
        << QString("출력시간 : 2026-12-10 09:05:03.10 ~ 2026-12-10 09:05:09.09");
}

// The page through the options window, as "PDF 저장" writes it: A4
// landscape, one page, the title, car number and span where the form puts
// them, and the same span in the window's labels.
void ReportTest::chartPageHeaderAndPaper() {
    QFETCH(bool, hundredths);
    QFETCH(DateTime, from);
    QFETCH(QString, title);
    QFETCH(QString, span);
    const ChartSeries series = Steady(from, 600, hundredths);
    state.HundredthsData = hundredths;
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.CarNo = [] { return QStringLiteral("서울32바1234"); };
    window.SetSpan(series.firstTime, series.lastTime);
    window.FormShow();
    const QString start = span.mid(7, hundredths ? 22 : 19);
    QCOMPARE(Child<QLabel>(&window, "LblStartTime")->text(), start);
    QCOMPARE(Child<QLabel>(&window, "LblCarNo")->text(), QStringLiteral("서울32바1234"));

    const QString pdf = SavePdf(window, "chart.pdf");
    QVERIFY(messages.isEmpty());
    const QString info = PdfInfo(pdf);
    QVERIFY2(
        info.contains(QRegularExpression("Page size:\\s+841\\.\\d+ x 595\\.\\d+ pts \\(A4\\)")) ||
            info.contains(QRegularExpression("Page size:\\s+842 x 595 pts \\(A4\\)")),
        qPrintable(info));
    QVERIFY(info.contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains(title), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("차량번호 : 서울32바1234")), qPrintable(text));
    QVERIFY2(text.contains(span), qPrintable(text));
    QCOMPARE(page.TitleName(), title);
    QCOMPARE(page.PrintTimeText(), span);

    // Where the words stand, in points from the paper's corner: the car
    // number 4.5 mm into the band, the span ending at the band's 263.3 mm.
    const QString boxes = Run("pdftotext", {"-bbox", pdf, "-"});
    auto wordBox = [&](const QString& word) {
        QRegularExpression re(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
            "yMax=\"([\\d.]+)\">" +
            QRegularExpression::escape(word) + "</word>");
        const auto m = re.match(boxes);
        return m.hasMatch() ? QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                     QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))
                            : QRectF();
    };
    constexpr double kPt = 72 / 25.4;
    const QRectF carNo = wordBox(QStringLiteral("차량번호"));
    QVERIFY(!carNo.isNull());
    QVERIFY2(std::fabs(carNo.left() - 19.5 * kPt) < 1.5, qPrintable(QString::number(carNo.left())));
    QVERIFY(carNo.top() > 33 * kPt - 2 && carNo.top() < 35 * kPt);
    const QRectF end = wordBox(span.section(' ', -1));
    QVERIFY2(std::fabs(end.right() - 278.3 * kPt) < 1.5, qPrintable(QString::number(end.right())));
    const QRectF first = wordBox(title.section(' ', 0, 0));
    const QRectF last = wordBox(title.section(' ', -1));
    QVERIFY(std::fabs((first.left() + last.right()) / 2 - 148.6 * kPt) < 2);
}

void ReportTest::rpmLineFollowsRpmVisible_data() {
    QTest::addColumn<bool>("rpmVisible");
    QTest::newRow("RPM shown") << true;
    QTest::newRow("RPM hidden") << false;
}

// The RPM line of the page follows the setting, read back from the PDF's
// picture: red in the speed band only when it is on; the blue speed bars
// are there either way.
void ReportTest::rpmLineFollowsRpmVisible() {
    QFETCH(bool, rpmVisible);
    const ChartSeries series = Steady(At(10, 0, 0), 600, false);
    state.ViewerSettings.RPMVisible = rpmVisible;
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.SetSpan(series.firstTime, series.lastTime);
    window.FormShow();
    const QString pdf = SavePdf(window, "rpm.pdf");
    constexpr int kDpi = 100;
    const QImage img = PdfImage(pdf, kDpi);
    QVERIFY(!img.isNull());
    QVERIFY(img.width() > img.height());

    // The speed band, from the chart's own layout scaled into its box.
    const QCustomPlot* plot = page.Chart().Plot();
    const QRect band = page.Chart().SeriesArea(Series::Speed);
    const double sx = 266.7 / plot->width(), sy = 153.7 / plot->height();
    const QRectF bandMm(15.3 + band.left() * sx, 39.8 + band.top() * sy, band.width() * sx,
                        band.height() * sy);
    const QRect inner = MmToPixels(bandMm, kDpi).adjusted(10, 5, -10, -5);
    int red = 0, blue = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            red += Reddish(c);
            blue += qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
        }
    QVERIFY2(blue > 1000, qPrintable(QString::number(blue)));
    if (rpmVisible)
        QVERIFY2(red > inner.width() / 2, qPrintable(QString::number(red)));
    else
        QCOMPARE(red, 0);
}

// From the detailed graph the report covers that window's span, while its
// points are every record of the file.
void ReportTest::detailWindowSpanWithEveryPoint() {
    const ChartSeries series = Steady(At(10, 0, 0), 3600, false);
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.CarNo = [] { return QStringLiteral("12가3456"); };
    const DateTime from = At(10, 20, 0), to = At(10, 25, 0);
    QString pdf, shownStart;
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        ran = true;
        shownStart = Child<QLabel>(&window, "LblStartTime")->text();
        pdf = SavePdf(window, "detail.pdf");
        window.close();
    });
    window.ShowChartReport(from, to);  // modal until closed
    QVERIFY(ran);
    QCOMPARE(shownStart, QStringLiteral("2026-12-10 10:20:00"));
    QCOMPARE(window.ChartReportMin(), from);
    QCOMPARE(page.Chart().SpanMin(), from);
    QCOMPARE(page.Chart().SpanMax(), to);
    QCOMPARE(page.Chart().PointCount(Series::Speed), 3600);
    QCOMPARE(page.Chart().PointCount(Series::Gy), 3600);
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains("출력시간 : 2026-12-10 10:20:00 ~ 2026-12-10 10:25:00"),
             qPrintable(text));
    // The time labels stay inside the span.
    const auto labels = QRegularExpression("\\b(\\d\\d):(\\d\\d):(\\d\\d)\\b").globalMatch(text);
    int inside = 0;
    for (auto it = labels; it.hasNext();) {
        const auto m = it.next();
        const int minute = m.captured(1).toInt() * 60 + m.captured(2).toInt();
        QVERIFY2(minute >= 10 * 60 + 20 && minute <= 10 * 60 + 25, qPrintable(m.captured(0)));
        ++inside;
    }
    QVERIFY(inside >= 4);  // the two header times and some axis labels
}

// The screen report: the header without the labels' blanks, and a picture
// of any size filling the same framed box.
void ReportTest::screenPageHeaderAndPicture() {
    TFrmDtgAnalyP_B1 page;
    TFrmDtgAnalyP_B window(state, page, nullptr);
    window.CarNo = [] { return QStringLiteral("12가3456"); };
    QRect covered[2];
    const QSize sizes[2] = {QSize(300, 200), QSize(1400, 500)};
    for (int i = 0; i < 2; ++i) {
        QPixmap picture(sizes[i]);
        picture.fill(QColor(0, 160, 0));
        window.SetImage(QStringLiteral("/data/DTG/20261210-ONT10001-S-01-0630000.TXT"), picture);
        window.FormShow();
        QCOMPARE(Child<QLabel>(&window, "LblCarNo")->text(), QStringLiteral("  12가3456"));
        QCOMPARE(Child<QLabel>(&window, "LblFileName")->text(),
                 QStringLiteral("  20261210-ONT10001-S-01-0630000.TXT"));
        const QString pdf = SavePdf(window, QStringLiteral("screen%1.pdf").arg(i));
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("운행기록 분석 (1초)"), qPrintable(text));
        QVERIFY2(text.contains("차량번호 : 12가3456 (20261210-ONT10001-S-01-0630000.TXT)"),
                 qPrintable(text));
        QVERIFY(PdfInfo(pdf).contains(QRegularExpression("Page size:\\s+84[12][.\\d]* x 595")));

        constexpr int kDpi = 50;
        const QImage img = PdfImage(pdf, kDpi);
        const QRect box = MmToPixels(TFrmDtgAnalyP_B1::PictureBoxMm(), kDpi);
        const QRect inside = box.adjusted(3, 3, -3, -3);
        for (QPoint p : {inside.topLeft(), inside.topRight(), inside.bottomLeft(),
                         inside.bottomRight(), inside.center()})
            QVERIFY2(Greenish(img.pixel(p)), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        const QRect outside = box.adjusted(-4, -4, 4, 4);
        for (QPoint p :
             {outside.topLeft(), outside.bottomRight(), outside.topRight(), outside.bottomLeft()})
            QVERIFY(White(img.pixel(p)));
        // The extent of green along the middle row and column.
        int left = img.width(), right = -1, top = img.height(), bottom = -1;
        for (int x = 0; x < img.width(); ++x)
            if (Greenish(img.pixel(x, box.center().y()))) left = std::min(left, x), right = x;
        for (int y = 0; y < img.height(); ++y)
            if (Greenish(img.pixel(box.center().x(), y))) top = std::min(top, y), bottom = y;
        covered[i] = QRect(QPoint(left, top), QPoint(right, bottom));
    }
    QCOMPARE(covered[0], covered[1]);
}

// The picture is the window's client area from the toolbar line down, as
// displayed; another window size gives a picture of another size.
void ReportTest::captureTakesTheWindowBelowTheLine() {
    QWidget main;
    main.setStyleSheet("background: rgb(0, 160, 0);");
    auto* toolbar = new QWidget(&main);
    toolbar->setStyleSheet("background: rgb(255, 0, 0);");
    for (QSize size : {QSize(500, 300), QSize(700, 420)}) {
        main.resize(size);
        toolbar->setGeometry(0, 0, size.width(), 40);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QImage picture = CaptureMainWindow(&main, 40).toImage();
        QCOMPARE(picture.size() / picture.devicePixelRatio(), size - QSize(0, 40));
        for (QPoint p : {QPoint(0, 0), QPoint(picture.width() - 1, 0),
                         QPoint(picture.width() / 2, picture.height() - 1)})
            QVERIFY(Greenish(picture.pixel(p)));
    }
    QVERIFY(CaptureMainWindow(&main, 10'000).isNull());  // nothing below the line
}

// Captions, groups, names, hints, copies 1 to 10 and the Tab order that
// skips the two editors.
void ReportTest::optionsWindowControls() {
    TFrmDtgAnalyP_A1 chartPage;
    TFrmDtgAnalyP_B1 screenPage;
    TFrmDtgAnalyP_A chart(state, chartPage, nullptr);
    TFrmDtgAnalyP_B screen(state, screenPage, nullptr);
    QCOMPARE(chart.windowTitle(), QStringLiteral("챠트 출력"));
    QCOMPARE(screen.windowTitle(), QStringLiteral("화면 출력"));
    for (ReportOptionsWindow* w :
         {static_cast<ReportOptionsWindow*>(&chart), static_cast<ReportOptionsWindow*>(&screen)}) {
        QStringList groups;
        for (QGroupBox* g : w->findChildren<QGroupBox*>())
            groups << g->title();
        QCOMPARE(groups, (QStringList{" 프린터 ", " 인쇄범위 ", " 용지 및 옵션 "}));
        struct Button {
            const char* name;
            QString text, hint;
        } buttons[] = {{"BBtnPrint", "인쇄(&P)", "프린터로 출력하기"},
                       {"BBtnPreview", "미리보기(&V)", "화면으로 미리보기"},
                       {"BBtnPdf", "PDF 저장", "PDF 파일로 저장하기"},
                       {"BBtnClose", "닫기(&X)", "인쇄 작업 종료"}};
        for (const Button& b : buttons) {
            QPushButton* button = Child<QPushButton>(w, b.name);
            QVERIFY(button);
            QCOMPARE(button->text(), b.text);
            QCOMPARE(button->toolTip(), b.hint);
        }
        auto* copies = Child<QSpinBox>(w, "SEdtReportCount");
        QCOMPARE(copies->value(), 1);
        QCOMPARE(copies->toolTip(), QStringLiteral("출력물 매수"));
        for (auto [typed, kept] : {std::pair{0, 1}, {11, 10}, {7, 7}}) {
            copies->setValue(typed);
            QCOMPARE(copies->value(), kept);
        }
        auto* printers = Child<QComboBox>(w, "CbBoxSelectPrinter");
        QVERIFY(!printers->isEditable());

        ShowActive(*w);
        QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(w, "BBtnPrint"));
        QCOMPARE(printers->currentText(), QStringLiteral("Laser"));
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{"BBtnPrint", "BBtnPreview", "BBtnPdf", "BBtnClose", "BBtnPrint"}));
        Child<QPushButton>(w, "BBtnClose")->click();
        QVERIFY(!w->isVisible());
    }
    // The copies value stays for the next showing.
    ShowActive(chart);
    QCOMPARE(Child<QSpinBox>(&chart, "SEdtReportCount")->value(), 7);
    chart.close();
}

// The editors' keys: Left, Right and Space step through the printers with
// wrapping and remember the choice; Up and Down move between controls and
// never change the copies; Enter goes to the next Tab stop; the focus tint
// comes and goes.
void ReportTest::editorKeysAndTint() {
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    ShowActive(window);
    auto* printers = Child<QComboBox>(&window, "CbBoxSelectPrinter");
    auto* copies = Child<QSpinBox>(&window, "SEdtReportCount");
    auto* printButton = Child<QPushButton>(&window, "BBtnPrint");
    QSettings remembered(dir.filePath("printer.ini"), QSettings::IniFormat);

    const QColor base = printers->palette().color(QPalette::Button);
    const QColor editorBase = copies->palette().color(QPalette::Base);
    printers->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), printers);
    QCOMPARE(printers->palette().color(QPalette::Button),
             QColor(base.red() & 0xD1, base.green() & 0xD6, base.blue() & 0xFE));

    struct Step {
        Qt::Key key;
        QString printer;
    } steps[] = {{Qt::Key_Right, "Ink"}, {Qt::Key_Right, "PDF"}, {Qt::Key_Left, "Ink"},
                 {Qt::Key_Space, "PDF"}, {Qt::Key_Up, "PDF"},    {Qt::Key_Left, "Ink"}};
    for (const Step& s : steps) {
        QTest::keyClick(printers, s.key);
        QCOMPARE(printers->currentText(), s.printer);
        QCOMPARE(QApplication::focusWidget(), printers);
        remembered.sync();
        QCOMPARE(remembered.value("Print/Printer").toString(), s.printer);
    }
    QCOMPARE(print->CurrentPrinter(), QStringLiteral("Ink"));

    QTest::keyClick(printers, Qt::Key_Down);
    QTRY_VERIFY(copies->hasFocus() || QApplication::focusWidget()->parent() == copies);
    QCOMPARE(printers->palette().color(QPalette::Button), base);
    QCOMPARE(copies->palette().color(QPalette::Base),
             QColor(editorBase.red() & 0xD1, editorBase.green() & 0xD6, editorBase.blue() & 0xFE));
    copies->setValue(3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), printers);
    QTest::keyClick(printers, Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), printButton);
    QCOMPARE(copies->value(), 3);
    QCOMPARE(copies->palette().color(QPalette::Base), editorBase);

    // Enter from the printer list skips the copies: it takes no Tab.
    printers->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), printers);
    QTest::keyClick(printers, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), printButton);
    // Entering the copies selects the whole number.
    copies->setFocus();
    QTRY_COMPARE(copies->findChild<QLineEdit*>()->selectedText(), QStringLiteral("3"));
    window.close();
}

// Pressed by its accelerator while the copies are being typed, preview
// still gets the typed number; it paints the same page on the previewed
// printer, landscape.
void ReportTest::acceleratorFinishesTheCopiesInput() {
    const ChartSeries series = Steady(At(10, 0, 0), 60, false);
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.SetSpan(series.firstTime, series.lastTime);
    int copies = 0;
    const QString pdf = dir.filePath("preview.pdf");
    window.ShowPreview = [&](QPrinter& p, const std::function<void(QPrinter*)>& paint) {
        copies = p.copyCount();
        QCOMPARE(p.pageLayout().orientation(), QPageLayout::Landscape);
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        paint(&p);
    };
    ShowActive(window);
    auto* spin = Child<QSpinBox>(&window, "SEdtReportCount");
    spin->setFocus();
    QTRY_VERIFY(spin->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "4");
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(copies, 4);
    QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(&window, "BBtnPreview"));
    QVERIFY(PdfText(pdf).contains("운행기록 분석 (1초)"));
    window.close();
}

// No printer at all: the warning once for a showing, the list untouched,
// printing refused with the same warning, and the PDF still written.
void ReportTest::noPrinterInstalled() {
    installed.clear();
    const ChartSeries series = Steady(At(10, 0, 0), 60, false);
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.SetSpan(series.firstTime, series.lastTime);
    const QString warning = QStringLiteral("경고|설치된 프린터 드라이브가 없습니다.");
    ShowActive(window);
    window.FormActivate();  // as when the warning's box closes
    QCOMPARE(messages, QStringList{warning});
    QCOMPARE(Child<QComboBox>(&window, "CbBoxSelectPrinter")->count(), 0);

    messages.clear();
    Child<QPushButton>(&window, "BBtnPrint")->click();
    QCOMPARE(messages, QStringList{warning});
    messages.clear();
    const QString pdf = SavePdf(window, "noprinter.pdf");
    QVERIFY(messages.isEmpty());
    QVERIFY(PdfText(pdf).contains("운행기록 분석 (1초)"));
    window.close();

    // A new showing warns again.
    ShowActive(window);
    QCOMPARE(messages, QStringList{warning});
    window.close();
}

// The machine's print queue in the list, chosen, and found again by the
// next run, whatever the case and blanks the name was remembered with.
void ReportTest::realQueueAndRememberedPrinter() {
    if (!HasQueue()) QSKIP("no print queue \"PDF\" (scripts/start-cups.sh adds one)");
    {
        TPRINT_CLASS real;
        RealPrinters(real);
        state.PrintClass = &real;
        TFrmDtgAnalyP_B1 page;
        TFrmDtgAnalyP_B window(state, page, nullptr);
        ShowActive(window);
        auto* printers = Child<QComboBox>(&window, "CbBoxSelectPrinter");
        QCOMPARE(printers->count(), QPrinterInfo::availablePrinterNames().size());
        const int pdf = printers->findText("PDF");
        QVERIFY(pdf >= 0);
        if (printers->currentIndex() == pdf) printers->setCurrentIndex(-1);
        printers->setCurrentIndex(pdf);
        QCOMPARE(real.CurrentPrinter(), QStringLiteral("PDF"));
        window.close();
    }
    for (QString remembered : {QString("PDF"), QString(" pdf ")}) {
        QSettings(dir.filePath("printer.ini"), QSettings::IniFormat)
            .setValue("Print/Printer", remembered);
        TPRINT_CLASS next;  // the next run
        RealPrinters(next);
        next.DefaultPrinter = [] { return QString(); };
        QComboBox box;
        const int index = next.FillPrinterList(&box);
        QCOMPARE(box.itemText(index), QStringLiteral("PDF"));
        QCOMPARE(next.CurrentPrinter(), QStringLiteral("PDF"));
    }
    state.PrintClass = print.get();
}

// A press of print with the queue chosen ends as a PDF file from the queue.
void ReportTest::printJobToTheQueueWritesAPdf() {
    if (!HasQueue()) QSKIP("no print queue \"PDF\" (scripts/start-cups.sh adds one)");
    TPRINT_CLASS real;
    RealPrinters(real);
    QSettings(dir.filePath("printer.ini"), QSettings::IniFormat).setValue("Print/Printer", "PDF");
    state.PrintClass = &real;
    const ChartSeries series = Steady(At(10, 0, 0), 600, false);
    TFrmDtgAnalyP_A1 page;
    TFrmDtgAnalyP_A window(state, page, nullptr);
    window.Series = [&]() -> const ChartSeries& { return series; };
    window.SetSpan(series.firstTime, series.lastTime);
    ShowActive(window);
    QCOMPARE(Child<QComboBox>(&window, "CbBoxSelectPrinter")->currentText(), QStringLiteral("PDF"));

    // The queue writes into the user's PDF folder, or the anonymous spool.
    const QStringList folders = {QDir::homePath() + "/PDF", "/var/spool/cups-pdf/ANONYMOUS",
                                 "/var/spool/cups-pdf/" + qEnvironmentVariable("USER")};
    auto pdfs = [&] {
        QSet<QString> found;
        for (const QString& f : folders)
            for (QDirIterator it(f, {"*.pdf"}, QDir::Files); it.hasNext();)
                found << it.next();
        return found;
    };
    // Jobs still running from earlier prints must not pass for this one.
    QTRY_VERIFY_WITH_TIMEOUT(QueueIdle(), 60'000);
    const QSet<QString> before = pdfs();
    Child<QPushButton>(&window, "BBtnPrint")->click();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(';')));
    window.close();
    state.PrintClass = print.get();

    QString written;
    QElapsedTimer clock;
    clock.start();
    while (written.isEmpty() && clock.elapsed() < 60'000) {
        // The file is complete once the queue has finished the job.
        const bool idle = QueueIdle();
        for (const QString& f : pdfs() - before) {
            QFile file(f);
            if (idle && file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-") written = f;
        }
        if (written.isEmpty()) QTest::qWait(200);
    }
    QVERIFY2(!written.isEmpty(), "the queue wrote no PDF within 60 s");
    QVERIFY(PdfInfo(written).contains(QRegularExpression("Pages:\\s+1\\n")));
    QFile::remove(written);
}

QTEST_MAIN(ReportTest)
#include "report_test.moc"
