#include "board/board_lock.h"

#include <cstdio>
#include <system_error>
#include <utility>

#include "board/board_lock_platform.h"
#include "history/board_hold.h"

namespace board {
namespace {

constexpr std::size_t kLongestEscapedName = 120;
constexpr std::size_t kKeptOfLongName = 100;

bool kept_as_is(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// FNV-1a, 64 bits: stable on every platform, unlike std::hash.
std::uint64_t name_hash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

// A history on a server is shared by other computers too.
std::string busy_message(std::string_view board_name, bool on_server = false) {
    return "看板“" + std::string(board_name) + "”正在另一个窗口或命令行中运行" +
           (on_server ? "（可能在另一台电脑上）" : "");
}

}  // namespace

std::string utf8_text(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string lock_file_name(std::string_view board_name) {
    std::string escaped;
    for (const char c : board_name) {
        const auto byte = static_cast<unsigned char>(c);
        escaped += kept_as_is(byte) ? std::string(1, c) : "_" + hex(byte, 2);
    }
    // '~' never appears in an escaped name, so a cut name meets no short one.
    if (escaped.size() > kLongestEscapedName) {
        escaped = escaped.substr(0, kKeptOfLongName) + "~" + hex(name_hash(board_name), 16);
    }
    return "board-" + escaped + ".lock";
}

std::filesystem::path lock_file_path(const std::filesystem::path& dir,
                                     std::string_view board_name) {
    return dir / "locks" / lock_file_name(board_name);
}

BoardLock BoardLock::try_acquire(const std::filesystem::path& dir, std::string_view board_name) {
    const auto file = lock_file_path(dir, board_name);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return BoardLock(lock_platform::kNoHandle, LockState::failed,
                         "无法创建锁文件目录 " + utf8_text(file.parent_path()) + "（错误 " +
                             std::to_string(error.value()) + "）",
                         file);
    }
    auto opened = lock_platform::lock_file(file);
    if (opened.state == LockState::busy) {
        opened.message = "看板“" + std::string(board_name) + "”正在另一个窗口或命令行中运行";
    }
    return BoardLock(opened.handle, opened.state, std::move(opened.message), file);
}

BoardLock BoardLock::for_history(const history::Location& history, std::string_view board_name,
                                 const history::LeaseTerms& lease, history::BoardHold::Lost lost) {
    if (history.is_server()) {
        auto taken = history::BoardHold::take(history, board_name, lease, std::move(lost));
        if (!taken)
            return BoardLock(
                lock_platform::kNoHandle, LockState::failed,
                "无法锁定看板“" + std::string(board_name) + "”：" + taken.error().message, {});
        if (!taken.value())
            return BoardLock(lock_platform::kNoHandle, LockState::busy,
                             busy_message(board_name, true), {});
        BoardLock lock(lock_platform::kNoHandle, LockState::held, {}, {});
        lock.hold_ = std::make_unique<history::BoardHold>(std::move(*taken.value()));
        return lock;
    }
    std::error_code error;
    std::filesystem::path file = std::filesystem::weakly_canonical(history.file(), error);
    if (error)
        file = std::filesystem::absolute(history.file(), error);
    // Named after the file itself, so a hard link (another name of the same
    // file) shares the lock; after the path only while the file is unreadable.
    const std::string identity = lock_platform::file_identity(file);
    const std::string key = identity.empty() ? utf8_text(file.filename()) : "file " + identity;
    BoardLock lock = try_acquire(file.parent_path(), key + '\x1F' + std::string(board_name));
    if (lock.state() == LockState::busy)
        lock.message_ = busy_message(board_name);
    return lock;
}

BoardLock::BoardLock(std::intptr_t handle, LockState state, std::string message,
                     std::filesystem::path file)
    : handle_(handle), state_(state), message_(std::move(message)), file_(std::move(file)) {}

BoardLock::BoardLock(BoardLock&& other) noexcept
    : handle_(std::exchange(other.handle_, lock_platform::kNoHandle)),
      hold_(std::move(other.hold_)),
      state_(std::exchange(other.state_, LockState::released)),
      message_(std::move(other.message_)),
      file_(std::move(other.file_)) {}

BoardLock& BoardLock::operator=(BoardLock&& other) noexcept {
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, lock_platform::kNoHandle);
        hold_ = std::move(other.hold_);
        state_ = std::exchange(other.state_, LockState::released);
        message_ = std::move(other.message_);
        file_ = std::move(other.file_);
    }
    return *this;
}

std::optional<history::RunRecord> BoardLock::taken_over() const {
    return hold_ ? hold_->abandoned() : std::nullopt;
}

std::string BoardLock::lease_holder() const {
    return hold_ ? hold_->holder() : std::string();
}

BoardLock::~BoardLock() {
    release();
}

void BoardLock::release() {
    if (handle_ != lock_platform::kNoHandle) {
        lock_platform::unlock_file(std::exchange(handle_, lock_platform::kNoHandle));
    }
    hold_.reset();
    if (state_ == LockState::held) {
        state_ = LockState::released;
    }
}

}  // namespace board
