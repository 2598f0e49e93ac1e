#pragma once

#include <string_view>

#include "core/mapping/mappingformat.h"

namespace setforge {

// Where a row of a mapping file shows in its editor.
struct MappingPlace {
    int frame = -1; // the frame's position (from 0); -1 for none
    int entry = -1; // the entry's position among that frame's entries (from 0); -1 for none
};

// The place of a row that the project checks name. Flat files (the two PDO editors): `row` (from
// 1) is the row among the root's elements; its frame is the one its FrameNumber names and its
// entry counts the earlier rows of that frame, as MappingModel::load places them. Grouped files
// (the emergencies): `row` is the group, the frame, and `word` (from 1) the entry in it.
// {-1, -1} when `mapFile` cannot be read or has no such row, or the row names no frame.
MappingPlace placeOfMappingRow(const MappingFormat& format, std::string_view mapFile, int row, int word);

} // namespace setforge
