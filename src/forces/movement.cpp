#include "forces/movement.h"

#include "core/arith.h"
#include "core/index_watch.h"
#include "forces/forces.h"
#include "forces/markers.h"
#include "forces/occupation.h"
#include "forces/recon.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <algorithm>

namespace vezer {

namespace {

bool EnemyFieldCorpsOn(const State& st, int side, Hex h) {
    return FirstCorpsAt(st, 3 - side, h.x, h.y, true) != 0;
}

// Whether this machine may watch the corps march (and hear it).
bool MayWatch(const State& st, int side, const THad& h) {
    return (st.PlayerType[side] == 1 && !st.PbemGame) || st.FogOfWar == 0 || h.ReconLevel >= 1 ||
           st.LocalSide == st.ActiveSide;
}

void PlayIfWatched(Game& game, int side, int c, int effect) {
    if (MayWatch(game.state, side, game.state.CorpsRec(side, c))) game.screen.PlaySound(effect);
}

// Every other corps of the side on the hex is recomputed (a recompute may remove an empty one).
void RecomputeCompany(Game& game, int side, int c, Hex hex) {
    State& st = game.state;
    HeldIndex held(game.watches, RecordKind::Corps, side, c);
    int k = 1;
    while (k <= st.CorpsCount[side] && k <= kMaxCorps) {
        if (k != held.get() && StandsOn(st.CorpsRec(side, k), hex.x, hex.y)) {
            const int before = st.CorpsCount[side];
            RecomputeCorps(game, side, k);
            if (st.CorpsCount[side] < before) continue;  // another corps now lives at k
        }
        ++k;
    }
}

void UndoMove(Game& game) {
    State& st = game.state;
    const UndoRecord& u = st.Undo;
    const int side = u.Side;
    if (!IsCorps(st, side, u.Corps) || !State::InHexArray(u.X, u.Y)) return;
    THad& h = st.CorpsRec(side, u.Corps);
    const Hex from{h.X, h.Y};
    st.Cell(from.x, from.y).CorpsCount -= 1;
    h.X = u.X;
    h.Y = u.Y;
    st.Cell(u.X, u.Y).CorpsCount += 1;
    for (int i = 1; i <= std::min(h.UnitCount, kCorpsUnitSlots); ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        e.MovementPoints = ClampAdd(e.MovementPoints, u.MovementPoints);
        e.Readiness = ClampAdd(e.Readiness, u.Readiness);
        e.Supply = ClampAdd(e.Supply, u.Supply);
    }
    HeldIndex held(game.watches, RecordKind::Corps, side, u.Corps);
    RecomputeCorps(game, side, held.get());
    if (!held.gone()) UpdateCorpsMarker(game, side, held.get());
    RefreshHexStack(game, side, 0, from.x, from.y);
    if (!held.gone()) RefreshHexStack(game, side, held.get(), u.X, u.Y);
    st.SelectedHexX = u.X;
    st.SelectedHexY = u.Y;
}

void UndoFormationChange(Game& game) {
    State& st = game.state;
    const UndoRecord& u = st.Undo;
    if (!IsCorps(st, u.Side, u.Corps)) return;
    THad& h = st.CorpsRec(u.Side, u.Corps);
    h.Formation = u.Formation;
    for (int i = 1; i <= std::min(h.UnitCount, kCorpsUnitSlots); ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, u.Side, r))
            st.Regiment(u.Side, r).MovementPoints = ClampAdd(st.Regiment(u.Side, r).MovementPoints, u.MovementPoints);
    }
    RecomputeCorps(game, u.Side, u.Corps);
}

} // namespace

void UndoLastOrder(Game& game) {
    State& st = game.state;
    if (!st.Undo.Available) return;
    st.Undo.Available = 0;
    if (st.Undo.Code == kOrderMove) UndoMove(game);
    else if (st.Undo.Code == kOrderChangeFormation) UndoFormationChange(game);
}

