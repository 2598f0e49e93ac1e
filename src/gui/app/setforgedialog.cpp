#include "gui/app/setforgedialog.h"

#include "core/app/appstate.h"
#include "gui/app/tooltipwrapper.h"

namespace setforge {

SetforgeDialog::SetforgeDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    installTooltipWrapping();
}

QString SetforgeDialog::text(int index) const
{
    return QString::fromStdString(m_state.texts.at(index));
}

} // namespace setforge
