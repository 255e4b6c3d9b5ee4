// The seven campaign start files: assets/campaigns/c0.txt .. c6.txt, checked against every rule
// of a start position and against the reinforcement schedule.

#include "campaign_source.h"
#include "mkdata.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace mkdata {

namespace {

// The fortresses whose places and pictures the rules fix; every start position garrisons each.
constexpr std::array<int, 10> kFortresses = {14, 24, 28, 31, 36, 42, 46, 47, 60, 61};
constexpr int kVienna = 3;
constexpr int kBem = 3;  // side 1, general 3: away from Hungary until the revolution in Vienna
constexpr std::array<int, 3> kGeneralCount = {0, 42, 60};

// The commanders the Transylvanian campaign keeps out of the field.
constexpr std::array<int, 19> kAwayFromTransylvania1 = {1,  4,  5,  6,  12, 13, 16, 17, 18, 19,
                                                        20, 25, 27, 30, 33, 34, 35, 39, 42};
constexpr std::array<int, 36> kAwayFromTransylvania2 = {1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 15, 16,
                                                        18, 20, 22, 23, 26, 30, 31, 35, 37, 38, 39, 40,
                                                        42, 43, 45, 46, 47, 49, 50, 51, 54, 55, 57, 58};

bool AwayFromTransylvania(int side, int general) {
    if (side == 1) return std::find(kAwayFromTransylvania1.begin(), kAwayFromTransylvania1.end(), general) !=
                          kAwayFromTransylvania1.end();
    return std::find(kAwayFromTransylvania2.begin(), kAwayFromTransylvania2.end(), general) !=
           kAwayFromTransylvania2.end();
}

// Cities 1 and 60..75 make up the principality (the numbering of the city table).
bool InTransylvania(int city) { return city == 1 || (city >= 60 && city <= 75); }

bool CorpsNationOfSide(int side, int nation) {
    if (side == 1) return nation == 1 || nation == 9;
    return nation >= 2 && nation <= 8 && nation != 7;
}

bool RegimentNationOfSide(int side, int nation) {
    if (side == 1) return nation == 1 || nation == 7 || nation == 9 || nation == 10 || nation == 11;
    return (nation >= 2 && nation <= 6) || nation == 8 || nation == 10 || nation == 11;
}

struct Checker {
    const CampaignSource& src;
    std::filesystem::path forcesFile;

