#include <QtTest>

#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTabWidget>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/urlopener.h"
#include "gui/lang/httpversionquery.h"
#include "gui/lang/optionsdialog.h"
#include "gui/lang/toolkitlanguage.h"
#include "support/fakemessages.h"
#include "support/installedquery.h"
#include "support/localhttpserver.h"
#include "support/modal.h"
#include "support/workspace.h"

namespace setforge {

class OptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    // A switch installs Qt's translation for the whole application: each test starts English.
    void cleanup() { useToolkitLanguage("English"); }
    void manualCheck_data();
    void manualCheck();
    void silentServerEndsCheck();
    void checkBoxEnabling_data();
    void checkBoxEnabling();
    void sevenLanguagesTwoPages();
    void noLanguageFiles();
    void flagPictures();
    void switchLanguageAppliesEverywhere();
    void qtTextsFollowTheLanguage();
    void declinedSwitchChangesNothing();
    void cancelKeepsLanguageName();
    void okWritesLanguageAndFlags();
    void timerFollowsFlags_data();
    void timerFollowsFlags();
    void timerTicks();
};

namespace {

constexpr const char* kPath = "/home/download/GetversionSW.asp";

class RecordingOpener : public UrlOpener {
public:
    RecordingOpener() { UrlOpener::setInstance(this); }
    ~RecordingOpener() override { UrlOpener::setInstance(nullptr); }
    void open(const QString& url) override { urls.append(url); }
    QStringList urls;
};

void writeFile(const std::string& path, const QByteArray& content)
{
    QVERIFY(static_cast<bool>(writeFileAtomic(path, std::string_view(content.constData(), content.size()))));
}

QByteArray bmpPicture()
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A started workspace with the main window, which creates the options dialog.
struct Session {
    TempWorkspace ws;
    FakeMessages msgs;
    AppState state;
    std::unique_ptr<MainWindow> window;

    explicit Session(bool internet = false, bool update = false)
    {
        startWorkspace(state, ws.utf8());
        state.enableInternet = internet;
        state.enableUpdate = update;
        window = std::make_unique<MainWindow>(state);
    }
    OptionsDialog* options() const { return qobject_cast<OptionsDialog*>(window->windows().options); }
    void addLanguage(const QString& name, const QByteArray& content = "STR0000 = x\n")
    {
        writeFile(joinPath(state.languageDir, name.toStdString()), content);
    }
    template <typename T> T* find(const char* name) const { return options()->findChild<T*>(name); }
    QString settingsValue(const char* section, const char* name) const
    {
        pugi::xml_document doc;
        if (!wasRead(loadXmlFile(state.settingsPath(), doc)))
            return "(no settings file)";
        return QString::fromStdString(childText(childElement(documentRoot(doc), section), name));
    }
};

} // namespace

void OptionsDialogTest::manualCheck_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("newer");
    QTest::newRow("newer version") << QByteArray("VER. 2.105") << true;
    QTest::newRow("running version") << QByteArray("VER. 2.001") << false;
    QTest::newRow("no version known") << QByteArray("VER. 0.000") << false;
}

void OptionsDialogTest::manualCheck()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, newer);
    LocalHttpServer server;
    server.setReply(kPath, LocalHttpServer::Reply{200, answer, {}, false});
    InstalledQuery installed(server.baseUrl());
    RecordingOpener opener;
    Session s(true, true);
    OptionsDialog* dialog = s.options();
    QVERIFY(dialog);
    dialog->show();
    auto* link = s.find<QLabel>("LL_Check_Update");
    QVERIFY(link->isHidden());

    s.find<QPushButton>("Btn_Check_Update")->click();
    QVERIFY(!link->isHidden());
    QCOMPARE(server.requests().size(), 1);
    if (newer) {
        const QString target = QString::fromStdString(makerDownloadUrl());
        QVERIFY2(link->text().contains("href=\"" + target + "\""), qPrintable(link->text()));
        QVERIFY(link->text().contains("New Version Available. Click Here for more Details"));
        emit link->linkActivated(target);
        QCOMPARE(opener.urls, QStringList{target});
    } else {
        QCOMPARE(link->text(), QString("No Update Available"));
        QCOMPARE(link->textFormat(), Qt::PlainText);
    }
    dialog->reject();
}

