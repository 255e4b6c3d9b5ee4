// The start files: each checked campaign source assembled as a game state, written with the
// game's own SaveGame into data\kampany1<N>.dat, and read back with the game's own reader.

#include "campaign_source.h"

#include "core/arith.h"
#include "core/binary_io.h"
#include "core/data_set.h"
#include "core/errors.h"
#include "files/savegame.h"
#include "forces/strength.h"

#include <algorithm>

namespace mkdata {

namespace {

void PlaceCorps(vezer::State& st, const CorpsSource& c, CompiledMap& map, const TypeTable& types) {
    const int side = c.side;
    const int index = ++st.CorpsCount[side];
    vezer::THad& h = st.Corps[side][index];
    h = vezer::THad{};
    h.General = c.general;
    h.X = c.city != 0 ? map.City(c.city).X : c.x;
    h.Y = c.city != 0 ? map.City(c.city).Y : c.y;
    h.Direction = c.direction >= 0 ? c.direction : (side == 1 ? 5 : 2);
    h.Formation = c.formation != 0 ? c.formation : 3;
    h.Tactic = c.tactic;
    h.Nation = c.nation != 0 ? c.nation : side;
    h.Garrison = c.garrison ? 1 : 0;
    h.ObjectiveX = c.objectiveX;
    h.ObjectiveY = c.objectiveY;
    h.Task = c.task != 0 ? c.task : 2;  // defend until the computer gives it work
    h.Role = c.role != 0 ? c.role : (c.garrison ? 5 : 3);
    for (const UnitLine& u : c.units) {
        for (int n = 0; n < u.count; ++n) {
            const int r = ++st.RegimentCount[side];
            vezer::TEzred& e = st.Regiments[side][r];
            e = vezer::TEzred{};
            e.Type = u.type;
            e.Arm = types.arm[static_cast<std::size_t>(u.type)];
            e.Ordinal = ++st.TypeCounter[side][static_cast<std::size_t>(u.type)];
            e.Corps = index;
            e.CorpsFormation = h.Formation;
            e.Nation = u.nation != 0 ? u.nation : h.Nation;
            e.Experience = u.experience;
            e.Morale = u.morale;
            e.Readiness = u.readiness;
            e.Supply = u.supply;
            e.Men = u.men;
            // The fill as the game's recompute rounds it.
            int full = types.fullStrength[static_cast<std::size_t>(u.type)];
            e.FillPercent = full > 0 ? std::clamp(vezer::RoundHalfEvenRatio(100LL * u.men, full), 1, 100) : 100;
            e.MovementPoints = 0;
            e.BattleLine = 1;
            h.Units[static_cast<std::size_t>(++h.UnitCount)] = r;
        }
    }
}

// A corps' regiments share their supply by fill whenever the game recomputes the corps, and the
// rounding of that share can move it by one on the next recompute. The start file holds the
// settled share, so a start loaded, saved and loaded again is the same game.
void SettleCorpsSupply(vezer::State& st) {
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            vezer::SortCorpsUnits(st, side, c);
            const vezer::THad& h = st.Corps[side][c];
            for (int round = 0; round < 20; ++round) {
                const int before = st.Regiments[side][h.Units[1]].Supply;
                vezer::ShareCorpsSupply(st, side, c);
                if (round > 0 && st.Regiments[side][h.Units[1]].Supply == before) break;
            }
        }
}

} // namespace

