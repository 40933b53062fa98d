#include "notify/channel_settings.h"

namespace notify {

std::optional<std::string> shared_settings_warning(const std::filesystem::path& file) {
#if defined(_WIN32)
    // Windows keeps access in ACLs; the POSIX bits the library reports say nothing there.
    (void)file;
    return std::nullopt;
#else
    using std::filesystem::perms;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status))
        return std::nullopt;
    if ((status.permissions() & (perms::group_read | perms::others_read)) == perms::none)
        return std::nullopt;
    return "warning: " + file.string() +
           " holds notice channel secrets and can be read by other users; "
           "run: chmod 600 '" +
           file.string() + "'";
#endif
}

}  // namespace notify
