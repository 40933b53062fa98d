#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it when the owner goes.
#include <filesystem>
#include <string>

namespace test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::filesystem::path& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// A file's bytes, empty when it cannot be read.
std::string file_bytes(const std::filesystem::path& file);

}  // namespace test
