#include "mkdata.h"

#include "core/binary_io.h"

#include <fstream>
#include <sstream>

namespace mkdata {

std::string KeyValues::Get(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end()) throw SourceError(file, 0, "missing key '" + key + "'");
    return it->second.first;
}

long long KeyValues::GetInt(const std::string& key) const {
    std::string text = Get(key);
    try {
        std::size_t used = 0;
        long long v = std::stoll(text, &used);
        if (used != text.size()) throw std::invalid_argument(text);
        return v;
    } catch (const std::exception&) {
        throw SourceError(file, values.at(key).second, "'" + key + "' is not a whole number: " + text);
    }
}

KeyValues ReadKeyValues(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw SourceError(file, 0, "cannot open");
    KeyValues kv;
    kv.file = file;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key, value;
        if (!(words >> key)) continue;
        if (!(words >> value)) throw SourceError(file, number, "key '" + key + "' has no value");
        kv.values[key] = {value, number};
    }
    return kv;
}

void WriteOutput(const Context& ctx, const std::string& relativePath, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path target = ctx.out / relativePath;
    std::filesystem::create_directories(target.parent_path());
    vezer::WriteFileAtomic(target, bytes);
}

} // namespace mkdata
