#pragma once
// The window game's speakers: the sound module behind the screen's sound calls.

#include "ui/app.h"

#include <memory>

namespace vezer::app {

// The game's sound for this window: the sound device through SDL_mixer, or silence when the
// machine has none (said once on standard error). A scripted run (the test harness) is
// always silent, so tests neither need nor disturb a sound device; with VEZER_SOUND_LOG set
// it writes what it was asked to play into that file instead.
std::unique_ptr<ui::SoundSink> MakeSpeakers(ui::App& app);

} // namespace vezer::app
