// The seven campaign start files: assets/campaigns/c0.txt .. c6.txt, checked against every rule
// of a start position and against the reinforcement schedule.

#include "campaign_source.h"
#include "mkdata.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace mkdata {

namespace {

constexpr int kBem = 3;  // side 1, general 3: away from Hungary until the revolution in Vienna
constexpr const vezer::DataSetSizes& kSize = vezer::kDataSetSizes;
constexpr const vezer::PerSide<int>& kGeneralCount = kSize.generals;

using vezer::AwayFromTransylvania;

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
        if (c.city < 1 || c.city > vezer::kCityCount) ck.Fail(c.line, "city 1..75");
        if (!seen.insert(c.city).second) ck.Fail(c.line, "city " + std::to_string(c.city) + " is given twice");
        if (c.owner < 0 || c.owner > 2) ck.Fail(c.line, "owner is 1 or 2");
        if (c.fortStrength < 0 || c.fortStrength > 10) ck.Fail(c.line, "fortress level is 1..10");
    }
}

void CheckAway(const Checker& ck) {
    for (const AwaySource& a : ck.src.away) {
        if (a.side != 1 && a.side != 2) ck.Fail(a.line, "side is 1 or 2");
        for (int g : a.generals) {
            if (g < 1 || g > kGeneralCount[static_cast<std::size_t>(a.side)])
                ck.Fail(a.line, "general " + std::to_string(g) + " is not on the roster");
            for (const CorpsSource& c : ck.src.corps)
                if (c.side == a.side && c.general == g)
                    ck.Fail(c.line, "general " + std::to_string(g) + " is away on the start date (line " +
                                        std::to_string(a.line) + ")");
        }
    }
}

void CheckUnits(const Checker& ck, const CorpsSource& c, const TypeTable& types) {
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
        std::size_t t = static_cast<std::size_t>(u.type);
        if (u.men > types.fullStrength[t])
            ck.Fail(u.line, std::string(TypeName(u.type)) + " holds at most " + std::to_string(types.fullStrength[t]) +
                                (types.arm[t] == 3 ? " guns" : " men"));
        if (types.sideOnly[t] != 0 && types.sideOnly[t] != c.side)
            ck.Fail(u.line, std::string(TypeName(u.type)) + " is raised by side " + std::to_string(types.sideOnly[t]) +
                                " only");
    }
    if (total > vezer::kMaxUnitsPerCorps) ck.Fail(c.line, "a corps holds at most 50 regiments, this one " + std::to_string(total));
    if (c.garrison && fortressBatteries == 0) ck.Fail(c.line, "a garrison needs at least one fortress battery");
}

