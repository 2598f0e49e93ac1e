#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "gui/mapping/mappingeditor.h"
#include "gui/mapping/tabstopdelegate.h"
#include "support/fakemessages.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

namespace {

const QString kData = QStringLiteral(SETFORGE_TEST_DATA "/mapping");
const QString kProject = QStringLiteral("Plant");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

QStringList lines(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

QStringList choices(const QComboBox* box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i)
        result.append(box->itemText(i));
    return result;
}

// Clicks the line `row` of `list` with the mouse, as the user does.
void clickLine(QListWidget* list, int row)
{
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void press(QWidget* editor, const char* button)
{
    auto* b = editor->findChild<QPushButton*>(button);
    QVERIFY2(b, button);
    b->click();
}

void typeIndex(QWidget* editor, const QString& text)
{
    auto* edit = editor->findChild<QLineEdit*>("E_Index_Modbus");
    edit->clear();
    QTest::keyClicks(edit, text);
}

void choose(QWidget* editor, const char* box, int item)
{
    editor->findChild<QComboBox*>(box)->setCurrentIndex(item);
}

// A workspace with the project "Plant" open: device with Ethernet port, two transmit PDOs
// (8 and 4 bytes) and one mapping entry for register 300 on the first.
struct OpenProject {
    TempWorkspace ws;
    AppState state;
    OpenProject()
    {
        ws.copyTree(kData + "/project", "PROJECTS/" + kProject);
        startWorkspace(state, ws.utf8());
        openProject(state, kProject.toStdString());
    }
    QString file(const char* name) const { return ws.path() + "/PROJECTS/" + kProject + "/" + name; }
};

struct EditorCase {
    const char* button;
    const char* caption;
    const char* frameList;
    QString firstLine;
    int tabStops;
    int bytesOfFirst;
    bool hasWrite;
};

// The parts every mapping editor has, with what differs between the three.
void checkEditor(QWidget* editor, const EditorCase& c)
{
    QCOMPARE(editor->windowTitle(), QString(c.caption));
    QCOMPARE(editor->size(), QSize(629, 496));
    auto* frames = editor->findChild<QListWidget*>(c.frameList);
    QVERIFY(frames);
    QCOMPARE(frames->item(0)->text(), c.firstLine);
    auto* columns = qobject_cast<TabStopDelegate*>(frames->itemDelegate());
    QVERIFY(columns);
    QCOMPARE(columns->tabStops().size(), c.tabStops);
    for (int i = 1; i < columns->tabStops().size(); ++i)
        QVERIFY(columns->tabStops()[i] > columns->tabStops()[i - 1]);
    for (const char* green : {"E_Index_Modbus", "CB_Byte_High_Part", "CB_Byte_Low_Part"})
        QCOMPARE(editor->findChild<QWidget*>(green)->palette().color(QPalette::Base), QColor(168, 255, 168));
    // The lists are drawn in the edit field's exact colour, not in a gradient of it: a point
    // between the text and the arrow, near the top and near the bottom.
    for (const char* list : {"CB_Byte_High_Part", "CB_Byte_Low_Part"}) {
        auto* box = editor->findChild<QComboBox*>(list);
        const QImage image = box->grab().toImage();
        for (const int y : {image.height() / 4, image.height() * 3 / 4})
            QCOMPARE(QColor(image.pixel(image.width() / 2, y)), QColor(168, 255, 168));
    }
    QCOMPARE(editor->findChild<QComboBox*>("CB_SendCAN_OnModWrite") != nullptr, c.hasWrite);
    clickLine(frames, 0);
    QCOMPARE(editor->findChild<QComboBox*>("CB_Byte_Low_Part")->count(), c.bytesOfFirst + 1);
    QCOMPARE(editor->findChild<QPushButton*>("Btn_Paste")->text(), QString("Paste"));
    // Only the emergency editor explains its byte numbers: they are not the message's own.
    const QString bytesTip = editor->findChild<QComboBox*>("CB_Byte_Low_Part")->toolTip();
    QCOMPARE(bytesTip.contains("bytes 4 to 8 of the emergency message"),
             c.frameList == QString("LB_EMCY_Frames"));
}

} // namespace

class MappingEditorTest : public QObject {
    Q_OBJECT
private slots:
    void transmitEditorFromMainWindow();
    void copyBufferLivesOnAndPasteFitsTheFrame();
    void threeEditorsShareTheLayout();
    void brokenMappingFileIsReportedAndKept();
    void modifyAsksBeforeDroppingBytesBeyondTheFrame();
    void fillFrameAndSharedRegistersOnOk();
    void closingAsksOnlyAfterAChange();
    void loadAndFrameSelectionAreSignalled();
    void entriesOutsideTheirFramesAreMarkedAndDroppedOnlyAfterAsking();
    void fillFrameOffersTheAddressStartAndTakesTheWriteChoice();
    void modifyNamesOnlyTheBytesTheChoiceDrops();
    void undoTakesBackAFillFrameWhole();

private:
    void driveTransmitEditor(QWidget* editor, FakeMessages& msgs);
};

void MappingEditorTest::driveTransmitEditor(QWidget* editor, FakeMessages& msgs)
{
    auto* frames = editor->findChild<QListWidget*>("LB_CAN_Frames");
    auto* entries = editor->findChild<QListWidget*>("LB_Modbus_Regs");
    auto* index = editor->findChild<QLineEdit*>("E_Index_Modbus");
    auto* high = editor->findChild<QComboBox*>("CB_Byte_High_Part");
    auto* low = editor->findChild<QComboBox*>("CB_Byte_Low_Part");
    auto* write = editor->findChild<QComboBox*>("CB_SendCAN_OnModWrite");
    QVERIFY(frames && entries && index && high && low && write);

    // Shown: the frames, none selected, no entries, only "None" to choose.
    QCOMPARE(lines(frames), (QStringList{"0x201\t8", "0x202\t4"}));
    QCOMPARE(entries->count(), 0);
    QCOMPARE(choices(high), QStringList{"None"});
    QCOMPARE(choices(write), (QStringList{"False", "True"}));

    // A frame click lists its entries with none selected, clears the fields, offers its bytes.
    choose(editor, "CB_SendCAN_OnModWrite", 1);
    index->setText("stale");
    clickLine(frames, 0);
    QCOMPARE(lines(entries), QStringList{"300; Byte 1; Byte 2; Send on Write;"});
    QVERIFY(entries->selectedItems().isEmpty());
    QCOMPARE(index->text(), QString());
    QCOMPARE(high->count(), 9);
    QCOMPARE(low->itemText(8), QString("Byte 8"));
    QCOMPARE(high->currentIndex(), 0);
    QCOMPARE(write->currentIndex(), 0);

    // Create 200 with Byte 1 high, Byte 2 low and True; the fields keep their content.
    typeIndex(editor, "200");
    choose(editor, "CB_Byte_High_Part", 1);
    choose(editor, "CB_Byte_Low_Part", 2);
    choose(editor, "CB_SendCAN_OnModWrite", 1);
    press(editor, "Btn_Create");
    QCOMPARE(msgs.texts(), QStringList{});
    QCOMPARE(lines(entries),
             (QStringList{"300; Byte 1; Byte 2; Send on Write;", "200; Byte 1; Byte 2; Send on Write;"}));
    QCOMPARE(index->text(), QString("200"));
    QCOMPARE(write->currentIndex(), 1);

    // The same register again is refused with the editor's own text.
    press(editor, "Btn_Create");
    QCOMPARE(msgs.texts(), QStringList{"Error!! Index of Modbus Register is already used"});
    QCOMPARE(entries->count(), 2);
    msgs.clear();

    // Copy the new entry, move to the 4-byte frame and paste.
    clickLine(entries, 1);
    QCOMPARE(index->text(), QString("200"));
    QCOMPARE(write->currentText(), QString("True"));
    press(editor, "Btn_Copy");
    clickLine(frames, 1);
    QCOMPARE(entries->count(), 0);
    QCOMPARE(high->count(), 5);
    QCOMPARE(write->currentIndex(), 0);
    press(editor, "Btn_Paste");
    QCOMPARE(index->text(), QString("200"));
    QCOMPARE(high->currentIndex(), 1);
    QCOMPARE(low->currentIndex(), 2);
    QCOMPARE(write->currentIndex(), 1);

    // Modify without a selected entry does nothing and says nothing.
    press(editor, "Btn_Modify");
    QCOMPARE(entries->count(), 0);
    QCOMPARE(msgs.texts(), QStringList{});

    // Create the pasted entry under another register, then modify it in place.
    typeIndex(editor, "0xC9");
    press(editor, "Btn_Create");
    QCOMPARE(lines(entries), QStringList{"0xC9; Byte 1; Byte 2; Send on Write;"});
    clickLine(entries, 0);
    choose(editor, "CB_Byte_Low_Part", 4);
    choose(editor, "CB_SendCAN_OnModWrite", 0);
    press(editor, "Btn_Modify");
    QCOMPARE(msgs.texts(), QStringList{});
    QCOMPARE(lines(entries), QStringList{"0xC9; Byte 1; Byte 4;"});

    // Deleting leaves the write choice as it was.
    choose(editor, "CB_SendCAN_OnModWrite", 1);
    clickLine(frames, 0);
    clickLine(entries, 0);
    QCOMPARE(write->currentIndex(), 1);
    press(editor, "Btn_Delete");
    QCOMPARE(lines(entries), QStringList{"200; Byte 1; Byte 2; Send on Write;"});
    QCOMPARE(write->currentIndex(), 1);

    press(editor, "Btn_OK");
}

void MappingEditorTest::transmitEditorFromMainWindow()
{
    OpenProject project;
    FakeMessages msgs;
    QCOMPARE(project.state.deviceType, 1);
    MainWindow window(project.state);
    window.show();

    bool driven = false;
    whenShown<MappingEditor>([&](MappingEditor* editor) {
        driven = true;
        driveTransmitEditor(editor, msgs);
        if (editor->isVisible())
            editor->done(QDialog::Rejected); // a failed check above must not leave the test waiting
    });
    window.clickButton("Btn_PDO_Tra_Def");
    QVERIFY(driven);
    QCOMPARE(fileBytes(project.file("Transmit_PDO_Define.xml")),
             QByteArray("<Transmit_PDO_Define>"
                        "<row Index=\"200\" NrPdo=\"1\" PosComp=\"18\" Send_on_Write=\"1\"/>"
                        "<row Index=\"0xC9\" NrPdo=\"2\" PosComp=\"20\" Send_on_Write=\"0\"/>"
                        "</Transmit_PDO_Define><!--SW_VERSION = 2.001-->"));
}

void MappingEditorTest::copyBufferLivesOnAndPasteFitsTheFrame()
{
    OpenProject project;
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QVERIFY(editor);
    const QByteArray before = fileBytes(project.file("Transmit_PDO_Define.xml"));

    // First showing: copy an entry that takes Byte 8 of the 8-byte frame, then Cancel.
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* frames = shown->findChild<QListWidget*>("LB_CAN_Frames");
        clickLine(frames, 0);
        typeIndex(shown, "500");
        choose(shown, "CB_Byte_High_Part", 8);
        choose(shown, "CB_Byte_Low_Part", 3);
        press(shown, "Btn_Create");
        clickLine(shown->findChild<QListWidget*>("LB_Modbus_Regs"), 1);
        press(shown, "Btn_Copy");
        msgs.answer(true); // discard the new entry
        press(shown, "Btn_Cancel");
    });
    QCOMPARE(editor->exec(), int(QDialog::Rejected));
    QCOMPARE(fileBytes(project.file("Transmit_PDO_Define.xml")), before);

    // Second showing: the entry is gone, the copy is not. The 4-byte frame has no Byte 8,
    // so the high part pastes as "None" and Create stores exactly that.
    QStringList pastedLines;
    QString pastedHigh;
    QString pastedLow;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* frames = shown->findChild<QListWidget*>("LB_CAN_Frames");
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        clickLine(frames, 0);
        pastedLines = lines(entries);
        clickLine(frames, 1);
        press(shown, "Btn_Paste");
        pastedHigh = shown->findChild<QComboBox*>("CB_Byte_High_Part")->currentText();
        pastedLow = shown->findChild<QComboBox*>("CB_Byte_Low_Part")->currentText();
        press(shown, "Btn_Create");
        pastedLines += lines(entries);
        msgs.answer(true);
        press(shown, "Btn_Cancel");
    });
    QCOMPARE(editor->exec(), int(QDialog::Rejected));
    QCOMPARE(pastedLines, (QStringList{"300; Byte 1; Byte 2; Send on Write;", "500; None; Byte 3;"}));
    QCOMPARE(pastedHigh, QString("None"));
    QCOMPARE(pastedLow, QString("Byte 3"));
    QCOMPARE(msgs.texts(), (QStringList{"Discard the changes?", "Discard the changes?"}));
    QCOMPARE(fileBytes(project.file("Transmit_PDO_Define.xml")), before);
}

