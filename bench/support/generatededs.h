#pragma once

#include <cstdio>
#include <string>

namespace setforge {

// An EDS of `objects` objects for the benchmarks, about 130 bytes per object: mostly VARs of
// the usual types, every tenth a RECORD with two sub-objects, names that a filter can tell apart.
inline std::string generatedEds(int objects)
{
    static const char* const kTypes[] = {"0x0005", "0x0006", "0x0007", "0x0003", "0x0004", "0x0009"};
    static const char* const kAccess[] = {"ro", "rw", "rww", "const"};
    std::string text =
        "[DeviceInfo]\nVendorName=Bench Vendor\nProductName=Bench Drive\nNrOfRXPDO=4\nNrOfTXPDO=4\n\n";
    char line[512];
    for (int i = 0; i < objects; ++i) {
        const unsigned index = 0x2000u + static_cast<unsigned>(i);
        if (i % 10 == 9) {
            std::snprintf(
                line, sizeof line,
                "[%04X]\nParameterName=Drive record %04d\nObjectType=0x9\nSubNumber=2\n\n"
                "[%04Xsub0]\nParameterName=Highest sub-index supported\nDataType=0x0005\nAccessType=ro\n"
                "DefaultValue=1\n\n"
                "[%04Xsub1]\nParameterName=Position limit %04d\nDataType=0x0004\nAccessType=rw\n"
                "DefaultValue=$NODEID+0x100\nPDOMapping=1\n\n",
                index, i, index, index, i);
        } else {
            std::snprintf(line, sizeof line,
                          "[%04X]\nParameterName=Manufacturer parameter %04d\nObjectType=0x7\nDataType=%s\n"
                          "AccessType=%s\nDefaultValue=%d\nPDOMapping=%d\n\n",
                          index, i, kTypes[i % 6], kAccess[i % 4], i, i % 2);
        }
        text += line;
    }
    return text;
}

} // namespace setforge
