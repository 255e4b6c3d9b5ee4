#include "core/text.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace vezer {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length in bytes of the UTF-8 sequence starting with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert text");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; an input sequence the target cannot hold, or an invalid one, becomes '?'
    // and conversion goes on after it. `skip` gives the length of the bad input sequence.
    template <typename SkipFn> std::string Run(std::string_view in, SkipFn skip) {
        std::string out;
        out.reserve(in.size() * 2 + 4);
        char buffer[256];
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL: mark the character and step over it.
                out.push_back('?');
                std::size_t n = skip(static_cast<unsigned char>(*src), srcLeft);
                src += n;
                srcLeft -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

} // namespace

std::size_t CharCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if (!IsContinuation(c)) ++count;
    return count;
}

std::string_view CutToChars(std::string_view utf8, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuation(static_cast<unsigned char>(utf8[i]))) continue;
        if (chars == maxChars) return utf8.substr(0, i);
        ++chars;
    }
    return utf8;
}

std::string Cp1250ToUtf8(std::string_view cp1250) {
    Converter conv("UTF-8", "CP1250");
    return conv.Run(cp1250, [](unsigned char, std::size_t) { return std::size_t{1}; });
}

std::string Utf8ToCp1250(std::string_view utf8) {
    Converter conv("CP1250", "UTF-8");
    return conv.Run(utf8, [](unsigned char lead, std::size_t left) {
        std::size_t n = SequenceLength(lead);
        return n < left ? n : left;
    });
}

bool FitsCp1250(std::string_view utf8) {
    // A '?' of the text itself is fine, so compare the number of question marks.
    auto marks = [](std::string_view text) {
        std::size_t n = 0;
        for (char c : text) n += c == '?';
        return n;
    };
    return marks(Utf8ToCp1250(utf8)) == marks(utf8);
}

} // namespace vezer
