#include "gui/app/savecheck.h"

#include <algorithm>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/report/findingchanges.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"

namespace setforge {

SaveCheck::SaveCheck(const AppState& state) : m_state(state), m_before(checkProject(state.files, state.texts))
{
}

bool SaveCheck::reviewAfterSave(QWidget* parent, const QStringList& alreadyShown) const
{
    const ProjectFindings added = newFindings(m_before, checkProject(m_state.files, m_state.texts));
    MessageList box;
    for (const std::string& line : findingLines(added)) {
        const QString shown = qs(line);
        if (std::none_of(alreadyShown.begin(), alreadyShown.end(),
                         [&shown](const QString& prefix) { return shown.startsWith(prefix); }))
            box.items << shown;
    }
    if (box.items.isEmpty())
        return true;
    box.kind = added.ok() ? MessageList::Kind::Warning : MessageList::Kind::Error;
    box.text = qs(m_state.texts[TextId::SavedWithNewProblems]);
    box.buttons = MessageList::Buttons::GoBackOk;
    box.goBack = qs(m_state.texts[TextId::ListGoBack]);
    return messages().list(parent, box);
}

} // namespace setforge
