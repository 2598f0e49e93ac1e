#include "core/base/projectfiles.h"

#include "core/base/paths.h"

namespace setforge {

ProjectFiles makeProjectFiles(std::string_view projectDir)
{
    ProjectFiles files;
    files.parGen = joinPath(projectDir, "ParGen.xml");
    files.sdo = joinPath(projectDir, "sdo.xml");
    files.emcyDef = joinPath(projectDir, "emcydef.xml");
    files.emcyWord = joinPath(projectDir, "emcyword.xml");
    files.rpdoDef = joinPath(projectDir, "rpdodef.xml");
    files.sdoPdo = joinPath(projectDir, "sdopdo.xml");
    files.transmitPdo = joinPath(projectDir, "Transmit_Pdo.xml");
    files.transmitPdoDefine = joinPath(projectDir, "Transmit_PDO_Define.xml");
    files.nodeGuard = joinPath(projectDir, "NodeGuard.xml");
    return files;
}

} // namespace setforge