void MappingEditorTest::threeEditorsShareTheLayout()
{
    OpenProject project;
    QFile::copy(kData + "/rpdodef.xml", project.file("rpdodef.xml"));
    QFile::copy(kData + "/emcydef.xml", project.file("emcydef.xml"));
    FakeMessages msgs;
    MainWindow window(project.state);
    window.show();

    const EditorCase kCases[] = {
        {"Btn_PDO_Rec_Def", "Define Receive PDO Frames", "LB_CAN_Frames", "0x181\t8", 1, 8, false},
        {"Btn_PDO_Tra_Def", "Define Transmit PDO Frames", "LB_CAN_Frames", "0x201\t8", 1, 8, true},
        {"Btn_EMCY_Def", "Define Emergency Frames", "LB_EMCY_Frames", "0x05\t0x8130\t0x11", 2, 5, false},
    };
    for (const EditorCase& c : kCases) {
        bool shown = false;
        whenShown<SetforgeDialog>([&](SetforgeDialog* editor) {
            shown = true;
            checkEditor(editor, c);
            editor->reject();
        });
        window.clickButton(c.button);
        QVERIFY2(shown, c.button);
    }
    QCOMPARE(msgs.texts(), QStringList{});
}

void MappingEditorTest::brokenMappingFileIsReportedAndKept()
{
    OpenProject project;
    QFile::copy(kData + "/emcydef.xml", project.file("emcydef.xml"));
    {
        QFile broken(project.file("emcyword.xml"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("<EMCY_Word><EMCY_ROW>");
    }
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().emcyDefine);
    QVERIFY(editor);
    QCOMPARE(editor->exec(), int(QDialog::Rejected));
    QCOMPARE(msgs.all().size(), size_t(1));
    QVERIFY(msgs.last().contains("emcyword.xml"));
    QCOMPARE(fileBytes(project.file("emcyword.xml")), QByteArray("<EMCY_Word><EMCY_ROW>"));
}

void MappingEditorTest::modifyAsksBeforeDroppingBytesBeyondTheFrame()
{
    OpenProject project;
    // Register 400 takes bytes 5 and 6 of the second PDO, saved while it was 8 bytes long.
    QFile define(project.file("Transmit_PDO_Define.xml"));
    QVERIFY(define.open(QIODevice::WriteOnly));
    define.write("<Transmit_PDO_Define><row Index=\"400\" NrPdo=\"2\" PosComp=\"86\" Send_on_Write=\"0\"/>"
                 "</Transmit_PDO_Define>");
    define.close();
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QStringList afterNo;
    QStringList afterYes;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        clickLine(shown->findChild<QListWidget*>("LB_CAN_Frames"), 1);
        clickLine(entries, 0);
        QCOMPARE(shown->findChild<QComboBox*>("CB_Byte_High_Part")->currentText(), QString("None"));
        press(shown, "Btn_Modify");
        afterNo = lines(entries);
        msgs.answer(true);
        press(shown, "Btn_Modify");
        afterYes = lines(entries);
        shown->done(QDialog::Rejected);
    });
    editor->exec();
    QCOMPARE(afterNo, QStringList{"400; Byte 5; Byte 6; << beyond the frame"});
    QCOMPARE(afterYes, QStringList{"400; None; None;"});
    const QString question = "Modify stores None for these bytes, which lie beyond the frame's length now. "
                             "Modify anyway?\nByte 5\nByte 6";
    QCOMPARE(msgs.texts(), (QStringList{question, question}));
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
}

