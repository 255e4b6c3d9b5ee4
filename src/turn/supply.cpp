#include "turn/supply.h"

#include "core/arith.h"
#include "forces/forces.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <algorithm>

namespace vezer {

namespace {

constexpr int kQuartermasterAbility = 6;
constexpr int kMaxWeeklyShare = 30;

// Side s's corps in index order take their shares, seen from side s (the towns' roads are
// reckoned with s as the moving side).
void SupplySide(Game& game, int s) {
    State& st = game.state;
    for (int c = 1; c <= st.CorpsCount[s] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(s, c);
        const Hex hex{h.X, h.Y};
        const int demand = HexDemand(st, s, hex);
        const int reach = std::min(MaxSupply(game, hex, s, true, true), demand);
        const THad& corps = st.CorpsRec(s, c);
        const bool quartermaster = IsGeneral(st, s, corps.General) &&
                                   st.General(s, corps.General).SpecialAbility == kQuartermasterAbility;
        for (int i = 1; i <= corps.UnitCount && i <= kCorpsUnitSlots; ++i) {
            const int r = corps.Units[static_cast<std::size_t>(i)];
            if (!IsRegiment(st, s, r)) continue;
            TEzred& e = st.Regiment(s, r);
            e.Supply =
                ClampAdd(e.Supply, SupplyShare(RegimentSupplyDemand(st, s, r), reach, demand, e.FillPercent));
            if (quartermaster) e.Supply = ClampAdd(e.Supply, 5);
        }
    }
}

} // namespace

int SupplyShare(int demand, int reach, int hexDemand, int fillPercent) {
    // A regiment without men, a hex without demand or a cut-off hex get nothing.
    if (demand <= 0 || reach <= 0 || hexDemand <= 0 || fillPercent <= 0) return 0;
    const int n = RoundHalfEvenRatio(100LL * demand * reach, 1LL * hexDemand * fillPercent);
    return std::min(n, kMaxWeeklyShare);
}

void DistributeSupply(Game& game) {
    State& st = game.state;
    st.SelectedCorps = 0;
    const int active = st.ActiveSide, other = st.OtherSide;
    for (int s = 1; s <= 2; ++s) {
        st.ActiveSide = s;
        st.OtherSide = 3 - s;
        SupplySide(game, s);
    }
    st.ActiveSide = active;
    st.OtherSide = other;
    st.SelectedCorpsSide = active;
}

} // namespace vezer
