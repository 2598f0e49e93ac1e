#include <QtTest>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/base/atomicfile.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/tabledefinition.h"
#include "gui/app/mainwindow.h"
#include "gui/app/windowfactory.h"
#include "gui/tables/tabledelegate.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

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
        QVERIFY(static_cast<bool>(writeFileAtomic(path(name).toStdString(), content.toStdString())));
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
        // done() rather than reject(): edits left in the grid must not ask a question here.
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
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
    void everyWayOfClosingAsksOnlyAfterAChange();
    void fileThatIsNotXmlKeepsTheDialogClosed();
    void brokenParGenKeepsThePdoDialogsClosed_data();
    void brokenParGenKeepsThePdoDialogsClosed();
    void failedWriteKeepsTheDialogOpen();
    void framesSizesTitlesAndWidths();
    void enterMovesToTheNextCellWhenAsked();
    void doubleClickOnABorderSizesTheColumnWhenAsked();
    void copyPasteAndDelete();
    void pasteRefusesTextsThatAreNotACellsChoice();
    void failedCheckAndRowButtonsLeadBackToTheGrid();
    void undoRedoCutAndFillPaste();
    void keyboardStaysInTheDataCells();
    void modelPassesTheTester();
    void rowActionRunsFromTheGridInTheCurrentLanguage();
    void nodeGuardingDialogWarnsWhileGuardingIsOff();
    void tooltipsAreWrappedAtAboutSixtyCharacters();
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
    // With a change, Cancel asks first; No keeps the dialog and its edits.
    dialog->show();
    dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    QCOMPARE(msgs.texts(), QStringList{"Discard the changes?"});
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
    QVERIFY(dialog->isVisible());
    QCOMPARE(rowTexts(dialog, 1), (QStringList{"1", "2", "3", "x"}));
    msgs.answer(true);
    dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(project.read("emcydef.xml"), original);
    // The next showing starts from the file again.
    QVERIFY(dialog->reload());
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"1", "2", "3", "x"}));
}

void TableDialogTest::everyWayOfClosingAsksOnlyAfterAChange()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    enum class Way { Cancel, Escape, TitleBar };
    struct Case {
        Way way;
        bool change;
    };
    const Case kCases[] = {{Way::Cancel, false}, {Way::Escape, false}, {Way::TitleBar, false},
                           {Way::Cancel, true},  {Way::Escape, true},  {Way::TitleBar, true}};
    for (const Case& c : kCases) {
        msgs.clear();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QVERIFY(dialog->reload());
        if (c.change)
            setRow(dialog, 3, {"7"});
        auto close = [&] {
            switch (c.way) {
            case Way::Cancel:
                dialog->findChild<QPushButton*>("Btn_Cancel")->click();
                break;
            case Way::Escape:
                QTest::keyClick(dialog->view(), Qt::Key_Escape);
                break;
            case Way::TitleBar:
                dialog->close();
                break;
            }
        };
        close();
        const int way = int(c.way);
        QCOMPARE(dialog->isVisible(), c.change);
        QCOMPARE(msgs.texts(), c.change ? QStringList{"Discard the changes?"} : QStringList{});
        if (c.change) {
            msgs.answer(true);
            close();
            QVERIFY2(!dialog->isVisible(), qPrintable(QString::number(way)));
        }
    }
    // Undoing the only change leaves nothing to ask about.
    dialog->show();
    QVERIFY(dialog->reload());
    setRow(dialog, 0, {"5"});
    dialog->view()->undo();
    msgs.clear();
    dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(msgs.texts().isEmpty());
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
    QVERIFY2(msgs.last().startsWith(QDir::toNativeSeparators(project.path("ParGen.xml")) + ": "),
             qPrintable(msgs.last()));
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
    QList<QList<int>> measured;
    QList<QList<int>> expected;
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
        QList<int> widths;
        for (int column = 0; column < c.widths.size(); ++column)
            widths << dialog->view()->columnWidth(column);
        measured << widths;
        expected << c.widths;
        QCOMPARE(dialog->model()->flags(cellAt(dialog, 0, 0)) & Qt::ItemIsEditable, Qt::ItemFlags());
        QCOMPARE(cellText(dialog, dialog->model()->rowCount() - 1, 0),
                 QString::number(dialog->model()->rowCount()));
    }
    // Columns wide enough for their header text grow with the font.
    if (runningUnderWine())
        QSKIP("Wine: without Windows' own UI fonts the header widths are measured with DejaVu Sans");
    QCOMPARE(measured, expected);
    // Texts follow the language.
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    project.state.texts.set(507, "Adresse");
    project.state.texts.set(502, "Gut");
    window->applyTexts();
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    QCOMPARE(dialog->model()->headerData(1, Qt::Horizontal).toString(), QString("Adresse"));
    QCOMPARE(dialog->findChild<QPushButton*>("Btn_OK")->text(), QString("Gut"));
    // Header tooltips follow the language too.
    project.state.texts.set(152, "Byte alto: 1 bis NByte");
    window->applyTexts();
    QCOMPARE(dialog->model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QString("Byte alto: 1 bis NByte"));
    QVERIFY(dialog->model()
                ->headerData(3, Qt::Horizontal, Qt::ToolTipRole)
                .toString()
                .contains("least significant"));
    QVERIFY(dialog->model()->headerData(8, Qt::Horizontal, Qt::ToolTipRole).toString().contains("1, 2 or 4"));

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

    // Never past the grid: the last row, the last two columns; the row that did not fit is counted.
    view->setCurrentIndex(cellAt(dialog, 31, 3));
    QTest::keySequence(view, QKeySequence::Paste);
    QCOMPARE(rowTexts(dialog, 31), (QStringList{"", "", "1", "2"}));
    QCOMPARE(msgs.texts(), QStringList{"Rows that did not fit below the last row and were not pasted: 1"});
    msgs.clear();

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

