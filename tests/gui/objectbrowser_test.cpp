#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "core/app/appstate.h"
#include "core/base/atomicfile.h"
#include "core/base/devicevariant.h"
#include "core/nodes/nodecatalog.h"
#include "gui/app/windowfactory.h"
#include "gui/mapping/mappingeditor.h"
#include "gui/nodes/nodechooser.h"
#include "gui/nodes/nodeedschooser.h"
#include "gui/nodes/objectbrowser.h"
#include "gui/nodes/pdopresetdialog.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

QString fixture(const char* name)
{
    return QString(SETFORGE_TEST_DATA) + "/eds/" + name;
}

// A workspace with the open project "Demo"; node 5 described by the drive's EDS unless told.
struct Project {
    TempWorkspace ws;
    AppState state;
    QString dir;

    explicit Project(bool withDrive = true)
    {
        dir = QDir(ws.path()).filePath("PROJECTS/Demo");
        QDir().mkpath(dir);
        startWorkspace(state, ws.utf8());
        openProject(state, "Demo");
        if (withDrive)
            QVERIFY(static_cast<bool>(
                NodeCatalog::addNodeEds(state.projectDir, 5, fixture("drive.eds").toStdString())));
    }
    QString path(const QString& name) const { return QDir(dir).filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

// Answers "Add EDS…" with a fixed file and node ID, and records that it was asked.
class FakeEdsChooser : public NodeEdsChooser {
public:
    FakeEdsChooser(QString file, int nodeId) : m_file(std::move(file)), m_nodeId(nodeId)
    {
        setInstance(this);
    }
    ~FakeEdsChooser() override { setInstance(nullptr); }
    QString chooseEdsFile(QWidget*, const QString&) override { return m_file; }
    std::optional<int> chooseNodeId(QWidget*, const QString&, int suggested) override
    {
        suggestedId = suggested;
        return m_nodeId;
    }
    int suggestedId = 0;

private:
    QString m_file;
    int m_nodeId;
};

QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& index, int sub)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == index && (*it)->text(1) == QString::number(sub))
            return *it;
    return nullptr;
}

QStringList visibleIndexes(QTreeWidget* tree)
{
    QStringList shown;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (!tree->topLevelItem(i)->isHidden())
            shown << tree->topLevelItem(i)->text(0);
    return shown;
}

QStringList rowTexts(TableDialog* dialog, int row)
{
    QStringList cells;
    for (int c = 1; c < dialog->model()->columnCount(); ++c)
        cells << dialog->model()->index(row, c).data(Qt::EditRole).toString();
    return cells;
}

// A small valve: a write-only Controlword, and three transmit PDOs: TPDO1 sent on change and
// every 100 ms, TPDO2 switched off (COB-ID bit 31), TPDO3 mapping nothing.
const char* const kValveEds =
    "[FileInfo]\nFileName=valve.eds\n[DeviceInfo]\nVendorName=Acme\nProductName=Valve\n"
    "[1000]\nParameterName=Device type\nObjectType=0x7\nDataType=0x0007\nAccessType=const\nDefaultValue=0\n"
    "[1800]\nParameterName=TPDO1\nObjectType=0x9\nSubNumber=4\n"
    "[1800sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\nDefaultValue=$NODEID+0x180\n"
    "[1800sub2]\nParameterName=Type\nDataType=0x0005\nAccessType=rw\nDefaultValue=254\n"
    "[1800sub5]\nParameterName=Event timer\nDataType=0x0006\nAccessType=rw\nDefaultValue=100\n"
    "[1801]\nParameterName=TPDO2\nObjectType=0x9\nSubNumber=2\n"
    "[1801sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\nDefaultValue=0x80000280\n"
    "[1802]\nParameterName=TPDO3\nObjectType=0x9\nSubNumber=2\n"
    "[1802sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\nDefaultValue=$NODEID+0x380\n"
    "[1A00]\nParameterName=TPDO1 mapping\nObjectType=0x9\nSubNumber=2\n"
    "[1A00sub0]\nParameterName=Count\nDataType=0x0005\nAccessType=rw\nDefaultValue=1\n"
    "[1A00sub1]\nParameterName=Object 1\nDataType=0x0007\nAccessType=rw\nDefaultValue=0x60410010\n"
    "[1A01]\nParameterName=TPDO2 mapping\nObjectType=0x9\nSubNumber=2\n"
    "[1A01sub0]\nParameterName=Count\nDataType=0x0005\nAccessType=rw\nDefaultValue=1\n"
    "[1A01sub1]\nParameterName=Object 1\nDataType=0x0007\nAccessType=rw\nDefaultValue=0x60410010\n"
    "[1A02]\nParameterName=TPDO3 mapping\nObjectType=0x9\nSubNumber=1\n"
    "[1A02sub0]\nParameterName=Count\nDataType=0x0005\nAccessType=rw\nDefaultValue=0\n"
    "[6040]\nParameterName=Controlword\nObjectType=0x7\nDataType=0x0006\nAccessType=wo\nDefaultValue=0\n"
    "[6041]\nParameterName=Statusword\nObjectType=0x7\nDataType=0x0006\nAccessType=ro\nDefaultValue=0\n";

