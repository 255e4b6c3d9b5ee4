// The data compiler is a function of the sources alone: each step run on an empty folder writes
// the very bytes the whole build wrote, so no step reads what an earlier one left behind, and
// none skips a check because an earlier output is missing.

#include "support/mkdata_runner.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vezer {
namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(DataCompiler, EachStepOnAnEmptyFolderWritesWhatTheWholeBuildWrote) {
    const std::filesystem::path assets = std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets";
    const std::filesystem::path built = testing::CompiledGameDir();
    // The steps that checked campaigns and reinforcements against earlier outputs, and the
    // earlier steps they read.
    for (const char* step : {"campaigns", "reinforcements", "map", "types", "generals"}) {
        SCOPED_TRACE(step);
        testing::TempDir dir;
        const auto run = testing::RunMkdata(step, assets, dir.path() / "out");
        ASSERT_EQ(run.exitCode, 0) << run.output;
        int files = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path() / "out")) {
            if (!entry.is_regular_file() || entry.path().filename() == "mkdata.log") continue;
            const auto relative = std::filesystem::relative(entry.path(), dir.path() / "out");
            ++files;
            ASSERT_TRUE(std::filesystem::exists(built / relative)) << relative;
            EXPECT_TRUE(FileText(entry.path()) == FileText(built / relative)) << relative << " differs";
        }
        EXPECT_GT(files, 0);
    }
}

} // namespace
} // namespace vezer
