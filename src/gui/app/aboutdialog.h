#pragma once

#include "gui/app/setforgedialog.h"

// About window: the program's codes and version; its texts are fixed, not translated.
class AboutDialog : public SetforgeDialog {
    Q_OBJECT
public:
    AboutDialog(AppState& state, QWidget* parent);
    void applyTexts() override {}
};
