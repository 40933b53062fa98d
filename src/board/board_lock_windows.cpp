#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

#include "board/board_lock_platform.h"

namespace board::lock_platform {
namespace {

std::string failure(const char* what, const std::filesystem::path& file, DWORD error) {
    return std::string(what) + " " + utf8_text(file) + "（错误 " + std::to_string(error) + "）";
}

}  // namespace

// LockFileEx on one byte: the lock belongs to this handle and ends when the
// handle is closed or the process ends.
Opened lock_file(const std::filesystem::path& file) {
    SECURITY_ATTRIBUTES no_inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &no_inherit,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {kNoHandle, LockState::failed, failure("无法打开锁文件", file, GetLastError())};
    }
    OVERLAPPED start{};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        return {reinterpret_cast<std::intptr_t>(handle), LockState::held, {}};
    }
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
        return {kNoHandle, LockState::busy, {}};
    }
    return {kNoHandle, LockState::failed, failure("无法锁定", file, error)};
}

void unlock_file(std::intptr_t handle) {
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED start{};
    UnlockFileEx(h, 0, 1, 0, &start);
    CloseHandle(h);
}

// No access asked for: reading the file's information needs none, and the
// history's own open handles are not disturbed.
std::string file_identity(const std::filesystem::path& file) {
    HANDLE handle =
        CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL read = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!read) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, "%lx-%lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh),
                  static_cast<unsigned long>(info.nFileIndexLow));
    return text;
}

}  // namespace board::lock_platform
#endif