void TableDialogTest::pasteRefusesTextsThatAreNotACellsChoice()
{
    Project project(kEthernet);
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createPdoTransmitWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    dialog->show();
    QVERIFY(dialog->reload());
    setRow(dialog, 1, {"0x182", "2", "", "Y", "Y", "100", "old"});

    // Columns Dimension (hidden Address Start skipped), On Change, On Timer, Timer.
    QGuiApplication::clipboard()->setText("8\tyes\ty\t50\n4\tTRUE\t1\t60\n");
    dialog->view()->setCurrentIndex(cellAt(dialog, 0, 2));
    QTest::keySequence(dialog->view(), QKeySequence::Paste);
    QCOMPARE(rowTexts(dialog, 0), (QStringList{"", "8", "", "", "Y", "50", ""}));
    QCOMPARE(rowTexts(dialog, 1), (QStringList{"0x182", "4", "", "Y", "Y", "60", "old"}));
    QCOMPARE(msgs.all().size(), std::size_t(1));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Warning);
    QCOMPARE(msgs.last(),
             QString("These cells keep their value: the pasted text is not one of their choices.\n"
                     "Row 1, On Change\nRow 2, On Change\nRow 2, On Timer"));

    // A drop-down takes its own items in any case and stores the list's spelling.
    msgs.clear();
    std::unique_ptr<SetforgeDialog> sdoWindow(createSdoClientWindow(project.state, nullptr));
    auto* sdo = qobject_cast<TableDialog*>(sdoWindow.get());
    sdo->show();
    QVERIFY(sdo->reload());
    QGuiApplication::clipboard()->setText("readwrite\nRW\n");
    sdo->view()->setCurrentIndex(cellAt(sdo, 0, 4));
    QTest::keySequence(sdo->view(), QKeySequence::Paste);
    QCOMPARE(cellText(sdo, 0, 4), QString("ReadWrite"));
    QCOMPARE(cellText(sdo, 1, 4), QString(""));
    QCOMPARE(msgs.texts().size(), 1);
    QVERIFY(msgs.last().endsWith("\nRow 2, R/W"));

    // Five rows pasted into row 1498: three fit, the message counts the two that did not.
    msgs.clear();
    QGuiApplication::clipboard()->setText("11\n12\n13\n14\n15\n");
    sdo->view()->setCurrentIndex(cellAt(sdo, 1497, 1));
    QTest::keySequence(sdo->view(), QKeySequence::Paste);
    QCOMPARE(cellText(sdo, 1497, 1), QString("11"));
    QCOMPARE(cellText(sdo, 1499, 1), QString("13"));
    QCOMPARE(msgs.texts(), QStringList{"Rows that did not fit below the last row and were not pasted: 2"});
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Warning);
}

