#include "core/report/projectcheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/report/edschecks.h"
#include "core/tables/projectdocuments.h"
#include "testutil.h"

namespace setforge {

namespace {

// The fixture's project in a fresh folder, so a case can change it.
std::string edsFixture(const TempDir& dir)
{
    const std::filesystem::path project = dir.path() / "Plant";
    copyFixture("edscheck", project);
    return pathToUtf8(project);
}

std::vector<std::string> edsWarningsOf(const std::string& projectDir)
{
    ProjectDocuments docs(makeProjectFiles(projectDir));
    return edsCatalogueWarnings(docs);
}

void replaceIn(const std::string& path, const std::string& from, const std::string& to)
{
    std::string text = readTestFile(path);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    writeTestFile(path, text);
}

} // namespace

// Node 2's EDS gives TPDO1 (0x182) and RPDO1 (0x202) 6 bytes each, both synchronous. The
// project receives 0x182 in 8 bytes and sends 0x202 in 2, with the SYNC producer off, and its
// SDO rows hit each kind of mismatch; node 3 has no EDS and is not checked.
TEST(EdsCatalogueWarnings, ProjectAgainstTheNodesEds)
{
    TempDir dir;
    const std::string project = edsFixture(dir);
    const std::string eds = "node 2's EDS (node2.eds)";
    const std::vector<std::string> expected = {
        "sdo.xml row 3: NByte 4 is not the 2 byte(s) of 0x6041 Statusword in " + eds + "; set NByte to 2",
        "sdo.xml row 3: R/W is ReadWrite, but 0x6041 Statusword is ro in " + eds +
            ", so the node refuses the write; set R/W to ReadOnly",
        "sdo.xml row 4: 0x6060 Modes of operation is wo in " + eds +
            ", so the node refuses the read every row makes; map a readable object, or delete the row",
        "sdo.xml row 5: " + eds + " has no object 0x2000; correct Index, or pick the object from the EDS",
        "sdo.xml row 6: " + eds +
            " has no SubIndex 3 in object 0x6040; correct SubIndex, or pick the object "
            "from the EDS",
        "rpdodef.xml row 1: COB-ID 0x182 is TPDO1 of node 2, which its EDS gives 6 byte(s), not the "
        "Dimension 8; set Dimension to 6 or change the node's PDO mapping",
        "rpdodef.xml row 1: COB-ID 0x182 is TPDO1 of node 2, synchronous in its EDS (transmission type 1), "
        "but "
        "the SYNC producer is off, so the node never sends it; turn the SYNC producer on in the "
        "communication "
        "parameters, or make the node's PDO event-driven",
        "Transmit_Pdo.xml row 1: COB-ID 0x202 is RPDO1 of node 2, which its EDS gives 6 byte(s), not the "
        "Dimension 2; set Dimension to 6 or change the node's PDO mapping",
        "Transmit_Pdo.xml row 1: COB-ID 0x202 is RPDO1 of node 2, synchronous in its EDS (transmission type "
        "1), "
        "but the SYNC producer is off, so the node never applies it; turn the SYNC producer on in the "
        "communication parameters, or make the node's PDO event-driven",
    };
    EXPECT_EQ(edsWarningsOf(project), expected);

    // check, the report and the window all take them from checkProject, as warnings.
    const ProjectFindings findings = checkProject(makeProjectFiles(project));
    EXPECT_TRUE(findings.ok());
    for (const std::string& warning : expected)
        EXPECT_NE(std::find(findings.warnings.begin(), findings.warnings.end(), warning),
                  findings.warnings.end())
            << warning;

    // With the SYNC producer on, the synchronous PDOs are fine; the lengths still differ.
    replaceIn(joinPath(project, "ParGen.xml"), "enable_sync=\"false\"", "enable_sync=\"true\"");
    const std::vector<std::string> syncOn = edsWarningsOf(project);
    EXPECT_EQ(syncOn.size(), expected.size() - 2);
    EXPECT_TRUE(std::none_of(syncOn.begin(), syncOn.end(),
                             [](const std::string& w) { return w.find("SYNC") != std::string::npos; }));
}

// Without a catalogue, or with a node whose EDS is gone or unreadable, nothing is said.
TEST(EdsCatalogueWarnings, NodesWithoutAReadableEdsAreSkipped)
{
    struct Case {
        const char* what;
        const char* nodesXml; // nullptr: no Nodes.xml
        const char* edsText;  // replaces node2.eds; nullptr: left as it is
    };
    const Case kCases[] = {
        {"no catalogue", nullptr, nullptr},
        {"catalogue not well-formed", "<Nodes><row", nullptr},
        {"only node 3, without EDS file", "<Nodes><row NodeID=\"3\" File=\"node3.eds\"/></Nodes>", nullptr},
        {"node 2's EDS unreadable", "<Nodes><row NodeID=\"2\" File=\"node2.eds\"/></Nodes>", "[1000\nbroken"},
    };
    for (const Case& c : kCases) {
        TempDir dir;
        const std::string project = edsFixture(dir);
        const std::string nodes = joinPath(project, "Nodes.xml");
        std::filesystem::remove(pathFromUtf8(nodes));
        if (c.nodesXml)
            writeTestFile(nodes, c.nodesXml);
        if (c.edsText)
            writeTestFile(joinPath(joinPath(project, "EDS"), "node2.eds"), c.edsText);
        EXPECT_EQ(edsWarningsOf(project), std::vector<std::string>{}) << c.what;
    }
}

// A ParGen.xml that does not parse is named once; the checks that need the device type (the
// register claims, the variant's columns and warnings) say nothing rather than take type 0.
TEST(ProjectCheck, UnreadableParGenIsOneErrorAndSilencesTheTypeChecks)
{
    TempDir dir;
    const std::filesystem::path project = dir.path() / "Demo";
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          project, std::filesystem::copy_options::recursive);
    const std::string parGen = pathToUtf8(project / "ParGen.xml");
    replaceIn(parGen, "<CAN_id>1</CAN_id>", "<CAN_id>1</CAN_i>");
    const ProjectFindings findings = checkProject(makeProjectFiles(pathToUtf8(project)));
    ASSERT_EQ(findings.errors.size(), 1u) << testing::PrintToString(findings.errors);
    EXPECT_EQ(findings.errors[0].rfind("ParGen.xml: ", 0), 0u) << findings.errors[0];
    EXPECT_EQ(findings.warnings, std::vector<std::string>{});

    // The same project with a readable ParGen.xml still gets its type's warnings.
    replaceIn(parGen, "</CAN_i>", "</CAN_id>");
    EXPECT_FALSE(checkProject(makeProjectFiles(pathToUtf8(project))).warnings.empty());
}

} // namespace setforge
