#include <QtTest>

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/app/atomicfile.h"
#include "core/tables/tabledefinition.h"
#include "gui/app/mainwindow.h"
#include "gui/app/windowfactory.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace {

// A workspace with the open project "Demo".
struct Project {
    TempWorkspace ws;
    AppState state;
    QString dir;

    explicit Project(const char* parGen = nullptr)
    {
        dir = QDir(ws.path()).filePath("PROJECTS/Demo");
        QDir().mkpath(dir + "/bin");
        startWorkspace(state, ws.utf8());
        openProject(state, "Demo");
        if (parGen)
            write("ParGen.xml", parGen);
    }
    QString path(const QString& name) const { return QDir(dir).filePath(name); }
    void write(const QString& name, const QByteArray& content) const
    {
        writeFileAtomic(path(name).toStdString(), content.toStdString());
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

const char* kEthernet = "<ParGen><Select_Device_Type>1</Select_Device_Type></ParGen>";

// Closes a dialog that a failed check inside a modal lambda left open, so exec() returns.
struct CloseOnExit {
    QDialog* dialog;
    ~CloseOnExit()
    {
        if (dialog->isVisible())
            dialog->reject();
    }
};

QModelIndex cellAt(TableDialog* dialog, int row, int column)
{
    return dialog->model()->index(row, column);
}

QString cellText(TableDialog* dialog, int row, int column)
{
    return cellAt(dialog, row, column).data(Qt::EditRole).toString();
}

// Types `text` into a cell through its editor and ends the edit with Enter.
bool typeInto(TableDialog* dialog, int row, int column, const QString& text)
{
    TableGrid* view = dialog->view();
    const QModelIndex index = cellAt(dialog, row, column);
    view->setCurrentIndex(index);
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(index));
    if (!editor)
        return false;
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    return QTest::qWaitFor([&] { return cellText(dialog, row, column) == text; }, 2000);
}

void setRow(TableDialog* dialog, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        dialog->model()->setData(cellAt(dialog, row, c + 1), cells[c]);
}

QStringList rowTexts(TableDialog* dialog, int row)
{
    QStringList cells;
    for (int c = 1; c < dialog->model()->columnCount(); ++c)
        cells << cellText(dialog, row, c);
    return cells;
}

} // namespace

class TableDialogTest : public QObject {
    Q_OBJECT
private slots:
    void sdoClientEndToEndFromTheMainWindow();
    void transmitPdoWithEthernetTicksAndKeepsHiddenCells();
    void deleteRowAsksNoThenYes();
    void insertRowAndCancelWriteNothing();
    void fileThatIsNotXmlKeepsTheDialogClosed();
    void brokenParGenKeepsThePdoDialogsClosed_data();
    void brokenParGenKeepsThePdoDialogsClosed();
    void failedWriteKeepsTheDialogOpen();
    void framesSizesTitlesAndWidths();
    void enterMovesToTheNextCellWhenAsked();
    void doubleClickOnABorderSizesTheColumnWhenAsked();
    void copyPasteAndDelete();
    void modelPassesTheTester();
};

