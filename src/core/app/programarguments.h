#pragma once

#include <string>
#include <vector>

namespace setforge {

// The program's arguments after its own name, as UTF-8 text. On Windows they are read from the
// wide command line, since `argv` there holds the ANSI code page and loses names such as
// "Prüfstand-Ø2"; elsewhere `argv` is already UTF-8 and is copied as it is.
std::vector<std::string> programArguments(int argc, char** argv);

} // namespace setforge
