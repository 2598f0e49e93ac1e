#pragma once

#include <array>
#include <vector>

#include "core/tables/pargenvalues.h"
#include "gui/app/setforgedialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QWheelEvent;

namespace setforge {

class CollapsiblePanel;

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
    // Closes, asking first when tracked controls were changed. Escape and the title bar's
    // close button come here too, through reject().
    void onCancelClicked();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void trackChanges();
    void orderPanels();
    void layoutPanels();
    void layoutDevicePanel();
    void layoutCanopenPanel();
    void layoutModbusPanel();
    void layoutEthernetPanel();
    void stackPanels();
    void reload();
    void showValues(const ParGenValues& values);
    void markChanged();
    bool handleAddressKey(QLineEdit* field, QKeyEvent* event);
    bool scrollPanels(QWheelEvent* event);
    bool isOverPanelGroup(QObject* watched) const;
    int variantShown() const;

    // Caption and hint of one control, by UI_Texts index (-1: none).
    struct LangEntry {
        QWidget* captionOwner;
        int caption;
        QWidget* hintOwner;
        int hint;
        int unitRange = -1; // second line of the hint: unit and accepted range
    };

    bool m_isChange = false;
    ParGenValues m_loaded; // what the last showing loaded; keeps out-of-list indexes
    std::vector<LangEntry> m_lang;

    QLabel* m_swCode = nullptr;
    QLabel* m_swDesc = nullptr;
    QScrollArea* m_panelGroup = nullptr;
    QWidget* m_panelStack = nullptr;
    std::array<CollapsiblePanel*, 4> m_panels = {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    QLabel* m_deviceLabel = nullptr;
    QComboBox* m_device = nullptr;

    QLabel* m_canIdLabel = nullptr;
    QLineEdit* m_canId = nullptr;
    QLabel* m_canBaudLabel = nullptr;
    QComboBox* m_canBaud = nullptr;
    QCheckBox* m_operationalAtStart = nullptr;
    QCheckBox* m_networkStart = nullptr;
    QLineEdit* m_networkStartDelay = nullptr;
    QCheckBox* m_startOnModbus = nullptr;
    QLineEdit* m_startOnModbusAddress = nullptr;
    QLabel* m_sdoTimeoutLabel = nullptr;
    QLineEdit* m_sdoTimeout = nullptr;
    QCheckBox* m_sync = nullptr;
    QLineEdit* m_syncTime = nullptr;
    QCheckBox* m_nodeguard = nullptr;
    QLabel* m_nodeguard1Label = nullptr;
    QLineEdit* m_nodeguard1 = nullptr;
    QLabel* m_nodeguard2Label = nullptr;
    QLineEdit* m_nodeguard2 = nullptr;

    QLabel* m_serialLabel = nullptr;
    QComboBox* m_serial = nullptr;
    QLabel* m_modbusBaudLabel = nullptr;
    QComboBox* m_modbusBaud = nullptr;
    QLabel* m_parityLabel = nullptr;
    QComboBox* m_parity = nullptr;
    QLabel* m_stopBitsLabel = nullptr;
    QComboBox* m_stopBits = nullptr;
    QLabel* m_modbusIdLabel = nullptr;
    QLineEdit* m_modbusId = nullptr;
    QLabel* m_protocolLabel = nullptr;
    QComboBox* m_protocol = nullptr;
    QCheckBox* m_inactivity = nullptr;
    QLineEdit* m_inactivityTimeout = nullptr;

    QLabel* m_ipLabel = nullptr;
    QLabel* m_maskLabel = nullptr;
    QCheckBox* m_gatewayEnable = nullptr;
    // IP1..IP4, SM1..SM4, GAT1..GAT4: the order in which "." moves on.
    std::array<QLineEdit*, 12> m_address = {};
};

} // namespace setforge