    [[noreturn]] void Fail(int line, const std::string& what) const { throw SourceError(forcesFile, line, what); }
    [[noreturn]] void FailHeader(int line, const std::string& what) const { throw SourceError(src.file, line, what); }
};

void CheckHeader(const Checker& ck, int campaign) {
    const CampaignSource& s = ck.src;
    if (s.campaign != campaign)
        ck.FailHeader(s.campaignLine, "this file is campaign " + std::to_string(campaign) + ", not " +
                                          std::to_string(s.campaign));
    SourceDate start = CampaignStartDate(campaign);
    if (s.date != start)
        ck.FailHeader(s.dateLine, "campaign " + std::to_string(campaign) + " starts on " + std::to_string(start.year) +
                                      "-" + std::to_string(start.month) + "-" + std::to_string(start.week));
    for (int side = 1; side <= 2; ++side)
        if (s.zeal[static_cast<std::size_t>(side)] < 0 || s.zeal[static_cast<std::size_t>(side)] > 100)
            ck.FailHeader(s.zealLine, "zeal is 0..100");
    if ((s.fog != 0 && s.fog != 1) || s.russian < 0 || s.russian > 2 || s.polish < 0 || s.polish > 2 ||
        s.difficulty < 1 || s.difficulty > 3)
        ck.FailHeader(0, "options: fog 0..1, russian and polish 0..2, difficulty 1..3");
}

void CheckCities(const Checker& ck) {
    std::set<int> seen;
    for (const CitySource& c : ck.src.cities) {
        if (c.city < 1 || c.city > 75) ck.Fail(c.line, "city 1..75");
        if (!seen.insert(c.city).second) ck.Fail(c.line, "city " + std::to_string(c.city) + " is given twice");
        if (c.owner < 0 || c.owner > 2) ck.Fail(c.line, "owner is 1 or 2");
        if (c.fortStrength < 0 || c.fortStrength > 10) ck.Fail(c.line, "fortress level is 1..10");
        bool fortress = std::find(kFortresses.begin(), kFortresses.end(), c.city) != kFortresses.end();
        if (c.fortStrength > 0 && !fortress) ck.Fail(c.line, "only a fortress has walls to batter");
    }
}

void CheckUnits(const Checker& ck, const CorpsSource& c, const std::optional<TypeTable>& types) {
    int total = 0, fortressBatteries = 0;
    if (c.units.empty()) ck.Fail(c.line, "a corps without regiments");
    for (const UnitLine& u : c.units) {
        total += u.count;
        if (u.type == 14) fortressBatteries += u.count;
        if (u.type == 14 && !c.garrison) ck.Fail(u.line, "fortress batteries serve only in a fortress's garrison");
        if (u.men < 1) ck.Fail(u.line, "a regiment has at least one man");
        for (int figure : {u.experience, u.morale, u.readiness, u.supply})
            if (figure < 0 || figure > 100) ck.Fail(u.line, "experience, morale, readiness and supply are 0..100");
        int nation = u.nation != 0 ? u.nation : c.nation;
        if (!RegimentNationOfSide(c.side, nation))
            ck.Fail(u.line, "a regiment of nation " + std::to_string(nation) + " cannot serve side " +
                                std::to_string(c.side));
        if (types) {
            std::size_t t = static_cast<std::size_t>(u.type);
            if (u.men > types->fullStrength[t])
                ck.Fail(u.line, std::string(TypeName(u.type)) + " holds at most " +
                                    std::to_string(types->fullStrength[t]) + (u.type >= 11 ? " guns" : " men"));
            if (types->sideOnly[t] != 0 && types->sideOnly[t] != c.side)
                ck.Fail(u.line, std::string(TypeName(u.type)) + " is raised by side " +
                                    std::to_string(types->sideOnly[t]) + " only");
        }
    }
    if (total > 50) ck.Fail(c.line, "a corps holds at most 50 regiments, this one " + std::to_string(total));
    if (c.garrison && fortressBatteries == 0) ck.Fail(c.line, "a garrison needs at least one fortress battery");
}

void CheckCorps(const Checker& ck, int campaign, const std::optional<TypeTable>& types) {
    std::map<std::pair<int, int>, int> generalLine;
    std::map<int, int> garrisonLine;
    std::array<int, 3> corps{}, regiments{};
    for (const CorpsSource& c : ck.src.corps) {
        std::size_t side = static_cast<std::size_t>(c.side);
        if (c.general < 1 || c.general > kGeneralCount[side])
            ck.Fail(c.line, "general " + std::to_string(c.general) + " is not on the roster of side " +
                                std::to_string(c.side));
        if (auto [it, fresh] = generalLine.emplace(std::pair{c.side, c.general}, c.line); !fresh)
            ck.Fail(c.line, "general " + std::to_string(c.general) + " already commands the corps of line " +
                                std::to_string(it->second));
        if (c.formation < 0 || c.formation > 7 || (!c.garrison && c.formation == 0))
            ck.Fail(c.line, "formation 1..7");
        if (c.tactic < 1 || c.tactic > 3) ck.Fail(c.line, "tactic 1..3");
        if (c.direction < -1 || c.direction > 5) ck.Fail(c.line, "facing 0..5");
        if (!CorpsNationOfSide(c.side, c.nation))
            ck.Fail(c.line, "a corps of nation " + std::to_string(c.nation) + " cannot serve side " +
                                std::to_string(c.side));
        if (c.task < 0 || c.task > 6) ck.Fail(c.line, "task 1..6");
        if (c.role < 0 || c.role > 5 || (c.garrison && c.role != 0 && c.role != 5) || (!c.garrison && c.role == 5))
            ck.Fail(c.line, "role 1..5, and 5 (garrison) exactly for a garrison");
        if (c.objectiveX != -1 && (c.objectiveX < 0 || c.objectiveX > 62 || c.objectiveY < 0 || c.objectiveY > 35))
            ck.Fail(c.line, "objective outside the map");
        if (c.city != 0 && (c.city < 1 || c.city > 75)) ck.Fail(c.line, "city 1..75");
        if (c.x >= 0 && (c.x > 62 || c.y < 0 || c.y > 35)) ck.Fail(c.line, "hex outside the map");
        if (c.garrison) {
            if (std::find(kFortresses.begin(), kFortresses.end(), c.city) == kFortresses.end())
                ck.Fail(c.line, "city " + std::to_string(c.city) + " is not a fortress");
            if (auto [it, fresh] = garrisonLine.emplace(c.city, c.line); !fresh)
                ck.Fail(c.line, "the fortress already has its garrison on line " + std::to_string(it->second));
            if ((campaign == 1 || campaign == 5) && c.city == kVienna)
                ck.Fail(c.line, "no garrison in Vienna: the revolution could not take it");
        }
        if ((campaign == 1 || campaign == 5) && c.side == 1 && c.general == kBem)
            ck.Fail(c.line, "Bem is not in Hungary before the revolution in Vienna");
        if (campaign == 6 && AwayFromTransylvania(c.side, c.general) && !(c.garrison && !InTransylvania(c.city)))
            ck.Fail(c.line, "general " + std::to_string(c.general) +
                                " serves in the main theatre: the Transylvanian campaign keeps him away");
        CheckUnits(ck, c, types);
        corps[side] += 1;
        for (const UnitLine& u : c.units) regiments[side] += u.count;
    }
    for (int f : kFortresses)
        if (!garrisonLine.contains(f))
            ck.Fail(0, "fortress " + std::to_string(f) + " has no garrison: every fortress is held by someone");
    for (std::size_t side = 1; side <= 2; ++side) {
        if (corps[side] > 250) ck.Fail(0, "at most 250 corps a side");
        if (regiments[side] > 800) ck.Fail(0, "at most 800 regiments a side");
    }
}

// A general named by a reinforcement record is kept back until his corps arrives: he commands
// nothing at any start before its date, nor in a campaign that still expects it.
void CheckAgainstSchedule(const Checker& ck, int campaign, const ReinforcementSchedule& sched) {
    for (const ReinforcementSource& r : sched.records) {
        if (r.general == 0) continue;
        bool expected = r.campaigns.contains(campaign);
        if (!expected && !(ck.src.date < r.date)) continue;
        for (const CorpsSource& c : ck.src.corps)
            if (c.side == r.side && c.general == r.general)
                ck.Fail(c.line, "general " + std::to_string(c.general) + " arrives with record " +
                                    std::to_string(r.number) + " and cannot command at the start");
    }
}

struct Totals {
    int corps = 0, regiments = 0, cavalry = 0, infantry = 0, guns = 0;
};

Totals Count(const CampaignSource& src, int side) {
    Totals t;
    for (const CorpsSource& c : src.corps) {
        if (c.side != side) continue;
        ++t.corps;
        for (const UnitLine& u : c.units) {
            t.regiments += u.count;
            int arm = u.type <= 4 ? 1 : u.type <= 10 ? 2 : 3;
            (arm == 1 ? t.cavalry : arm == 2 ? t.infantry : t.guns) += u.count * u.men;
        }
    }
    return t;
}

} // namespace