void MappingEditorTest::fillFrameAndSharedRegistersOnOk()
{
    OpenProject project;
    QFile sdo(project.file("sdo.xml"));
    QVERIFY(sdo.open(QIODevice::WriteOnly));
    sdo.write("<sdo><row conf=\"0\" IndexA=\"11\"/></sdo>");
    sdo.close();
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    const QByteArray before = fileBytes(project.file("Transmit_PDO_Define.xml"));
    QStringList filled;
    QStringList refused;
    bool openAfterNo = false;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        auto fill = [&](int first) {
            whenShown<QInputDialog>([first](QInputDialog* input) {
                input->setIntValue(first);
                input->accept();
            });
            press(shown, "Btn_Fill_Frame");
        };
        clickLine(shown->findChild<QListWidget*>("LB_CAN_Frames"), 1);
        fill(10);
        filled = lines(entries);
        // 299 and 300 would take register 300 of the first PDO's entry.
        fill(299);
        refused = msgs.texts();
        msgs.clear();
        press(shown, "Btn_OK"); // register 11 is the SDO table's: No goes back
        openAfterNo = shown->isVisible();
        msgs.answer(true);
        press(shown, "Btn_OK");
    });
    QCOMPARE(editor->exec(), int(QDialog::Accepted));
    QCOMPARE(filled, (QStringList{"10; Byte 2; Byte 1;", "11; Byte 4; Byte 3;"}));
    QCOMPARE(refused, QStringList{"Not filled. Registers already in use: 300"});
    QVERIFY(openAfterNo);
    // The question lists the shared registers in a scrolling list; the save that follows does not
    // list the same conflicts again.
    const QString warning = "These registers are also used by another table. Save anyway?";
    QCOMPARE(msgs.texts(), (QStringList{warning, warning}));
    for (const auto& m : msgs.all())
        QCOMPARE(m.items,
                 QStringList{"Register 11 is claimed by: SDO table (sdo.xml row 1), TPDO mapping (this "
                             "editor, frame 2)"});
    QVERIFY(fileBytes(project.file("Transmit_PDO_Define.xml")) != before);
    QVERIFY(fileBytes(project.file("Transmit_PDO_Define.xml"))
                .contains("Index=\"11\" NrPdo=\"2\" PosComp=\"67\""));
}

