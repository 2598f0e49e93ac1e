#include <QtTest>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/app/settings.h"
#include "gui/app/aboutdialog.h"
#include "gui/app/mainwindow.h"
#include "gui/app/newprojectdialog.h"
#include "gui/app/openprojectdialog.h"
#include "gui/report/problemsview.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QString labelText(QWidget& w, const char* name)
{
    auto* label = w.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

bool shown(QWidget& w, const char* name)
{
    auto* child = w.findChild<QWidget*>(name);
    return child && !child->isHidden();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void refusesStepsWithoutProject();
    void createOpenAndReopenProject();
    void newProjectRefusals();
    void openDialogOpensOnEnterAndDoubleClick_data();
    void openDialogOpensOnEnterAndDoubleClick();
    void stepsFollowTheDeviceVariant_data();
    void stepsFollowTheDeviceVariant();
    void languageFileChangesTexts();
    void aboutShowsTheWorkspaceInUse();
    void windowsKeepTheirObjectNames();
};

// Scripts, style sheets and these tests find the windows by these names; a C++ rename must not
// change them.
void MainWindowTest::windowsKeepTheirObjectNames()
{
    TempWorkspace ws;
    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    const SetforgeWindows& w = window.windows();
    const std::pair<QObject*, const char*> expected[] = {
        {&window, "TFSetforgeFirmWare"}, {w.about, "TFAbout"},           {w.newProject, "TFNew_Project"},
        {w.openProject, "TFOpenConf"},   {w.options, "TFSoftOptions"},   {w.communication, "TFParGen"},
        {w.sdoClient, "TFSDOClient"},    {w.emcyAccess, "TFEMCYAccess"}, {w.emcyDefine, "TFEMCYDefine"},
        {w.pdoReceive, "TFPDOReceive"},  {w.rpdoDefine, "TFRPDODefine"}, {w.pdoTransmit, "TFPDOTransmit"},
        {w.tpdoDefine, "TFTPDODefine"},  {w.nodeGuard, "TFNodeGuard"},   {w.update, "FBoot"},
        {w.problems, "FProblems"},
    };
    for (const auto& [object, name] : expected) {
        QVERIFY2(object, name);
        QCOMPARE(object->objectName(), QString(name));
    }
}

void MainWindowTest::refusesStepsWithoutProject()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    window.show();
    QCOMPARE(labelText(window, "L_Name_Conf"), QString("None Configuration Opened "));
    QCOMPARE(labelText(window, "L_Name_Conf_L2"), QString("Use Step1 to open or create new configuration"));
    for (const char* step : {"Btn_Prm_Gen", "Btn_SDO_Client", "Btn_NodeGuard", "Btn_CreateBin"}) {
        msgs.clear();
        window.clickButton(step);
        QCOMPARE(msgs.texts(), QStringList{"Error! Project not Valid"});
        QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    }
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowTest::createOpenAndReopenProject()
{
    TempWorkspace ws;
    FakeMessages msgs;
    {
        AppState state;
        startWorkspace(state, ws.utf8());
        MainWindow window(state);
        window.show();

        whenShown<NewProjectDialog>([](NewProjectDialog* d) {
            d->findChild<QLineEdit*>("E_New_Proj")->setText("Line 1");
            d->findChild<QPushButton*>("Btn_OK")->click();
        });
        window.clickButton("Btn_New");
        QVERIFY(QDir(ws.path() + "/PROJECTS/Line 1/bin").exists());
        QCOMPARE(labelText(window, "L_Name_Conf"), QString("Opened Configuration of the Converter : "));
        QCOMPARE(labelText(window, "L_Name_Conf_L2"), QString("Line 1"));
        QVERIFY(!shown(window, "Btn_EDS_File"));
        QVERIFY(!shown(window, "L_Step_9"));

        QVERIFY(QDir().mkpath(ws.path() + "/PROJECTS/Line 2/bin"));
        // The open dialog preselects the open project; the user picks the other one.
        QStringList listed;
        whenShown<OpenProjectDialog>([&listed](OpenProjectDialog* d) {
            auto* list = d->findChild<QListWidget*>("LB_Conf");
            listed = d->listedProjects();
            QCOMPARE(list->currentItem()->text(), QString("Line 1"));
            list->setCurrentRow(listed.indexOf("Line 2"));
            d->findChild<QPushButton*>("Btn_OK")->click();
        });
        window.clickButton("Btn_Open");
        listed.sort();
        QCOMPARE(listed, (QStringList{"Line 1", "Line 2"}));
        QCOMPARE(labelText(window, "L_Name_Conf_L2"), QString("Line 2"));
        QCOMPARE(QString::fromStdString(state.projectName), QString("Line 2"));
        window.close(); // writes the settings
    }
    QVERIFY(QFile::exists(ws.path() + "/Setforge.xml"));
    QCOMPARE(QString::fromStdString(readSettings(ws.utf8() + "/Setforge.xml").projectName),
             QString("Line 2"));

    // A restart of the window objects reopens the project.
    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    window.show();
    QCOMPARE(labelText(window, "L_Name_Conf_L2"), QString("Line 2"));
    QVERIFY(state.hasProject());
    QVERIFY(msgs.texts().isEmpty());
}

void MainWindowTest::openDialogOpensOnEnterAndDoubleClick_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("Return") << "Return";
    QTest::newRow("double-click") << "double-click";
}