void ChangeFormation(Game& game, int side, int c, int f) {
    State& st = game.state;
    THad& h = st.CorpsRec(side, c);
    if (f == h.Formation) return;
    h.Formation = f;
    const int cost = FormationChangeCost(st, side, c, f);
    for (int i = 1; i <= std::min(h.UnitCount, kCorpsUnitSlots); ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, side, r))
            st.Regiment(side, r).MovementPoints = ClampSub(st.Regiment(side, r).MovementPoints, cost);
    }
    st.Undo.MovementPoints = cost;
    RecomputeCorps(game, side, c);
}

void FillUndoRecord(State& st, const TParancs& o) {
    UndoRecord& u = st.Undo;
    u.Code = o.Code;
    // A move is of the selected side's corps, whatever side the record names.
    u.Side = o.Code == kOrderMove ? st.SelectedCorpsSide : o.Side;
    u.Corps = o.Corps;
    const THad& h = st.CorpsRec(IsSide(u.Side) ? u.Side : 0, IsCorps(st, u.Side, o.Corps) ? o.Corps : 0);
    u.X = h.X;
    u.Y = h.Y;
    u.Formation = h.Formation;
    u.MovementPoints = u.Readiness = u.Supply = 0;
}

int FormationChangeCost(const State& st, int side, int corps, int f) {
    const int size = IsCorps(st, side, corps) ? st.CorpsRec(side, corps).SizeClass : 1;
    const int q = f == 6 ? 100 : 1;
    return std::max(1, ((size - 1) * 20 * 40 / 100) / q);
}

void ApplyMoveCost(Game& game, int a, int c, int p) {
    State& st = game.state;
    if (!IsCorps(st, a, c)) return;
    int d = p / 7;
    if (st.GroundState == 2 || st.GroundState == 3) d += 1;
    st.Undo.MovementPoints += p;
    st.Undo.Readiness += d;
    st.Undo.Supply += d;
    THad& h = st.CorpsRec(a, c);
    for (int i = 1; i <= std::min(h.UnitCount, kCorpsUnitSlots); ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, a, r)) continue;
        TEzred& e = st.Regiment(a, r);
        const int m = e.MovementPoints;
        e.MovementPoints = std::clamp(e.MovementPoints - p, 0, 100);
        e.MovementUsed += p;
        e.Readiness = ClampSub(e.Readiness, d);
        e.Supply = ClampSub(e.Supply, d);
        if (m < p) e.Readiness = ClampSub(e.Readiness, kForcedMarchReadiness);
        if (st.PlayerType[a] == 2 && st.Difficulty == 3) e.Readiness += 1;
    }
    RecomputeCorps(game, a, c);
}

void MoveCorpsStep(Game& game, int a, int c, int cost, bool flag, Hex n) {
    State& st = game.state;
    if (!IsCorps(st, a, c) || !State::InHexArray(n.x, n.y)) return;
    HeldIndex held(game.watches, RecordKind::Corps, a, c);
    THad* h = &st.CorpsRec(a, c);
    const Hex old{h->X, h->Y};
    if (cost == 0) cost = MoveCost(st, old, n, false, true);
    const bool unseen = h->ReconLevel == 0;
    h->Activity = h->ActivityWeeks = 0;

    st.Cell(old.x, old.y).CorpsCount -= 1;
    st.Cell(n.x, n.y).CorpsCount += 1;
    h->X = n.x;
    h->Y = n.y;
    RefreshHexStack(game, a, 0, old.x, old.y);
    h->StackOrder = kStackTop;
    game.screen.RefreshCorpsMarker(a, c);
    const int oldCity = CityAt(st, old.x, old.y);
    if (oldCity) game.screen.RefreshCityMarker(oldCity);

    if (!h->AllClassOne && !flag) EnterEntrenchment(game, a, n.x, n.y);

    if (int city = CityAt(st, n.x, n.y); city && CityRec(st, city).Kind < 3 && CityRec(st, city).Owner == 3 - a) {
        if (h->ReconLevel < 3) h->ReconLevel += 1;
        if (!EnemyFieldCorpsOn(st, a, n)) {
            OccupyHex(game, a, h->Nation, h->General, n.x, n.y);
            if (CityRec(st, city).Owner == a) st.Undo.Available = 0;
        }
    }

    ApplyMoveCost(game, a, held.get(), cost);
    if (held.gone()) return;
    ContactReconnaissance(game, a, held.get());
    for (int d = 0; d <= 5 && !held.gone(); ++d) {
        const Hex nb = Neighbour(n, d);
        if (!OnMap(st, nb) || st.Cell(nb.x, nb.y).CorpsCount <= 0) continue;
        for (int e = 1; e <= st.CorpsCount[3 - a] && e <= kMaxCorps; ++e) {
            if (!StandsOn(st.CorpsRec(3 - a, e), nb.x, nb.y)) continue;
            ObserveCorps(game, 3 - a, e, held.get());
        }
        if (unseen && st.CorpsRec(a, held.get()).ReconLevel > 0 && st.ActiveSide != st.LocalSide)
            game.screen.CentreMapOn(n.x, n.y);
    }
    if (held.gone()) return;
    h = &st.CorpsRec(a, held.get());
    if (h->Formation == 5) h->Formation = 3;
    RecomputeCorps(game, a, held.get());
    if (!held.gone()) RefreshHexStack(game, a, held.get(), n.x, n.y);
    if (oldCity) game.screen.RefreshCityMarker(oldCity);
    st.SelectedHexX = n.x;
    st.SelectedHexY = n.y;
}

