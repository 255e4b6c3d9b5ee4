#pragma once
// Text files of the game: Windows-1250 on disk, lines ending CR LF (LF alone is accepted).

#include "core/paths.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vezer {

// The lines of a text file, decoded to UTF-8. A missing file is a FileIoError naming it.
std::vector<std::string> ReadTextLines(const GameDir& dir, std::string_view gameName);
std::vector<std::string> ReadTextLines(const std::filesystem::path& path, const std::string& displayName);
// Splits decoded text into lines (CR LF, LF or a lone CR end a line; no empty last line).
std::vector<std::string> SplitLines(std::string_view text);
// Writes the lines encoded to Windows-1250 with CR LF, atomically.
void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

} // namespace vezer
