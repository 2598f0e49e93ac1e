#include "gui/nodes/pdobytehints.h"

#include <memory>

#include <QComboBox>
#include <QEvent>
#include <QListWidget>
#include <QTimer>

#include "core/app/appstate.h"
#include "core/base/textint.h"
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
        m_frames = editor.findChild<QListWidget*>("LB_CAN_Frames");
        m_high = editor.findChild<QComboBox*>("CB_Byte_High_Part");
        m_low = editor.findChild<QComboBox*>("CB_Byte_Low_Part");
        editor.installEventFilter(this);
        if (m_frames) {
            // Queued, so the editor has refilled its byte lists for the new frame first.
            connect(m_frames, &QListWidget::itemSelectionChanged, this, &PdoByteHints::markBytes,
                    Qt::QueuedConnection);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_editor && event->type() == QEvent::Show)
            QTimer::singleShot(0, this, &PdoByteHints::markFrames);
        return QObject::eventFilter(watched, event);
    }

private:
    const RemotePdo* pdoOfRow(int row) const
    {
        if (!m_frames || row < 0 || row >= m_frames->count())
            return nullptr;
        const QString cobId = m_frames->item(row)->text().section('\t', 0, 0);
        const std::int32_t value = textToInt(us(cobId), -1);
        return value < 0 ? nullptr : m_pdos.find(static_cast<std::uint32_t>(value));
    }

    void markFrames()
    {
        if (!m_frames || !m_state.hasProject())
            return;
        m_pdos.load(m_state.projectDir, m_nodeTransmits);
        for (int row = 0; row < m_frames->count(); ++row) {
            QStringList lines;
            if (const RemotePdo* pdo = pdoOfRow(row))
                for (const std::string& line : describePdoBytes(*pdo))
                    lines << qs(line);
            m_frames->item(row)->setToolTip(lines.join('\n'));
        }
        markBytes();
    }

    void markBytes()
    {
        const RemotePdo* pdo = m_frames ? pdoOfRow(m_frames->currentRow()) : nullptr;
        for (QComboBox* box : {m_high, m_low}) {
            if (!box)
                continue;
            // Item k is byte k; item 0 is "None".
            for (int k = 1; k < box->count(); ++k)
                box->setItemData(k, pdo ? qs(CataloguePdos::describeByte(*pdo, k)) : QString(),
                                 Qt::ToolTipRole);
        }
    }

    MappingEditor& m_editor;
    AppState& m_state;
    bool m_nodeTransmits;
    QListWidget* m_frames = nullptr;
    QComboBox* m_high = nullptr;
    QComboBox* m_low = nullptr;
    CataloguePdos m_pdos;
};

} // namespace

void installPdoByteHints(MappingEditor& editor, AppState& state, bool nodeTransmits)
{
    new PdoByteHints(editor, state, nodeTransmits);
}

} // namespace setforge
