#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "core/base/atomicfile.h"
#include "core/base/projectfiles.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/mappingframe.h"
#include "core/mapping/registerentry.h"

namespace setforge {

class UiTexts;

// Outcome of an entry operation.
struct MappingEditResult {
    enum class Outcome {
        Done,        // the entries changed (or the copy buffer did)
        Refused,     // a check failed; `message` holds the text for the error box
        NoSelection, // the frame or entry the operation needs is not there: nothing happened
    };
    Outcome outcome = Outcome::Done;
    std::string message;
    bool done() const { return outcome == Outcome::Done; }
};

// Entries of the mapping file that name a frame the frame table no longer has.
struct MissingFrameEntries {
    std::string frameNumber; // the frame number as the file names it ("5"), or the group's position
    std::vector<RegisterEntry> entries;
};

// The model of one mapping editor: the frames of its table, each with its entries, and the
// editor's copy buffer. The format says which editor; the rules are the same for all three.
// Frames are addressed by their position (from 0), entries by their position in their frame.
class MappingModel {
public:
    explicit MappingModel(const MappingFormat& format);

    const MappingFormat& format() const { return m_format; }

    // Rebuilds the frames from `frameFile` (one per element child of its root, in order) and
    // their entries from `mapFile`; only element children count. A missing file gives no frames
    // or no entries; entries naming no existing frame are kept apart (missingFrames), one group
    // per frame number in the order first met, and never saved. A file that cannot be read or
    // is not well-formed gives the loader's Error (the parser's or the system's text, with the
    // path) and leaves no frames. The copy buffer stays.
    Result<void> load(std::string_view frameFile, std::string_view mapFile);
    // The same with the two paths of the open project.
    Result<void> load(const ProjectFiles& files);

    // The entries the last load found for frames that do not exist.
    const std::vector<MissingFrameEntries>& missingFrames() const { return m_missing; }
    // True when both parts of `entry` name bytes `frame` offers (0 "None" always fits).
    bool entryFits(int frame, const RegisterEntry& entry) const;
    // The entries a save leaves out, one line each: "Frame 2: 202; Byte 6; Byte 5; << beyond the
    // frame" for an entry with a byte beyond its frame, "Frame 5: ... << its frame is missing" for
    // an entry of a missing frame. Empty when the save keeps every entry.
    std::vector<std::string> entriesDroppedOnSave(const UiTexts& texts) const;
    // Removes what entriesDroppedOnSave names: the entries with a byte beyond their frame and the
    // entries of missing frames.
    void dropEntriesOutsideFrames();

    int frameCount() const { return static_cast<int>(m_frames.size()); }
    // True when `frame` is a frame position.
    bool hasFrame(int frame) const { return frame >= 0 && frame < frameCount(); }
    // True when `frame` is a frame position and `entry` a position among its entries.
    bool hasEntry(int frame, int entry) const;
    // The frame at a position that hasFrame accepts.
    const MappingFrame& frame(int frame) const { return *m_frames[static_cast<std::size_t>(frame)]; }
    // Adds a frame at the end (the model takes it); for building a model without files.
    void appendFrame(std::unique_ptr<MappingFrame> frame);

    // The number of data bytes `frame` offers for the two halves: its byteCount, capped at 15 (the
    // most a byte selector half can name), and 0 for a negative byteCount or no frame.
    int offeredBytes(int frame) const;
    // `part` when `frame` offers it (0..offeredBytes), otherwise 0 ("None").
    int fitPart(int frame, int part) const;

    // True when register `registerIndex` is named by an entry of this editor other than entry
    // `exceptEntry` of frame `exceptFrame`. Indexes compare as integers ("16" is "0x10").
    bool isRegisterInUse(int registerIndex, int exceptFrame, int exceptEntry) const;

