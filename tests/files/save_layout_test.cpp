// The save's golden layout: a state whose every saved field holds a value of its own is written,
// and each value must stand at its place, with the checksum cut where the format cuts it. The
// layout below is written from the file format, independently of the save's walk: two fields
// swapped, one left out or a reduction moved in the walk, and this test fails.

#include "core/binary_io.h"
#include "core/field_walk.h"
#include "files/savegame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vezer {
namespace {

// The values the file must hold in order, each with its name and how the checksum sees it.
class GoldenSave {
public:
    explicit GoldenSave(State& st) : st_(st) {}

    // Gives `field` the next value of its own and expects it next in the file.
    void Put(int& field, const std::string& name) {
        field = Next();
        Expect(field, field, name);
    }
    // A value the file holds as it is, though the state keeps it otherwise (the header's packing).
    void Expect(std::int32_t inFile, std::int32_t summed, const std::string& name) {
        values_.push_back({inFile, summed, false, name});
    }
    // The checksum is cut to 2000 after the last value.
    void Reduce() { values_.back().reduceAfter = true; }
    // Signs in no pattern: the truncating remainder of a sum that changes sign makes the
    // reduction points count, not only the last. Distinct, and far from every count.
    int Next() {
        ++count_;
        const int magnitude = 1000000 + count_;
        return (count_ * 7919) % 13 < 6 ? -magnitude : magnitude;
    }

    struct Value {
        std::int32_t inFile, summed;
        bool reduceAfter;
        std::string name;
    };
    const std::vector<Value>& values() const { return values_; }
    std::int32_t Checksum() const {
        CheckValue sum(2000);
        for (const Value& v : values_) {
            sum.Add(v.summed);
            if (v.reduceAfter) sum.Reduce();
        }
        return sum.Value();
    }

private:
    State& st_;
    // Far from every count and from each other: a value in the wrong place cannot pass for the
    // right one.
    int count_ = 0;
    std::vector<Value> values_;
};

std::vector<std::int32_t> Ints(const Bytes& bytes) {
    std::vector<std::int32_t> v;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) v.push_back(ValueAt(bytes, at, 4));
    return v;
}

template <class R> using Fields = std::initializer_list<std::pair<int R::*, const char*>>;

constexpr PerSide<int> kCorps{0, 2, 3}, kRegiments{0, 3, 2}, kGenerals{0, 2, 1};
constexpr int kTypes = 3, kMaxX = 2, kMaxY = 1;

