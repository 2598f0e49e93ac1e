#include <QtTest>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/app/windowfactory.h"
#include "gui/image/edsfilechooser.h"
#include "support/fakemessages.h"
#include "support/workspace.h"

namespace setforge {

namespace {

// Answers the EDS save question with a fixed path and remembers how it was asked.
class FakeChooser : public EdsFileChooser {
public:
    explicit FakeChooser(QString answer) : m_answer(std::move(answer)) { setInstance(this); }
    ~FakeChooser() override { setInstance(nullptr); }
    QString chooseSaveFile(QWidget*, const QString& startDir, const QString& filter) override
    {
        ++calls;
        askedDir = startDir;
        askedFilter = filter;
        return m_answer;
    }
    int calls = 0;
    QString askedDir;
    QString askedFilter;

private:
    QString m_answer;
};

// Closes any modal dialog that opens while it lives (the update dialog once it exists) and
// counts them, so an update that succeeds never blocks the test.
class ModalCloser : public QObject {
public:
    ModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++shown;
                dialog->reject();
            }
        });
        m_timer.start(10);
    }
    int shown = 0;

private:
    QTimer m_timer;
};

// A workspace with the Demo project (or an empty one) open in a main window.
struct Fixture {
    TempWorkspace ws;
    AppState state;
    std::unique_ptr<MainWindow> window;

    explicit Fixture(bool demo = true)
    {
        const QString projects = QDir(ws.path()).filePath("PROJECTS");
        if (demo)
            ws.copyTree(QString(SETFORGE_SOURCE_DIR) + "/workspace/PROJECTS/Demo", "PROJECTS/Demo");
        else
            QDir().mkpath(projects + "/Demo");
        startWorkspace(state, ws.utf8());
        openProject(state, "Demo");
        window = std::make_unique<MainWindow>(state);
    }
    QString bin(const char* name = "") const
    {
        return QDir(QString::fromStdString(state.projectDir)).filePath(QString("bin/") + name);
    }
    QString project(const char* name) const
    {
        return QDir(QString::fromStdString(state.projectDir)).filePath(name);
    }
};

} // namespace

class ImageActionsTest : public QObject {
    Q_OBJECT
private slots:
    void updateDeviceWritesTheThreeImages();
    void updateDeviceShowsEachMessageInOrder();
    void stoppedUpdateWritesNothing();
    void failedCheckAsksBeforeAnythingIsWritten();
    void checkWarningsAloneDoNotAsk();
    void unwritableImageIsReportedWithItsPath();
    void edsGoesToTheChosenFile();
    void edsKeepsAGivenExtension();
    void cancelledEdsWritesNothing();
    void edsErrorIsShown();
};

void ImageActionsTest::updateDeviceWritesTheThreeImages()
{
    Fixture f;
    FakeMessages msgs;
    ModalCloser closer;
    f.window->clickButton("Btn_CreateBin");
    // The Demo's two warnings are listed, and the update goes on without a question.
    QCOMPARE(msgs.texts(), QStringList{"The project check found warnings:"});
    QCOMPARE(msgs.all().front().items.size(), 2);
    QCOMPARE(QFileInfo(f.bin("bank.bin")).size(), qint64(205));
    QCOMPARE(QFileInfo(f.bin("bank1_ESP32.bin")).size(), qint64(2048));
    QCOMPARE(QFileInfo(f.bin("bank2_ESP32.bin")).size(), qint64(30720));
}

void ImageActionsTest::updateDeviceShowsEachMessageInOrder()
{
    Fixture f(false);
    FakeMessages msgs;
    ModalCloser closer;
    updateDevice(f.window->state(), f.window.get(), f.window->windows().update);
    const QStringList expected = {"File EMCY xml not found",      "File definition RPDO xml not found",
                                  "File RPDO xml not found",      "File Transmit PDO xml not found",
                                  "File NodeGuard xml not found", "File Parametres xml not found"};
    QCOMPARE(msgs.texts(), expected);
    for (const auto& m : msgs.all())
        QCOMPARE(m.kind, FakeMessages::Kind::Information);
    QCOMPARE(QFileInfo(f.bin("bank.bin")).size(), qint64(32));
}

