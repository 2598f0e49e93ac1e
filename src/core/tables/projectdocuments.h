#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include <pugixml.hpp>

#include "core/base/projectfiles.h"

namespace setforge {

// The nine files of one project, each parsed at most once, at the moment a reader first asks
// for it (so the compile's messages keep its order). The compile, the checks, the register map
// and the report read the project through one of these.
class ProjectDocuments {
public:
    enum class File {
        ParGen,
        Sdo,
        EmcyDef,
        EmcyWord,
        RpdoDef,
        SdoPdo,
        TransmitPdo,
        TransmitPdoDefine,
        NodeGuard
    };

    // How many files a project has, the size of File.
    static constexpr int kFileCount = 9;

    // What asking for a file gives.
    struct Entry {
        bool loaded = false; // asked for before
        bool exists = false; // the file is there and well-formed
        std::string error;   // non-empty: the file is there but cannot be read or parsed
        pugi::xml_document doc;
        pugi::xml_node root; // first element of the document; empty when !exists
    };

    explicit ProjectDocuments(ProjectFiles files) : m_files(std::move(files)) {}

    // The file, parsed on first use. A missing file gives exists == false and no error.
    const Entry& get(File file);

    // The path of a file.
    const std::string& path(File file) const;

    // The paths of all nine files.
    const ProjectFiles& files() const { return m_files; }

    // The file's name without its directory ("rpdodef.xml").
    static const char* fileName(File file);

    // The file whose path ProjectFiles keeps in `member` (a table's projectFile).
    static File fileOf(std::string ProjectFiles::*member);

private:
    ProjectFiles m_files;
    std::array<Entry, kFileCount> m_entries;
};

} // namespace setforge