// The golden layout of a save of `st`, filling `st` as it goes.
void DescribeSave(State& st, GoldenSave& g, bool email) {
    st.TypeCount = kTypes;
    st.MapMaxX = kMaxX;
    st.MapMaxY = kMaxY;
    // Blocks 1 and 2: DataSet (+ 100 in an e-mail game), the sides, the options; the two
    // interventions share one value.
    st.DataSet = g.Next();
    st.PbemGame = email ? 1 : 0;
    g.Expect(st.DataSet + (email ? 100 : 0), st.DataSet + (email ? 100 : 0), "DataSet");
    for (auto [field, name] : {std::pair{&State::Campaign, "Campaign"}, {&State::Language, "Language"},
                               {&State::ActiveSide, "ActiveSide"}, {&State::OtherSide, "OtherSide"},
                               {&State::LocalSide, "LocalSide"}, {&State::LocalOtherSide, "LocalOtherSide"},
                               {&State::FogOfWar, "FogOfWar"}})
        g.Put(st.*field, name);
    st.RussianIntervention = 7;
    st.PolishIntervention = g.Next();
    g.Expect(7 + 10 * st.PolishIntervention, 7 + 10 * st.PolishIntervention, "the interventions");
    for (auto [field, name] : {std::pair{&State::KeepReinforcementDates, "KeepReinforcementDates"},
                               {&State::Difficulty, "Difficulty"}, {&State::ReservedOption, "ReservedOption"},
                               // Blocks 3 to 5: recruitment, the calendar, the weather.
                               {&State::RecruitPenaltyWeeks, "RecruitPenaltyWeeks"},
                               {&State::RecruitPenaltyTurns, "RecruitPenaltyTurns"}, {&State::Year, "Year"},
                               {&State::Month, "Month"}, {&State::Week, "Week"}, {&State::RiverState, "RiverState"},
                               {&State::DanubeState, "DanubeState"}, {&State::GroundState, "GroundState"},
                               {&State::Temperature, "Temperature"}, {&State::Weather, "Weather"},
                               {&State::PrevTemperature, "PrevTemperature"}, {&State::PrevWeather, "PrevWeather"},
                               {&State::PrevGround, "PrevGround"}})
        g.Put(st.*field, name);

    // Block 6: each side's player, counts and zeal.
    for (int side = 1; side <= 2; ++side) {
        g.Put(st.PlayerType[side], "PlayerType");
        for (auto [count, value, name] :
             {std::tuple{&State::CorpsCount, kCorps[side], "CorpsCount"},
              {&State::RegimentCount, kRegiments[side], "RegimentCount"},
              {&State::GeneralCount, kGenerals[side], "GeneralCount"}}) {
            (st.*count)[side] = value;
            g.Expect(value, value, name);
        }
        g.Put(st.Zeal[side], "Zeal");
    }

    // Blocks 7 and 8: each side's regiments, corps and generals.
    const Fields<TEzred> regimentHead = {{&TEzred::Type, "Type"},
                                         {&TEzred::Arm, "Arm"},
                                         {&TEzred::Ordinal, "Ordinal"},
                                         {&TEzred::Corps, "Corps"},
                                         {&TEzred::CorpsFormation, "CorpsFormation"},
                                         {&TEzred::CombatValueFull, "CombatValueFull"},
                                         {&TEzred::DefenceValue, "DefenceValue"},
                                         {&TEzred::Nation, "Nation"},
                                         {&TEzred::Experience, "Experience"},
                                         {&TEzred::ExperienceBuildUp, "ExperienceBuildUp"},
                                         {&TEzred::Morale, "Morale"},
                                         {&TEzred::Readiness, "Readiness"},
                                         {&TEzred::Supply, "Supply"},
                                         {&TEzred::Men, "Men"},
                                         {&TEzred::FillPercent, "FillPercent"}};
    // The corps in its five checksum groups.
    const std::initializer_list<Fields<THad>> corpsGroups = {
        {{&THad::General, "General"},
         {&THad::Activity, "Activity"},
         {&THad::ActivityWeeks, "ActivityWeeks"},
         {&THad::MovementPoints, "MovementPoints"},
         {&THad::X, "X"},
         {&THad::Y, "Y"},
         {&THad::Direction, "Direction"},
         {&THad::Formation, "Formation"}},
        {{&THad::Tactic, "Tactic"},
         {&THad::UnitCount, "UnitCount"},
         {&THad::ReconLevel, "ReconLevel"},
         {&THad::EstimatedCavalry, "EstimatedCavalry"},
         {&THad::EstimatedInfantry, "EstimatedInfantry"},
         {&THad::EstimatedGuns, "EstimatedGuns"}},
        {{&THad::MarkerArm, "MarkerArm"}, {&THad::MarkerState, "MarkerState"}, {&THad::Nation, "Nation"},
         {&THad::Garrison, "Garrison"}},
        {{&THad::TurnsSinceBattle, "TurnsSinceBattle"},
         {&THad::LastBattleResult, "LastBattleResult"},
         {&THad::LastBattleEnemyStrength, "LastBattleEnemyStrength"},
         {&THad::ObjectiveX, "ObjectiveX"},
         {&THad::ObjectiveY, "ObjectiveY"},
         {&THad::Task, "Task"},
         {&THad::Role, "Role"},
         {&THad::SuperiorCorps, "SuperiorCorps"},
         {&THad::TargetCorps, "TargetCorps"},
         {&THad::GuardCorps, "GuardCorps"},
         {&THad::LastCityObjective, "LastCityObjective"},
         {&THad::EstimateError, "EstimateError"}}};
    for (int side = 1; side <= 2; ++side) {
        const std::string of = " of side " + std::to_string(side);
        for (int r = 1; r <= kRegiments[side]; ++r) {
            TEzred& e = st.Regiments[side][r];
            const std::string who = "regiment " + std::to_string(r) + of + ": ";
            for (auto [field, name] : regimentHead) g.Put(e.*field, who + name);
            // MovementPoints + 1000 x MovementUsed; the checksum sees MovementPoints alone.
            e.MovementPoints = 100 * side + r;
            e.MovementUsed = std::abs(g.Next());
            g.Expect(e.MovementPoints + 1000 * e.MovementUsed, e.MovementPoints, who + "the movement");
            g.Put(e.MovementAllowance, who + "MovementAllowance");
            g.Put(e.BattleLine, who + "BattleLine");
            g.Reduce();
        }
        for (int c = 1; c <= kCorps[side]; ++c) {
            THad& h = st.Corps[side][c];
            const std::string who = "corps " + std::to_string(c) + of + ": ";
            for (const Fields<THad>& group : corpsGroups) {
                for (auto [field, name] : group) g.Put(h.*field, who + name);
                g.Reduce();
            }
            for (int m = 1; m <= kAiMemorySlots; ++m) g.Put(h.AiMemory[m], who + "AiMemory " + std::to_string(m));
            g.Reduce();
        }
        for (int k = 1; k <= kGenerals[side]; ++k) {
            const std::string who = "general " + std::to_string(k) + of + ": ";
            g.Put(st.Generals[side][k].Available, who + "Available");
            g.Put(st.Generals[side][k].Nation, who + "Nation");
        }
        g.Reduce();
    }

    // Block 9: the cities' changing fields.
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& v = st.Cities[c];
        const std::string who = "city " + std::to_string(c) + ": ";
        for (auto [field, name] : Fields<TVaros>{{&TVaros::Owner, "Owner"},
                                                 {&TVaros::FlagClass, "FlagClass"},
                                                 {&TVaros::FortStrength, "FortStrength"},
                                                 {&TVaros::GarrisonCorps, "GarrisonCorps"},
                                                 {&TVaros::RecruitType, "RecruitType"},
                                                 {&TVaros::RecruitWeeksLeft, "RecruitWeeksLeft"},
                                                 {&TVaros::CaptureCounter, "CaptureCounter"}})
            g.Put(v.*field, who + name);
    }
    g.Reduce();

    // Block 10: the entrenchments, column by column.
    for (int x = 0; x <= kMaxX; ++x)
        for (int y = 0; y <= kMaxY; ++y) {
            const std::string who = "hex (" + std::to_string(x) + ", " + std::to_string(y) + "): ";
            g.Put(st.Cell(x, y).Entrenchment, who + "Entrenchment");
            g.Put(st.Cell(x, y).EntrenchmentSide, who + "EntrenchmentSide");
        }

    // Blocks 11 to 13: the reinforcements come, the results, the types' recruitment weeks.
    for (int i = 1; i <= kMaxReinforcements; ++i)
        g.Put(st.Reinforcements[i].Arrived, "reinforcement " + std::to_string(i) + ": Arrived");
    for (int side = 1; side <= 2; ++side) {
        const std::string of = " of side " + std::to_string(side);
        g.Put(st.EngagementsWon[side], "EngagementsWon" + of);
        g.Put(st.BattlesWon[side], "BattlesWon" + of);
        g.Put(st.BattlePoints[side], "BattlePoints" + of);
        g.Reduce();
        for (int arm = 1; arm <= 3; ++arm) {
            g.Put(st.Losses[side][arm], "Losses" + of + " arm " + std::to_string(arm));
            g.Reduce();
        }
    }
    g.Put(st.DrawnEngagements, "DrawnEngagements");
    g.Put(st.DrawnBattles, "DrawnBattles");
    for (int t = 1; t <= kTypes; ++t) g.Put(st.Types[t].RecruitWeeks, "type " + std::to_string(t) + ": RecruitWeeks");
    g.Reduce();
}

