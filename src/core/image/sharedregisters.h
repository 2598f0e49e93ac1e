#pragma once

#include <vector>

#include "core/base/projectfiles.h"
#include "core/image/registerconflicts.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

class MappingModel;

// The registers that the entries of `model`, as edited and not yet saved, share with the rest
// of the project: every claim of the project's files except those of `skipped` (the editor's
// own mapping file, which holds what was loaded, not what is being saved), plus one claim per
// entry of the model ("<editor> mapping (this editor, frame 2)"). Only registers with at least
// one claim from the model and one from elsewhere are returned, in increasing register order.
// Files that are missing or broken claim nothing.
std::vector<RegisterConflict> registersSharedWithOtherTables(const MappingModel& model,
                                                             ProjectDocuments& docs,
                                                             ProjectDocuments::File skipped);

} // namespace setforge
