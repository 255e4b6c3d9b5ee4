// The compiled reference data read back as the game reads it: types, formations, generals,
// name pools, weather, texts and default settings. Expected values come from the history and
// from the data guide's printed tables, not from the compiler.

#include "core/binary_io.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/text.h"
#include "core/textfile.h"
#include "core/texts.h"
#include "support/test_game.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace vezer {
namespace {

using testing::CompiledGameDir;

Bytes ReadGameFile(const std::string& name) {
    GameDir dir(CompiledGameDir());
    return ReadFileBytes(dir.Resolve(name), name);
}

std::vector<std::string> ReadGameLines(const std::string& name) {
    return ReadTextLines(GameDir(CompiledGameDir()), name);
}

std::string RawText(const std::string& name) {
    Bytes raw = ReadGameFile(name);
    return std::string(raw.begin(), raw.end());
}

// --- Regiment types and formations ------------------------------------------------------

struct TypeRecord {
    int Arm, ArmClass, FullStrength, Combat, Defence, Observation, Visibility, Movement, Morale, Experience,
        Readiness, Supply, RecruitWeeks, SideOnly;
};

std::vector<TypeRecord> ReadTypes() {
    Bytes bytes = ReadGameFile("Data\\EzredAlap1.dat");
    EXPECT_EQ(bytes.size(), 211u * 4);
    BinaryReader in(bytes, "EzredAlap1.dat");
    std::vector<TypeRecord> types(1);
    int sum = 0;
    for (int t = 1; t <= 15; ++t) {
        std::array<int, 14> v{};
        for (int& x : v) {
            x = in.ReadInt();
            sum += x;
        }
        types.push_back(
            {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13]});
    }
    EXPECT_EQ(in.ReadInt(), sum % 2000);
    return types;
}

TEST(RegimentTypes, HonourEveryTypeNumberTheRulesUse) {
    std::vector<TypeRecord> types = ReadTypes();
    ASSERT_EQ(types.size(), 16u);
    // The guide's printed table sums to 20 552: check value 552.
    Bytes bytes = ReadGameFile("Data\\EzredAlap1.dat");
    BinaryReader in(bytes, "EzredAlap1.dat");
    for (int i = 0; i < 210; ++i) in.ReadInt();
    EXPECT_EQ(in.ReadInt(), 552);

    for (int t : {2, 4}) EXPECT_EQ(types[t].Arm, 1) << "type " << t << " converts between cavalry types";
    for (int t : {6, 7, 8, 10}) EXPECT_EQ(types[t].Arm, 2) << "type " << t;
    for (int t = 11; t <= 15; ++t) {
        EXPECT_EQ(types[t].Arm, 3) << "type " << t << " is one of the five captured-gun counters";
        EXPECT_EQ(types[t].FullStrength, 8) << "captured guns are cut into batteries of 8";
    }
    for (int t = 1; t <= 15; ++t) {
        bool classOne = types[t].Arm == 1 || t == 12; // the horse battery fights with the cavalry
        EXPECT_EQ(types[t].ArmClass, classOne ? 1 : 0) << "type " << t;
        EXPECT_GE(types[t].RecruitWeeks, 2) << "type " << t << " would never finish after a recruiting tour";
        EXPECT_GE(types[t].Movement, 1);
        EXPECT_LE(types[t].Combat, 100);
        EXPECT_LE(types[t].Defence, 100);
    }
    // Arms in order so a corps lists cavalry, infantry, artillery.
    for (int t = 2; t <= 15; ++t) EXPECT_LE(types[t - 1].Arm, types[t].Arm);
    // The levy: 5000 men, the figure an uprising adds at once; never chosen by city recruitment.
    EXPECT_EQ(types[6].FullStrength, 5000);
    EXPECT_GE(types[6].RecruitWeeks, 90);
    // Only the Hungarian side has volunteer horse and honvéd battalions; only the imperial side
    // heavy horse.
    EXPECT_EQ(types[2].SideOnly, 1);
    EXPECT_EQ(types[10].SideOnly, 1);
    EXPECT_EQ(types[3].SideOnly, 2);
    EXPECT_EQ(types[4].SideOnly, 0);
    EXPECT_EQ(types[7].SideOnly, 0); // national guards on both sides: Vienna's fight for Hungary
    // The siege guns are worthless in the open and the fortress guns slow.
    EXPECT_LT(types[13].Combat, types[11].Combat);
    EXPECT_LT(types[14].Movement, types[11].Movement);
}

