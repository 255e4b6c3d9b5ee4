#include "core/paths.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace vezer {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> SplitComponents(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (i > start) parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// The entry of `dir` named `component`: the exact name when it exists, else the first entry
// (in sorted order, so the choice never depends on the directory's order) matching without case.
std::filesystem::path MatchComponent(const std::filesystem::path& dir, std::string_view component) {
    std::error_code ec;
    std::filesystem::path exact = dir / std::string(component);
    if (std::filesystem::exists(exact, ec)) return exact;
    std::vector<std::string> candidates;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, component)) candidates.push_back(entry);
    }
    if (candidates.empty()) return exact;
    std::sort(candidates.begin(), candidates.end());
    return dir / candidates.front();
}

} // namespace

std::filesystem::path GameDir::Resolve(std::string_view gameName) const {
    std::filesystem::path path = root_;
    for (std::string_view component : SplitComponents(gameName)) path = MatchComponent(path, component);
    return path;
}

bool GameDir::Exists(std::string_view gameName) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(Resolve(gameName), ec);
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find("..") != std::string_view::npos) return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return c == '/' || c == '\\' || c == '\0'; });
}

} // namespace vezer
