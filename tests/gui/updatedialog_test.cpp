#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include "core/app/appstate.h"
#include "core/base/paths.h"
#include "core/lang/textid.h"
#include "core/update/echoclient.h"
#include "core/update/ethernetjob.h"
#include "core/update/updatefiles.h"
#include "gui/app/mainwindow.h"
#include "gui/app/windowfactory.h"
#include "gui/update/systemechoclient.h"
#include "gui/update/updatedialog.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

class FakePorts : public SerialPortLister {
public:
    std::vector<SerialPortEntry> ports() override
    {
        ++calls;
        return list;
    }
    std::vector<SerialPortEntry> list;
    int calls = 0;
};

// Answers from a script (the last status repeats) and lets the dialog's clock run on by the
// echo's time-out for every echo, as a real one would at worst.
class ScriptedEcho : public EchoClient {
public:
    EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) override
    {
        addresses.push_back(address);
        if (idle)
            idle();
        const EchoStatus status = script[std::min(addresses.size() - 1, script.size() - 1)];
        clock += status == EchoStatus::Reply ? 3 : timeoutMs;
        return status;
    }
    std::vector<EchoStatus> script{EchoStatus::NoReply};
    std::vector<std::string> addresses;
    std::int64_t clock = 0;
};

// A workspace standing for the executable's folder, with a project and the fake updaters.
struct UpdateFixture {
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    UpdateDialog* dialog = nullptr;
    std::unique_ptr<SetforgeDialog> owner;

    UpdateFixture()
    {
        startWorkspace(state, ws.utf8());
        state.projectName = "Plant 1";
        state.projectDir = joinPath(state.projectsDir, "Plant 1");
        QDir().mkpath(qs(joinPath(state.projectDir, "bin")));
        owner.reset(createUpdateWindow(state, nullptr));
        dialog = qobject_cast<UpdateDialog*>(owner.get());
        qputenv("SETFORGE_FAKE_UPDATER_RECORD", QDir(ws.path()).filePath("updater.record").toUtf8());
        qputenv("SETFORGE_FAKE_UPDATER_EXIT", "0");
        qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "0");
        QVERIFY(installStandInFirmware(state.masterDir));
    }
    static QString qs(const std::string& text) { return QString::fromStdString(text); }

    void installUpdater(const QString& name) const
    {
        const QString target = QDir(ws.path()).filePath(name + exeSuffix());
        QFile::remove(target);
        QVERIFY(QFile::copy(QDir(SETFORGE_TOOLS_DIR).filePath("fake_updater" + exeSuffix()), target));
    }
    QString recordPath() const { return QDir(ws.path()).filePath("updater.record"); }
    QString jobPath() const { return QDir(ws.path()).filePath("Ethernet_Update.xml"); }

    // The fake updater's record: its arguments, working folder and the job it found.
    QStringList recordedArgs() const { return recordLines("arg="); }
    QString recordedCwd() const { return recordLines("cwd=").value(0); }
    QString recordedJob() const
    {
        QFile file(recordPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromUtf8(file.readAll());
        const int at = text.indexOf("\njob=");
        return at < 0 ? QString() : text.mid(at + 5);
    }
    QStringList recordLines(const QString& prefix) const
    {
        QFile file(recordPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList values;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line.startsWith("job="))
                break;
            if (line.startsWith(prefix))
                values << line.mid(prefix.size());
        }
        return values;
    }

    // Shows the dialog in `formType` and runs `action` on it while it is open; the dialog is
    // closed afterwards by Cancel.
    void show(int formType, std::function<void(UpdateDialog*)> action)
    {
        bool ran = false;
        whenShown<UpdateDialog>([&](UpdateDialog* shown) {
            action(shown);
            ran = true;
            shown->findChild<QPushButton*>("Btn_Cancel")->click();
        });
        showUpdateWindow(dialog, formType);
        QVERIFY(ran);
    }

    template <typename T> T* child(const char* name) const { return dialog->findChild<T*>(name); }
};

void typeInto(QWidget* field, const QString& text)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setText(text);
}

} // namespace

class UpdateDialogTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowCreatesTheDialog();
    void serialLayoutAndTexts();
    void serialExecuteStartsTheSerialUpdater();
    void serialWithoutPortStartsNothing();
    void missingFirmwareStopsTheUpdate();
    void refreshRefillsThePortList();
    void systemPortsFillTheList();
    void ethernetLayoutTakesTheSavedAddress();
    void dotKeyMovesThroughTheFields();
    void ethernetToLoopbackWritesTheJobAndStartsTheUpdater();
    void failedCheckStopsEverything_data();
    void failedCheckStopsEverything();
    void missingUpdaterIsReported();
    void launcherLeavesASlowUpdaterRunning();
    void updaterWaitPaintsCountsAndDropsInput();
    void updaterStillRunningAfterTheWait();
    void pingProgramFallback();
    void projectIpButtonFillsTheFields();
    void cancelKeepsThePreviousChoices();
    void otherFormTypeDoesNothing();
    void textsAreTakenOnEveryShowing();
};

void UpdateDialogTest::mainWindowCreatesTheDialog()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    QVERIFY(qobject_cast<UpdateDialog*>(window.windows().update));
    QCOMPARE(window.windows().update->parent(), &window);
}

void UpdateDialogTest::serialLayoutAndTexts()
{
    UpdateFixture f;
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}, {"ttyUSB0", "/dev/ttyUSB0"}};
    f.dialog->setPortLister(&ports);
    f.state.updateOption = 2;
    f.state.readBack = false;
    f.show(0, [&](UpdateDialog* d) {
        QCOMPARE(d->size(), QSize(449, 232));
        QCOMPARE(d->windowTitle(), QString("Update Device by Serial"));
        QCOMPARE(f.child<QLabel>("L_SW_Code")->text(), QString("KX40917"));
        QCOMPARE(f.child<QLabel>("L_SW_Desc")->text(), QString("Update Device Using the Serial Port"));
        QCOMPARE(f.child<QLabel>("L_COM_Port")->text(), QString("Select the COM Port for the Update"));
        QVERIFY(f.child<QFrame>("P_Serial")->isVisible());
        QVERIFY(!f.child<QFrame>("P_IP_Address")->isVisible());
        QVERIFY(f.child<QFrame>("P_Options")->isVisible());
        // Panels stacked from the top with their heights.
        QCOMPARE(f.child<QFrame>("P_Title")->geometry(), QRect(0, 0, 449, 69));
        QCOMPARE(f.child<QFrame>("P_Serial")->geometry(), QRect(0, 69, 449, 51));
        QCOMPARE(f.child<QFrame>("P_Options")->geometry(), QRect(0, 120, 449, 72));
        QCOMPARE(f.child<QFrame>("P_Button")->geometry(), QRect(0, 192, 449, 40));
        auto* options = f.child<QComboBox>("CB_Update_Options");
        QCOMPARE(options->count(), 3);
        QCOMPARE(options->itemText(0), QString("Firmware + Configuration"));
        QCOMPARE(options->itemText(1), QString("Firmware"));
        QCOMPARE(options->itemText(2), QString("Configuration"));
        QCOMPARE(options->currentIndex(), 2);
        QVERIFY(!options->isEditable());
        QVERIFY(!f.child<QCheckBox>("CB_Update_Option_Read_Back")->isChecked());
        QCOMPARE(f.child<QCheckBox>("CB_Update_Option_Read_Back")->text(), QString("Read Back"));
        auto* com = f.child<QComboBox>("CB_COM_Port");
        QVERIFY(!com->isEditable());
        QCOMPARE(com->count(), 2);
        QCOMPARE(com->itemText(0), QString("ttyS0"));
        QCOMPARE(com->currentIndex(), 0);
        QCOMPARE(d->focusWidget(), com);
        QCOMPARE(com->toolTip(), QString("Select the COM Port to use for the Update"));
        QCOMPARE(f.child<QPushButton>("Btn_Update")->text(), QString("Execute Update Firmware"));
        QCOMPARE(f.child<QPushButton>("Btn_Cancel")->text(), QString("Cancel"));
    });
}