TEST(RegimentTypes, NewRecruitsAndCapturedGunsStayWithinTheFigureRange) {
    // Recruits draw base + R(20) - 10 and captured batteries base + R(40) - 20, unclamped.
    std::vector<TypeRecord> types = ReadTypes();
    for (int t = 1; t <= 15; ++t) {
        for (int v : {types[t].Experience, types[t].Readiness, types[t].Supply}) {
            EXPECT_GE(v - 9, 0) << "type " << t;
            EXPECT_LE(v + 10, 100) << "type " << t;
        }
        if (types[t].Arm != 3) continue;
        for (int v : {types[t].Morale, types[t].Experience, types[t].Readiness, types[t].Supply}) {
            EXPECT_GE(v - 19, 0) << "type " << t;
            EXPECT_LE(v + 20, 100) << "type " << t;
        }
    }
}

TEST(Formations, SevenRowsWithTheGuidesCheckValue) {
    Bytes bytes = ReadGameFile("Data\\Formacio1.dat");
    ASSERT_EQ(bytes.size(), 29u * 4);
    BinaryReader in(bytes, "Formacio1.dat");
    std::array<std::array<int, 4>, 8> f{};
    for (int i = 1; i <= 7; ++i)
        for (int& v : f[i]) v = in.ReadInt();
    EXPECT_EQ(in.ReadInt(), 1810);
    for (int i = 1; i <= 7; ++i) {
        EXPECT_GE(f[i][1], 1);
        EXPECT_LE(f[i][1], 120);
        EXPECT_GT(f[i][2], 0);
        EXPECT_GT(f[i][3], 0);
    }
    EXPECT_EQ(f[2][1], 120);     // the march column is the fastest
    EXPECT_GT(f[3][3], f[4][3]); // defence defends better than attack
    EXPECT_GT(f[4][2], f[3][2]); // and attack attacks better
    for (int i = 2; i <= 7; ++i) EXPECT_LT(f[i][0], f[1][0]) << "rest recovers readiness fastest";
    for (int i = 1; i <= 6; ++i) EXPECT_GT(f[i][3], f[7][3]) << "disorder is the weakest defence";
}

// --- Generals ---------------------------------------------------------------------------

struct GeneralRecord {
    int Attack = 0, Defence = 0, Initiative = 0, Nation = 0, Ability = 0;
    std::string Family, Given;
    bool present = false;
};

class Rosters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Bytes bytes = ReadGameFile("Data\\Hadvez1.dat");
        BinaryReader in(bytes, "Hadvez1.dat");
        int a = in.ReadByte(), b = in.ReadByte();
        ASSERT_EQ(a, 42);
        ASSERT_EQ(b, 60);
        for (int i = 0; i < 5; ++i) in.ReadByte();
        int sum = a + b;
        for (int r = 0; r < a + b; ++r) {
            std::array<int, 7> v{};
            for (int& x : v) {
                x = in.ReadByte();
                sum += x;
            }
            ASSERT_TRUE(v[0] == 1 || v[0] == 2);
            ASSERT_GE(v[1], 1);
            ASSERT_LE(v[1], v[0] == 1 ? 42 : 60);
            GeneralRecord& g = roster[v[0]][v[1]];
            ASSERT_FALSE(g.present) << "general " << v[1] << " of side " << v[0] << " twice";
            g = {v[2], v[3], v[4], v[5], v[6], "", "", true};
        }
        ASSERT_EQ(in.ReadByte(), sum % 200);
        ASSERT_TRUE(in.AtEnd());
        std::vector<std::string> names = ReadGameLines("Data\\Tab_nevek1.dat");
        ASSERT_EQ(names.size(), 204u);
        std::size_t n = 0;
        for (int side = 1; side <= 2; ++side)
            for (int i = 1; i <= (side == 1 ? 42 : 60); ++i) {
                roster[side][i].Family = names[n++];
                roster[side][i].Given = names[n++];
            }
    }
    static const GeneralRecord& G(int side, int i) { return roster[side][i]; }
    static std::string Name(int side, int i) { return G(side, i).Family + " " + G(side, i).Given; }
    static inline std::array<std::array<GeneralRecord, 61>, 3> roster{};
};

