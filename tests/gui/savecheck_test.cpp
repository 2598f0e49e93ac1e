#include <QtTest>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/mapping/mappingeditor.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"
#include "support/demowindow.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

void press(QWidget* dialog, const char* button)
{
    auto* b = dialog->findChild<QPushButton*>(button);
    QVERIFY2(b, button);
    b->click();
}

} // namespace

class SaveCheckTest : public QObject {
    Q_OBJECT
private slots:
    void deletedReceivePdoListsTheOrphanedMapping();
    void okOfTheListCloses();
    void editWithoutNewFindingsSaysNothing();
    void mappingEditorListsNewWarnings();
};

// Deleting receive PDO 1 leaves the mapping of PDO 2 pointing at no PDO: the save goes through,
// the new warnings are listed, and Go back keeps the dialog open with nothing left to discard.
void SaveCheckTest::deletedReceivePdoListsTheOrphanedMapping()
{
    DemoWindow f;
    FakeMessages msgs;
    bool openAfterGoBack = false;
    int questionsAfterCancel = -1;
    QByteArray savedAfterGoBack;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        msgs.answer(true); // delete row 1
        press(dialog, "Btn_DelRow");
        press(dialog, "Btn_OK"); // the list is answered Go back, its unqueued answer
        openAfterGoBack = dialog->isVisible();
        savedAfterGoBack = f.file("rpdodef.xml");
        const int before = static_cast<int>(msgs.all().size());
        press(dialog, "Btn_Cancel");
        questionsAfterCancel = static_cast<int>(msgs.all().size()) - before;
    });
    QCOMPARE(f.window->windows().pdoReceive->exec(), int(QDialog::Rejected));
    QVERIFY(openAfterGoBack);
    QCOMPARE(questionsAfterCancel, 0);
    QVERIFY(!savedAfterGoBack.contains("0x182"));
    QVERIFY(savedAfterGoBack.contains("0x183"));
    const auto lists = msgs.lists();
    QCOMPARE(lists.size(), std::size_t(1));
    QCOMPARE(lists.front().text, QString("Saved. The project check found new problems:"));
    const QStringList orphaned = lists.front().items.filter(
        "warning: sdopdo.xml row 5: receive PDO 2 does not exist (rpdodef.xml has 1)");
    QCOMPARE(orphaned.size(), 1);
    // Only what the delete brought: nothing the project had before.
    for (const QString& line : lists.front().items)
        QVERIFY2(line.contains("sdopdo.xml") || line.contains("rpdodef.xml"), qPrintable(line));
}

void SaveCheckTest::okOfTheListCloses()
{
    DemoWindow f;
    FakeMessages msgs;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        msgs.answer(true); // delete row 1
        msgs.answer(true); // OK in the list
        press(dialog, "Btn_DelRow");
        press(dialog, "Btn_OK");
    });
    QCOMPARE(f.window->windows().pdoReceive->exec(), int(QDialog::Accepted));
    QCOMPARE(msgs.lists().size(), std::size_t(1));
}

void SaveCheckTest::editWithoutNewFindingsSaysNothing()
{
    DemoWindow f;
    FakeMessages msgs;
    whenShown<TableDialog>([&](TableDialog* dialog) {
        dialog->model()->setData(dialog->model()->index(0, 9), "Renamed");
        press(dialog, "Btn_OK");
    });
    QCOMPARE(f.window->windows().sdoClient->exec(), int(QDialog::Accepted));
    QCOMPARE(msgs.texts(), QStringList());
    QVERIFY(f.file("sdo.xml").contains("Renamed"));
}

// An entry that fills neither half of its register is saved and then listed.
void SaveCheckTest::mappingEditorListsNewWarnings()
{
    DemoWindow f;
    FakeMessages msgs;
    bool openAfterGoBack = false;
    whenShown<MappingEditor>([&](MappingEditor* editor) {
        auto* frames = editor->findChild<QListWidget*>("LB_CAN_Frames");
        frames->setCurrentRow(1);
        editor->onFrameClicked();
        editor->findChild<QLineEdit*>("E_Index_Modbus")->setText("500");
        editor->findChild<QComboBox*>("CB_Byte_High_Part")->setCurrentIndex(0);
        editor->findChild<QComboBox*>("CB_Byte_Low_Part")->setCurrentIndex(0);
        press(editor, "Btn_Create");
        press(editor, "Btn_OK");
        openAfterGoBack = editor->isVisible();
        msgs.answer(true);
        press(editor, "Btn_OK");
    });
    QCOMPARE(f.window->windows().rpdoDefine->exec(), int(QDialog::Accepted));
    QVERIFY(openAfterGoBack);
    QVERIFY(f.file("sdopdo.xml").contains("index=\"500\""));
    const auto lists = msgs.lists();
    QCOMPARE(lists.size(), std::size_t(1));
    QCOMPARE(lists.front().items,
             QStringList{
                 "warning: sdopdo.xml row 7: the byte selection fills neither half of register 500; choose a "
                 "byte for the high or the low half, or delete the entry"});
}

} // namespace setforge

QTEST_MAIN(setforge::SaveCheckTest)
#include "savecheck_test.moc"
