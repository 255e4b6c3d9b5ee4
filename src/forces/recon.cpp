#include "forces/recon.h"

#include "core/arith.h"
#include "core/random.h"
#include "forces/forces.h"
#include "forces/stacks.h"

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

} // namespace vezer