void TableDialogTest::sdoClientEndToEndFromTheMainWindow()
{
    Project project;
    FakeMessages msgs;
    MainWindow window(project.state);
    window.show();

    QStringList errors;
    bool ran = false;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        CloseOnExit guard{dialog};
        ran = true;
        QCOMPARE(dialog->objectName(), QString("TFSDOClient"));
        QAbstractItemModelTester tester(dialog->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(typeInto(dialog, 0, 1, "100"));
        QVERIFY(typeInto(dialog, 0, 2, "2"));
        QVERIFY(typeInto(dialog, 0, 3, "1"));

        // R/W from its list.
        const QModelIndex rw = cellAt(dialog, 0, 4);
        dialog->view()->setCurrentIndex(rw);
        QTest::keyClick(dialog->view(), Qt::Key_F2);
        auto* combo = qobject_cast<QComboBox*>(dialog->view()->indexWidget(rw));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("ReadOnly"));
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_COMPARE(cellText(dialog, 0, 4), QString("ReadWrite"));

        QVERIFY(typeInto(dialog, 0, 5, "0"));
        QVERIFY(typeInto(dialog, 0, 6, "0x6041"));
        QVERIFY(typeInto(dialog, 0, 7, "0"));
        QVERIFY(typeInto(dialog, 0, 8, "2"));

        dialog->findChild<QPushButton*>("Btn_OK")->click();
        errors = msgs.texts();
        QVERIFY(dialog->isVisible());
        QVERIFY(!QFile::exists(project.path("sdo.xml")));

        QVERIFY(typeInto(dialog, 0, 5, "5"));
        msgs.clear();
        dialog->findChild<QPushButton*>("Btn_OK")->click();
        QVERIFY(msgs.texts().isEmpty());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    });
    window.clickButton("Btn_SDO_Client");
    QVERIFY(ran);
    QCOMPARE(errors, QStringList{"Error row 1!! Device ID must be between 1 and 127"});
    QCOMPARE(project.read("sdo.xml"),
             QByteArray("<sdo><row conf=\"81\" IndexA=\"100\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" "
                        "SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"\"/></sdo><!--SW_VERSION = 2.001-->"));

    // Shown again, the dialog starts from the file.
    QStringList row;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        CloseOnExit guard{dialog};
        row = rowTexts(dialog, 0);
        dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    window.clickButton("Btn_SDO_Client");
    QCOMPARE(row, (QStringList{"100", "2", "1", "ReadWrite", "5", "0x6041", "0", "2", ""}));
}

void TableDialogTest::transmitPdoWithEthernetTicksAndKeepsHiddenCells()
{
    Project project(kEthernet);
    project.write("Transmit_Pdo.xml",
                  "<Trasmit_PDO><row COB-ID=\"0x181\" Dimension=\"8\" SMA=\"77\" OnChange=\"\" OnTimer=\"\" "
                  "Timer=\"\" Mnemonic=\"keep\"/></Trasmit_PDO>");
    FakeMessages msgs;
    MainWindow window(project.state);
    window.show();

    QStringList errors;
    bool ran = false;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        CloseOnExit guard{dialog};
        ran = true;
        QCOMPARE(dialog->objectName(), QString("TFPDOTransmit"));
        TableGrid* view = dialog->view();
        QVERIFY(view->isColumnHidden(3));
        QVERIFY(!view->isColumnHidden(4));
        QVERIFY(!view->isColumnHidden(5));
        QVERIFY(!view->isColumnHidden(6));
        QCOMPARE(view->columnWidth(7), 250);

        // Space ticks the On Timer box.
        const QModelIndex onTimer = cellAt(dialog, 0, 5);
        QCOMPARE(onTimer.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        view->setCurrentIndex(onTimer);
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(cellText(dialog, 0, 5), QString("Y"));
        QCOMPARE(onTimer.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(typeInto(dialog, 0, 6, "abc"));

        dialog->findChild<QPushButton*>("Btn_OK")->click();
        errors = msgs.texts();
        QVERIFY(dialog->isVisible());

        QVERIFY(typeInto(dialog, 0, 6, "100"));
        dialog->findChild<QPushButton*>("Btn_OK")->click();
        QVERIFY(!dialog->isVisible());
    });
    window.clickButton("Btn_PDO_Tra");
    QVERIFY(ran);
    QCOMPARE(errors, QStringList{"Error row 1!! Timer must be between 0 and 100000000 ms"});
    QCOMPARE(project.read("Transmit_Pdo.xml"),
             QByteArray(
                 "<Trasmit_PDO><row COB-ID=\"0x181\" Dimension=\"8\" SMA=\"77\" OnChange=\"\" OnTimer=\"Y\" "
                 "Timer=\"100\" Mnemonic=\"keep\"/></Trasmit_PDO><!--SW_VERSION = 2.001-->"));
}

