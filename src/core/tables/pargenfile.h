#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "core/base/atomicfile.h"
#include "core/base/xmlfile.h"
#include "core/tables/pargenvalues.h"

// ParGen.xml: the communication parameters of a project. Root "Par_Gen", one child element
// per value group in a fixed order, then the version comment. The element names, attribute
// names and their order are held in one table in pargenfile.cpp, used by load and save alike.

namespace setforge {

// The root element's name.
inline constexpr const char* kParGenRoot = "Par_Gen";

// "10K" ... "1000K" (a CAN bit-rate list item) to the kbit/s text stored in the file,
// "10" ... "1000". Any other text gives "250".
std::string canBaudFileText(std::string_view baud);

// The kbit/s text of the file, "10" ... "1000", to its index in kCanBaudItems (0 ... 8).
// Any other text gives 8 ("1000K").
int canBaudIndex(std::string_view baud);

// The values held below `root`, each field read on its own: a field whose element is
// missing takes its default, and the device variant then takes kDeviceTypeWhenElementMissing.
// Only element children count; comments and text between elements are skipped.
ParGenValues parGenFromRoot(const pugi::xml_node& root);

// Loads the ParGen.xml at `utf8Path`: the values the dialog shows. A missing file gives the
// defaults of a new project (ParGenValues{}, variant 1); a file that cannot be read or is not
// well-formed gives the loader's Error (a reader that goes on anyway takes ParGenValues{}).
Result<ParGenValues> loadParGen(std::string_view utf8Path);

// Replaces `doc` by the file's document for `values`: root, version comment, then every
// element in the fixed order, whatever the variant and the flags. An out-of-list index is
// written as the number it holds.
void buildParGenDocument(const ParGenValues& values, pugi::xml_document& doc);

// Writes `values` to `utf8Path` atomically (the old file stays whole on failure).
Result<void> saveParGen(const ParGenValues& values, std::string_view utf8Path);

// The device variant from a ParGen.xml: the integer text of its Select_Device_Type element,
// 0 when the file, the element or a number is missing or the file cannot be read.
int readDeviceType(std::string_view parGenPath);

// The same from the root of a loaded ParGen.xml; an empty node gives 0.
int deviceTypeOf(const pugi::xml_node& root);

} // namespace setforge