void MappingEditorTest::closingAsksOnlyAfterAChange()
{
    OpenProject project;
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    struct Case {
        bool change;
        bool viaEscape;
    };
    const Case kCases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const Case& c : kCases) {
        msgs.clear();
        bool openAfterNo = false;
        whenShown<MappingEditor>([&](MappingEditor* shown) {
            auto close = [&] {
                if (c.viaEscape)
                    QTest::keyClick(shown, Qt::Key_Escape);
                else
                    shown->close();
            };
            if (c.change) {
                clickLine(shown->findChild<QListWidget*>("LB_CAN_Frames"), 0);
                clickLine(shown->findChild<QListWidget*>("LB_Modbus_Regs"), 0);
                press(shown, "Btn_Delete");
                close();
                openAfterNo = shown->isVisible();
                msgs.answer(true);
            }
            close();
            if (shown->isVisible())
                shown->done(QDialog::Rejected);
        });
        QCOMPARE(editor->exec(), int(QDialog::Rejected));
        QCOMPARE(openAfterNo, c.change);
        QCOMPARE(msgs.texts(),
                 c.change ? (QStringList{"Discard the changes?", "Discard the changes?"}) : QStringList{});
    }
}

void MappingEditorTest::loadAndFrameSelectionAreSignalled()
{
    OpenProject project;
    QFile::copy(kData + "/rpdodef.xml", project.file("rpdodef.xml"));
    QFile::copy(kData + "/emcydef.xml", project.file("emcydef.xml"));
    FakeMessages msgs;
    MainWindow window(project.state);
    struct Case {
        QWidget* editor;
        const char* frameList;
        int line;
        qint64 cobId;
    };
    const Case kCases[] = {
        {window.windows().rpdoDefine, "LB_CAN_Frames", 2, 0x183}, // "$183"
        {window.windows().tpdoDefine, "LB_CAN_Frames", 1, 0x202},
        {window.windows().emcyDefine, "LB_EMCY_Frames", 0, -1}, // an emergency has no COB-ID
    };
    for (const Case& c : kCases) {
        auto* editor = qobject_cast<MappingEditor*>(c.editor);
        QVERIFY(editor);
        int loads = 0;
        QList<QPair<int, qint64>> selected;
        const QMetaObject::Connection loaded =
            connect(editor, &MappingEditor::framesLoaded, this, [&] { ++loads; });
        const QMetaObject::Connection picked =
            connect(editor, &MappingEditor::frameSelected, this, [&](int frame, qint64 cobId) {
                // The editor has filled its lists for the frame first.
                QCOMPARE(editor->selectedFrame(), frame);
                QCOMPARE(editor->findChild<QComboBox*>("CB_Byte_Low_Part")->count(),
                         editor->model().offeredBytes(frame) + 1);
                selected.append({frame, cobId});
            });
        int loadsWhenShown = -1;
        whenShown<MappingEditor>([&](MappingEditor* shown) {
            loadsWhenShown = loads;
            clickLine(shown->findChild<QListWidget*>(c.frameList), c.line);
            shown->reject();
        });
        editor->exec();
        disconnect(loaded);
        disconnect(picked);
        QCOMPARE(loadsWhenShown, 1);
        QVERIFY(!selected.isEmpty());
        QCOMPARE(selected.last(), (QPair<int, qint64>(c.line, c.cobId)));
    }
    QCOMPARE(msgs.texts(), QStringList{});
}

