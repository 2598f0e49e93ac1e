#include "core/report/findingchanges.h"

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace setforge {

namespace {

// The finding with the number after each " row " replaced by "#".
std::string withoutRowNumbers(const std::string& finding)
{
    static const std::string kRow = " row ";
    std::string key;
    key.reserve(finding.size());
    std::size_t at = 0;
    while (at < finding.size()) {
        const std::size_t found = finding.find(kRow, at);
        if (found == std::string::npos) {
            key.append(finding, at, std::string::npos);
            break;
        }
        key.append(finding, at, found + kRow.size() - at);
        at = found + kRow.size();
        if (at < finding.size() && std::isdigit(static_cast<unsigned char>(finding[at]))) {
            key += '#';
            while (at < finding.size() && std::isdigit(static_cast<unsigned char>(finding[at])))
                ++at;
        }
    }
    return key;
}

std::vector<std::string> added(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::map<std::string, int> left;
    for (const std::string& finding : before)
        ++left[withoutRowNumbers(finding)];
    std::vector<std::string> result;
    for (const std::string& finding : after) {
        int& count = left[withoutRowNumbers(finding)];
        if (count > 0)
            --count;
        else
            result.push_back(finding);
    }
    return result;
}

} // namespace

ProjectFindings newFindings(const ProjectFindings& before, const ProjectFindings& after)
{
    ProjectFindings result;
    result.errors = added(before.errors, after.errors);
    result.warnings = added(before.warnings, after.warnings);
    return result;
}

} // namespace setforge
