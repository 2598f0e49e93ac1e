// A settings file of any bytes: what is read, written and read again must be what was read,
// and the written text must be a well-formed document that writes back to the same bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "core/base/xmlfile.h"
#include "fuzz/support/fuzzcheck.h"

namespace setforge {

namespace {

bool same(const Settings& a, const Settings& b)
{
    return a.projectName == b.projectName && a.deviceIp == b.deviceIp && a.languageName == b.languageName &&
           a.enableInternet == b.enableInternet && a.enableUpdate == b.enableUpdate &&
           a.enableJumpFieldTables == b.enableJumpFieldTables &&
           a.doubleClickAutoSize == b.doubleClickAutoSize;
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Settings first = parseSettings(bytes);
    const std::string written = settingsXml(first);

    pugi::xml_document doc;
    FUZZ_CHECK(loadXmlText(written, doc), "the written settings must be well-formed");
    FUZZ_CHECK(std::string_view(documentRoot(doc).name()) == "Conf_Settings",
               "the root must be Conf_Settings");

    const Settings second = parseSettings(written);
    FUZZ_CHECK(same(first, second), "reading what was written must give the values read");
    FUZZ_CHECK(settingsXml(second) == written, "writing again must give the same bytes");
    return 0;
}