// Writes `text` as `name` beside the project and returns its path.
QString writeBeside(const Project& project, const QString& name, const QByteArray& text)
{
    const QString path = project.path("../" + name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return path;
}

// The communication parameters of the Ethernet variant, with the converter as node `canId`.
void writeParGen(const Project& project, int deviceType, int canId)
{
    const QByteArray text = QString("<Par_Gen><Select_Device_Type>%1</Select_Device_Type><CAN_id>%2</CAN_id>"
                                    "</Par_Gen>")
                                .arg(deviceType)
                                .arg(canId)
                                .toUtf8();
    QVERIFY(static_cast<bool>(writeFileAtomic(project.path("ParGen.xml").toStdString(), text.toStdString())));
}

QList<QStringList> allRows(TableDialog* dialog)
{
    QList<QStringList> rows;
    for (int r = 0; r < dialog->model()->rowCount(); ++r)
        rows << rowTexts(dialog, r);
    return rows;
}

// Picks `index`/`sub` in the browser that the action opens, ticking the high word when asked.
void pickWhenShown(const QString& index, int sub, bool highWord, bool* ran)
{
    whenShown<ObjectBrowser>([=](ObjectBrowser* browser) {
        *ran = true;
        QTreeWidgetItem* item = findItem(browser->tree(), index, sub);
        if (item)
            browser->tree()->setCurrentItem(item);
        browser->findChild<QCheckBox*>("CB_HighWord")->setChecked(highWord);
        browser->findChild<QPushButton*>("Btn_OK")->click();
        if (browser->isVisible())
            browser->reject();
    });
}

} // namespace

class ObjectBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void pickFillsTheRowAndSaves();
    void highWordAddsARowBelow();
    void unfitObjectsAreGreyedWithTheReason();
    void filterMatchesNameOrIndex();
    void addEdsSetsTheNodeAndRemoveTakesItOut();
    void brokenCatalogueOrEdsGivesAMessageAndChangesNothing();
    void receiveTableFillsFromANodesTransmitPdo();
    void mappingEditorSaysWhatEachByteCarries();
    void pickIntoAMiddleRowIsOneUndoStep();
    void presetFillIsOneUndoStep();
    void severalObjectsBecomeConsecutiveRows();
    void helpersAreButtonsOfTheirDialogs();
    void writeOnlyObjectIsGreyedForReading();
    void switchedOffPdosAreMarkedAndCannotBeChosen();
    void presetFillsTheTimeOutAndSaysWhatItChose();
    void addEdsRefusesAnEmptyFileNamingIt();
    void addEdsAsksAboutTheOwnNodeIdAndAReplacement();
};

void ObjectBrowserTest::pickFillsTheRowAndSaves()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog);
    QVERIFY(dialog->reload());
    dialog->model()->setData(dialog->model()->index(0, 1), "100");
    dialog->view()->setCurrentIndex(dialog->model()->index(0, 9));

    bool ran = false;
    pickWhenShown("0x6041", 0, false, &ran);
    auto* action = dialog->view()->findChild<QAction*>("A_PickObject");
    QVERIFY(action);
    QCOMPARE(action->text(), QString("Pick Object from EDS…"));
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    action->trigger();
    QVERIFY(ran);
    QCOMPARE(rowTexts(dialog, 0),
             QStringList({"100", "2", "1", "ReadOnly", "5", "0x6041", "0", "2", "Statusword"}));
    QCOMPARE(rowTexts(dialog, 1), QStringList(QVector<QString>(9).toList()));

    // The row passes the same checks as a typed one and is saved as such.
    dialog->findChild<QPushButton*>("Btn_OK")->click();
    QVERIFY2(msgs.all().empty(), qPrintable(msgs.texts().join('|')));
    QCOMPARE(
        project.read("sdo.xml"),
        QByteArray("<sdo><row conf=\"65\" IndexA=\"100\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" "
                   "SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"Statusword\"/></sdo><!--SW_VERSION = 2.001-->"));
}

