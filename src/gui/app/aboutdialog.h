#pragma once

#include "gui/app/setforgedialog.h"

// About window: the program's codes and version; its texts are fixed, not translated.
class TFAbout : public SetforgeDialog {
    Q_OBJECT
public:
    TFAbout(AppState& state, QWidget* parent);
    void Set_Lang() override {}
};
