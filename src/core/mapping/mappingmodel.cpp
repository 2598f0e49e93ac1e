#include "core/mapping/mappingmodel.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

// A byte selector half holds four bits, so no frame can offer more bytes than this.
constexpr int kMaxSelectableByte = 15;
constexpr int kMaxRegisterIndex = 65535;

bool isElement(const pugi::xml_node& node)
{
    return node.type() == pugi::node_element;
}

} // namespace

MappingModel::MappingModel(const MappingFormat& format) : m_format(format) {}

bool MappingModel::hasEntry(int frame, int entry) const
{
    return hasFrame(frame) && entry >= 0 && entry < static_cast<int>(this->frame(frame).entries.size());
}

void MappingModel::appendFrame(std::unique_ptr<MappingFrame> frame)
{
    m_frames.push_back(std::move(frame));
}

Result<void> MappingModel::load(const ProjectFiles& files)
{
    return load(files.*m_format.frameFile, files.*m_format.mapFile);
}

Result<void> MappingModel::load(std::string_view frameFile, std::string_view mapFile)
{
    m_frames.clear();
    m_savedEntries.clear(); // the entry loaders set it from what they read
    m_missing.clear();
    m_undo.clear();

    pugi::xml_document doc;
    const Result<XmlFile> frames = loadXmlFile(frameFile, doc);
    if (!frames)
        return frames.error();
    if (*frames == XmlFile::Missing)
        return {};
    for (pugi::xml_node row : documentRoot(doc).children())
        if (isElement(row))
            m_frames.push_back(m_format.readFrame(row));

    // Entries are read even without frames: those of deleted frames are shown, not lost unseen.
    const Result<XmlFile> entries = loadXmlFile(mapFile, doc);
    if (!entries) {
        // Without its entries the editor would save an empty mapping over the user's file.
        m_frames.clear();
        return entries.error();
    }
    if (*entries == XmlFile::Missing)
        return {};
    if (m_format.groupElement)
        loadGroupedEntries(documentRoot(doc));
    else
        loadFlatEntries(documentRoot(doc));
    return {};
}

RegisterEntry MappingModel::readEntry(const pugi::xml_node& element) const
{
    RegisterEntry entry;
    entry.registerIndex = element.attribute(m_format.attributeName(MapField::Index)).value();
    const int selector = textToInt(element.attribute(m_format.attributeName(MapField::Selector)).value(), 0);
    unpackByteSelector(selector, entry.highPart, entry.lowPart);
    if (const char* write = m_format.attributeName(MapField::Write))
        entry.sendOnWrite = textToInt(element.attribute(write).value(), 0); // missing: "False"
    return entry;
}

void MappingModel::loadFlatEntries(const pugi::xml_node& root)
{
    const char* frameNumber = m_format.attributeName(MapField::FrameNumber);
    for (pugi::xml_node row : root.children()) {
        if (!isElement(row))
            continue;
        // Wide arithmetic: "-2147483648" minus one must not overflow.
        const std::int64_t n = std::int64_t{textToInt(row.attribute(frameNumber).value(), -1)} - 1;
        if (n < 0 || n >= frameCount()) {
            keepMissing(row.attribute(frameNumber).value(), readEntry(row));
            continue;
        }
        m_frames[static_cast<std::size_t>(n)]->entries.push_back(readEntry(row));
    }
    markSaved();
}

void MappingModel::loadGroupedEntries(const pugi::xml_node& root)
{
    std::size_t i = 0;
    for (pugi::xml_node group : root.children()) {
        if (!isElement(group))
            continue;
        for (pugi::xml_node element : group.children()) {
            if (!isElement(element))
                continue;
            if (i < m_frames.size())
                m_frames[i]->entries.push_back(readEntry(element));
            else
                keepMissing(std::to_string(i + 1), readEntry(element));
        }
        ++i;
    }
    markSaved();
}

void MappingModel::keepMissing(const std::string& frameNumber, RegisterEntry entry)
{
    auto group = std::find_if(m_missing.begin(), m_missing.end(),
                              [&](const MissingFrameEntries& g) { return g.frameNumber == frameNumber; });
    if (group == m_missing.end())
        group = m_missing.insert(m_missing.end(), {frameNumber, {}});
    group->entries.push_back(std::move(entry));
}

bool MappingModel::entryFits(int frame, const RegisterEntry& entry) const
{
    return fitPart(frame, entry.highPart) == entry.highPart && fitPart(frame, entry.lowPart) == entry.lowPart;
}

