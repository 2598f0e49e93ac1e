#include <QtTest>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QUrl>

#include "core/app/appstate.h"
#include "core/lang/languagefile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/urlopener.h"
#include "gui/app/windowfactory.h"
#include "gui/image/reportfilechooser.h"
#include "support/fakemessages.h"
#include "support/workspace.h"

namespace setforge {

namespace {

// Answers the report's save question with a fixed path and filter, and remembers the question.
class FakeChooser : public ReportFileChooser {
public:
    FakeChooser(QString answer, QString filter) : m_answer(std::move(answer)), m_filter(std::move(filter))
    {
        setInstance(this);
    }
    ~FakeChooser() override { setInstance(nullptr); }
    QString chooseSaveFile(QWidget*, const QString& caption, const QString& proposedPath,
                           const QString& filters, QString& selectedFilter) override
    {
        ++calls;
        askedCaption = caption;
        askedPath = proposedPath;
        askedFilters = filters;
        askedSelected = selectedFilter;
        if (!m_filter.isEmpty())
            selectedFilter = m_filter;
        return m_answer;
    }
    int calls = 0;
    QString askedCaption;
    QString askedPath;
    QString askedFilters;
    QString askedSelected;

private:
    QString m_answer;
    QString m_filter;
};

// Records the addresses the program would open in the browser.
class RecordingOpener : public UrlOpener {
public:
    RecordingOpener() { setInstance(this); }
    ~RecordingOpener() override { setInstance(nullptr); }
    void open(const QString& url) override { opened << url; }
    QStringList opened;
};

struct Fixture {
    TempWorkspace ws;
    AppState state;
    std::unique_ptr<MainWindow> window;