void ImageActionsTest::stoppedUpdateWritesNothing()
{
    Fixture f;
    FakeMessages msgs;
    ModalCloser closer;
    QFile emcy(f.project("emcydef.xml"));
    QVERIFY(emcy.open(QIODevice::WriteOnly | QIODevice::Truncate));
    emcy.write("<EMCY><row ID_EMCY=\"abc\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/></EMCY>");
    emcy.close();
    msgs.answer(true); // past the project check, which finds the same fault
    updateDevice(f.window->state(), f.window.get(), f.window->windows().update);
    QCOMPARE(msgs.all().size(), std::size_t(2));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
    QCOMPARE(msgs.last(), QString("Invalid number \"abc\" for ID_EMCY in emcydef.xml"));
    QCOMPARE(msgs.all().back().kind, FakeMessages::Kind::Error);
    QVERIFY(!QFileInfo::exists(f.bin("bank.bin")));
    QVERIFY(!QFileInfo::exists(f.bin("bank1_ESP32.bin")));
    QCOMPARE(closer.shown, 0);
}

void ImageActionsTest::failedCheckAsksBeforeAnythingIsWritten()
{
    Fixture f;
    FakeMessages msgs;
    ModalCloser closer;
    QFile guard(f.project("NodeGuard.xml"));
    QVERIFY(guard.open(QIODevice::WriteOnly | QIODevice::Truncate));
    guard.write("<Node_Guarding><row NodeID=\"2\" GuardTime=\"100\" LifeTimeFactor=\"3\" Mnemonic=\"\"/>"
                "<row NodeID=\"128\" GuardTime=\"100\" LifeTimeFactor=\"3\" Mnemonic=\"\"/></Node_Guarding>");
    guard.close();
    updateDevice(f.window->state(), f.window.get(),
                 f.window->windows().update); // the question is answered No, its default
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
    // The failed checks come as the lines of a scrolling list, as `check` prints them.
    QCOMPARE(msgs.last(), QString("The project check found problems:\n\nUpdate anyway?"));
    QVERIFY(msgs.all().front().isList);
    QVERIFY2(msgs.all().front().items.contains(
                 "error: NodeGuard.xml: Error row 2!! Device ID must be between 1 and 127"),
             qPrintable(msgs.all().front().items.join('\n')));
    QVERIFY(!QFileInfo::exists(f.bin("bank.bin")));
    QCOMPARE(closer.shown, 0);

    // Yes goes on: the images are written and the update dialog opens.
    msgs.clear();
    msgs.answer(true);
    updateDevice(f.window->state(), f.window.get(), f.window->windows().update);
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QTRY_COMPARE(closer.shown, 1);
    QVERIFY(QFileInfo::exists(f.bin("bank1_ESP32.bin")));
}

void ImageActionsTest::checkWarningsAloneDoNotAsk()
{
    Fixture f;
    FakeMessages msgs;
    ModalCloser closer;
    QFile parGen(f.project("ParGen.xml"));
    QVERIFY(parGen.open(QIODevice::ReadOnly));
    QByteArray xml = parGen.readAll();
    parGen.close();
    // A timeout that bank.bin cuts short is a warning of the check, not a failure.
    xml.replace("<CAN_timeoutsdo>10000</CAN_timeoutsdo>", "<CAN_timeoutsdo>70000</CAN_timeoutsdo>");
    QVERIFY(parGen.open(QIODevice::WriteOnly | QIODevice::Truncate));
    parGen.write(xml);
    parGen.close();
    updateDevice(f.window->state(), f.window.get(), f.window->windows().update);
    for (const auto& m : msgs.all())
        QVERIFY2(m.kind != FakeMessages::Kind::Question, qPrintable(m.text));
    // The warnings are listed before the update goes on, each with its file.
    const auto lists = msgs.lists();
    QCOMPARE(lists.size(), std::size_t(1));
    QCOMPARE(lists.front().kind, FakeMessages::Kind::Warning);
    QCOMPARE(lists.front().text, QString("The project check found warnings:"));
    QVERIFY(!lists.front().items.isEmpty());
    for (const QString& line : lists.front().items)
        QVERIFY2(line.startsWith("warning: "), qPrintable(line));
    QTRY_COMPARE(closer.shown, 1);
    QVERIFY(QFileInfo::exists(f.bin("bank1_ESP32.bin")));
}