std::vector<std::string> MappingModel::entriesDroppedOnSave(const UiTexts& texts) const
{
    std::vector<std::string> lines;
    const std::string& label = texts[TextId::MappingFrameLabel];
    for (int j = 0; j < frameCount(); ++j) {
        for (int k = 0; k < static_cast<int>(frame(j).entries.size()); ++k)
            if (!entryFits(j, frame(j).entries[static_cast<std::size_t>(k)]))
                lines.push_back(label + std::to_string(j + 1) + ": " + markedEntryLine(j, k, texts));
    }
    for (int g = 0; g < static_cast<int>(m_missing.size()); ++g) {
        const MissingFrameEntries& group = m_missing[static_cast<std::size_t>(g)];
        for (int k = 0; k < static_cast<int>(group.entries.size()); ++k)
            lines.push_back(label + group.frameNumber + ": " + missingEntryLine(g, k, texts));
    }
    return lines;
}

void MappingModel::dropEntriesOutsideFrames()
{
    for (int j = 0; j < frameCount(); ++j) {
        std::vector<RegisterEntry>& entries = m_frames[static_cast<std::size_t>(j)]->entries;
        std::erase_if(entries, [&](const RegisterEntry& entry) { return !entryFits(j, entry); });
    }
    m_missing.clear();
}

int MappingModel::offeredBytes(int frame) const
{
    if (!hasFrame(frame))
        return 0;
    return std::clamp(this->frame(frame).byteCount, 0, kMaxSelectableByte);
}

int MappingModel::fitPart(int frame, int part) const
{
    return part >= 0 && part <= offeredBytes(frame) ? part : 0;
}

RegisterEntry MappingModel::fitted(int frame, const RegisterEntry& typed) const
{
    RegisterEntry entry = typed;
    entry.highPart = fitPart(frame, typed.highPart);
    entry.lowPart = fitPart(frame, typed.lowPart);
    entry.sendOnWrite = m_format.hasWrite && typed.sendOnWrite == 1 ? 1 : 0;
    return entry;
}

bool MappingModel::isRegisterInUse(int registerIndex, int exceptFrame, int exceptEntry) const
{
    for (int j = 0; j < frameCount(); ++j) {
        const std::vector<RegisterEntry>& entries = frame(j).entries;
        for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
            if (textToInt(entries[static_cast<std::size_t>(k)].registerIndex, -1) == registerIndex &&
                !(j == exceptFrame && k == exceptEntry))
                return true;
        }
    }
    return false;
}

MappingEditResult MappingModel::checkIndex(const RegisterEntry& typed, int frame, int entry,
                                           const UiTexts& texts) const
{
    const int index = textToInt(typed.registerIndex, -1);
    if (index < 0 || index > kMaxRegisterIndex)
        return {MappingEditResult::Outcome::Refused, texts[m_format.textIndex(MappingText::IndexRange)]};
    if (isRegisterInUse(index, frame, entry))
        return {MappingEditResult::Outcome::Refused, texts[m_format.textIndex(MappingText::IndexUsed)]};
    return {};
}

MappingEditResult MappingModel::addEntry(int frame, const RegisterEntry& typed, const UiTexts& texts)
{
    if (!hasFrame(frame))
        return {MappingEditResult::Outcome::NoSelection, {}};
    MappingEditResult checked = checkIndex(typed, -1, -1, texts);
    if (checked.done()) {
        rememberFrame(frame);
        m_frames[static_cast<std::size_t>(frame)]->entries.push_back(fitted(frame, typed));
    }
    return checked;
}

MappingEditResult MappingModel::modifyEntry(int frame, int entry, const RegisterEntry& typed,
                                            const UiTexts& texts)
{
    if (!hasEntry(frame, entry))
        return {MappingEditResult::Outcome::NoSelection, {}};
    MappingEditResult checked = checkIndex(typed, frame, entry, texts);
    if (checked.done()) {
        rememberFrame(frame);
        m_frames[static_cast<std::size_t>(frame)]->entries[static_cast<std::size_t>(entry)] =
            fitted(frame, typed);
    }
    return checked;
}

std::vector<std::string> MappingModel::bytesBeyondFrame(int frame, int entry, const RegisterEntry& typed,
                                                        const UiTexts& texts) const
{
    std::vector<std::string> names;
    if (!hasEntry(frame, entry))
        return names;
    const RegisterEntry& stored = this->frame(frame).entries[static_cast<std::size_t>(entry)];
    // A half the user set to a byte of the frame stores that byte; only a half left at (or set
    // to) None replaces the stored byte by None.
    const std::pair<int, int> halves[] = {{stored.highPart, fitPart(frame, typed.highPart)},
                                          {stored.lowPart, fitPart(frame, typed.lowPart)}};
    for (const auto& [part, chosen] : halves)
        if (part != fitPart(frame, part) && chosen == 0)
            names.push_back(texts[m_format.textIndex(MappingText::BytePrefix)] + std::to_string(part));
    return names;
}

