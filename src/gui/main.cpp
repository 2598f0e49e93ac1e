#include <QApplication>
#include <QDir>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/app/qtext.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppState state;
    startWorkspace(state, us(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    TFSetforgeFirmWare window(state);
    window.show();
    return app.exec();
}
