#pragma once

#include <array>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "core/base/projectfiles.h"
#include "core/mapping/mappingframe.h"

namespace setforge {

// The three mapping editors.
enum class MappingKind { ReceivePdo, TransmitPdo, Emergency };

// What an attribute of a mapping entry's element carries.
enum class MapField {
    Index,       // registerIndex as typed
    Subindex,    // always "0", never read back
    FrameNumber, // 1-based position of the frame in the frame file
    Selector,    // byte selector highPart * 16 + lowPart
    Write,       // Write, "0" or "1"
};

struct MapAttribute {
    MapField field;
    const char* name;
};

// The texts of a mapping editor, in the order of its UI_Texts block. The transmit editor's
// block holds all of them; the other two blocks lack the three write texts.
enum class MappingText {
    Caption,
    SwDesc,
    FrameDesc1,
    FrameDesc2,
    ModRegDesc1,
    ModRegDesc2,
    ModIndDesc1,
    ModIndDesc2,
    HighPartDesc1,
    HighPartDesc2,
    LowPartDesc1,
    LowPartDesc2,
    SendOnWrite,
    WriteFalse,
    WriteTrue,
    Create,
    Modify,
    Delete,
    Copy,
    Paste,
    Ok,
    Cancel,
    IndexRange,
    IndexUsed,
    ByteNone,
    BytePrefix,
};

// Everything in which the three mapping editors differ, written once as data: where the frames
// and the entries live, the entries' file shape (used by both load and save) and the texts.
struct MappingFormat {
    MappingKind kind;
    std::string ProjectFiles::*frameFile; // the table the frames come from
    std::string ProjectFiles::*mapFile;   // the file of the entries
    // Builds one frame, without entries, from a row element of the frame file.
    std::unique_ptr<MappingFrame> (*readFrame)(const pugi::xml_node& row);
    const char* mapRoot;
    // Element holding the entries of one frame, the k-th for the k-th frame; nullptr when the
    // entries are flat rows of the root that name their frame through a FrameNumber attribute.
    const char* groupElement;
    const char* entryElement;
    std::array<MapAttribute, 4> attributes; // in file order
    int attributeCount;
    bool hasWrite; // entries carry Write and the editor shows "Send PDO frame on Modbus Write"
    int textBase;  // first index of the editor's UI_Texts block

    // The UI_Texts index of `text`, or -1 when this editor has no such text.
    int textIndex(MappingText text) const;
    // The attribute name of `field`, or nullptr when entries of this shape do not carry it.
    const char* attributeName(MapField field) const;
};

// Receive PDO mapping: rpdodef.xml -> sdopdo.xml.
extern const MappingFormat kReceivePdoMapping;
// Transmit PDO mapping: Transmit_Pdo.xml -> Transmit_PDO_Define.xml.
extern const MappingFormat kTransmitPdoMapping;
// Emergency mapping: emcydef.xml -> emcyword.xml.
extern const MappingFormat kEmergencyMapping;

} // namespace setforge