void UpdateDialogTest::serialExecuteStartsTheSerialUpdater()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}, {"ttyUSB0", "/dev/ttyUSB0"}};
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog* d) {
        f.child<QComboBox>("CB_COM_Port")->setCurrentIndex(1);
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(1);
        f.child<QCheckBox>("CB_Update_Option_Read_Back")->setChecked(false);
        f.child<QPushButton>("Btn_Update")->click();
        QVERIFY(d->isVisible()); // the dialog stays open for another attempt
        QCOMPARE(f.child<QLabel>("L_Update_Status")->text(),
                 QString("The updater reported success (exit code 0)"));
    });
    const QString sep = QDir::separator();
    const QStringList expected = {"/dev/ttyUSB0",
                                  "FW",
                                  "NO",
                                  "NO",
                                  "NO",
                                  UpdateFixture::qs(f.state.masterDir) + sep + "sim40917.sim",
                                  UpdateFixture::qs(f.state.projectDir) + sep + "bin" + sep};
    QCOMPARE(f.recordedArgs(), expected);
    QCOMPARE(QDir(f.recordedCwd()), QDir(QDir::currentPath()));
    QCOMPARE(f.state.updateOption, 1);
    QCOMPARE(f.state.readBack, false);
    QVERIFY(f.msgs.all().empty());
}

void UpdateDialogTest::serialWithoutPortStartsNothing()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    FakePorts ports; // no serial port on this machine
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) {
        QCOMPARE(f.child<QComboBox>("CB_COM_Port")->currentIndex(), -1);
        f.child<QPushButton>("Btn_Update")->click();
    });
    QCOMPARE(f.msgs.all().size(), std::size_t(1));
    QCOMPARE(f.msgs.all().front().kind, FakeMessages::Kind::Error);
    QCOMPARE(f.msgs.last(), QString("Select the COM Port for the Update"));
    QVERIFY(!QFile::exists(f.recordPath()));
}

// An option with firmware, its file missing from MASTER: an error naming the file, and the
// updater is never started. Configuration alone needs no firmware.
void UpdateDialogTest::missingFirmwareStopsTheUpdate()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    QVERIFY(QFile::remove(QDir(UpdateFixture::qs(f.state.masterDir)).filePath("sim40917.sim")));
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}};
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) {
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(kUpdateFirmware);
        f.child<QPushButton>("Btn_Update")->click();
        QVERIFY(f.child<QPushButton>("Btn_Update")->isEnabled());
    });
    QCOMPARE(f.msgs.all().size(), std::size_t(1));
    QCOMPARE(f.msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY2(f.msgs.last().startsWith("MASTER/sim40917.sim: the firmware file is missing"),
             qPrintable(f.msgs.last()));
    QVERIFY(!QFile::exists(f.recordPath()));

    f.msgs.clear();
    f.show(0, [&](UpdateDialog*) {
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(kUpdateConfiguration);
        f.child<QPushButton>("Btn_Update")->click();
    });
    QVERIFY2(f.msgs.all().empty(), qPrintable(f.msgs.texts().join(" | ")));
    QVERIFY(QFile::exists(f.recordPath()));
}

void UpdateDialogTest::refreshRefillsThePortList()
{
    UpdateFixture f;
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}};
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) {
        auto* com = f.child<QComboBox>("CB_COM_Port");
        ports.list = {{"ttyACM0", "/dev/ttyACM0"}, {"ttyS0", "/dev/ttyS0"}, {"ttyUSB1", "/dev/ttyUSB1"}};
        f.child<QPushButton>("Btn_COM_List")->click();
        QCOMPARE(com->count(), 3);
        QCOMPARE(com->itemText(2), QString("ttyUSB1"));
        QCOMPARE(com->currentIndex(), 0);
        ports.list.clear();
        f.child<QPushButton>("Btn_COM_List")->click();
        QCOMPARE(com->count(), 0);
        QCOMPARE(com->currentIndex(), -1);
    });
    QCOMPARE(ports.calls, 3);
}

