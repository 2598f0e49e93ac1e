#pragma once

#include <array>
#include <span>
#include <string>

#include "core/lang/textid.h"
#include "core/tables/pargenvalues.h"

namespace setforge {

// The communication dialog's controls as data: which value of ParGenValues each one shows,
// its panel, its texts, and whether a change makes Cancel ask.
namespace CommunicationForm {

enum class Control { Label, Check, Edit, List, Address };
// Rows only one device variant shows.
enum class Shown { Always, WithEthernet, WithoutEthernet };
enum Panel { kDevicePanel, kCanopenPanel, kModbusPanel, kEthernetPanel };

// One folding panel: its object name, caption, and the widths of its form's two columns.
struct PanelShape {
    const char* name;
    int caption;
    int captionWidth;
    int valueWidth; // an address has a width of its own
};

inline constexpr std::array<PanelShape, 4> kPanels = {{
    {"CP_Select_Device", TextId::DevicePanel, 108, 300},
    {"CP_CANopen", TextId::CanopenPanel, 278, 130},
    {"CP_Modbus_Slave", TextId::ModbusPanel, 278, 130},
    {"CP_Ethernet", TextId::EthernetPanel, 120, 0},
}};

// One control. A label or check box starts a row of its panel's form; an edit, list or
// address after it fills that row's value column. Exactly one value member is set, except
// on a label.
struct Field {
    Panel panel;
    Control control;
    const char* name;             // object name; an address's four fields add 1..4 to it
    int caption = TextId::None;   // of a label or check box
    int hint = TextId::None;      // of an address: the first byte's, the other three follow
    int unitRange = TextId::None; // the hint's second line: unit and accepted range
    bool tracked = false;         // a change makes Cancel ask
    Shown shown = Shown::Always;  // of the row, on its first control
    std::string ParGenValues::*text = nullptr;
    int ParGenValues::*index = nullptr;
    bool ParGenValues::*flag = nullptr;
    std::array<std::string, 4> ParGenValues::*address = nullptr;
    std::span<const char* const> items = {}; // a list's fixed items
};

// Every control, panel by panel and row by row.
std::span<const Field> fields();

} // namespace CommunicationForm

} // namespace setforge
