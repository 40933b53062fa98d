// korvel-deleter OWNER-PID SCRIPT: waits until the process OWNER-PID has
// ended, then carries out the deleter script SCRIPT ("tem.vbs"): each file it
// deletes, in its order, provided the file lies directly in the script's own
// directory (the script deletes itself last).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "app/deleter_script.h"
#include "text/codepage.h"
#include "wait_for_exit.h"

namespace {

std::filesystem::path from_utf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string to_utf8(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    char* end = nullptr;
    const long owner = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || owner <= 0)
        return 2;
    const std::filesystem::path script(argv[2]);

    deleter::wait_for_exit(owner);

    const std::filesystem::path dir = script.parent_path();
    const std::string dir_gbk = text::utf8_to_gbk(to_utf8(dir));
    for (const std::string& name : app::deleter_script_targets(read_file(script), dir_gbk)) {
        std::error_code ec;
        std::filesystem::remove(dir / from_utf8(text::gbk_to_utf8(name)), ec);
    }
    return 0;
}
