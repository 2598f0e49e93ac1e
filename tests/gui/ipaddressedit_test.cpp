#include <QtTest>

#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "gui/app/ipaddressedit.h"

namespace setforge {

class IpAddressEditTest : public QObject {
    Q_OBJECT
private slots:
    void dotMovesOnAndIsNeverEntered();
    void partsRoundTripAndReportEdits();
};

// Two chained addresses: "." runs through all eight fields, stops before a field that cannot
// take the focus, and is swallowed in the last field.
void IpAddressEditTest::dotMovesOnAndIsNeverEntered()
{
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* first = new IpAddressEdit("E_A", QSize(40, 22), true, &window);
    auto* second = new IpAddressEdit("E_B", QSize(40, 22), false, &window);
    column->addWidget(first);
    column->addWidget(second);
    first->chainTo(second);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    struct Step {
        QLineEdit* from;
        QLineEdit* focusAfter;
    };
    const Step steps[] = {
        {first->field(0), first->field(1)},
        {first->field(3), second->field(0)},
        {second->field(2), second->field(3)},
        {second->field(3), second->field(3)},
    };
    for (const Step& step : steps) {
        step.from->setFocus();
        step.from->setText("7");
        QTest::keyClick(step.from, Qt::Key_Period);
        QCOMPARE(step.from->text(), QString("7"));
        QVERIFY2(step.focusAfter->hasFocus(), qPrintable(step.focusAfter->objectName()));
    }

    second->field(1)->setEnabled(false);
    second->field(0)->setFocus();
    QTest::keyClick(second->field(0), Qt::Key_Period);
    QVERIFY(second->field(0)->hasFocus());
    QCOMPARE(second->field(0)->text(), QString());

    // Other keys go into the field.
    QTest::keyClicks(second->field(0), "12");
    QCOMPARE(second->field(0)->text(), QString("12"));
}

void IpAddressEditTest::partsRoundTripAndReportEdits()
{
    IpAddressEdit edit("E_IP", QSize(41, 24), true, nullptr);
    QCOMPARE(edit.field(0)->objectName(), QString("E_IP1"));
    QCOMPARE(edit.field(3)->objectName(), QString("E_IP4"));
    QCOMPARE(edit.field(2)->size(), QSize(41, 24));
    QSignalSpy edited(&edit, &IpAddressEdit::edited);
    edit.setParts({"10", "0", "", "255"});
    QCOMPARE(edit.parts(), (std::array<std::string, 4>{"10", "0", "", "255"}));
    QCOMPARE(edited.count(), 3); // the third field was empty already
    edited.clear();
    edit.field(2)->setText("1");
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edit.parts()[2], std::string("1"));
}

} // namespace setforge

QTEST_MAIN(setforge::IpAddressEditTest)
#include "ipaddressedit_test.moc"
