#include "gui/app/windowfactory.h"

#include "gui/lang/optionsdialog.h"
#include "gui/lang/versionquery.h"

namespace setforge {

SetforgeDialog* createOptionsWindow(AppState& state, QWidget* parent, std::function<void()> changeLanguage)
{
    return new OptionsDialog(state, parent, std::move(changeLanguage));
}

bool checkForNewerVersion(AppState&)
{
    return isNewerVersionAvailable();
}

} // namespace setforge