// The system's own ports (QSerialPortInfo; Wine maps /dev/ttyS* to COM ports): each one listed
// under its name, COM ports by increasing number on Windows; with none, Update asks for a port
// (text 1507) and starts nothing.
void UpdateDialogTest::systemPortsFillTheList()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    QStringList present;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        present << info.portName();
    QStringList listed;
    f.show(0, [&](UpdateDialog*) {
        auto* com = f.child<QComboBox>("CB_COM_Port");
        for (int i = 0; i < com->count(); ++i)
            listed << com->itemText(i);
        if (listed.isEmpty())
            f.child<QPushButton>("Btn_Update")->click();
    });
    QCOMPARE(listed.size(), present.size());
    for (const QString& name : listed)
        QVERIFY2(present.contains(name), qPrintable(name));
#ifdef Q_OS_WIN
    int previous = 0;
    for (const QString& name : listed) {
        QVERIFY2(name.startsWith("COM"), qPrintable(name));
        const int number = name.mid(3).toInt();
        QVERIFY2(number > previous, qPrintable(listed.join(' ')));
        previous = number;
    }
#endif
    if (listed.isEmpty()) {
        QCOMPARE(f.msgs.all().size(), std::size_t(1));
        QCOMPARE(f.msgs.last(), QString::fromStdString(f.state.texts[TextId::UpdateComPort]));
        QVERIFY(!QFile::exists(f.recordPath()));
    }
}

void UpdateDialogTest::ethernetLayoutTakesTheSavedAddress()
{
    UpdateFixture f;
    f.state.deviceIp = " 127 . 0.10 .3 ";
    f.state.updateOption = 1;
    f.show(1, [&](UpdateDialog* d) {
        QCOMPARE(d->size(), QSize(449, 230));
        QCOMPARE(d->windowTitle(), QString("Update Device by Ethernet (UDP)"));
        QCOMPARE(f.child<QLabel>("L_SW_Desc")->text(), QString("Update Device Using the Ethernet Port"));
        QCOMPARE(f.child<QLabel>("L_IP_Address")->text(), QString("Insert the IP Address of Device"));
        QVERIFY(!f.child<QFrame>("P_Serial")->isVisible());
        QCOMPARE(f.child<QFrame>("P_IP_Address")->geometry(), QRect(0, 69, 449, 49));
        QCOMPARE(f.child<QFrame>("P_Options")->geometry(), QRect(0, 118, 449, 72));
        QCOMPARE(f.child<QFrame>("P_Button")->geometry(), QRect(0, 190, 449, 40));
        const char* names[] = {"E_IP1", "E_IP2", "E_IP3", "E_IP4"};
        const char* parts[] = {"127", "0", "10", "3"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.child<QLineEdit>(names[i])->text(), QString(parts[i]));
            QCOMPARE(f.child<QLineEdit>(names[i])->width(), 41);
        }
        QCOMPARE(f.child<QLineEdit>("E_IP2")->toolTip(), QString("Insert second byte of IP Address"));
        QCOMPARE(d->focusWidget(), f.child<QLineEdit>("E_IP1"));
        QCOMPARE(f.child<QComboBox>("CB_Update_Options")->currentIndex(), 1);
    });

    // An address that does not split into four bytes leaves the fields as they were.
    f.state.deviceIp = "127.0.0.300";
    f.show(1, [&](UpdateDialog*) { QCOMPARE(f.child<QLineEdit>("E_IP3")->text(), QString("10")); });
    UpdateFixture fresh;
    fresh.state.deviceIp = "127.0.1";
    fresh.show(1, [&](UpdateDialog*) {
        for (const char* name : {"E_IP1", "E_IP2", "E_IP3", "E_IP4"})
            QCOMPARE(fresh.child<QLineEdit>(name)->text(), QString("0"));
    });
}

