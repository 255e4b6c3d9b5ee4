#include "forces/recon.h"

#include "core/arith.h"
#include "core/random.h"
#include "forces/forces.h"
#include "forces/stacks.h"
#include "core/geometry.h"

namespace vezer {

namespace {

void ShowTruth(THad& h) {
    h.EstimatedCavalry = h.CavalryMen;
    h.EstimatedInfantry = h.InfantryMen;
    h.EstimatedGuns = h.Guns;
    h.EstimateError = 0;
}

void ShowNothing(THad& h) { h.EstimatedCavalry = h.EstimatedInfantry = h.EstimatedGuns = 0; }

int Misjudged(int truth, int error) { return RoundHalfEvenRatio(1LL * truth * (100 + error), 100); }

} // namespace

void RefreshEstimates(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    const bool computerSeesAll = st.PlayerType[side] == 1 && st.PlayerType[3 - side] == 2 &&
                                 (st.FogOfWar == 0 || st.Difficulty == 3);
    if (computerSeesAll) {
        ShowTruth(h);
        h.ReconLevel = 2;
    } else if (h.ReconLevel <= 0) {
        ShowNothing(h);
        h.EstimateError = 0;
    } else if (h.ReconLevel == 1) {
        ShowNothing(h);
    } else if (h.ReconLevel == 2) {
        if (h.EstimateError == 0) {
            int e = R(st, 61) - 31;
            if (e == 0) e = 1;
            h.EstimateError = e + (e > 0 ? 20 : -20);
        }
        // One error misjudges all three figures alike.
        h.EstimatedCavalry = Misjudged(h.CavalryMen, h.EstimateError);
        h.EstimatedInfantry = Misjudged(h.InfantryMen, h.EstimateError);
        h.EstimatedGuns = Misjudged(h.Guns, h.EstimateError);
    } else {
        ShowTruth(h);
    }
    if (st.FogOfWar == 0) {
        ShowTruth(h);
        h.ReconLevel = 3;
    }
    RefreshHexStack(game, side, 0, h.X, h.Y);
}

namespace {

// How hard it is to see corps c from corps b: the river between them, then the ground c
// stands on (forest and hills hide it better).
int Obstacle(const State& st, const THad& b, const THad& c) {
    int k = 0;
    if (!StandsOn(b, c.X, c.Y)) {
        int d = DirectionTo(Hex{b.X, b.Y}, Hex{c.X, c.Y});
        if (d >= 0 && d <= 5) k = st.Cell(b.X, b.Y).River[static_cast<std::size_t>(d)];
    }
    int terrain = st.Cell(c.X, c.Y).Terrain;
    return k + (terrain == 2 || terrain == 3 ? 2 : 1);
}

// The corps' chance of being spotted at a turn start, by its size.
void MaybeSpotted(State& st, THad& h) {
    int seen = h.SizeClass == 2 ? 20 : h.SizeClass == 3 ? 30 : 0;
    if (seen == 0) return;
    int d = R(st, 100);
    if (d < seen) h.ReconLevel = 1;
    if (d < seen / 2) h.ReconLevel = 2;
}

} // namespace

void ObserveCorps(Game& game, int a, int b, int c) {
    State& st = game.state;
    if (!IsCorps(st, a, b) || !IsCorps(st, 3 - a, c)) return;
    const THad& observer = st.CorpsRec(a, b);
    THad& enemy = st.CorpsRec(3 - a, c);
    const int k = Obstacle(st, observer, enemy);
    if (enemy.ReconLevel <= 0) {
        enemy.ReconLevel = 1;
        st.EnemySpotted = 1;
    }
    while (enemy.ReconLevel < 3) {
        int m = R(st, observer.MinObservation * 3 / 4);
        int l = R(st, enemy.SumVisibility / k);
        if (enemy.ReconLevel == 2) l /= 2;
        if (l <= m) break;
        ++enemy.ReconLevel;
    }
    RefreshEstimates(game, 3 - a, c);
}

void ContactReconnaissance(Game& game, int a, int b) {
    State& st = game.state;
    if (!IsCorps(st, a, b)) return;
    const int e = 3 - a;
    const Hex here{st.CorpsRec(a, b).X, st.CorpsRec(a, b).Y};
    if (int first = FirstCorpsAt(st, e, here.x, here.y)) ObserveCorps(game, a, b, first);
    for (int d = 0; d <= 5; ++d) {
        const Hex n = Neighbour(here, d);
        if (!OnMap(st, n) || st.Cell(n.x, n.y).CorpsCount <= 0) continue;
        for (int c = 1; c <= st.CorpsCount[e]; ++c) {
            if (!StandsOn(st.CorpsRec(e, c), n.x, n.y)) continue;
            ObserveCorps(game, a, b, c);
            ObserveCorps(game, e, c, b);
        }
    }
}

void TurnStartReconnaissance(Game& game) {
    State& st = game.state;
    const int active = st.ActiveSide;
    if (!IsSide(active)) return;
    for (int c = 1; c <= st.CorpsCount[3 - active]; ++c) {
        THad& h = st.CorpsRec(3 - active, c);
        if (h.ReconLevel > 0) --h.ReconLevel;
    }
    if (st.FogOfWar == 1) {
        for (int side = 1; side <= 2; ++side)
            for (int c = 1; c <= st.CorpsCount[side]; ++c)
                if (st.CorpsRec(side, c).ReconLevel <= 1) MaybeSpotted(st, st.CorpsRec(side, c));
    }
    for (int c = 1; c <= st.CorpsCount[active]; ++c) ContactReconnaissance(game, active, c);
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) RefreshEstimates(game, side, c);
}

} // namespace vezer