void ObjectBrowserTest::highWordAddsARowBelow()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->model()->setData(dialog->model()->index(0, 1), "10");
    dialog->model()->setData(dialog->model()->index(1, 1), "11");
    dialog->view()->setCurrentIndex(dialog->model()->index(0, 1));

    bool ran = false;
    pickWhenShown("0x2000", 1, true, &ran); // a sub-object of a RECORD, UNSIGNED32, rw
    dialog->view()->findChild<QAction*>("A_PickObject")->trigger();
    QVERIFY(ran);
    QCOMPARE(rowTexts(dialog, 0),
             QStringList({"10", "2", "1", "ReadWrite", "5", "0x2000", "1", "4", "Rated current, mA"}));
    QCOMPARE(rowTexts(dialog, 1), QStringList({"12", "4", "3", "ReadWrite", "5", "0x2000", "1", "4",
                                               "Rated current, mA (high word)"}));
    QCOMPARE(rowTexts(dialog, 2).first(), QString("11"));
    QVERIFY(msgs.all().empty());
}

void ObjectBrowserTest::unfitObjectsAreGreyedWithTheReason()
{
    Project project;
    FakeMessages msgs;
    ObjectBrowser browser(project.state, nullptr);
    QTreeWidget* tree = browser.tree();
    auto* ok = browser.findChild<QPushButton*>("Btn_OK");
    auto* reason = browser.findChild<QLabel*>("L_Reason");
    struct Case {
        const char* index;
        int sub;
        const char* reason;
    };
    const Case kCases[] = {
        {"0x1008", 0, "A text does not fit an SDO row"},
        {"0x2000", 2, "Only objects of 1, 2 or 4 bytes fit an SDO row"},
        {"0x6041", 0, ""},
        {"0x6060", 0, ""},
    };
    for (const Case& c : kCases) {
        QTreeWidgetItem* item = findItem(tree, c.index, c.sub);
        QVERIFY2(item, c.index);
        tree->setCurrentItem(item);
        QCOMPARE(reason->text(), QString(c.reason));
        QCOMPARE(ok->isEnabled(), QString(c.reason).isEmpty());
        QCOMPARE(item->toolTip(2), QString(c.reason));
    }
    QCOMPARE(findItem(tree, "0x6041", 0)->text(4), QString("ro"));
    QCOMPARE(findItem(tree, "0x6041", 0)->text(3), QString("UNSIGNED16"));
    QCOMPARE(findItem(tree, "0x6041", 0)->text(5), QString("yes"));
    QVERIFY(msgs.all().empty());
}

void ObjectBrowserTest::filterMatchesNameOrIndex()
{
    Project project;
    FakeMessages msgs;
    ObjectBrowser browser(project.state, nullptr);
    QTreeWidget* tree = browser.tree();
    auto* filter = browser.findChild<QLineEdit*>("E_Filter");
    struct Case {
        const char* typed;
        QStringList shown;
    };
    const Case kCases[] = {
        {"STATUSW", {"0x6041"}},
        {"0x606", {"0x6060", "0x6064", "0x606C"}},
        {"velocity", {"0x606C", "0x60FF"}},
        {"rated", {"0x2000"}}, // found through its sub-object
        {"no such thing", {}},
    };
    for (const Case& c : kCases) {
        filter->setText(c.typed);
        QCOMPARE(visibleIndexes(tree), c.shown);
    }
    filter->setText("rated");
    QTreeWidgetItem* motor = tree->topLevelItem(0);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (!tree->topLevelItem(i)->isHidden())
            motor = tree->topLevelItem(i);
    QVERIFY(motor->isExpanded());
    QVERIFY(!motor->child(1)->isHidden());
    QVERIFY(motor->child(2)->isHidden());
    filter->clear();
    QCOMPARE(visibleIndexes(tree).size(), tree->topLevelItemCount());
}

