#include "command_arguments.h"

#if defined(_WIN32)
#include <windows.h>
// windows.h first: shellapi.h uses its types.
#include <shellapi.h>
#endif

namespace cli {

#if defined(_WIN32)
namespace {

std::string utf8_of(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating NUL
    return out;
}

}  // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return {argv, argv + argc};
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(utf8_of(wide[i]));
    LocalFree(wide);
    return out;
}
#else
std::vector<std::string> utf8_arguments(int argc, char** argv) {
    return {argv, argv + argc};
}
#endif

}  // namespace cli
