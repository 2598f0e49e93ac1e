#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/atomicfile.h"
#include "core/base/result.h"
#include "core/nodes/edsreader.h"

namespace setforge {

// Which EDS describes which remote node of a project. It lives in the project's Nodes.xml
// (root "Nodes", one row per node with NodeID and File); the EDS files themselves are copies
// in the project's EDS folder, so a project can be handed on whole. The compile and the EDS
// writer never read it.
class NodeCatalog {
public:
    static constexpr const char* kFileName = "Nodes.xml";
    static constexpr const char* kEdsFolder = "EDS";

    struct Node {
        int nodeId = 0;   // 1..127
        std::string file; // file name inside the EDS folder
    };

    // Reads projectDir/Nodes.xml. Rows that cannot be used (a node ID outside 1..127, a File that
    // is not a plain name, a second row for a node) are left out; the value lists them, one line
    // each. A missing file gives an empty catalogue and no lines; a file that is not well-formed
    // XML gives the Error with the parser's text and leaves the catalogue empty.
    Result<std::vector<std::string>> load(std::string_view projectDir);

    // Writes projectDir/Nodes.xml through the atomic-write helper, rows ordered by node ID.
    Result<void> save(std::string_view projectDir) const;

    const std::vector<Node>& nodes() const { return m_nodes; }
    // The node `nodeId`, or nullptr.
    const Node* find(int nodeId) const;
    // Sets the file of `nodeId`, adding the node when new.
    void setNode(int nodeId, std::string file);
    // Removes `nodeId`; false when it was not there. The EDS copy stays in the folder.
    bool removeNode(int nodeId);

    // The full path of the EDS copy of `node` in `projectDir`.
    static std::string edsPath(std::string_view projectDir, const Node& node);

    // Reads the EDS at `sourcePath` for node `nodeId` as "Add EDS…" takes it: besides the
    // reader's refusals, a file without any object (an empty file among them) is refused with
    // the Error of text number NodeEdsNoObjects naming the file.
    static Result<EdsRead> readNodeEds(std::string_view sourcePath, int nodeId);

    // Reads the EDS at `sourcePath` as readNodeEds does; when it reads cleanly, copies it byte for byte into
    // the project's EDS folder (creating it; a different file of the same name is kept and the copy gets
    // "-2", "-3"... before its extension), sets the node and saves Nodes.xml, and returns the copy's name in
    // the EDS folder. A node ID outside 1..127, an EDS that cannot be read (its Error carries the line) or a
    // catalogue that cannot be loaded gives the Error, ready to show, and changes no file.
    static Result<std::string> addNodeEds(std::string_view projectDir, int nodeId,
                                          std::string_view sourcePath);

private:
    std::vector<Node> m_nodes; // ordered by node ID
};

} // namespace setforge
