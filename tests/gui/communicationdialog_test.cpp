#include <QtTest>

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include "core/app/appstate.h"
#include "core/app/projectstore.h"
#include "core/base/atomicfile.h"
#include "core/base/projectfiles.h"
#include "core/tables/pargenfile.h"
#include "gui/app/mainwindow.h"
#include "gui/tables/collapsiblepanel.h"
#include "gui/tables/communicationdialog.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

const QString kDiscard = "Do you want to exit without saving changes?";

// The dialog on its own, loading from and saving to ParGen.xml in a fresh folder.
struct Dialog {
    TempWorkspace ws;
    AppState state;
    std::unique_ptr<CommunicationDialog> dialog;

    Dialog()
    {
        state.files.parGen = ws.utf8() + "/ParGen.xml";
        dialog = std::make_unique<CommunicationDialog>(state, nullptr);
    }
    // Shows it as the main window would, without blocking.
    void show()
    {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    template <typename T> T* find(const char* name) const
    {
        T* widget = dialog->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QString fileText() const
    {
        QFile file(QString::fromStdString(state.files.parGen));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool fileExists() const { return QFile::exists(QString::fromStdString(state.files.parGen)); }
};

} // namespace

class CommunicationDialogTest : public QObject {
    Q_OBJECT
private slots:
    void newProjectShowsTheDefaults();
    void variantMovesTheRows();
    void dotMovesToTheNextAddressField();
    void cancelAsksOnlyAfterTrackedChanges();
    void titleBarCloseAndEscapeAskLikeCancel();
    void okReportsTheFirstFailingCheck();
    void wheelScrollsThePanelsNotTheList();
    void foldedPanelMovesTheOthersUp();
    void brokenFileIsReportedAndLeftAlone();
    void failedWriteKeepsTheDialogOpen();
    void languageChangeKeepsThePanelCaptions();
    void widthStaysFixed();
    void numberFieldsNameTheirUnitAndRange();
    void okFromTheMainWindowSetsTheSteps();
    void variantSwitchNamesWhatChangesAndFillsTheMapping();
};

void CommunicationDialogTest::newProjectShowsTheDefaults()
{
    Dialog d;
    d.show();
    QCOMPARE(d.find<QComboBox>("CB_Select_Device_Device")->currentText(),
             QString("Device With Ethernet Port"));
    QCOMPARE(d.find<QComboBox>("CB_CANopen_Baudrate")->currentText(), QString("1000K"));
    QCOMPARE(d.find<QComboBox>("CB_ModbusSlave_Baudrate")->currentText(), QString("115200"));
    QCOMPARE(d.find<QComboBox>("CB_ModbusSlave_Parity")->currentText(), QString("NONE"));
    QCOMPARE(d.find<QLineEdit>("E_CANopen_Start_On_Modbus")->text(), QString("11"));
    QCOMPARE(d.find<QLineEdit>("E_Ethernet_IP4")->text(), QString("5"));
    QCOMPARE(d.find<QLineEdit>("E_Ethernet_GAT4")->text(), QString("1"));
    QCOMPARE(d.find<QLabel>("L_SW_Code")->text(), QString("KX40917"));
    QCOMPARE(d.dialog->windowTitle(), QString("Set Communication"));
    QVERIFY(!d.find<QComboBox>("CB_ModbusSlave_Protocol")->isEditable());
    QCOMPARE(d.find<QCheckBox>("CB_CANopen_Enable_SYNC")->text(),
             QString("Enable SYNC Producer. SYNC Time (ms)"));
    QCOMPARE(d.find<QLineEdit>("E_Ethernet_SM2")->toolTip(),
             QString("Insert Second byte of SubNet Mask\nRange: 0 to 255"));
    QCOMPARE(d.find<CollapsiblePanel>("CP_Modbus_Slave")->caption(), QString("3. Modbus Slave"));
    QVERIFY(!d.dialog->isChanged());
}

void CommunicationDialogTest::variantMovesTheRows()
{
    Dialog d;
    d.show();
    auto* variant = d.find<QComboBox>("CB_Select_Device_Device");
    auto* stopBits = d.find<QComboBox>("CB_ModbusSlave_StopBits");
    auto* id = d.find<QLineEdit>("E_ModbusSlave_IDDevice");
    auto* protocol = d.find<QComboBox>("CB_ModbusSlave_Protocol");
    auto* inactivity = d.find<QCheckBox>("CB_ModbusSlave_Modbus_Inactivity_TimeOut");
    auto* inactivityTime = d.find<QLineEdit>("E_ModbusSlave_Modbus_Inactivity_TimeOut");
    auto* modbusPanel = d.find<CollapsiblePanel>("CP_Modbus_Slave");
    auto* ethernetPanel = d.find<CollapsiblePanel>("CP_Ethernet");

    // With the Ethernet port: Stop Bits, then ID, then the inactivity row; no Protocol.
    const int stopBitsRow = stopBits->y();
    QVERIFY(stopBits->isVisible());
    QCOMPARE(id->y(), stopBitsRow + CommunicationDialog::kRowPitch);
    QVERIFY(!protocol->isVisible());
    QVERIFY(inactivity->isVisible() && inactivityTime->isVisible());
    QCOMPARE(inactivity->y(), id->y() + CommunicationDialog::kRowPitch);
    QVERIFY(ethernetPanel->isVisible());
    const int ethernetHeight = modbusPanel->height();
    QCOMPARE(ethernetHeight, inactivityTime->geometry().bottom() + 1 + CollapsiblePanel::kHeaderHeight + 12);

    variant->setCurrentIndex(0);
    QVERIFY(!stopBits->isVisible());
    QCOMPARE(id->y(), stopBitsRow);
    QVERIFY(protocol->isVisible());
    QCOMPARE(protocol->y(), stopBitsRow + CommunicationDialog::kRowPitch);
    QVERIFY(!inactivity->isVisible() && !inactivityTime->isVisible());
    QVERIFY(!ethernetPanel->isVisible());
    QCOMPARE(modbusPanel->height(), ethernetHeight - CommunicationDialog::kRowPitch);
    QVERIFY(d.dialog->isChanged());

    variant->setCurrentIndex(1);
    QCOMPARE(id->y(), stopBitsRow + CommunicationDialog::kRowPitch);
    QVERIFY(ethernetPanel->isVisible());
}

void CommunicationDialogTest::dotMovesToTheNextAddressField()
{
    Dialog d;
    d.show();
    d.dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));
    struct Step {
        const char* from;
        const char* to; // nullptr: the key is only swallowed
    };
    const Step steps[] = {{"E_Ethernet_IP1", "E_Ethernet_IP2"},
                          {"E_Ethernet_IP4", "E_Ethernet_SM1"},
                          {"E_Ethernet_SM4", "E_Ethernet_GAT1"},
                          {"E_Ethernet_GAT4", nullptr}};
    for (const Step& step : steps) {
        auto* from = d.find<QLineEdit>(step.from);
        from->setFocus();
        QVERIFY(from->hasFocus());
        const QString before = from->text();
        QTest::keyClick(from, Qt::Key_Period, Qt::NoModifier);
        QCOMPARE(from->text(), before);
        if (step.to) {
            auto* to = d.find<QLineEdit>(step.to);
            QVERIFY2(to->hasFocus(), step.to);
        } else {
            QVERIFY(from->hasFocus());
        }
    }
    QCOMPARE(d.find<QLineEdit>("E_Ethernet_IP2")->text(), QString("168"));
    // Other keys act normally.
    auto* ip1 = d.find<QLineEdit>("E_Ethernet_IP1");
    ip1->setFocus();
    ip1->selectAll();
    QTest::keyClicks(ip1, "10");
    QCOMPARE(ip1->text(), QString("10"));
    // A dot typed anywhere else is entered.
    auto* sdo = d.find<QLineEdit>("E_CANopen_SDO_Timeout");
    sdo->setFocus();
    QTest::keyClick(sdo, Qt::Key_Period);
    QCOMPARE(sdo->text(), QString("10000."));
}

