#include "core/update/updatefiles.h"

#include "core/base/paths.h"

namespace setforge {

std::string updaterPath(std::string_view exeDir, std::string_view baseName)
{
#ifdef _WIN32
    return joinPath(exeDir, std::string(baseName) + ".exe");
#else
    return joinPath(exeDir, baseName);
#endif
}

} // namespace setforge
