#pragma once
// The program's own skin: a flat Qt style sheet carried inside the program as
// a skin file (".SHE", a zero byte, then the sheet), written to the per-user
// data directory at every start and applied to the application before the
// window first shows.
#include <QString>
#include <string_view>

namespace app {

// The embedded skin file, byte for byte.
std::string_view skin_block();

// The style sheet of a skin file; empty when the bytes are not one.
std::string_view skin_style_sheet(std::string_view skin_file);

inline constexpr std::string_view kSkinFileName = "win8.she";

// The per-user data directory the skin file is written to.
QString default_skin_dir();

// Writes the skin file into dir (created when missing; a failure is skipped),
// reads it back and applies its style sheet to the application; a file that
// cannot be read or is no skin gives way to the embedded block.
void install_skin_into(const QString& dir);

}  // namespace app
