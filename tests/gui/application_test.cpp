// Start-up services: Qt's own dialogs in Korean, one instance per user even
// when two starts race, and where the settings are read and written.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "app/application.hpp"
#include "app/appstate.hpp"
#include "app/services.hpp"
#include "app/singleinstance.hpp"
#include "common/settings.hpp"

using namespace ondavia;
using namespace ondavia::gui;

namespace {

constexpr const char* kChildVariable = "ONDAVIA_INSTANCE_CHILD";

// One start of the program, as far as the single-instance rule goes: prints
// "serving N" (N the starts that asked it to come forward) or "forwarded".
int InstanceChild(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SingleInstance instance(qEnvironmentVariable(kChildVariable));
    if (instance.IsAlreadyRunning()) {
        std::printf("forwarded\n");
        return 0;
    }
    int activations = 0;
    QObject::connect(&instance, &SingleInstance::Activated, [&] { ++activations; });
    QTimer::singleShot(3000, &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    std::printf("serving %d\n", activations);
    return 0;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

  private slots:
    void programLocale_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("locale");
        QTest::newRow("unset") << ""
                               << "ko_KR";
        QTest::newRow("C") << "C"
                           << "ko_KR";
        QTest::newRow("C.UTF-8") << "C.UTF-8"
                                 << "ko_KR";
        QTest::newRow("POSIX") << "POSIX"
                               << "ko_KR";
        QTest::newRow("English, no country") << "en"
                                             << "ko_KR";
        QTest::newRow("Korean") << "ko_KR.UTF-8"
                                << "ko_KR";
        QTest::newRow("Korean, cp949") << "ko_KR.eucKR"
                                       << "ko_KR";
        QTest::newRow("American English") << "en_US.UTF-8"
                                          << "en_US";
        QTest::newRow("German") << "de_DE@euro"
                                << "de_DE";
    }
    void programLocale() {
        QFETCH(QString, system);
        QFETCH(QString, locale);
        QCOMPARE(ProgramLocale(system).name(), locale);
    }

    void standardButtonsReadKorean() {
        qputenv("LANG", "C");
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        SetUpApplication(*qApp);
        QMessageBox box(QMessageBox::Question, QStringLiteral("확인!"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        const QString yes = box.button(QMessageBox::Yes)->text();
        QVERIFY2(yes.contains(QStringLiteral("예")), qPrintable(yes));
        QVERIFY(!box.button(QMessageBox::No)->text().contains(QStringLiteral("No")));
        QVERIFY(!box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("Cancel")));
    }

    void secondInstanceForwards() {
        const QString id =
            QStringLiteral("ONDAVIA_TEST_%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(id);
        QVERIFY(!first.IsAlreadyRunning());
        QSignalSpy activated(&first, &SingleInstance::Activated);
        {
            SingleInstance second(id);
            QVERIFY(second.IsAlreadyRunning());
        }
        QTRY_COMPARE(activated.count(), 1);
    }

    // Six starts at the same moment: exactly one serves and the other five
    // reach it.
    void simultaneousStartsLeaveOneInstance() {
        const QString id =
            QStringLiteral("ONDAVIA_RACE_%1").arg(QCoreApplication::applicationPid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), id);
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < 6; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->setProgram(QCoreApplication::applicationFilePath());
            starts.push_back(std::move(p));
        }
        for (auto& p : starts)
            p->start();
        QStringList results;
        for (auto& p : starts) {
            QVERIFY(p->waitForFinished(20000));
            results << QString::fromLatin1(p->readAllStandardOutput()).trimmed();
        }
        QCOMPARE(results.filter(QStringLiteral("serving")).size(), 1);
        QCOMPARE(results.filter(QStringLiteral("forwarded")).size(), 5);
        QCOMPARE(results.filter(QStringLiteral("serving")).first(), QStringLiteral("serving 5"));
    }

    void settingsFollowTheWritableFile() {
        QTemporaryDir dir;
        const QString app = dir.filePath("app");
        const QString user = dir.filePath("config/Ondavia");
        QDir().mkpath(app);
        // A writable program folder keeps the file beside the program.
        SettingsLocation where = ResolveSettingsFile(app, user);
        QCOMPARE(where.file, app + "/ONDAVIA.INI");
        QCOMPARE(where.userCopy, user + "/ONDAVIA.INI");
        // A program folder that is not there: the per-user file.
        QCOMPARE(ResolveSettingsFile(dir.filePath("gone"), user).file, user + "/ONDAVIA.INI");
    }

    // A file that cannot be written moves to the per-user copy whole; one
    // that cannot be read is left alone and the user hears which file.
    void settingsWritesFallBackOrTell() {
        QTemporaryDir dir;
        QStringList messages;
        SetMessageHook([&](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
        // A 250-byte name leaves no room for the temporary beside it.
        const QString beside = dir.filePath(QString(250, QLatin1Char('I')));
        {
            QFile f(beside);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[COMPANY]\r\nCompanyName=Kept\r\n");
        }
        AppState state;
        LoadSettings(state, dir.path(), beside, dir.filePath("user/ONDAVIA.INI"));
        QCOMPARE(state.ViewerSettings.CompanyName, std::string("Kept"));
        QVERIFY(state.WriteBool(kSectionGeneral, kKeyRPMVisible, false));
        QCOMPARE(state.SettingsFilePath, dir.filePath("user/ONDAVIA.INI"));
        QCOMPARE(ReadAll(state.SettingsFilePath),
                 QByteArray("[COMPANY]\r\nCompanyName=Kept\r\n[GENERAL]\r\nRPMVisible=0\r\n"));
        QVERIFY(messages.isEmpty());

        const QString folder = dir.filePath("ONDAVIA.INI");
        QVERIFY(QDir().mkpath(folder));
        AppState broken;
        LoadSettings(broken, dir.path(), folder, dir.filePath("user2/ONDAVIA.INI"));
        QVERIFY(!broken.WriteInteger(kSectionGeneral, kKeySelectMap, 1));
        QCOMPARE(broken.SettingsFilePath, folder);
        QVERIFY(!QFileInfo::exists(dir.filePath("user2")));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("오류!|")), qPrintable(messages[0]));
        QVERIFY2(messages[0].contains(folder), qPrintable(messages[0]));
        SetMessageHook({});
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kChildVariable)) return InstanceChild(argc, argv);
    QApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