void UpdateDialogTest::dotKeyMovesThroughTheFields()
{
    UpdateFixture f;
    f.show(1, [&](UpdateDialog* d) {
        for (const char* name : {"E_IP1", "E_IP2", "E_IP3", "E_IP4"})
            f.child<QLineEdit>(name)->clear();
        QCOMPARE(d->focusWidget(), f.child<QLineEdit>("E_IP1"));
        for (const QChar c : QString("10.0.0.7.")) {
            QWidget* target = d->focusWidget();
            QTest::keyClick(target, c.toLatin1());
        }
        QCOMPARE(f.child<QLineEdit>("E_IP1")->text(), QString("10"));
        QCOMPARE(f.child<QLineEdit>("E_IP2")->text(), QString("0"));
        QCOMPARE(f.child<QLineEdit>("E_IP3")->text(), QString("0"));
        QCOMPARE(f.child<QLineEdit>("E_IP4")->text(), QString("7")); // the last "." goes nowhere
        QCOMPARE(d->focusWidget(), f.child<QLineEdit>("E_IP4"));
    });
}

void UpdateDialogTest::ethernetToLoopbackWritesTheJobAndStartsTheUpdater()
{
    UpdateFixture f;
    f.installUpdater("Ethernet_Update");
    f.state.deviceIp = "127.0.0.2";
    f.show(1, [&](UpdateDialog* d) {
        typeInto(f.child<QLineEdit>("E_IP4"), "1");
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(2);
        f.child<QPushButton>("Btn_Update")->click();
        QVERIFY(d->isVisible());
    });
    if (f.dialog->pingResult() == EchoNoneReceived && !IcmpSocketEchoClient::usable() &&
        QStandardPaths::findExecutable("ping").isEmpty())
        QSKIP("neither an ICMP socket nor the ping program can be used here");
    QCOMPARE(f.dialog->pingResult(), EchoAnswered);
    QVERIFY2(f.msgs.all().empty(), qPrintable(f.msgs.texts().join("|")));
    QCOMPARE(f.state.deviceIp, std::string("127.0.0.1"));
    QCOMPARE(f.state.updateOption, 2);
    const std::string job =
        ethernetJobXml(makeEthernetJob("127.0.0.1", 2, true, f.state.masterDir, f.state.projectDir));
    QFile file(f.jobPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), job);
    QVERIFY(QFile::exists(f.recordPath()));
    QCOMPARE(f.recordedArgs(), QStringList());
    QCOMPARE(f.recordedJob().toStdString(), job);
}

void UpdateDialogTest::failedCheckStopsEverything_data()
{
    QTest::addColumn<QList<int>>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<int>("echoes");
    const int reply = static_cast<int>(EchoStatus::Reply);
    const int none = static_cast<int>(EchoStatus::NoReply);
    const int error = static_cast<int>(EchoStatus::Error);
    // Echoes of 400 ms go on while no more than 5000 ms have passed.
    QTest::newRow("silent") << QList<int>{none} << "Device Not Found!" << true << 13;
    QTest::newRow("unusable") << QList<int>{error} << "Error!!! Check the Ip Address" << false << 1;
    QTest::newRow("first only") << QList<int>{reply, none} << "Device Not Found!" << true << 14;
}

void UpdateDialogTest::failedCheckStopsEverything()
{
    QFETCH(QList<int>, script);
    QFETCH(QString, message);
    QFETCH(bool, warning);
    QFETCH(int, echoes);
    UpdateFixture f;
    f.installUpdater("Ethernet_Update");
    ScriptedEcho echo;
    echo.script.clear();
    for (int status : script)
        echo.script.push_back(static_cast<EchoStatus>(status));
    f.dialog->setEchoClient(&echo);
    f.dialog->setPingClock([&echo] { return echo.clock; });
    f.state.deviceIp = "127.0.0.9";
    f.state.updateOption = 1;
    f.show(1, [&](UpdateDialog*) {
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(2);
        f.child<QPushButton>("Btn_Update")->click();
    });
    QCOMPARE(static_cast<int>(echo.addresses.size()), echoes);
    QCOMPARE(echo.addresses.front(), std::string("127.0.0.9"));
    QCOMPARE(f.msgs.texts(), QStringList{message});
    QCOMPARE(f.msgs.all().front().kind, warning ? FakeMessages::Kind::Warning : FakeMessages::Kind::Error);
    QCOMPARE(f.state.deviceIp, std::string("127.0.0.9"));
    QCOMPARE(f.state.updateOption, 1);
    QVERIFY(!QFile::exists(f.jobPath()));
    QVERIFY(!QFile::exists(f.recordPath()));
}

