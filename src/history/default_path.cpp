#include "history/default_path.h"

#include <system_error>

namespace history {

Result<std::filesystem::path> history_file_in(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        const auto utf8 = directory.u8string();
        return Error{ErrorCode::cannot_open, "cannot create the directory " +
                                                 std::string(utf8.begin(), utf8.end()) + ": " +
                                                 error.message()};
    }
    return directory / "history.sqlite";
}

}  // namespace history
