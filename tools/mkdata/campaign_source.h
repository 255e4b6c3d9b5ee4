#pragma once
// The readable sources of the campaigns: the seven start positions (assets/campaigns/c<N>.txt)
// and the reinforcement schedule (assets/campaigns/reinforcements.txt). Parsing only: every
// value keeps the source line it came from, so the checks that follow can name it.

#include "mkdata.h"

#include "core/data_set.h"
#include "core/game.h"

#include <array>
#include <memory>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mkdata {

inline constexpr int kCampaignCount = vezer::kCampaignCount;  // 0 tutorial .. 6 Transylvania

struct SourceDate {
    int year = 0, month = 0, week = 0;
    auto operator<=>(const SourceDate&) const = default;
};

// The start date each campaign's start file must carry, and the week it ends (the game's
// campaign calendar).
SourceDate CampaignStartDate(int campaign);
SourceDate CampaignEndDate(int campaign);

// Cities 1 and 60..75 make up the principality of Transylvania (the numbering of the city table).
bool InTransylvania(int city);

// Regiment type by its source name ("line", "hussars", "fortress-battery") or number.
// Returns 0 for a name we do not know.
int TypeFromName(const std::string& word);
const char* TypeName(int type);

// One line of regiments: `count` regiments alike.
struct UnitLine {
    int line = 0;
    int count = 0;
    int type = 0;
    int men = 0;
    int experience = 0, morale = 0, readiness = 0, supply = 0;
    int nation = 0;  // 0 = the corps' nation
};

struct CorpsSource {
    int line = 0;
    int side = 0;
    bool garrison = false;
    int city = 0;        // garrison: its fortress; field corps: the city whose hex it stands on (0 = by hex)
    int x = -1, y = -1;  // by hex (field corps without a city)
    int general = 0;
    int formation = 0, tactic = 2, direction = -1, nation = 0;
    int task = 0, role = 0;  // 0 = the usual for a garrison or a field corps
    int objectiveX = -1, objectiveY = -1;
    std::vector<UnitLine> units;
};

struct CitySource {
    int line = 0;
    int city = 0;
    int owner = 0;         // 0 = as the campaign's city file has it
    int fortStrength = 0;  // 0 = as the city file has it
};

// Generals who can no longer be given a command on the start date (fallen, captured, relieved).
struct AwaySource {
    int line = 0;
    int side = 0;
    std::vector<int> generals;
};

struct CampaignSource {
    std::filesystem::path file;
    int campaign = -1, campaignLine = 0;
    SourceDate date;
    int dateLine = 0;
    std::array<int, 3> zeal{};
    int zealLine = 0;
    int fog = 1, russian = 2, polish = 1, difficulty = 2;
    std::vector<CitySource> cities;
    std::vector<AwaySource> away;
    std::vector<CorpsSource> corps;
    std::filesystem::path forcesFile;  // the file the cities and corps come from when not this one
};

struct ReinforcementUnit {
    int line = 0;
    int type = 0;  // + 20 for a veteran unit
    int fill = 0;
};

struct ReinforcementSource {
    int line = 0;
    int number = 0;
    SourceDate date;
    int side = 0, nation = 0, limited = 0;
    int x = -1, y = -1;
    int general = 0;
    int formation = 2;
    std::set<int> campaigns;  // the campaigns whose start files expect it (Arrived 0 there)
    std::vector<ReinforcementUnit> units;
};

struct ReinforcementSchedule {
    std::filesystem::path file;
    std::vector<ReinforcementSource> records;
};

CampaignSource ReadCampaignSource(const std::filesystem::path& file);
ReinforcementSchedule ReadReinforcementSchedule(const std::filesystem::path& file);

// Where the sources live under the assets folder.
std::filesystem::path CampaignSourcePath(const std::filesystem::path& assets, int campaign);
std::filesystem::path ReinforcementSourcePath(const std::filesystem::path& assets);

// The regiment-type figures the campaign checks need, from the checked type sources.
struct TypeTable {
    std::array<int, 16> arm{}, fullStrength{}, sideOnly{}, recruitWeeks{};
};
TypeTable ReadTypeTable(const Context& ctx);

// The roster's nation of every general of both sides, from the checked roster sources.
using RosterNations = std::array<std::array<int, vezer::kMaxGenerals + 1>, 3>;
RosterNations ReadRosterNations(const Context& ctx);

// The map as the map step compiles it from the sources, read through the game's own readers:
// the terrain and one campaign's city file at a time.
class CompiledMap {
public:
    explicit CompiledMap(const Context& ctx);
    ~CompiledMap();
    CompiledMap(const CompiledMap&) = delete;
    CompiledMap& operator=(const CompiledMap&) = delete;

    void UseCampaign(int campaign);  // loads Data/Varos1<campaign>.dat
    int Terrain(int x, int y) const;
    bool Passable(int x, int y) const { return Terrain(x, y) <= 3; }
    const vezer::TVaros& City(int city) const;
    int CityAt(int x, int y) const;        // 0 for none
    int NearestCity(int x, int y) const;   // by distance on the map picture
    vezer::Game& game();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The reinforcement schedule, read and checked on its own (every rule that needs no other file).
// With `map`, also where each record arrives.
ReinforcementSchedule ReadCheckedReinforcements(const Context& ctx, const CompiledMap* map = nullptr);
// The seven start positions, read and checked against every start-position rule: the sources'
// own, the schedule's and the map's.
std::vector<CampaignSource> ReadCheckedCampaigns(const Context& ctx, const ReinforcementSchedule& sched,
                                                 CompiledMap& map);
// A checked campaign assembled as the game state its start file holds: KeepReinforcementDates 1,
// the garrisons first, each record Arrived unless the campaign expects it.
std::unique_ptr<vezer::State> AssembleStartState(const Context& ctx, const CampaignSource& src,
                                                 const ReinforcementSchedule& sched, CompiledMap& map);
// The bytes of a start file, written with the game's SaveGame and read back with its reader.
std::vector<std::uint8_t> WriteStartFile(const vezer::State& st);

// The bytes of Data/Erosites1.dat with their check value.
std::vector<std::uint8_t> EncodeReinforcements(const ReinforcementSchedule& sched);

} // namespace mkdata
