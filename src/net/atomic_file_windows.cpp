#if defined(_WIN32)
#include <windows.h>

#include <fstream>

#include "net/atomic_file.h"

namespace net {

// Windows keeps access in ACLs: a file in the user's profile is the user's.
std::string write_file_atomically(const std::filesystem::path& file, std::string_view bytes,
                                  const std::function<void()>& before_rename, FileAccess) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error)
        return "cannot create " + file.parent_path().string() + ": " + error.message();
    std::filesystem::path temp = file;
    temp += L".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            return "cannot write " + temp.string();
    }
    if (before_rename)
        before_rename();
    // WRITE_THROUGH returns only once the move is on the disk.
    if (!MoveFileExW(temp.c_str(), file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::filesystem::remove(temp, error);
        return "cannot replace " + file.string();
    }
    return {};
}

}  // namespace net
#endif
