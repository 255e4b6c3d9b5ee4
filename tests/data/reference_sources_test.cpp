// mkdata refuses a reference source that breaks a rule of the data, names the source line and
// writes nothing.

#include "support/test_game.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace vezer {
namespace {

using testing::TempDir;

struct MkdataRun {
    int status = 0;
    std::string output;
};

// Copies assets/ into a scratch folder, so one source can be broken without touching ours.
class BrokenSource : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path assets() const { return dir.path() / "assets"; }
    std::filesystem::path out() const { return dir.path() / "game"; }

    void SetUp() override { FreshCopy(); }
    void FreshCopy() {
        std::filesystem::remove_all(assets());
        std::filesystem::remove_all(out());
        std::filesystem::copy(std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets", assets(),
                              std::filesystem::copy_options::recursive);
    }

    // Replaces cell `column` of the first data line that starts with `rowStart` and returns
    // that line's number (counted from 1).
    int BreakCell(const std::string& relative, const std::string& rowStart, std::size_t column,
                  const std::string& value) {
        std::filesystem::path file = assets() / relative;
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind(rowStart, 0) != 0) continue;
            std::vector<std::string> cells;
            std::stringstream ss(lines[i]);
            for (std::string c; std::getline(ss, c, '\t');) cells.push_back(c);
            cells.at(column) = value;
            std::string joined;
            for (std::size_t c = 0; c < cells.size(); ++c) joined += (c ? "\t" : "") + cells[c];
            lines[i] = joined;
            std::ofstream o(file, std::ios::trunc);
            for (const std::string& l : lines) o << l << "\n";
            return static_cast<int>(i) + 1;
        }
        ADD_FAILURE() << "no line starting with '" << rowStart << "' in " << relative;
        return 0;
    }

    MkdataRun Mkdata(const std::string& step) {
        std::string cmd = std::string("\"") + VEZER_TEST_MKDATA + "\" " + step + " --assets \"" +
                          assets().string() + "\" --out \"" + out().string() + "\" 2>&1";
        MkdataRun run;
        FILE* pipe = popen(cmd.c_str(), "r");
        if (!pipe) return {-1, "popen failed"};
        char buf[512];
        while (std::fgets(buf, sizeof buf, pipe)) run.output += buf;
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    // Runs the step and expects it to fail with an error at file:line that says `says`.
    void ExpectRefused(const std::string& step, const std::string& file, int line, const std::string& says) {
        MkdataRun run = Mkdata(step);
        EXPECT_NE(run.status, 0) << file << ":" << line;
        std::string where =
            std::filesystem::path(file).filename().string() + ":" + std::to_string(line) + ":";
        EXPECT_NE(run.output.find(where), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(says), std::string::npos) << run.output;
    }
    bool Written(const char* name) const { return std::filesystem::exists(out() / "Data" / name); }
};

TEST_F(BrokenSource, OurOwnSourcesCompile) {
    for (const char* step : {"types", "generals", "names", "weather", "texts", "settings"}) {
        MkdataRun run = Mkdata(step);
        EXPECT_EQ(run.status, 0) << step << ": " << run.output;
    }
    EXPECT_TRUE(std::filesystem::exists(out() / "Data" / "Hadvez1.dat"));
}

TEST_F(BrokenSource, ATypeRecruitedInOneWeekIsRefused) {
    // Type 2, volunteer horse: weeks is the sixteenth column.
    ExpectRefused("types", "types.tsv", BreakCell("types/types.tsv", "2\t", 15, "1"),
                  "weeks must be at least 2");
    EXPECT_FALSE(Written("EzredAlap1.dat"));
    EXPECT_FALSE(Written("Formacio1.dat"));
}

TEST_F(BrokenSource, AnArtilleryTypeOfOtherThanEightGunsIsRefused) {
    ExpectRefused("types", "types.tsv", BreakCell("types/types.tsv", "13\t", 5, "12"), "8 guns");
}

TEST_F(BrokenSource, AGeneralWithoutDefenceIsRefused) {
    // Hentzi, side 2 general 10: defence is the fifth column.
    ExpectRefused("generals", "side2.tsv", BreakCell("generals/side2.tsv", "10\t", 4, "0"),
                  "defence 0 is outside 1..10");
    EXPECT_FALSE(Written("Hadvez1.dat"));
    EXPECT_FALSE(Written("Tab_nevek1.dat"));
}

// One broken cell of one source, the step that compiles it and what the error must say.
struct BrokenCell {
    const char* file;
    const char* row;
    std::size_t column;
    const char* value;
    const char* step;
    const char* says;
};

TEST_F(BrokenSource, EachMistakeIsRefusedAtItsLine) {
    const BrokenCell cases[] = {
        {"generals/side1.tsv", "3\t", 8, "leaves", "generals", "keeps him"}, // Bem marked main theatre
        {"generals/side2.tsv", "7\t", 8, "stays", "generals",
         "takes him away"}, // Paskevich marked Transylvanian
        {"generals/side1.tsv", "41\t", 6, "2", "generals", "cannot lead side 1"},
        {"generals/side2.tsv", "4\t", 7, "10", "generals", "ability"},
        {"generals/side1.tsv", "5\t", 1, "Damjanich-Csernovics", "generals", "15"},
        {"generals/side2.tsv", "9\t", 0, "8", "generals", "out of order"},
        {"texts/base.tsv", "ability\t3\t", 3, "Steady gunners \xE2\x98\x83", "texts", "Windows-1250"},
        {"texts/base.tsv", "formation\t2\t", 1, "3", "texts", "expected formation 2"},
        {"texts/nations.tsv", "10\t", 1, "2", "texts", "flag class 0"},
        {"types/types.tsv", "4\t", 2, "hussar regiment of the line", "texts", "more than 20"},
        {"weather/months.tsv", "7\t", 1, "0", "weather", "remainder"},
        {"weather/months.tsv", "1\t", 5, "80", "weather", "frost + cool"},
        {"names/pools.tsv", "3\t", 2, "Nagy", "names", "already in this pool"},
    };
    for (const BrokenCell& c : cases) {
        FreshCopy();
        int line = BreakCell(c.file, c.row, c.column, c.value);
        MkdataRun run = Mkdata(c.step);
        EXPECT_NE(run.status, 0) << c.file << " " << c.row;
        std::string where =
            std::filesystem::path(c.file).filename().string() + ":" + std::to_string(line) + ":";
        EXPECT_NE(run.output.find(where), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    }
}

TEST_F(BrokenSource, ATextLineTooLongIsRefused) {
    // A terrain name keeps 15 characters in the game.
    ExpectRefused("texts", "base.tsv", BreakCell("texts/base.tsv", "terrain\t1\t", 2, "Erdős-ligetes táj"),
                  "more than 15");
    EXPECT_FALSE(Written("alapszoveg1.dat"));
    EXPECT_FALSE(Written("palyaszoveg21.dat"));
}

TEST_F(BrokenSource, AMonthWithoutAWeatherForMildWeeksIsRefused) {
    // Fair 1 and overcast 0: r < 1 never happens, so a week without frost could only be rain.
    BreakCell("weather/months.tsv", "9\t", 1, "1");
    BreakCell("weather/months.tsv", "9\t", 2, "0");
    ExpectRefused("weather", "months.tsv", BreakCell("weather/months.tsv", "9\t", 4, "79"),
                  "fair + overcast must be at least 2");
    EXPECT_FALSE(Written("Idojaras1.dat"));
}

} // namespace
} // namespace vezer