void TableDialogTest::deleteRowAsksNoThenYes()
{
    Project project;
    project.write("NodeGuard.xml",
                  "<Node_Guarding><row NodeID=\"1\" Mnemonic=\"a\"/><row NodeID=\"2\" Mnemonic=\"b\"/>"
                  "<row NodeID=\"3\" Mnemonic=\"c\"/></Node_Guarding>");
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog);
    QVERIFY(dialog->reload());
    dialog->view()->setCurrentIndex(cellAt(dialog, 1, 2));

    msgs.answer(false);
    dialog->findChild<QPushButton*>("Btn_DelRow")->click();
    QCOMPARE(msgs.last(), QString("Are you sure to delete the Row number 2"));
    QCOMPARE(msgs.all().back().kind, FakeMessages::Kind::Question);
    QCOMPARE(rowTexts(dialog, 1), (QStringList{"2", "", "", "b"}));

    msgs.answer(true);
    dialog->findChild<QPushButton*>("Btn_DelRow")->click();
    QCOMPARE(msgs.texts().size(), 2);
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"1", "", "", "a"}));
    QCOMPARE(rowTexts(dialog, 1), (QStringList{"3", "", "", "c"}));
    QCOMPARE(rowTexts(dialog, 2), (QStringList{"", "", "", ""}));
    QCOMPARE(cellText(dialog, 1, 0), QString("2"));
}

void TableDialogTest::insertRowAndCancelWriteNothing()
{
    Project project;
    const QByteArray original =
        "<EMCY><row ID_EMCY=\"1\" EMCY_Error_Code=\"2\" Error_Register=\"3\" Mnemonic=\"x\"/></EMCY>";
    project.write("emcydef.xml", original);
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createEmcyAccessWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->view()->setCurrentIndex(cellAt(dialog, 0, 3));
    dialog->findChild<QPushButton*>("Btn_InsRow")->click();
    QVERIFY(msgs.texts().isEmpty());
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"", "", "", ""}));
    QCOMPARE(rowTexts(dialog, 1), (QStringList{"1", "2", "3", "x"}));
    dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    QCOMPARE(project.read("emcydef.xml"), original);
    // The next showing starts from the file again.
    QVERIFY(dialog->reload());
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"1", "2", "3", "x"}));
}

void TableDialogTest::fileThatIsNotXmlKeepsTheDialogClosed()
{
    Project project;
    const QByteArray broken = "<Node_Guarding><row NodeID=\"1\"></Node_Guarding>";
    project.write("NodeGuard.xml", broken);
    FakeMessages msgs;
    MainWindow window(project.state);
    window.show();
    bool shown = false;
    whenShown<TableDialog>(
        [&](TableDialog* dialog) {
            shown = true;
            dialog->reject();
        },
        300);
    window.clickButton("Btn_NodeGuard");
    QTest::qWait(400);
    QVERIFY(!shown);
    QCOMPARE(msgs.texts().size(), 1);
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY2(msgs.last().contains("NodeGuard.xml"), qPrintable(msgs.last()));
    QCOMPARE(project.read("NodeGuard.xml"), broken);
}

void TableDialogTest::brokenParGenKeepsThePdoDialogsClosed_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("receive PDO") << "Btn_PDO_Rec";
    QTest::newRow("transmit PDO") << "Btn_PDO_Tra";
}

// Their columns depend on the device variant, which a broken file cannot tell.
void TableDialogTest::brokenParGenKeepsThePdoDialogsClosed()
{
    QFETCH(QString, button);
    Project project("<ParGen><Select_Device_Type>1</Select_Device_Type>");
    FakeMessages msgs;
    MainWindow window(project.state);
    window.show();
    bool shown = false;
    whenShown<TableDialog>(
        [&](TableDialog* dialog) {
            shown = true;
            dialog->reject();
        },
        300);
    window.clickButton(button);
    QTest::qWait(400);
    QVERIFY(!shown);
    QCOMPARE(msgs.texts().size(), 1);
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Error);
    QVERIFY2(msgs.last().startsWith(project.path("ParGen.xml") + ": "), qPrintable(msgs.last()));
}

