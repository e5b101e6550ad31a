// The export commands of the record grid: the question, progress in the
// status bar, where the files go and the closing messages.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "app/services.hpp"
#include "output/exportcommands.hpp"
#include "support/builders.hpp"

using namespace ondavia;
using namespace ondavia::gui;

class ExportCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Recording rec;
    QStringList messages;  // "title|text" of every box
    bool answer = true;    // the answer to the question
    QStringList status;    // "panel|text" of every status change
    QStringList opened;    // workbooks handed to the spreadsheet program
    bool programInstalled = true;

    StatusSetter Status() {
        return [this](int panel, const QString& text) {
            status << QStringLiteral("%1|%2").arg(panel).arg(text);
        };
    }
    WorkbookOpener Opener() {
        return [this](const QString& path) {
            opened << path;
            return programInstalled;
        };
    }
    QString Data() const { return dir.filePath("data"); }

  private slots:
    void initTestCase() {
        QApplication::setApplicationDisplayName(QStringLiteral("Ondavia"));
        // More records than one progress step, so that progress shows.
        std::string bytes = test::MakeHeader() + "\r\n";
        for (int i = 0; i < 5000; ++i) {
            test::RecordFields f;
            f.time = test::ClockText(36000 + i);
            bytes += test::MakeRecord(f) + "\r\n";
        }
        LoadOptions o;
        o.upperName = "20261210-12345678-02.TXT";
        o.pivotYear = 2026;
        QVERIFY(LoadRecordingBytes(bytes, o, rec).ok());
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return answer;
        });
    }
    void cleanupTestCase() { SetMessageHook({}); }

    void init() {
        QDir(Data()).removeRecursively();
        QDir(dir.filePath("tmp")).removeRecursively();
        QDir().mkpath(Data());
        QDir().mkpath(dir.filePath("tmp"));
        messages.clear();
        status.clear();
        opened.clear();
        answer = true;
        programInstalled = true;
    }

    void gpsLog() {
        answer = false;
        QVERIFY(!ExportGpsLog(nullptr, rec, "20261210-12345678-02", Data(), Status()));
        QCOMPARE(messages, QStringList{"확인!|G.P.S 로그 파일을 생성 하시겠습니까?    "});
        QVERIFY(status.isEmpty());
        QVERIFY(QDir(Data()).isEmpty());

        answer = true;
        messages.clear();
        QVERIFY(ExportGpsLog(nullptr, rec, "20261210-12345678-02", Data(), Status()));
        QCOMPARE(messages.last(), QStringLiteral("확인!|작업을 완료 하였습니다!!!  "));
        QCOMPARE(status, (QStringList{"2|4,096", "2|5,000", "2|"}));
        QFile log(Data() + "/20261210-12345678-02.LOG");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count('\n'), 5000);

        // Without a focused row the recording names the log; a folder that
        // cannot be written is an error and leaves nothing.
        QVERIFY(ExportGpsLog(nullptr, rec, {}, dir.filePath("tmp"), Status()));
        QVERIFY(QFile::exists(dir.filePath("tmp/20261210-12345678-02.LOG")));
        messages.clear();
        QVERIFY(!ExportGpsLog(nullptr, rec, "X", dir.filePath("missing"), Status()));
        QCOMPARE(messages.last(),
                 QStringLiteral("오류!|작업중 오류가 발생하여 작업을 중지합니다!!!  "));
        QCOMPARE(status.last(), QStringLiteral("2|"));
    }

    void workbook() {
        answer = false;
        QVERIFY(ExportWorkbook(nullptr, rec, "A", Data(), Status(), Opener()).isEmpty());
        QCOMPARE(messages, QStringList{"확인!|Excel 파일을 생성 하시겠습니까?    "});
        QVERIFY(opened.isEmpty());

        answer = true;
        messages.clear();
        const QString path =
            ExportWorkbook(nullptr, rec, "20261210-12345678-02", Data(), Status(), Opener());
        QCOMPARE(path, Data() + "/20261210-12345678-02.xlsx");
        QVERIFY(QFile::exists(path));
        QCOMPARE(opened, QStringList{path});
        QCOMPARE(messages.size(), 1);  // the question only
        QCOMPARE(status, (QStringList{"2|4,096", "2|5,000", "2|", "2|Excel 파일 : " + path}));
    }

    void workbookWithoutProgramOrFolder() {
        // No spreadsheet program: the message, and the file stays.
        programInstalled = false;
        QString path = ExportWorkbook(nullptr, rec, "A", Data(), Status(), Opener());
        QVERIFY(QFile::exists(path));
        QCOMPARE(messages.last(), QStringLiteral("Ondavia|EXCEL이 설치되어 있지 않습니다 !!!"));

        // A data folder that cannot be written sends it to the temporary folder.
        programInstalled = true;
        path = ExportWorkbook(nullptr, rec, "A", dir.filePath("missing"), Status(), Opener(),
                              dir.filePath("tmp"));
        QCOMPARE(path, dir.filePath("tmp/A.xlsx"));
        QCOMPARE(status.last(), "2|Excel 파일 : " + path);

        // Nowhere to write: the reason follows the message; nothing is opened.
        opened.clear();
        messages.clear();
        path = ExportWorkbook(nullptr, rec, "A", dir.filePath("missing"), Status(), Opener(),
                              dir.filePath("missing2"));
        QVERIFY(path.isEmpty());
        QVERIFY(opened.isEmpty());
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages.last().startsWith("Ondavia|데이터 저장 오류 !!! - ") &&
                     messages.last().size() > QString("Ondavia|데이터 저장 오류 !!! - ").size(),
                 qPrintable(messages.last()));
        QCOMPARE(status.last(), QStringLiteral("2|"));
    }
};

QTEST_MAIN(ExportCommandsTest)
#include "exportcommands_test.moc"
