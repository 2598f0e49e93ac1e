#include "core/tables/projectdocuments.h"

#include "core/base/xmlfile.h"

namespace setforge {

namespace {

constexpr const char* kFileNames[] = {
    "ParGen.xml",   "sdo.xml",    "emcydef.xml",      "emcyword.xml",
    "rpdodef.xml",  "sdopdo.xml", "Transmit_Pdo.xml", "Transmit_PDO_Define.xml",
    "NodeGuard.xml"};

} // namespace

const char* ProjectDocuments::fileName(File file)
{
    return kFileNames[static_cast<std::size_t>(file)];
}

const std::string& ProjectDocuments::path(File file) const
{
    switch (file) {
    case File::ParGen:
        return m_files.parGen;
    case File::Sdo:
        return m_files.sdo;
    case File::EmcyDef:
        return m_files.emcyDef;
    case File::EmcyWord:
        return m_files.emcyWord;
    case File::RpdoDef:
        return m_files.rpdoDef;
    case File::SdoPdo:
        return m_files.sdoPdo;
    case File::TransmitPdo:
        return m_files.transmitPdo;
    case File::TransmitPdoDefine:
        return m_files.transmitPdoDefine;
    case File::NodeGuard:
        break;
    }
    return m_files.nodeGuard;
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