void UpdateDialogTest::missingUpdaterIsReported()
{
    UpdateFixture f;
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}};
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) { f.child<QPushButton>("Btn_Update")->click(); });
    const QString program = UpdateFixture::qs(updaterPath(f.state.workspaceDir, kSerialUpdaterName));
    QVERIFY(program.endsWith("Ser_40917_Update" + exeSuffix()));
    QCOMPARE(f.msgs.texts(), QStringList{"Cannot start the updater: " + program});
    QCOMPARE(f.msgs.all().front().kind, FakeMessages::Kind::Error);

    ScriptedEcho echo;
    echo.script = {EchoStatus::Reply};
    f.dialog->setEchoClient(&echo);
    f.msgs.clear();
    f.state.deviceIp = "127.0.0.1";
    f.show(1, [&](UpdateDialog*) { f.child<QPushButton>("Btn_Update")->click(); });
    const QString ethernet = UpdateFixture::qs(updaterPath(f.state.workspaceDir, kEthernetUpdaterName));
    QCOMPARE(f.msgs.texts(), QStringList{"Cannot start the updater: " + ethernet});
    QVERIFY(QFile::exists(f.jobPath())); // the job was written before the start was tried
}

void UpdateDialogTest::launcherLeavesASlowUpdaterRunning()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "1500");
    qputenv("SETFORGE_FAKE_UPDATER_EXIT", "4");
    QProcessUpdaterLauncher launcher;
    const std::string program = updaterPath(f.state.workspaceDir, kSerialUpdaterName);
    const ProcessOutcome slow = launcher.start(program, "a \"b c\"", 200);
    QCOMPARE(slow.status, ProcessOutcome::Status::TimedOut);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(f.recordPath()), 5000);
    QCOMPARE(f.recordedArgs(), (QStringList{"a", "b c"}));

    QFile::remove(f.recordPath());
    qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "0");
    const ProcessOutcome quick = launcher.start(program, "", 10000);
    QCOMPARE(quick.status, ProcessOutcome::Status::Exited);
    QCOMPARE(quick.exitCode, 4);
    // The slow updater's process object frees itself once the updater ends; let it end
    // inside the test, so the leak check sees it gone.
    QTest::qWait(2500);
}