TEST_F(Rosters, EveryGeneralOnceWithValidRatingsNationsAndNames) {
    for (int side = 1; side <= 2; ++side)
        for (int i = 1; i <= (side == 1 ? 42 : 60); ++i) {
            const GeneralRecord& g = G(side, i);
            ASSERT_TRUE(g.present) << side << "/" << i;
            EXPECT_GE(g.Defence, 1) << Name(side, i);
            for (int r : {g.Attack, g.Defence, g.Initiative}) {
                EXPECT_GE(r, 1);
                EXPECT_LE(r, 10);
            }
            EXPECT_LE(g.Ability, 9);
            std::set<int> nations = side == 1 ? std::set<int>{1, 9} : std::set<int>{2, 3, 4, 5, 6, 8};
            EXPECT_TRUE(nations.count(g.Nation)) << Name(side, i) << " nation " << g.Nation;
            EXPECT_FALSE(g.Family.empty());
            EXPECT_FALSE(g.Given.empty());
            EXPECT_LE(CharCount(g.Family), 15u);
            EXPECT_LE(CharCount(g.Given), 15u);
        }
}

TEST_F(Rosters, TheHardCodedGeneralsAreWhoTheRulesMean) {
    // General 3 of side 1 is kept away until the Vienna rising, then commands its recruits.
    EXPECT_EQ(Name(1, 3), "Bem József");
    EXPECT_EQ(G(1, 3).Ability, 4) << "Bem was a master of artillery";
    EXPECT_EQ(G(1, 3).Nation, 1) << "Bem led Hungarian armies";
    EXPECT_EQ(Name(1, 1), "Görgei Artúr");
    EXPECT_EQ(Name(1, 5), "Damjanich János");
    EXPECT_EQ(Name(2, 1), "Windisch-Grätz Alfred");
    EXPECT_EQ(Name(2, 2), "Jelačić Josip");
    EXPECT_EQ(G(2, 2).Nation, 6) << "the Ban leads the Croats";
    EXPECT_EQ(Name(2, 4), "Haynau Julius");
    EXPECT_EQ(Name(2, 7), "Paskevich Ivan");
    EXPECT_EQ(G(2, 7).Nation, 3);
    EXPECT_EQ(Name(2, 32), "Iancu Avram");
    EXPECT_EQ(G(2, 32).Nation, 5);
    // The great commanders (sum 16 or more) are kept for large commands.
    for (auto [side, i] : {std::pair{1, 1}, {1, 3}, {1, 4}, {1, 5}, {2, 4}, {2, 5}})
        EXPECT_GE(G(side, i).Attack + G(side, i).Defence + G(side, i).Initiative, 16) << Name(side, i);
}

