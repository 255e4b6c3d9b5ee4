#pragma once
// The game directory and the game's own file names ("Data\\core.dat", "data\\kampany11.dat",
// "save\\PBEM.sav"). The rules spell folders in mixed case; on Linux each component is matched
// without regard to case, so every spelling finds the same file.

#include <filesystem>
#include <string>
#include <string_view>

namespace vezer {

class GameDir {
public:
    GameDir() = default;
    explicit GameDir(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& Root() const { return root_; }
    // The path of a game file name: "\\" and "/" both separate components; each component
    // takes the spelling found on disk when one matches without regard to case, otherwise
    // its own (for files about to be created).
    std::filesystem::path Resolve(std::string_view gameName) const;
    bool Exists(std::string_view gameName) const;

private:
    std::filesystem::path root_ = ".";
};

// A file name that came from outside (the other machine, a turn file, a dialog): accepted
// only as a plain name with no folder separators and no "..". Returns false otherwise.
bool IsPlainFileName(std::string_view name);

} // namespace vezer