void MappingEditorTest::entriesOutsideTheirFramesAreMarkedAndDroppedOnlyAfterAsking()
{
    OpenProject project;
    // Frame 2 is four bytes long; frame 5 was deleted from the PDO table.
    QFile define(project.file("Transmit_PDO_Define.xml"));
    QVERIFY(define.open(QIODevice::WriteOnly));
    define.write("<Transmit_PDO_Define><row Index=\"202\" NrPdo=\"2\" PosComp=\"101\" Send_on_Write=\"0\"/>"
                 "<row Index=\"203\" NrPdo=\"2\" PosComp=\"33\" Send_on_Write=\"1\"/>"
                 "<row Index=\"500\" NrPdo=\"5\" PosComp=\"33\" Send_on_Write=\"0\"/></Transmit_PDO_Define>");
    define.close();
    const QByteArray before = fileBytes(project.file("Transmit_PDO_Define.xml"));
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QStringList frameLines, frameTwo, missing, question;
    QColor missingColour, beyondColour, fineColour;
    bool openAfterNo = false;
    QByteArray afterNo;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* frames = shown->findChild<QListWidget*>("LB_CAN_Frames");
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        frameLines = lines(frames);
        missingColour = frames->item(2)->foreground().color();
        clickLine(frames, 1);
        frameTwo = lines(entries);
        beyondColour = entries->item(0)->foreground().color();
        fineColour = entries->item(1)->foreground().color();
        clickLine(frames, 2);
        missing = lines(entries);
        QCOMPARE(shown->selectedFrame(), -1);
        QCOMPARE(shown->selectedMissingFrame(), 0);
        press(shown, "Btn_OK");
        openAfterNo = shown->isVisible();
        afterNo = fileBytes(project.file("Transmit_PDO_Define.xml"));
        question = msgs.texts();
        msgs.answer(true);
        press(shown, "Btn_OK");
    });
    QCOMPARE(editor->exec(), int(QDialog::Accepted));
    QCOMPARE(frameLines, (QStringList{"0x201\t8", "0x202\t4", "Missing frame 5"}));
    QCOMPARE(missingColour, QColor(192, 0, 0));
    QCOMPARE(frameTwo, (QStringList{"202; Byte 6; Byte 5; << beyond the frame",
                                    "203; Byte 2; Byte 1; Send on Write;"}));
    QCOMPARE(beyondColour, QColor(192, 0, 0));
    QVERIFY(fineColour != QColor(192, 0, 0));
    QCOMPARE(missing, QStringList{"500; Byte 2; Byte 1; << its frame is missing"});
    QVERIFY(openAfterNo);
    QCOMPARE(afterNo, before);
    const QString asked =
        "OK drops these entries, which point beyond their frame or at a frame that no longer "
        "exists. Save without them?\n"
        "Frame 2: 202; Byte 6; Byte 5; << beyond the frame\n"
        "Frame 5: 500; Byte 2; Byte 1; << its frame is missing";
    QCOMPARE(question, QStringList{asked});
    QCOMPARE(msgs.all().front().kind, FakeMessages::Kind::Question);
    const QByteArray saved = fileBytes(project.file("Transmit_PDO_Define.xml"));
    QVERIFY(saved.contains("Index=\"203\" NrPdo=\"2\" PosComp=\"33\" Send_on_Write=\"1\""));
    QVERIFY(!saved.contains("Index=\"202\""));
    QVERIFY(!saved.contains("Index=\"500\""));
}