void MoveCorps(Game& game, Hex target) {
    State& st = game.state;
    st.EnemySpotted = 0;  // what this move spots
    const int side = st.SelectedCorpsSide;
    if (side != st.ActiveSide || !IsCorps(st, side, st.SelectedCorps)) return;
    HeldIndex held(game.watches, RecordKind::Corps, side, st.SelectedCorps);
    const Hex start{st.CorpsRec(side, held.get()).X, st.CorpsRec(side, held.get()).Y};
    const PathResult path =
        ShortestPath(game, start, target, st.CorpsRec(side, held.get()).MovementPoints, true, false);
    if (held.gone() || path[0] > st.CorpsRec(side, held.get()).MovementPoints) return;

    Hex cur = start;
    bool moved = false, onRail = false;
    for (int i = 1; i < kPathResultSize && !held.gone(); ++i) {
        const int d = path[static_cast<std::size_t>(i)];
        if (d < 0 || d > 5) break;
        const Hex n = Neighbour(cur, d);
        THad& h = st.CorpsRec(side, held.get());
        const bool rail = st.Cell(cur.x, cur.y).Road[static_cast<std::size_t>(d)] == 2 && !h.AllClassOne;
        h.Direction = d;
        // Never into an enemy: the target hex by the rules, any hex on the way because marching
        // through a hostile corps would leave the two sharing a hex without a battle.
        if (EnemyFieldCorpsOn(st, side, n) || st.EnemySpotted) break;
        h.MarkerState = 1;
        if (rail && !onRail) {
            h.MarkerArm = kMarkerArmTrain;
            PlayIfWatched(game, side, held.get(), kSoundTrain);
        } else if (!rail && onRail) {
            h.MarkerArm = MarkerArmOf(h);
            PlayIfWatched(game, side, held.get(), h.MarkerKind);
        } else if (!rail && !moved) {
            PlayIfWatched(game, side, held.get(), h.MarkerKind);
        }
        onRail = rail;
        game.screen.RefreshCorpsMarker(side, held.get());
        MoveCorpsStep(game, side, held.get(), 0, false, n);
        moved = true;
        cur = n;
    }
    if (held.gone()) return;
    THad& h = st.CorpsRec(side, held.get());
    if (moved) {
        h.Activity = h.ActivityWeeks = 0;
        h.StackOrder = kStackTop;
        st.SelectedHexX = h.X;
        st.SelectedHexY = h.Y;
    }
    UpdateCorpsMarker(game, side, held.get());
    const Hex now{h.X, h.Y};
    st.Cell(now.x, now.y).AiSupplyMark = MaxSupply(game, now, side, false, true);
    if (st.Cell(now.x, now.y).CorpsCount >= 2) RecomputeCompany(game, side, held.get(), now);
}

} // namespace vezer