// The wait goes on painting and counting seconds; a Cancel click or an Escape during it is
// dropped, not replayed afterwards; the end shows the updater's code as it is.
void UpdateDialogTest::updaterWaitPaintsCountsAndDropsInput()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "1600");
    qputenv("SETFORGE_FAKE_UPDATER_EXIT", "3");
    FakePorts ports;
    ports.list = {{"ttyS0", "/dev/ttyS0"}};
    f.dialog->setPortLister(&ports);
    QString duringWait;
    bool cancelEnabledDuringWait = true;
    bool firedDuringWait = false;
    bool waiting = false;
    f.show(0, [&](UpdateDialog* d) {
        auto* status = f.child<QLabel>("L_Update_Status");
        QVERIFY(status->text().isEmpty());
        QTimer::singleShot(1300, d, [&, d] {
            firedDuringWait = waiting;
            duringWait = f.child<QLabel>("L_Update_Status")->text();
            cancelEnabledDuringWait = f.child<QPushButton>("Btn_Cancel")->isEnabled();
            QTest::mouseClick(f.child<QPushButton>("Btn_Cancel"), Qt::LeftButton);
            QCoreApplication::postEvent(d, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            QCoreApplication::postEvent(d, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
        });
        waiting = true;
        f.child<QPushButton>("Btn_Update")->click();
        waiting = false;
        QTest::qWait(200); // anything kept for later would act now
        QVERIFY(d->isVisible());
        // A code other than 0 is a failure: said in an error box, and the line stays.
        QCOMPARE(status->text(), QString("The updater reported a failure (exit code 3)"));
        QCOMPARE(f.msgs.all().size(), std::size_t(1));
        QCOMPARE(f.msgs.all().front().kind, FakeMessages::Kind::Error);
        QCOMPARE(f.msgs.last(), QString("The updater reported a failure (exit code 3)"));
        QVERIFY(f.child<QPushButton>("Btn_Cancel")->isEnabled());
    });
    QVERIFY(firedDuringWait);
    // Cancel is inert while the updater runs, and looks it.
    QVERIFY(!cancelEnabledDuringWait);
    // The number and its unit are joined by a no-break space, so "s" never wraps alone.
    QCOMPARE(duringWait, QString("Waiting for the updater: 1\u00a0s"));
    QCOMPARE(f.recordedArgs().value(0), QString("/dev/ttyS0"));
}

// Device_IP stays in the fields; the button offers the project's own address and fills the four
// fields with it, and Execute then reaches that address (a fake echo: no packet leaves).
void UpdateDialogTest::projectIpButtonFillsTheFields()
{
    UpdateFixture f;
    f.installUpdater("Ethernet_Update");
    f.state.files = makeProjectFiles(f.state.projectDir);
    QFile parGen(UpdateFixture::qs(f.state.files.parGen));
    QVERIFY(parGen.open(QIODevice::WriteOnly));
    parGen.write("<Par_Gen><Select_Device_Type>1</Select_Device_Type><Ethernet_IP1>127</Ethernet_IP1>"
                 "<Ethernet_IP2>0</Ethernet_IP2><Ethernet_IP3>0</Ethernet_IP3><Ethernet_IP4>9</"
                 "Ethernet_IP4></Par_Gen>");
    parGen.close();
    f.state.deviceIp = "127.0.0.2";
    ScriptedEcho echo;
    echo.script = {EchoStatus::Reply};
    f.dialog->setEchoClient(&echo);
    f.show(1, [&](UpdateDialog*) {
        auto* button = f.child<QPushButton>("Btn_Project_IP");
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QString("Project IP (127.0.0.9)"));
        QCOMPARE(f.child<QLineEdit>("E_IP4")->text(), QString("2"));
        // The button lies inside its panel, right of the fields.
        QVERIFY(f.child<QFrame>("P_IP_Address")->rect().contains(button->geometry()));
        QVERIFY(button->geometry().left() >
                f.child<QLineEdit>("E_IP4")->mapTo(f.child<QFrame>("P_IP_Address"), QPoint(0, 0)).x());
        button->click();
        QCOMPARE(f.child<QLineEdit>("E_IP4")->text(), QString("9"));
        f.child<QPushButton>("Btn_Update")->click();
    });
    QCOMPARE(echo.addresses.front(), std::string("127.0.0.9"));

    // The serial layout has no address, nor a project without ParGen.xml a project IP.
    QFile::remove(UpdateFixture::qs(f.state.files.parGen));
    f.show(1, [&](UpdateDialog*) { QVERIFY(!f.child<QPushButton>("Btn_Project_IP")->isVisible()); });
}

void UpdateDialogTest::updaterStillRunningAfterTheWait()
{
    UpdateFixture f;
    f.installUpdater("Ethernet_Update");
    qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "1500");
    ScriptedEcho echo;
    echo.script = {EchoStatus::Reply};
    f.dialog->setEchoClient(&echo);
    f.dialog->setUpdaterWait(300);
    f.show(1, [&](UpdateDialog* d) {
        typeInto(f.child<QLineEdit>("E_IP1"), "127");
        typeInto(f.child<QLineEdit>("E_IP4"), "1");
        f.child<QPushButton>("Btn_Update")->click();
        QVERIFY(d->isVisible());
        QCOMPARE(f.child<QLabel>("L_Update_Status")->text(),
                 QString("Updater still running after 150\u00a0s"));
    });
    // The next showing starts without a status; the slow updater ends inside the test.
    f.show(1, [&](UpdateDialog*) { QVERIFY(f.child<QLabel>("L_Update_Status")->text().isEmpty()); });
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(f.recordPath()), 5000);
    // The record is written before the updater's 1.5 s sleep; the process object is released
    // only when the updater has ended, which must happen before the test ends.
    QTest::qWait(2500);
}