void MappingEditorTest::fillFrameOffersTheAddressStartAndTakesTheWriteChoice()
{
    OpenProject project;
    // The first PDO's Address Start, kept from the variant without Ethernet port.
    QFile pdos(project.file("Transmit_Pdo.xml"));
    QVERIFY(pdos.open(QIODevice::WriteOnly));
    pdos.write("<Trasmit_PDO><row COB-ID=\"0x201\" Dimension=\"4\" SMA=\"40\" OnChange=\"Y\"/>"
               "<row COB-ID=\"0x202\" Dimension=\"4\" SMA=\"\" OnChange=\"Y\"/></Trasmit_PDO>");
    pdos.close();
    QFile define(project.file("Transmit_PDO_Define.xml"));
    QVERIFY(define.open(QIODevice::WriteOnly));
    define.write("<Transmit_PDO_Define><row Index=\"0\" NrPdo=\"2\" PosComp=\"1\" Send_on_Write=\"0\"/>"
                 "</Transmit_PDO_Define>");
    define.close();
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QList<int> offered;
    QStringList first, second;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* frames = shown->findChild<QListWidget*>("LB_CAN_Frames");
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        auto fillWithOffer = [&] {
            whenShown<QInputDialog>([&](QInputDialog* input) {
                offered.append(input->intValue());
                input->accept();
            });
            press(shown, "Btn_Fill_Frame");
        };
        clickLine(frames, 0);
        choose(shown, "CB_SendCAN_OnModWrite", 1);
        fillWithOffer();
        first = lines(entries);
        // The second PDO has no Address Start: registers 40 and 41 are taken, and 0 by its own entry.
        clickLine(frames, 1);
        fillWithOffer();
        second = lines(entries);
        shown->done(QDialog::Rejected);
    });
    editor->exec();
    QCOMPARE(offered, (QList<int>{40, 1}));
    QCOMPARE(first,
             (QStringList{"40; Byte 2; Byte 1; Send on Write;", "41; Byte 4; Byte 3; Send on Write;"}));
    QCOMPARE(second, (QStringList{"0; None; Byte 1;", "1; Byte 2; Byte 1;", "2; Byte 4; Byte 3;"}));
    QCOMPARE(msgs.texts(), QStringList{});
}

