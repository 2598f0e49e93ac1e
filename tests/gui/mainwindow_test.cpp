#include <QtTest>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "support/fakemessages.h"
#include "support/workspace.h"

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void refusesStepsWithoutProject();
};

void MainWindowTest::refusesStepsWithoutProject()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    TFSetforgeFirmWare window(state);
    window.show();
    window.clickButton("Btn_Prm_Gen");
    QCOMPARE(msgs.texts(), QStringList{"Error! Project not Valid"});
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
