#pragma once

#include <array>
#include <vector>

#include "core/tables/pargenvalues.h"
#include "gui/app/setforgedialog.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;

namespace setforge {

class CollapsiblePanel;
class CollapsiblePanelGroup;
namespace CommunicationForm {
struct Field;
}

// The communication parameters of the open project: device variant, CANopen node, Modbus
// slave and Ethernet port, edited in four folding panels and saved to ParGen.xml on OK.
// Created once at start; every showing reloads the file.
class CommunicationDialog : public SetforgeDialog {
    Q_OBJECT
public:
    // Fixed client width; the height is free and the panels scroll.
    static constexpr int kClientWidth = 460;
    static constexpr int kClientHeight = 700;
    // Distance between two rows of controls inside a panel.
    static constexpr int kRowPitch = 28;

    CommunicationDialog(AppState& state, QWidget* parent);

    void applyTexts() override;

    // True once a tracked control was changed since the dialog was last shown.
    bool isChanged() const { return m_isChange; }
    // Validates the values shown; the first failing check is reported in an error box.
    bool validate();
    // The values the controls hold now, as they would be saved.
    ParGenValues valuesFromControls() const;

public slots:
    void onOkClicked();
    // After a save that changed the device type: one message with what the new variant needs
    // and hides; when transmit PDOs have unmapped Address Start blocks it asks whether to turn
    // them into transmit mapping entries, writes them through the mapping model and says how
    // many frames were filled and which were not.
    void explainVariantSwitch(int oldType, int newType);
    // Closes, asking first when tracked controls were changed. Escape and the title bar's
    // close button come here too, through reject().
    void onCancelClicked();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One control of CommunicationForm::fields() and the form it sits in.
    struct Bound {
        const CommunicationForm::Field* field;
        QWidget* widget;
        QFormLayout* form;
    };

    void buildControls();
    void layoutPanels();
    void reload();
    void showValues(const ParGenValues& values);
    void markChanged();
    int variantShown() const;

    bool m_isChange = false;
    ParGenValues m_loaded; // what the last showing loaded; keeps out-of-list indexes
    std::vector<Bound> m_bound;

    QLabel* m_swCode = nullptr;
    QLabel* m_swDesc = nullptr;
    CollapsiblePanelGroup* m_panelGroup = nullptr;
    std::array<CollapsiblePanel*, 4> m_panels = {};
    std::array<QFormLayout*, 4> m_forms = {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QComboBox* m_device = nullptr;
};

} // namespace setforge