MappingEditResult MappingModel::fillFrame(int frame, int firstRegister, int sendOnWrite, const UiTexts& texts,
                                          const std::string& inUseText)
{
    if (!hasFrame(frame))
        return {MappingEditResult::Outcome::NoSelection, {}};
    const int bytes = offeredBytes(frame);
    const int registers = (bytes + 1) / 2;
    if (registers == 0)
        return {MappingEditResult::Outcome::NoSelection, {}};
    // 64-bit: a first register near the top must not wrap round.
    if (firstRegister < 0 || std::int64_t{firstRegister} + registers - 1 > kMaxRegisterIndex)
        return {MappingEditResult::Outcome::Refused, texts[m_format.textIndex(MappingText::IndexRange)]};
    std::string inUse;
    for (int k = 0; k < registers; ++k) {
        if (isRegisterInUse(firstRegister + k, -1, -1))
            inUse += (inUse.empty() ? "" : ", ") + std::to_string(firstRegister + k);
    }
    if (!inUse.empty())
        return {MappingEditResult::Outcome::Refused, inUseText + inUse};
    rememberFrame(frame);
    std::vector<RegisterEntry>& entries = m_frames[static_cast<std::size_t>(frame)]->entries;
    const int write = m_format.hasWrite && sendOnWrite == 1 ? 1 : 0;
    for (int k = 0; k < registers; ++k) {
        const int low = 2 * k + 1;
        const int high = low + 1 <= bytes ? low + 1 : 0;
        entries.push_back({std::to_string(firstRegister + k), high, low, write});
    }
    return {};
}

int MappingModel::fillFrameStart(int frame) const
{
    if (!hasFrame(frame))
        return 0;
    if (const std::optional<int> start = this->frame(frame).blockStart())
        return *start;
    const int registers = std::max(1, (offeredBytes(frame) + 1) / 2);
    for (int first = 0; first + registers - 1 <= kMaxRegisterIndex; ++first) {
        int k = 0;
        while (k < registers && !isRegisterInUse(first + k, -1, -1))
            ++k;
        if (k == registers)
            return first;
        first += k; // the register at first + k is taken; the next try starts after it
    }
    return 0;
}

std::pair<int, std::vector<std::string>> MappingModel::fillFromBlockStarts(const UiTexts& texts,
                                                                           const std::string& inUseText)
{
    int filled = 0;
    std::vector<std::string> refused;
    for (int j = 0; j < frameCount(); ++j) {
        const std::optional<int> start = frame(j).blockStart();
        if (!start || !frame(j).entries.empty())
            continue;
        const MappingEditResult result = fillFrame(j, *start, 0, texts, inUseText);
        if (result.done())
            ++filled;
        else if (result.outcome == MappingEditResult::Outcome::Refused)
            refused.push_back(texts[TextId::MappingFrameLabel] + std::to_string(j + 1) + ": " +
                              result.message);
    }
    return {filled, refused};
}

MappingEditResult MappingModel::deleteEntry(int frame, int entry)
{
    if (!hasEntry(frame, entry))
        return {MappingEditResult::Outcome::NoSelection, {}};
    rememberFrame(frame);
    std::vector<RegisterEntry>& entries = m_frames[static_cast<std::size_t>(frame)]->entries;
    entries.erase(entries.begin() + entry);
    return {};
}

void MappingModel::rememberFrame(int frame)
{
    m_undo.push_back({frame, this->frame(frame).entries});
}

int MappingModel::undo()
{
    if (m_undo.empty())
        return -1;
    UndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    if (!hasFrame(step.frame))
        return -1;
    m_frames[static_cast<std::size_t>(step.frame)]->entries = std::move(step.entries);
    return step.frame;
}

MappingEditResult MappingModel::copyEntry(int frame, int entry)
{
    if (!hasEntry(frame, entry))
        return {MappingEditResult::Outcome::NoSelection, {}};
    m_copy = this->frame(frame).entries[static_cast<std::size_t>(entry)];
    return {};
}

RegisterEntry MappingModel::pasteEntry(int frame) const
{
    RegisterEntry pasted = fitted(frame, m_copy);
    pasted.registerIndex = m_copy.registerIndex;
    return pasted;
}

