// The whole update through the window, on the Demo project: Update Device compiles, writes the
// images and opens the update dialog in the project's layout; Execute starts the updater.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/app/settings.h"
#include "core/flow/updateflow.h"
#include "core/update/echoclient.h"
#include "gui/app/mainwindow.h"
#include "gui/update/serialportlister.h"
#include "gui/update/updatedialog.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

class OnePort : public SerialPortLister {
public:
    std::vector<SerialPortEntry> ports() override { return {{"ttyUSB0", "/dev/ttyUSB0"}}; }
};

class AlwaysAnswers : public EchoClient {
public:
    EchoStatus echo(const std::string& address, int, const std::function<void()>&) override
    {
        addresses.push_back(address);
        return EchoStatus::Reply;
    }
    std::vector<std::string> addresses;
};

struct DemoWorkspace {
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;

    explicit DemoWorkspace(bool ethernet)
    {
        QVERIFY(ws.copyTree(QString(SETFORGE_SOURCE_DIR) + "/workspace/PROJECTS/Demo", "PROJECTS/Demo"));
        if (!ethernet) {
            QFile file(ws.path() + "/PROJECTS/Demo/ParGen.xml");
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray xml = file.readAll();
            file.close();
            xml.replace("<Select_Device_Type>1</Select_Device_Type>",
                        "<Select_Device_Type>0</Select_Device_Type>");
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(xml);
            // The serial variant sends transmit PDOs from register blocks and has no TPDO mapping.
            QVERIFY(QFile::remove(ws.path() + "/PROJECTS/Demo/Transmit_PDO_Define.xml"));
        }
        Settings settings;
        settings.projectName = "Demo";
        QVERIFY(static_cast<bool>(writeSettings(ws.utf8() + "/Setforge.xml", settings)));
        startWorkspace(state, ws.utf8());
        // Stand-ins for the firmware the default option hands the updater.
        QVERIFY(installStandInFirmware(state.masterDir));
        const QString updater = ethernet ? "Ethernet_Update" : "Ser_40917_Update";
        QVERIFY(QFile::copy(QDir(SETFORGE_TOOLS_DIR).filePath("fake_updater" + exeSuffix()),
                            QDir(ws.path()).filePath(updater + exeSuffix())));
        qputenv("SETFORGE_FAKE_UPDATER_RECORD", QDir(ws.path()).filePath("updater.record").toUtf8());
        qputenv("SETFORGE_FAKE_UPDATER_EXIT", "0");
        qputenv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "0");
    }
    QString record() const
    {
        QFile file(QDir(ws.path()).filePath("updater.record"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool imagesWritten() const
    {
        for (const char* image : {"bank.bin", "bank1_ESP32.bin", "bank2_ESP32.bin"})
            if (!QFile::exists(ws.path() + "/PROJECTS/Demo/bin/" + image))
                return false;
        return true;
    }
};

} // namespace

class UpdateFlowTest : public QObject {
    Q_OBJECT
private slots:
    void serialUpdateOfDemo();
    void ethernetUpdateOfDemo();
    void deviceTypeTwoUpdatesOverEthernet();
};

void UpdateFlowTest::serialUpdateOfDemo()
{
    DemoWorkspace demo(false);
    MainWindow window(demo.state);
    window.show();
    OnePort ports;
    auto* dialog = qobject_cast<UpdateDialog*>(window.windows().update);
    QVERIFY(dialog);
    dialog->setPortLister(&ports);
    bool shown = false;
    whenShown<UpdateDialog>([&](UpdateDialog* d) {
        shown = true;
        QVERIFY(d->findChild<QFrame*>("P_Serial")->isVisible());
        QVERIFY(!d->findChild<QFrame*>("P_IP_Address")->isVisible());
        d->findChild<QPushButton*>("Btn_Update")->click();
        d->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    window.clickButton("Btn_CreateBin");
    QVERIFY(shown);
    QVERIFY(demo.imagesWritten());
    QVERIFY2(demo.record().contains("arg=/dev/ttyUSB0\n"), qPrintable(demo.record()));
    QVERIFY2(demo.record().contains("sim40917.sim"), qPrintable(demo.record()));
    // The Demo's warnings are listed before the update; nothing asks or fails.
    QVERIFY2(demo.msgs.texts() == QStringList{"The project check found warnings:"},
             qPrintable(demo.msgs.texts().join('\n')));
}

void UpdateFlowTest::ethernetUpdateOfDemo()
{
    DemoWorkspace demo(true);
    MainWindow window(demo.state);
    window.show();
    AlwaysAnswers echo;
    auto* dialog = qobject_cast<UpdateDialog*>(window.windows().update);
    QVERIFY(dialog);
    dialog->setEchoClient(&echo);
    bool shown = false;
    whenShown<UpdateDialog>([&](UpdateDialog* d) {
        shown = true;
        QVERIFY(d->findChild<QFrame*>("P_IP_Address")->isVisible());
        const char* names[] = {"E_IP1", "E_IP2", "E_IP3", "E_IP4"};
        const char* parts[] = {"127", "0", "0", "1"};
        for (int i = 0; i < 4; ++i)
            d->findChild<QLineEdit*>(names[i])->setText(parts[i]);
        d->findChild<QPushButton*>("Btn_Update")->click();
        d->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    window.clickButton("Btn_CreateBin");
    QVERIFY(shown);
    QVERIFY(demo.imagesWritten());
    QCOMPARE(echo.addresses.front(), std::string("127.0.0.1"));
    QVERIFY(QFile::exists(demo.ws.path() + "/Ethernet_Update.xml"));
    QVERIFY2(demo.record().contains("job="), qPrintable(demo.record()));
    QVERIFY2(!demo.record().contains("arg="), qPrintable(demo.record()));
    QCOMPARE(QString::fromStdString(demo.state.deviceIp), QString("127.0.0.1"));
    window.close();
    QCOMPARE(QString::fromStdString(readSettings(demo.ws.utf8() + "/Setforge.xml").deviceIp),
             QString("127.0.0.1"));
}

// Any device type but 0 has the Ethernet port: a hand-edited 2 gets the Ethernet layout and
// its Execute writes the job and starts the Ethernet updater, as the command line does.
void UpdateFlowTest::deviceTypeTwoUpdatesOverEthernet()
{
    DemoWorkspace demo(true);
    QFile parGen(demo.ws.path() + "/PROJECTS/Demo/ParGen.xml");
    QVERIFY(parGen.open(QIODevice::ReadWrite));
    const QByteArray typeOne = "<Select_Device_Type>1</Select_Device_Type>";
    const QByteArray xml = parGen.readAll();
    QVERIFY(xml.contains(typeOne));
    parGen.resize(0);
    parGen.write(QByteArray(xml).replace(typeOne, "<Select_Device_Type>2</Select_Device_Type>"));
    parGen.close();

    MainWindow window(demo.state);
    window.show();
    AlwaysAnswers echo;
    qobject_cast<UpdateDialog*>(window.windows().update)->setEchoClient(&echo);
    QStringList panels;
    whenShown<UpdateDialog>([&](UpdateDialog* d) {
        for (const char* name : {"P_Serial", "P_IP_Address"})
            if (d->findChild<QFrame*>(name)->isVisible())
                panels << name;
        const QStringList address = QString("127.0.0.1").split('.');
        for (int i = 0; i < 4; ++i)
            d->findChild<QLineEdit*>(QString("E_IP%1").arg(i + 1))->setText(address[i]);
        d->findChild<QPushButton*>("Btn_Update")->click();
        d->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    demo.msgs.answer(true); // should the project check ask, the update goes on
    window.clickButton("Btn_CreateBin");
    QCOMPARE(panels, QStringList{"P_IP_Address"});
    QVERIFY(demo.imagesWritten());
    QCOMPARE(echo.addresses.size(), std::size_t(2));
    const QString record = demo.record();
    QVERIFY2(record.contains("job=<Ethernet_Update>") && !record.contains("arg="), qPrintable(record));
}

} // namespace setforge

QTEST_MAIN(setforge::UpdateFlowTest)
#include "updateflow_test.moc"
