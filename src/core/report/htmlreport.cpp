#include "core/report/htmlreport.h"

#include <algorithm>

namespace setforge {

namespace {

// The tables take a fixed layout: the columns get the widths of their <col> elements, whatever
// the texts, and a long text wraps inside its cell (anywhere, if it has no blank) instead of
// pushing the last columns off the paper. A map whose mnemonics are too long for A4 portrait is
// printed on A4 landscape pages.
constexpr const char* kStyle = R"(@page { size: A4 portrait; margin: 12mm 10mm; }
@page landscape { size: A4 landscape; margin: 12mm 10mm; }
section.wide { page: landscape; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #111; margin: 1.5em; }
h1 { font-size: 16pt; margin: 0 0 0.4em; }
h2 { font-size: 12pt; margin: 1.4em 0 0.4em; border-bottom: 1px solid #888; break-after: avoid; }
table { border-collapse: collapse; width: 100%; table-layout: fixed; margin-bottom: 0.6em; }
th, td { border: 1px solid #999; padding: 2px 5px; text-align: left; vertical-align: top;
  overflow-wrap: anywhere; }
thead th { background: #e4e8ee; }
thead { display: table-header-group; }
tr { break-inside: avoid; page-break-inside: avoid; }
td.num { text-align: right; font-variant-numeric: tabular-nums; }
tr.conflict td { background: #ffd6d6; font-weight: bold; }
tr.mapping td { background: #f6f7f9; font-size: 9pt; }
table.meta, table.params { width: auto; table-layout: auto; }
table.meta th, table.params th { background: #f0f0f0; font-weight: normal; }
ul.problems li { margin-bottom: 2px; }
@media print {
  body { margin: 0; font-size: 7.5pt; font-stretch: condensed;
    font-family: "DejaVu Sans Condensed", "Arial Narrow", "DejaVu Sans", Arial, sans-serif; }
  h1 { font-size: 13pt; }
  h2 { font-size: 10pt; margin-top: 1em; }
  th, td { padding: 1px 2px; line-height: 1.15; }
  thead th { font-size: 6.5pt; overflow-wrap: normal; }
  tr.mapping td { font-size: 7pt; }
  a { color: inherit; }
}
)";

// The register map's columns and their share of the page width, in percent.
struct Column {
    const char* header;
    int percent;
};
// Each header word fits its column in print, so headers wrap between words only.
constexpr Column kRegisterColumns[] = {{"Register", 6},      {"Hex", 6},
                                       {"Access", 8},        {"Source", 7},
                                       {"File", 10},         {"Row", 4},
                                       {"Node", 5},          {"Object / error code", 8},
                                       {"COB-ID", 5},        {"High byte from", 4},
                                       {"Low byte from", 4}, {"Mnemonic", 26},
                                       {"Conflict", 7}};

// A mnemonic longer than this does not fit its column on A4 portrait in two lines.
constexpr std::size_t kPortraitMnemonicLength = 48;

// The share of a project table's last column, the mnemonic, in percent; the others share the rest.
constexpr int kTableMnemonicPercent = 32;

void appendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
}

// Cells are appended in place: the page of a full project has tens of thousands of them.
void appendCell(std::string& html, std::string_view text, bool number = false)
{
    html += number ? "<td class=\"num\">" : "<td>";
    appendEscaped(html, text);
    html += "</td>";
}

std::string cell(std::string_view text, bool number = false)
{
    std::string html;
    appendCell(html, text, number);
    return html;
}

std::string headerRow(const std::vector<std::string>& headers)
{
    std::string html = "<thead><tr>";
    for (const std::string& header : headers)
        html += "<th scope=\"col\">" + escapeHtml(header) + "</th>";
    return html + "</tr></thead>\n";
}

std::string byteText(const RegisterMapEntry& e, int byte)
{
    if (e.source == ClaimSource::NodeGuarding || e.source == ClaimSource::NetworkStart)
        return "";
    return byte == 0 ? "none" : std::to_string(byte);
}

// What a ParGen.xml register is for, where the table has no mnemonic.
std::string purpose(const RegisterMapEntry& e)
{
    if (e.source == ClaimSource::NetworkStart)
        return "CANopen start command";
    if (e.source == ClaimSource::NodeGuarding)
        return e.subNumber == 1 ? "guarded nodes' state, first register"
                                : "guarded nodes' state, second register";
    return e.mnemonic;
}

std::string colGroup(const std::vector<int>& percents)
{
    std::string html = "<colgroup>";
    for (const int percent : percents)
        html += "<col style=\"width: " + std::to_string(percent) + "%\">";
    return html + "</colgroup>\n";
}

std::string registerTable(const std::vector<RegisterMapEntry>& entries)
{
    bool wide = false;
    for (const RegisterMapEntry& e : entries)
        wide = wide || purpose(e).size() > kPortraitMnemonicLength;
    std::string html = wide ? "<section class=\"wide\">\n" : "<section>\n";
    html += "<h2>Register map</h2>\n";
    if (entries.empty())
        return html + "<p>No register is used.</p>\n</section>\n";
    html += "<table class=\"registers\">\n";
    std::vector<std::string> headers;
    std::vector<int> percents;
    for (const Column& column : kRegisterColumns) {
        headers.emplace_back(column.header);
        percents.push_back(column.percent);
    }
    html += colGroup(percents) + headerRow(headers);
    html += "<tbody>\n";
    for (const RegisterMapEntry& e : entries) {
        html += e.conflict ? "<tr class=\"conflict\">" : "<tr>";
        appendCell(html, std::to_string(e.reg), true);
        appendCell(html, hex4(e.reg));
        appendCell(html, registerAccessName(e.access));
        appendCell(html, claimSourceName(e.source));
        appendCell(html, e.file);
        appendCell(html, e.row);
        appendCell(html, e.nodeId ? std::to_string(*e.nodeId) : "", true);
        appendCell(html, e.object);
        appendCell(html, e.cobId ? hexCobId(static_cast<unsigned>(*e.cobId)) : "");
        appendCell(html, byteText(e, e.highByte));
        appendCell(html, byteText(e, e.lowByte));
        appendCell(html, purpose(e));
        appendCell(html, e.conflict ? "yes" : "");
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

std::string projectTable(const ReportTable& table)
{
    std::string html = "<section>\n<h2>" + escapeHtml(table.title) + " <small>(" + escapeHtml(table.file) +
                       ")</small></h2>\n";
    if (table.rows.empty())
        return html + "<p>No rows.</p>\n</section>\n";
    // The mnemonic, the last column, gets the room it needs; the short number columns share the rest.
    const int others = std::max(static_cast<int>(table.headers.size()) - 1, 1);
    const int share = (100 - kTableMnemonicPercent) / others;
    std::vector<int> percents(static_cast<std::size_t>(others), share);
    percents.push_back(100 - others * share);
    html += "<table>\n" + colGroup(percents) + headerRow(table.headers) + "<tbody>\n";
    for (const ReportTable::Row& row : table.rows) {
        html += "<tr>";
        for (std::size_t c = 0; c < row.cells.size(); ++c)
            appendCell(html, row.cells[c], c == 0);
        html += "</tr>\n";
        if (!table.hasMapping)
            continue;
        std::string mapping;
        for (const std::string& entry : row.mapping)
            mapping += (mapping.empty() ? "" : "; ") + entry;
        html += "<tr class=\"mapping\"><td></td><td colspan=\"" + std::to_string(table.headers.size() - 1) +
                "\">Registers: " + escapeHtml(mapping.empty() ? "none" : mapping) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

} // namespace

std::string escapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

std::string renderHtmlReport(const ProjectReport& report)
{
    std::string html;
    html.reserve(4096 + report.registers.size() * 400);
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<title>Register map of " + escapeHtml(report.projectName) + "</title>\n";
    html += "<style>\n" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
    html += "<header>\n<h1>Register map of " + escapeHtml(report.projectName) + "</h1>\n";
    html += "<table class=\"meta\">\n<tbody>\n";
    const std::pair<const char*, const std::string&> meta[] = {{"Project", report.projectName},
                                                               {"Device", report.variant},
                                                               {"Made by", report.toolVersion},
                                                               {"Made on", report.generatedAt}};
    for (const auto& [label, value] : meta)
        html += "<tr><th scope=\"row\">" + escapeHtml(label) + "</th>" + cell(value) + "</tr>\n";
    html += "</tbody>\n</table>\n</header>\n";

    html += "<section>\n<h2>Communication parameters <small>(ParGen.xml)</small></h2>\n";
    html += "<table class=\"params\">\n<tbody>\n";
    for (const auto& [label, value] : report.parameters)
        html += "<tr><th scope=\"row\">" + escapeHtml(label) + "</th>" + cell(value) + "</tr>\n";
    html += "</tbody>\n</table>\n</section>\n";

    html += registerTable(report.registers);
    for (const ReportTable& table : report.tables)
        html += projectTable(table);

    html += "<section>\n<h2>Problems</h2>\n";
    if (report.problems.empty()) {
        html += "<p>None: 0 error(s), 0 warning(s).</p>\n";
    } else {
        html += "<ul class=\"problems\">\n";
        for (const std::string& problem : report.problems)
            html += "<li>" + escapeHtml(problem) + "</li>\n";
        html += "</ul>\n";
    }
    html += "</section>\n</body>\n</html>\n";
    return html;
}

} // namespace setforge
