// Random order records, mostly in range and some not, fed as orders from outside to a real
// campaign: nothing may crash, and every cross-reference must hold after each order.

#include "core/fingerprint.h"
#include "campaign/setup.h"
#include "forces/invariants.h"
#include "orders/orders.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vezer {
namespace {

// The codes the executor acts on, the movement ones more often.
constexpr int kCodes[] = {5, 5, 5, 5, 5, 5, 6, 7, 7, 8, 8, 9, 10, 11, 12, 13, 13, 14, 15, 15, 16, 16, 17, 17,
                          21, 22, 22, 27, 27, 27, 1, 2, 3, 4, 18, 24, 25, 26, 29};

class OrderMaker {
public:
    explicit OrderMaker(unsigned seed) : rng_(seed) {}

    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    // A record aimed at the state as it is: a real corps, a hex near it, a fitting parameter.
    TParancs Make(const State& st) {
        TParancs o;
        o.Code = kCodes[Between(0, static_cast<int>(std::size(kCodes)) - 1)];
        o.Side = Chance(85) ? st.ActiveSide : 3 - st.ActiveSide;
        const int corps = std::max(1, st.CorpsCount[o.Side]);
        o.Corps = Between(1, corps);
        const THad& h = st.Corps[o.Side][std::min(o.Corps, kMaxCorps)];
        o.HexX = std::clamp(h.X + Between(-4, 4), 0, st.MapMaxX);
        o.HexY = std::clamp(h.Y + Between(-4, 4), 0, st.MapMaxY);
        switch (o.Code) {
        case 6: case 10: o.Param = Between(1, std::max(1, st.GeneralCount[o.Side])); break;
        case 7: case 13: case 16:
            if (Chance(50) && h.UnitCount > 0) o.Param = h.Units[static_cast<std::size_t>(Between(1, std::min(h.UnitCount, kCorpsUnitSlots)))];
            else o.Param = Between(1, std::max(1, st.RegimentCount[o.Side]));
            break;
        case 8: o.Param = Between(1, kFormationCount); break;
        case 9: o.Param = Between(1, kTacticCount); break;
        case 14: o.Param = Between(0, 5); break;
        case 21: o.Corps = Between(0, st.TypeCount); o.Param = Between(1, kCityCount); break;
        case 22: o.Corps = Between(0, corps); break;
        case 26: o.Param = Between(1, 5); break;
        default: o.Param = Between(0, 3); break;
        }
        // Now and then a field out of range, as a damaged file or a hostile machine sends it.
        if (Chance(12)) {
            int* fields[6] = {&o.Code, &o.HexX, &o.HexY, &o.Side, &o.Corps, &o.Param};
            constexpr int kWild[] = {-1, 0, 31, 100, 255, 65536, -2147483647 - 1, 2147483647};
            *fields[Between(0, 5)] = kWild[Between(0, static_cast<int>(std::size(kWild)) - 1)];
        }
        return o;
    }

private:
    std::mt19937 rng_;
};

TEST(OrderFuzz, RandomRecordsKeepARealCampaignSound) {
    testing::TestGame t;
    CampaignChoices choices;
    choices.playerType1 = choices.playerType2 = 1;
    choices.fogOfWar = 1;
    t.st().DataSet = 1;
    t.st().Language = 1;
    SetUpGame(t.g(), 1, testing::kTestSeed);
    StartCampaign(t.g(), 1, 1, choices);
    ASSERT_EQ(CheckInvariants(t.st()), std::vector<std::string>{});

    OrderMaker maker(20260131);
    int executed = 0, refused = 0, ends = 0;
    constexpr int kOrders = 3000;
    for (int i = 0; i < kOrders; ++i) {
        // A turn ends now and then, so both sides give orders.
        TParancs o = maker.Chance(1) ? TParancs{kOrderEndTurn, 0, 0, t.st().ActiveSide, 0, 0} : maker.Make(t.st());
        ends += o.Code == kOrderEndTurn;
        const int pos = maker.Chance(97) ? maker.Between(1, kRandTableSize) : maker.Between(-5, kRandTableSize + 5);
        const int step = maker.Chance(97) ? maker.Between(1, 15) : maker.Between(-1, 17);
        const OrderOutcome outcome = ExecuteIncomingOrder(t.g(), o, pos, step);
        (outcome == OrderOutcome::Executed ? executed : refused) += 1;
        ASSERT_EQ(CheckInvariants(t.st()), std::vector<std::string>{}) << "after order " << i << ": " << o.Code << " " << o.HexX << " " << o.HexY << " "
                              << o.Side << " " << o.Corps << " " << o.Param;
    }
    // The mix must really exercise both roads.
    EXPECT_GT(executed, kOrders / 2);
    EXPECT_GT(refused, kOrders / 20);
    EXPECT_GT(ends, 5);
}

} // namespace
} // namespace vezer
