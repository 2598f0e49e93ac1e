#include "core/mapping/mappingplace.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"

namespace setforge {

MappingPlace placeOfMappingRow(const MappingFormat& format, std::string_view mapFile, int row, int word)
{
    MappingPlace place;
    if (row < 1)
        return place;
    if (format.groupElement) {
        place.frame = row - 1;
        place.entry = word >= 1 ? word - 1 : -1;
        return place;
    }
    pugi::xml_document doc;
    const pugi::xml_node root = loadXmlRoot(mapFile, doc);
    const char* frameNumber = format.attributeName(MapField::FrameNumber);
    std::vector<std::int64_t> frames; // the frame of each row so far
    forEachElement(root, [&](const pugi::xml_node& element, std::size_t i) {
        if (static_cast<int>(i) >= row)
            return;
        frames.push_back(std::int64_t{textToInt(element.attribute(frameNumber).value(), -1)} - 1);
    });
    if (static_cast<int>(frames.size()) < row || frames.back() < 0 ||
        frames.back() > std::numeric_limits<int>::max())
        return place;
    const std::int64_t frame = frames.back();
    int entry = 0;
    for (std::size_t i = 0; i + 1 < frames.size(); ++i)
        if (frames[i] == frame)
            ++entry;
    place.frame = static_cast<int>(frame);
    place.entry = entry;
    return place;
}

} // namespace setforge
