#include "cli/nodecommands.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/commands.h"
#include "core/nodes/edsdatatype.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/remotepdo.h"
#include "core/report/csvreport.h"

namespace setforge {

namespace {

void objectsUsage(std::ostream& out)
{
    out << "Usage: setforge-cli objects EDS_FILE [--node N] [--format text|csv]\n"
           "\n"
           "Lists the objects of an EDS or DCF file: one line per VAR object and per sub-object\n"
           "of an ARRAY or RECORD (the text also lists, with a note, an ARRAY or RECORD without\n"
           "sub-objects). With --node N (1..127), $NODEID values are resolved for node N.\n"
           "The CSV header is:\n"
           "  index,sub_index,name,object_type,data_type,bytes,access,pdo_mapping,default\n"
           "Names, and texts of string types, starting with =, +, -, @, a tab or a carriage return\n"
           "get an apostrophe in front, so that a spreadsheet does not run them as formulas.\n"
           "\n"
           "Exit status: 0 listed; 1 the file cannot be read (reason and line on stderr);\n"
           "2 a usage error.\n";
}

void pdosUsage(std::ostream& out)
{
    out << "Usage: setforge-cli pdos EDS_FILE --node N [--format text|csv]\n"
           "\n"
           "Lists the default receive and transmit PDOs of node N (1..127) as its EDS describes\n"
           "them: COB-ID resolved for the node, transmission type, length summed from the default\n"
           "mapping, and the mapped objects by name. The CSV header is:\n"
           "  pdo,cob_id,transmission_type,bytes,mapped,valid\n"
           "\n"
           "Exit status: 0 listed; 1 the file cannot be read (reason and line on stderr);\n"
           "2 a usage error.\n";
}

struct Options {
    std::string file;
    std::optional<int> node;
    bool csv = false;
};

// Reads FILE [--node N] [--format text|csv]; false with a message on a usage error.
bool parseOptions(const std::vector<std::string>& args, Options& options, std::ostream& err)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--node" || arg == "--format") {
            if (i + 1 >= args.size()) {
                err << "setforge-cli: " << arg << " needs a value\n";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--node") {
                const Result<EdsNumber> number = readEdsNumber(value, std::nullopt);
                if (!number || number->usesNodeId || number->negative || number->value < 1 ||
                    number->value > 127) {
                    err << "setforge-cli: --node must be a node ID from 1 to 127, not '" << value << "'\n";
                    return false;
                }
                options.node = static_cast<int>(number->value);
            } else if (value != "text" && value != "csv") {
                err << "setforge-cli: --format must be text or csv, not '" << value << "'\n";
                return false;
            } else {
                options.csv = value == "csv";
            }
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "setforge-cli: unknown option '" << arg << "'\n";
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            err << "setforge-cli: one EDS_FILE only\n";
            return false;
        }
    }
    if (options.file.empty()) {
        err << "setforge-cli: EDS_FILE is missing\n";
        return false;
    }
    return true;
}

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

// The EDS of `options`, its warnings reported on `err`; nullopt (the reason on `err`) when it cannot be read.
std::optional<EdsRead> readOrReport(const Options& options, std::ostream& err)
{
    Result<EdsRead> result = readEdsFile(options.file, options.node);
    if (!result) {
        err << options.file << ": " << edsErrorMessage(result.error()) << "\n";
        return std::nullopt;
    }
    for (const std::string& warning : result->warnings)
        err << options.file << ": warning: " << warning << "\n";
    return std::move(*result);
}

} // namespace

int runObjectsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        objectsUsage(out);
        return 0;
    }
    Options options;
    if (!parseOptions(args, options, err)) {
        objectsUsage(err);
        return 2;
    }
    const std::optional<EdsRead> result = readOrReport(options, err);
    if (!result)
        return 1;
    const auto shownDefault = [&options](const EdsEntry& entry) {
        return options.node ? resolvedDefault(entry, *options.node) : entry.defaultValue;
    };
    // The default column is as wide as its longest value, so that no value runs into the name.
    std::size_t defaultWidth = std::string_view("default").size();
    for (const EdsObject& object : result->device.objects)
        for (const EdsEntry& entry : object.entries)
            defaultWidth = std::max(defaultWidth, shownDefault(entry).size());
    defaultWidth += 2;
    if (options.csv)
        out << "index,sub_index,name,object_type,data_type,bytes,access,pdo_mapping,default\n";
    else
        out << "index   sub  type    data type             bytes  access  pdo  "
            << padded("default", defaultWidth) << "name\n";
    for (const EdsObject& object : result->device.objects) {
        // An ARRAY or RECORD without sub-objects has no line of its own; the text lists it with a note.
        if (object.entries.empty() && !options.csv)
            out << padded(hexText(object.index, 4), 8) << padded("-", 5)
                << padded(object.objectType == kObjectArray ? "ARRAY" : "RECORD", 8) << padded("-", 22)
                << padded("-", 7) << padded("-", 8) << padded("-", 5) << padded("", defaultWidth)
                << object.name << (object.name.empty() ? "" : " ") << "(no sub-objects)\n";
        for (const EdsEntry& entry : object.entries) {
            const int bytes = entry.bytes();
            const std::string value = shownDefault(entry);
            if (options.csv) {
                out << hexText(entry.index, 4) << ',' << int(entry.subIndex) << ','
                    << csvTextField(entry.name) << ',' << hexText(object.objectType) << ','
                    << hexText(entry.dataType, 4) << ',' << (bytes > 0 ? std::to_string(bytes) : "") << ','
                    << entry.access << ',' << (entry.pdoMapping ? 1 : 0) << ','
                    << (isEdsStringType(entry.dataType) ? csvTextField(value) : csvField(value)) << '\n';
            } else {
                const char* type = object.objectType == kObjectArray    ? "ARRAY"
                                   : object.objectType == kObjectRecord ? "RECORD"
                                                                        : "VAR";
                out << padded(hexText(entry.index, 4), 8) << padded(std::to_string(entry.subIndex), 5)
                    << padded(type, 8) << padded(edsDataTypeName(entry.dataType), 22)
                    << padded(bytes > 0 ? std::to_string(bytes) : "-", 7) << padded(entry.access, 8)
                    << padded(entry.pdoMapping ? "yes" : "no", 5) << padded(value, defaultWidth) << entry.name
                    << '\n';
            }
        }
    }
    return 0;
}

int runPdosCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        pdosUsage(out);
        return 0;
    }
    Options options;
    if (!parseOptions(args, options, err)) {
        pdosUsage(err);
        return 2;
    }
    if (!options.node) {
        err << "setforge-cli: pdos needs --node N\n";
        pdosUsage(err);
        return 2;
    }
    const std::optional<EdsRead> result = readOrReport(options, err);
    if (!result)
        return 1;
    if (options.csv)
        out << "pdo,cob_id,transmission_type,bytes,mapped,valid\n";
    else
        out << "pdo     cob-id  type  bytes  mapped\n";
    for (const bool transmit : {false, true}) {
        for (const RemotePdo& pdo : listDefaultPdos(result->device, transmit, *options.node)) {
            const std::string name = (transmit ? "TPDO" : "RPDO") + std::to_string(pdo.number);
            const std::string type = pdo.transmissionType >= 0 ? std::to_string(pdo.transmissionType) : "";
            if (options.csv) {
                out << name << ',' << hexText(pdo.cobId) << ',' << type << ',' << pdo.bytes() << ','
                    << csvTextField(pdo.mappedNames()) << ',' << (pdo.valid ? 1 : 0) << '\n';
            } else {
                out << padded(name, 8) << padded(hexText(pdo.cobId), 8)
                    << padded(type.empty() ? "-" : type, 6) << padded(std::to_string(pdo.bytes()), 7)
                    << pdo.mappedNames();
                if (!pdo.valid)
                    out << " (not valid: COB-ID bit 31 set)";
                out << '\n';
            }
            if (!pdo.problem.empty())
                err << options.file << ": warning: " << name << " " << pdo.problem << "\n";
        }
    }
    return 0;
}

} // namespace setforge
