#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/lang/languagelist.h"
#include "gui/app/setforgedialog.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

namespace setforge {

class ClickLabel;

// Software options: the language chosen from the language files present, Internet use and
// the periodic version check, a version check by hand, and two table options.
class OptionsDialog : public SetforgeDialog {
    Q_OBJECT
public:
    // `changeLanguage` applies the texts to every window (the main window's applyLanguage);
    // without it only this dialog's texts are applied.
    OptionsDialog(AppState& state, QWidget* parent, std::function<void()> changeLanguage);

    void applyTexts() override;

    // The language chosen in the dialog; it becomes Language_Name on OK.
    const std::string& languageInUse() const { return m_languageInUse; }
    // The file names listed at the last showing.
    const std::vector<std::string>& languages() const { return m_languages; }
    int showPage() const { return m_showPage; }

public slots:
    // Rebuilds the language list from disk and shows page 1.
    void refreshLanguageList();
    // Shows page `pageNumber` of the list.
    void showLanguagePage(int pageNumber);
    // Asks, then switches every window to the language of slot `slot` (1 to 6).
    void onLanguageClicked(int slot);
    // Previous (`forward` false) and Next.
    void onPageClicked(bool forward);
    // CB_Update follows CB_En_Con; the manual check needs both ticked.
    void updateCheckBoxes();
    // Runs the version check and shows its link or "No Update Available".
    void onCheckUpdateClicked();
    // Sets the process-wide values from the dialog and closes with OK.
    void onOkClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class CheckResult { None, Newer, NotNewer };

    void reload();
    void buildLayout();
    void showSelectedLanguage();
    void showPageLabel();
    void showCheckResult();

    std::function<void()> m_changeLanguage;
    std::vector<std::string> m_languages;
    std::string m_languageInUse;
    int m_showPage = 1;
    bool m_listBuilt = false;
    CheckResult m_checkResult = CheckResult::None;

    QLabel* m_code = nullptr;
    QLabel* m_desc = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_tabLanguage = nullptr;
    QWidget* m_tabConnection = nullptr;
    QWidget* m_tabSettings = nullptr;
    QLabel* m_selectedLanguage = nullptr;
    ClickLabel* m_flags[kLanguageSlots] = {};
    ClickLabel* m_names[kLanguageSlots] = {};
    QLabel* m_pageLabel = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QCheckBox* m_enableInternet = nullptr;
    QCheckBox* m_update = nullptr;
    QPushButton* m_checkUpdate = nullptr;
    QLabel* m_checkLink = nullptr;
    QCheckBox* m_jumpTable = nullptr;
    QCheckBox* m_autoSize = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace setforge
