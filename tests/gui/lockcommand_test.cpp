// The file list's lock and unlock commands, over a stand-in file list of the
// same shape as the main window's: a name and a form column, sorted by name.
#include <QAction>
#include <QMenu>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>

#include "app/services.hpp"
#include "common/cp949.hpp"
#include "common/datetime.hpp"
#include "common/fileio.hpp"
#include "data/filename.hpp"
#include "search/lockcommand.hpp"
#include "support/builders.hpp"

using namespace ondavia;
using namespace ondavia::gui;
using test::MakeHeader;
using test::MakeRecord;

namespace {

constexpr const char* kPlain = "20261210-12345678-S-01-ABCDEFG";
constexpr const char* kLocked = "20261210-12345678-X-01-ABCDEFG";

struct FileList {
    std::vector<ListedFile> rows;
    QTableWidget grid{0, 2};
    int repaintsSuspended = 0;
    QString status5;

    void Fill(const std::filesystem::path& folder) {
        rows = ListDataFiles(folder, std::nullopt, CurrentYear());
        Show();
    }
    void Show() {
        grid.setRowCount(static_cast<int>(rows.size()));
        for (int i = 0; i < grid.rowCount(); ++i) {
            grid.setItem(i, 0, new QTableWidgetItem(QString::fromStdString(rows[i].displayName)));
            grid.setItem(i, 1, new QTableWidgetItem(QString::number(ModeNumber(rows[i].fileMode))));
        }
    }
    QStringList Names() const {
        QStringList out;
        for (int i = 0; i < grid.rowCount(); ++i)
            out << grid.item(i, 0)->text() + ":" + grid.item(i, 1)->text();
        return out;
    }
    FileListAccess Access() {
        FileListAccess a;
        a.FindFileRow = [this](const std::string& name) { return FindFileRow(rows, name); };
        a.AddFileRow = [this](const ListedFile& f) {
            rows.push_back(f);
            std::stable_sort(
                rows.begin(), rows.end(),
                [](const ListedFile& x, const ListedFile& y) { return x.name < y.name; });
            Show();
        };
        a.SetFileMode = [this](int row, int mode) {
            rows[static_cast<size_t>(row)].fileMode = LayoutFromMode(mode);
            grid.item(row, 1)->setText(QString::number(mode));
        };
        a.RowCount = [this] { return grid.rowCount(); };
        a.SetFileCountText = [this](const QString& t) { status5 = t; };
        a.SetUpdatesEnabled = [this](bool on) {
            if (!on) ++repaintsSuspended;
            grid.setUpdatesEnabled(on);
        };
        return a;
    }
    const ListedFile& Row(const char* name) const {
        int row = FindFileRow(rows, name);
        if (row < 0) qFatal("no row %s", name);
        return rows[static_cast<size_t>(row)];
    }
};

}  // namespace

class LockCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    std::unique_ptr<FileList> list;
    QStringList messages;  // "title|text" of every box shown
    QList<bool> answers;   // scripted answers to questions; No once they run out

    std::string Plain() const {
        return test::PackedFile(MakeHeader(), {MakeRecord(), MakeRecord()});
    }
    std::filesystem::path PathOf(const char* stem) const {
        return dir->path() / (std::string(stem) + ".TXT");
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        list = std::make_unique<FileList>();
        messages.clear();
        answers.clear();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return !answers.isEmpty() && answers.takeFirst();
        });
    }
    void cleanup() { SetMessageHook({}); }

    void popupOffersOnlyTheOpenedFile_data() {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<bool>("lock");
        QTest::addColumn<bool>("unlock");
        const QString folder = "/HOME/DTG/DATA/";
        QTest::newRow("plain, opened") << kPlain << folder + kPlain + ".TXT" << true << false;
        QTest::newRow("locked, opened") << kLocked << folder + kLocked + ".TXT" << false << true;
        QTest::newRow("another row") << kPlain << folder + kLocked + ".TXT" << false << false;
        QTest::newRow("nothing opened yet") << kPlain << QString() << false << false;
        QTest::newRow("24 characters")
            << "20261210-12345678-01" << folder + "20261210-12345678-01.TXT" << false << false;
        QTest::newRow("28 characters") << "20261210-123456789012-01"
                                       << folder + "20261210-123456789012-01.TXT" << false << false;
        QTest::newRow("M letter") << "20261210-12345678-M-01-ABCDEFG"
                                  << folder + "20261210-12345678-M-01-ABCDEFG.TXT" << false
                                  << false;
        QTest::newRow("N letter") << "20261210-12345678-N-01-ABCDEFG"
                                  << folder + "20261210-12345678-N-01-ABCDEFG.TXT" << false
                                  << false;
    }
    void popupOffersOnlyTheOpenedFile() {
        QFETCH(QString, focused);
        QFETCH(QString, opened);
        QFETCH(bool, lock);
        QFETCH(bool, unlock);
        QMenu menu;
        QAction* PMLock = menu.addAction(QStringLiteral("암호화 진행(&L)"));
        QAction* PMUnlock = menu.addAction(QStringLiteral("암호화 해제(&U)"));
        // Whatever an earlier opening showed is recomputed.
        PMLock->setVisible(!lock);
        PMUnlock->setVisible(!unlock);
        PMenuFilelistPopup(PMLock, PMUnlock, focused, opened);
        QCOMPARE(PMLock->isVisible(), lock);
        QCOMPARE(PMUnlock->isVisible(), unlock);
    }

    void lockAddsTheNewFileToTheList() {
        dir->Write(std::string(kPlain) + ".TXT", Plain());
        dir->Write("20261210-99999999-S-01-ABCDEFG.TXT", Plain());
        list->Fill(dir->path());
        list->grid.setCurrentCell(0, 0);

        // No: nothing happens.
        QCOMPARE(PMLock_UnlockClick(nullptr, TransformDirection::Lock, list->Row(kPlain),
                                    list->Access()),
                 -1);
        QCOMPARE(messages, QStringList{QStringLiteral(
                               "확인!|[ 20261210-12345678-S-01-ABCDEFG.TXT ] 파일의 암호화를 "
                               "진행 하겠습니까?   ")});
        QVERIFY(!std::filesystem::exists(PathOf(kLocked)));
        QCOMPARE(list->repaintsSuspended, 0);

        messages.clear();
        answers = {true};
        QCOMPARE(PMLock_UnlockClick(nullptr, TransformDirection::Lock, list->Row(kPlain),
                                    list->Access()),
                 0);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[1], QStringLiteral("확인!|암호화 진행을 완료 하였습니다.   "));
        QCOMPARE(ReadWholeFile(PathOf(kLocked)),
                 test::Xor(Plain(), LockKey(std::string(kLocked) + ".TXT")));
        // Sorted in among the others, packed, and counted.
        QCOMPARE(list->Names(), (QStringList{QString(kPlain) + ":0", QString(kLocked) + ":0",
                                             "20261210-99999999-S-01-ABCDEFG:0"}));
        QCOMPARE(list->status5, QStringLiteral("파일 갯수 :  3"));
        QCOMPARE(list->Row(kLocked).path, PathOf(kLocked));
        QCOMPARE(list->repaintsSuspended, 1);
        QVERIFY(list->grid.updatesEnabled());
        QCOMPARE(list->grid.currentRow(), 0);

        // Again: the copy is replaced; the list keeps one row of it.
        messages.clear();
        list->status5.clear();
        answers = {true};
        QCOMPARE(PMLock_UnlockClick(nullptr, TransformDirection::Lock, list->Row(kPlain),
                                    list->Access()),
                 1);
        QCOMPARE(list->grid.rowCount(), 3);
        QVERIFY(list->status5.isEmpty());
        QCOMPARE(messages[1], QStringLiteral("확인!|암호화 진행을 완료 하였습니다.   "));
    }

    void unlockSetsTheFormOfAListedPlainFile() {
        // The plain file is listed in line form; its packed replacement
        // takes its row.
        std::string lines =
            test::TextFile(MakeHeader(), {MakeRecord(), MakeRecord(), MakeRecord()});
        dir->Write(std::string(kPlain) + ".TXT", lines);
        dir->Write(std::string(kLocked) + ".TXT",
                   test::Xor(Plain(), LockKey(std::string(kLocked) + ".TXT")));
        list->Fill(dir->path());
        QCOMPARE(list->Names(), (QStringList{QString(kPlain) + ":2", QString(kLocked) + ":0"}));

        answers = {true};
        QCOMPARE(PMLock_UnlockClick(nullptr, TransformDirection::Unlock, list->Row(kLocked),
                                    list->Access()),
                 0);
        QCOMPARE(messages,
                 (QStringList{QStringLiteral("확인!|[ 20261210-12345678-X-01-ABCDEFG.TXT ] 파일의 "
                                             "암호화 해제를 진행 하겠습니까?   "),
                              QStringLiteral("확인!|암호화 해제를 완료 하였습니다.   ")}));
        QCOMPARE(list->Names(), (QStringList{QString(kPlain) + ":0", QString(kLocked) + ":0"}));
        QCOMPARE(ReadWholeFile(PathOf(kPlain)), Plain());
        QVERIFY(list->status5.isEmpty());
    }

    void failuresLeaveTheListAlone_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("error");
        QTest::newRow("lock") << int(TransformDirection::Lock)
                              << QStringLiteral(
                                     "오류!|암호화 진행중 오류가 발생 하였습니다.   "
                                     "\n\n확인후 다시 진행 하십시요.");
        QTest::newRow("unlock") << int(TransformDirection::Unlock)
                                << QStringLiteral(
                                       "오류!|암호화 해제중 오류가 발생 하였습니다.   "
                                       "\n\n확인후 다시 진행 하십시요.");
    }
    void failuresLeaveTheListAlone() {
        QFETCH(int, direction);
        QFETCH(QString, error);
        const auto d = static_cast<TransformDirection>(direction);
        const char* source = d == TransformDirection::Lock ? kPlain : kLocked;
        const char* target = d == TransformDirection::Lock ? kLocked : kPlain;
        dir->Write(std::string(source) + ".TXT", Plain());
        // A folder in the copy's place: it cannot be put there.
        std::filesystem::create_directory(PathOf(target));
        list->Fill(dir->path());
        const QStringList before = list->Names();
        answers = {true};
        QCOMPARE(PMLock_UnlockClick(nullptr, d, list->Row(source), list->Access()), 99);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[1], error);
        QCOMPARE(list->Names(), before);
        QVERIFY(list->status5.isEmpty());
        QVERIFY(list->grid.updatesEnabled());
        QVERIFY(std::filesystem::is_directory(PathOf(target)));
    }
};

QTEST_MAIN(LockCommandTest)
#include "lockcommand_test.moc"
