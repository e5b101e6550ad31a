#include <QApplication>
#include <QStandardPaths>

#include "app/application.hpp"
#include "app/singleinstance.hpp"
#include "viewer/mainwindow.hpp"
#include "views/mapview.hpp"

int main(int argc, char** argv) {
    ondavia::gui::PrepareBrowserEngine();
    QApplication app(argc, argv);
    ondavia::gui::SetUpApplication(app);

    ondavia::gui::SingleInstance instance(QStringLiteral("ONDAVIA_APP"));
    if (instance.IsAlreadyRunning()) return 0;

    const QString appDir = QApplication::applicationDirPath();
    const ondavia::gui::SettingsLocation settings = ondavia::gui::ResolveSettingsFile(
        appDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    ondavia::gui::Application ondaviaApp(appDir, settings.file, settings.userCopy);
    auto* window = ondaviaApp.FrmOndavia();
    QObject::connect(&instance, &ondavia::gui::SingleInstance::Activated, window, [window] {
        if (window->isMinimized()) window->showNormal();
        window->raise();
        window->activateWindow();
    });
    ondaviaApp.Show();
    return QApplication::exec();
}