void TableDialogTest::failedWriteKeepsTheDialogOpen()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QVERIFY(dialog->reload());
    dialog->show();
    setRow(dialog, 0, {"1", "100", "3", "m"});
    QVERIFY(QDir(project.dir).removeRecursively());
    dialog->findChild<QPushButton*>("Btn_OK")->click();
    QCOMPARE(msgs.texts().size(), 1);
    QVERIFY2(msgs.last().contains("NodeGuard.xml"), qPrintable(msgs.last()));
    QVERIFY(dialog->isVisible());
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"1", "100", "3", "m"}));
}

void TableDialogTest::framesSizesTitlesAndWidths()
{
    struct Case {
        SetforgeDialog* (*create)(AppState&, QWidget*);
        const char* name;
        QSize size;
        QString caption;
        QStringList titles;
        QList<int> widths;
    };
    const QList<Case> cases = {
        {createSdoClientWindow,
         "TFSDOClient",
         {800, 337},
         "SDO Client Access",
         {"N", "Address", "Hi Byte", "Lo Byte", "R/W", "Device ID", "Index", "SubIndex", "NByte", "Mnemonic"},
         {40, 70, 70, 70, 95, 70, 70, 70, 70, 148}},
        {createEmcyAccessWindow,
         "TFEMCYAccess",
         {700, 337},
         "Emergency Access",
         {"N", "Device ID", "Error Code", "Error Register", "Mnemonic"},
         {40, 110, 110, 110, 300}},
        {createNodeGuardWindow,
         "TFNodeGuard",
         {700, 337},
         "Node Guarding Access",
         {"N", "Device ID", "Guard Time", "Life Time Factor", "Mnemonic"},
         {40, 120, 120, 120, 275}},
        {createPdoReceiveWindow,
         "TFPDOReceive",
         {700, 337},
         "Receive PDO Access",
         {"N", "Cob-ID", "Dimension", "TimeOut (ms)", "Mnemonic"},
         {}},
        {createPdoTransmitWindow,
         "TFPDOTransmit",
         {700, 337},
         "Transmit PDO Access",
         {"N", "Cob-ID", "Dimension", "Address Start", "On Change", "On Timer", "Timer (ms)", "Mnemonic"},
         {}},
    };
    Project project;
    FakeMessages msgs;
    for (const Case& c : cases) {
        std::unique_ptr<SetforgeDialog> window(c.create(project.state, nullptr));
        auto* dialog = qobject_cast<TableDialog*>(window.get());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QString(c.name));
        QCOMPARE(dialog->size(), c.size);
        QCOMPARE(dialog->windowTitle(), c.caption);
        dialog->show();
        QCOMPARE(dialog->findChild<QLabel*>("L_SW_Code")->text(), QString("KX40917"));
        QCOMPARE(dialog->findChild<QLabel*>("L_SW_Desc")->text(), c.caption + " Definition");
        QVERIFY(dialog->findChild<QWidget*>("P_Title"));
        QWidget* buttons = dialog->findChild<QWidget*>("P_Button");
        QVERIFY(buttons);
        int left = -1;
        for (const char* name : {"Btn_OK", "Btn_Cancel", "Btn_DelRow", "Btn_InsRow"}) {
            auto* button = buttons->findChild<QPushButton*>(name);
            QVERIFY2(button, name);
            QVERIFY(button->x() > left);
            left = button->x();
        }
        QVERIFY(dialog->reload());
        QStringList titles;
        for (int column = 0; column < dialog->model()->columnCount(); ++column)
            titles << dialog->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(titles, c.titles);
        for (int column = 0; column < c.widths.size(); ++column)
            QCOMPARE(dialog->view()->columnWidth(column), c.widths[column]);
        QCOMPARE(dialog->model()->flags(cellAt(dialog, 0, 0)) & Qt::ItemIsEditable, Qt::ItemFlags());
        QCOMPARE(cellText(dialog, dialog->model()->rowCount() - 1, 0),
                 QString::number(dialog->model()->rowCount()));
    }
    // Texts follow the language.
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    project.state.texts.set(507, "Adresse");
    project.state.texts.set(502, "Gut");
    window->applyTexts();
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QCOMPARE(dialog->model()->headerData(1, Qt::Horizontal).toString(), QString("Adresse"));
    QCOMPARE(dialog->findChild<QPushButton*>("Btn_OK")->text(), QString("Gut"));

    // Receive PDO without Ethernet port hides TimeOut and widens Mnemonic.
    std::unique_ptr<SetforgeDialog> receive(createPdoReceiveWindow(project.state, nullptr));
    auto* rx = qobject_cast<TableDialog*>(receive.get());
    QVERIFY(rx->reload());
    QVERIFY(rx->view()->isColumnHidden(3));
    QCOMPARE(rx->view()->columnWidth(4), 430);
    project.write("ParGen.xml", kEthernet);
    QVERIFY(rx->reload());
    QVERIFY(!rx->view()->isColumnHidden(3));
    QCOMPARE(rx->view()->columnWidth(4), 330);
}