void MappingEditorTest::modifyNamesOnlyTheBytesTheChoiceDrops()
{
    OpenProject project;
    // Register 400 takes bytes 5 and 6 of the four-byte second PDO.
    QFile define(project.file("Transmit_PDO_Define.xml"));
    QVERIFY(define.open(QIODevice::WriteOnly));
    define.write("<Transmit_PDO_Define><row Index=\"400\" NrPdo=\"2\" PosComp=\"86\" Send_on_Write=\"0\"/>"
                 "</Transmit_PDO_Define>");
    define.close();
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QStringList afterHigh, afterBoth;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        clickLine(shown->findChild<QListWidget*>("LB_CAN_Frames"), 1);
        clickLine(entries, 0);
        // Byte 2 chosen for the high half: only the low half's Byte 6 becomes None.
        choose(shown, "CB_Byte_High_Part", 2);
        msgs.answer(true);
        press(shown, "Btn_Modify");
        afterHigh = lines(entries);
        clickLine(entries, 0);
        choose(shown, "CB_Byte_Low_Part", 1);
        press(shown, "Btn_Modify"); // nothing beyond the frame is left: no question
        afterBoth = lines(entries);
        shown->done(QDialog::Rejected);
    });
    editor->exec();
    QCOMPARE(msgs.texts(),
             QStringList{"Modify stores None for these bytes, which lie beyond the frame's length now. "
                         "Modify anyway?\nByte 6"});
    QCOMPARE(afterHigh, QStringList{"400; Byte 2; None;"});
    QCOMPARE(afterBoth, QStringList{"400; Byte 2; Byte 1;"});
}

