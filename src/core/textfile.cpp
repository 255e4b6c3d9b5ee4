#include "core/textfile.h"

#include "core/binary_io.h"
#include "core/text.h"

namespace vezer {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current.push_back(c);
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return lines;
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& path, const std::string& displayName) {
    Bytes bytes = ReadFileBytes(path, displayName);
    std::string raw(bytes.begin(), bytes.end());
    return SplitLines(Cp1250ToUtf8(raw));
}

std::vector<std::string> ReadTextLines(const GameDir& dir, std::string_view gameName) {
    return ReadTextLines(dir.Resolve(gameName), std::string(gameName));
}

void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += Utf8ToCp1250(line);
        text += "\r\n";
    }
    WriteFileAtomic(path, text);
}

} // namespace vezer
