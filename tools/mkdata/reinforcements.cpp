// Data/Erosites1.dat: the scheduled reinforcements, from assets/campaigns/reinforcements.txt.

#include "campaign_source.h"
#include "mkdata.h"

#include "core/binary_io.h"
#include "core/data_set.h"
#include "files/scenario_files.h"

#include <cstdio>
#include <memory>

namespace mkdata {

namespace {

constexpr int kMaxRecords = vezer::kMaxReinforcements;
constexpr int kMaxUnits = vezer::kReinforcementUnits;
constexpr const vezer::DataSetSizes& kSize = vezer::kDataSetSizes;
// Records 6 and 7 are the ones the Transylvanian campaign keeps: they must fall inside it.
constexpr SourceDate kTransylvanianFirst{1848, 12, 1};
constexpr SourceDate kTransylvanianLast{1849, 5, 4};

bool NationOfSide(int side, int nation) {
    if (side == 1) return nation == 1 || nation == 9;
    if (side == 2) return nation >= 2 && nation <= 8 && nation != 7;
    return false;
}

void CheckRecord(const ReinforcementSchedule& sched, const ReinforcementSource& r, std::size_t position) {
    auto fail = [&](const std::string& what) { throw SourceError(sched.file, r.line, what); };
    if (r.number != static_cast<int>(position))
        fail("record " + std::to_string(r.number) + " stands in place " + std::to_string(position) +
             ": records are numbered 1, 2, 3 ... in file order");
    if (r.side != 1 && r.side != 2) fail("side is 1 or 2");
    if (!NationOfSide(r.side, r.nation))
        fail("nation " + std::to_string(r.nation) + " cannot arrive for side " + std::to_string(r.side) +
             " (side 1: 1, 9; side 2: 2, 3, 4, 5, 6, 8)");
    if (r.limited != 0 && r.limited != 1) fail("limited is 0 or 1");
    if (r.limited == 1 && r.nation != 3 && r.nation != 9)
        fail("only Russian (3) and Polish (9) records depend on the intervention options");
    if (r.x < 0 || r.x > kSize.mapMaxX || r.y < 0 || r.y > kSize.mapMaxY) fail("hex outside the map");
    if (r.x < 1) fail("the arrival hex needs a west neighbour on the map");
    int generals = kSize.generals[static_cast<std::size_t>(r.side)];
    if (r.general < 0 || r.general > generals)
        fail("general " + std::to_string(r.general) + " is not on the roster of side " + std::to_string(r.side));
    if (r.formation < 1 || r.formation > 7) fail("formation is 1..7");
    if (r.units.empty() || r.units.size() > kMaxUnits) fail("a record brings 1..50 units");
    for (const ReinforcementUnit& u : r.units)
        if (u.fill < 1 || u.fill > 100) throw SourceError(sched.file, u.line, "fill is 1..100 percent");
    if (r.number == 6 || r.number == 7) {
        if (r.date < kTransylvanianFirst || kTransylvanianLast < r.date)
            fail("records 6 and 7 arrive between 1848-12-1 and 1849-5-4");
        if (!r.campaigns.contains(6)) fail("records 6 and 7 belong to the Transylvanian campaign (6)");
    }
    for (int c : r.campaigns) {
        if (c < 0 || c >= kCampaignCount) fail("campaign " + std::to_string(c) + " does not exist");
        if (c == 0) fail("the tutorial receives no reinforcements");
        if (c == 6 && r.number != 6 && r.number != 7)
            fail("the Transylvanian campaign keeps only records 6 and 7");
        if (r.date < CampaignStartDate(c) || !(r.date < CampaignEndDate(c)))
            fail("dated outside campaign " + std::to_string(c));
    }
}

// A general may be named by one record per campaign: after his record's date a reload makes him
// available whether it came or not, so two records would fight over him.
void CheckGeneralsBookedOnce(const ReinforcementSchedule& sched) {
    for (std::size_t i = 0; i < sched.records.size(); ++i) {
        const ReinforcementSource& a = sched.records[i];
        if (a.general == 0) continue;
        for (std::size_t j = 0; j < i; ++j) {
            const ReinforcementSource& b = sched.records[j];
            if (b.general != a.general || b.side != a.side) continue;
            for (int c : a.campaigns)
                if (b.campaigns.contains(c))
                    throw SourceError(sched.file, a.line,
                                      "general " + std::to_string(a.general) + " is already named by record " +
                                          std::to_string(b.number) + " in campaign " + std::to_string(c));
        }
    }
}

// A unit of a type kept for the other side is refused; needs the compiled type table.
void CheckSideOnly(const ReinforcementSchedule& sched, const TypeTable& types) {
    for (const ReinforcementSource& r : sched.records)
        for (const ReinforcementUnit& u : r.units) {
            int type = u.type > 20 ? u.type - 20 : u.type;
            int only = types.sideOnly[static_cast<std::size_t>(type)];
            if (only != 0 && only != r.side)
                throw SourceError(sched.file, u.line,
                                  std::string(TypeName(type)) + " is raised by side " + std::to_string(only) + " only");
        }
}

// Where a record arrives: on passable ground, and its west neighbour too (an enemy on the hex
// shifts the arrival one column west). Records 6 and 7 arrive in Transylvania.
void CheckArrivals(const ReinforcementSchedule& sched, const CompiledMap& map) {
    for (const ReinforcementSource& r : sched.records) {
        if (!map.Passable(r.x, r.y)) throw SourceError(sched.file, r.line, "the arrival hex is impassable");
        if (!map.Passable(r.x - 1, r.y))
            throw SourceError(sched.file, r.line, "the hex west of the arrival hex is impassable (an enemy there shifts the arrival west)");
        if ((r.number == 6 || r.number == 7) && !InTransylvania(map.NearestCity(r.x, r.y)))
            throw SourceError(sched.file, r.line, "records 6 and 7 arrive in Transylvania, this hex lies nearest to " +
                                                      map.City(map.NearestCity(r.x, r.y)).Name.str());
    }
}

} // namespace

std::vector<std::uint8_t> EncodeReinforcements(const ReinforcementSchedule& sched) {
    vezer::ReinforcementFile file;
    file.count = static_cast<int>(sched.records.size());
    for (const ReinforcementSource& r : sched.records) {
        vezer::TErosites e;
        e.Year = r.date.year;
        e.Month = r.date.month;
        e.Week = r.date.week;
        e.Side = r.side;
        e.LimitedIntervention = r.limited;
        e.Template.X = r.x;
        e.Template.Y = r.y;
        e.Template.Nation = r.nation;
        e.Template.General = r.general;
        e.Template.Formation = r.formation;
        e.Template.UnitCount = static_cast<int>(r.units.size());
        for (std::size_t u = 0; u < r.units.size() && u < vezer::kReinforcementUnits; ++u) {
            e.Template.Units[u + 1] = r.units[u].type;
            e.UnitFill[u + 1] = r.units[u].fill;
        }
        file.records.push_back(e);
    }
    return vezer::ReinforcementFileBytes(file);
}

ReinforcementSchedule ReadCheckedReinforcements(const Context& ctx, const CompiledMap* map) {
    ReinforcementSchedule sched = ReadReinforcementSchedule(ReinforcementSourcePath(ctx.assets));
    if (sched.records.size() > kMaxRecords)
        throw SourceError(sched.file, sched.records[kMaxRecords].line, "at most 50 records");
    for (std::size_t i = 0; i < sched.records.size(); ++i) CheckRecord(sched, sched.records[i], i + 1);
    if (sched.records.size() < 7)
        throw SourceError(sched.file, 0, "records 6 and 7 (the Transylvanian ones) are missing");
    CheckGeneralsBookedOnce(sched);
    if (map != nullptr) CheckArrivals(sched, *map);
    CheckSideOnly(sched, ReadTypeTable(ctx));
    return sched;
}

void CompileReinforcements(const Context& ctx) {
    CompiledMap map(ctx);
    map.UseCampaign(0);
    ReinforcementSchedule sched = ReadCheckedReinforcements(ctx, &map);
    std::vector<std::uint8_t> bytes = EncodeReinforcements(sched);
    // What the game's reader refuses is never written.
    auto setup = std::make_unique<vezer::State>();
    setup->MapMaxX = kSize.mapMaxX;
    setup->MapMaxY = kSize.mapMaxY;
    setup->TypeCount = kSize.typeCount;
    setup->GeneralCount = kSize.generals;
    vezer::ParseReinforcementFile(bytes, vezer::ReinforcementFileName(1), *setup);
    WriteOutput(ctx, "Data/Erosites1.dat", bytes);
    std::size_t units = 0;
    for (const ReinforcementSource& r : sched.records) units += r.units.size();
    std::printf("Data/Erosites1.dat: %zu records, %zu units\n", sched.records.size(), units);
}

} // namespace mkdata