void CommunicationDialogTest::cancelAsksOnlyAfterTrackedChanges()
{
    FakeMessages msgs;
    {
        // Untracked fields: no question, and nothing written.
        Dialog d;
        d.show();
        d.find<QLineEdit>("E_CANopen_IDDevice")->setText("5");
        d.find<QComboBox>("CB_CANopen_Baudrate")->setCurrentIndex(2);
        d.find<QLineEdit>("E_ModbusSlave_Modbus_Inactivity_TimeOut")->setText("20000");
        QVERIFY(!d.dialog->isChanged());
        d.find<QPushButton>("Btn_Cancel")->click();
        QVERIFY(!d.dialog->isVisible());
        QCOMPARE(d.dialog->result(), int(QDialog::Rejected));
        QVERIFY(msgs.all().empty());
        QVERIFY(!d.fileExists());
    }
    {
        Dialog d;
        d.show();
        d.find<QLineEdit>("E_ModbusSlave_IDDevice")->setText("9");
        QVERIFY(d.dialog->isChanged());
        d.find<QPushButton>("Btn_Cancel")->click(); // unqueued answer: No
        QCOMPARE(msgs.texts(), QStringList{kDiscard});
        QVERIFY(d.dialog->isVisible());
        QCOMPARE(d.find<QLineEdit>("E_ModbusSlave_IDDevice")->text(), QString("9"));
        msgs.answer(true);
        d.find<QPushButton>("Btn_Cancel")->click();
        QVERIFY(!d.dialog->isVisible());
        QVERIFY(!d.fileExists());
        // The edits are gone at the next showing.
        d.show();
        QCOMPARE(d.find<QLineEdit>("E_ModbusSlave_IDDevice")->text(), QString("1"));
        QVERIFY(!d.dialog->isChanged());
    }
    // Each tracked kind of control makes Cancel ask.
    const char* const trackedChecks[] = {
        "CB_CANopen_SetOpe",      "CB_CANopen_NetOpe",           "CB_CANopen_Start_On_Modbus",
        "CB_CANopen_Enable_SYNC", "CB_CANopen_Enable_Nodeguard", "CB_ModbusSlave_Modbus_Inactivity_TimeOut",
        "CB_Ethernet_En_GAT"};
    for (const char* name : trackedChecks) {
        Dialog d;
        d.show();
        QTest::mouseClick(d.find<QCheckBox>(name), Qt::LeftButton);
        QVERIFY2(d.dialog->isChanged(), name);
    }
    for (const char* name : {"CB_ModbusSlave_Serial", "CB_ModbusSlave_Baudrate", "CB_ModbusSlave_Parity",
                             "CB_ModbusSlave_StopBits", "CB_ModbusSlave_Protocol"}) {
        Dialog d;
        d.show();
        d.find<QComboBox>(name)->setCurrentIndex(1);
        QVERIFY2(d.dialog->isChanged(), name);
    }
    for (const char* name : {"E_Ethernet_SM3", "E_Ethernet_GAT2"}) {
        Dialog d;
        d.show();
        d.find<QLineEdit>(name)->setText("7");
        QVERIFY2(d.dialog->isChanged(), name);
    }
    for (const char* name :
         {"E_CANopen_NetOpe_Delay", "E_CANopen_Start_On_Modbus", "E_CANopen_SDO_Timeout",
          "E_CANopen_Enable_SYNC_Time", "E_CANopen_Nodeguard_Mod_Add_1", "E_CANopen_Nodeguard_Mod_Add_2"}) {
        Dialog d;
        d.show();
        d.find<QLineEdit>(name)->setText("7");
        QVERIFY2(!d.dialog->isChanged(), name);
    }
}

