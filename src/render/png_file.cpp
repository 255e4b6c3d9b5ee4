#include "render/png_file.h"

#include "core/binary_io.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

namespace vezer::render {

namespace {

void AppendData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

} // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) throw std::runtime_error("libpng could not start");
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not encode the picture");
    }
    png_set_write_fn(png, &out, AppendData, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    const auto stride = static_cast<std::size_t>(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png,
                      const_cast<png_bytep>(image.pixels().data() + static_cast<std::size_t>(y) * stride));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void WritePng(const std::filesystem::path& path, const Image& image) {
    const std::vector<std::uint8_t> bytes = EncodePng(image);
    WriteFileAtomic(path, bytes);
}

} // namespace vezer::render
