#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/app/programarguments.h"

using namespace setforge;

int main(int argc, char** argv)
{
    return runCli(programArguments(argc, argv), std::cout, std::cerr);
}