    // Appends `typed` to `frame` after the index and in-use checks; refused with the editor's
    // index-range or index-used text. Parts the frame does not offer are stored as 0, a Write
    // other than 1 as 0.
    MappingEditResult addEntry(int frame, const RegisterEntry& typed, const UiTexts& texts);
    // Overwrites entry `entry` of `frame` with `typed`, with the checks of addEntry; the entry
    // may keep its own index.
    MappingEditResult modifyEntry(int frame, int entry, const RegisterEntry& typed, const UiTexts& texts);
    // The names ("Byte 5") of the bytes that entry `entry` of `frame` takes from beyond what the
    // frame offers now and that a Modify with `typed` replaces by "None": the halves where
    // `typed` chose None (a half given another byte names nothing), high part first. Empty when
    // none, or when there is no such entry.
    std::vector<std::string> bytesBeyondFrame(int frame, int entry, const RegisterEntry& typed,
                                              const UiTexts& texts) const;
    // Appends to `frame` one entry per register for consecutive registers from `firstRegister`:
    // Byte 2 / Byte 1 on the first, Byte 4 / Byte 3 on the next, up to the bytes the frame
    // offers (an odd last byte gets "None" as its high part), each with `sendOnWrite` (1 or 0,
    // stored only by the editor that has the choice). Refused, with nothing added, when a
    // register lies outside the index range (the editor's range text) or is already in use in
    // this editor (`inUseText` followed by the registers, comma-separated).
    MappingEditResult fillFrame(int frame, int firstRegister, int sendOnWrite, const UiTexts& texts,
                                const std::string& inUseText);
    // Where Fill Frame starts for `frame`: the frame's own block start (a transmit PDO's Address
    // Start) when it has one, otherwise the lowest register from which the registers the frame
    // fills are all free in this editor; 0 when there is no such frame or no such register.
    int fillFrameStart(int frame) const;
    // Fills every frame that has a block start and no entries from its block start, as Fill
    // Frame does without send on write. Returns the number of frames filled and, for each frame
    // refused, "Frame N: " followed by fillFrame's refusal text.
    std::pair<int, std::vector<std::string>> fillFromBlockStarts(const UiTexts& texts,
                                                                 const std::string& inUseText);
    // Removes the entry, without asking.
    MappingEditResult deleteEntry(int frame, int entry);
    // Puts back the entries of the frame that the last Create, Modify, Fill Frame or Delete
    // changed, as they were before it: each operation is one step, so a Fill Frame of four
    // registers goes back whole. The frame's position, or -1 when there is no step. load()
    // forgets the steps; the copy buffer is not part of them.
    int undo();
    bool canUndo() const { return !m_undo.empty(); }
    // Puts the entry into the copy buffer.
    MappingEditResult copyEntry(int frame, int entry);
    // What Paste puts into the fields for `frame` (-1: none selected): the copy buffer, with a
    // byte number the frame does not offer turned into 0 ("None").
    RegisterEntry pasteEntry(int frame) const;
    // The copy buffer as copied; it starts empty with 0, 0, 0.
    const RegisterEntry& copyBuffer() const { return m_copy; }

    // The entry's line in the entry list: "100; Byte 1; None;", followed by " Send on Write;"
    // when the entry sends its frame on a Modbus write.
    std::string entryLine(const RegisterEntry& entry, const UiTexts& texts) const;
    // The line of entry `entry` of `frame`, with the "beyond the frame" mark when entryFits
    // refuses it; empty when there is no such entry.
    std::string markedEntryLine(int frame, int entry, const UiTexts& texts) const;
    // The frame list line of missingFrames()[group] ("Missing frame 5") and the line of its
    // `entry`, marked as belonging to a missing frame; empty when there is no such group or entry.
    std::string missingFrameLine(int group, const UiTexts& texts) const;
    std::string missingEntryLine(int group, int entry, const UiTexts& texts) const;
    // The choices of the two byte lists for `frame`: "None", then "Byte 1" .. offeredBytes.
    std::vector<std::string> byteChoices(int frame, const UiTexts& texts) const;

    // True when the entries differ from the saved state: those the last load read, or those
    // markSaved saw. An edit undone by hand (an entry deleted and created again alike) leaves
    // no change; the copy buffer does not count.
    bool hasUnsavedChanges() const;
    // Takes the entries as they are now as the saved state, as after a successful save.
    void markSaved();

    // The mapping file as the model holds it now, in the editor's file shape.
    void buildDocument(pugi::xml_document& doc) const;
    // Writes the mapping file through the atomic-write helper, replacing it.
    Result<void> save(std::string_view mapFile) const;
    // The same to the open project's mapping file.
    Result<void> save(const ProjectFiles& files) const;

private:
    MappingEditResult checkIndex(const RegisterEntry& typed, int frame, int entry,
                                 const UiTexts& texts) const;
    RegisterEntry fitted(int frame, const RegisterEntry& typed) const;
    void loadFlatEntries(const pugi::xml_node& root);
    void loadGroupedEntries(const pugi::xml_node& root);
    void keepMissing(const std::string& frameNumber, RegisterEntry entry);
    RegisterEntry readEntry(const pugi::xml_node& element) const;
    void writeEntry(pugi::xml_node parent, const RegisterEntry& entry, int frameNumber) const;
    // Keeps the entries of `frame` as they are, as the step an operation about to change them
    // can be undone to.
    void rememberFrame(int frame);

    const MappingFormat& m_format;
    std::vector<std::unique_ptr<MappingFrame>> m_frames;
    RegisterEntry m_copy;
    std::vector<std::vector<RegisterEntry>> m_savedEntries; // per frame; see hasUnsavedChanges
    std::vector<MissingFrameEntries> m_missing;
    struct UndoStep {
        int frame;
        std::vector<RegisterEntry> entries;
    };
    std::vector<UndoStep> m_undo;
};

} // namespace setforge