TEST_F(Rosters, TheTransylvanianCampaignKeepsOnlyTheTransylvanianCommanders) {
    // The generals the rules take away in the Transylvanian campaign.
    const std::set<int> away1 = {1, 4, 5, 6, 12, 13, 16, 17, 18, 19, 20, 25, 27, 30, 33, 34, 35, 39, 42};
    const std::set<int> away2 = {1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 15, 16, 18, 20, 22, 23, 26, 30,
                                 31, 35, 37, 38, 39, 40, 42, 43, 45, 46, 47, 49, 50, 51, 54, 55, 57, 58};
    // Who fought in Transylvania (our reading of the history, independent of the sources).
    const std::vector<std::string> transylvanian1 = {"Bem József",      "Czetz János",   "Gábor Áron",
                                                     "Gál Sándor",      "Kemény Farkas", "Baldacci Manó",
                                                     "Bethlen Gergely", "Hatvani Imre",  "Vasvári Pál"};
    const std::vector<std::string> mainTheatre1 = {"Görgei Artúr", "Klapka György", "Damjanich János",
                                                   "Perczel Mór", "Guyon Richárd"};
    const std::vector<std::string> transylvanian2 = {"Puchner Anton",    "Urban Karl",
                                                     "Lüders Alexander", "Clam-Gallas Eduard",
                                                     "Iancu Avram",      "Axente Sever Ioan"};
    const std::vector<std::string> mainTheatre2 = {"Paskevich Ivan", "Rüdiger Fyodor",  "Panyutin Fyodor",
                                                   "Haynau Julius",  "Hentzi Heinrich", "Knićanin Stevan"};
    auto indexOf = [](int side, const std::string& name) {
        for (int i = 1; i <= (side == 1 ? 42 : 60); ++i)
            if (Name(side, i) == name) return i;
        ADD_FAILURE() << name << " is not in the roster of side " << side;
        return 0;
    };
    for (const std::string& n : transylvanian1) EXPECT_FALSE(away1.count(indexOf(1, n))) << n << " must stay";
    for (const std::string& n : mainTheatre1) EXPECT_TRUE(away1.count(indexOf(1, n))) << n << " must leave";
    for (const std::string& n : transylvanian2) EXPECT_FALSE(away2.count(indexOf(2, n))) << n << " must stay";
    for (const std::string& n : mainTheatre2) EXPECT_TRUE(away2.count(indexOf(2, n))) << n << " must leave";
    // The Romanian insurgents and the Transylvanian Saxons fought only in Transylvania.
    for (int i = 1; i <= 60; ++i) {
        if (G(2, i).Nation == 5 || G(2, i).Nation == 8) {
            EXPECT_FALSE(away2.count(i)) << Name(2, i);
        }
    }
}

TEST_F(Rosters, DefensiveCommandsFindTheFortressCommanders) {
    // A defensive pick takes the highest defence among free generals of the nation with an
    // attack below 6 (first in index order on ties).
    auto defensive = [](int side, int nation) {
        int best = 0;
        for (int i = 1; i <= (side == 1 ? 42 : 60); ++i) {
            const GeneralRecord& g = G(side, i);
            if (g.Nation != nation || g.Attack >= 6) continue;
            if (best == 0 || g.Defence > G(side, best).Defence) best = i;
        }
        return best;
    };
    EXPECT_EQ(Name(2, defensive(2, 2)), "Hentzi Heinrich");
    EXPECT_EQ(Name(2, defensive(2, 6)), "Rukavina Georg");
    EXPECT_EQ(Name(2, defensive(2, 5)), "Iancu Avram");
    // The Hungarian side's steadiest defender with a modest attack is a Komárom or Tisza general.
    int h = defensive(1, 1);
    EXPECT_GE(G(1, h).Defence, 6) << Name(1, h);
}

// --- Name pools -------------------------------------------------------------------------

