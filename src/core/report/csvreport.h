#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/image/registermap.h"

namespace setforge {

// The header line of the register map CSV, without its line end.
inline constexpr const char* kRegisterMapCsvHeader =
    "register,register_hex,access,source,file,row,node_id,object,cob_id,high_byte,low_byte,mnemonic,conflict";

// The register map as RFC 4180 CSV in UTF-8: the header, then one CRLF-terminated line per
// entry in the order given. Fields that do not apply are empty; a byte field holds 0 when no byte fills that
// half. The text columns are written with csvTextField; the node-guarding state registers, which
// have no mnemonic of their own, are named "node guarding state, first" and "..., second".
std::string renderCsvReport(const std::vector<RegisterMapEntry>& entries);

// `text` as one CSV field: quoted, with quotes doubled, when it holds a comma, a quote, a
// carriage return or a line feed; as it is otherwise.
std::string csvField(std::string_view text);

// `text` as one CSV field of a text column (mnemonics, names), as csvField writes it, but with an
// apostrophe in front when it starts with '=', '+', '-', '@', a tab or a carriage return: a
// spreadsheet then shows the text instead of running it as a formula.
std::string csvTextField(std::string_view text);

} // namespace setforge
