#pragma once

#include <optional>

namespace setforge {

// The converter with or without its Ethernet port. ParGen.xml stores the variant as the
// integer of Select_Device_Type, and a file edited by hand may hold any integer there. Three
// readings of that integer are in use; all are kept, and this is the one place that says
// which part of the program reads it which way.
enum class DeviceVariant { WithoutEthernet, WithEthernet };

// The main window's steps, the communication dialog's panels, the inactivity check, the
// register check, the compile summary, the update's transport (core/flow/updateflow.h): every
// value other than 0 has the Ethernet port.
constexpr DeviceVariant variantForSteps(int selectDeviceType)
{
    return selectDeviceType != 0 ? DeviceVariant::WithEthernet : DeviceVariant::WithoutEthernet;
}

// The table dialogs' columns and checks, and the Ethernet checks of the communication
// parameters: only 1 has the Ethernet port.
constexpr DeviceVariant variantForTables(int selectDeviceType)
{
    return selectDeviceType == 1 ? DeviceVariant::WithEthernet : DeviceVariant::WithoutEthernet;
}

// The update dialog's layout (its form type): 0 the serial update, 1 the Ethernet update. The
// update flow only ever gives it 0 or 1 (updateFormType); any other value has no layout, the
// dialog then shows no input panel and Execute does nothing.
constexpr std::optional<DeviceVariant> variantForUpdate(int selectDeviceType)
{
    if (selectDeviceType == 0)
        return DeviceVariant::WithoutEthernet;
    if (selectDeviceType == 1)
        return DeviceVariant::WithEthernet;
    return std::nullopt;
}

// True for the variant with the Ethernet port.
constexpr bool hasEthernet(DeviceVariant variant)
{
    return variant == DeviceVariant::WithEthernet;
}

} // namespace setforge
