#include "core/nodes/nodecatalog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/lang/textid.h"
#include "core/nodes/edsreader.h"

namespace setforge {

namespace {

constexpr const char* kRoot = "Nodes";
constexpr const char* kNodeIdAttribute = "NodeID";
constexpr const char* kFileAttribute = "File";

// A name that stays inside the EDS folder: no separator, not "." or "..", not empty.
bool isPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

std::string catalogPath(std::string_view projectDir)
{
    return joinPath(projectDir, NodeCatalog::kFileName);
}

} // namespace

Result<std::vector<std::string>> NodeCatalog::load(std::string_view projectDir)
{
    m_nodes.clear();
    std::vector<std::string> problems;
    pugi::xml_document doc;
    const Result<XmlFile> loaded = loadXmlFile(catalogPath(projectDir), doc);
    if (!loaded)
        return makeError(std::string(kFileName) + ": " + loaded.error().text, catalogPath(projectDir));
    if (*loaded == XmlFile::Missing)
        return problems;
    const pugi::xml_node root = documentRoot(doc);
    int rowNumber = 0;
    for (pugi::xml_node row = root.first_child(); row; row = row.next_sibling()) {
        if (row.type() != pugi::node_element)
            continue;
        ++rowNumber;
        const std::int32_t nodeId = textToInt(row.attribute(kNodeIdAttribute).value(), -1);
        const std::string file = row.attribute(kFileAttribute).value();
        const std::string where = std::string(kFileName) + " row " + std::to_string(rowNumber) + ": ";
        if (nodeId < 1 || nodeId > 127) {
            problems.push_back(where + "NodeID must be between 1 and 127");
        } else if (!isPlainFileName(file)) {
            problems.push_back(where + "File must name a file in the EDS folder");
        } else if (find(nodeId) != nullptr) {
            problems.push_back(where + "node " + std::to_string(nodeId) + " is listed twice");
        } else {
            setNode(nodeId, file);
        }
    }
    return problems;
}

Result<void> NodeCatalog::save(std::string_view projectDir) const
{
    pugi::xml_document doc;
    pugi::xml_node root = startTableDocument(doc, kRoot);
    for (const Node& node : m_nodes) {
        pugi::xml_node row = root.append_child("row");
        row.append_attribute(kNodeIdAttribute) = std::to_string(node.nodeId).c_str();
        row.append_attribute(kFileAttribute) = node.file.c_str();
    }
    return saveXmlFile(doc, catalogPath(projectDir));
}

const NodeCatalog::Node* NodeCatalog::find(int nodeId) const
{
    for (const Node& node : m_nodes)
        if (node.nodeId == nodeId)
            return &node;
    return nullptr;
}

void NodeCatalog::setNode(int nodeId, std::string file)
{
    for (Node& node : m_nodes) {
        if (node.nodeId == nodeId) {
            node.file = std::move(file);
            return;
        }
    }
    const auto at =
        std::find_if(m_nodes.begin(), m_nodes.end(), [&](const Node& n) { return n.nodeId > nodeId; });
    m_nodes.insert(at, Node{nodeId, std::move(file)});
}

bool NodeCatalog::removeNode(int nodeId)
{
    const auto at =
        std::find_if(m_nodes.begin(), m_nodes.end(), [&](const Node& n) { return n.nodeId == nodeId; });
    if (at == m_nodes.end())
        return false;
    m_nodes.erase(at);
    return true;
}

std::string NodeCatalog::edsPath(std::string_view projectDir, const Node& node)
{
    return joinPath(joinPath(projectDir, kEdsFolder), node.file);
}

Result<EdsRead> NodeCatalog::readNodeEds(std::string_view sourcePath, int nodeId)
{
    Result<EdsRead> eds = readEdsFile(sourcePath, nodeId);
    if (!eds)
        return eds;
    // An empty file, or any text without a single object, reads without a fault but describes
    // no device: a node catalogued with it would offer nothing to pick.
    if (eds->device.objects.empty()) {
        Error error = makeError("The file holds no object of an object dictionary.", std::string(sourcePath));
        error.textId = TextId::NodeEdsNoObjects;
        return error;
    }
    return eds;
}

Result<std::string> NodeCatalog::addNodeEds(std::string_view projectDir, int nodeId,
                                            std::string_view sourcePath)
{
    if (nodeId < 1 || nodeId > 127)
        return makeError("The node ID must be between 1 and 127");
    NodeCatalog catalog;
    // Saving over a catalogue we could not read would lose its rows.
    if (const Result<std::vector<std::string>> loaded = catalog.load(projectDir); !loaded)
        return loaded.error();
    const Result<EdsRead> eds = readNodeEds(sourcePath, nodeId);
    if (!eds)
        return makeError(std::string(sourcePath) + ": " + edsErrorMessage(eds.error()),
                         std::string(sourcePath), eds.error().line);
    const Result<std::string> read = readWholeFile(sourcePath);
    if (!read)
        return read.error();
    const std::string& content = *read;

    const std::string folder = joinPath(projectDir, kEdsFolder);
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(folder), ec);
    if (ec || !isDirectory(folder))
        return makeError(ec.message() + ": " + folder, folder);
    const std::filesystem::path source = pathFromUtf8(sourcePath);
    const std::string stem = pathToUtf8(source.stem());
    const std::string extension = pathToUtf8(source.extension());
    std::string name = pathToUtf8(source.filename());
    for (int copy = 2;; ++copy) {
        const std::string target = joinPath(folder, name);
        if (!pathExists(target))
            break;
        const Result<std::string> existing = readWholeFile(target);
        if (existing && *existing == content)
            break;
        name = stem + "-" + std::to_string(copy) + extension;
    }
    const Result<void> written = writeFileAtomic(joinPath(folder, name), content);
    if (!written)
        return written.error();
    catalog.setNode(nodeId, name);
    const Result<void> saved = catalog.save(projectDir);
    if (!saved)
        return saved.error();
    return name;
}

} // namespace setforge