void TableDialogTest::failedCheckAndRowButtonsLeadBackToTheGrid()
{
    Project project;
    QByteArray xml = "<sdo>";
    for (int r = 1; r <= 1300; ++r)
        xml += "<row conf=\"0\" IndexA=\"" + QByteArray::number(r) + "\" devIDB=\"" +
               (r == 1234 ? "200" : "5") +
               "\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"\"/>";
    project.write("sdo.xml", xml + "</sdo>");
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QVERIFY(dialog->reload());

    auto* ok = dialog->findChild<QPushButton*>("Btn_OK");
    ok->setFocus();
    ok->click();
    QCOMPARE(msgs.texts(), QStringList{"Error row 1234!! Device ID must be between 1 and 127"});
    QCOMPARE(view->currentIndex(), cellAt(dialog, 1233, 5));
    QVERIFY(view->viewport()->rect().contains(view->visualRect(view->currentIndex())));
    QVERIFY(view->hasFocus());

    // After either row button the grid has the focus again, on the same row.
    struct Case {
        const char* button;
        bool answer;
    };
    const Case kCases[] = {{"Btn_InsRow", false}, {"Btn_DelRow", true}, {"Btn_DelRow", false}};
    for (const Case& c : kCases) {
        view->setCurrentIndex(cellAt(dialog, 6, 2));
        auto* button = dialog->findChild<QPushButton*>(c.button);
        button->setFocus();
        if (QByteArray(c.button) == "Btn_DelRow")
            msgs.answer(c.answer);
        button->click();
        QVERIFY2(view->hasFocus(), c.button);
        QCOMPARE(view->currentIndex().row(), 6);
    }
}

void TableDialogTest::undoRedoCutAndFillPaste()
{
    Project project;
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QVERIFY(dialog->reload());
    auto select = [&](int top, int left, int bottom, int right) {
        view->setCurrentIndex(cellAt(dialog, top, left));
        view->selectionModel()->select(
            QItemSelection(cellAt(dialog, top, left), cellAt(dialog, bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    };
    auto column1 = [&] {
        QStringList cells;
        for (int r = 0; r < 4; ++r)
            cells << cellText(dialog, r, 1);
        return cells;
    };

    QVERIFY(typeInto(dialog, 0, 1, "1")); // typing
    QGuiApplication::clipboard()->setText("2\n3\n");
    view->setCurrentIndex(cellAt(dialog, 1, 1));
    QTest::keySequence(view, QKeySequence::Paste); // paste
    QCOMPARE(column1(), (QStringList{"1", "2", "3", ""}));
    select(2, 1, 2, 1);
    QTest::keyClick(view, Qt::Key_Delete); // Delete
    view->setCurrentIndex(cellAt(dialog, 0, 1));
    dialog->findChild<QPushButton*>("Btn_InsRow")->click(); // Insert Row
    QCOMPARE(column1(), (QStringList{"", "1", "2", ""}));
    msgs.answer(true);
    view->setCurrentIndex(cellAt(dialog, 1, 1));
    dialog->findChild<QPushButton*>("Btn_DelRow")->click(); // Delete Row
    QCOMPARE(column1(), (QStringList{"", "2", "", ""}));

    const QList<QStringList> before = {
        {"", "1", "2", ""}, {"1", "2", "", ""}, {"1", "2", "3", ""}, {"1", "", "", ""}, {"", "", "", ""}};
    for (const QStringList& expected : before) {
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(column1(), expected);
    }
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier); // nothing left: no change
    QCOMPARE(column1(), (QStringList{"", "", "", ""}));
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(column1(), (QStringList{"1", "", "", ""}));
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 1));
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(column1(), (QStringList{"1", "2", "3", ""}));
    QCOMPARE(view->currentIndex(), cellAt(dialog, 1, 1));

    // Cut copies, then empties; undo brings the cells back.
    select(1, 1, 2, 1);
    QTest::keySequence(view, QKeySequence::Cut);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("2\n3\n"));
    QCOMPARE(column1(), (QStringList{"1", "", "", ""}));
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(column1(), (QStringList{"1", "2", "3", ""}));

    // One value onto a range fills the range, as one step.
    QGuiApplication::clipboard()->setText("9");
    select(1, 2, 3, 3);
    QTest::keySequence(view, QKeySequence::Paste);
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(rowTexts(dialog, r).mid(1, 2), (QStringList{"9", "9"}));
    QCOMPARE(cellText(dialog, 4, 2), QString(""));
    QCOMPARE(cellText(dialog, 1, 4), QString(""));
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(rowTexts(dialog, r).mid(1, 2), (QStringList{"", ""}));

    // A new showing starts a new history.
    QVERIFY(dialog->reload());
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(column1(), (QStringList{"", "", "", ""}));
    QVERIFY(msgs.texts() == QStringList{"Are you sure to delete the Row number 2"});
}

