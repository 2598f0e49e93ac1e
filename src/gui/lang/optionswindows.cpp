#include "gui/app/windowfactory.h"

#include "gui/app/mainwindow.h"
#include "gui/lang/optionsdialog.h"
#include "gui/lang/versionquery.h"

SetforgeDialog* createSoftOptionsWindow(AppState& state, QWidget* parent)
{
    std::function<void()> changeLanguage;
    if (auto* main = qobject_cast<MainWindow*>(parent))
        changeLanguage = [main] { main->applyLanguage(); };
    return new OptionsDialog(state, parent, std::move(changeLanguage));
}

bool checkForNewerVersion(AppState&)
{
    return isNewerVersionAvailable();
}