void ExpectGoldenSave(bool email) {
    auto st = std::make_unique<State>();
    GoldenSave g(*st);
    DescribeSave(*st, g, email);
    st->RandPos = 4321;
    st->RandStep = 13;
    if (email) {
        st->PasswordSet = {0, 1, 0};
        st->Password[1] = "Görgei";
    }
    const std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    const auto& want = g.values();
    // The values, the checksum, the chance cursor; in an e-mail game the password flags, the
    // one password's length and its six Windows-1250 codes moved by the cursor.
    const std::size_t trailer = email ? 2 + 1 + 6 : 0;
    ASSERT_EQ(ints.size(), want.size() + 3 + trailer);
    for (std::size_t i = 0; i < want.size(); ++i) ASSERT_EQ(ints[i], want[i].inFile) << "value " << i << ", " << want[i].name;
    EXPECT_EQ(ints[want.size()], g.Checksum()) << "the checksum and its reduction points";
    EXPECT_EQ(ints[want.size() + 1], 4321);
    EXPECT_EQ(ints[want.size() + 2], 13);
    if (email) {
        const std::vector<std::int32_t> tail(ints.end() - static_cast<std::ptrdiff_t>(trailer), ints.end());
        const int moved = 4321 + 13;
        EXPECT_EQ(tail, (std::vector<std::int32_t>{1, 0, 6, 'G' + moved, 0xF6 + moved, 'r' + moved, 'g' + moved,
                                                   'e' + moved, 'i' + moved}));
    }
}

TEST(SaveLayout, EveryFieldOfAPlainSaveStandsInItsPlace) {
    ExpectGoldenSave(false);
}

TEST(SaveLayout, EveryFieldOfAnEmailSaveAndItsTrailerStandsInItsPlace) {
    ExpectGoldenSave(true);
}

// The map of a save that the fuzzers and the damaged-save tests use is the loader's own walk:
// each mapped value must be the one the golden layout puts there.
TEST(SaveLayout, TheFileMapNamesEachValueAtItsPlace) {
    auto st = std::make_unique<State>();
    GoldenSave g(*st);
    DescribeSave(*st, g, false);
    const Bytes bytes = SaveGameBytes(*st);
    const FileMap map = SaveFileMap(bytes, *st);
    ASSERT_TRUE(map.complete);
    ASSERT_EQ(map.fields.size(), g.values().size());
    for (std::size_t i = 0; i < map.fields.size(); ++i) {
        EXPECT_EQ(map.fields[i].offset, 4 * i) << map.fields[i].Name();
        EXPECT_EQ(map.fields[i].reduceAfter, g.values()[i].reduceAfter) << "value " << i << ", " << g.values()[i].name;
    }
    EXPECT_EQ(map.checkAt, 4 * g.values().size());
    EXPECT_EQ(map.ComputeCheck(bytes), g.Checksum());
    // The marks: header, options, penalty, calendar, weather, sides, the records of each side,
    // cities, entrenchments, reinforcements, results, types and the checksum.
    EXPECT_EQ(map.marks.size(), 14u);
}

} // namespace
} // namespace vezer