std::string MappingModel::entryLine(const RegisterEntry& entry, const UiTexts& texts) const
{
    const auto part = [&](int number) {
        if (number == 0)
            return texts[m_format.textIndex(MappingText::ByteNone)];
        return texts[m_format.textIndex(MappingText::BytePrefix)] + std::to_string(number);
    };
    std::string line = entry.registerIndex + "; " + part(entry.highPart) + "; " + part(entry.lowPart) + ";";
    if (m_format.hasWrite && entry.sendOnWrite == 1)
        line += " " + texts[TextId::MappingSendOnWrite] + ";";
    return line;
}

std::string MappingModel::markedEntryLine(int frame, int entry, const UiTexts& texts) const
{
    if (!hasEntry(frame, entry))
        return {};
    const RegisterEntry& stored = this->frame(frame).entries[static_cast<std::size_t>(entry)];
    std::string line = entryLine(stored, texts);
    if (!entryFits(frame, stored))
        line += " " + texts[TextId::MappingMarkBeyond];
    return line;
}

std::string MappingModel::missingFrameLine(int group, const UiTexts& texts) const
{
    if (group < 0 || group >= static_cast<int>(m_missing.size()))
        return {};
    return texts[TextId::MappingMissingFrame] + m_missing[static_cast<std::size_t>(group)].frameNumber;
}

std::string MappingModel::missingEntryLine(int group, int entry, const UiTexts& texts) const
{
    if (group < 0 || group >= static_cast<int>(m_missing.size()))
        return {};
    const std::vector<RegisterEntry>& entries = m_missing[static_cast<std::size_t>(group)].entries;
    if (entry < 0 || entry >= static_cast<int>(entries.size()))
        return {};
    return entryLine(entries[static_cast<std::size_t>(entry)], texts) + " " +
           texts[TextId::MappingMarkMissing];
}

std::vector<std::string> MappingModel::byteChoices(int frame, const UiTexts& texts) const
{
    std::vector<std::string> choices{texts[m_format.textIndex(MappingText::ByteNone)]};
    const std::string& prefix = texts[m_format.textIndex(MappingText::BytePrefix)];
    for (int k = 1; k <= offeredBytes(frame); ++k)
        choices.push_back(prefix + std::to_string(k));
    return choices;
}

void MappingModel::writeEntry(pugi::xml_node parent, const RegisterEntry& entry, int frameNumber) const
{
    pugi::xml_node element = parent.append_child(m_format.entryElement);
    for (int i = 0; i < m_format.attributeCount; ++i) {
        const MapAttribute& attribute = m_format.attributes[static_cast<std::size_t>(i)];
        pugi::xml_attribute written = element.append_attribute(attribute.name);
        switch (attribute.field) {
        case MapField::Index:
            written.set_value(entry.registerIndex.c_str());
            break;
        case MapField::Subindex:
            written.set_value("0");
            break;
        case MapField::FrameNumber:
            written.set_value(std::to_string(frameNumber).c_str());
            break;
        case MapField::Selector:
            written.set_value(std::to_string(packByteSelector(entry.highPart, entry.lowPart)).c_str());
            break;
        case MapField::Write:
            written.set_value(std::to_string(entry.sendOnWrite).c_str());
            break;
        }
    }
}

bool MappingModel::hasUnsavedChanges() const
{
    // A frame beyond the saved state counts as saved without entries: a load that found no
    // mapping file leaves the frames empty and the saved state too.
    static const std::vector<RegisterEntry> kNone;
    const std::size_t frames = std::max(m_frames.size(), m_savedEntries.size());
    for (std::size_t i = 0; i < frames; ++i) {
        const std::vector<RegisterEntry>& now = i < m_frames.size() ? m_frames[i]->entries : kNone;
        const std::vector<RegisterEntry>& saved = i < m_savedEntries.size() ? m_savedEntries[i] : kNone;
        if (now != saved)
            return true;
    }
    return false;
}

void MappingModel::markSaved()
{
    m_savedEntries.clear();
    for (const std::unique_ptr<MappingFrame>& frame : m_frames)
        m_savedEntries.push_back(frame->entries);
}

void MappingModel::buildDocument(pugi::xml_document& doc) const
{
    pugi::xml_node root = startTableDocument(doc, m_format.mapRoot);
    for (int i = 0; i < frameCount(); ++i) {
        pugi::xml_node parent = m_format.groupElement ? root.append_child(m_format.groupElement) : root;
        for (const RegisterEntry& entry : frame(i).entries)
            writeEntry(parent, entry, i + 1);
    }
}

Result<void> MappingModel::save(std::string_view mapFile) const
{
    pugi::xml_document doc;
    buildDocument(doc);
    return saveXmlFile(doc, mapFile);
}

Result<void> MappingModel::save(const ProjectFiles& files) const
{
    return save(files.*m_format.mapFile);
}

} // namespace setforge
