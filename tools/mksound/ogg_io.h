#pragma once
// Ogg Vorbis files: written by the sound tool, read back by it and by the tests.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace mksound {

struct PcmSound {
    int rate = 0;
    std::vector<std::vector<float>> channels; // one vector per channel, all of one length
};

// Writes atomically (a temporary file renamed over the target). `serial` names the stream, so
// the same sound gives the same bytes. Throws std::runtime_error on failure.
void WriteOgg(const std::filesystem::path& file, const PcmSound& sound, float quality, int serial);

// Decodes a whole file. Throws std::runtime_error naming the file when it is no Vorbis file.
PcmSound ReadOgg(const std::filesystem::path& file);

} // namespace mksound