void CheckCorps(const Checker& ck, int campaign, const TypeTable& types) {
    std::map<std::pair<int, int>, int> generalLine;
    std::map<int, int> garrisonLine;
    std::array<int, 3> lastGarrisonCity{};
    std::array<bool, 3> fieldCorpsSeen{};
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
        if (c.objectiveX != -1 && (c.objectiveX < 0 || c.objectiveX > kSize.mapMaxX || c.objectiveY < 0 || c.objectiveY > kSize.mapMaxY))
            ck.Fail(c.line, "objective outside the map");
        if (c.city != 0 && (c.city < 1 || c.city > vezer::kCityCount)) ck.Fail(c.line, "city 1..75");
        if (c.x >= 0 && (c.x > kSize.mapMaxX || c.y < 0 || c.y > kSize.mapMaxY)) ck.Fail(c.line, "hex outside the map");
        if (c.garrison) {
            if (auto [it, fresh] = garrisonLine.emplace(c.city, c.line); !fresh)
                ck.Fail(c.line, "the fortress already has its garrison on line " + std::to_string(it->second));
            // The city files name each garrison by its corps number: garrisons come first, in city
            // order, so a field corps added or moved never renumbers them.
            if (fieldCorpsSeen[side] || c.city < lastGarrisonCity[side])
                ck.Fail(c.line, "the garrisons of a side come first, in city order");
            lastGarrisonCity[side] = c.city;
        } else {
            fieldCorpsSeen[side] = true;
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
    for (std::size_t side = 1; side <= 2; ++side) {
        if (corps[side] > vezer::kMaxCorps) ck.Fail(0, "at most 250 corps a side");
        if (regiments[side] > vezer::kMaxRegiments) ck.Fail(0, "at most 800 regiments a side");
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

constexpr int kRussian = 3;
constexpr int kPolish = 9;

int RosterNation(const RosterNations& roster, int side, int general) {
    if (side < 1 || side > 2 || general < 1 || general > vezer::kMaxGenerals) return 0;
    return roster[static_cast<std::size_t>(side)][static_cast<std::size_t>(general)];
}

// The Russian commanders lead only the Russian corps of the schedule: none stands on the map at
// any start, since the Russians come only when the new-game screen asks for them.
void CheckCommandersAgainstRoster(const Checker& ck, const RosterNations& roster) {
    for (const CorpsSource& c : ck.src.corps)
        if (RosterNation(roster, c.side, c.general) == kRussian)
            ck.Fail(c.line, "general " + std::to_string(c.general) +
                                " is a Russian commander (nation 3 on the roster): the Russians come only by the "
                                "reinforcement schedule");
}

// A Russian record is led by a Russian general and only a Russian record is; the Polish Legion
// by a Polish one.
void CheckRecordCommanders(const ReinforcementSchedule& sched, const RosterNations& roster) {
    for (const ReinforcementSource& r : sched.records) {
        if (r.general == 0) continue;
        int nation = RosterNation(roster, r.side, r.general);
        bool fits = (r.nation == kRussian) == (nation == kRussian) && (r.nation != kPolish || nation == kPolish);
        if (!fits)
            throw SourceError(sched.file, r.line,
                              "record " + std::to_string(r.number) + " of nation " + std::to_string(r.nation) +
                                  " is led by general " + std::to_string(r.general) + " of nation " +
                                  std::to_string(nation) + " on the roster: Russian and Polish corps have "
                                  "commanders of their own nation, and the Russians lead no other");
    }
}

// What a start position must be on the map: every corps on passable ground and not in a town of
// the other side, each fortress garrisoned by its holder within its room for men and guns, the
// two sides sharing a hex only where one besieges the other's fortress, and owners, fortress
// levels and garrison links as the campaign's city file has them (the start file's copy wins
// in the game, so the two must not disagree). Garrison links that differ are collected as the
// lines assets/map/campaigns.txt needs.
void CheckOnMap(const Checker& ck, int campaign, CompiledMap& map, const TypeTable& types,
                std::vector<std::string>& wantedLinks) {
    map.UseCampaign(campaign);
    auto cityName = [&](int c) { return map.City(c).Name.str() + " (" + std::to_string(c) + ")"; };
    for (const CitySource& cs : ck.src.cities) {
        const vezer::TVaros& v = map.City(cs.city);
        if (cs.owner != 0 && cs.owner != v.Owner)
            ck.Fail(cs.line, cityName(cs.city) + " is held by side " + std::to_string(cs.owner) +
                                 " here but by side " + std::to_string(v.Owner) +
                                 " in the campaign's city file (assets/map/cities.tsv): the two must agree");
        if (cs.fortStrength != 0) {
            if (v.Kind != 3) ck.Fail(cs.line, "only a fortress has walls to batter");
            if (cs.fortStrength > v.FortMax) ck.Fail(cs.line, "above the fortress's full strength");
            if (cs.fortStrength != v.FortStrength)
                ck.Fail(cs.line, "the campaign's city file (assets/map/campaigns.txt) gives " + cityName(cs.city) +
                                     " the level " + std::to_string(v.FortStrength) + ": the two must agree");
        }
    }
    std::array<int, 3> index{};
    std::map<int, std::pair<int, int>> garrisonOf;                 // city -> side, corps index
    std::map<std::pair<int, int>, std::array<int, 3>> lineAt;     // hex -> a corps line of each side
    for (const CorpsSource& c : ck.src.corps) {
        int idx = ++index[static_cast<std::size_t>(c.side)];
        int x = c.city != 0 ? map.City(c.city).X : c.x;
        int y = c.city != 0 ? map.City(c.city).Y : c.y;
        if (!map.Passable(x, y)) ck.Fail(c.line, "a corps on impassable ground");
        int city = map.CityAt(x, y);
        if (c.garrison) {
            const vezer::TVaros& v = map.City(c.city);
            if (v.Kind != 3) ck.Fail(c.line, cityName(c.city) + " is not a fortress");
            if (v.Owner != c.side) ck.Fail(c.line, cityName(c.city) + " is held by the other side");
            int men = 0, guns = 0;
            for (const UnitLine& u : c.units) (types.arm[static_cast<std::size_t>(u.type)] == 3 ? guns : men) += u.count * u.men;
            if (men > v.GarrisonCapacity)
                ck.Fail(c.line, "a garrison of " + std::to_string(men) + " men in " + cityName(c.city) +
                                    ", which has room for " + std::to_string(v.GarrisonCapacity));
            if (guns > v.GarrisonGunCapacity)
                ck.Fail(c.line, "a garrison of " + std::to_string(guns) + " guns in " + cityName(c.city) +
                                    ", which has room for " + std::to_string(v.GarrisonGunCapacity));
            garrisonOf[c.city] = {c.side, idx};
        } else if (city != 0 && map.City(city).Owner != c.side && map.City(city).Kind != 3) {
            ck.Fail(c.line, "a corps in " + cityName(city) + ", a town of the other side");
        }
        int& at = lineAt[{x, y}][static_cast<std::size_t>(c.side)];
        if (at == 0) at = c.line;
    }
    for (const auto& [hex, lines] : lineAt) {
        int city = map.CityAt(hex.first, hex.second);
        if (lines[1] != 0 && lines[2] != 0 && (city == 0 || map.City(city).Kind != 3))
            ck.Fail(std::max(lines[1], lines[2]), "both sides stand on one hex, which only a siege allows");
    }
    for (int c = 1; c <= vezer::kCityCount; ++c) {
        const vezer::TVaros& v = map.City(c);
        if (v.Kind != 3) continue;
        auto it = garrisonOf.find(c);
        if (it == garrisonOf.end())
            ck.Fail(0, "the fortress " + cityName(c) + " has no garrison: every fortress is held by someone");
        if (v.GarrisonCorps != it->second.second)
            wantedLinks.push_back(std::to_string(campaign) + " " + std::to_string(c) + " garrisoncorps " +
                                  std::to_string(it->second.second));
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
            int arm = vezer::ArmOfType(u.type);
            (arm == 1 ? t.cavalry : arm == 2 ? t.infantry : t.guns) += u.count * u.men;
        }
    }
    return t;
}

} // namespace

std::vector<CampaignSource> ReadCheckedCampaigns(const Context& ctx, const ReinforcementSchedule& sched,
                                                 CompiledMap& map) {
    const TypeTable types = ReadTypeTable(ctx);
    const RosterNations roster = ReadRosterNations(ctx);
    CheckRecordCommanders(sched, roster);
    std::vector<CampaignSource> campaigns;
    std::vector<std::string> wantedLinks;
    for (int c = 0; c < kCampaignCount; ++c) {
        CampaignSource src = ReadCampaignSource(CampaignSourcePath(ctx.assets, c));
        Checker ck{src, src.forcesFile.empty() ? src.file : src.forcesFile};
        CheckHeader(ck, c);
        CheckCities(ck);
        CheckCorps(ck, c, types);
        CheckAway(ck);
        CheckCommandersAgainstRoster(ck, roster);
        CheckAgainstSchedule(ck, c, sched);
        CheckOnMap(ck, c, map, types, wantedLinks);
        campaigns.push_back(std::move(src));
    }
    if (!wantedLinks.empty()) {
        std::string lines;
        for (const std::string& l : wantedLinks) lines += "\n  " + l;
        throw SourceError(ctx.assets / "map" / "campaigns.txt", 0,
                          "the garrison corps of the city files differ from the start files; the campaign lines need:" +
                              lines);
    }
    return campaigns;
}

void CompileCampaigns(const Context& ctx) {
    CompiledMap map(ctx);
    map.UseCampaign(0);
    ReinforcementSchedule sched = ReadCheckedReinforcements(ctx, &map);
    std::vector<CampaignSource> campaigns = ReadCheckedCampaigns(ctx, sched, map);
    std::vector<std::vector<std::uint8_t>> files;
    for (const CampaignSource& src : campaigns) {
        std::unique_ptr<vezer::State> st = AssembleStartState(ctx, src, sched, map);
        files.push_back(WriteStartFile(*st));
        std::array<int, 3> points{};
        for (int c = 1; c <= vezer::kCityCount; ++c)
            if (st->Cities[c].Owner == 1 || st->Cities[c].Owner == 2) points[st->Cities[c].Owner] += st->Cities[c].VictoryValue;
        for (int side = 1; side <= 2; ++side) {
            Totals t = Count(src, side);
            std::printf("campaign %d side %d: %d corps, %d regiments, %d cavalry, %d infantry, %d guns, %d city points\n",
                        src.campaign, side, t.corps, t.regiments, t.cavalry, t.infantry, t.guns,
                        points[static_cast<std::size_t>(side)]);
        }
    }
    // Nothing is written until all seven are sound.
    for (std::size_t c = 0; c < files.size(); ++c)
        WriteOutput(ctx, "Data/kampany1" + std::to_string(c) + ".dat", files[c]);
}

} // namespace mkdata
