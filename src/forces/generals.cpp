#include "forces/generals.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/random.h"
#include "files/scenario_files.h"
#include "forces/forces.h"
#include "forces/strength.h"

namespace vezer {

namespace {

int TableEntry(const State& st, int position) {
    if (position < 1 || position > kRandTableSize) return 0;
    return st.RandTable[static_cast<std::size_t>(position)];
}

bool IsFree(const TTabornok& t) { return t.Corps == 0 && t.Available == 1; }

int RatingSum(const TTabornok& t) { return t.Attack + t.Defence + t.Initiative; }

// Among the free, available generals of exactly `nation` that `eligible` admits, the first
// with the highest (or, with `lowest`, the lowest) score; 0 if none.
template <typename Eligible, typename Score>
int FirstBestFree(const State& st, int side, int nation, bool lowest, Eligible eligible, Score score) {
    int best = 0, bestScore = 0;
    for (int g = 1; g <= st.GeneralCount[side] && g <= kMaxGenerals; ++g) {
        const TTabornok& t = st.General(side, g);
        if (t.Nation != nation || !IsFree(t) || !eligible(t)) continue;
        int s = score(t);
        if (best == 0 || (lowest ? s < bestScore : s > bestScore)) {
            best = g;
            bestScore = s;
        }
    }
    return best;
}

// The nation's own free general first for the nations beyond the three name classes.
int OwnNationFirst(const State& st, int side, int nation) {
    return nation >= 4 ? FindGeneralOfNation(st, side, nation) : 0;
}

// The best defender among those who are no great attackers; a Defence of 0 never counts.
int BestFreeDefender(const State& st, int side, int nation) {
    return FirstBestFree(st, side, nation, false, [](const TTabornok& t) { return t.Attack < 6 && t.Defence > 0; },
                         [](const TTabornok& t) { return t.Defence; });
}

// The least rated free general of the nation's class.
int LeastFreeOfClass(const State& st, int side, int nation) {
    return FirstBestFree(st, side, NationFlagOf(nation), true, [](const TTabornok&) { return true; }, RatingSum);
}

} // namespace

int AddGeneral(Game& game, int side, int k, bool announce) {
    State& st = game.state;
    if (!IsSide(side)) return 0;
    if (k > 3) k = NationFlagOf(k);
    k = NameClassFor(side, k);
    if (st.GeneralCount[side] >= kMaxGenerals) {
        ShowMessageIfLocal(game, kRosterFullMessage);
        return 0;
    }
    int b = ++st.GeneralCount[side];
    TTabornok& t = st.General(side, b);
    t.Attack = TableEntry(st, b) % 3 + 1;
    t.Defence = TableEntry(st, b + 1) % 3 + 1;
    t.Initiative = TableEntry(st, b + 2) % 3 + 1;
    t.Nation = k;
    const auto kk = static_cast<std::size_t>(k);
    t.FamilyName = st.FamilyNamePool[kk][static_cast<std::size_t>(TableEntry(st, b + 3) % kNamePoolSize + 1)].view();
    t.GivenName = st.GivenNamePool[kk][static_cast<std::size_t>(TableEntry(st, b + 4) % kNamePoolSize + 1)].view();
    t.Portrait = GenericPortrait(st, k, b);  // nations 1..3 are their own name classes
    t.Available = 1;
    t.Corps = 0;
    if (announce) game.screen.AddGeneralPortrait(side, b);
    return b;
}

int FindGeneralOfNation(const State& st, int side, int nation) {
    if (!IsSide(side)) return 0;
    int top = st.GeneralCount[side] < kMaxGenerals ? st.GeneralCount[side] : kMaxGenerals;
    for (int g = top; g >= 1; --g) {
        const TTabornok& t = st.General(side, g);
        if (t.Nation == nation && IsFree(t)) return g;
    }
    return 0;
}

int PickDefensiveGeneral(Game& game, int side, int nation) {
    State& st = game.state;
    if (!IsSide(side)) return 0;
    if (int g = OwnNationFirst(st, side, nation)) return g;
    int best = BestFreeDefender(st, side, nation);
    return best ? best : AddGeneral(game, side, NationFlagOf(nation), true);
}

int PickStrongestGeneral(Game& game, int side, int nation) {
    State& st = game.state;
    if (!IsSide(side)) return 0;
    if (int g = OwnNationFirst(st, side, nation)) return g;
    int best = FirstBestFree(st, side, nation, false, [](const TTabornok&) { return true; }, RatingSum);
    return best ? best : AddGeneral(game, side, NationFlagOf(nation), true);
}

int PickOrdinaryGeneral(Game& game, int side, int nation) {
    State& st = game.state;
    if (!IsSide(side)) return 0;
    if (int g = OwnNationFirst(st, side, nation)) return g;
    int c = NationFlagOf(nation);
    int best = LeastFreeOfClass(st, side, nation);
    // Famous commanders are kept for larger commands while the roster has room.
    if (best && (RatingSum(st.General(side, best)) < 16 || st.GeneralCount[side] > 199)) return best;
    int added = AddGeneral(game, side, NationFlagOf(c), true);
    return added ? added : best;
}

bool CanPickDefensiveGeneral(const State& st, int side, int nation) {
    if (!IsSide(side)) return false;
    return st.GeneralCount[side] < kMaxGenerals || OwnNationFirst(st, side, nation) || BestFreeDefender(st, side, nation);
}

bool CanPickOrdinaryGeneral(const State& st, int side, int nation) {
    if (!IsSide(side)) return false;
    return st.GeneralCount[side] < kMaxGenerals || OwnNationFirst(st, side, nation) || LeastFreeOfClass(st, side, nation);
}

bool ReplaceGeneral(Game& game, int side, int corps, int general) {
    State& st = game.state;
    if (!IsCorps(st, side, corps) || !IsGeneral(st, side, general)) return false;
    THad& h = st.CorpsRec(side, corps);
    TTabornok& fresh = st.General(side, general);
    if (!IsFree(fresh)) return false;
    if (IsGeneral(st, side, h.General) && st.General(side, h.General).Corps == corps) st.General(side, h.General).Corps = 0;
    h.General = general;
    fresh.Corps = corps;
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        e.Readiness = ClampSub(e.Readiness, 5);
        e.Morale = ClampSub(e.Morale, 5);
    }
    RecomputeCorps(game, side, corps);
    return true;
}