// Fill Frame adds several entries at once; Ctrl+Z takes them all back in one step and shows
// the frame it changed, leaving what was there before.
void MappingEditorTest::undoTakesBackAFillFrameWhole()
{
    OpenProject project;
    FakeMessages msgs;
    MainWindow window(project.state);
    auto* editor = qobject_cast<MappingEditor*>(window.windows().tpdoDefine);
    QStringList before;
    QStringList filled;
    QStringList undone;
    QStringList afterSecondUndo;
    int frameAfterUndo = -1;
    whenShown<MappingEditor>([&](MappingEditor* shown) {
        auto* frames = shown->findChild<QListWidget*>("LB_CAN_Frames");
        auto* entries = shown->findChild<QListWidget*>("LB_Modbus_Regs");
        auto* undo = shown->findChild<QAction*>("A_Undo");
        QVERIFY(undo);
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
        clickLine(frames, 1);
        before = lines(entries);
        whenShown<QInputDialog>([](QInputDialog* input) {
            input->setIntValue(10);
            input->accept();
        });
        press(shown, "Btn_Fill_Frame");
        filled = lines(entries);
        clickLine(frames, 0); // elsewhere: the undo brings its frame back into view
        undo->trigger();
        frameAfterUndo = frames->currentRow();
        undone = lines(entries);
        undo->trigger(); // nothing more to take back: nothing changes
        afterSecondUndo = lines(entries);
        press(shown, "Btn_Cancel");
    });
    editor->exec();
    QCOMPARE(filled.size(), before.size() + 2);
    QCOMPARE(frameAfterUndo, 1);
    QCOMPARE(undone, before);
    QCOMPARE(afterSecondUndo, before);
    QVERIFY2(msgs.all().empty(), qPrintable(msgs.texts().join('|')));
}

} // namespace setforge

QTEST_MAIN(setforge::MappingEditorTest)
#include "mappingeditor_test.moc"
