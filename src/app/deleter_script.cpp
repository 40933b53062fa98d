#include "app/deleter_script.h"

namespace app {

namespace {

constexpr std::string_view kDeleteCall = "fso.DeleteFile(\"";
constexpr std::string_view kCallEnd = "\")";

bool is_plain_name(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

}  // namespace

std::string deleter_script_text(std::string_view program_dir, std::string_view program_name) {
    std::string script;
    script +=
        "  Dim fso\r\n  Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n  "
        "fso.DeleteFile(\"";
    script += program_dir;
    script += "\\";
    script += program_name;
    script += "\")";
    script += "\r\n  fso.DeleteFile(\"";
    script += program_dir;
    script += "\\";
    script += kDeleterScriptName;
    script += "\")";
    return script;
}

std::vector<std::string> deleter_script_targets(std::string_view script,
                                                std::string_view program_dir) {
    std::vector<std::string> names;
    const std::string prefix = std::string(program_dir) + "\\";
    std::size_t at = 0;
    while ((at = script.find(kDeleteCall, at)) != std::string_view::npos) {
        const std::size_t path_start = at + kDeleteCall.size();
        const std::size_t path_end = script.find(kCallEnd, path_start);
        if (path_end == std::string_view::npos)
            break;
        const std::string_view path = script.substr(path_start, path_end - path_start);
        if (path.starts_with(prefix)) {
            const std::string_view name = path.substr(prefix.size());
            if (is_plain_name(name))
                names.emplace_back(name);
        }
        at = path_end + kCallEnd.size();
    }
    return names;
}

}  // namespace app
