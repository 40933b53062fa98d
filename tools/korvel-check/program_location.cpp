#include "program_location.h"

#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <string>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#include <unistd.h>

#include <cstdint>
#include <vector>
#else
#include <unistd.h>
#endif

namespace cli {

namespace {

std::filesystem::path executable_file() {
#if defined(_WIN32)
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return {};
    buffer.resize(length);
    return buffer;
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0)
        return {};
    std::error_code error;
    const auto resolved = std::filesystem::canonical(buffer.data(), error);
    return error ? std::filesystem::path() : resolved;
#else
    std::error_code error;
    const auto resolved = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : resolved;
#endif
}

}  // namespace

std::filesystem::path executable_directory() {
    return executable_file().parent_path();
}

bool stderr_is_terminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace cli
