#pragma once
// Keeps two processes (the window and the command line, or two of either)
// from running the same board at once: an exclusive lock on a file per board,
// <dir>/locks/board-<name>.lock. The operating system drops the lock when its
// holder closes the file or dies, so a killed process leaves no stale lock.
// The files themselves stay: removing one while another process opens it
// would let two holders lock two different files. A history on a server is
// held there instead, by a lease (history::BoardHold), for every machine
// that uses it.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "history/board_hold.h"
#include "history/location.h"

namespace board {

enum class LockState {
    held,      // this object holds the board
    busy,      // another holder (process or object) has it
    failed,    // the lock file could not be made or locked
    released,  // let go by release(), or moved from
};

class BoardLock {
  public:
    // One attempt; never waits. `dir` is where the locks directory lives
    // (beside the history file); it is created when missing.
    static BoardLock try_acquire(const std::filesystem::path& dir, std::string_view board_name);
    // The lock of a board of one history. A file's is keyed on the file
    // itself (its device and inode, or volume serial and file index), in the
    // directory of its path with every symlink resolved: the same file
    // reached through a symbolic link, or a hard link beside it, shares the
    // lock, and two files in one directory never do. A server's is a lease
    // on the server, on `lease`'s terms; `lost` is called (on another
    // thread) when the lease is found taken over while held.
    static BoardLock for_history(const history::Location& history, std::string_view board_name,
                                 const history::LeaseTerms& lease = {},
                                 history::BoardHold::Lost lost = {});

    BoardLock(BoardLock&& other) noexcept;
    BoardLock& operator=(BoardLock&& other) noexcept;
    BoardLock(const BoardLock&) = delete;
    BoardLock& operator=(const BoardLock&) = delete;
    ~BoardLock();

    LockState state() const { return state_; }
    bool held() const { return state_ == LockState::held; }
    // Why the attempt did not take the board (UTF-8, fit to show); empty otherwise.
    const std::string& message() const { return message_; }
    const std::filesystem::path& file() const { return file_; }
    // The run of a dead worker that this claim of a server's lease took over
    // (and recorded as abandoned); nothing otherwise.
    std::optional<history::RunRecord> taken_over() const;
    // Who holds a server's lease for this claim; empty for a file's lock.
    std::string lease_holder() const;

    // Lets the board go before the object ends.
    void release();

  private:
    BoardLock(std::intptr_t handle, LockState state, std::string message,
              std::filesystem::path file);

    std::intptr_t handle_;  // a file descriptor, or a HANDLE on Windows; -1 for none
    std::unique_ptr<history::BoardHold> hold_;  // a server's lock, while held
    LockState state_;
    std::string message_;
    std::filesystem::path file_;
};

// A path as UTF-8 text, for messages on every platform.
std::string utf8_text(const std::filesystem::path& path);

// The board's lock file name: ASCII lower-case letters, digits and '-' stay,
// every other byte becomes '_' and two hex digits, so distinct names (even
// ones differing only in case, on a file system that ignores case) never
// share a file and no name can leave the directory. A very long name is cut
// and ends in a hash of the whole name.
std::string lock_file_name(std::string_view board_name);

std::filesystem::path lock_file_path(const std::filesystem::path& dir, std::string_view board_name);

}  // namespace board
