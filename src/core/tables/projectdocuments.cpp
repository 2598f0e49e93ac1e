#include "core/tables/projectdocuments.h"

#include <iterator>

#include "core/base/xmlfile.h"

namespace setforge {

namespace {

constexpr const char* kFileNames[] = {
    "ParGen.xml",   "sdo.xml",    "emcydef.xml",      "emcyword.xml",
    "rpdodef.xml",  "sdopdo.xml", "Transmit_Pdo.xml", "Transmit_PDO_Define.xml",
    "NodeGuard.xml"};

// Where ProjectFiles keeps each file's path, in the order of File.
constexpr std::string ProjectFiles::*kMembers[] = {
    &ProjectFiles::parGen,      &ProjectFiles::sdo,
    &ProjectFiles::emcyDef,     &ProjectFiles::emcyWord,
    &ProjectFiles::rpdoDef,     &ProjectFiles::sdoPdo,
    &ProjectFiles::transmitPdo, &ProjectFiles::transmitPdoDefine,
    &ProjectFiles::nodeGuard};
static_assert(std::size(kMembers) == ProjectDocuments::kFileCount);

} // namespace

ProjectDocuments::File ProjectDocuments::fileOf(std::string ProjectFiles::*member)
{
    for (std::size_t k = 0; k < std::size(kMembers); ++k)
        if (kMembers[k] == member)
            return static_cast<File>(k);
    return File::ParGen; // every member of ProjectFiles is listed above
}

const char* ProjectDocuments::fileName(File file)
{
    return kFileNames[static_cast<std::size_t>(file)];
}

const std::string& ProjectDocuments::path(File file) const
{
    return m_files.*kMembers[static_cast<std::size_t>(file)];
}

const ProjectDocuments::Entry& ProjectDocuments::get(File file)
{
    Entry& entry = m_entries[static_cast<std::size_t>(file)];
    if (entry.loaded)
        return entry;
    entry.loaded = true;
    const Result<XmlFile> loaded = loadXmlFile(path(file), entry.doc);
    if (!loaded) {
        entry.error = loaded.error().text;
    } else if (*loaded == XmlFile::Read) {
        entry.exists = true;
        entry.root = documentRoot(entry.doc);
    }
    return entry;
}

} // namespace setforge