TEST(NamePools, SixPoolsOfTwentyFiveNamesAndHungarianLettersSurvive) {
    for (int p = 1; p <= 3; ++p)
        for (const char* kind : {"knev", "vnev"}) {
            std::string name = std::string("Data\\") + kind + std::to_string(p) + ".dat";
            std::vector<std::string> lines = ReadGameLines(name);
            ASSERT_EQ(lines.size(), 25u) << name;
            std::set<std::string> distinct(lines.begin(), lines.end());
            EXPECT_EQ(distinct.size(), 25u) << name;
            for (const std::string& l : lines) {
                EXPECT_FALSE(l.empty());
                EXPECT_LE(CharCount(l), 15u) << l;
            }
        }
    std::vector<std::string> hungarian = ReadGameLines("Data\\vnev1.dat");
    EXPECT_TRUE(std::count(hungarian.begin(), hungarian.end(), "Szűcs"));
    EXPECT_TRUE(std::count(hungarian.begin(), hungarian.end(), "Szőke"));
    std::string raw = RawText("Data\\vnev1.dat");
    EXPECT_NE(raw.find("Sz\xFB"
                       "cs\r\n"),
              std::string::npos);                           // ű is 0xFB
    EXPECT_NE(raw.find("Sz\xF5ke\r\n"), std::string::npos); // ő is 0xF5
    EXPECT_EQ(ReadGameLines("Data\\knev2.dat")[0], "Franz");
    EXPECT_EQ(ReadGameLines("Data\\vnev3.dat")[0], "Ivanov");
}

// --- Weather ----------------------------------------------------------------------------

TEST(WeatherTable, MonthsFollowTheClimateAndEveryDrawCanEnd) {
    Bytes bytes = ReadGameFile("Data\\Idojaras1.dat");
    ASSERT_EQ(bytes.size(), 97u);
    int sum = 0;
    for (int i = 0; i < 96; ++i) sum += bytes[i];
    EXPECT_EQ(bytes[96], sum % 200);
    EXPECT_EQ(bytes[96], 6) << "the guide's printed table has check byte 6";
    auto at = [&](int month, int field) {
        return static_cast<int>(bytes[static_cast<std::size_t>((month - 1) * 8 + field)]);
    };
    for (int m = 1; m <= 12; ++m) {
        int w1 = at(m, 0), w2 = at(m, 1), w3 = at(m, 2), t1 = at(m, 4), t2 = at(m, 5);
        // r = 1..100 gives weather 1 for r < W1: a mild week needs W1 - 1 + W2 + W3 > 0 and a
        // frosty one weather 1, 2 or 4; weather 4 always keeps r = 100.
        EXPECT_GE(w1 + w2, 2) << "month " << m;
        EXPECT_LE(w1 + w2 + w3, 100);
        EXPECT_LE(t1 + t2, 100);
        EXPECT_LE(at(m, 7), 1);
        EXPECT_EQ(w1 + w2 + w3 + at(m, 3), 100);
        EXPECT_EQ(t1 + t2 + at(m, 6), 100);
    }
    for (int m : {12, 1, 2}) EXPECT_GE(at(m, 4), 50) << "frost rules the winter, month " << m;
    for (int m : {6, 7, 8}) EXPECT_EQ(at(m, 4), 0) << "no frost in summer, month " << m;
    for (int m : {7, 8}) EXPECT_GE(at(m, 6), 80) << "hot summer, month " << m;
    for (int m : {3, 4, 5, 6}) EXPECT_EQ(at(m, 7), 1) << "spring floods, month " << m;
    for (int m : {1, 7, 8, 9}) EXPECT_EQ(at(m, 7), 0) << "frozen or dry, month " << m;
    EXPECT_GT(at(6, 2), at(1, 2)) << "June rains more than January";
}

// --- Texts ------------------------------------------------------------------------------

class TextFiles : public ::testing::Test {
protected:
    testing::TestGame tg;
    void Load(int language) {
        tg.st().DataSet = 1;
        tg.st().TypeCount = 15;
        LoadTexts(tg.g(), language);
    }
};

