#include <QtTest>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/sim/virtualconverterwindow.h"
#include "support/fakemessages.h"
#include "support/workspace.h"

namespace setforge {

namespace {

struct Fixture {
    TempWorkspace ws;
    AppState state;
    std::unique_ptr<MainWindow> window;

    explicit Fixture(bool withProject = true)
    {
        ws.copyTree(QString(SETFORGE_SOURCE_DIR) + "/workspace/PROJECTS/Demo", "PROJECTS/Demo");
        startWorkspace(state, ws.utf8());
        if (withProject)
            openProject(state, "Demo");
        window = std::make_unique<MainWindow>(state);
    }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    VirtualConverterWindow* sim() const
    {
        return window->findChild<VirtualConverterWindow*>("VirtualConverter");
    }
    // The table row of register `reg`, or -1.
    int rowOf(int reg) const
    {
        auto* table = sim()->findChild<QTableWidget*>("Grid_Sim_Registers");
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->item(r, 0)->text() == QString::number(reg))
                return r;
        return -1;
    }
    QString cell(int reg, int column) const
    {
        auto* table = sim()->findChild<QTableWidget*>("Grid_Sim_Registers");
        const int row = rowOf(reg);
        return row < 0 ? QString("<no row>") : table->item(row, column)->text();
    }
};

// Runs Debian's pymodbus as the master against 127.0.0.1:`port`, with the event loop running
// so the window can answer; returns what the script printed.
QString runMaster(int port, const QString& body)
{
    QProcess python;
    python.start("/usr/bin/python3", {"-c", QString("from pymodbus.client import ModbusTcpClient\n"
                                                    "c = ModbusTcpClient('127.0.0.1', port=%1, timeout=5)\n"
                                                    "assert c.connect()\n%2\nc.close()\n")
                                                .arg(port)
                                                .arg(body)});
    if (!python.waitForStarted(10000))
        return "<python did not start>";
    if (!QTest::qWaitFor([&] { return python.state() == QProcess::NotRunning; }, 30000))
        return "<python did not end>";
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
}

} // namespace

class VirtualConverterTest : public QObject {
    Q_OBJECT
private slots:
    void simulateOpensAWindowThatIsNotModal();
    void pymodbusReadAndWriteShowInTheTable();
    void loadedTraceFillsRegistersAndSaveWritesIt();
    void withoutProjectItSaysSo();
};

void VirtualConverterTest::simulateOpensAWindowThatIsNotModal()
{
    Fixture f;
    f.window->show();
    QPushButton* simulate = f.button("Btn_Simulate");
    QVERIFY(simulate && simulate->isVisible());
    QCOMPARE(simulate->text(), QString("Simulate"));
    QCOMPARE(simulate->y(), f.button("Btn_Report")->y());
    for (const QPushButton* other : f.window->findChildren<QPushButton*>())
        if (other != simulate && other->isVisible())
            QVERIFY2(!other->geometry().intersects(simulate->geometry()), qPrintable(other->objectName()));
    for (const QLabel* label : f.window->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            QVERIFY2(!label->geometry().intersects(simulate->geometry()), qPrintable(label->objectName()));
    QTest::mouseClick(simulate, Qt::LeftButton);
    QVERIFY(f.sim()->isVisible());
    QVERIFY(!f.sim()->isModal());
    QCOMPARE(f.sim()->windowTitle(), QString("Virtual Converter"));
    QVERIFY(f.window->isEnabled());
}

void VirtualConverterTest::pymodbusReadAndWriteShowInTheTable()
{
    if (runningUnderWine())
        QSKIP("Wine: a Windows program cannot start Linux's python3, which runs the pymodbus client");
    Fixture f;
    FakeMessages msgs;
    f.window->show();
    QTest::mouseClick(f.button("Btn_Simulate"), Qt::LeftButton);
    f.sim()->findChild<QSpinBox*>("E_Sim_Port")->setValue(0);
    QTest::mouseClick(f.sim()->findChild<QPushButton*>("Btn_Sim_Start"), Qt::LeftButton);
    QVERIFY2(f.sim()->isRunning(), qPrintable(msgs.texts().join("\n")));
    const int port = f.sim()->port();
    QVERIFY(port > 0);
    QCOMPARE(f.sim()->findChild<QSpinBox*>("E_Sim_Port")->value(), port);
    QCOMPARE(f.cell(100, 5), QString());

    const QString out =
        runMaster(port, "r = c.read_holding_registers(100, 2, slave=1)\nprint(r.registers)\n"
                        "w = c.write_register(300, 0x1234, slave=1)\nprint(w.isError())\n"
                        "e = c.read_holding_registers(500, 1, slave=1)\nprint(e.exception_code)");
    QCOMPARE(out.trimmed(), QString("[0, 0]\nFalse\n2"));
    QVERIFY2(f.cell(100, 5).startsWith("read "), qPrintable(f.cell(100, 5)));
    QVERIFY2(f.cell(300, 5).startsWith("write "), qPrintable(f.cell(300, 5)));
    QCOMPARE(f.cell(300, 1), QString("0x1234"));
    QCOMPARE(f.cell(300, 2), QString("4660"));
    QCOMPARE(f.cell(300, 3), QString("TPDO"));
    QCOMPARE(f.cell(100, 4), QString("node 2 0x6041:0 [2|1]"));
    const QString log = f.sim()->findChild<QPlainTextEdit*>("Memo_Sim_Log")->toPlainText();
    QVERIFY2(log.contains("sim 202#3412"), qPrintable(log));
    QVERIFY(log.contains("fc 03 reg 500 count 1: exception 02"));
    QVERIFY(msgs.all().empty());

    QTest::mouseClick(f.sim()->findChild<QPushButton*>("Btn_Sim_Stop"), Qt::LeftButton);
    QVERIFY(!f.sim()->isRunning());
    QVERIFY(f.sim()->findChild<QPushButton*>("Btn_Sim_Start")->isEnabled());
}

void VirtualConverterTest::loadedTraceFillsRegistersAndSaveWritesIt()
{
    Fixture f;
    FakeMessages msgs;
    f.sim()->findChild<QSpinBox*>("E_Sim_Port")->setValue(0);
    const QString in = QDir(f.ws.path()).filePath("in.log");
    QFile file(in);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("(1700000000.000000) can0 182#0102030405060708\n");
    file.close();
    QVERIFY(f.sim()->loadTrace(in)); // starts the simulation
    QVERIFY(f.sim()->isRunning());
    QCOMPARE(f.cell(203, 1), QString("0x0807"));

    const QString bad = QDir(f.ws.path()).filePath("bad.log");
    QFile badFile(bad);
    QVERIFY(badFile.open(QIODevice::WriteOnly));
    badFile.write("(1.0) sim 182#01\nnot a frame\n");
    badFile.close();
    QVERIFY(!f.sim()->loadTrace(bad));
    QVERIFY2(msgs.last().contains("bad.log:2"), qPrintable(msgs.last()));

    const QString out = QDir(f.ws.path()).filePath("out.log");
    QVERIFY(f.sim()->saveTrace(out));
    QFile saved(out);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains(" sim 182#0102030405060708\n"));
}

void VirtualConverterTest::withoutProjectItSaysSo()
{
    Fixture f(false);
    FakeMessages msgs;
    QVERIFY(!f.sim()->start());
    QCOMPARE(msgs.last(), QString("Error! Open a project first"));
}

} // namespace setforge

QTEST_MAIN(setforge::VirtualConverterTest)
#include "virtualconverter_test.moc"
