#pragma once

#include "gui/mapping/mappingeditor.h"

// The emergency mapping editor (emcydef.xml, emcyword.xml).
class TFEMCYDefine : public MappingEditor {
    Q_OBJECT
public:
    TFEMCYDefine(AppState& state, QWidget* parent) : MappingEditor(kEmergencyMapping, state, parent)
    {
        setObjectName("TFEMCYDefine");
    }
};