void ObjectBrowserTest::addEdsSetsTheNodeAndRemoveTakesItOut()
{
    Project project(false);
    FakeMessages msgs;
    ObjectBrowser browser(project.state, nullptr);
    QCOMPARE(browser.tree()->topLevelItemCount(), 0);
    QCOMPARE(browser.findChild<QLabel*>("L_Reason")->text(),
             QString("No node yet: add its EDS with Add EDS…"));

    FakeEdsChooser chooser(fixture("iomodule.eds"), 9);
    browser.findChild<QPushButton*>("Btn_AddEds")->click();
    QCOMPARE(chooser.suggestedId, 1);
    QCOMPARE(browser.nodeId(), 9);
    QVERIFY(findItem(browser.tree(), "0x6401", 3));
    QCOMPARE(project.read("Nodes.xml"),
             QByteArray("<Nodes><row NodeID=\"9\" File=\"iomodule.eds\"/></Nodes><!--SW_VERSION = 2.001-->"));
    QFile source(fixture("iomodule.eds"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(project.read("EDS/iomodule.eds"), source.readAll());

    msgs.answer(true);
    browser.findChild<QPushButton*>("Btn_RemoveNode")->click();
    QCOMPARE(msgs.last(), QString("Remove this node from the project's catalogue? Node 9"));
    QCOMPARE(browser.nodeId(), 0);
    QCOMPARE(browser.tree()->topLevelItemCount(), 0);
    QCOMPARE(project.read("Nodes.xml"), QByteArray("<Nodes/><!--SW_VERSION = 2.001-->"));
}

void ObjectBrowserTest::brokenCatalogueOrEdsGivesAMessageAndChangesNothing()
{
    // A catalogue that is not XML: a message, an empty browser, and the file left as it was.
    {
        Project project(false);
        QVERIFY(static_cast<bool>(
            writeFileAtomic(project.path("Nodes.xml").toStdString(), "<Nodes><row NodeID=")));
        FakeMessages msgs;
        ObjectBrowser browser(project.state, nullptr);
        QCOMPARE(msgs.all().size(), size_t(1));
        QVERIFY2(msgs.last().startsWith("The node catalogue cannot be read: Nodes.xml"),
                 qPrintable(msgs.last()));
        QCOMPARE(browser.tree()->topLevelItemCount(), 0);

        // Adding a node would overwrite the rows we could not read: refused, and the message
        // names the catalogue, not the EDS.
        FakeEdsChooser chooser(fixture("drive.eds"), 3);
        msgs.clear();
        browser.findChild<QPushButton*>("Btn_AddEds")->click();
        QCOMPARE(msgs.all().size(), size_t(1));
        QVERIFY2(msgs.last().startsWith("The node catalogue cannot be read: Nodes.xml"),
                 qPrintable(msgs.last()));
        QCOMPARE(project.read("Nodes.xml"), QByteArray("<Nodes><row NodeID="));
        QVERIFY(!QFile::exists(project.path("EDS/drive.eds")));
    }
    // An EDS copy that was damaged after it was added: a message naming the line.
    {
        Project project;
        QVERIFY(static_cast<bool>(writeFileAtomic(project.path("EDS/drive.eds").toStdString(),
                                                  "[6041]\nParameterName=Statusword\n")));
        const QByteArray catalogue = project.read("Nodes.xml");
        FakeMessages msgs;
        std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
        auto* dialog = qobject_cast<TableDialog*>(window.get());
        QVERIFY(dialog->reload());
        bool ran = false;
        whenShown<ObjectBrowser>([&](ObjectBrowser* browser) {
            ran = true;
            QCOMPARE(browser->tree()->topLevelItemCount(), 0);
            QVERIFY(!browser->findChild<QPushButton*>("Btn_OK")->isEnabled());
            browser->reject();
        });
        dialog->view()->findChild<QAction*>("A_PickObject")->trigger();
        QVERIFY(ran);
        QVERIFY2(msgs.texts().join('|').contains("drive.eds: line 1: [6041] has no DataType"),
                 qPrintable(msgs.texts().join('|')));
        QCOMPARE(rowTexts(dialog, 0), QStringList(QVector<QString>(9).toList()));
        QCOMPARE(project.read("Nodes.xml"), catalogue);
        QCOMPARE(project.read("sdo.xml"), QByteArray("<missing>"));
    }
    // A broken EDS offered through "Add EDS…": the message with its line, no file written.
    {
        Project project(false);
        FakeMessages msgs;
        ObjectBrowser browser(project.state, nullptr);
        const QString broken = project.path("../broken.eds");
        QVERIFY(static_cast<bool>(writeFileAtomic(
            broken.toStdString(), "[1000]\nDataType=7\nAccessType=ro\n[2000sub1]\nDataType=7\n")));
        FakeEdsChooser chooser(broken, 4);
        browser.findChild<QPushButton*>("Btn_AddEds")->click();
        QVERIFY2(msgs.last().startsWith("This EDS cannot be read: broken.eds: line 4: [2000sub1] is a "
                                        "sub-object without its object"),
                 qPrintable(msgs.last()));
        QCOMPARE(project.read("Nodes.xml"), QByteArray("<missing>"));
        QVERIFY(!QDir(project.path("EDS")).exists() || QDir(project.path("EDS")).isEmpty());
    }
}

void ObjectBrowserTest::receiveTableFillsFromANodesTransmitPdo()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createPdoReceiveWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->view()->setCurrentIndex(dialog->model()->index(0, 1));
    bool ran = false;
    whenShown<PdoPresetDialog>([&](PdoPresetDialog* presets) {
        ran = true;
        QTreeWidget* list = presets->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(0), QString("TPDO2"));
        QCOMPARE(list->topLevelItem(1)->text(1), QString("0x285"));
        QCOMPARE(list->topLevelItem(1)->text(2), QString("1"));
        QCOMPARE(list->topLevelItem(1)->text(3), QString("6"));
        QCOMPARE(list->topLevelItem(1)->toolTip(4),
                 QString("Byte 1–2: 0x6041 Statusword\nByte 3–6: 0x6064 Position actual value"));
        list->setCurrentItem(list->topLevelItem(1));
        presets->findChild<QPushButton*>("Btn_OK")->click();
    });
    auto* action = dialog->view()->findChild<QAction*>("A_FillFromPdo");
    QVERIFY(action);
    QCOMPARE(action->text(), QString("Fill from a Node's Transmit PDO…"));
    action->trigger();
    QVERIFY(ran);
    QCOMPARE(rowTexts(dialog, 0),
             QStringList({"0x285", "6", "", "Node 5 TPDO2: Statusword, Position actual value"}));
    QVERIFY(msgs.all().empty());
}

