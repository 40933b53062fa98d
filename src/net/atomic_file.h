#pragma once
// Replacing a small file (the settings file) so that whoever reads it, and a
// crash at any moment, sees either the old content whole or the new whole.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace net {

// Who may read the file written: as before (a replaced file keeps its
// permissions, a new one is readable by all, like a file an editor writes),
// or only its owner (a file that holds secrets; where the file system has
// POSIX permissions).
enum class FileAccess { keep, owner_only };

// Writes `bytes` into a temporary file beside `file`, flushes it to the disk,
// renames it over `file` and flushes the directory. The directory is created
// when missing. `before_rename` runs once the temporary file is complete
// (tests end the process there). Returns an empty text on success, else why
// not (UTF-8).
std::string write_file_atomically(const std::filesystem::path& file, std::string_view bytes,
                                  const std::function<void()>& before_rename = {},
                                  FileAccess access = FileAccess::keep);

}  // namespace net
