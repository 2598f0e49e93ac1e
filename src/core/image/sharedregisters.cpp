#include "core/image/sharedregisters.h"

#include <string>

#include "core/image/registermap.h"

#include "core/base/textint.h"
#include "core/mapping/mappingmodel.h"

namespace setforge {

namespace {

const char* editorName(MappingKind kind)
{
    switch (kind) {
    case MappingKind::ReceivePdo:
        return "RPDO mapping";
    case MappingKind::TransmitPdo:
        return "TPDO mapping";
    case MappingKind::Emergency:
        return "EMCY words";
    }
    return "mapping";
}

} // namespace

std::vector<RegisterConflict> registersSharedWithOtherTables(const MappingModel& model,
                                                             ProjectDocuments& docs,
                                                             ProjectDocuments::File skipped)
{
    std::vector<RegisterMapEntry> map = buildRegisterMap(docs);
    const std::string skippedName = ProjectDocuments::fileName(skipped);
    std::erase_if(map, [&skippedName](const RegisterMapEntry& entry) { return entry.file == skippedName; });
    std::vector<RegisterClaim> claims = claimsOfRegisterMap(map);
    const std::size_t firstOwn = claims.size();
    const std::string prefix = std::string(editorName(model.format().kind)) + " (this editor, frame ";
    for (int frame = 0; frame < model.frameCount(); ++frame) {
        for (const RegisterEntry& entry : model.frame(frame).entries) {
            const std::int32_t reg = textToInt(entry.registerIndex, -1);
            if (reg >= 0 && reg <= 65535)
                claims.push_back({static_cast<std::uint16_t>(reg), prefix + std::to_string(frame + 1) + ")"});
        }
    }
    std::vector<bool> own(65536, false);
    for (std::size_t k = firstOwn; k < claims.size(); ++k)
        own[claims[k].reg] = true;
    std::vector<bool> elsewhere(65536, false);
    for (std::size_t k = 0; k < firstOwn; ++k)
        elsewhere[claims[k].reg] = true;
    std::vector<RegisterConflict> shared;
    for (RegisterConflict& conflict : findRegisterConflicts(claims))
        if (own[conflict.reg] && elsewhere[conflict.reg])
            shared.push_back(std::move(conflict));
    return shared;
}

} // namespace setforge
