#include "gui/app/windowfactory.h"

#include "gui/update/updatedialog.h"

namespace setforge {

SetforgeDialog* createUpdateWindow(AppState& state, QWidget* parent)
{
    return new UpdateDialog(state, parent);
}

void showUpdateWindow(SetforgeDialog* updateWindow, int formType)
{
    auto* dialog = qobject_cast<UpdateDialog*>(updateWindow);
    if (!dialog)
        return;
    dialog->setFormType(formType);
    dialog->exec();
}

} // namespace setforge
