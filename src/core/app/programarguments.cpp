#include "core/app/programarguments.h"

#ifdef _WIN32
// libstdc++ defines NOMINMAX itself.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace setforge {

#ifdef _WIN32

namespace {

std::string narrow(const wchar_t* wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back(); // the terminating zero
    return utf8;
}

} // namespace

std::vector<std::string> programArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(narrow(wide[i]));
    LocalFree(wide);
    return args;
}

#else

std::vector<std::string> programArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

#endif

} // namespace setforge
