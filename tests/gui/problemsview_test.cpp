#include <QtTest>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

#include "core/app/appstate.h"
#include "core/report/projectcheck.h"
#include "gui/app/mainwindow.h"
#include "gui/mapping/mappingeditor.h"
#include "gui/report/problemsview.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"
#include "support/demowindow.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

QStringList rowCells(const QTableWidget* list, int row)
{
    QStringList cells;
    for (int column = 0; column < list->columnCount(); ++column)
        cells << list->item(row, column)->text();
    return cells;
}

// The line of `file` whose problem names `part`; -1 when none does.
int lineNaming(const QTableWidget* list, const QString& file, const QString& part)
{
    for (int row = 0; row < list->rowCount(); ++row)
        if (list->item(row, 1)->text() == file && list->item(row, 4)->text().contains(part))
            return row;
    return -1;
}

} // namespace

class ProblemsViewTest : public QObject {
    Q_OBJECT
private slots:
    void checkProjectNeedsAProject();
    void listsEveryCheckLineWithFileRowAndColumn();
    void doubleClickOpensTheTableAtRowAndCell();
    void doubleClickOpensTheMappingEditorAtTheEntry();
};

void ProblemsViewTest::checkProjectNeedsAProject()
{
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    startWorkspace(state, ws.utf8());
    MainWindow window(state);
    window.show();
    auto* button = window.findChild<QPushButton*>("Btn_Check_Project");
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QString("Check Project"));
    window.clickButton("Btn_Check_Project");
    QCOMPARE(msgs.texts(), QStringList{"Error! Project not Valid"});
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

// The view holds what `check` prints, line for line, and places each line: a table's own
// check by its row and the column its text names, a mapping warning by its file row.
void ProblemsViewTest::listsEveryCheckLineWithFileRowAndColumn()
{
    DemoWindow f;
    FakeMessages msgs;
    f.edit("NodeGuard.xml", "NodeID=\"", "NodeID=\"300");
    f.edit("sdopdo.xml", "nrpdo=\"2\" poscomp=\"67\"", "nrpdo=\"2\" poscomp=\"0\"");
    const std::vector<std::string> expected = findingLines(checkProject(f.state.files));
    QVERIFY(expected.size() >= 2);
    QStringList shownProblems;
    QStringList guardRow;
    QStringList mappingRow;
    QString hint;
    whenShown<ProblemsView>([&](ProblemsView* view) {
        auto* list = view->findChild<QTableWidget*>("SG_Problems");
        for (int row = 0; row < list->rowCount(); ++row)
            shownProblems << list->item(row, 0)->text() + ": " + list->item(row, 4)->text();
        const int guard = lineNaming(list, "NodeGuard.xml", "Error row 1");
        if (guard >= 0)
            guardRow = rowCells(list, guard);
        const int mapping = lineNaming(list, "sdopdo.xml", "the byte selection");
        if (mapping >= 0)
            mappingRow = rowCells(list, mapping);
        hint = view->findChild<QLabel*>("L_Problems_Hint")->text();
        view->findChild<QPushButton*>("Btn_Close")->click();
    });
    f.window->clickButton("Btn_Check_Project");
    QStringList expectedLines;
    for (const std::string& line : expected)
        expectedLines << QString::fromStdString(line);
    QCOMPARE(shownProblems, expectedLines);
    QCOMPARE(guardRow.mid(0, 4), (QStringList{"error", "NodeGuard.xml", "1", "Device ID"}));
    QCOMPARE(mappingRow.mid(0, 4), (QStringList{"warning", "sdopdo.xml", "6", ""}));
    QCOMPARE(hint, QString("Double-click a line to open its table at that row"));
    QCOMPARE(msgs.texts(), QStringList());
}

void ProblemsViewTest::doubleClickOpensTheTableAtRowAndCell()
{
    DemoWindow f;
    FakeMessages msgs;
    f.edit("sdo.xml", "IndexA=\"103\" SubindexA=\"0\" devIDB=\"3\"",
           "IndexA=\"103\" SubindexA=\"0\" devIDB=\"300\"");
    int currentRow = -1;
    int currentColumn = -1;
    bool tableShown = false;
    int linesAfter = -1;
    whenShown<ProblemsView>([&](ProblemsView* view) {
        auto* list = view->findChild<QTableWidget*>("SG_Problems");
        const int line = lineNaming(list, "sdo.xml", "Error row 4");
        QVERIFY(line >= 0);
        QCOMPARE(list->item(line, 3)->text(), QString("Device ID"));
        whenShown<TableDialog>([&](TableDialog* table) {
            tableShown = table->objectName() == "TFSDOClient";
            const QModelIndex current = table->view()->currentIndex();
            currentRow = current.row() + 1;
            currentColumn = current.column();
            // Mend the cell and save: the view checks again when the table closes.
            table->model()->setData(current, "3");
            table->findChild<QPushButton*>("Btn_OK")->click();
            if (table->isVisible())
                table->done(QDialog::Rejected); // never left hanging by a failed save
        });
        const QRect cell = list->visualItemRect(list->item(line, 4));
        // The press before the double-click event, as a real double-click has it.
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        linesAfter = lineNaming(list, "sdo.xml", "Error row 4");
        view->findChild<QPushButton*>("Btn_Close")->click();
    });
    f.window->clickButton("Btn_Check_Project");
    QVERIFY(tableShown);
    QCOMPARE(currentRow, 4);
    QCOMPARE(currentColumn, 5); // Device ID
    QCOMPARE(linesAfter, -1);
}

void ProblemsViewTest::doubleClickOpensTheMappingEditorAtTheEntry()
{
    DemoWindow f;
    FakeMessages msgs;
    // Row 6 of sdopdo.xml is the second entry of receive PDO 2.
    f.edit("sdopdo.xml", "nrpdo=\"2\" poscomp=\"67\"", "nrpdo=\"2\" poscomp=\"0\"");
    int frame = -2;
    int entry = -2;
    whenShown<ProblemsView>([&](ProblemsView* view) {
        auto* list = view->findChild<QTableWidget*>("SG_Problems");
        const int line = lineNaming(list, "sdopdo.xml", "the byte selection");
        QVERIFY(line >= 0);
        whenShown<MappingEditor>([&](MappingEditor* editor) {
            frame = editor->selectedFrame();
            entry = editor->selectedEntry();
            editor->reject();
        });
        view->openLine(line);
        view->findChild<QPushButton*>("Btn_Close")->click();
    });
    f.window->clickButton("Btn_Check_Project");
    QCOMPARE(frame, 1);
    QCOMPARE(entry, 1);
}

} // namespace setforge

QTEST_MAIN(setforge::ProblemsViewTest)
#include "problemsview_test.moc"
