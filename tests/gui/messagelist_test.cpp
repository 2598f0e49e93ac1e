#include <QtTest>

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "gui/app/messageservice.h"
#include "support/modal.h"

namespace setforge {

namespace {

struct Shown {
    QSize size;
    int lines = -1;
    bool scrolls = false;
    bool buttonsInside = false;
    QStringList buttons;
    QString defaultButton;
};

// Shows the real list box, notes what it shows and clicks `click`; returns its answer.
bool showAndClick(const MessageList& message, const char* click, Shown& shown)
{
    whenShown<QDialog>([&](QDialog* box) {
        shown.size = box->size();
        auto* list = box->findChild<QListWidget*>("LB_Items");
        shown.lines = list ? list->count() : -1;
        shown.scrolls = list && list->verticalScrollBar()->maximum() > 0;
        shown.buttonsInside = true;
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            shown.buttons << button->objectName();
            shown.buttonsInside = shown.buttonsInside && box->rect().contains(button->geometry());
            if (button->isDefault())
                shown.defaultButton = button->objectName();
        }
        box->findChild<QPushButton*>(click)->click();
    });
    return MessageService::instance().list(nullptr, message);
}

} // namespace

class MessageListTest : public QObject {
    Q_OBJECT
private slots:
    void longListScrollsInABoxOfFixedSize();
    void buttonsAnswerAsNamed();
};

// 150 conflicts once made the box 4,300 px high with Yes and No off the screen: the box keeps
// its size, the list scrolls and the buttons stay inside.
void MessageListTest::longListScrollsInABoxOfFixedSize()
{
    MessageList message;
    message.kind = MessageList::Kind::Question;
    message.text = "The project check found problems:\n\nUpdate anyway?";
    message.buttons = MessageList::Buttons::YesNo;
    for (int i = 0; i < 150; ++i)
        message.items << QString("error: Register %1 is claimed by: SDO table (sdo.xml row %2), receive PDO "
                                 "mapping (sdopdo.xml row %2)")
                             .arg(100 + i)
                             .arg(i + 1);
    Shown longList;
    QVERIFY(!showAndClick(message, "Btn_No", longList));
    QCOMPARE(longList.lines, 150);
    QVERIFY(longList.scrolls);
    QVERIFY(longList.buttonsInside);
    QVERIFY(longList.size.height() <= 480);
    QCOMPARE(longList.defaultButton, QString("Btn_No"));

    message.items = message.items.mid(0, 2);
    Shown shortList;
    QVERIFY(showAndClick(message, "Btn_Yes", shortList));
    QCOMPARE(shortList.size, longList.size);
    QCOMPARE(shortList.lines, 2);
}

void MessageListTest::buttonsAnswerAsNamed()
{
    MessageList message;
    message.items = {"warning: sdopdo.xml row 5: receive PDO 2 does not exist"};
    message.buttons = MessageList::Buttons::GoBackOk;
    message.goBack = "Go back";
    Shown shown;
    QVERIFY(!showAndClick(message, "Btn_GoBack", shown));
    QCOMPARE(shown.buttons, (QStringList{"Btn_GoBack", "Btn_OK"}));
    QCOMPARE(shown.defaultButton, QString("Btn_OK"));
    QVERIFY(showAndClick(message, "Btn_OK", shown));

    message.buttons = MessageList::Buttons::Ok;
    Shown okOnly;
    QVERIFY(showAndClick(message, "Btn_OK", okOnly));
    QCOMPARE(okOnly.buttons, QStringList{"Btn_OK"});
}

} // namespace setforge

QTEST_MAIN(setforge::MessageListTest)
#include "messagelist_test.moc"
