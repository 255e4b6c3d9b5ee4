// Every campaign started as the new-game screen starts it (the set-up stage, then the campaign
// stage) for each of the eighteen combinations of the intervention options and fog of war: the
// state is sound, both armies stand as the campaign source lists them, every fortress is held by
// the garrison the source gives it, and the options change which reinforcements come.

#include "support/test_game.h"

#include "core/calendar.h"
#include "core/fingerprint.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "forces/invariants.h"
#include "turn/reinforcements.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace vezer {
namespace {

constexpr Date kStart[7] = {{1848, 12, 1}, {1848, 9, 1}, {1848, 12, 1}, {1849, 3, 1},
                            {1849, 6, 1},  {1848, 9, 1}, {1848, 12, 1}};
constexpr Date kEnd[7] = {{1849, 3, 1}, {1848, 12, 1}, {1849, 3, 1}, {1849, 6, 1},
                          {1849, 10, 1}, {1850, 1, 1}, {1849, 6, 1}};

// What a campaign source says of one corps.
struct SourceCorps {
    int general = 0;
    bool garrison = false;
    int city = 0;  // the fortress of a garrison
};

// The corps of each side in source order, read from assets/campaigns/c<N>.txt the way the author
// wrote them ("forces FILE" takes another campaign's corps whole).
std::array<std::vector<SourceCorps>, 3> ReadSourceCorps(int campaign) {
    const std::filesystem::path dir = std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets/campaigns";
    std::filesystem::path file = dir / ("c" + std::to_string(campaign) + ".txt");
    std::array<std::vector<SourceCorps>, 3> corps;
    for (int pass = 0; pass < 2; ++pass) {
        std::ifstream in(file);
        EXPECT_TRUE(in) << file;
        std::string forces;
        int side = 0;
        for (std::string line; std::getline(in, line);) {
            line = line.substr(0, line.find('#'));
            std::istringstream words(line);
            std::string key;
            if (!(words >> key)) continue;
            if (key == "forces") words >> forces;
            if (key == "side") words >> side;
            if (key != "corps" && key != "garrison") continue;
            SourceCorps c;
            c.garrison = key == "garrison";
            for (std::string k; words >> k;) {
                if (k == "general") words >> c.general;
                if (k == "city") words >> c.city;
            }
            corps[static_cast<std::size_t>(side)].push_back(c);
        }
        if (forces.empty()) break;
        file = dir / forces;
    }
    return corps;
}

// A game with the set-up stage done once: every start copies it, as a fresh program would have it.
const State& SetUpState() {
    static const std::unique_ptr<State> setUp = [] {
        testing::TestGame t;
        t.st().DataSet = 1;
        t.st().Language = 1;
        SetUpGame(t.g(), 1, testing::kTestSeed);
        return std::make_unique<State>(t.st());
    }();
    return *setUp;
}

struct Options {
    int russian, polish, fog;
};

void Start(testing::TestGame& t, int campaign, const Options& o, int difficulty = 2) {
    t.st() = SetUpState();
    CampaignChoices choices;
    choices.russianIntervention = o.russian;
    choices.polishIntervention = o.polish;
    choices.fogOfWar = o.fog;
    // The tutorial is always played on its own difficulty.
    choices.difficulty = campaign == kCampaignTutorial ? kTutorialDifficulty : difficulty;
    StartCampaign(t.g(), 1, campaign, choices);
}

// The side a nation fights for (its flag class; the Russians, class 3, with the imperial side).
int NationFlag(const State& st, int nation) {
    const int flag = nation >= 1 && nation <= kNationCount ? st.NationFlag[static_cast<std::size_t>(nation)] : 0;
    return flag == 3 ? 2 : flag;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

// The records that march in during the campaign: the weeks from its start to its end, each
// asking which records are due, as the weekly arrivals do.
std::set<int> ArrivalsOverTheCampaign(State st, int campaign) {
    std::set<int> arrived;
    for (Date d = kStart[campaign]; DateBefore(d, kEnd[campaign]); d = StepWeek(d, 1)) {
        st.Year = d.year;
        st.Month = d.month;
        st.Week = d.week;
        for (int k = 1; k <= st.ReinforcementCount; ++k)
            if (ReinforcementDue(st, k)) {
                st.Reinforcements[static_cast<std::size_t>(k)].Arrived = 1;
                arrived.insert(k);
            }
    }
    return arrived;
}

int MenOf(const State& st, const TErosites& r) {
    int men = 0;
    for (int u = 1; u <= r.Template.UnitCount && u <= kReinforcementUnits; ++u) {
        int type = r.Template.Units[static_cast<std::size_t>(u)];
        if (type > st.TypeCount) type -= 20;  // a veteran unit
        if (type < 1 || type > st.TypeCount || st.Types[static_cast<std::size_t>(type)].Arm == 3) continue;
        men += st.Types[static_cast<std::size_t>(type)].FullStrength * r.UnitFill[static_cast<std::size_t>(u)] / 100;
    }
    return men;
}

// The state a start leaves, checked against its campaign source and the chosen options.
void ExpectSoundStart(const State& st, int campaign, const Options& o,
                      const std::array<std::vector<SourceCorps>, 3>& source) {
    EXPECT_EQ(Joined(CheckInvariants(st)), "");
    EXPECT_EQ(Joined(CheckDerivedFigures(st)), "");
    EXPECT_EQ(st.Campaign, campaign);
    EXPECT_EQ(Today(st), kStart[campaign]);
    EXPECT_EQ((Date{st.EndYear, st.EndMonth, st.EndWeek}), kEnd[campaign]);
    EXPECT_EQ(st.RussianIntervention, o.russian);
    EXPECT_EQ(st.PolishIntervention, o.polish);
    EXPECT_EQ(st.FogOfWar, o.fog);
    EXPECT_EQ(st.ActiveSide, 1);

    for (int side = 1; side <= 2; ++side) {
        SCOPED_TRACE("side " + std::to_string(side));
        const auto& listed = source[static_cast<std::size_t>(side)];
        ASSERT_EQ(st.CorpsCount[side], static_cast<int>(listed.size()));
        EXPECT_GT(st.CityPoints[side], 0) << "a side without valued cities has lost already";
        int fieldCorps = 0;
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const THad& h = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)];
            const SourceCorps& s = listed[static_cast<std::size_t>(c - 1)];
            EXPECT_EQ(h.General, s.general) << "corps " << c;
            EXPECT_EQ(h.Garrison, s.garrison ? 1 : 0) << "corps " << c;
            EXPECT_GT(h.CavalryMen + h.InfantryMen, 0) << "corps " << c;
            if (!s.garrison) ++fieldCorps;
            // The Russians and the Polish Legion come only by the schedule, as the options say.
            EXPECT_NE(h.Nation, kRussianNation) << "corps " << c;
            EXPECT_NE(h.Nation, kPolishNation) << "corps " << c;
            for (int i = 1; i <= h.UnitCount; ++i) {
                const TEzred& e = st.Regiments[static_cast<std::size_t>(side)][static_cast<std::size_t>(h.Units[i])];
                EXPECT_NE(e.Nation, kRussianNation) << "corps " << c;
                EXPECT_NE(e.Nation, kPolishNation) << "corps " << c;
            }
        }
        EXPECT_GT(fieldCorps, 0) << "an army in the field";
    }

    // Every fortress is held by the side whose garrison the source puts into it, and that
    // garrison stands in it with its fortress guns.
    std::map<int, int> holder;
    for (int side = 1; side <= 2; ++side)
        for (const SourceCorps& s : source[static_cast<std::size_t>(side)])
            if (s.garrison) holder[s.city] = side;
    for (int city = 1; city <= kCityCount; ++city) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(city)];
        if (v.Kind != 3) {
            EXPECT_EQ(holder.count(city), 0u) << "a garrison in the town " << city;
            continue;
        }
        SCOPED_TRACE("fortress " + std::to_string(city));
        ASSERT_EQ(holder.count(city), 1u);
        EXPECT_EQ(v.Owner, holder[city]);
        ASSERT_TRUE(v.GarrisonCorps >= 1 && v.GarrisonCorps <= st.CorpsCount[v.Owner]);
        const THad& g = st.Corps[static_cast<std::size_t>(v.Owner)][static_cast<std::size_t>(v.GarrisonCorps)];
        EXPECT_EQ(g.Garrison, 1);
        EXPECT_EQ(g.X, v.X);
        EXPECT_EQ(g.Y, v.Y);
        EXPECT_EQ(g.General, source[static_cast<std::size_t>(v.Owner)][static_cast<std::size_t>(v.GarrisonCorps - 1)].general);
        bool fortressGuns = false;
        for (int i = 1; i <= g.UnitCount; ++i)
            fortressGuns |= st.Regiments[static_cast<std::size_t>(v.Owner)][static_cast<std::size_t>(g.Units[i])].Type == 14;
        EXPECT_TRUE(fortressGuns);
    }

    // A general whose corps is still to come is kept back until it does.
    for (int k = 1; k <= st.ReinforcementCount; ++k) {
        const TErosites& r = st.Reinforcements[static_cast<std::size_t>(k)];
        if (r.Arrived || r.Template.General == 0) continue;
        const TTabornok& g = st.Generals[static_cast<std::size_t>(r.Side)][static_cast<std::size_t>(r.Template.General)];
        EXPECT_EQ(g.Corps, 0) << "record " << k;
        EXPECT_EQ(g.Available, 0) << "record " << k;
    }
}

