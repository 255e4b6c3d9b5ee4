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

// The compiled map files a campaign or reinforcement step reads from its output folder.
extern const std::vector<std::string> kCompiledMapFiles;
// Copies the named files of the compiled game directory's Data folder into `out`/Data.
void CopyCompiledData(const std::filesystem::path& out, const std::vector<std::string>& files);

// Writes a text file (UTF-8, as the sources are), creating its folders.
void WriteSource(const std::filesystem::path& file, const std::string& text);

} // namespace vezer::testing
