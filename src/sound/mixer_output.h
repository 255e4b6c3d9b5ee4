#pragma once
// The speakers through SDL_mixer. The only place in the game that knows SDL_mixer.

#include "sound/sound.h"

#include <functional>
#include <memory>
#include <string_view>

namespace vezer::sound {

// Where the sound output says what went wrong (the program's log: standard error).
using SoundLog = std::function<void(std::string_view)>;

// Opens the sound device and returns the speakers. Without a device (none present, or the
// machine refuses it) the game plays silently: the log says so once and a silent output is
// returned. Each file that cannot be read is named in the log once.
std::unique_ptr<AudioOutput> OpenSpeakers(SoundLog log);

} // namespace vezer::sound