void CommunicationDialogTest::titleBarCloseAndEscapeAskLikeCancel()
{
    FakeMessages msgs;
    Dialog d;
    d.show();
    d.find<QLineEdit>("E_Ethernet_IP3")->setText("1");

    d.dialog->close(); // the title bar's close button
    QCOMPARE(msgs.texts(), QStringList{kDiscard});
    QVERIFY(d.dialog->isVisible());

    QTest::keyClick(d.dialog.get(), Qt::Key_Escape);
    QCOMPARE(msgs.texts(), (QStringList{kDiscard, kDiscard}));
    QVERIFY(d.dialog->isVisible());
    QCOMPARE(d.find<QLineEdit>("E_Ethernet_IP3")->text(), QString("1"));

    msgs.answer(true);
    d.dialog->close();
    QVERIFY(!d.dialog->isVisible());
    QVERIFY(!d.fileExists());

    // Without changes, closing asks nothing.
    msgs.clear();
    d.show();
    d.dialog->close();
    QVERIFY(!d.dialog->isVisible());
    QVERIFY(msgs.all().empty());
}

void CommunicationDialogTest::okReportsTheFirstFailingCheck()
{
    FakeMessages msgs;
    Dialog d;
    d.show();
    auto* variant = d.find<QComboBox>("CB_Select_Device_Device");
    variant->setCurrentIndex(1);
    d.find<QLineEdit>("E_Ethernet_IP1")->setText("300");
    d.find<QLineEdit>("E_Ethernet_SM2")->setText("256");
    d.find<QPushButton>("Btn_OK")->click();
    QCOMPARE(msgs.texts(), QStringList{"Error Ethernet!! IP Address 1 must be between 0 and 255"});
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY(d.dialog->isVisible());
    QVERIFY(!d.fileExists());

    // The same values save without complaint for the device without Ethernet port; the one
    // message explains the switch from the port the dialog proposed.
    msgs.clear();
    variant->setCurrentIndex(0);
    d.find<QPushButton>("Btn_OK")->click();
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Information);
    QVERIFY(!d.dialog->isVisible());
    QCOMPARE(d.dialog->result(), int(QDialog::Accepted));
    const Result<ParGenValues> saved = loadParGen(d.state.files.parGen);
    QVERIFY(saved);
    QCOMPARE(saved->deviceType, 0);
    QCOMPARE(saved->ip[0], std::string("300"));
    QCOMPARE(saved->subnetMask[1], std::string("256"));
    QVERIFY(d.fileText().contains("<CAN_Baud>1000</CAN_Baud>"));
}