void ObjectBrowserTest::mappingEditorSaysWhatEachByteCarries()
{
    Project project;
    FakeMessages msgs;
    const QByteArray frames =
        "<rpdodef><row cobid=\"0x285\" id_dev_orig=\"1\" dimension=\"6\" posind=\"0\" "
        "n_tpdo=\"0\" TimeOut=\"\" Mnemonic=\"\"/><row cobid=\"0x199\" id_dev_orig=\"1\" "
        "dimension=\"2\" posind=\"0\" n_tpdo=\"0\" TimeOut=\"\" Mnemonic=\"\"/></rpdodef>";
    QVERIFY(
        static_cast<bool>(writeFileAtomic(project.path("rpdodef.xml").toStdString(), frames.toStdString())));
    std::unique_ptr<SetforgeDialog> window(createRpdoDefineWindow(project.state, nullptr));
    bool ran = false;
    whenShown<MappingEditor>([&](MappingEditor* editor) {
        ran = true;
        auto* list = editor->findChild<QListWidget*>("LB_CAN_Frames");
        QVERIFY(QTest::qWaitFor([&] { return !list->item(0)->toolTip().isEmpty(); }, 2000));
        QCOMPARE(list->item(0)->toolTip(),
                 QString("Byte 1–2: 0x6041 Statusword\nByte 3–6: 0x6064 Position actual value"));
        QCOMPARE(list->item(1)->toolTip(), QString()); // no catalogue node sends 0x199
        list->setCurrentRow(0);
        auto* high = editor->findChild<QComboBox*>("CB_Byte_High_Part");
        QVERIFY(
            QTest::qWaitFor([&] { return !high->itemData(2, Qt::ToolTipRole).toString().isEmpty(); }, 2000));
        QCOMPARE(high->itemData(2, Qt::ToolTipRole).toString(), QString("0x6041 Statusword"));
        QCOMPARE(high->itemData(5, Qt::ToolTipRole).toString(), QString("0x6064 Position actual value"));
        editor->findChild<QPushButton*>("Btn_OK")->click();
    });
    window->exec();
    QVERIFY(ran);
    // Only tooltips changed: the mapping file holds what an untouched editor writes.
    QCOMPARE(project.read("sdopdo.xml"), QByteArray("<sdopdo/><!--SW_VERSION = 2.001-->"));
    QCOMPARE(project.read("rpdodef.xml"), frames);
}