void OptionsDialogTest::silentServerEndsCheck()
{
    LocalHttpServer server;
    server.setReply(kPath, LocalHttpServer::Reply{200, {}, {}, true});
    InstalledQuery installed(server.baseUrl());
    Session s(true, true);
    s.options()->show();
    // Returns only when the query gives up; a hang fails the test by its time limit.
    s.find<QPushButton>("Btn_Check_Update")->click();
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(s.find<QLabel>("LL_Check_Update")->text(), QString("No Update Available"));
    s.options()->reject();
}

void OptionsDialogTest::checkBoxEnabling_data()
{
    QTest::addColumn<bool>("internet");
    QTest::addColumn<bool>("update");
    QTest::addColumn<bool>("updateEnabled");
    QTest::addColumn<bool>("checkEnabled");
    QTest::newRow("both off") << false << false << false << false;
    QTest::newRow("update only") << false << true << false << false;
    QTest::newRow("internet only") << true << false << true << false;
    QTest::newRow("both on") << true << true << true << true;
}

void OptionsDialogTest::checkBoxEnabling()
{
    QFETCH(bool, internet);
    QFETCH(bool, update);
    QFETCH(bool, updateEnabled);
    QFETCH(bool, checkEnabled);
    // Loaded from the process-wide values on showing...
    Session s(internet, update);
    s.options()->show();
    auto* enCon = s.find<QCheckBox>("CB_En_Con");
    auto* cbUpdate = s.find<QCheckBox>("CB_Update");
    auto* check = s.find<QPushButton>("Btn_Check_Update");
    QCOMPARE(enCon->isChecked(), internet);
    QCOMPARE(cbUpdate->isChecked(), update);
    QCOMPARE(cbUpdate->isEnabled(), updateEnabled);
    QCOMPARE(check->isEnabled(), checkEnabled);
    s.options()->reject();

    // ...and followed when the boxes are ticked by hand.
    Session t;
    t.options()->show();
    t.find<QCheckBox>("CB_Update")->setChecked(update);
    t.find<QCheckBox>("CB_En_Con")->setChecked(internet);
    QCOMPARE(t.find<QCheckBox>("CB_Update")->isChecked(), update);
    QCOMPARE(t.find<QCheckBox>("CB_Update")->isEnabled(), updateEnabled);
    QCOMPARE(t.find<QPushButton>("Btn_Check_Update")->isEnabled(), checkEnabled);
    t.options()->reject();
}

void OptionsDialogTest::sevenLanguagesTwoPages()
{
    Session s;
    for (const char* name : {"polski.lng", "Deutsch.lng", "English.lng", "espanol.lng", "Francais.lng",
                             "italiano.lng", "Cesky.lng"})
        s.addLanguage(name);
    OptionsDialog* dialog = s.options();
    dialog->show();
    auto* page = s.find<QLabel>("L_Page_Lang");
    auto* prev = s.find<QPushButton>("Btn_Prev");
    auto* next = s.find<QPushButton>("Btn_Next");
    auto slotName = [&](int k) { return s.find<QLabel>(qPrintable(QString("L_L%1").arg(k))); };

    QCOMPARE(page->text(), QString("Page 1 / 2"));
    QVERIFY(prev->isHidden());
    QVERIFY(!next->isHidden());
    const QStringList firstPage = {"Cesky", "Deutsch", "English", "espanol", "Francais", "italiano"};
    for (int k = 1; k <= 6; ++k) {
        QVERIFY(!slotName(k)->isHidden());
        QCOMPARE(slotName(k)->text(), firstPage[k - 1]);
    }

    next->click();
    QCOMPARE(page->text(), QString("Page 2 / 2"));
    QVERIFY(!prev->isHidden());
    QVERIFY(next->isHidden());
    QCOMPARE(slotName(1)->text(), QString("polski"));
    QVERIFY(!slotName(1)->isHidden());
    for (int k = 2; k <= 6; ++k) {
        QVERIFY(slotName(k)->isHidden());
        QVERIFY(s.find<QLabel>(qPrintable(QString("I_L%1").arg(k)))->isHidden());
    }

    prev->click();
    QCOMPARE(page->text(), QString("Page 1 / 2"));
    QCOMPARE(slotName(1)->text(), QString("Cesky"));
    next->click();
    dialog->reject();

    // Every showing starts again on page 1 of the Language tab.
    s.find<QTabWidget>("PC_Options")->setCurrentIndex(2);
    dialog->show();
    QCOMPARE(page->text(), QString("Page 1 / 2"));
    QCOMPARE(s.find<QTabWidget>("PC_Options")->currentWidget()->objectName(), QString("TS_Language"));
    dialog->reject();
}

