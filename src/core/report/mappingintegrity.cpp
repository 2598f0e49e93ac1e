#include "core/report/mappingintegrity.h"

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compileimages.h"
#include "core/mapping/registerentry.h"

namespace setforge {

namespace {

// An emergency offers the five bytes of its manufacturer-specific field.
constexpr int kEmcyBytes = 5;

// The Dimension of each PDO row by position; 0 where it is not 1..8.
std::vector<int> pdoDimensions(const pugi::xml_node& root, const char* attribute)
{
    std::vector<int> dimensions;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        const std::int32_t d = textToInt(row.attribute(attribute).value(), -1);
        dimensions.push_back(d >= 1 && d <= 8 ? d : 0);
    });
    return dimensions;
}

// "byte 6 (high)", "byte 5 (low)" or both, for the parts of `selector` above `available`.
std::string bytesBeyond(std::string_view selector, int available)
{
    int high = 0;
    int low = 0;
    unpackByteSelector(textToInt(selector, 0), high, low);
    std::string text;
    if (high > available)
        text = "byte " + std::to_string(high) + " (high)";
    if (low > available)
        text += (text.empty() ? "" : " and ") + std::string("byte ") + std::to_string(low) + " (low)";
    return text;
}

struct PdoMapping {
    const char* mapFile;
    const char* numberAttribute;
    const char* selectorAttribute;
    const char* tableFile;
    const char* dimensionAttribute;
    const char* kind; // "receive PDO"
    // What becomes of a row naming no PDO, image by image, as the two compilers treat it.
    std::string fate;
};

void checkPdoMapping(const PdoMapping& mapping, const pugi::xml_node& tableRoot,
                     const pugi::xml_node& mapRoot, std::vector<std::string>& warnings)
{
    const std::vector<int> dimensions = pdoDimensions(tableRoot, mapping.dimensionAttribute);
    forEachElement(mapRoot, [&](const pugi::xml_node& row, std::size_t i) {
        const std::string where = std::string(mapping.mapFile) + " row " + std::to_string(i + 1) + ": ";
        const char* numberText = row.attribute(mapping.numberAttribute).value();
        const std::int32_t n = textToInt(numberText, -1);
        if (n < 1 || static_cast<std::size_t>(n) > dimensions.size()) {
            warnings.push_back(
                where + mapping.kind + " " +
                (n < 0 ? std::string(1, '"').append(numberText).append(1, '"') : std::to_string(n)) +
                " does not exist (" + mapping.tableFile + " has " + std::to_string(dimensions.size()) +
                "); " + mapping.fate + "; point the entry at an existing " + mapping.kind + ", or delete it");
            return;
        }
        const int dimension = dimensions[static_cast<std::size_t>(n) - 1];
        if (dimension == 0)
            return;
        const std::string beyond = bytesBeyond(row.attribute(mapping.selectorAttribute).value(), dimension);
        if (!beyond.empty())
            warnings.push_back(where + beyond + " beyond the Dimension " + std::to_string(dimension) +
                               " of " + mapping.kind + " " + std::to_string(n) +
                               "; choose a byte within the Dimension, or raise the Dimension");
    });
}

void checkEmcyMapping(const pugi::xml_node& tableRoot, const pugi::xml_node& mapRoot,
                      std::vector<std::string>& warnings)
{
    const std::size_t emergencies = countElements(tableRoot);
    forEachElement(mapRoot, [&](const pugi::xml_node& message, std::size_t i) {
        const std::string emergency = "emcyword.xml emergency " + std::to_string(i + 1);
        if (i >= emergencies) {
            const std::size_t words = countElements(message);
            if (words > 0)
                warnings.push_back(emergency + ": emergency " + std::to_string(i + 1) +
                                   " does not exist (emcydef.xml has " + std::to_string(emergencies) +
                                   "); its " + std::to_string(words) + " word(s) are dropped from " +
                                   kPlainImageName + " and " + kBank2Name +
                                   "; add the emergency, or delete its words");
            return;
        }
        forEachElement(message, [&](const pugi::xml_node& word, std::size_t j) {
            const std::string beyond = bytesBeyond(word.attribute("Dati_Byte").value(), kEmcyBytes);
            if (!beyond.empty())
                warnings.push_back(emergency + " word " + std::to_string(j + 1) + ": " + beyond +
                                   " beyond the 5 bytes of an emergency; choose an EMCY byte from 1 to 5");
        });
    });
}

} // namespace

std::vector<std::string> mappingIntegrityWarnings(const ProjectFiles& files)
{
    ProjectDocuments docs(files);
    return mappingIntegrityWarnings(docs);
}

std::vector<std::string> mappingIntegrityWarnings(ProjectDocuments& docs)
{
    using File = ProjectDocuments::File;
    const auto root = [&docs](File file) { return docs.get(file).root; };
    std::vector<std::string> warnings;
    // bank.bin copies every RPDO mapping row as it is; the banked image keeps only rows naming
    // one of its PDOs. bank.bin has no TPDO mapping section at all.
    const std::string plain = kPlainImageName;
    const std::string banked = kBank2Name;
    checkPdoMapping({"sdopdo.xml", "nrpdo", "poscomp", "rpdodef.xml", "dimension", "receive PDO",
                     plain + " keeps the row, " + banked + " drops it"},
                    root(File::RpdoDef), root(File::SdoPdo), warnings);
    checkPdoMapping({"Transmit_PDO_Define.xml", "NrPdo", "PosComp", "Transmit_Pdo.xml", "Dimension",
                     "transmit PDO", banked + " drops the row (" + plain + " holds no transmit PDO mapping)"},
                    root(File::TransmitPdo), root(File::TransmitPdoDefine), warnings);
    checkEmcyMapping(root(File::EmcyDef), root(File::EmcyWord), warnings);
    return warnings;
}

} // namespace setforge
