#include "gui/nodes/pdobytehints.h"

#include <QStringList>

#include "core/app/appstate.h"
#include "core/mapping/mappingframe.h"
#include "core/nodes/cataloguepdos.h"
#include "gui/app/qtext.h"
#include "gui/mapping/mappingeditor.h"

namespace setforge {

namespace {

class PdoByteHints : public QObject {
public:
    PdoByteHints(MappingEditor& editor, AppState& state, bool nodeTransmits)
        : QObject(&editor), m_editor(editor), m_state(state), m_nodeTransmits(nodeTransmits)
    {
        connect(&editor, &MappingEditor::framesLoaded, this, &PdoByteHints::markFrames);
        connect(&editor, &MappingEditor::frameSelected, this, &PdoByteHints::markBytes);
    }

private:
    const RemotePdo* pdoWithCobId(qint64 cobId) const
    {
        return cobId < 0 ? nullptr : m_pdos.find(static_cast<std::uint32_t>(cobId));
    }

    // The catalogue is read again at every load: nodes may have been added meanwhile.
    void markFrames()
    {
        if (!m_state.hasProject())
            return;
        m_pdos.load(m_state.projectDir, m_nodeTransmits);
        const MappingModel& model = m_editor.model();
        for (int frame = 0; frame < model.frameCount(); ++frame) {
            const std::optional<std::uint32_t> cobId = model.frame(frame).cobIdNumber();
            QStringList lines;
            if (const RemotePdo* pdo = cobId ? m_pdos.find(*cobId) : nullptr)
                for (const std::string& line : describePdoBytes(*pdo))
                    lines << qs(line);
            m_editor.setFrameToolTip(frame, lines.join('\n'));
        }
    }

    void markBytes(int frame, qint64 cobId)
    {
        const RemotePdo* pdo = pdoWithCobId(cobId);
        const int bytes = m_editor.model().offeredBytes(frame);
        for (int k = 1; k <= bytes; ++k)
            m_editor.setByteToolTip(k, pdo ? qs(CataloguePdos::describeByte(*pdo, k)) : QString());
    }

    MappingEditor& m_editor;
    AppState& m_state;
    bool m_nodeTransmits;
    CataloguePdos m_pdos;
};

} // namespace

void installPdoByteHints(MappingEditor& editor, AppState& state, bool nodeTransmits)
{
    new PdoByteHints(editor, state, nodeTransmits);
}

} // namespace setforge