void MainWindowTest::openDialogOpensOnEnterAndDoubleClick()
{
    QFETCH(QString, how);
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    QVERIFY(QDir().mkpath(ws.path() + "/PROJECTS/Line 1/bin"));
    QVERIFY(QDir().mkpath(ws.path() + "/PROJECTS/Line 2/bin"));
    MainWindow window(state);
    window.show();
    whenShown<OpenProjectDialog>([&how](OpenProjectDialog* d) {
        auto* list = d->findChild<QListWidget*>("LB_Conf");
        list->setCurrentRow(d->listedProjects().indexOf("Line 2"));
        list->setFocus();
        if (how == "double-click") {
            const QRect item = list->visualItemRect(list->currentItem());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        } else {
            QTest::keyClick(list, how == "Enter" ? Qt::Key_Enter : Qt::Key_Return);
        }
        if (d->isVisible())
            d->reject(); // not opened: the test fails below without hanging
    });
    window.clickButton("Btn_Open");
    QCOMPARE(QString::fromStdString(state.projectName), QString("Line 2"));
}

void MainWindowTest::newProjectRefusals()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    QVERIFY(QDir().mkpath(ws.path() + "/PROJECTS/Exists"));
    MainWindow window(state);
    window.show();
    whenShown<NewProjectDialog>([](NewProjectDialog* d) {
        auto* name = d->findChild<QLineEdit*>("E_New_Proj");
        auto* ok = d->findChild<QPushButton*>("Btn_OK");
        for (const char* typed : {"", "Exists", "../outside", ".."}) {
            name->setText(typed);
            ok->click();
        }
        QVERIFY(d->isVisible()); // the dialog stays open after each refusal
        d->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    window.clickButton("Btn_New");
    QCOMPARE(msgs.texts(),
             (QStringList{"Error! Name Project is not valid",
                          "Error! Name project is not valid because directory already exists",
                          "Error! Name project is not valid", "Error! Name project is not valid"}));
    QVERIFY(!QDir(ws.path() + "/outside").exists());
    QVERIFY(!state.hasProject());
}

void MainWindowTest::stepsFollowTheDeviceVariant_data()
{
    QTest::addColumn<QByteArray>("parGen");
    QTest::addColumn<bool>("ethernet");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("1") << QByteArray("<Par_Gen><Select_Device_Type>1</Select_Device_Type></Par_Gen>") << true;
    QTest::newRow("0x1") << QByteArray("<Par_Gen><Select_Device_Type>0x1</Select_Device_Type></Par_Gen>")
                         << true;
    QTest::newRow("0") << QByteArray("<Par_Gen><Select_Device_Type>0</Select_Device_Type></Par_Gen>")
                       << false;
    QTest::newRow("empty") << QByteArray("<Par_Gen><Select_Device_Type/></Par_Gen>") << false;
}

void MainWindowTest::stepsFollowTheDeviceVariant()
{
    QFETCH(QByteArray, parGen);
    QFETCH(bool, ethernet);
    TempWorkspace ws;
    FakeMessages msgs;
    QVERIFY(QDir().mkpath(ws.path() + "/PROJECTS/P/bin"));
    if (!parGen.isEmpty())
        writeFile(ws.path() + "/PROJECTS/P/ParGen.xml", parGen);
    Settings settings;
    settings.projectName = "P";
    QVERIFY(static_cast<bool>(writeSettings(ws.utf8() + "/Setforge.xml", settings)));

    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    window.show();
    auto* createBin = window.findChild<QPushButton*>("Btn_CreateBin");
    QCOMPARE(shown(window, "Btn_EDS_File"), ethernet);
    QCOMPARE(shown(window, "Btn_PDO_Tra_Def"), ethernet);
    QCOMPARE(shown(window, "L_Step_9"), ethernet);
    QCOMPARE(createBin->geometry(), QRect(80, ethernet ? 464 : 420, 170, 36));
    QCOMPARE(window.height(), createBin->y() + 152);
    QCOMPARE(window.width(), 694);
    QCOMPARE(window.findChild<QFrame*>("Shape1")->y(), createBin->y() + 51);
    const char* lastLabel = ethernet ? "L_Step_9" : "L_Step_8";
    QCOMPARE(window.findChild<QWidget*>("L_Telvora")->y(), window.findChild<QWidget*>(lastLabel)->y());
    auto* web = window.findChild<QWidget*>("L_Telvora");
    QVERIFY(web->x() <= 565 && web->x() + web->width() <= 694);
}

void MainWindowTest::languageFileChangesTexts()
{
    TempWorkspace ws;
    FakeMessages msgs;
    QVERIFY(QDir().mkpath(ws.path() + "/LANGUAGE"));
    writeFile(
        ws.path() + "/LANGUAGE/Test.lng",
        "\xEF\xBB\xBF; test language\r\nSTR15 = Neue Konfiguration\r\nSTR18 = Fehler! Projekt ungueltig\r\n");
    Settings settings;
    settings.languageName = "Test";
    QVERIFY(static_cast<bool>(writeSettings(ws.utf8() + "/Setforge.xml", settings)));

    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    window.show();
    QCOMPARE(window.findChild<QPushButton*>("Btn_New")->text(), QString("Neue Konfiguration"));
    QCOMPARE(window.findChild<QPushButton*>("Btn_Open")->text(), QString("Open Configuration"));
    window.clickButton("Btn_Prm_Gen");
    QCOMPARE(msgs.last(), QString("Fehler! Projekt ungueltig"));

    // Back to English: every text returns, on the main window and on its dialogs.
    state.texts.loadDefaults();
    window.applyLanguage();
    QCOMPARE(window.findChild<QPushButton*>("Btn_New")->text(), QString("New Configuration"));
}

// The About window says which workspace is in use and where; an installed program reads its
// caption from the shipped language chosen in the user's settings.
void MainWindowTest::aboutShowsTheWorkspaceInUse()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState portable;
    startWorkspace(portable, ws.utf8());
    AboutDialog besides(portable, nullptr);
    besides.show();
    QCOMPARE(labelText(besides, "L_Workspace"), QString("Workspace beside the program:"));
    QCOMPARE(besides.findChild<QLabel*>("L_Workspace_Dir")->toolTip(), QDir::toNativeSeparators(ws.path()));

    const QString userFolder = ws.path() + "/home/Setforge";
    QVERIFY(QDir().mkpath(userFolder));
    Settings settings;
    settings.languageName = "Deutsch";
    QVERIFY(static_cast<bool>(writeSettings((userFolder + "/Setforge.xml").toStdString(), settings)));
    WorkspaceLocation where;
    where.mode = WorkspaceMode::Installed;
    where.folder = userFolder.toStdString();
    where.shippedLanguageDir = SETFORGE_SOURCE_DIR "/workspace/LANGUAGE";
    AppState installed;
    startWorkspace(installed, ws.utf8() + "/bin", where);
    AboutDialog about(installed, nullptr);
    about.show();
    QCOMPARE(labelText(about, "L_Workspace"), QString("Arbeitsbereich im Datenordner des Benutzers:"));
    auto* folder = about.findChild<QLabel*>("L_Workspace_Dir");
    QCOMPARE(folder->toolTip(), userFolder);
    // The caption and the folder fit the window.
    QVERIFY(folder->fontMetrics().horizontalAdvance(folder->text()) <= folder->width());
    auto* caption = about.findChild<QLabel*>("L_Workspace");
    QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());
    QVERIFY(caption->geometry().bottom() < folder->geometry().top());
    QVERIFY(folder->geometry().bottom() < about.height());
    QVERIFY(msgs.all().empty());
}

} // namespace setforge

QTEST_MAIN(setforge::MainWindowTest)
#include "mainwindow_test.moc"
