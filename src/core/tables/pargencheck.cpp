#include "core/tables/pargencheck.h"

#include <cstdint>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/lang/textid.h"
#include "core/tables/pargenfile.h"

namespace setforge {

namespace {

struct Check {
    bool (*when)(const ParGenValues&);
    const std::string& (*field)(const ParGenValues&);
    std::int32_t lo;
    std::int32_t hi;
    int message;
};

bool always(const ParGenValues&)
{
    return true;
}

// The Ethernet settings are checked by the tables' reading of the variant, although the dialog
// shows them by the steps' reading.
bool ethernet(const ParGenValues& v)
{
    return hasEthernet(variantForTables(v.deviceType));
}

template <std::string ParGenValues::*M> const std::string& fieldOf(const ParGenValues& v)
{
    return v.*M;
}
template <std::array<std::string, 4> ParGenValues::*M, int I> const std::string& byteOf(const ParGenValues& v)
{
    return (v.*M)[I];
}

using V = ParGenValues;

constexpr std::int32_t kLastByte = 255;

const Check kChecks[] = {
    {always, fieldOf<&V::canId>, 1, 127, TextId::CanopenIdRange},
    {[](const V& v) { return v.networkStart; }, fieldOf<&V::networkStartDelay>, 0, 255,
     TextId::NetworkStartDelayRange},
    {[](const V& v) { return v.startOnModbus; }, fieldOf<&V::startOnModbusAddress>, 0, 65535,
     TextId::StartOnModbusAddressRange},
    {always, fieldOf<&V::sdoTimeout>, 0, 100000, TextId::SdoTimeoutRange},
    {[](const V& v) { return v.syncEnable; }, fieldOf<&V::syncTime>, 1, 4200000, TextId::SyncTimeRange},
    {[](const V& v) { return v.nodeguardEnable; }, fieldOf<&V::nodeguardAddress1>, 0, 65535,
     TextId::NodeguardAddress1Range},
    {[](const V& v) { return v.nodeguardEnable; }, fieldOf<&V::nodeguardAddress2>, 0, 65535,
     TextId::NodeguardAddress2Range},
    {always, fieldOf<&V::modbusId>, 1, 247, TextId::ModbusIdRange},
    // The inactivity field is shown for every variant but 0.
    {[](const V& v) { return hasEthernet(variantForSteps(v.deviceType)) && v.inactivityEnable; },
     fieldOf<&V::inactivityTimeout>, 1000, 1000000000, TextId::ModbusInactivityTimeoutRange},
    {ethernet, byteOf<&V::ip, 0>, 0, kLastByte, TextId::IpByte1Range},
    {ethernet, byteOf<&V::ip, 1>, 0, kLastByte, TextId::IpByte2Range},
    {ethernet, byteOf<&V::ip, 2>, 0, kLastByte, TextId::IpByte3Range},
    {ethernet, byteOf<&V::ip, 3>, 0, kLastByte, TextId::IpByte4Range},
    {ethernet, byteOf<&V::subnetMask, 0>, 0, kLastByte, TextId::MaskByte1Range},
    {ethernet, byteOf<&V::subnetMask, 1>, 0, kLastByte, TextId::MaskByte2Range},
    {ethernet, byteOf<&V::subnetMask, 2>, 0, kLastByte, TextId::MaskByte3Range},
    {ethernet, byteOf<&V::subnetMask, 3>, 0, kLastByte, TextId::MaskByte4Range},
    {[](const V& v) { return ethernet(v) && v.gatewayEnable; }, byteOf<&V::gateway, 0>, 0, kLastByte,
     TextId::GatewayByte1Range},
    {[](const V& v) { return ethernet(v) && v.gatewayEnable; }, byteOf<&V::gateway, 1>, 0, kLastByte,
     TextId::GatewayByte2Range},
    {[](const V& v) { return ethernet(v) && v.gatewayEnable; }, byteOf<&V::gateway, 2>, 0, kLastByte,
     TextId::GatewayByte3Range},
    {[](const V& v) { return ethernet(v) && v.gatewayEnable; }, byteOf<&V::gateway, 3>, 0, kLastByte,
     TextId::GatewayByte4Range},
};

bool fails(const Check& check, const ParGenValues& values)
{
    if (!check.when(values))
        return false;
    const std::int32_t value = textToInt(check.field(values), -1);
    return value < check.lo || value > check.hi;
}

} // namespace

std::vector<int> parGenFailures(const ParGenValues& values)
{
    std::vector<int> failures;
    for (const Check& check : kChecks)
        if (fails(check, values))
            failures.push_back(check.message);
    return failures;
}

int firstParGenFailure(const ParGenValues& values)
{
    for (const Check& check : kChecks)
        if (fails(check, values))
            return check.message;
    return 0;
}

ParGenFileCheck checkParGenFile(ProjectDocuments& docs, const UiTexts& texts)
{
    ParGenFileCheck result;
    const ProjectDocuments::Entry& entry = docs.get(ProjectDocuments::File::ParGen);
    if (!entry.error.empty()) {
        result.read = makeError(entry.error, docs.path(ProjectDocuments::File::ParGen));
        return result;
    }
    const ParGenValues values = entry.exists ? parGenFromRoot(entry.root) : ParGenValues{};
    for (int message : parGenFailures(values))
        result.messages.push_back(texts[message]);
    return result;
}

ParGenFileCheck checkParGenFile(std::string_view utf8Path, const UiTexts& texts)
{
    ParGenFileCheck result;
    const Result<ParGenValues> loaded = loadParGen(utf8Path);
    if (!loaded) {
        result.read = loaded.error();
        return result;
    }
    for (int message : parGenFailures(*loaded))
        result.messages.push_back(texts[message]);
    return result;
}

} // namespace setforge
