#pragma once
// An installed game: the executable in <prefix>/bin, the data, pictures, sounds and texts in
// <prefix>/share/vezer, read-only. Each user plays from a game folder of their own under the XDG
// data folder, which holds the saves and the settings and links the installed files.

#include <filesystem>
#include <string>

namespace vezer {

// The user's game folder when the executable is an installed one (made on first start, the
// installed files linked in, the settings files copied so they can be written); empty when the
// executable's own folder is the game folder (run from the build folder).
std::string InstalledGameDirectory(const std::filesystem::path& executableFolder);

} // namespace vezer
