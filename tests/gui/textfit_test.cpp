#include <QtTest>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

#include "core/app/appstate.h"
#include "core/lang/languagefile.h"
#include "gui/app/aboutdialog.h"
#include "gui/app/mainwindow.h"
#include "gui/app/newprojectdialog.h"
#include "gui/app/openprojectdialog.h"
#include "gui/app/setforgedialog.h"
#include "gui/mapping/mappingeditor.h"
#include "gui/nodes/objectbrowser.h"
#include "gui/report/problemsview.h"
#include "gui/tables/tabledialog.h"
#include "gui/update/updatedialog.h"
#include "support/fakemessages.h"
#include "support/workspace.h"

namespace setforge {

namespace {

// The languages shipped in workspace/LANGUAGE, and English, the program's own texts.
const char* const kLanguages[] = {"English", "Italiano", "Deutsch",
                                  "Fran\xC3\xA7"
                                  "ais"};

// A text that does not fit: where, what, and how many pixels it needs against what it has.
struct Misfit {
    QString where;
    QString text;
    int needed;
    int available;
};

// The text a control shows: the mnemonic marks taken out, one entry per line.
QStringList shownLines(QString text)
{
    text.replace("&&", QChar(0x1));
    text.remove('&');
    text.replace(QChar(0x1), "&");
    return text.split('\n');
}

int widestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : shownLines(text))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

class FitChecker {
public:
    QString language;
    QList<Misfit> misfits;

    // Checks every visible caption, button and column header of `window`; a tab widget shows
    // each of its pages in turn.
    void check(const QString& windowName, QWidget* window)
    {
        QCoreApplication::processEvents();
        const auto tabs = window->findChildren<QTabWidget*>();
        if (tabs.isEmpty()) {
            walk(windowName, window);
            return;
        }
        for (QTabWidget* tab : tabs) {
            const int current = tab->currentIndex();
            for (int i = 0; i < tab->count(); ++i) {
                tab->setCurrentIndex(i);
                QCoreApplication::processEvents();
                walk(windowName, window);
            }
            tab->setCurrentIndex(current);
        }
    }

private:
    void walk(const QString& windowName, QWidget* window)
    {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window))
                continue;
            if (auto* label = qobject_cast<QLabel*>(w))
                checkLabel(windowName, label);
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                checkButton(windowName, button);
            else if (auto* view = qobject_cast<QAbstractItemView*>(w))
                checkHeader(windowName, view);
        }
    }

    void add(const QString& windowName, const QString& name, const QString& text, int needed, int available)
    {
        if (needed <= available)
            return;
        const QString where = QStringLiteral("%1/%2").arg(windowName, name);
        for (const Misfit& m : misfits)
            if (m.where == where && m.text == text)
                return;
        misfits.append({where, text, needed, available});
    }

    void checkLabel(const QString& windowName, QLabel* label)
    {
        const QString text = label->text();
        if (text.isEmpty() || label->wordWrap())
            return;
        if (label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
            return;
        const int margin = label->margin();
        const int available = label->contentsRect().width() - 2 * margin;
        // A label shows its mnemonic marks only when it has a buddy; otherwise "&" is drawn.
        int needed = 0;
        for (const QString& line : label->buddy() ? shownLines(text) : text.split('\n'))
            needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
        add(windowName, label->objectName(), text, needed, available);
    }

    void checkButton(const QString& windowName, QAbstractButton* button)
    {
        const QString text = button->text();
        if (text.isEmpty())
            return;
        QStyle* style = button->style();
        int needed = widestLine(button->fontMetrics(), text);
        if (!button->icon().isNull())
            needed += button->iconSize().width() + 4;
        int available = 0;
        if (auto* box = qobject_cast<QCheckBox*>(button)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.rect = box->rect();
            available = style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
        } else if (auto* radio = qobject_cast<QRadioButton*>(button)) {
            QStyleOptionButton option;
            option.initFrom(radio);
            option.rect = radio->rect();
            available = style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio).width();
        } else {
            // The style's own room around a push button's label, as its size hint counts it.
            const int margins = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                                2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            available = button->width() - margins;
        }
        add(windowName, button->objectName(), text, needed, available);
    }

    void checkHeader(const QString& windowName, QAbstractItemView* view)
    {
        QHeaderView* header = nullptr;
        if (auto* table = qobject_cast<QTableView*>(view))
            header = table->horizontalHeader();
        else if (auto* tree = qobject_cast<QTreeView*>(view))
            header = tree->header();
        if (!header || !header->isVisibleTo(view) || !view->model())
            return;
        const int padding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int i = 0; i < header->count(); ++i) {
            if (header->isSectionHidden(i) || header->sectionSize(i) == 0)
                continue;
            const QString text = view->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            QFont font = header->font();
            const QVariant headerFont = view->model()->headerData(i, Qt::Horizontal, Qt::FontRole);
            if (headerFont.canConvert<QFont>())
                font = headerFont.value<QFont>();
            int needed = 0;
            for (const QString& line : text.split('\n'))
                needed = std::max(needed, QFontMetrics(font).horizontalAdvance(line));
            const QString where = QStringLiteral("%1 column %2").arg(view->objectName()).arg(i);
            const int available = header->sectionSize(i) - padding;
            add(windowName, where, text, needed, available);
        }
    }
};