void TableDialogTest::enterMovesToTheNextCellWhenAsked()
{
    Project project(kEthernet);
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createPdoTransmitWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    dialog->show();

    project.state.enableJumpFieldTables = true;
    QVERIFY(dialog->reload());
    view->setCurrentIndex(cellAt(dialog, 0, 2));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 4)); // the hidden Address Start is skipped
    view->setCurrentIndex(cellAt(dialog, 0, 7));
    QTest::keyClick(view, Qt::Key_Enter);
    QCOMPARE(view->currentIndex(), cellAt(dialog, 1, 1));
    // Enter that ends an edit moves on too, with the text kept.
    QVERIFY(typeInto(dialog, 1, 1, "0x181"));
    QTRY_COMPARE(view->currentIndex(), cellAt(dialog, 1, 2));
    QTest::qWait(50);
    QCOMPARE(view->currentIndex(), cellAt(dialog, 1, 2)); // one step, not two
    QCOMPARE(cellText(dialog, 1, 1), QString("0x181"));
    QVERIFY(dialog->isVisible());

    // The option is read at the next showing.
    project.state.enableJumpFieldTables = false;
    QVERIFY(dialog->reload());
    view->setCurrentIndex(cellAt(dialog, 0, 2));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 2));
    // Without the option Enter opens the cell's editor, and Enter there ends the edit in place.
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cellAt(dialog, 0, 2)));
    QVERIFY(editor);
    QTest::keyClicks(editor, "8");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(cellText(dialog, 0, 2), QString("8"));
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 2));
    QVERIFY(dialog->isVisible());
    QVERIFY(msgs.texts().isEmpty());
}

void TableDialogTest::doubleClickOnABorderSizesTheColumnWhenAsked()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    QHeaderView* header = view->horizontalHeader();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    auto doubleClickBorder = [&](int column) {
        const QPoint border(header->sectionViewportPosition(column) + header->sectionSize(column) - 1,
                            header->height() / 2);
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    };
    const QString longText = "a long mnemonic that never fits into one hundred and twenty pixels";

    project.state.doubleClickAutoSize = false;
    QVERIFY(dialog->reload());
    setRow(dialog, 0, {longText});
    doubleClickBorder(1);
    QCOMPARE(view->columnWidth(1), 120);

    project.state.doubleClickAutoSize = true;
    QVERIFY(dialog->reload());
    setRow(dialog, 0, {longText});
    doubleClickBorder(1);
    QVERIFY2(view->columnWidth(1) > 120, qPrintable(QString::number(view->columnWidth(1))));
}