    explicit Fixture(const QByteArray& parGen = {}, const QString& name = QStringLiteral("Demo"))
    {
        ws.copyTree(QString(SETFORGE_SOURCE_DIR) + "/workspace/PROJECTS/Demo", "PROJECTS/" + name);
        if (!parGen.isEmpty()) {
            QFile file(QDir(ws.path()).filePath("PROJECTS/" + name + "/ParGen.xml"));
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(parGen);
        }
        startWorkspace(state, ws.utf8());
        openProject(state, name.toStdString());
        window = std::make_unique<MainWindow>(state);
    }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QString projectFile(const QString& name) const
    {
        return QDir(QString::fromStdString(state.projectDir)).filePath(name);
    }
};

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ReportActionTest : public QObject {
    Q_OBJECT
private slots:
    void buttonSitsInStepEightsSecondColumn_data();
    void buttonSitsInStepEightsSecondColumn();
    void htmlIsWrittenAndOpenedInTheBrowser();
    void csvFilterWritesCsvAndOpensNothing();
    void cancelWritesNothing();
    void writeErrorIsShown();
    void writeErrorIsInTheUsersLanguage();
    void proposedNameKeepsTheWholeProjectName_data();
    void proposedNameKeepsTheWholeProjectName();
};

void ReportActionTest::buttonSitsInStepEightsSecondColumn_data()
{
    QTest::addColumn<QByteArray>("parGen");
    QTest::addColumn<QString>("beside");
    QTest::newRow("with Ethernet") << QByteArray() << QString("Btn_EDS_File");
    QTest::newRow("without Ethernet")
        << QByteArray("<Par_Gen><Select_Device_Type>0</Select_Device_Type></Par_Gen>")
        << QString("Btn_CreateBin");
}

void ReportActionTest::buttonSitsInStepEightsSecondColumn()
{
    QFETCH(QByteArray, parGen);
    QFETCH(QString, beside);
    Fixture f(parGen);
    f.window->show();
    QPushButton* report = f.button("Btn_Report");
    QVERIFY(report);
    QVERIFY(report->isVisible());
    QCOMPARE(report->text(), QString("Report"));
    const QPushButton* first = f.window->findChild<QPushButton*>(beside);
    QCOMPARE(report->y(), first->y());
    QCOMPARE(report->x(), f.button("Btn_Open")->x());
    QCOMPARE(report->size(), first->size());
    // Nothing else sits there.
    for (const QPushButton* other : f.window->findChildren<QPushButton*>())
        if (other != report && other->isVisible())
            QVERIFY2(!other->geometry().intersects(report->geometry()), qPrintable(other->objectName()));
}

void ReportActionTest::htmlIsWrittenAndOpenedInTheBrowser()
{
    Fixture f;
    FakeMessages msgs;
    RecordingOpener opener;
    const QString chosen = QDir(f.ws.path()).filePath("map");
    FakeChooser chooser(chosen, QString());
    f.window->show();
    f.window->clickButton("Btn_Report");
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(chooser.askedCaption, QString("Save the Register Map Report"));
    QCOMPARE(chooser.askedPath, f.projectFile("Demo_register_map.html"));
    QCOMPARE(chooser.askedFilters, QString("HTML page (*.html);;CSV table (*.csv)"));
    QCOMPARE(chooser.askedSelected, QString("HTML page (*.html)"));
    QCOMPARE(msgs.texts(), QStringList());
    const QByteArray page = fileContent(chosen + ".html");
    QVERIFY(page.startsWith("<!DOCTYPE html>"));
    QVERIFY(page.contains("<h1>Register map of Demo</h1>"));
    QCOMPARE(opener.opened, QStringList{QUrl::fromLocalFile(chosen + ".html").toString()});
}

void ReportActionTest::csvFilterWritesCsvAndOpensNothing()
{
    Fixture f;
    FakeMessages msgs;
    RecordingOpener opener;
    const QString chosen = QDir(f.ws.path()).filePath("map");
    FakeChooser chooser(chosen, "CSV table (*.csv)");
    buildReport(f.window->state(), f.window.get());
    QVERIFY(fileContent(chosen + ".csv").startsWith("register,register_hex,access,source,file,row,"));
    QVERIFY(!QFileInfo::exists(chosen + ".html"));
    QCOMPARE(opener.opened, QStringList());
    // Nothing opens a CSV table, so the user is told where it went.
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Information);
    QCOMPARE(msgs.last(), "Register map written to " + QDir::toNativeSeparators(chosen + ".csv") + ".");
}

void ReportActionTest::cancelWritesNothing()
{
    Fixture f;
    FakeMessages msgs;
    RecordingOpener opener;
    FakeChooser chooser{QString(), QString()};
    const QStringList before = QDir(QString::fromStdString(f.state.projectDir)).entryList(QDir::Files);
    buildReport(f.window->state(), f.window.get());
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(QDir(QString::fromStdString(f.state.projectDir)).entryList(QDir::Files), before);
    QCOMPARE(opener.opened, QStringList());
    QCOMPARE(msgs.texts(), QStringList());
}

void ReportActionTest::writeErrorIsShown()
{
    Fixture f;
    FakeMessages msgs;
    RecordingOpener opener;
    // Tests may run as root, so a read-only folder would not stop the write: a directory
    // standing where the file should be does.
    const QString chosen = QDir(f.ws.path()).filePath("taken.html");
    QVERIFY(QDir().mkpath(chosen));
    FakeChooser chooser(chosen, QString());
    buildReport(f.window->state(), f.window.get());
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY2(
        msgs.last().startsWith("The report cannot be written to " + QDir::toNativeSeparators(chosen) + "."),
        qPrintable(msgs.last()));
    QCOMPARE(opener.opened, QStringList());
}

void ReportActionTest::writeErrorIsInTheUsersLanguage()
{
    Fixture f;
    QVERIFY(
        applyLanguageFile(f.window->state().texts, SETFORGE_SOURCE_DIR "/workspace/LANGUAGE/Deutsch.lng"));
    FakeMessages msgs;
    RecordingOpener opener;
    const QString chosen = QDir(f.ws.path()).filePath("taken.html");
    QVERIFY(QDir().mkpath(chosen));
    FakeChooser chooser(chosen, QString());
    buildReport(f.window->state(), f.window.get());
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QVERIFY2(msgs.last().startsWith("Der Bericht kann nicht nach " + QDir::toNativeSeparators(chosen) +
                                    " geschrieben werden."),
             qPrintable(msgs.last()));
}

void ReportActionTest::proposedNameKeepsTheWholeProjectName_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("quotes") << QString("Line \"B\" press") << QString("Line _B_ press_register_map.html");
    QTest::newRow("colon and star") << QString("A:1*2") << QString("A_1_2_register_map.html");
    QTest::newRow("plain") << QString("Plant 7") << QString("Plant 7_register_map.html");
}

void ReportActionTest::proposedNameKeepsTheWholeProjectName()
{
    QFETCH(QString, project);
    QFETCH(QString, proposed);
    Fixture f({}, project);
    FakeMessages msgs;
    FakeChooser chooser{QString(), QString()};
    buildReport(f.window->state(), f.window.get());
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(chooser.askedPath, f.projectFile(proposed));
}

} // namespace setforge

QTEST_MAIN(setforge::ReportActionTest)
#include "reportaction_test.moc"