QString report(const QList<Misfit>& misfits, const QString& language)
{
    QString lines;
    for (const Misfit& m : misfits) {
        const QString line = QStringLiteral("[%1] %2: \"%3\" needs %4 px, has %5 px")
                                 .arg(language, m.where, m.text)
                                 .arg(m.needed)
                                 .arg(m.available);
        // The test log cuts a long failure message short; each misfit is logged in full too.
        qWarning("%s", qPrintable(line));
        lines += "\n  " + line;
    }
    return lines;
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QString& name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

void setDeviceType(const QString& parGenPath, int deviceType)
{
    QFile file(parGenPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray content = file.readAll();
    file.close();
    static const QRegularExpression kType("<Select_Device_Type>\\d</Select_Device_Type>");
    QString text = QString::fromUtf8(content);
    text.replace(kType, QStringLiteral("<Select_Device_Type>%1</Select_Device_Type>").arg(deviceType));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextFitsItsControlInEveryLanguage();
};

// Every window in every shipped language, for an Ethernet and a serial device: no caption,
// button text or column header is wider than the control that shows it.
void TextFitTest::everyTextFitsItsControlInEveryLanguage()
{
    if (runningUnderWine())
        QSKIP("Wine: without Windows' own UI fonts the offscreen platform measures with DejaVu Sans, "
              "which is wider than Segoe UI");
    TempWorkspace ws;
    FakeMessages msgs;
    QVERIFY(copyFolder(SETFORGE_SOURCE_DIR "/workspace/LANGUAGE", ws.path() + "/LANGUAGE"));
    const QString project = ws.path() + "/PROJECTS/Demo";
    QVERIFY(copyFolder(SETFORGE_SOURCE_DIR "/workspace/PROJECTS/Demo", project));
    QVERIFY(QDir().mkpath(project + "/bin"));

    AppState state;
    startWorkspace(state, ws.utf8());
    openProject(state, "Demo");
    MainWindow window(state);
    window.show();
    SetforgeWindows& windows = window.windows();
    ObjectBrowser browser(state, &window);

    QString failures;
    int checkedWindows = 0;
    for (const char* language : kLanguages) {
        const QString name = QString::fromUtf8(language);
        if (name == "English") {
            state.texts.loadDefaults();
            state.languageName = "English";
        } else {
            state.languageName = loadLanguage(state.texts, state.languageFolders(), language);
            QCOMPARE(QString::fromStdString(state.languageName), name);
        }
        window.applyLanguage();
        browser.applyTexts();

        FitChecker checker;
        checker.language = name;
        for (int deviceType : {1, 0}) {
            setDeviceType(project + "/ParGen.xml", deviceType);
            refreshDeviceType(state);
            window.layoutSteps();
            window.showProjectLabels();
            checker.check("MainWindow", &window);
            ++checkedWindows;

            auto showAndCheck = [&](const QString& title, QWidget* dialog) {
                QVERIFY2(dialog, qPrintable(title + " does not exist"));
                dialog->show();
                QVERIFY(QTest::qWaitForWindowExposed(dialog));
                checker.check(title, dialog);
                dialog->hide();
                ++checkedWindows;
            };
            showAndCheck("About", windows.about);
            showAndCheck("New", windows.newProject);
            showAndCheck("Open", windows.openProject);
            showAndCheck("Options", windows.options);
            showAndCheck("CommunicationParameters", windows.communication);
            for (auto [title, table] :
                 {std::pair{"SdoClient", windows.sdoClient}, std::pair{"EmcyAccess", windows.emcyAccess},
                  std::pair{"NodeGuard", windows.nodeGuard}, std::pair{"PdoReceive", windows.pdoReceive},
                  std::pair{"PdoTransmit", windows.pdoTransmit}}) {
                auto* dialog = qobject_cast<TableDialog*>(table);
                QVERIFY2(dialog, title);
                QVERIFY2(dialog->reload(), title);
                showAndCheck(title, dialog);
            }
            for (auto [title, editor] :
                 {std::pair{"EmcyDefine", windows.emcyDefine}, std::pair{"RpdoDefine", windows.rpdoDefine},
                  std::pair{"TpdoDefine", windows.tpdoDefine}}) {
                auto* dialog = qobject_cast<MappingEditor*>(editor);
                QVERIFY2(dialog, title);
                QVERIFY2(dialog->reload(), title);
                showAndCheck(title, dialog);
            }
            auto* updateWindow = qobject_cast<UpdateDialog*>(windows.update);
            QVERIFY(updateWindow);
            updateWindow->setFormType(deviceType);
            showAndCheck(deviceType ? "UpdateEthernet" : "UpdateSerial", updateWindow);
            showAndCheck("ObjectBrowser", &browser);
            windows.problems->refresh();
            showAndCheck("Problems", windows.problems);
        }
        failures += report(checker.misfits, name);
    }
    QVERIFY(checkedWindows > 0);
    QVERIFY2(failures.isEmpty(), qPrintable("Texts wider than their controls:" + failures));
    QVERIFY(msgs.all().empty());
}

} // namespace setforge

QTEST_MAIN(setforge::TextFitTest)
#include "textfit_test.moc"
