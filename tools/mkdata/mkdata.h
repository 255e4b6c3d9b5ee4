#pragma once
// The data compiler's shared pieces: reading the readable sources under assets/ and writing
// the game's binary files into the game directory.

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace mkdata {

// An error in a source file, with the file and line it comes from.
class SourceError : public std::runtime_error {
public:
    SourceError(const std::filesystem::path& file, int line, const std::string& what)
        : std::runtime_error(file.string() + ":" + std::to_string(line) + ": " + what) {}
};

struct Context {
    std::filesystem::path assets;  // the readable sources
    std::filesystem::path out;     // the game directory (Data/, save/, ...)
};

// A "key value" source: '#' starts a comment; blank lines are skipped.
struct KeyValues {
    std::filesystem::path file;
    std::map<std::string, std::pair<std::string, int>> values;  // key -> (value, line)
    std::string Get(const std::string& key) const;
    long long GetInt(const std::string& key) const;
};
KeyValues ReadKeyValues(const std::filesystem::path& file);

// Writes bytes to the game directory (the folders are created as needed).
void WriteOutput(const Context& ctx, const std::string& relativePath, const std::vector<std::uint8_t>& bytes);

// One compiler per family of data files.
void CompileRandomTable(const Context& ctx);
// The reference data: regiment types and formations, the two rosters of generals, the name
// pools, the weather table, the text files and the default settings.
void CompileTypes(const Context& ctx);
void CompileGenerals(const Context& ctx);
void CompileNamePools(const Context& ctx);
void CompileWeather(const Context& ctx);
void CompileTexts(const Context& ctx);
void CompileSettings(const Context& ctx);
// The map of 1848: terrain, roads, rivers, the seven city files, city names and the click mask.
void CompileMap(const Context& ctx);
void CompileReinforcements(const Context& ctx);
void CompileCampaigns(const Context& ctx);
void CompileCampaignTexts(const Context& ctx);

} // namespace mkdata