// Reaches the delegate's style option, which decides how a cell is drawn.
class ProbeDelegate : public TableDelegate {
public:
    using TableDelegate::initStyleOption;
    using TableDelegate::TableDelegate;
};

void TableDialogTest::keyboardStaysInTheDataCells()
{
    Project project(kEthernet);
    project.write("Transmit_Pdo.xml", "<Trasmit_PDO><row COB-ID=\"1\" OnChange=\"N\"/><row COB-ID=\"2\"/>"
                                      "<row COB-ID=\"3\" OnChange=\"Y\"/></Trasmit_PDO>");
    FakeMessages msgs;
    std::unique_ptr<SetforgeDialog> window(createPdoTransmitWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    TableGrid* view = dialog->view();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QVERIFY(dialog->reload());
    view->setFocus();

    // With Ethernet the visible data columns are 1, 2, 4, 5, 6, 7.
    struct Case {
        int row, column;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int toRow, toColumn;
    };
    const Case kCases[] = {
        {0, 7, Qt::Key_Tab, Qt::NoModifier, 1, 1},  {1, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 7},
        {0, 2, Qt::Key_Tab, Qt::NoModifier, 0, 4},  {0, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
        {3, 1, Qt::Key_Left, Qt::NoModifier, 3, 1}, {3, 5, Qt::Key_Home, Qt::NoModifier, 3, 1},
    };
    for (const Case& c : kCases) {
        view->setCurrentIndex(cellAt(dialog, c.row, c.column));
        QTest::keyClick(view, c.key, c.modifiers);
        QCOMPARE(view->currentIndex(), cellAt(dialog, c.toRow, c.toColumn));
    }
    // A click on the row number lands on the row's first data cell.
    view->setCurrentIndex(cellAt(dialog, 5, 0));
    QCOMPARE(view->currentIndex(), cellAt(dialog, 5, 1));

    // Keys the view does not take as an edit would search the column for a row starting with
    // them; that search is off, so the current cell stays.
    view->setCurrentIndex(cellAt(dialog, 0, 1));
    view->keyboardSearch("3");
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 1));

    // The current cell is drawn as current even while the grid has no focus.
    dialog->findChild<QPushButton*>("Btn_OK")->setFocus();
    QVERIFY(!view->hasFocus());
    ProbeDelegate probe(dialog->table(), view);
    QStyleOptionViewItem option;
    option.widget = view;
    QCOMPARE(view->currentIndex(), cellAt(dialog, 0, 1));
    probe.initStyleOption(&option, cellAt(dialog, 0, 1));
    QVERIFY(option.state & QStyle::State_HasFocus);
    QStyleOptionViewItem other;
    other.widget = view;
    probe.initStyleOption(&other, cellAt(dialog, 1, 1));
    QVERIFY(!(other.state & QStyle::State_HasFocus));
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

void TableDialogTest::rowActionRunsFromTheGridInTheCurrentLanguage()
{
    Project project;
    FakeMessages msgs;
    TableDialog dialog(nodeGuardTable(), project.state, nullptr);
    QList<int> rowsRun;
    QAction* action = dialog.addRowAction(1453, "A_Test", QKeySequence(Qt::CTRL | Qt::Key_E),
                                          [&] { rowsRun << dialog.currentGridRow(); });
    QCOMPARE(action->objectName(), QString("A_Test"));
    QCOMPARE(action->text(), QString("OK"));
    QVERIFY(dialog.view()->actions().contains(action));
    QCOMPARE(dialog.view()->contextMenuPolicy(), Qt::ActionsContextMenu);

    QVERIFY(dialog.reload());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.view()->setCurrentIndex(cellAt(&dialog, 3, 2));
    dialog.view()->setFocus();
    QTest::keyClick(dialog.view(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(rowsRun, QList<int>{4});
    // Not from the buttons below the grid.
    dialog.findChild<QPushButton*>("Btn_OK")->setFocus();
    QTest::keyClick(dialog.findChild<QPushButton*>("Btn_OK"), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(rowsRun, QList<int>{4});

    // A change of language renews the caption with the dialog's other texts.
    project.state.texts.set(1453, "Va bene");
    dialog.applyTexts();
    QCOMPARE(action->text(), QString("Va bene"));
    dialog.done(QDialog::Rejected);
    QVERIFY(msgs.all().empty());
}

void TableDialogTest::nodeGuardingDialogWarnsWhileGuardingIsOff()
{
    const QString warning = "Node guarding is off in the communication parameters: these rows are saved, but "
                            "the device guards no node.";
    struct Case {
        const char* parGen; // nullptr: no ParGen.xml, which reads as guarding off
        bool warned;
    };
    const Case kCases[] = {
        {"<ParGen><send_frame_nodeguard enable=\"false\" add_word_1=\"12\" add_word_2=\"13\"/></ParGen>",
         true},
        {"<ParGen><send_frame_nodeguard enable=\"true\" add_word_1=\"12\" add_word_2=\"13\"/></ParGen>",
         false},
        {nullptr, true},
    };
    for (const Case& c : kCases) {
        Project project(c.parGen);
        FakeMessages msgs;
        std::unique_ptr<SetforgeDialog> window(createNodeGuardWindow(project.state, nullptr));
        auto* dialog = qobject_cast<TableDialog*>(window.get());
        dialog->show();
        QVERIFY(dialog->reload());
        auto* note = dialog->findChild<QLabel*>("L_Table_Note");
        QVERIFY(note);
        QCOMPARE(note->isVisible(), c.warned);
        QCOMPARE(note->text(), c.warned ? warning : QString());
        QVERIFY(msgs.all().empty());
    }
    // Other tables never show the note.
    Project project;
    std::unique_ptr<SetforgeDialog> sdo(createSdoClientWindow(project.state, nullptr));
    sdo->show();
    QVERIFY(qobject_cast<TableDialog*>(sdo.get())->reload());
    QVERIFY(!sdo->findChild<QLabel*>("L_Table_Note")->isVisible());
}

void TableDialogTest::tooltipsAreWrappedAtAboutSixtyCharacters()
{
    Project project;
    std::unique_ptr<SetforgeDialog> window(createSdoClientWindow(project.state, nullptr));
    auto* dialog = qobject_cast<TableDialog*>(window.get());
    dialog->show();
    QVERIFY(dialog->reload());
    const auto checkLines = [](const QString& tip, int atLeast) {
        const QStringList lines = tip.split('\n');
        QVERIFY2(lines.size() >= atLeast, qPrintable(tip));
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 60, qPrintable(line));
    };
    // A column's tooltip in the grid's header: the Lo Byte hint is over 200 characters long.
    const QString header = dialog->view()->model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString();
    checkLines(header, 4);
    QCOMPARE(header.simplified(), QString::fromStdString(project.state.texts[153]).simplified());
    // A widget's tooltip, however it is set.
    auto* ok = dialog->findChild<QPushButton*>("Btn_OK");
    const QString longTip = QString("word ").repeated(40).trimmed();
    ok->setToolTip(longTip);
    checkLines(ok->toolTip(), 4);
    QCOMPARE(ok->toolTip().simplified(), longTip);
    ok->setToolTip("short");
    QCOMPARE(ok->toolTip(), QString("short"));
}

} // namespace setforge

QTEST_MAIN(setforge::TableDialogTest)
#include "tabledialog_test.moc"
