#include <QApplication>
#include <QDir>
#include <QTimer>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/app/qtext.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppState state;
    startWorkspace(state, us(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    MainWindow window(state);
    window.show();
    // Start-up benchmarks measure the time to the first shown window and then leave.
    if (qEnvironmentVariableIsSet("SETFORGE_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