void OptionsDialogTest::noLanguageFiles()
{
    Session s;
    // Before the first showing the label stands at page 1 of 1.
    QCOMPARE(s.find<QLabel>("L_Page_Lang")->text(), QString("Page 1 / 1"));
    s.options()->show();
    QCOMPARE(s.find<QLabel>("L_Page_Lang")->text(), QString("Page 1 / 0"));
    auto* next = s.find<QPushButton>("Btn_Next");
    QVERIFY(!next->isHidden());
    next->click();
    QCOMPARE(s.find<QLabel>("L_Page_Lang")->text(), QString("Page 1 / 0"));
    for (int k = 1; k <= 6; ++k)
        QVERIFY(s.find<QLabel>(qPrintable(QString("L_L%1").arg(k)))->isHidden());
    s.options()->reject();
}

void OptionsDialogTest::flagPictures()
{
    Session s;
    s.addLanguage("Deutsch.lng");
    s.addLanguage("English.lng");
    s.addLanguage("Broken.lng");
    writeFile(joinPath(s.state.languageDir, "Deutsch.bmp"), bmpPicture());
    writeFile(joinPath(s.state.languageDir, "Broken.bmp"), "not a picture");
    OptionsDialog* dialog = s.options();
    auto picture = [&](int k) { return s.find<QLabel>(qPrintable(QString("I_L%1").arg(k))); };
    auto name = [&](int k) { return s.find<QLabel>(qPrintable(QString("L_L%1").arg(k))); };

    // Slots: Broken, Deutsch, English. Without DefaultFlag.bmp only Deutsch has a picture.
    dialog->show();
    QVERIFY(picture(1)->isHidden());
    QVERIFY(!name(1)->isHidden());
    QVERIFY(!picture(2)->isHidden());
    QVERIFY(!picture(2)->pixmap().isNull());
    QVERIFY(picture(3)->isHidden());
    QCOMPARE(name(3)->text(), QString("English"));
    QVERIFY(!name(3)->isHidden());
    dialog->reject();

    // DefaultFlag.bmp stands in for English; an unreadable own picture still shows nothing.
    writeFile(joinPath(s.state.languageDir, "DefaultFlag.bmp"), bmpPicture());
    dialog->show();
    QVERIFY(picture(1)->isHidden());
    QVERIFY(!picture(3)->isHidden());
    QVERIFY(!picture(3)->pixmap().isNull());
    dialog->reject();
}

