#pragma once
// Whether this Windows program runs under Wine, for the few system calls
// Wine leaves undone (LCMapStringEx does not simplify Chinese there).
#if defined(_WIN32)
#include <windows.h>
#endif

namespace test {

inline bool under_wine() {
#if defined(_WIN32)
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

}  // namespace test