void CommunicationDialogTest::wheelScrollsThePanelsNotTheList()
{
    Dialog d;
    d.show();
    d.dialog->resize(CommunicationDialog::kClientWidth, 320);
    QTRY_VERIFY(d.find<QScrollArea>("CPG_Panels")->verticalScrollBar()->maximum() > 0);
    QScrollBar* bar = d.find<QScrollArea>("CPG_Panels")->verticalScrollBar();
    auto* parity = d.find<QComboBox>("CB_ModbusSlave_Parity");
    const auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(5, 5), parity->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(parity, &wheel);
    };
    const int lines = QApplication::wheelScrollLines();
    QCOMPARE(bar->value(), 0);
    turn(-120);
    QCOMPARE(bar->value(), std::min(bar->maximum(), lines * bar->singleStep()));
    QCOMPARE(parity->currentIndex(), 0);
    const int afterDown = bar->value();
    turn(120);
    QCOMPARE(bar->value(), std::max(0, afterDown - lines * bar->singleStep()));
    QCOMPARE(parity->currentIndex(), 0);
    QVERIFY(!d.dialog->isChanged());
}

void CommunicationDialogTest::foldedPanelMovesTheOthersUp()
{
    Dialog d;
    d.show();
    auto* canopen = d.find<CollapsiblePanel>("CP_CANopen");
    auto* modbus = d.find<CollapsiblePanel>("CP_Modbus_Slave");
    const int unfolded = canopen->height();
    const int modbusTop = modbus->y();
    QTest::mouseClick(d.find<QToolButton>("CP_CANopen_Header"), Qt::LeftButton);
    QCOMPARE(canopen->height(), CollapsiblePanel::kHeaderHeight);
    QCOMPARE(modbus->y(), modbusTop - (unfolded - CollapsiblePanel::kHeaderHeight));
    QVERIFY(!d.find<QLineEdit>("E_CANopen_IDDevice")->isVisible());
    QTest::mouseClick(d.find<QToolButton>("CP_CANopen_Header"), Qt::LeftButton);
    QCOMPARE(canopen->height(), unfolded);
    QCOMPARE(modbus->y(), modbusTop);
}

void CommunicationDialogTest::brokenFileIsReportedAndLeftAlone()
{
    FakeMessages msgs;
    Dialog d;
    const std::string broken = "<Par_Gen><CAN_id>5</Par_Gen>";
    QVERIFY(static_cast<bool>(writeFileAtomic(d.state.files.parGen, broken)));
    d.dialog->show();
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY(msgs.last().contains("ParGen.xml"));
    QTRY_VERIFY(!d.dialog->isVisible());
    QCOMPARE(d.fileText(), QString::fromStdString(broken));
}

void CommunicationDialogTest::failedWriteKeepsTheDialogOpen()
{
    FakeMessages msgs;
    Dialog d;
    d.state.files.parGen = d.ws.utf8() + "/no_such_project/ParGen.xml";
    d.show();
    d.find<QLineEdit>("E_ModbusSlave_IDDevice")->setText("12");
    d.find<QPushButton>("Btn_OK")->click();
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY(msgs.last().contains("no_such_project"));
    QVERIFY(d.dialog->isVisible());
    QCOMPARE(d.find<QLineEdit>("E_ModbusSlave_IDDevice")->text(), QString("12"));
    QVERIFY(d.dialog->isChanged());
}