void OptionsDialogTest::switchLanguageAppliesEverywhere()
{
    Session s;
    s.addLanguage("Deutsch.lng", "; Deutsch\r\nSTR0015 = Neue Konfiguration\r\nSTR0302 = Sprache\r\n"
                                 "STR0304 = \xC2\xB6Gew\xC3\xA4hlte Sprache : \xC2\xB6\r\n"
                                 "STR1304 = Zeile l\xC3\xB6schen\r\n");
    s.addLanguage("English.lng");
    auto* btnNew = s.window->findChild<QPushButton*>("Btn_New");
    QVERIFY(s.window->windows().nodeGuard);
    auto* delRow = s.window->windows().nodeGuard->findChild<QPushButton*>("Btn_DelRow");
    QVERIFY(delRow);
    QCOMPARE(delRow->text(), QString("Delete Row"));
    QCOMPARE(btnNew->text(), QString("New Configuration"));

    s.msgs.answer(true);
    // Read while the dialog is open, compared once it is closed (a failed check inside would
    // leave the modal dialog open).
    QString newDuringDialog, delRowDuringDialog, selected, tab;
    std::string nameDuringDialog;
    whenShown<OptionsDialog>([&](OptionsDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QLabel*>("L_L1"), Qt::LeftButton);
        newDuringDialog = btnNew->text();
        delRowDuringDialog = delRow->text();
        selected = dialog->findChild<QLabel*>("L_Sel_Lang")->text();
        tab = dialog->findChild<QTabWidget*>("PC_Options")->tabText(0);
        nameDuringDialog = s.state.languageName;
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    s.window->clickButton("Btn_Opz");

    QCOMPARE(s.msgs.texts(), QStringList{"Do you want to change the Language from English to Deutsch?"});
    QCOMPARE(s.msgs.all().front().kind, FakeMessages::Kind::Question);
    QCOMPARE(newDuringDialog, QString("Neue Konfiguration"));
    QCOMPARE(delRowDuringDialog, QString("Zeile löschen")); // a table dialog changes at once too
    QCOMPARE(selected, QString("Gewählte Sprache : Deutsch"));
    QCOMPARE(tab, QString("Sprache"));
    QCOMPARE(nameDuringDialog, std::string("English"));
    QCOMPARE(s.state.languageName, std::string("Deutsch"));
}

// Qt's own texts (the message boxes' buttons, the file dialogs) switch with the program's and
// back again; a user's own language keeps them English.
void OptionsDialogTest::qtTextsFollowTheLanguage()
{
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(translations + "/qtbase_de.qm"))
        QSKIP("Qt's German translation (qtbase_de.qm, Debian's qt6-translations-l10n) is not installed");
    Session s;
    s.addLanguage("Deutsch.lng", "STR0015 = Neue Konfiguration\n");
    s.addLanguage("English.lng");
    s.addLanguage("Klingon.lng", "STR0015 = chu' Konfiguration\n");
    for (int k = 0; k < 4; ++k)
        s.msgs.answer(true);
    const auto cancelText = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancelText(), QString("Cancel"));

    // Slots: Deutsch, English, Klingon.
    QStringList seen;
    whenShown<OptionsDialog>([&](OptionsDialog* dialog) {
        for (const char* slot : {"L_L1", "L_L2", "L_L1", "L_L3"}) {
            QTest::mouseClick(dialog->findChild<QLabel*>(slot), Qt::LeftButton);
            seen << cancelText();
        }
        dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    s.window->clickButton("Btn_Opz");
    QCOMPARE(seen, (QStringList{"Abbrechen", "Cancel", "Abbrechen", "Cancel"}));
    QCOMPARE(s.msgs.texts().size(), 4);
}

void OptionsDialogTest::declinedSwitchChangesNothing()
{
    Session s;
    s.addLanguage("Deutsch.lng", "STR0015 = Neue Konfiguration\n");
    s.msgs.answer(false);
    OptionsDialog* dialog = s.options();
    dialog->show();
    QTest::mouseClick(s.find<QLabel>("L_L1"), Qt::LeftButton);
    QCOMPARE(s.msgs.texts().size(), 1);
    QCOMPARE(dialog->languageInUse(), std::string("English"));
    QCOMPARE(s.window->findChild<QPushButton*>("Btn_New")->text(), QString("New Configuration"));
    QCOMPARE(s.find<QLabel>("L_Sel_Lang")->text(), QString("Selected Language : English"));
    dialog->reject();
}

void OptionsDialogTest::cancelKeepsLanguageName()
{
    Session s(true, true);
    s.addLanguage("Deutsch.lng", "STR0015 = Neue Konfiguration\n");
    s.msgs.answer(true);
    whenShown<OptionsDialog>([&](OptionsDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QLabel*>("L_L1"), Qt::LeftButton);
        dialog->findChild<QCheckBox*>("CB_En_Con")->setChecked(false);
        dialog->findChild<QCheckBox*>("CB_Soft_Set_Jump_Table")->setChecked(true);
        dialog->findChild<QPushButton*>("Btn_Cancel")->click();
    });
    s.window->clickButton("Btn_Opz");

    QCOMPARE(s.state.languageName, std::string("English"));
    QVERIFY(s.state.enableInternet);
    QVERIFY(!s.state.enableJumpFieldTables);
    QVERIFY(s.window->updateTimer().isActive());
    QVERIFY(!pathExists(s.state.settingsPath()));
    // The switched texts stay for the rest of the run...
    QCOMPARE(s.window->findChild<QPushButton*>("Btn_New")->text(), QString("Neue Konfiguration"));

    // ...but the settings keep the old language, so the next start is in it.
    s.window->close();
    QCOMPARE(s.settingsValue("lastlang", "language"), QString("English"));
    AppState next;
    startWorkspace(next, s.ws.utf8());
    QCOMPARE(next.languageName, std::string("English"));
    QCOMPARE(next.texts[15], std::string("New Configuration"));
}

