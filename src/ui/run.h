#pragma once
// The window game: `vezer` without a command, and the scripted harness
// `vezer --script FILE --shots DIR [--size WxH]`.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vezer::ui {

class App;
class SoundSink;

// Makes the speakers once the window is up (they go before the window does); none: silence.
using SoundMaker = std::function<std::unique_ptr<SoundSink>(App&)>;

// Runs the window game with the arguments after the program name; returns the exit code
// (2 for bad arguments, 3 for a script command that could not be carried out).
int RunWindowGame(const std::string& gameDir, const std::vector<std::string>& args,
                  const SoundMaker& makeSound = {});

} // namespace vezer::ui
