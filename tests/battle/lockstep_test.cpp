// Two machines of a network game fed the same orders fight the same battle: the stack order
// that differs between them (each sees the enemy it knows) decides nothing.

#include "battle/battle.h"
#include "battle/battle_fixture.h"

#include "core/fingerprint.h"
#include "core/geometry.h"
#include "orders/orders.h"

#include <gtest/gtest.h>

#include <memory>

namespace vezer {
namespace {

using testing::At;
using testing::Reg;

constexpr Hex kHome{10, 10};
const Hex kTarget = Neighbour(kHome, 2);

// The same war on one of the two machines.
void Build(testing::BattleGame& m, int localSide) {
    State& s = m.st();
    s.NetworkGame = 1;
    s.FogOfWar = 1;
    s.LocalSide = localSide;
    s.LocalOtherSide = 3 - localSide;
    s.PlayerType[localSide] = 1;
    s.PlayerType[3 - localSide] = 3;
    const int a =
        m.b.Corps(1, At{kHome.x, kHome.y}, {{}, {}, {.type = 4}, {.type = 11}}, {.formation = 4, .recon = 1});
    m.b.Corps(1, At{kHome.x, kHome.y}, {{}, {}}, {.formation = 4, .recon = 1, .stackOrder = 2});
    const Hex beside = Neighbour(kTarget, 3);
    m.b.Corps(1, At{beside.x, beside.y}, {{.readiness = 90}, {.type = 4}}, {.formation = 2, .recon = 1});
    // Two corps the attacker has not reconnoitred.
    m.b.Corps(2, At{kTarget.x, kTarget.y}, {{}, {}, {}, {.type = 11}});
    m.b.Corps(2, At{kTarget.x, kTarget.y}, {{.type = 4}});
    m.b.RecomputeAll();
    (void)a;
    // The stack order is each machine's own and no save holds it: after a load the two
    // machines may stack the defenders the other way round.
    s.CorpsRec(2, 1).StackOrder = localSide == 1 ? 1 : 3;
    s.CorpsRec(2, 2).StackOrder = localSide == 1 ? 3 : 1;
}

// The state with what is each machine's own set aside: who sits where, the ticker, the stack
// order each machine keeps of the corps it sees, and the odds kept for the local odds screen.
std::uint64_t SharedHash(const State& st) {
    auto s = std::make_unique<State>(st);
    s->LocalSide = s->LocalOtherSide = 0;
    s->PlayerType = {};
    s->TickerPos = {};
    s->TickerLine = {};
    s->TickerColour = {};
    s->Battle.Odds = 0;
    for (int side = 1; side <= 2; ++side)
        for (auto& h : s->Corps[static_cast<std::size_t>(side)]) h.StackOrder = 0;
    return FullStateHash(*s);
}

TEST(BattleLockstep, TwoMachinesFedTheSameOrdersEndEqual) {
    testing::BattleGame here, there;
    Build(here, 1);
    Build(there, 2);
    ASSERT_EQ(SharedHash(here.st()), SharedHash(there.st()));
    const TParancs orders[] = {{25, kTarget.x, kTarget.y, 1, 1, 0},
                               {26, 0, 0, 1, 0, 1},
                               {29, kTarget.x, kTarget.y, 1, 1, 0},
                               {1, kTarget.x, kTarget.y, 1, 1, 0}};
    for (const TParancs& o : orders) {
        const int pos = here.st().RandPos, step = here.st().RandStep;
        ASSERT_EQ(ExecuteOrder(here.g(), o), OrderOutcome::Executed) << o.Code;
        ASSERT_EQ(ExecuteIncomingOrder(there.g(), o, pos, step), OrderOutcome::Executed) << o.Code;
        EXPECT_EQ(SharedHash(here.st()), SharedHash(there.st())) << "after order " << o.Code;
        EXPECT_EQ(GameStateFingerprint(here.st()), GameStateFingerprint(there.st())) << o.Code;
    }
    EXPECT_EQ(here.ReportLines(), there.ReportLines());
    EXPECT_GT(here.ReportLines().size(), 10u);
    EXPECT_EQ(here.st().Battle.Odds, 0); // cleared with the battle
}

} // namespace
} // namespace vezer
