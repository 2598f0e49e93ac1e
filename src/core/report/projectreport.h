#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/base/atomicfile.h"
#include "core/image/registermap.h"
#include "core/lang/uitexts.h"

namespace setforge {

// One table of the project as the report shows it: the cells as typed, and under each row the
// mapping entries that belong to it ("200: high byte 2, low byte 1").
struct ReportTable {
    std::string title;
    std::string file;
    std::vector<std::string> headers;
    struct Row {
        std::vector<std::string> cells;
        std::vector<std::string> mapping;
    };
    std::vector<Row> rows;
    bool hasMapping = false; // the table has a mapping file, so each row lists its entries
};

// Everything the register map report shows, gathered from the project files alone.
struct ProjectReport {
    std::string projectName;
    std::string variant; // "Device With Ethernet Port" ...
    std::string toolVersion;
    std::string generatedAt; // "2024-03-09 12:00 UTC"
    // The communication parameters in words, as (label, value) pairs.
    std::vector<std::pair<std::string, std::string>> parameters;
    std::vector<RegisterMapEntry> registers;
    std::vector<ReportTable> tables;
    std::vector<std::string> problems; // the lines `check` prints, without its summary
};

// The report of the project in `projectDir`, stamped with the instant `when` (shown in UTC).
// Problems are found with `texts`. Missing files give empty sections, and a communication
// parameter whose ParGen.xml element is missing shows its default marked as such; nothing is written.
ProjectReport buildProjectReport(const std::string& projectDir, std::time_t when, const UiTexts& texts);

// The output formats of the report.
enum class ReportFormat { Html, Csv };

// Builds the report of `projectDir` and writes it in `format` to `outPath` through the
// atomic-write helper. A file of the project that is there but cannot be read or parsed, or a
// folder without ParGen.xml and without any table file, is an Error. On failure nothing is
// written and the error says why.
Result<void> writeProjectReport(const std::string& projectDir, const std::string& outPath,
                                ReportFormat format, std::time_t when, const UiTexts& texts);

// "2024-03-09 12:00 UTC" for the instant `when`.
std::string reportTimeText(std::time_t when);

} // namespace setforge