TEST(CampaignStart, EveryCampaignStartsSoundWithEveryInterventionAndFogOfWar) {
    testing::TestGame t;
    for (int c = 0; c <= 6; ++c) {
        const auto source = ReadSourceCorps(c);
        // Records per option: [nation 3 or 9][option] -> the records that come.
        std::map<std::pair<int, int>, std::set<int>> interventionArrivals;
        std::set<int> otherArrivals;
        bool first = true;
        for (int russian = 0; russian <= 2; ++russian)
            for (int polish = 0; polish <= 2; ++polish)
                for (int fog = 0; fog <= 1; ++fog) {
                    const Options o{russian, polish, fog};
                    SCOPED_TRACE("campaign " + std::to_string(c) + " russian " + std::to_string(russian) + " polish " +
                                 std::to_string(polish) + " fog " + std::to_string(fog));
                    ASSERT_NO_THROW(Start(t, c, o));
                    ExpectSoundStart(t.st(), c, o, source);
                    if (::testing::Test::HasFatalFailure()) return;

                    std::set<int> arrivals = ArrivalsOverTheCampaign(t.st(), c);
                    std::set<int> russians, poles, others;
                    for (int k : arrivals) {
                        const TErosites& r = t.st().Reinforcements[static_cast<std::size_t>(k)];
                        int nation = r.Template.Nation;
                        (nation == kRussianNation ? russians : nation == kPolishNation ? poles : others).insert(k);
                        if (nation == kRussianNation || nation == kPolishNation) {
                            const int option = nation == kRussianNation ? russian : polish;
                            EXPECT_NE(option, 0) << "record " << k << " came without its intervention";
                            if (option == 1) {
                                EXPECT_EQ(r.LimitedIntervention, 1) << "record " << k;
                            }
                        }
                    }
                    // The same records of each nation whatever the other option and fog of war.
                    std::set<int>& seenRussians = interventionArrivals[std::pair{kRussianNation, russian}];
                    std::set<int>& seenPoles = interventionArrivals[std::pair{kPolishNation, polish}];
                    if (polish == 0 && fog == 0) seenRussians = russians;
                    if (russian == 0 && fog == 0) seenPoles = poles;
                    if (first) otherArrivals = others;
                    EXPECT_EQ(seenRussians, russians);
                    EXPECT_EQ(seenPoles, poles);
                    EXPECT_EQ(otherArrivals, others);
                    first = false;
                }

        SCOPED_TRACE("campaign " + std::to_string(c));
        const State& st = t.st();
        for (int nation : {kRussianNation, kPolishNation}) {
            const auto& none = interventionArrivals[{nation, 0}];
            const auto& limited = interventionArrivals[{nation, 1}];
            const auto& full = interventionArrivals[{nation, 2}];
            EXPECT_TRUE(none.empty());
            // The full intervention brings everything the limited one does, and more where the
            // campaign's schedule has more.
            EXPECT_TRUE(std::includes(full.begin(), full.end(), limited.begin(), limited.end())) << "nation " << nation;
            for (int k = 1; k <= st.ReinforcementCount; ++k) {
                const TErosites& r = st.Reinforcements[static_cast<std::size_t>(k)];
                if (r.Template.Nation != nation || r.Arrived) continue;
                const Date when{r.Year, r.Month, r.Week};
                if (DateBefore(when, kStart[c]) || !DateBefore(when, kEnd[c])) continue;
                const std::size_t comesFull = c == kCampaignTutorial ? 0 : 1;
                const std::size_t comesLimited = c != kCampaignTutorial && r.LimitedIntervention == 1 ? 1 : 0;
                EXPECT_EQ(full.count(k), comesFull) << "record " << k;
                EXPECT_EQ(limited.count(k), comesLimited) << "record " << k;
            }
        }
        // What the options meant in the war: the Russian auxiliaries of Transylvania in the
        // winter, Panyutin's division in the summer even under the limited option, and the main
        // armies of June 1849 only under the full one; the Polish Legion under the limited one.
        auto men = [&](const std::set<int>& records) {
            int sum = 0;
            for (int k : records) sum += MenOf(st, st.Reinforcements[static_cast<std::size_t>(k)]);
            return sum;
        };
        const int russianLimited = men(interventionArrivals[{kRussianNation, 1}]);
        const int russianFull = men(interventionArrivals[{kRussianNation, 2}]);
        const int polishLimited = men(interventionArrivals[{kPolishNation, 1}]);
        const bool winterRussians = c == 2 || c == 5 || c == 6;
        const bool summerRussians = c == 4 || c == 5;
        const bool polishLegion = c >= 2 && c <= 5;
        EXPECT_EQ(russianLimited >= 3000, winterRussians || c == 3 || c == 4) << russianLimited;
        EXPECT_EQ(russianFull >= 100000, summerRussians) << russianFull;
        if (c == 4) {
            EXPECT_TRUE(russianLimited >= 5000 && russianLimited <= 20000) << russianLimited;
        }
        EXPECT_EQ(polishLimited >= 1000, polishLegion) << polishLimited;
        if (c == 6) {
            // The Transylvanian campaign keeps records 6 and 7 only.
            for (int k : interventionArrivals[{kRussianNation, 2}]) EXPECT_EQ(k, 6);
            for (int k : interventionArrivals[{kPolishNation, 2}]) ADD_FAILURE() << "Polish record " << k;
            EXPECT_EQ(otherArrivals, (std::set<int>{7}));
        }
    }
}