std::vector<CampaignSource> ReadCheckedCampaigns(const Context& ctx, const ReinforcementSchedule& sched) {
    std::optional<TypeTable> types = ReadCompiledTypes(ctx);
    std::vector<CampaignSource> campaigns;
    for (int c = 0; c < kCampaignCount; ++c) {
        CampaignSource src = ReadCampaignSource(CampaignSourcePath(ctx.assets, c));
        Checker ck{src, src.forcesFile.empty() ? src.file : src.forcesFile};
        CheckHeader(ck, c);
        CheckCities(ck);
        CheckCorps(ck, c, types);
        CheckAgainstSchedule(ck, c, sched);
        campaigns.push_back(std::move(src));
    }
    return campaigns;
}

void CompileCampaigns(const Context& ctx) {
    ReinforcementSchedule sched = ReadCheckedReinforcements(ctx);
    std::vector<CampaignSource> campaigns = ReadCheckedCampaigns(ctx, sched);
    for (const CampaignSource& src : campaigns)
        for (int side = 1; side <= 2; ++side) {
            Totals t = Count(src, side);
            std::printf("campaign %d side %d: %d corps, %d regiments, %d cavalry, %d infantry, %d guns\n",
                        src.campaign, side, t.corps, t.regiments, t.cavalry, t.infantry, t.guns);
        }
}

} // namespace mkdata
