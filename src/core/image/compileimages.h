#pragma once

#include <string>
#include <string_view>

#include "core/base/atomicfile.h"
#include "core/base/projectfiles.h"
#include "core/image/bankedimage.h"
#include "core/image/compilemessage.h"
#include "core/image/plainimage.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// The three images of one compile, all in memory.
struct CompiledImages {
    bool ok = false;    // false: the update stopped; the images must not be written
    int deviceType = 0; // Select_Device_Type of ParGen.xml, 0 when missing
    PlainImage plain;   // bank.bin
    BankedImage banked; // bank1_ESP32.bin and bank2_ESP32.bin
};

// The image file names inside the project's bin folder.
inline constexpr const char* kPlainImageName = "bank.bin";
inline constexpr const char* kBank1Name = "bank1_ESP32.bin";
inline constexpr const char* kBank2Name = "bank2_ESP32.bin";

// Compiles the plain image, then the banked image, from the files of the project whose paths
// are `files`. Every message goes to `sink` in compile order; when the update must stop, the
// reason is the last message (an error) and ok is false. Writes nothing.
CompiledImages compileImages(const ProjectFiles& files, const MessageSink& sink);
// The same over documents that other readers of the project may already have loaded.
CompiledImages compileImages(ProjectDocuments& docs, const MessageSink& sink);

// Writes the three images of a successful compile into projectDir/bin (created when missing):
// bank.bin, bank1_ESP32.bin, bank2_ESP32.bin, each replaced whole. Stops at the first file that
// cannot be written, puts back the files it already replaced (old bytes, or removed when new),
// and returns its path and the system's reason.
Result<void> writeImageFiles(std::string_view projectDir, const CompiledImages& images);

// compileImages, then writeImageFiles when the compile succeeded: the whole update of the
// image files. A write failure is also reported to `sink` as an error. The images when all
// three files were written; otherwise the Error that stopped it, the same text as the last
// message `sink` got.
Result<CompiledImages> compileAndWriteImages(std::string_view projectDir, const MessageSink& sink);

} // namespace setforge
