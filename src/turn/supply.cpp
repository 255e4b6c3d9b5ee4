#include "turn/supply.h"

#include "core/arith.h"
#include "forces/forces.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <algorithm>
#include <vector>

namespace vezer {

namespace {

constexpr int kQuartermasterAbility = 6;
constexpr int kMaxWeeklyShare = 30;

// The supply the towns bring to each hex, for one side: it depends on the towns, the roads and
// where the corps stand, none of which the distribution changes, so corps sharing a hex ask once.
class ReachOfHexes {
public:
    int Get(Game& game, Hex hex, int side) {
        if (!State::InHexArray(hex.x, hex.y)) return MaxSupply(game, hex, side, true, true);
        int& known = reach_[static_cast<std::size_t>((hex.y - kHexMin) * kHexSpan + (hex.x - kHexMin))];
        if (known < 0) known = MaxSupply(game, hex, side, true, true);
        return known;
    }

private:
    std::vector<int> reach_ = std::vector<int>(static_cast<std::size_t>(kHexSpan) * kHexSpan, -1);
};

// Side s's corps in index order take their shares, seen from side s (the towns' roads are
// reckoned with s as the moving side).
void SupplySide(Game& game, int s) {
    State& st = game.state;
    ReachOfHexes reach;
    for (int c = 1; c <= st.CorpsCount[s] && c <= kMaxCorps; ++c) {
        const THad& corps = st.CorpsRec(s, c);
        const Hex hex{corps.X, corps.Y};
        const int demand = HexDemand(st, s, hex);
        const int arrives = std::min(reach.Get(game, hex, s), demand);
        const bool quartermaster = IsGeneral(st, s, corps.General) &&
                                   st.General(s, corps.General).SpecialAbility == kQuartermasterAbility;
        for (int i = 1; i <= corps.UnitCount && i <= kCorpsUnitSlots; ++i) {
            const int r = corps.Units[static_cast<std::size_t>(i)];
            if (!IsRegiment(st, s, r)) continue;
            TEzred& e = st.Regiment(s, r);
            e.Supply = ClampAdd(e.Supply,
                                SupplyShare(RegimentSupplyDemand(st, s, r), arrives, demand, e.FillPercent));
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
