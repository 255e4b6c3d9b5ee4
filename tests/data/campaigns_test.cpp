// The campaign start positions: the compiler refuses a start position that breaks a rule, and
// names the line.

#include "support/mkdata_runner.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vezer {
namespace {

using testing::RunMkdata;
using testing::TempDir;

std::filesystem::path ShippedCampaigns() { return std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets/campaigns"; }

// A copy of the shipped campaign sources under `assets`, to change at will.
std::filesystem::path CopyCampaigns(const std::filesystem::path& assets) {
    std::filesystem::create_directories(assets);
    std::filesystem::copy(ShippedCampaigns(), assets / "campaigns", std::filesystem::copy_options::recursive);
    return assets / "campaigns";
}

// The line number (from 1) of the first line of `file` that contains `text`.
int LineOf(const std::vector<std::string>& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos) return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no line contains " << text;
    return 0;
}

struct Edit {
    const char* what;
    const char* file;          // which source to change
    const char* find;          // the line to change, by a piece of it
    const char* replaceWith;   // the new text for that piece
    const char* message;       // what the refusal says
    const char* lineOf = nullptr;  // the refusal names the line holding this text (nullptr: the edited line)
};

TEST(CampaignSources, TheShippedCampaignsPassEveryCheck) {
    TempDir dir;
    CopyCampaigns(dir.path() / "assets");
    testing::CopyShippedSources(dir.path() / "assets", testing::kSourcesBesideTheCampaigns);
    auto run = RunMkdata("campaigns", dir.path() / "assets", dir.path() / "out");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (int c = 0; c <= 6; ++c)
        EXPECT_NE(run.output.find("campaign " + std::to_string(c) + " side 2:"), std::string::npos) << run.output;
}

TEST(CampaignSources, RefuseABrokenStartPositionNamingTheLine) {
    const std::vector<Edit> edits = {
        {"one general on two corps", "c2.txt", "corps general 6 city 5", "corps general 1 city 5",
         "general 1 already commands the corps of line"},
        {"a regiment of the other side's nation", "c2.txt", "  4 honved          850 35 75 80 75",
         "  4 honved          850 35 75 80 75 nation 6", "cannot serve side 1"},
        {"a corps nation of the other side", "c3.txt", "corps general 12 city 40 formation 3 tactic 3 facing 3 nation 1",
         "corps general 12 city 40 formation 3 tactic 3 facing 3 nation 2", "cannot serve side 1"},
        {"a fortress battery in the field", "c4.txt", "  2 heavy-battery     8 50 75 85 80",
         "  2 fortress-battery  8 50 75 85 80", "only in a fortress's garrison"},
        {"a garrison without fortress guns", "c1.txt", "  2 fortress-battery  8 30 70 80 90\n\ngarrison city 24",
         "  2 foot-battery      8 30 70 80 90\n\ngarrison city 24", "at least one fortress battery",
         "garrison city 14 general 36"},
        {"two garrisons in one fortress", "c0.txt", "garrison city 24 general 26", "garrison city 28 general 26",
         "already has its garrison", "garrison city 28 general 40"},
        {"a fortress left empty", "c3.txt",
         "garrison city 24 general 26 nation 1                                  # Munkács: Kazinczy Lajos\n"
         "  1 honved          700 30 65 80 85\n  1 national-guard  500 10 60 75 85\n  2 fortress-battery  8 30 70 80 90\n",
         "", "Munkács (24) has no garrison", ""},
        {"Bem before the revolution", "c1.txt", "corps general 10 city 1", "corps general 3 city 1",
         "Bem is not in Hungary"},
        {"a main-theatre general in Transylvania", "c6.txt", "corps general 2 hex 39,18", "corps general 1 hex 39,18",
         "keeps him away"},
        {"a general whose corps is still to come", "c2.txt", "corps general 39 city 22", "corps general 4 city 22",
         "arrives with record 24"},
        {"a start date that is not the campaign's", "c4.txt", "date 1849-6-1", "date 1849-6-2", "starts on 1849-6-1"},
        {"more than fifty regiments in a corps", "c4.txt", "  14 grenzer        900 50 75 85 85",
         "  44 grenzer        900 50 75 85 85", "at most 50 regiments",
         "corps general 2 city 44"},
        {"a corps on impassable ground", "c2.txt", "corps general 2 hex 39,18", "corps general 2 hex 47,10",
         "a corps on impassable ground"},
        {"a garrison above its fortress's room", "c1.txt", "  1 line            800 40 65 80 85",
         "  3 line            800 40 65 80 85", "which has room for 2000", "garrison city 14 general 36"},
        {"a corps in a town of the other side", "c3.txt", "corps general 17 hex 25,19", "corps general 17 city 54",
         "a town of the other side"},
        {"both sides on an open hex", "c3.txt", "corps general 17 hex 25,19", "corps general 17 hex 21,13",
         "both sides stand on one hex", "corps general 11 hex 21,13"},
        {"garrisons out of city order", "c2.txt", "garrison city 24 general 26", "garrison city 12 general 26",
         "come first, in city order"},
        {"an owner the city file does not know", "c2.txt", "options fog 1 russian 2 polish 1 difficulty 2\n",
         "options fog 1 russian 2 polish 1 difficulty 2\ncity 5 owner 2\n", "the two must agree", "city 5 owner 2"},
        {"a regiment type only the other side raises", "c2.txt",
         "# Wrbna's II Corps at Bruck on the Lajta\n  9 line",
         "# Wrbna's II Corps at Bruck on the Lajta\n  1 volunteer-horse 300 55 75 85 85\n  9 line",
         "volunteer-horse is raised by side 1 only", "  1 volunteer-horse 300 55 75 85 85"},
        {"imperial cuirassiers in a Hungarian corps", "c2.txt", "  3 hussars         700 55 80 80 75      # Nádor",
         "  3 heavy-horse     700 55 80 80 75      # Nádor", "heavy-horse is raised by side 2 only"},
        {"a Russian commander on the map at the start", "c2.txt", "corps general 11 hex 8,10",
         "corps general 25 hex 8,10", "is a Russian commander"},
        {"a Russian record under an imperial general", "reinforcements.txt",
         "hex 9,8  general 42  formation 2  campaigns 3,5", "hex 9,8  general 11  formation 2  campaigns 3,5",
         "is led by general 11 of nation 2"},
        {"an imperial record under a Russian general", "reinforcements.txt", "hex 32,1  general 5",
         "hex 32,1  general 27", "is led by general 27 of nation 3"},
        {"a figure above 100", "c3.txt", "  7 honved          850 50 90 85 80", "  7 honved          850 50 190 85 80",
         "0..100"},
    };
    for (const Edit& e : edits) {
        TempDir dir;
        std::filesystem::path campaigns = CopyCampaigns(dir.path() / "assets");
        std::filesystem::path file = campaigns / e.file;
        std::stringstream text;
        text << std::ifstream(file).rdbuf();
        std::string s = text.str();
        std::size_t at = s.find(e.find);
        ASSERT_NE(at, std::string::npos) << e.what;
        s.replace(at, std::string(e.find).size(), e.replaceWith);
        std::ofstream(file) << s;
        int line = 1 + static_cast<int>(std::count(s.begin(), s.begin() + static_cast<long>(at), '\n'));
        if (e.lineOf != nullptr) {
            std::istringstream in(s);
            std::vector<std::string> lines;
            for (std::string l; std::getline(in, l);) lines.push_back(l);
            line = *e.lineOf == 0 ? 0 : LineOf(lines, e.lineOf);
        }

        // With the shipped map, regiment types and rosters beside them.
        testing::CopyShippedSources(dir.path() / "assets", testing::kSourcesBesideTheCampaigns);
        auto run = RunMkdata("campaigns", dir.path() / "assets", dir.path() / "out");
        EXPECT_NE(run.exitCode, 0) << e.what;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/Data/kampany12.dat")) << e.what;
        EXPECT_NE(run.output.find(std::string(e.file) + ":"), std::string::npos) << e.what << "\n" << run.output;
        EXPECT_NE(run.output.find(e.message), std::string::npos) << e.what << "\n" << run.output;
        if (line > 0) {
            EXPECT_NE(run.output.find(":" + std::to_string(line) + ":"), std::string::npos) << e.what << "\n"
                                                                                            << run.output;
        }
    }
}

} // namespace
} // namespace vezer