void TopUpGenerals(Game& game, int side) {
    State& st = game.state;
    if (!IsSide(side) || st.PlayerType[side] == 2) return;
    int available = 0;
    for (int g = 1; g <= st.GeneralCount[side] && g <= kMaxGenerals; ++g) available += st.General(side, g).Available == 1;
    if (available >= st.CorpsCount[side] + kTopUpBatch || st.GeneralCount[side] >= kTopUpLimit) return;
    for (int i = 0; i < kTopUpBatch; ++i) AddGeneral(game, side, side == 1 ? 1 : R(st, 2) + 1, true);
}

void AssignGeneral(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    TopUpGenerals(game, side);
    const int g = st.CorpsRec(side, corps).General;
    if (IsGeneral(st, side, g)) st.General(side, g).Corps = corps;
}

std::string GeneralDisplayName(const State& st, int side, int g) {
    if (!IsGeneral(st, side, g)) return "";
    const TTabornok& t = st.General(side, g);
    std::string name = side == 1 ? t.FamilyName.str() + " " + t.GivenName.str() : t.GivenName.str() + " " + t.FamilyName.str();
    if (t.SpecialAbility >= 0 && t.SpecialAbility <= kAbilitySlots) {
        const auto& ability = st.Texts.AbilityName[static_cast<std::size_t>(t.SpecialAbility)];
        if (!ability.empty()) name += " (" + ability.str() + ")";
    }
    return name;
}

std::string PortraitFileName(int side, int portrait) {
    return "tabornok\\" + std::to_string(side) + std::to_string(portrait) + ".bmp";
}

std::string SmallPortraitFileName(int side, int portrait) {
    return "tabornok\\" + std::to_string(side) + std::to_string(portrait) + "K.bmp";
}

std::string BiographyFileName(int language, int side, int general) {
    return "tabornok\\er" + std::to_string(language) + std::to_string(side) + std::to_string(general) + ".txt";
}

} // namespace vezer
