#pragma once
// What korvel-check asks of the operating system. Only program_location.cpp
// knows which one it runs on.
#include <filesystem>

namespace cli {

// The directory of the running executable; empty when it cannot be told.
std::filesystem::path executable_directory();

// Whether stderr goes to a terminal (and progress lines can be shown there).
bool stderr_is_terminal();

}  // namespace cli
