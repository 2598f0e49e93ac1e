// The main window's buttons on projects broken by hand-editing or by the disk: each dialog shows
// the parser's or the system's error through the message service and leaves the file as it was.

#include <QtTest>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

namespace fs = std::filesystem;

// What a path holds, bytes and time, so that "left alone" means exactly that.
struct Held {
    bool exists = false;
    bool directory = false;
    QByteArray bytes;
    QDateTime time;
    bool operator==(const Held& other) const
    {
        // MinGW's libstdc++ sets a file's time through utime, to the second: a restored
        // file keeps its time to that precision there.
#ifdef Q_OS_WIN
        const bool sameTime = time.toSecsSinceEpoch() == other.time.toSecsSinceEpoch();
#else
        const bool sameTime = time == other.time;
#endif
        return exists == other.exists && directory == other.directory && bytes == other.bytes && sameTime;
    }
};

Held heldAt(const QString& path)
{
    Held held;
    const QFileInfo info(path);
    held.exists = info.exists();
    held.directory = info.isDir();
    held.time = info.lastModified();
    QFile file(path);
    if (!held.directory && file.open(QIODevice::ReadOnly))
        held.bytes = file.readAll();
    return held;
}

struct GuiCase {
    const char* name;
    const char* fixture;                       // tests/data/hostile/<fixture>, "" for none
    std::function<void(const fs::path&)> make; // what cannot be committed
    const char* button;
    const char* file;     // the project path that must stay as it was
    const char* fragment; // part of the error message
};

void replaceByDirectory(const fs::path& file)
{
    fs::remove(file);
    fs::create_directories(file / "inside");
}

const std::vector<GuiCase>& guiCases()
{
    static const std::vector<GuiCase> cases = {
        {"sdo.xml is a directory", "", [](const fs::path& d) { replaceByDirectory(d / "sdo.xml"); },
         "Btn_SDO_Client", "sdo.xml", "Is a directory"},
        {"sdo.xml is not XML", "not_xml_sdo", nullptr, "Btn_SDO_Client", "sdo.xml",
         "No document element found"},
        {"ParGen.xml is not XML", "not_xml_pargen", nullptr, "Btn_Prm_Gen", "ParGen.xml",
         "No document element found"},
        {"empty rpdodef.xml under the receive table", "empty_rpdodef", nullptr, "Btn_PDO_Rec", "rpdodef.xml",
         "No document element found"},
        {"empty rpdodef.xml under the receive mapping", "empty_rpdodef", nullptr, "Btn_PDO_Rec_Def",
         "rpdodef.xml", "No document element found"},
        {"emcyword.xml is a directory", "", [](const fs::path& d) { replaceByDirectory(d / "emcyword.xml"); },
         "Btn_EMCY_Def", "emcyword.xml", "Is a directory"},
        {"truncated emcyword.xml", "truncated_emcyword", nullptr, "Btn_EMCY_Def", "emcyword.xml",
         "Error parsing start element tag"},
        {"bank1_ESP32.bin is a directory", "",
         [](const fs::path& d) {
             fs::create_directories(d / "bin" / "bank1_ESP32.bin");
             QFile plain(QString::fromStdString((d / "bin" / "bank.bin").string()));
             QVERIFY(plain.open(QIODevice::WriteOnly));
             plain.write("old plain image");
         },
         "Btn_CreateBin", "bin/bank.bin", "The image file could not be written"},
    };
    return cases;
}

} // namespace

class HostileProjectTest : public QObject {
    Q_OBJECT

private slots:
    void brokenFileIsReportedAndLeftAlone_data();
    void brokenFileIsReportedAndLeftAlone();
    void tenThousandRowsOpenAndCancelWritesNothing();
};

void HostileProjectTest::brokenFileIsReportedAndLeftAlone_data()
{
    QTest::addColumn<int>("row");
    const std::vector<GuiCase>& cases = guiCases();
    for (int i = 0; i < int(cases.size()); ++i)
        QTest::newRow(cases[i].name) << i;
}

void HostileProjectTest::brokenFileIsReportedAndLeftAlone()
{
    QFETCH(int, row);
    const GuiCase& c = guiCases()[std::size_t(row)];

    TempWorkspace ws;
    QVERIFY(ws.copyTree(QStringLiteral(SETFORGE_SOURCE_DIR "/workspace/PROJECTS/Demo"), "PROJECTS/Demo"));
    const QString dir = QDir(ws.path()).filePath("PROJECTS/Demo");
    if (*c.fixture)
        fs::copy(fs::path(SETFORGE_TEST_DATA) / "hostile" / c.fixture, fs::path(dir.toStdString()),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    if (c.make)
        c.make(fs::path(dir.toStdString()));
    const QString watched = QDir(dir).filePath(c.file);
    const Held before = heldAt(watched);

    AppState state;
    startWorkspace(state, ws.utf8());
    openProject(state, "Demo");
    FakeMessages msgs;
    MainWindow window(state);
    window.show();
    // The watcher may outlive this row under load: it must then leave later dialogs alone.
    auto opened = std::make_shared<bool>(false);
    auto watching = std::make_shared<bool>(true);
    whenShown<QDialog>(
        [opened, watching](QDialog* dialog) {
            if (!*watching)
                return;
            // A dialog that finds its file unreadable closes itself once its events run;
            // only one still open after them stayed open.
            QCoreApplication::processEvents();
            if (!dialog->isVisible())
                return;
            *opened = true;
            dialog->reject();
        },
        500);
    window.clickButton(c.button);
    QTest::qWait(600);
    *watching = false;

    QVERIFY2(!*opened, "a dialog stayed open on a file it could not read");
    bool reported = false;
    for (const FakeMessages::Message& message : msgs.all())
        reported =
            reported || (message.kind == FakeMessages::Kind::Error && message.text.contains(c.fragment));
    QVERIFY2(reported, qPrintable(msgs.texts().join(" | ")));
    QVERIFY2(heldAt(watched) == before, c.file);
}

// The SDO dialog shows as many rows as its grid holds; Cancel must leave the long file whole.
void HostileProjectTest::tenThousandRowsOpenAndCancelWritesNothing()
{
    TempWorkspace ws;
    QVERIFY(ws.copyTree(QStringLiteral(SETFORGE_SOURCE_DIR "/workspace/PROJECTS/Demo"), "PROJECTS/Demo"));
    const QString sdo = QDir(ws.path()).filePath("PROJECTS/Demo/sdo.xml");
    {
        QByteArray text = "<sdo>";
        for (int i = 0; i < 10000; ++i)
            text += "<row conf=\"65\" IndexA=\"" + QByteArray::number(100 + i) +
                    "\" SubindexA=\"0\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\" "
                    "mnemonico=\"m\"/>";
        text += "</sdo><!--SW_VERSION = 2.001-->";
        QFile file(sdo);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    const Held before = heldAt(sdo);
    AppState state;
    startWorkspace(state, ws.utf8());
    openProject(state, "Demo");
    FakeMessages msgs;
    MainWindow window(state);
    window.show();
    bool opened = false;
    whenShown<QDialog>(
        [&](QDialog* dialog) {
            opened = true;
            dialog->reject();
        },
        60000);
    window.clickButton("Btn_SDO_Client");
    QTRY_VERIFY_WITH_TIMEOUT(opened, 60000);
    QCOMPARE(msgs.texts(), QStringList{});
    QVERIFY(heldAt(sdo) == before);
}

} // namespace setforge

QTEST_MAIN(setforge::HostileProjectTest)
#include "hostileproject_test.moc"
