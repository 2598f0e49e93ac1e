#pragma once

// Turns one fuzz input into a whole project: the input is a run of chunks, each
// [1 byte file selector][2 bytes payload length, little-endian][payload]. The selector modulo 9
// picks one of the nine project files (in the order of ProjectFiles); chunks for the same file
// append; a file no chunk names is absent. A payload cut short by the end of the input keeps what
// is there, and one or two dangling header bytes at the end are ignored, so every input is valid.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/atomicfile.h"
#include "core/base/projectfiles.h"

namespace setforge {

struct FramedProject {
    static constexpr std::size_t kFileCount = 9;
    std::array<std::string, kFileCount> content;
    std::array<bool, kFileCount> present{};
};

// The paths of the nine files of `projectDir`, in selector order.
inline std::array<std::string, FramedProject::kFileCount> framedProjectPaths(std::string_view projectDir)
{
    ProjectFiles f = makeProjectFiles(projectDir);
    return {f.parGen, f.sdo,         f.emcyDef,           f.emcyWord, f.rpdoDef,
            f.sdoPdo, f.transmitPdo, f.transmitPdoDefine, f.nodeGuard};
}

// Splits fuzz bytes into the nine files (rules above). Never fails.
inline FramedProject splitFramedProject(const std::uint8_t* data, std::size_t size)
{
    FramedProject project;
    std::size_t pos = 0;
    while (size - pos >= 3) {
        const std::size_t file = data[pos] % FramedProject::kFileCount;
        std::size_t length = static_cast<std::size_t>(data[pos + 1]) | static_cast<std::size_t>(data[pos + 2])
                                                                           << 8;
        pos += 3;
        if (length > size - pos)
            length = size - pos;
        project.content[file].append(reinterpret_cast<const char*>(data + pos), length);
        project.present[file] = true;
        pos += length;
    }
    return project;
}

// The inverse of splitFramedProject, for building seed inputs from real project files:
// present files in selector order, each in chunks of at most 65535 bytes (an empty file as
// one empty chunk).
inline std::string frameProject(const FramedProject& project)
{
    std::string out;
    for (std::size_t file = 0; file < FramedProject::kFileCount; ++file) {
        if (!project.present[file])
            continue;
        const std::string& text = project.content[file];
        std::size_t pos = 0;
        do {
            const std::size_t length = std::min<std::size_t>(text.size() - pos, 0xFFFF);
            out += static_cast<char>(file);
            out += static_cast<char>(length & 0xFF);
            out += static_cast<char>(length >> 8);
            out.append(text, pos, length);
            pos += length;
        } while (pos < text.size());
    }
    return out;
}

// Writes the present files into `projectDir` (which must exist); absent ones are not created.
// Returns the first failure.
inline Result<void> writeFramedProject(const FramedProject& project, std::string_view projectDir)
{
    const auto paths = framedProjectPaths(projectDir);
    for (std::size_t file = 0; file < FramedProject::kFileCount; ++file) {
        if (!project.present[file])
            continue;
        Result<void> r = writeFileAtomic(paths[file], project.content[file]);
        if (!r)
            return r;
    }
    return {};
}

} // namespace setforge
