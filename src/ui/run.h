#pragma once
// The window game: `vezer` without a command, and the scripted harness
// `vezer --script FILE --shots DIR [--size WxH]`.

#include <string>
#include <vector>

namespace vezer::ui {

// Runs the window game with the arguments after the program name; returns the exit code
// (2 for bad arguments, 3 for a script command that could not be carried out).
int RunWindowGame(const std::string& gameDir, const std::vector<std::string>& args);

} // namespace vezer::ui
