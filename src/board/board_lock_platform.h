#pragma once
// The operating system's side of BoardLock: one source file per platform.
#include <cstdint>
#include <filesystem>
#include <string>

#include "board/board_lock.h"

namespace board::lock_platform {

inline constexpr std::intptr_t kNoHandle = -1;

struct Opened {
    std::intptr_t handle = kNoHandle;  // set only when held
    LockState state = LockState::failed;
    std::string message;  // UTF-8, why it failed
};

// Opens or creates `file` and takes an exclusive lock without waiting; the
// handle is closed again unless the lock was taken. The handle is not
// inherited by programs this process starts.
Opened lock_file(const std::filesystem::path& file);

// Unlocks and closes.
void unlock_file(std::intptr_t handle);

// What names the file itself whatever path reaches it (its device and
// inode; on Windows its volume serial number and file index), as text fit
// for a file name; empty when the file cannot be opened.
std::string file_identity(const std::filesystem::path& file);

}  // namespace board::lock_platform
