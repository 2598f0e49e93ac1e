#include "gui/app/windowfactory.h"

#include "gui/lang/softoptionsdialog.h"
#include "gui/lang/versionquery.h"

SetforgeDialog* createSoftOptionsWindow(AppState& state, QWidget* parent,
                                        std::function<void()> changeLanguage)
{
    return new TFSoftOptions(state, parent, std::move(changeLanguage));
}

bool checkForNewerVersion(AppState&)
{
    return Check_Version();
}
