#pragma once
// A picture of a sound for the eye: the waveform above, the spectrogram below (time across,
// frequency up, loudness as heat), written as a PNG.

#include "ogg_io.h"

#include <filesystem>

namespace mksound {

// `span` seconds from the start (0: the whole sound).
void WriteSoundPicture(const std::filesystem::path& png, const PcmSound& sound, double span = 0.0);

} // namespace mksound