void ImageActionsTest::unwritableImageIsReportedWithItsPath()
{
    Fixture f;
    FakeMessages msgs;
    ModalCloser closer;
    // Tests may run as root, so a read-only folder would not stop the write: a directory
    // standing where the file should be does.
    QVERIFY(QDir().mkpath(f.bin("bank.bin")));
    updateDevice(f.window->state(), f.window.get(), f.window->windows().update);
    QCOMPARE(msgs.all().size(), std::size_t(2)); // the Demo's warnings, then the write's error
    QCOMPARE(msgs.all().back().kind, FakeMessages::Kind::Error);
    QVERIFY2(msgs.last().contains(QDir::toNativeSeparators(f.bin("bank.bin"))), qPrintable(msgs.last()));
    QVERIFY(!QFileInfo::exists(f.bin("bank1_ESP32.bin")));
    QCOMPARE(closer.shown, 0);
}

void ImageActionsTest::edsGoesToTheChosenFile()
{
    Fixture f;
    FakeMessages msgs;
    const QString chosen = QDir(f.ws.path()).filePath("demo");
    FakeChooser chooser(chosen);
    f.window->show();
    f.window->clickButton("Btn_EDS_File");
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(chooser.askedDir, QString::fromStdString(f.state.projectDir));
    QCOMPARE(chooser.askedFilter, QString("Electronic Data Sheet (*.eds)"));
    QCOMPARE(msgs.texts(), QStringList());
    QFile eds(chosen + ".eds");
    QVERIFY(eds.open(QIODevice::ReadOnly));
    const QByteArray text = eds.readAll();
    QVERIFY(text.startsWith("[FileInfo]\r\n"));
    QVERIFY(text.contains("\r\nNrOfRXPDO=2\r\nNrOfTXPDO=2\r\n"));
    QVERIFY(!QFileInfo::exists(chosen));
}

void ImageActionsTest::edsKeepsAGivenExtension()
{
    Fixture f;
    FakeMessages msgs;
    const QString chosen = QDir(f.ws.path()).filePath("device.txt");
    FakeChooser chooser(chosen);
    buildEdsFile(f.window->state(), f.window.get());
    QVERIFY(QFileInfo::exists(chosen));
    QVERIFY(!QFileInfo::exists(chosen + ".eds"));
}

void ImageActionsTest::cancelledEdsWritesNothing()
{
    Fixture f;
    FakeMessages msgs;
    FakeChooser chooser(QString{});
    buildEdsFile(f.window->state(), f.window.get());
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(msgs.texts(), QStringList());
    QCOMPARE(QDir(f.ws.path()).entryList({"*.eds"}, QDir::Files), QStringList());
}

void ImageActionsTest::edsErrorIsShown()
{
    Fixture f;
    FakeMessages msgs;
    QFile rpdo(f.project("rpdodef.xml"));
    QVERIFY(rpdo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    rpdo.write("<rpdodef><row cobid=\"0x181\" dimension=\"12\"/></rpdodef>");
    rpdo.close();
    const QString chosen = QDir(f.ws.path()).filePath("bad.eds");
    FakeChooser chooser(chosen);
    buildEdsFile(f.window->state(), f.window.get());
    QCOMPARE(msgs.texts(),
             QStringList{"Invalid PDO length \"12\" for dimension in rpdodef.xml: a PDO holds 0 to 8 bytes"});
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY(!QFileInfo::exists(chosen));
}

} // namespace setforge

QTEST_MAIN(setforge::ImageActionsTest)
#include "imageactions_test.moc"