void UpdateDialogTest::pingProgramFallback()
{
#ifdef Q_OS_WIN
    // Windows has no fallback to a ping program: the ICMP API is always there, whatever
    // program is named, and it checks the address's form itself.
    SystemEchoClient client(false, "/nonexistent/ping");
    QCOMPARE(client.echo("127.0.0.1", 1000, {}), EchoStatus::Reply);
    QCOMPARE(client.echo("127.0.1", 400, {}), EchoStatus::Error);
#else
    SystemEchoClient client(false, QDir(SETFORGE_TOOLS_DIR).filePath("fake_ping"));
    int idles = 0;
    QCOMPARE(client.echo("127.0.0.1", 400, [&idles] { ++idles; }), EchoStatus::Reply);
    QCOMPARE(client.echo("127.0.0.2", 400, {}), EchoStatus::NoReply);
    QCOMPARE(client.echo("127.0.0.3", 400, {}), EchoStatus::Error);
    QCOMPARE(client.echo("127.0.1", 400, {}), EchoStatus::Error);
    SystemEchoClient missing(false, "/nonexistent/ping");
    QCOMPARE(missing.echo("127.0.0.1", 400, {}), EchoStatus::Error);
#endif
}

void UpdateDialogTest::cancelKeepsThePreviousChoices()
{
    UpdateFixture f;
    FakePorts ports;
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) {
        f.child<QComboBox>("CB_Update_Options")->setCurrentIndex(2);
        f.child<QCheckBox>("CB_Update_Option_Read_Back")->setChecked(false);
    });
    QCOMPARE(f.state.updateOption, 0);
    QCOMPARE(f.state.readBack, true);
    f.show(0, [&](UpdateDialog*) {
        QCOMPARE(f.child<QComboBox>("CB_Update_Options")->currentIndex(), 0);
        QVERIFY(f.child<QCheckBox>("CB_Update_Option_Read_Back")->isChecked());
    });
}

void UpdateDialogTest::otherFormTypeDoesNothing()
{
    UpdateFixture f;
    f.installUpdater("Ser_40917_Update");
    f.installUpdater("Ethernet_Update");
    ScriptedEcho echo;
    f.dialog->setEchoClient(&echo);
    // The title stays on top, code readable, and the buttons follow it, also after a showing
    // that had an input panel.
    FakePorts ports;
    f.dialog->setPortLister(&ports);
    for (int before : {-1, 0, 1}) {
        if (before >= 0)
            f.show(before, [](UpdateDialog*) {});
        f.show(2, [&](UpdateDialog* d) {
            QVERIFY(!f.child<QFrame>("P_Serial")->isVisible());
            QVERIFY(!f.child<QFrame>("P_IP_Address")->isVisible());
            QCOMPARE(f.child<QFrame>("P_Title")->geometry(), QRect(0, 0, 449, 69));
            QCOMPARE(f.child<QFrame>("P_Button")->geometry(), QRect(0, 69, 449, 40));
            QCOMPARE(d->size(), QSize(449, 109));
            QCOMPARE(f.child<QLabel>("L_SW_Code")->text(), QString("KX40917"));
            f.child<QPushButton>("Btn_Update")->click();
        });
    }
    QVERIFY(echo.addresses.empty());
    QVERIFY(!QFile::exists(f.recordPath()));
    QVERIFY(f.msgs.all().empty());
}

void UpdateDialogTest::textsAreTakenOnEveryShowing()
{
    UpdateFixture f;
    FakePorts ports;
    f.dialog->setPortLister(&ports);
    f.show(0, [&](UpdateDialog*) {});
    f.state.texts.set(1500, "Aggiorna via seriale");
    f.state.texts.set(1516, "Solo firmware");
    f.dialog->applyTexts(); // a language change while the dialog is closed
    f.show(0, [&](UpdateDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Aggiorna via seriale"));
        QCOMPARE(f.child<QComboBox>("CB_Update_Options")->itemText(1), QString("Solo firmware"));
    });
    // Another form type keeps the title it had.
    f.show(5, [&](UpdateDialog* d) { QCOMPARE(d->windowTitle(), QString("Aggiorna via seriale")); });
}

} // namespace setforge

QTEST_MAIN(setforge::UpdateDialogTest)
#include "updatedialog_test.moc"
