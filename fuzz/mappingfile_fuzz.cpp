// A frame file and a mapping file of any bytes through one of the three mapping editors.
// Input: [editor selector][frame file length, 2 bytes little-endian][high part][low part]
// [frame file][mapping file]; the selector modulo 3 picks the editor, a length beyond the
// input takes what is there. What must hold: no crash on any input; the saved mapping file is
// well-formed with the editor's root first and the version comment last, and every byte
// selector in it packs two halves of 0..15; loading the frame file with the saved mapping file
// gives the same frames and the same entries, and saving again gives the same text; an entry
// the editor adds keeps only the bytes its frame offers, and survives a save and a reload.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/lang/uitexts.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/mappingmodel.h"
#include "fuzz/support/fuzzcheck.h"
#include "fuzz/support/savedshape.h"
#include "fuzz/support/scratchdir.h"

namespace setforge {

namespace {

const UiTexts& defaultTexts()
{
    static const UiTexts texts = [] {
        UiTexts t;
        t.loadDefaults();
        return t;
    }();
    return texts;
}

bool sameEntry(const RegisterEntry& a, const RegisterEntry& b)
{
    return a.registerIndex == b.registerIndex && a.highPart == b.highPart && a.lowPart == b.lowPart &&
           a.sendOnWrite == b.sendOnWrite;
}

bool sameModel(const MappingModel& a, const MappingModel& b)
{
    if (a.frameCount() != b.frameCount())
        return false;
    for (int i = 0; i < a.frameCount(); ++i) {
        const MappingFrame& fa = a.frame(i);
        const MappingFrame& fb = b.frame(i);
        if (fa.listLine() != fb.listLine() || fa.byteCount != fb.byteCount ||
            fa.entries.size() != fb.entries.size())
            return false;
        for (std::size_t k = 0; k < fa.entries.size(); ++k)
            if (!sameEntry(fa.entries[k], fb.entries[k]))
                return false;
    }
    return true;
}

std::string savedText(const MappingModel& model)
{
    pugi::xml_document doc;
    model.buildDocument(doc);
    return serializeXml(doc);
}

// The saved file's shape and every byte selector in it.
void checkSaved(const MappingModel& model, const std::string& saved)
{
    const MappingFormat& format = model.format();
    pugi::xml_document doc;
    FUZZ_CHECK(loadXmlText(saved, doc), "the saved mapping file must be well-formed");
    FUZZ_CHECK(startsWithRoot(saved, format.mapRoot) &&
                   std::string_view(doc.first_child().name()) == format.mapRoot,
               "the saved mapping file must start with the editor's root");
    FUZZ_CHECK(endsWithVersionComment(saved), "the version comment must end the saved mapping file");
    const char* selectorName = format.attributeName(MapField::Selector);
    FUZZ_CHECK(selectorName != nullptr, "every editor stores a byte selector");
    std::size_t entries = 0;
    auto checkEntry = [&](const pugi::xml_node& entry) {
        const pugi::xml_attribute selector = entry.attribute(selectorName);
        FUZZ_CHECK(selector, "every saved entry carries its byte selector");
        const std::int32_t value = textToInt(selector.value(), -1);
        FUZZ_CHECK(value >= 0 && value <= 0xFF, "a saved byte selector packs two halves of 0..15");
        ++entries;
    };
    for (pugi::xml_node child : doc.first_child().children()) {
        if (format.groupElement) {
            for (pugi::xml_node entry : child.children())
                checkEntry(entry);
        } else {
            checkEntry(child);
        }
    }
    std::size_t held = 0;
    for (int i = 0; i < model.frameCount(); ++i)
        held += model.frame(i).entries.size();
    FUZZ_CHECK(entries == held, "the saved file must hold every entry of the editor");
}

// Saves `model`, reloads it beside the frame file and compares.
void checkRoundTrip(const MappingModel& model, const std::string& framePath, const std::string& savedPath)
{
    const std::string saved = savedText(model);
    checkSaved(model, saved);
    FUZZ_CHECK(static_cast<bool>(model.save(savedPath)), "the mapping file must save");
    const Result<std::string> onDisk = readWholeFile(savedPath);
    FUZZ_CHECK(onDisk && *onDisk == saved, "the file saved must be the text built");

    MappingModel reloaded(model.format());
    const Result<void> again = reloaded.load(framePath, savedPath);
    FUZZ_CHECK(static_cast<bool>(again), "the saved mapping file must load");
    FUZZ_CHECK(sameModel(model, reloaded), "the saved mapping file must load to the same frames and entries");
    FUZZ_CHECK(savedText(reloaded) == saved, "saving the reloaded editor must give the same text");
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const MappingFormat* formats[] = {&kReceivePdoMapping, &kTransmitPdoMapping, &kEmergencyMapping};
    const MappingFormat& format = *formats[data[0] % 3];
    std::size_t frameLength = static_cast<std::size_t>(data[1]) | static_cast<std::size_t>(data[2]) << 8;
    const int typedHi = static_cast<std::int8_t>(data[3]);
    const int typedLo = static_cast<std::int8_t>(data[4]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
    if (frameLength > rest.size())
        frameLength = rest.size();

    const std::string& dir = ScratchDir::fresh("mappingfile");
    const std::string framePath = joinPath(dir, "frames.xml");
    const std::string mapPath = joinPath(dir, "map.xml");
    const std::string savedPath = joinPath(dir, "saved.xml");
    FUZZ_CHECK(static_cast<bool>(writeFileAtomic(framePath, std::string(rest.substr(0, frameLength)))),
               "scratch write");
    FUZZ_CHECK(static_cast<bool>(writeFileAtomic(mapPath, std::string(rest.substr(frameLength)))),
               "scratch write");

    MappingModel model(format);
    const Result<void> loaded = model.load(framePath, mapPath);
    if (!loaded) {
        FUZZ_CHECK(model.frameCount() == 0, "a failed load must leave no frames");
        FUZZ_CHECK(!loaded.error().text.empty(), "a failed load must say why");
        return 0;
    }
    checkRoundTrip(model, framePath, savedPath);

    // An entry typed into the last frame: whatever the halves typed, the editor keeps only the
    // bytes the frame offers.
    if (model.frameCount() > 0) {
        const int frame = model.frameCount() - 1;
        RegisterEntry typed;
        typed.registerIndex = std::to_string(static_cast<unsigned>(data[0]) * 257u + data[3]);
        typed.highPart = typedHi;
        typed.lowPart = typedLo;
        typed.sendOnWrite = data[4] & 1;
        const std::size_t before = model.frame(frame).entries.size();
        const MappingEditResult added = model.addEntry(frame, typed, defaultTexts());
        if (added.done()) {
            FUZZ_CHECK(model.frame(frame).entries.size() == before + 1, "an added entry must be kept");
            const RegisterEntry& stored = model.frame(frame).entries.back();
            const int offered = model.offeredBytes(frame);
            FUZZ_CHECK(stored.highPart >= 0 && stored.highPart <= offered,
                       "the high part must be a byte offered");
            FUZZ_CHECK(stored.lowPart >= 0 && stored.lowPart <= offered,
                       "the low part must be a byte offered");
            checkRoundTrip(model, framePath, savedPath);
        } else {
            FUZZ_CHECK(model.frame(frame).entries.size() == before, "a refused entry must not be kept");
            FUZZ_CHECK(!added.message.empty(), "a refusal must say why");
        }
    }
    return 0;
}
