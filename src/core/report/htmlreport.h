#pragma once

#include <string>
#include <string_view>

#include "core/report/projectreport.h"

namespace setforge {

// The report as one self-contained HTML5 document in UTF-8: inline CSS for screen and A4 print
// (table headers repeat on each page, rows are not split), no script, no external resource.
// Every text from the project is escaped.
std::string renderHtmlReport(const ProjectReport& report);

// `text` with &, <, >, " and ' replaced by their character references.
std::string escapeHtml(std::string_view text);

} // namespace setforge
