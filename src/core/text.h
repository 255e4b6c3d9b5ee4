#pragma once
// Texts: UTF-8 in memory, Windows-1250 on disk. Every length limit of the game counts
// characters of the Windows-1250 text, so a cut never splits a Hungarian letter.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vezer {

// Number of characters (code points) in a UTF-8 text.
std::size_t CharCount(std::string_view utf8);
// The first `maxChars` characters of a UTF-8 text.
std::string_view CutToChars(std::string_view utf8, std::size_t maxChars);

// Windows-1250 bytes to UTF-8 and back (iconv). A character that Windows-1250 cannot hold,
// and a byte that is not valid in the source encoding, become '?'.
std::string Cp1250ToUtf8(std::string_view cp1250);
std::string Utf8ToCp1250(std::string_view utf8);
// True when every character of the UTF-8 text has a Windows-1250 byte.
bool FitsCp1250(std::string_view utf8);

// A short text of at most N characters, stored in place so records stay plain values.
template <int N> struct ShortText {
    static constexpr int kMaxChars = N;
    std::array<char, 4 * N + 1> bytes{};

    ShortText() = default;
    ShortText(std::string_view utf8) { assign(utf8); } // NOLINT: texts convert implicitly

    void assign(std::string_view utf8) {
        std::string_view cut = CutToChars(utf8, N);
        std::size_t n = cut.size() < 4 * N ? cut.size() : 4 * N;
        for (std::size_t i = 0; i < n; ++i) bytes[i] = cut[i];
        for (std::size_t i = n; i < bytes.size(); ++i) bytes[i] = 0;
    }
    ShortText& operator=(std::string_view utf8) {
        assign(utf8);
        return *this;
    }
    std::string_view view() const { return std::string_view(bytes.data()); }
    std::string str() const { return std::string(view()); }
    bool empty() const { return bytes[0] == 0; }
    bool operator==(const ShortText& other) const { return view() == other.view(); }
};

} // namespace vezer
