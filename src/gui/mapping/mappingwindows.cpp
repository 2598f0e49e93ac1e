#include "gui/app/windowfactory.h"

#include "gui/mapping/mappingeditor.h"
#include "gui/nodes/pdobytehints.h"

namespace setforge {

namespace {

// The three editors differ only by their format. Each keeps its own object name, by which
// tests find the window.
SetforgeDialog* createMappingEditor(const MappingFormat& format, const char* objectName, AppState& state,
                                    QWidget* parent)
{
    auto* editor = new MappingEditor(format, state, parent);
    editor->setObjectName(objectName);
    return editor;
}

} // namespace

SetforgeDialog* createEmcyDefineWindow(AppState& state, QWidget* parent)
{
    return createMappingEditor(kEmergencyMapping, "TFEMCYDefine", state, parent);
}

SetforgeDialog* createRpdoDefineWindow(AppState& state, QWidget* parent)
{
    auto* editor =
        static_cast<MappingEditor*>(createMappingEditor(kReceivePdoMapping, "TFRPDODefine", state, parent));
    installPdoByteHints(*editor, state, true);
    return editor;
}

SetforgeDialog* createTpdoDefineWindow(AppState& state, QWidget* parent)
{
    auto* editor =
        static_cast<MappingEditor*>(createMappingEditor(kTransmitPdoMapping, "TFTPDODefine", state, parent));
    installPdoByteHints(*editor, state, false);
    return editor;
}

} // namespace setforge
