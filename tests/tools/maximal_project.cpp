// Writes the maximal project (every banked table at capacity) into the folder given as the only
// argument, creating it. Lets scripts run the command-line tool on it, as the tests do in-process.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "../core/maximalproject.h"
#include "core/base/paths.h"

using namespace setforge;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: maximal_project FOLDER\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(argv[1]), ec);
    if (ec || !maximal::writeMaximalProject(argv[1])) {
        std::cerr << "maximal_project: cannot write the project into " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