// "Also the high word" into a middle row inserts a row and shifts the rows below; one Ctrl+Z
// puts every row back as it was, and Ctrl+Y brings the pick back whole.
void ObjectBrowserTest::pickIntoAMiddleRowIsOneUndoStep()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    const char* addresses[] = {"10", "11", "20", "30"};
    for (int r = 0; r < 4; ++r) {
        dialog->model()->setData(dialog->model()->index(r, 1), addresses[r]);
        dialog->model()->setData(dialog->model()->index(r, 9), QString("row %1").arg(r + 1));
    }
    const QList<QStringList> before = allRows(dialog);
    dialog->view()->setCurrentIndex(dialog->model()->index(1, 9));

    bool ran = false;
    pickWhenShown("0x2000", 1, true, &ran);
    dialog->view()->findChild<QAction*>("A_PickObject")->trigger();
    QVERIFY(ran);
    QCOMPARE(rowTexts(dialog, 1).first(), QString("11"));
    QCOMPARE(rowTexts(dialog, 2).first(), QString("12"));
    QCOMPARE(rowTexts(dialog, 3), before[2]);
    const QList<QStringList> picked = allRows(dialog);

    QTest::keyClick(dialog->view(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(allRows(dialog), before);
    // Nothing of the pick is left for a second press to undo: it takes back the typing before.
    QTest::keyClick(dialog->view(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowTexts(dialog, 3), QStringList({"30", "", "", "", "", "", "", "", ""}));
    QCOMPARE(rowTexts(dialog, 2), before[2]);
    dialog->model()->redo();
    dialog->model()->redo();
    QCOMPARE(allRows(dialog), picked);
    QVERIFY(msgs.all().empty());
}

void ObjectBrowserTest::presetFillIsOneUndoStep()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createPdoReceiveWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->model()->setData(dialog->model()->index(0, 1), "0x181");
    dialog->model()->setData(dialog->model()->index(1, 1), "0x182");
    dialog->model()->setData(dialog->model()->index(1, 4), "second");
    const QList<QStringList> before = allRows(dialog);
    dialog->view()->setCurrentIndex(dialog->model()->index(1, 1));
    whenShown<PdoPresetDialog>([](PdoPresetDialog* presets) {
        presets->list()->setCurrentItem(presets->list()->topLevelItem(1));
        presets->findChild<QPushButton*>("Btn_OK")->click();
    });
    dialog->view()->findChild<QAction*>("A_FillFromPdo")->trigger();
    QCOMPARE(rowTexts(dialog, 1),
             QStringList({"0x285", "6", "", "Node 5 TPDO2: Statusword, Position actual value"}));
    QVERIFY(dialog->model()->undo().isValid());
    QCOMPARE(allRows(dialog), before);
}

void ObjectBrowserTest::severalObjectsBecomeConsecutiveRows()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->model()->setData(dialog->model()->index(0, 1), "100");
    dialog->model()->setData(dialog->model()->index(1, 1), "101");
    dialog->model()->setData(dialog->model()->index(1, 9), "kept");
    dialog->view()->setCurrentIndex(dialog->model()->index(0, 1));
    bool ran = false;
    bool extended = false;
    bool textSelectable = true;
    std::size_t chosen = 0;
    bool okEnabled = false;
    whenShown<ObjectBrowser>([&](ObjectBrowser* browser) {
        ran = true;
        QTreeWidget* tree = browser->tree();
        extended = tree->selectionMode() == QAbstractItemView::ExtendedSelection;
        // A text object cannot join the selection (a click does not select it, and the pick
        // leaves it out even when selected by force); the three others join, in any order.
        textSelectable = bool(findItem(tree, "0x1008", 0)->flags() & Qt::ItemIsSelectable);
        for (const auto& [index, sub] :
             {std::pair<const char*, int>{"0x6064", 0}, {"0x1008", 0}, {"0x6041", 0}, {"0x6060", 0}})
            findItem(tree, index, sub)->setSelected(true);
        chosen = browser->chosenEntries().size();
        okEnabled = browser->findChild<QPushButton*>("Btn_OK")->isEnabled();
        browser->findChild<QPushButton*>("Btn_OK")->click();
        if (browser->isVisible())
            browser->reject();
    });
    dialog->view()->findChild<QAction*>("A_PickObject")->trigger();
    QVERIFY(ran);
    QVERIFY(extended);
    QVERIFY(!textSelectable);
    QCOMPARE(chosen, std::size_t(3));
    QVERIFY(okEnabled);
    // Tree order (by index), the first into the current row, each further one below it at the
    // next free register: 101 is row 2's, so 102 and 103.
    QCOMPARE(rowTexts(dialog, 0),
             QStringList({"100", "2", "1", "ReadOnly", "5", "0x6041", "0", "2", "Statusword"}));
    QCOMPARE(rowTexts(dialog, 1).mid(0, 6), QStringList({"102", "0", "1", "ReadWrite", "5", "0x6060"}));
    QCOMPARE(rowTexts(dialog, 2).mid(0, 6), QStringList({"103", "2", "1", "ReadOnly", "5", "0x6064"}));
    QCOMPARE(rowTexts(dialog, 3).first(), QString("101"));
    QCOMPARE(rowTexts(dialog, 3).last(), QString("kept"));
    // One undo step for all of them.
    dialog->model()->undo();
    QCOMPARE(rowTexts(dialog, 1).first(), QString("101"));
    QCOMPARE(rowTexts(dialog, 2).first(), QString(""));
    QCOMPARE(rowTexts(dialog, 0).mid(0, 2), QStringList({"100", ""}));
    QVERIFY(msgs.all().empty());
}

