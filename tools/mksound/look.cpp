#include "look.h"

#include "dsp.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <complex>
#include <cstdio>
#include <stdexcept>

namespace mksound {

namespace {

constexpr int kWidth = 900, kWaveHeight = 160, kSpectrumHeight = 256;
constexpr std::size_t kFft = 1024;

void Fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * kPi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wn = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k, wn *= w) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * wn;
                a[i + k] = u + v, a[i + k + len / 2] = u - v;
            }
        }
    }
}

std::array<png_byte, 3> Heat(double v) {
    v = std::clamp(v, 0.0, 1.0);
    const double r = std::clamp(3.0 * v, 0.0, 1.0), g = std::clamp(3.0 * v - 1.0, 0.0, 1.0),
                 b = std::clamp(3.0 * v - 2.0, 0.0, 1.0);
    return {static_cast<png_byte>(r * 255), static_cast<png_byte>(g * 255), static_cast<png_byte>(b * 255)};
}

} // namespace

void WriteSoundPicture(const std::filesystem::path& file, const PcmSound& sound, double span) {
    const int height = kWaveHeight + kSpectrumHeight;
    std::vector<png_byte> rgb(static_cast<std::size_t>(kWidth * height * 3), 20);
    auto put = [&](int x, int y, std::array<png_byte, 3> c) {
        if (x < 0 || y < 0 || x >= kWidth || y >= height) return;
        std::copy(c.begin(), c.end(), rgb.begin() + (static_cast<std::ptrdiff_t>(y) * kWidth + x) * 3);
    };
    std::vector<float> mono(sound.channels[0].size(), 0.0f);
    for (const auto& ch : sound.channels)
        for (std::size_t i = 0; i < mono.size(); ++i)
            mono[i] += ch[i] / static_cast<float>(sound.channels.size());
    if (span > 0.0) mono.resize(std::min(mono.size(), static_cast<std::size_t>(span * sound.rate)));
    const std::size_t n = mono.size();
    // The waveform: the highest and lowest sample under each column; a line at -6 dB.
    for (int x = 0; x < kWidth; ++x) {
        const std::size_t a = n * x / kWidth, b = std::max(a + 1, n * (x + 1) / kWidth);
        float lo = 0, hi = 0;
        for (std::size_t i = a; i < b && i < n; ++i) lo = std::min(lo, mono[i]), hi = std::max(hi, mono[i]);
        const int mid = kWaveHeight / 2;
        for (int y = mid - static_cast<int>(hi * mid); y <= mid - static_cast<int>(lo * mid); ++y)
            put(x, y, {120, 200, 120});
        put(x, mid - mid / 2, {90, 90, 90});
        put(x, mid + mid / 2, {90, 90, 90});
    }
    // The spectrogram, 0 to half the rate, 80 dB of range.
    std::vector<std::complex<double>> frame(kFft);
    for (int x = 0; x < kWidth; ++x) {
        const std::size_t centre = n * x / kWidth;
        for (std::size_t k = 0; k < kFft; ++k) {
            const std::ptrdiff_t i =
                static_cast<std::ptrdiff_t>(centre + k) - static_cast<std::ptrdiff_t>(kFft / 2);
            const double s =
                i >= 0 && static_cast<std::size_t>(i) < n ? mono[static_cast<std::size_t>(i)] : 0.0;
            frame[k] = s * (0.5 - 0.5 * std::cos(2 * kPi * k / kFft));
        }
        Fft(frame);
        for (int y = 0; y < kSpectrumHeight; ++y) {
            const std::size_t bin = (kFft / 2) * static_cast<std::size_t>(y) / kSpectrumHeight;
            const double db = 20.0 * std::log10(std::abs(frame[bin]) / (kFft / 4) + 1e-9);
            put(x, height - 1 - y, Heat((db + 80.0) / 80.0));
        }
    }
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error(file.string() + ": cannot create");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        throw std::runtime_error(file.string() + ": cannot write");
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, kWidth, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + static_cast<std::ptrdiff_t>(y) * kWidth * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

} // namespace mksound