TEST_F(TextFiles, HungarianFillsEveryTable) {
    Load(1);
    const TextTables& tx = tg.st().Texts;
    std::vector<std::string> terrain;
    for (const auto& t : tx.TerrainName) terrain.push_back(t.str());
    EXPECT_EQ(terrain, (std::vector<std::string>{"Síkság", "Erdő", "Mocsár", "Hegyvidék", "Járhatatlan"}));
    EXPECT_EQ(tx.EntrenchmentName[0].str(), "");
    EXPECT_EQ(tx.EntrenchmentName[2].str(), "Erős sánc");
    EXPECT_EQ(tx.WeatherText[4].str(), "Havazás");
    EXPECT_EQ(tx.GroundText[2].str(), "Sáros");
    EXPECT_EQ(tx.TemperatureText[2].str(), "Hűvös");
    EXPECT_EQ(tx.RiverText[3].str(), "Zajlás");
    EXPECT_EQ(tx.DanubeText[4].str(), "Befagyott");
    EXPECT_EQ(tx.TacticName[3].str(), "Vakmerő");
    EXPECT_EQ(tg.st().Formations[1].Name.str(), "Pihenő");
    EXPECT_EQ(tg.st().Formations[7].Name.str(), "Zűrzavar");
    EXPECT_EQ(tx.SizeClassName[3].str(), " hadteste");
    EXPECT_EQ(tx.ActivityName[11].str(), "Sáncépítés");
    EXPECT_EQ(tx.ActivityName[12].str(), "Erődítés");
    EXPECT_EQ(tx.ActivityName[1].str(), "");
    EXPECT_EQ(tx.AbilityName[0].str(), "");
    EXPECT_EQ(tx.AbilityName[1].str(), "Erőltetett menet");
    EXPECT_EQ(tx.AbilityName[9].str(), "Felderítő");
    EXPECT_NE(tx.AbilityText[8].str().find("Dunán"), std::string::npos);
    EXPECT_EQ(tg.st().Types[10].Name.str(), "honvédzászlóalj");
    EXPECT_EQ(tg.st().Types[6].Name.str(), "népfelkelés");
    EXPECT_EQ(tx.NationName[1].str(), "magyar");
    EXPECT_EQ(tx.NationName[5].str(), "román");
    EXPECT_EQ(tx.NationName[11].str(), "olasz");
    for (int i = 1; i <= 9; ++i) {
        EXPECT_FALSE(tx.AbilityName[i].empty()) << i;
        EXPECT_FALSE(tx.AbilityText[i].empty()) << i;
    }
    for (int t = 1; t <= 15; ++t) EXPECT_FALSE(tg.st().Types[t].Name.empty()) << t;
    for (int n = 1; n <= 11; ++n) EXPECT_FALSE(tx.NationName[n].empty()) << n;
}

TEST_F(TextFiles, EnglishFillsEveryTable) {
    Load(2);
    const TextTables& tx = tg.st().Texts;
    EXPECT_EQ(tx.TerrainName[0].str(), "Plain");
    EXPECT_EQ(tx.TerrainName[4].str(), "Impassable");
    EXPECT_EQ(tx.EntrenchmentName[1].str(), "Earthworks");
    EXPECT_EQ(tx.WeatherText[1].str(), "Fair");
    EXPECT_EQ(tx.TemperatureText[1].str(), "Frost");
    EXPECT_EQ(tx.RiverText[2].str(), "High water");
    EXPECT_EQ(tx.TacticName[1].str(), "Cautious");
    EXPECT_EQ(tg.st().Formations[2].Name.str(), "March column");
    EXPECT_EQ(tg.st().Formations[6].Name.str(), "Withdrawal");
    EXPECT_EQ(tx.SizeClassName[1].str(), "'s brigade");
    EXPECT_EQ(tx.ActivityName[11].str(), "Entrenching");
    EXPECT_EQ(tx.AbilityName[2].str(), "Siege expert");
    EXPECT_EQ(tx.AbilityName[8].str(), "River crossing");
    EXPECT_EQ(tg.st().Types[5].Name.str(), "Jäger battalion");
    EXPECT_EQ(tg.st().Types[15].Name.str(), "12-pdr battery");
    EXPECT_EQ(tx.NationName[7].str(), "Viennese");
    EXPECT_EQ(tx.NationName[9].str(), "Polish");
}