void TableDialogTest::copyPasteAndDelete()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    dialog->show();
    QVERIFY(dialog->reload());
    setRow(dialog, 0, {"1", "2", "3", "a"});
    setRow(dialog, 1, {"4", "5", "6", "b"});

    view->selectionModel()->select(QItemSelection(cellAt(dialog, 0, 1), cellAt(dialog, 1, 3)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keySequence(view, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("1\t2\t3\n4\t5\t6\n"));

    view->setCurrentIndex(cellAt(dialog, 4, 2));
    QTest::keySequence(view, QKeySequence::Paste);
    QCOMPARE(rowTexts(dialog, 4), (QStringList{"", "1", "2", "3"}));
    QCOMPARE(rowTexts(dialog, 5), (QStringList{"", "4", "5", "6"}));

    // Never past the grid: the last row, the last two columns.
    view->setCurrentIndex(cellAt(dialog, 31, 3));
    QTest::keySequence(view, QKeySequence::Paste);
    QCOMPARE(rowTexts(dialog, 31), (QStringList{"", "", "1", "2"}));

    // Never into column "N": a paste there starts at column 1.
    QGuiApplication::clipboard()->setText("7\t8\r\n");
    view->setCurrentIndex(cellAt(dialog, 10, 0));
    QTest::keySequence(view, QKeySequence::Paste);
    QCOMPARE(cellText(dialog, 10, 0), QString("11"));
    QCOMPARE(rowTexts(dialog, 10), (QStringList{"7", "8", "", ""}));

    // Delete empties the selected cells only.
    view->selectionModel()->select(QItemSelection(cellAt(dialog, 4, 2), cellAt(dialog, 5, 3)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(rowTexts(dialog, 4), (QStringList{"", "", "", "3"}));
    QCOMPARE(rowTexts(dialog, 5), (QStringList{"", "", "", "6"}));
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"1", "2", "3", "a"}));

    // Hidden columns are skipped: a block pasted from Address Start on the device without
    // Ethernet port goes on into Mnemonic.
    std::unique_ptr<SetforgeDialog> transmit(createPdoTransmitWindow(project.state, nullptr));
    auto* tx = qobject_cast<TableDialog*>(transmit.get());
    tx->show();
    QVERIFY(tx->reload());
    QGuiApplication::clipboard()->setText("10\tmnemonic\n");
    tx->view()->setCurrentIndex(cellAt(tx, 0, 3));
    QTest::keySequence(tx->view(), QKeySequence::Paste);
    QCOMPARE(rowTexts(tx, 0), (QStringList{"", "", "10", "", "", "", "mnemonic"}));
    QVERIFY(msgs.texts().isEmpty());
}

void TableDialogTest::modelPassesTheTester()
{
    Project project(kEthernet);
    FakeMessages msgs;
    project.write("Transmit_Pdo.xml",
                  "<Trasmit_PDO><row COB-ID=\"0x181\" OnTimer=\"y\"/><row COB-ID=\"0x182\"/></Trasmit_PDO>");
    std::unique_ptr<SetforgeDialog> window(createPdoTransmitWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QAbstractItemModelTester tester(dialog->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(dialog->reload());
    QCOMPARE(dialog->model()->rowCount(), 32);
    QCOMPARE(dialog->model()->columnCount(), 8);
    QCOMPARE(cellAt(dialog, 0, 5).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(cellAt(dialog, 1, 5).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(dialog->model()->setData(cellAt(dialog, 1, 4), int(Qt::Checked), Qt::CheckStateRole));
    QCOMPARE(cellText(dialog, 1, 4), QString("Y"));
    QVERIFY(dialog->model()->setData(cellAt(dialog, 1, 4), int(Qt::Unchecked), Qt::CheckStateRole));
    QCOMPARE(cellText(dialog, 1, 4), QString("N"));
    QVERIFY(!dialog->model()->setData(cellAt(dialog, 1, 0), "x"));
    dialog->view()->setCurrentIndex(cellAt(dialog, 0, 1));
    msgs.answer(true);
    dialog->onDeleteRowClicked();
    dialog->onInsertRowClicked();
    QVERIFY(dialog->reload());
}

QTEST_MAIN(TableDialogTest)
#include "tabledialog_test.moc"
