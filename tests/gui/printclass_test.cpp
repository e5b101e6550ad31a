// The report printer: the list, the remembered choice, the shared current
// printer, and the warning when no printer is installed.
#include <QComboBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "app/services.hpp"
#include "output/printclass.hpp"

using namespace ondavia::gui;

class PrintClassTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QStringList installed;
    QStringList messages;

    void StandIn(TPRINT_CLASS& p) {
        const QString file = dir.filePath("printer.ini");
        p.OpenSettings = [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
        p.InstalledPrinters = [this] { return installed; };
        p.DefaultPrinter = [] { return QStringLiteral("Laser"); };
    }

  private slots:
    void init() {
        QFile::remove(dir.filePath("printer.ini"));
        installed = {"PDF", "Laser", "Ink"};
        messages.clear();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
    }
    void cleanup() { SetMessageHook({}); }

    void firstRunSelectsTheDefault() {
        TPRINT_CLASS p;
        StandIn(p);
        QComboBox box;
        QCOMPARE(p.FillPrinterList(&box), 1);
        QCOMPARE(box.count(), 3);
        QCOMPARE(box.currentText(), QStringLiteral("Laser"));
    }

    void choiceIsRememberedAndSharedAcrossWindows() {
        TPRINT_CLASS p;
        StandIn(p);
        QComboBox chartWindow, screenWindow;
        p.FillPrinterList(&chartWindow);
        chartWindow.setCurrentIndex(2);
        p.SelectPrinter(&chartWindow);
        QCOMPARE(p.FillPrinterList(&screenWindow), 2);
        QCOMPARE(screenWindow.currentText(), QStringLiteral("Ink"));

        // The next run finds it again, whatever the case and blanks of the name.
        installed = {"PDF", "Laser", " INK "};
        TPRINT_CLASS next;
        StandIn(next);
        QComboBox box;
        QCOMPARE(next.FillPrinterList(&box), 2);
        QPrinter printer;
        next.ApplyToReport(printer, 3);
        QCOMPARE(printer.copyCount(), 3);
        QCOMPARE(next.CurrentPrinter(), QStringLiteral(" INK "));
    }

    void rememberedPrinterGoneKeepsTheCurrentOne() {
        TPRINT_CLASS p;
        StandIn(p);
        QComboBox box;
        p.FillPrinterList(&box);
        box.setCurrentIndex(0);
        p.SelectPrinter(&box);
        installed = {"Laser", "Ink"};
        QCOMPARE(p.FillPrinterList(&box), 0);  // "PDF" is gone: the default stands
        QCOMPARE(box.currentText(), QStringLiteral("Laser"));
    }

    void noPrinterWarnsAndLeavesTheListAlone() {
        installed.clear();
        TPRINT_CLASS p;
        StandIn(p);
        QComboBox box;
        box.addItem("kept");
        QCOMPARE(p.FillPrinterList(&box), -1);
        QCOMPARE(box.count(), 1);
        QCOMPARE(messages, QStringList{QStringLiteral("경고|설치된 프린터 드라이브가 없습니다.")});
    }
};

QTEST_MAIN(PrintClassTest)
#include "printclass_test.moc"
