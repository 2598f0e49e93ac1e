#pragma once

#include "gui/mapping/mappingeditor.h"

// The transmit PDO mapping editor (Transmit_Pdo.xml, Transmit_PDO_Define.xml).
class TFTPDODefine : public MappingEditor {
    Q_OBJECT
public:
    TFTPDODefine(AppState& state, QWidget* parent) : MappingEditor(kTransmitPdoMapping, state, parent)
    {
        setObjectName("TFTPDODefine");
    }
};