void CommunicationDialogTest::languageChangeKeepsThePanelCaptions()
{
    Dialog d;
    d.state.texts.set(406, "Geraet");
    d.state.texts.set(410, "Knoten-ID");
    d.state.texts.set(443, "Modbus-ID eingeben");
    d.dialog->applyTexts();
    QCOMPARE(d.find<QLabel>("L_CANopen_IDDevice")->text(), QString("Knoten-ID"));
    QCOMPARE(d.find<QLineEdit>("E_ModbusSlave_IDDevice")->toolTip(),
             QString("Modbus-ID eingeben\nRange: 1 to 247"));
    QCOMPARE(d.find<CollapsiblePanel>("CP_Select_Device")->caption(), QString("1. Select Device"));
}

void CommunicationDialogTest::numberFieldsNameTheirUnitAndRange()
{
    Dialog d;
    struct Case {
        const char* field;
        const char* lastLine;
    };
    const Case kCases[] = {
        {"E_CANopen_IDDevice", "Range: 1 to 127"},
        {"CB_CANopen_Baudrate", "Unit: kbit/s"},
        {"E_CANopen_NetOpe_Delay", "Unit: s. Range: 0 to 255"},
        {"E_CANopen_Start_On_Modbus", "Modbus register. Range: 0 to 65535"},
        {"E_CANopen_SDO_Timeout", "Unit: 1/10 ms (10 = 1 ms). Range: 0 to 100000"},
        {"E_CANopen_Enable_SYNC_Time", "Unit: ms. Range: 1 to 4200000"},
        {"E_CANopen_Nodeguard_Mod_Add_1", "Modbus register. Range: 0 to 65535"},
        {"E_CANopen_Nodeguard_Mod_Add_2", "Modbus register. Range: 0 to 65535"},
        {"CB_ModbusSlave_Baudrate", "Unit: bit/s"},
        {"E_ModbusSlave_IDDevice", "Range: 1 to 247"},
        {"E_ModbusSlave_Modbus_Inactivity_TimeOut", "Unit: ms. Range: 1000 to 1000000000"},
        {"E_Ethernet_IP1", "Range: 0 to 255"},
        {"E_Ethernet_GAT4", "Range: 0 to 255"},
    };
    for (const Case& c : kCases) {
        // The hint, wrapped at about sixty characters, then its unit and range on a line of their own.
        const QStringList lines = d.find<QWidget>(c.field)->toolTip().split('\n');
        QVERIFY2(lines.size() >= 2, c.field);
        QVERIFY2(!lines.front().isEmpty(), c.field);
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 60, qPrintable(line));
        QCOMPARE(lines.back(), QString(c.lastLine));
    }
    // Lists without a unit and the check boxes keep their one-line hint.
    QCOMPARE(d.find<QWidget>("CB_ModbusSlave_Parity")->toolTip(), QString("Select Parity to use in serial"));
}

void CommunicationDialogTest::widthStaysFixed()
{
    Dialog d;
    d.show();
    QCOMPARE(d.dialog->width(), CommunicationDialog::kClientWidth);
    d.dialog->resize(700, 500);
    QTRY_COMPARE(d.dialog->height(), 500);
    QCOMPARE(d.dialog->width(), CommunicationDialog::kClientWidth);
}