TEST_F(TextFiles, LayoutAndEncodingOnDisk) {
    for (int language : {1, 2}) {
        std::string base = "Data\\alapszoveg" + std::to_string(language) + ".dat";
        std::string scenario = "Data\\palyaszoveg" + std::to_string(language) + "1.dat";
        EXPECT_EQ(ReadGameLines(base).size(), 107u);
        EXPECT_EQ(ReadGameLines(scenario).size(), 33u);
        std::string raw = RawText(base);
        EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 107);
        EXPECT_EQ(std::count(raw.begin(), raw.end(), '\r'), 107) << "every line ends CR LF";
        for (const std::string& line : ReadGameLines(base)) EXPECT_LE(CharCount(line), 120u) << line;
        std::vector<std::string> names = ReadGameLines(scenario);
        for (std::size_t i = 4; i < 19; ++i) EXPECT_LE(CharCount(names[i]), 20u) << "type name " << names[i];
        for (std::size_t i = 22; i < 33; ++i)
            EXPECT_LE(CharCount(names[i]), 12u) << "nation name " << names[i];
    }
    std::string hu = RawText("Data\\alapszoveg1.dat");
    EXPECT_NE(hu.find("\r\nErd\xF5\r\n"), std::string::npos);     // Erdő: ő is 0xF5
    EXPECT_NE(hu.find("\r\nH\xFBv\xF6s\r\n"), std::string::npos); // Hűvös: ű is 0xFB
    EXPECT_NE(RawText("Data\\palyaszoveg11.dat").find("k\xF6nny\xFBlovas ezred"), std::string::npos);
}

TEST_F(TextFiles, RegimentTitlesReadAsAPlayerExpects) {
    Load(1);
    State& st = tg.st();
    st.RegimentCount[1] = 1;
    TEzred& r = st.Regiment(1, 1);
    r.Ordinal = 12;
    r.Nation = 1;
    r.Type = 10;
    EXPECT_EQ(RegimentTitle(st, 1, 1), "12. magyar honvédzászlóalj");
    r.Type = 4;
    r.Nation = 3;
    Load(2);
    EXPECT_EQ(RegimentTitle(st, 1, 1), "12. Russian hussar regiment");
    EXPECT_LE(CharCount(RegimentTitle(st, 1, 1)), 35u);
}

// --- Settings files ---------------------------------------------------------------------

TEST(SettingsFiles, DefaultsAreWhatTheMenuAndTheNewGameScreenExpect) {
    EXPECT_EQ(ReadGameLines("Data\\setup.dat"), std::vector<std::string>{"101004"});
    std::vector<std::string> list = ReadGameLines("Data\\beallitasok.dat");
    ASSERT_GE(list.size(), 18u);
    for (int i : {2, 4, 6, 8, 10})
        EXPECT_GT(std::stoi(list[static_cast<std::size_t>(i)].substr(0, 4)), 0) << i;
    EXPECT_EQ(list[12], "1");
    EXPECT_EQ(list[14], "I");
    EXPECT_EQ(list[16], "I");
    EXPECT_EQ(list[17], "játékos");
    // Person against the computer, "százados", the historical interventions, fog on, tutorial.
    EXPECT_EQ(ReadGameLines("Data\\onesetup.dat"),
              (std::vector<std::string>{"2", "1", "2", "3", "2", "2", "0"}));
    std::vector<std::string> bonus = ReadGameLines("data\\ai_bonusz.dat");
    ASSERT_EQ(bonus.size(), 5u);
    EXPECT_EQ(bonus[2], "-10");
    EXPECT_EQ(bonus[4], "10");
}

} // namespace
} // namespace vezer
