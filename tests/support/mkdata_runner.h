#pragma once
// Runs the data compiler on a source tree of the test's own making, so a test can see which
// sources it accepts, what it writes and which line it names when it refuses.

#include <filesystem>
#include <string>
#include <vector>

namespace vezer::testing {

struct MkdataRun {
    int exitCode = 0;
    std::string output;  // standard output and error together
};

// `mkdata <step> --assets <assets> --out <out>`.
MkdataRun RunMkdata(const std::string& step, const std::filesystem::path& assets, const std::filesystem::path& out);

// The sources the campaign and reinforcement steps check against besides their own: the map,
// the regiment types and the rosters.
extern const std::vector<std::string> kSourcesBesideTheCampaigns;
// Copies the named folders of the shipped assets into `assets`.
void CopyShippedSources(const std::filesystem::path& assets, const std::vector<std::string>& folders);

// Writes a text file (UTF-8, as the sources are), creating its folders.
void WriteSource(const std::filesystem::path& file, const std::string& text);

} // namespace vezer::testing