void CommunicationDialogTest::okFromTheMainWindowSetsTheSteps()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    QVERIFY(QDir(ws.path()).mkpath("PROJECTS/Plant/bin"));
    startWorkspace(state, ws.utf8());
    openProject(state, "Plant");
    MainWindow window(state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* eds = window.findChild<QWidget*>("Btn_EDS_File");
    auto* step9 = window.findChild<QWidget*>("L_Step_9");
    QVERIFY(eds && step9);
    QVERIFY(!eds->isVisible()); // no ParGen.xml yet: every reader takes variant 0

    // The dialog proposes the Ethernet variant; OK saves it and the main window shows nine steps.
    bool ran = false;
    whenShown<CommunicationDialog>([&](CommunicationDialog* dialog) {
        ran = true;
        QCOMPARE(dialog->findChild<QComboBox*>("CB_Select_Device_Device")->currentIndex(), 1);
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    window.clickButton("Btn_Prm_Gen");
    QVERIFY(ran);
    QCOMPARE(state.deviceType, 1);
    QVERIFY(eds->isVisible());
    QVERIFY(step9->isVisible());

    ran = false;
    whenShown<CommunicationDialog>([&](CommunicationDialog* dialog) {
        ran = true;
        dialog->findChild<QComboBox*>("CB_Select_Device_Device")->setCurrentIndex(0);
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    window.clickButton("Btn_Prm_Gen");
    QVERIFY(ran);
    QCOMPARE(state.deviceType, 0);
    QVERIFY(!eds->isVisible());
    QVERIFY(!step9->isVisible());
    // The switch is explained once, even for tables that are still empty.
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Information);
    QVERIFY(
        msgs.last().startsWith("The device type changes.\n\nThe new variant needs:\n- Address Start values"));
}

void CommunicationDialogTest::variantSwitchNamesWhatChangesAndFillsTheMapping()
{
    Dialog d;
    d.state.files = makeProjectFiles(d.ws.utf8());
    FakeMessages msgs;
    // A first save without the Ethernet port; the dialog proposes the port for a new project.
    d.show();
    d.find<QComboBox>("CB_Select_Device_Device")->setCurrentIndex(0);
    d.find<QPushButton>("Btn_OK")->click();
    QVERIFY(d.fileText().contains("<Select_Device_Type>0</Select_Device_Type>"));
    msgs.clear();

    auto write = [&](const char* name, const QByteArray& content) {
        QFile file(d.ws.path() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write("rpdodef.xml", "<rpdodef><row cobid=\"0x181\" dimension=\"2\" TimeOut=\"\"/></rpdodef>");
    write("Transmit_Pdo.xml", "<Trasmit_PDO><row COB-ID=\"0x201\" Dimension=\"3\" SMA=\"100\" OnChange=\"N\" "
                              "OnTimer=\"N\"/></Trasmit_PDO>");

    // No keeps the mapping as it is; the type is saved all the same.
    for (const bool fill : {false, true}) {
        CommunicationDialog dialog(d.state, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.findChild<QComboBox*>("CB_Select_Device_Device")->setCurrentIndex(1);
        msgs.answer(fill);
        dialog.findChild<QPushButton*>("Btn_OK")->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(d.fileText().contains("<Select_Device_Type>1</Select_Device_Type>"));
        const QString asked = "The device type changes.\n\nThe new variant needs:\n"
                              "- Receive PDO time-outs (Set Receive PDO, TimeOut): rows 1\n"
                              "- Transmit triggers (Set Transmit PDO, On Change / On Timer): rows 1\n"
                              "- The transmit mapping (Define Transmit PDO Frames): rows 1\n\n"
                              "The new variant hides (the values stay in the files):\n"
                              "- Address Start values (Set Transmit PDO): rows 1\n\n"
                              "Turn each Address Start block into transmit mapping entries?";
        QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
        QCOMPARE(msgs.all().front().text, asked);
        QFile mapping(d.ws.path() + "/Transmit_PDO_Define.xml");
        if (!fill) {
            QCOMPARE(msgs.all().size(), std::size_t(1));
            QVERIFY(!mapping.exists());
        } else {
            QCOMPARE(msgs.texts().last(), QString("Transmit mapping entries written for 1 frame(s)."));
            QVERIFY(mapping.open(QIODevice::ReadOnly));
            const QByteArray saved = mapping.readAll();
            QVERIFY(saved.contains("<row Index=\"100\" NrPdo=\"1\" PosComp=\"33\" Send_on_Write=\"0\"/>"
                                   "<row Index=\"101\" NrPdo=\"1\" PosComp=\"3\" Send_on_Write=\"0\"/>"));
        }
        msgs.clear();
        // Back to the variant without the port for the next round: that switch offers nothing.
        CommunicationDialog back(d.state, nullptr);
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        back.findChild<QComboBox*>("CB_Select_Device_Device")->setCurrentIndex(0);
        back.findChild<QPushButton*>("Btn_OK")->click();
        QCOMPARE(msgs.all().size(), std::size_t(1));
        QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Information);
        msgs.clear();
    }
}

} // namespace setforge

QTEST_MAIN(setforge::CommunicationDialogTest)
#include "communicationdialog_test.moc"