// The helpers are seen without knowing the context menu or Ctrl+E.
void ObjectBrowserTest::helpersAreButtonsOfTheirDialogs()
{
    Project project;
    FakeMessages msgs;
    struct Case {
        SetforgeDialog* (*create)(AppState&, QWidget*);
        const char* button;
        const char* caption;
        bool opensBrowser;
    };
    const Case kCases[] = {
        {&createSdoClientWindow, "Btn_PickObject", "Pick Object from EDS…", true},
        {&createPdoReceiveWindow, "Btn_FillFromPdo", "Fill from a Node's Transmit PDO…", false},
        {&createPdoTransmitWindow, "Btn_FillFromPdo", "Fill from a Node's Receive PDO…", false},
    };
    for (const Case& c : kCases) {
        std::unique_ptr<SetforgeDialog> window(c.create(project.state, nullptr));
        auto* dialog = qobject_cast<TableDialog*>(window.get());
        QVERIFY(dialog->reload());
        auto* button = dialog->findChild<QPushButton*>(c.button);
        QVERIFY2(button, c.button);
        QCOMPARE(button->text(), QString(c.caption));
        QVERIFY(!button->autoDefault());
        bool ran = false;
        if (c.opensBrowser)
            whenShown<ObjectBrowser>([&](ObjectBrowser* browser) {
                ran = true;
                browser->reject();
            });
        else
            whenShown<PdoPresetDialog>([&](PdoPresetDialog* presets) {
                ran = true;
                presets->reject();
            });
        button->click();
        QVERIFY2(ran, c.button);
    }
    QVERIFY(msgs.all().empty());
}

void ObjectBrowserTest::writeOnlyObjectIsGreyedForReading()
{
    Project project(false);
    FakeMessages msgs;
    QVERIFY(static_cast<bool>(NodeCatalog::addNodeEds(
        project.state.projectDir, 7, writeBeside(project, "valve.eds", kValveEds).toStdString())));
    ObjectBrowser browser(project.state, nullptr);
    QTreeWidgetItem* controlword = findItem(browser.tree(), "0x6040", 0);
    QVERIFY(controlword);
    QCOMPARE(controlword->text(4), QString("wo"));
    browser.tree()->setCurrentItem(controlword);
    QCOMPARE(browser.findChild<QLabel*>("L_Reason")->text(),
             QString("Write-only: an SDO row always reads its object."));
    QCOMPARE(controlword->toolTip(2), QString("Write-only: an SDO row always reads its object."));
    QVERIFY(!browser.findChild<QPushButton*>("Btn_OK")->isEnabled());
    QVERIFY(!(controlword->flags() & Qt::ItemIsSelectable));
    QVERIFY(!browser.chosenEntry());
    browser.tree()->setCurrentItem(findItem(browser.tree(), "0x6041", 0));
    QVERIFY(browser.findChild<QPushButton*>("Btn_OK")->isEnabled());
}

void ObjectBrowserTest::switchedOffPdosAreMarkedAndCannotBeChosen()
{
    Project project(false);
    FakeMessages msgs;
    QVERIFY(static_cast<bool>(NodeCatalog::addNodeEds(
        project.state.projectDir, 7, writeBeside(project, "valve.eds", kValveEds).toStdString())));
    PdoPresetDialog presets(project.state, true, nullptr);
    QTreeWidget* list = presets.list();
    QCOMPARE(list->topLevelItemCount(), 3);
    struct Case {
        const char* name;
        const char* tipStart; // "" for a PDO that can be chosen
    };
    const Case kCases[] = {
        {"TPDO1", ""},
        {"TPDO2 (switched off)", "The node has switched this PDO off: bit 31 of its COB-ID is set."},
        {"TPDO3 (switched off)", "This PDO maps no data: its length is 0."},
    };
    auto* ok = presets.findChild<QPushButton*>("Btn_OK");
    for (int i = 0; i < 3; ++i) {
        const Case& c = kCases[i];
        QTreeWidgetItem* item = list->topLevelItem(i);
        QCOMPARE(item->text(0), QString(c.name));
        const bool choosable = QString(c.tipStart).isEmpty();
        QCOMPARE(bool(item->flags() & Qt::ItemIsEnabled), choosable);
        if (!choosable) {
            QVERIFY2(item->toolTip(0).startsWith(c.tipStart), qPrintable(item->toolTip(0)));
            // Even when the program tries to make it current, it is not what OK takes.
            list->setCurrentItem(item);
            QVERIFY(list->currentItem() != item || !presets.chosenPdo());
            QVERIFY(list->currentItem() != item || !ok->isEnabled());
        }
    }
    list->setCurrentItem(list->topLevelItem(0));
    QVERIFY(ok->isEnabled());
    QCOMPARE(presets.chosenPdo()->cobId, 0x187u);
}