std::unique_ptr<vezer::State> AssembleStartState(const Context& ctx, const CampaignSource& src,
                                                 const ReinforcementSchedule& sched, CompiledMap& map) {
    const TypeTable types = ReadTypeTable(ctx);
    const RosterNations rosterNations = ReadRosterNations(ctx);
    const vezer::DataSetSizes& size = vezer::kDataSetSizes;
    map.UseCampaign(src.campaign);
    auto st = std::make_unique<vezer::State>();
    st->DataSet = 1;
    st->Campaign = src.campaign;
    st->Language = 1;
    st->ActiveSide = 1;
    st->OtherSide = 2;
    st->LocalSide = 1;
    st->LocalOtherSide = 2;
    st->FogOfWar = src.fog;
    st->RussianIntervention = src.russian;
    st->PolishIntervention = src.polish;
    st->KeepReinforcementDates = 1;
    st->Difficulty = src.difficulty;
    st->Year = src.date.year;
    st->Month = src.date.month;
    st->Week = src.date.week;
    st->RiverState = st->DanubeState = st->GroundState = st->Weather = 1;
    st->Temperature = st->PrevTemperature = vezer::CampaignCalendar(src.campaign).startTemperature;
    st->PrevWeather = st->PrevGround = 1;
    st->MapMaxX = size.mapMaxX;
    st->MapMaxY = size.mapMaxY;
    st->TypeCount = size.typeCount;
    st->RandPos = 1;
    st->RandStep = 1;
    for (int side = 1; side <= 2; ++side) {
        st->PlayerType[side] = side;
        st->Zeal[side] = src.zeal[static_cast<std::size_t>(side)];
        st->GeneralCount[side] = size.generals[side];
        st->InitialGeneralCount[side] = st->GeneralCount[side];
        for (int g = 1; g <= st->GeneralCount[side]; ++g) {
            st->Generals[side][g].Available = 1;
            st->Generals[side][g].Nation = rosterNations[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)];
        }
    }
    for (const AwaySource& a : src.away)
        for (int g : a.generals) st->Generals[a.side][g].Available = 0;
    for (const CorpsSource& c : src.corps) PlaceCorps(*st, c, map, types);
    SettleCorpsSupply(*st);
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st->CorpsCount[side]; ++c) st->Generals[side][st->Corps[side][c].General].Corps = c;

    for (int c = 1; c <= vezer::kCityCount; ++c) st->Cities[c] = map.City(c);
    for (const CitySource& cs : src.cities) {
        if (cs.owner != 0) st->Cities[cs.city].Owner = cs.owner;
        if (cs.fortStrength != 0) st->Cities[cs.city].FortStrength = cs.fortStrength;
    }
    // A record arrives in the campaigns that expect it; every other start counts it as come.
    for (const ReinforcementSource& r : sched.records)
        if (r.number >= 1 && r.number <= vezer::kMaxReinforcements)
            st->Reinforcements[r.number].Arrived = r.campaigns.contains(src.campaign) ? 0 : 1;
    for (int t = 1; t <= size.typeCount; ++t) st->Types[t].RecruitWeeks = types.recruitWeeks[static_cast<std::size_t>(t)];
    return st;
}

std::vector<std::uint8_t> WriteStartFile(const vezer::State& st) {
    const std::string name = vezer::CampaignStartFileName(st.DataSet, st.Campaign);
    vezer::Bytes bytes = vezer::SaveGameBytes(st);
    // Read back with the game's own reader: every count, index and the checksum must hold,
    // and the state read must write the very same bytes.
    auto staged = std::make_unique<vezer::State>();
    staged->MapMaxX = st.MapMaxX;
    staged->MapMaxY = st.MapMaxY;
    staged->TypeCount = st.TypeCount;
    // The reader keeps the running language and chance cursor.
    staged->Language = st.Language;
    staged->RandPos = st.RandPos;
    staged->RandStep = st.RandStep;
    staged->InitialGeneralCount = st.InitialGeneralCount;
    vezer::ReadSaveInto(*staged, bytes, name, [&](vezer::State& s) { s.Cities = st.Cities; });
    vezer::Bytes again = vezer::SaveGameBytes(*staged);
    if (again != bytes) {
        std::size_t at = 0;
        while (at < again.size() && at < bytes.size() && again[at] == bytes[at]) ++at;
        throw std::runtime_error(name + ": the start file does not read back as written (value " +
                                 std::to_string(at / 4) + " of " + std::to_string(bytes.size() / 4) + ")");
    }
    return bytes;
}

} // namespace mkdata