void OptionsDialogTest::okWritesLanguageAndFlags()
{
    Session s(true, true);
    s.addLanguage("Deutsch.lng", "STR0015 = Neue Konfiguration\n");
    QVERIFY(s.window->updateTimer().isActive());
    s.msgs.answer(true);
    bool updateTicked = false, updateEnabled = true;
    whenShown<OptionsDialog>([&](OptionsDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QLabel*>("L_L1"), Qt::LeftButton);
        auto* update = dialog->findChild<QCheckBox*>("CB_Update");
        dialog->findChild<QCheckBox*>("CB_En_Con")->setChecked(false);
        updateTicked = update->isChecked();
        updateEnabled = update->isEnabled();
        dialog->findChild<QCheckBox*>("CB_DoubleClick_Auto_Size")->setChecked(true);
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    s.window->clickButton("Btn_Opz");
    QVERIFY(updateTicked);
    QVERIFY(!updateEnabled);

    QCOMPARE(s.state.languageName, std::string("Deutsch"));
    QVERIFY(!s.state.enableInternet);
    QVERIFY(s.state.enableUpdate);
    QVERIFY(s.state.doubleClickAutoSize);
    QVERIFY(!s.window->updateTimer().isActive());
    QCOMPARE(s.settingsValue("lastlang", "language"), QString("Deutsch"));
    QCOMPARE(s.settingsValue("lastinternet", "enable_internet"), QString("0"));
    QCOMPARE(s.settingsValue("lastinternet", "enable_update"), QString("1"));
    QCOMPARE(s.settingsValue("lastinternet", "enable_jump_field_tables"), QString("0"));
    QCOMPARE(s.settingsValue("lastinternet", "Double_Click_Auto_Size"), QString("1"));

    // The next start is in the chosen language.
    AppState next;
    startWorkspace(next, s.ws.utf8());
    QCOMPARE(next.texts[15], std::string("Neue Konfiguration"));
}

void OptionsDialogTest::timerFollowsFlags_data()
{
    QTest::addColumn<bool>("internet");
    QTest::addColumn<bool>("update");
    QTest::newRow("both off") << false << false;
    QTest::newRow("internet only") << true << false;
    QTest::newRow("update only") << false << true;
    QTest::newRow("both on") << true << true;
}

void OptionsDialogTest::timerFollowsFlags()
{
    QFETCH(bool, internet);
    QFETCH(bool, update);
    Session s(internet, update);
    QCOMPARE(s.window->updateTimer().isActive(), internet && update);
    QCOMPARE(s.window->updateTimer().interval(), 60000);

    // OK with the boxes set the other way round turns the timer on or off.
    whenShown<OptionsDialog>([&](OptionsDialog* dialog) {
        dialog->findChild<QCheckBox*>("CB_En_Con")->setChecked(!internet);
        dialog->findChild<QCheckBox*>("CB_Update")->setChecked(!update);
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    s.window->clickButton("Btn_Opz");
    QCOMPARE(s.window->updateTimer().isActive(), !internet && !update);
}

void OptionsDialogTest::timerTicks()
{
    LocalHttpServer server;
    server.setReply(kPath, LocalHttpServer::Reply{200, "VER. 2.105", {}, false});
    InstalledQuery installed(server.baseUrl());
    Session s(true, true);
    QTimer& timer = s.window->updateTimer();
    auto* link = s.window->findChild<QLabel*>("LL_Update");
    QCOMPARE(timer.interval(), 60000);
    QVERIFY(link->isHidden());

    s.window->onUpdateTimer();
    QCOMPARE(server.requests().size(), 1);
    QVERIFY(!link->isHidden());
    QVERIFY(link->text().contains(QString::fromStdString(makerDownloadUrl())));
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 7200000);

    server.setReply(kPath, LocalHttpServer::Reply{200, "VER. 2.001", {}, false});
    s.window->onUpdateTimer();
    QVERIFY(link->isHidden());
    QCOMPARE(timer.interval(), 7200000);

    // OK in the options with both flags still on leaves the countdown running as it is (the
    // dialog takes at least one 10 ms poll to close, so a restarted countdown would be longer).
    const int remaining = timer.remainingTime();
    whenShown<OptionsDialog>(
        [](OptionsDialog* dialog) { dialog->findChild<QPushButton*>("Btn_OK")->click(); });
    s.window->clickButton("Btn_Opz");
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 7200000);
    QVERIFY(timer.remainingTime() < remaining);

    // Switched off and on again, the timer checks one minute later.
    for (bool on : {false, true}) {
        whenShown<OptionsDialog>([on](OptionsDialog* dialog) {
            dialog->findChild<QCheckBox*>("CB_En_Con")->setChecked(on);
            dialog->findChild<QPushButton*>("Btn_OK")->click();
        });
        s.window->clickButton("Btn_Opz");
        QCOMPARE(timer.isActive(), on);
    }
    QCOMPARE(timer.interval(), 60000);
}

} // namespace setforge

QTEST_MAIN(setforge::OptionsDialogTest)
#include "optionsdialog_test.moc"
