// A whole project folder from fuzz bytes (framing in fuzz/support/framedproject.h), through
// the image compile and write and through the EDS writer. What must hold:
// - a compile that succeeds writes bank1_ESP32.bin and bank2_ESP32.bin of exactly their fixed
//   sizes, and bank.bin of exactly the size its header describes (the parameter section last,
//   empty without ParGen.xml) and at most the device's buffer; the parameter block's checksum is the sum of
//   the bytes before it; every table directory count lies within its table's capacity, every byte of the
//   table bank outside the counted entries of its table is zero; and each image's own dump finds nothing
//   wrong;
// - a compile that fails says why in an error and writes no image;
// - the EDS is written exactly as built when it can be built, and not at all when it cannot.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/image/edswriter.h"
#include "core/image/imagedump.h"
#include "core/image/parameterblock.h"
#include "core/image/plainimage.h"
#include "core/image/tablearea.h"
#include "fuzz/support/framedproject.h"
#include "fuzz/support/fuzzcheck.h"
#include "fuzz/support/scratchdir.h"

namespace setforge {

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& path)
{
    const Result<std::string> content = readWholeFile(path);
    FUZZ_CHECK(static_cast<bool>(content), "a written image must be readable");
    return {content->begin(), content->end()};
}

void checkPlain(const std::vector<std::uint8_t>& plain, bool hasParGen)
{
    FUZZ_CHECK(plain.size() >= kPlainHeader.size, "bank.bin must hold its header");
    FUZZ_CHECK(plain.size() <= kPlainImageMaxSize, "bank.bin must fit the device's buffer");
    const std::size_t parameters =
        getField(plain.data(), kPlainHeader.fields[static_cast<std::size_t>(PlainSection::Parameters)]);
    // Without ParGen.xml the parameter section is empty.
    FUZZ_CHECK(plain.size() == parameters + (hasParGen ? kPlainParameters.size : 0),
               "bank.bin must end with the parameter section its header places");
    const ImageDump dump = dumpPlainImage(plain);
    FUZZ_CHECK(dump.ok(), dump.problems.empty() ? "" : dump.problems.front().c_str());
}

std::array<std::uint32_t, ParameterField::kDirectoryEntries>
checkParameterBlock(const std::vector<std::uint8_t>& bank1)
{
    FUZZ_CHECK(bank1.size() == ParameterBlock::kSize, "bank1_ESP32.bin must have its fixed size");
    FUZZ_CHECK(getField(bank1.data(), ParameterField::kChecksum) == ParameterBlock::computeChecksum(bank1),
               "the parameter block's checksum must be the sum of the bytes before it");
    const ImageDump dump = dumpParameterBlock(bank1);
    FUZZ_CHECK(dump.ok(), dump.problems.empty() ? "" : dump.problems.front().c_str());
    std::array<std::uint32_t, ParameterField::kDirectoryEntries> counts{};
    for (std::size_t k = 0; k < counts.size(); ++k)
        counts[k] = getField(bank1.data(), ParameterField::kTableCount[k]);
    return counts;
}

void checkTableArea(const std::vector<std::uint8_t>& bank2,
                    const std::array<std::uint32_t, ParameterField::kDirectoryEntries>& counts,
                    const CompiledImages& images)
{
    FUZZ_CHECK(bank2.size() == TableArea::kSize, "bank2_ESP32.bin must have its fixed size");
    std::vector<bool> inEntry(bank2.size(), false);
    for (const TableLayout& layout : tableLayouts()) {
        FUZZ_CHECK(layout.offset + layout.capacity * layout.entry.size <= TableArea::kSize,
                   "a table must lie inside its bank");
        const std::uint32_t count = counts[layout.directoryEntry];
        FUZZ_CHECK(count <= layout.capacity, "a table directory count must lie within its capacity");
        FUZZ_CHECK(count == images.banked.tables.count(layout.table),
                   "the directory must count the entries written");
        FUZZ_CHECK(images.banked.tables.wanted(layout.table) == count,
                   "a compiled table must hold every entry");
        for (std::size_t at = layout.offset; at < layout.offset + count * layout.entry.size; ++at) {
            FUZZ_CHECK(!inEntry[at], "two tables must not share a byte");
            inEntry[at] = true;
        }
    }
    for (std::size_t at = 0; at < bank2.size(); ++at)
        FUZZ_CHECK(inEntry[at] || bank2[at] == 0,
                   "nothing may be written outside the counted entries of a table");
    const ImageDump dump = dumpTableArea(bank2, counts);
    FUZZ_CHECK(dump.ok(), dump.problems.empty() ? "" : dump.problems.front().c_str());
}

void checkEds(const ProjectFiles& files, const std::string& dir)
{
    const EdsClock clock{2026, 12, 9, 23, 59};
    const Result<std::string> built = buildEds(files, clock);
    const std::string path = joinPath(dir, "fuzz.eds");
    const Result<void> written = writeEdsFile(files, path, clock);
    FUZZ_CHECK(static_cast<bool>(written) == static_cast<bool>(built),
               "the EDS is written exactly when it can be built");
    if (built) {
        const Result<std::string> read = readWholeFile(path);
        FUZZ_CHECK(read && *read == *built, "the EDS written is the EDS built");
        const std::string& content = *read;
        FUZZ_CHECK(!content.empty() && content.size() >= 2 && content.substr(content.size() - 2) == "\r\n",
                   "every EDS line ends with CR LF");
    } else {
        FUZZ_CHECK(!built.error().text.empty() && !written.error().text.empty(),
                   "an EDS that cannot be built says why");
        FUZZ_CHECK(!pathExists(path), "an EDS that cannot be built is not written");
    }
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& dir = ScratchDir::fresh("project");
    const FramedProject project = splitFramedProject(data, size);
    FUZZ_CHECK(static_cast<bool>(writeFramedProject(project, dir)), "the scratch project must be written");

    std::vector<CompileMessage> messages;
    const Result<CompiledImages> written =
        compileAndWriteImages(dir, [&](const CompileMessage& m) { messages.push_back(m); });
    const std::string binDir = joinPath(dir, "bin");
    const std::string plainPath = joinPath(binDir, kPlainImageName);
    const std::string bank1Path = joinPath(binDir, kBank1Name);
    const std::string bank2Path = joinPath(binDir, kBank2Name);

    if (written) {
        const CompiledImages& images = *written;
        checkPlain(bytesOf(plainPath), project.present[0]);
        const auto counts = checkParameterBlock(bytesOf(bank1Path));
        checkTableArea(bytesOf(bank2Path), counts, images);
    } else {
        FUZZ_CHECK(!messages.empty() && messages.back().kind == CompileMessage::Kind::Error &&
                       !messages.back().text.empty(),
                   "a failed compile must end with an error saying why");
        FUZZ_CHECK(written.error().text == messages.back().text, "the failure must be the last message");
        FUZZ_CHECK(!pathExists(plainPath) && !pathExists(bank1Path) && !pathExists(bank2Path),
                   "a failed compile must write no image");
    }

    checkEds(makeProjectFiles(dir), dir);
    return 0;
}
