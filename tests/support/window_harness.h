#pragma once
// Runs the real window game under SDL's dummy video driver with a script of input, in a game
// directory of its own (the settings it writes never touch the build's), and compares its
// screenshots with the committed references in tests/ui/references.
//
// VEZER_UPDATE_REFERENCES=1 makes every compared shot the new reference (look at them first).

#include <filesystem>
#include <string>
#include <vector>

namespace vezer::test {

struct ScriptRun {
    int exitCode = -1;
    std::string output; // stderr and stdout of the game
    std::filesystem::path gameDir;
    std::filesystem::path shots;
};

// Runs tests/ui/scripts/<script>.txt. `extraArgs` go after the script options (e.g. --size).
ScriptRun RunWindowScript(const std::string& script, const std::vector<std::string>& extraArgs = {});

struct ShotComparison {
    bool same = false;
    std::string detail; // what differs, for the failure message
};

// Compares shots/<name>.png with the reference of the same name, tolerating small differences
// (font hinting): at most 0.5 % of the pixels may differ by more than 48 in a channel.
ShotComparison CompareWithReference(const ScriptRun& run, const std::string& name);

} // namespace vezer::test
