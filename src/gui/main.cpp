#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

#include "core/app/appstate.h"
#include "core/app/workspacelocation.h"
#include "gui/app/mainwindow.h"
#include "gui/app/qtext.h"
#include "gui/lang/toolkitlanguage.h"

using namespace setforge;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
#ifdef SETFORGE_APP_ID
    // Ties the windows to the installed desktop entry and icon of the same name.
    QGuiApplication::setDesktopFileName(SETFORGE_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(SETFORGE_APP_ID));
#endif
    AppState state;
    const std::string exeDir = us(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    startWorkspace(state, exeDir, locateWorkspace(exeDir, systemWorkspaceProbe()));
    // Qt's own texts (Yes, No, Cancel, the file dialogs) in the saved language, as the program's.
    useToolkitLanguage(state.languageName);
    MainWindow window(state);
    window.show();
    // Start-up benchmarks measure the time to the first shown window and then leave.
    if (qEnvironmentVariableIsSet("SETFORGE_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    // The package check starts the program and lets it end on its own through the ordinary
    // close of the main window, which writes the settings file as a user's close does.
    if (qEnvironmentVariableIsSet("SETFORGE_CLOSE_WHEN_SHOWN"))
        QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