// The start file's generals are the roster's: the nation the file carries for each (it wins on
// load) is the one Data/Hadvez1.dat gives him, a corps is led by a general of its side's nations,
// and a Russian or Polish record by a general of its own nation (and Russians lead no other).
void ExpectTheRostersCommanders(const State& st, const State& roster) {
    for (int side = 1; side <= 2; ++side) {
        // A person's side may have had its roster topped up by generals created on the load.
        ASSERT_GE(st.GeneralCount[side], roster.GeneralCount[side]);
        for (int g = 1; g <= roster.GeneralCount[side]; ++g)
            EXPECT_EQ(st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)].Nation,
                      roster.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)].Nation)
                << "general " << side << "/" << g;
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const int g = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)].General;
            const int nation = roster.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)].Nation;
            EXPECT_EQ(NationFlag(st, nation), side) << "corps " << side << "/" << c << " general " << g;
            EXPECT_NE(nation, kRussianNation) << "corps " << side << "/" << c;
        }
    }
    for (int k = 1; k <= st.ReinforcementCount; ++k) {
        const TErosites& r = st.Reinforcements[static_cast<std::size_t>(k)];
        if (r.Template.General == 0) continue;
        const int nation = roster.Generals[static_cast<std::size_t>(r.Side)][static_cast<std::size_t>(r.Template.General)].Nation;
        EXPECT_EQ(r.Template.Nation == kRussianNation, nation == kRussianNation) << "record " << k;
        if (r.Template.Nation == kPolishNation) {
            EXPECT_EQ(nation, kPolishNation) << "record " << k;
        }
        EXPECT_EQ(NationFlag(st, nation), r.Side) << "record " << k;
    }
}

