#pragma once

#include "gui/mapping/mappingeditor.h"

// The receive PDO mapping editor (rpdodef.xml, sdopdo.xml).
class TFRPDODefine : public MappingEditor {
    Q_OBJECT
public:
    TFRPDODefine(AppState& state, QWidget* parent) : MappingEditor(kReceivePdoMapping, state, parent)
    {
        setObjectName("TFRPDODefine");
    }
};
