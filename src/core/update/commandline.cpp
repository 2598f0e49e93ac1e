#include "core/update/commandline.h"

namespace setforge {

std::vector<std::string> splitWindowsArguments(std::string_view text)
{
    std::vector<std::string> args;
    std::string current;
    bool inQuotes = false;
    bool haveArgument = false; // "" alone is an empty argument, not nothing
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            if (inQuotes && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            haveArgument = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (haveArgument) {
                args.push_back(current);
                current.clear();
                haveArgument = false;
            }
        } else {
            current += c;
            haveArgument = true;
        }
    }
    if (haveArgument)
        args.push_back(current);
    return args;
}

} // namespace setforge