TEST(CampaignStart, TheStartFilesLoadThroughTheSetUpWithTheFiguresTheRulesCompute) {
    // A start file read as a saved game after the full set-up: the loader rebuilds every corps'
    // totals from its regiments, and saving and loading again gives the very same game.
    testing::TestGame t;
    for (int c = 0; c <= 6; ++c) {
        SCOPED_TRACE("campaign " + std::to_string(c));
        t.st() = SetUpState();
        ASSERT_NO_THROW(LoadGame(t.g(), CampaignStartFileName(1, c)));
        EXPECT_EQ(t.st().Campaign, c);
        EXPECT_EQ(Today(t.st()), kStart[c]);
        EXPECT_EQ(Joined(CheckInvariants(t.st())), "");
        EXPECT_EQ(Joined(CheckDerivedFigures(t.st())), "");
        ExpectTheRostersCommanders(t.st(), SetUpState());
        // Once its roster's top-ups are done (Transylvania takes two loads), it stays the same.
        Bytes saved = SaveGameBytes(t.st());
        t.st() = SetUpState();
        LoadGameFromBytes(t.g(), saved, "settle.sav");
        const std::uint64_t loaded = FullStateHash(t.st());
        saved = SaveGameBytes(t.st());
        t.st() = SetUpState();
        LoadGameFromBytes(t.g(), saved, "again.sav");
        EXPECT_EQ(FullStateHash(t.st()), loaded);
        EXPECT_EQ(SaveGameBytes(t.st()), saved);
    }
}

TEST(CampaignStart, EveryDifficultyStartsWithCorpsThatAddUp) {
    // Difficulty 1 recomputes every corps at the start; the others keep what the loader rebuilt.
    testing::TestGame t;
    for (int c = 1; c <= 6; ++c)
        for (int difficulty = 1; difficulty <= 3; difficulty += 2) {
            SCOPED_TRACE("campaign " + std::to_string(c) + " difficulty " + std::to_string(difficulty));
            ASSERT_NO_THROW(Start(t, c, Options{2, 1, 1}, difficulty));
            EXPECT_EQ(t.st().Difficulty, difficulty);
            EXPECT_EQ(Joined(CheckInvariants(t.st())), "");
            EXPECT_EQ(Joined(CheckDerivedFigures(t.st())), "");
        }
}

} // namespace
} // namespace vezer
