#pragma once
// Pictures as PNG files, through libpng.

#include "render/image.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vezer::render {

// The picture encoded as an 8-bit RGBA PNG.
std::vector<std::uint8_t> EncodePng(const Image& image);
// Writes the PNG atomically; a failure is a FileIoError and leaves any earlier file in place.
void WritePng(const std::filesystem::path& path, const Image& image);

} // namespace vezer::render
