#include "gui/app/windowfactory.h"

#include "gui/update/updatedialog.h"

namespace setforge {

SetforgeDialog* createBootWindow(AppState& state, QWidget* parent)
{
    return new UpdateDialog(state, parent);
}

void showBootWindow(SetforgeDialog* boot, int formType)
{
    auto* dialog = qobject_cast<UpdateDialog*>(boot);
    if (!dialog)
        return;
    dialog->setFormType(formType);
    dialog->exec();
}

} // namespace setforge
