#include "gui/lang/optionsdialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "core/lang/languagefile.h"
#include "core/lang/textid.h"
#include "gui/app/clicklabel.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/urlopener.h"
#include "gui/lang/toolkitlanguage.h"
#include "gui/lang/versionquery.h"

namespace setforge {

namespace {

constexpr int kClientWidth = 509;
constexpr int kClientHeight = 373;
constexpr int kFlagSize = 48;
constexpr int kSlotColumnLeft[2] = {20, 250};
constexpr int kSlotRowTop[3] = {32, 88, 144};

} // namespace

OptionsDialog::OptionsDialog(AppState& state, QWidget* parent, std::function<void()> changeLanguage)
    : SetforgeDialog(state, parent), m_changeLanguage(std::move(changeLanguage)),
      m_languageInUse(state.languageName)
{
    setObjectName("TFSoftOptions");
    buildLayout();
    applyTexts();
}

void OptionsDialog::buildLayout()
{
    setFixedSize(kClientWidth, kClientHeight);

    m_code = new QLabel(QString::fromUtf8(kSoftwareCode), this);
    m_code->setObjectName("L_SW_Code");
    QFont codeFont = m_code->font();
    codeFont.setPointSize(20);
    m_code->setFont(codeFont);
    m_code->setStyleSheet("color: grey;");
    m_code->setGeometry(16, 8, 300, 34);

    m_desc = new QLabel(this);
    m_desc->setObjectName("L_SW_Desc");
    QFont bold = m_desc->font();
    bold.setBold(true);
    m_desc->setFont(bold);
    m_desc->setGeometry(16, 42, 480, 20);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName("PC_Options");
    m_pages->setGeometry(8, 70, kClientWidth - 16, 255);

    m_tabLanguage = new QWidget;
    m_tabLanguage->setObjectName("TS_Language");
    m_tabConnection = new QWidget;
    m_tabConnection->setObjectName("TS_Con_Options");
    m_tabSettings = new QWidget;
    m_tabSettings->setObjectName("TS_Soft_Settings");
    m_pages->addTab(m_tabLanguage, QString());
    m_pages->addTab(m_tabConnection, QString());
    m_pages->addTab(m_tabSettings, QString());

    // Language tab: six slots, 1 to 3 down the left column and 4 to 6 down the right.
    m_selectedLanguage = new QLabel(m_tabLanguage);
    m_selectedLanguage->setObjectName("L_Sel_Lang");
    m_selectedLanguage->setGeometry(12, 8, 460, 16);
    for (int k = 0; k < kLanguageSlots; ++k) {
        const int left = kSlotColumnLeft[k / 3];
        const int top = kSlotRowTop[k % 3];
        m_flags[k] = new ClickLabel(m_tabLanguage);
        m_flags[k]->setObjectName(QString("I_L%1").arg(k + 1));
        m_flags[k]->setGeometry(left, top, kFlagSize, kFlagSize);
        m_flags[k]->setAlignment(Qt::AlignCenter);
        m_names[k] = new ClickLabel(m_tabLanguage);
        m_names[k]->setObjectName(QString("L_L%1").arg(k + 1));
        m_names[k]->setGeometry(left + kFlagSize + 8, top + 16, 160, 16);
        const int slot = k + 1;
        connect(m_flags[k], &ClickLabel::clicked, this, [this, slot] { onLanguageClicked(slot); });
        connect(m_names[k], &ClickLabel::clicked, this, [this, slot] { onLanguageClicked(slot); });
    }
    m_pageLabel = new QLabel(m_tabLanguage);
    m_pageLabel->setObjectName("L_Page_Lang");
    m_pageLabel->setGeometry(12, 200, 200, 20);
    m_prev = new QPushButton(m_tabLanguage);
    m_prev->setObjectName("Btn_Prev");
    m_prev->setGeometry(250, 196, 100, 26);
    m_next = new QPushButton(m_tabLanguage);
    m_next->setObjectName("Btn_Next");
    m_next->setGeometry(360, 196, 100, 26);
    connect(m_prev, &QPushButton::clicked, this, [this] { onPageClicked(false); });
    connect(m_next, &QPushButton::clicked, this, [this] { onPageClicked(true); });

    // Connection tab.
    m_enableInternet = new QCheckBox(m_tabConnection);
    m_enableInternet->setObjectName("CB_En_Con");
    m_enableInternet->setGeometry(16, 16, 450, 20);
    m_update = new QCheckBox(m_tabConnection);
    m_update->setObjectName("CB_Update");
    m_update->setGeometry(36, 44, 430, 20);
    m_checkUpdate = new QPushButton(m_tabConnection);
    m_checkUpdate->setObjectName("Btn_Check_Update");
    m_checkUpdate->setGeometry(16, 80, 220, 28);
    m_checkLink = new QLabel(m_tabConnection);
    m_checkLink->setObjectName("LL_Check_Update");
    m_checkLink->setGeometry(16, 120, 450, 20);
    m_checkLink->setVisible(false);
    connect(m_enableInternet, &QCheckBox::toggled, this, &OptionsDialog::updateCheckBoxes);
    connect(m_update, &QCheckBox::toggled, this, &OptionsDialog::updateCheckBoxes);
    connect(m_checkUpdate, &QPushButton::clicked, this, &OptionsDialog::onCheckUpdateClicked);
    connect(m_checkLink, &QLabel::linkActivated, this,
            [](const QString& link) { UrlOpener::instance().open(link); });

    // Software settings tab.
    m_jumpTable = new QCheckBox(m_tabSettings);
    m_jumpTable->setObjectName("CB_Soft_Set_Jump_Table");
    m_jumpTable->setGeometry(16, 16, 460, 20);
    m_autoSize = new QCheckBox(m_tabSettings);
    m_autoSize->setObjectName("CB_DoubleClick_Auto_Size");
    m_autoSize->setGeometry(16, 44, 460, 20);

    m_ok = new QPushButton(this);
    m_ok->setObjectName("Btn_OK");
    m_ok->setGeometry(320, 335, 85, 28);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setGeometry(414, 335, 85, 28);
    connect(m_ok, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::applyTexts()
{
    setWindowTitle(text(TextId::OptionsTitle));
    m_desc->setText(text(TextId::OptionsDescription));
    m_pages->setTabText(0, text(TextId::OptionsLanguageTab));
    m_pages->setTabText(1, text(TextId::OptionsConnectionTab));
    m_pages->setTabText(2, text(TextId::OptionsSettingsTab));
    showSelectedLanguage();
    showPageLabel();
    m_prev->setText(text(TextId::OptionsPrevious));
    m_next->setText(text(TextId::OptionsNext));
    m_enableInternet->setText(text(TextId::OptionsEnableInternet));
    m_update->setText(text(TextId::OptionsCheckAtStart));
    m_checkUpdate->setText(text(TextId::OptionsCheckNow));
    m_ok->setText(text(TextId::OptionsOk));
    m_cancel->setText(text(TextId::OptionsCancel));
    m_jumpTable->setText(text(TextId::OptionsJumpOnEnter));
    m_autoSize->setText(text(TextId::OptionsAutoSize));
    showCheckResult();
}

void OptionsDialog::showSelectedLanguage()
{
    m_selectedLanguage->setText(text(TextId::OptionsSelectedLanguage) + qs(m_languageInUse));
}

void OptionsDialog::showPageLabel()
{
    // Before the first showing no list exists yet; the label then stands at page 1 of 1.
    const int count =
        m_listBuilt ? languagePage(static_cast<int>(m_languages.size()), m_showPage).pageCount : 1;
    const int page = m_listBuilt ? m_showPage : 1;
    m_pageLabel->setText(text(TextId::OptionsPage) + QString::number(page) + text(TextId::OptionsPageOf) +
                         QString::number(count));
}

void OptionsDialog::showCheckResult()
{
    switch (m_checkResult) {
    case CheckResult::None:
        m_checkLink->clear();
        break;
    case CheckResult::Newer:
        m_checkLink->setTextFormat(Qt::RichText);
        m_checkLink->setText(QString("<a href=\"%1\">%2</a>")
                                 .arg(qs(makerDownloadUrl()).toHtmlEscaped(),
                                      text(TextId::OptionsNewVersionLink).toHtmlEscaped()));
        break;
    case CheckResult::NotNewer:
        m_checkLink->setTextFormat(Qt::PlainText);
        m_checkLink->setText(text(TextId::OptionsNoUpdate));
        break;
    }
}

void OptionsDialog::showEvent(QShowEvent* event)
{
    SetforgeDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void OptionsDialog::reload()
{
    m_languageInUse = m_state.languageName;
    refreshLanguageList();
    m_checkResult = CheckResult::None;
    showCheckResult();
    m_checkLink->setVisible(false);
    m_pages->setCurrentWidget(m_tabLanguage);
    {
        const QSignalBlocker blockEnCon(m_enableInternet);
        const QSignalBlocker blockUpdate(m_update);
        m_enableInternet->setChecked(m_state.enableInternet);
        m_update->setChecked(m_state.enableUpdate);
    }
    m_jumpTable->setChecked(m_state.enableJumpFieldTables);
    m_autoSize->setChecked(m_state.doubleClickAutoSize);
    updateCheckBoxes();
}

void OptionsDialog::refreshLanguageList()
{
    m_languages = m_state.languageFolders().fileNames();
    m_listBuilt = true;
    m_showPage = 1;
    showLanguagePage(1);
}

void OptionsDialog::showLanguagePage(int pageNumber)
{
    m_showPage = pageNumber;
    showSelectedLanguage();
    showPageLabel();
    const LanguagePage page = languagePage(static_cast<int>(m_languages.size()), pageNumber);
    m_prev->setVisible(page.previousVisible);
    m_next->setVisible(page.nextVisible);
    for (int k = 0; k < kLanguageSlots; ++k) {
        const bool shown = k < page.slotCount;
        m_names[k]->setVisible(shown);
        if (!shown) {
            m_flags[k]->setVisible(false);
            continue;
        }
        const std::string name = languageNameOf(m_languages[static_cast<std::size_t>(page.first + k)]);
        m_names[k]->setText(qs(name));
        const std::string flag = m_state.languageFolders().flagPicture(name);
        QPixmap picture;
        if (!flag.empty())
            picture.load(qs(flag));
        // A missing or unreadable picture leaves the name alone in its slot.
        if (picture.isNull()) {
            m_flags[k]->clear();
            m_flags[k]->setVisible(false);
        } else {
            m_flags[k]->setPixmap(
                picture.scaled(kFlagSize, kFlagSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            m_flags[k]->setVisible(true);
        }
    }
}

void OptionsDialog::onPageClicked(bool forward)
{
    m_showPage = turnLanguagePage(static_cast<int>(m_languages.size()), m_showPage, forward);
    showLanguagePage(m_showPage);
}

void OptionsDialog::onLanguageClicked(int slot)
{
    const LanguagePage page = languagePage(static_cast<int>(m_languages.size()), m_showPage);
    if (slot < 1 || slot > page.slotCount)
        return;
    const std::string name = languageNameOf(m_languages[static_cast<std::size_t>(page.first + slot - 1)]);
    if (!messages().question(this, qs(languageQuestion(m_state.texts, m_languageInUse, name))))
        return;
    m_languageInUse = name;
    // Language_Name stays as it is until OK; a deleted file falls back to the English texts,
    // and Qt's own texts follow the language in force before the windows are re-texted.
    useToolkitLanguage(loadLanguage(m_state.texts, m_state.languageFolders(), name));
    if (m_changeLanguage)
        m_changeLanguage();
    else
        applyTexts();
    showSelectedLanguage();
}

void OptionsDialog::updateCheckBoxes()
{
    m_update->setEnabled(m_enableInternet->isChecked());
    m_checkUpdate->setEnabled(m_update->isEnabled() && m_update->isChecked());
}

void OptionsDialog::onCheckUpdateClicked()
{
    m_checkResult = isNewerVersionAvailable() ? CheckResult::Newer : CheckResult::NotNewer;
    showCheckResult();
    m_checkLink->adjustSize();
    m_checkLink->setVisible(true);
}

void OptionsDialog::onOkClicked()
{
    m_state.languageName = m_languageInUse;
    m_state.enableInternet = m_enableInternet->isChecked();
    m_state.enableUpdate = m_update->isChecked();
    m_state.enableJumpFieldTables = m_jumpTable->isChecked();
    m_state.doubleClickAutoSize = m_autoSize->isChecked();
    // The main window writes the settings and sets its version timer from the two flags.
    accept();
}

} // namespace setforge