// With the Ethernet port the time-out or the triggers are filled from the node's event timer
// and transmission type, and one message says what was chosen; OK then passes.
void ObjectBrowserTest::presetFillsTheTimeOutAndSaysWhatItChose()
{
    Project project(false);
    writeParGen(project, 1, 1);
    FakeMessages msgs;
    QVERIFY(static_cast<bool>(NodeCatalog::addNodeEds(
        project.state.projectDir, 7, writeBeside(project, "valve.eds", kValveEds).toStdString())));
    std::unique_ptr<SetforgeDialog> window(createPdoReceiveWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    QCOMPARE(dialog->variant(), DeviceVariant::WithEthernet);
    dialog->view()->setCurrentIndex(dialog->model()->index(0, 1));
    whenShown<PdoPresetDialog>(
        [](PdoPresetDialog* presets) { presets->findChild<QPushButton*>("Btn_OK")->click(); });
    dialog->findChild<QPushButton*>("Btn_FillFromPdo")->click();
    QCOMPARE(rowTexts(dialog, 0), QStringList({"0x187", "2", "300", "Node 7 TPDO1: Statusword"}));
    QCOMPARE(msgs.all().size(), size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Information);
    QCOMPARE(msgs.last(), QString("Filled from the node's EDS:\nTimeOut 300 ms: three times the node's event "
                                  "timer of 100 ms."));
    msgs.clear();
    dialog->findChild<QPushButton*>("Btn_OK")->click();
    QVERIFY2(msgs.all().empty() || msgs.all().front().kind != FakeMessages::Kind::Error,
             qPrintable(msgs.texts().join('|')));
    QVERIFY(project.read("rpdodef.xml").contains("TimeOut=\"300\""));
}

void ObjectBrowserTest::addEdsRefusesAnEmptyFileNamingIt()
{
    Project project(false);
    FakeMessages msgs;
    ObjectBrowser browser(project.state, nullptr);
    FakeEdsChooser chooser(writeBeside(project, "empty.eds", QByteArray()), 4);
    browser.findChild<QPushButton*>("Btn_AddEds")->click();
    QCOMPARE(
        msgs.last(),
        QString("This EDS cannot be read: empty.eds: line 1: no [section] in the file: this is not an EDS"));
    QCOMPARE(project.read("Nodes.xml"), QByteArray("<missing>"));
    QCOMPARE(browser.nodeId(), 0);
}

void ObjectBrowserTest::addEdsAsksAboutTheOwnNodeIdAndAReplacement()
{
    Project project; // node 5: drive.eds
    writeParGen(project, 0, 9);
    const QByteArray catalogue = project.read("Nodes.xml");
    FakeMessages msgs;
    ObjectBrowser browser(project.state, nullptr);
    auto* add = browser.findChild<QPushButton*>("Btn_AddEds");
    {
        // The converter's own node ID: asked; No adds nothing.
        FakeEdsChooser chooser(fixture("iomodule.eds"), 9);
        add->click();
        QCOMPARE(msgs.all().back().kind, FakeMessages::Kind::Question);
        QCOMPARE(msgs.last(), QString("Node 9 is the converter's own node ID. Add this EDS for it anyway?"));
        QCOMPARE(project.read("Nodes.xml"), catalogue);
        msgs.answer(true);
        add->click();
        QCOMPARE(browser.nodeId(), 9);
        QVERIFY(project.read("Nodes.xml").contains("NodeID=\"9\" File=\"iomodule.eds\""));
    }
    {
        // A node that has an EDS: asked, naming both files; No keeps the first.
        FakeEdsChooser chooser(fixture("iomodule.eds"), 5);
        msgs.clear();
        add->click();
        QCOMPARE(msgs.all().size(), size_t(1));
        QCOMPARE(msgs.last(), QString("Node 5 already has the EDS drive.eds. Replace it with iomodule.eds?"));
        QVERIFY(project.read("Nodes.xml").contains("NodeID=\"5\" File=\"drive.eds\""));
        msgs.answer(true);
        add->click();
        QVERIFY(project.read("Nodes.xml").contains("NodeID=\"5\" File=\"iomodule.eds\""));
    }
}

} // namespace setforge

QTEST_MAIN(setforge::ObjectBrowserTest)
#include "objectbrowser_test.moc"
