// Random sequences of organisation operations on a state of real size: after every one the
// cross-references hold, and every index held across it still names the same corps.

#include "forces/generals.h"
#include "forces/invariants.h"
#include "forces/organisation.h"
#include "forces/recon.h"
#include "forces/strength.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace vezer {
namespace {

using testing::StateBuilder;
using testing::TestGame;

constexpr int kTag = 1;  // AiMemory[1] carries a tag that travels with a corps record

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : rng_(seed), b_(t_.g()) {
        State& st = t_.st();
        st.FogOfWar = 1;
        st.PlayerType[2] = 2;
        for (int i = 0; i < 10; ++i) {
            int x = 5 + 5 * i, y = 5 + 2 * i;
            b_.City(20 + i, {x, y}, {.owner = 1 + i % 2, .kind = 3, .garrisonCapacity = 6000, .gunCapacity = 48,
                                     .fortMax = 8, .fortStrength = 8});
            b_.Corps(1 + i % 2, {x, y}, {{.type = 14}, {.type = 14}, {.type = 9}}, {.garrison = 1});
        }
        for (int side = 1; side <= 2; ++side)
            for (int c = 0; c < 95; ++c) {
                int corps = b_.Corps(side, {Pick(1, 12), Pick(1, 12)}, {});
                for (int r = 0; r < 6; ++r) b_.Regiment(side, corps, {.type = kTypes[Pick(0, 6)], .men = Pick(50, 1000)});
            }
        for (int side = 1; side <= 2; ++side)
            for (int c = 1; c <= st.CorpsCount[side]; ++c) st.CorpsRec(side, c).AiMemory[kTag] = ++tags_;
        b_.RecomputeAll();
    }

    State& st() { return t_.st(); }
    Game& g() { return t_.g(); }

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // One random operation; returns its name for the failure message.
    std::string Step() {
        State& s = st();
        const int side = Pick(1, 2);
        const int corps = s.CorpsCount[side] ? Pick(1, s.CorpsCount[side]) : 0;
        const int regiment = s.RegimentCount[side] ? Pick(1, s.RegimentCount[side]) : 0;
        switch (Pick(0, 10)) {
        case 0: {
            // A new corps: regiments made for it first, then the general (sometimes none).
            TEzred tmpl;
            tmpl.Type = kTypes[Pick(0, 6)];
            tmpl.Nation = side;
            tmpl.FillPercent = Pick(10, 100);
            tmpl.Corps = s.CorpsCount[side] + 1;
            for (int i = Pick(0, 3); i > 0; --i) CreateRegiment(g(), side, 0, tmpl);
            THad h = EmptyCorpsRecord();
            h.X = Pick(1, 12);
            h.Y = Pick(1, 12);
            h.Nation = side;
            h.General = Pick(0, 4) == 0 ? 0 : PickOrdinaryGeneral(g(), side, side);
            h.AiMemory[kTag] = ++tags_;
            if (CreateCorps(g(), side, s.CorpsCount[side] + 1, h)) RecomputeCorps(g(), side, s.CorpsCount[side]);
            return "create corps";
        }
        case 1: {
            if (!corps) return "none";
            TEzred tmpl;
            tmpl.Type = kTypes[Pick(0, 6)];
            tmpl.Nation = side;
            tmpl.FillPercent = Pick(1, 100);
            tmpl.Corps = corps;
            CreateRegiment(g(), side, 0, tmpl);
            RecomputeCorps(g(), side, corps);
            return "create regiment";
        }
        case 2:
        case 3:
            if (regiment && corps) MoveRegiment(g(), side, regiment, corps, Pick(0, 3) == 0);
            return "move regiment";
        case 4:
            if (regiment) SplitRegiment(g(), side, regiment);
            return "split";
        case 5:
            if (regiment) {
                MarkMergeCandidates(s, side, s.Regiment(side, regiment).Corps);
                MergeRegiment(g(), side, regiment);
            }
            return "merge";
        case 6:
            if (regiment) RemoveRegiment(g(), side, regiment);
            return "remove regiment";
        case 7:
            if (corps) RemoveCorps(g(), side, corps);  // refused unless it is empty
            return "remove corps";
        case 8:
            ConsolidateRegiments(g(), side);
            return "consolidate";
        case 9:
            // Losses: some regiments of a corps lose every man, then the corps is recomputed.
            if (corps) {
                const THad& h = s.CorpsRec(side, corps);
                for (int i = 1; i <= h.UnitCount; ++i)
                    if (Pick(0, 2) == 0) s.Regiment(side, h.Units[static_cast<std::size_t>(i)]).Men = 0;
                RecomputeCorps(g(), side, corps);
            }
            return "losses";
        default:
            if (corps) {
                int general = PickStrongestGeneral(g(), side, side);
                if (general) ReplaceGeneral(g(), side, corps, general);
                ContactReconnaissance(g(), side, corps);
            }
            return "replace general";
        }
    }

    // Holds one corps of each side across a step and checks it is still the same record.
    std::string StepHolding() {
        std::array<std::unique_ptr<HeldIndex>, 3> held;
        std::array<int, 3> tag{};
        for (int side = 1; side <= 2; ++side) {
            if (st().CorpsCount[side] == 0) continue;
            int c = Pick(1, st().CorpsCount[side]);
            held[static_cast<std::size_t>(side)] = std::make_unique<HeldIndex>(g().watches, RecordKind::Corps, side, c);
            tag[static_cast<std::size_t>(side)] = st().CorpsRec(side, c).AiMemory[kTag];
        }
        std::string what = Step();
        for (int side = 1; side <= 2; ++side) {
            const auto& h = held[static_cast<std::size_t>(side)];
            if (!h || h->gone()) continue;
            if (st().CorpsRec(side, h->get()).AiMemory[kTag] != tag[static_cast<std::size_t>(side)])
                return what + ": a held corps index lost its corps";
        }
        return what;
    }

private:
    static constexpr int kTypes[7] = {1, 4, 5, 9, 10, 11, 13};
    std::mt19937 rng_;
    TestGame t_;
    StateBuilder b_;
    int tags_ = 0;
};

TEST(OrganisationProperty, RandomOperationsKeepEveryCrossReference) {
    Fuzzer f(1848);
    ASSERT_EQ(CheckInvariants(f.st()), std::vector<std::string>{});
    constexpr int kSteps = 1200;
    int corpsSeen = 0;
    for (int step = 0; step < kSteps; ++step) {
        std::string what = f.StepHolding();
        ASSERT_EQ(what.find("lost"), std::string::npos) << "step " << step << ": " << what;
        auto broken = CheckInvariants(f.st());
        ASSERT_EQ(broken, std::vector<std::string>{}) << "step " << step << ": " << what;
        corpsSeen += f.st().CorpsCount[1] + f.st().CorpsCount[2];
    }
    // The run stayed near real size.
    EXPECT_GT(corpsSeen / kSteps, 150);
    EXPECT_GT(f.st().RegimentCount[1] + f.st().RegimentCount[2], 600);
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= f.st().CorpsCount[side]; ++c) RecomputeCorps(f.g(), side, c);
    EXPECT_EQ(CheckDerivedFigures(f.st()), std::vector<std::string>{});
    EXPECT_EQ(CheckInvariants(f.st()), std::vector<std::string>{});
}

} // namespace
} // namespace vezer
