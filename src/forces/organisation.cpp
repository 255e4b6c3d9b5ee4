#include "forces/organisation.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/texts.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/markers.h"
#include "forces/recon.h"
#include "forces/stacks.h"
#include "forces/strength.h"

#include <array>

namespace vezer {

int FirstCorpsAt(const State& st, int side, int x, int y, bool skipGarrisons, int except) {
    if (!IsSide(side)) return 0;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (c != except && StandsOn(h, x, y) && !(skipGarrisons && h.Garrison == 1)) return c;
    }
    return 0;
}

int SlotOf(const State& st, int side, int corps, int r) {
    if (!IsCorps(st, side, corps)) return 0;
    const THad& h = st.CorpsRec(side, corps);
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i)
        if (h.Units[static_cast<std::size_t>(i)] == r) return i;
    return 0;
}

namespace {

// Takes the entry in `slot` out of a corps' list: the last entry fills the hole.
void DropSlot(THad& h, int slot) {
    auto at = [&](int i) -> int& { return h.Units[static_cast<std::size_t>(i)]; };
    at(slot) = at(h.UnitCount);
    at(h.UnitCount) = 0;
    --h.UnitCount;
}

void Append(THad& h, int r) { h.Units[static_cast<std::size_t>(++h.UnitCount)] = r; }

// Regiments made for a corps that will not exist go again (their draws stay drawn).
void RemoveRegimentsNaming(Game& game, int side, int corps) {
    State& st = game.state;
    for (int r = st.RegimentCount[side]; r >= 1; --r)
        if (st.Regiment(side, r).Corps == corps) DeleteRegimentRecord(game, side, r);
}

int FortressBatteries(const State& st, int side, const THad& h) {
    int n = 0;
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        n += IsRegiment(st, side, r) && st.Regiment(side, r).Type == kTypeFortressBattery;
    }
    return n;
}

// Step 4 of a transfer: the room of the fortress a garrison holds.
bool FitsInFortress(const State& st, const THad& garrison, const TEzred& e) {
    const TVaros& city = CityRec(st, CityAt(st, garrison.X, garrison.Y));
    if (e.Arm == 3) return garrison.Guns + e.Men <= city.GarrisonGunCapacity;
    return garrison.CavalryMen + garrison.InfantryMen + e.Men <= city.GarrisonCapacity;
}

// Step 10 of a transfer: what becomes of the corps the regiment left.
void AfterLeaving(Game& game, int side, int o, int oldX, int oldY, bool keepEmpty) {
    State& st = game.state;
    THad& h = st.CorpsRec(side, o);
    if (h.UnitCount > 0) {
        RecomputeCorps(game, side, o);
        if (!IsCorps(st, side, o)) return;
        THad& left = st.CorpsRec(side, o);
        if (left.Activity == 11 && left.InfantryMen < 3000) left.Activity = 0;
        if (left.Activity == 12 && left.InfantryMen < 1000) left.Activity = 0;
        if (left.Activity == 0) left.ActivityWeeks = 0;
    } else if (keepEmpty) {
        h.CavalryMen = h.InfantryMen = h.Guns = h.Type13Men = h.Type6Men = 0;
        UpdateCorpsMarker(game, side, o);
    } else {
        RemoveCorps(game, side, o);
        st.SelectedCorps = TopVisibleCorps(st, side, oldX, oldY).corps;
        if (IsCorps(st, side, st.SelectedCorps)) {
            st.SelectedCorpsSide = side;
            st.CorpsRec(side, st.SelectedCorps).StackOrder = 1;
            game.screen.RefreshCorpsMarker(side, st.SelectedCorps);
        }
    }
}

// A reference to corps `old` of the removed side, rewritten: 0 when it went, `now` when the
// last corps moved into its slot.
void Follow(int& ref, int old, int now) {
    if (ref == old) ref = now;
}

// Every reference outside the computer's own bookkeeping to a corps that went (b) or moved
// from the last slot (from) into b.
void RewriteHeldReferences(State& st, int side, int b, int from) {
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.Owner != side) continue;
        if (city.GarrisonCorps == b) city.GarrisonCorps = 0;
        else if (from && city.GarrisonCorps == from) city.GarrisonCorps = b;
    }
    if (st.SelectedCorpsSide == side) {
        if (st.SelectedCorps == b) st.SelectedCorps = 0;
        else if (from && st.SelectedCorps == from) st.SelectedCorps = b;
    }
    if (st.Undo.Side == side) {
        if (st.Undo.Corps == b) st.Undo.Available = 0;
        else if (from && st.Undo.Corps == from) st.Undo.Corps = b;
    }
    if (st.AiSiegeCorps[side] == b) st.AiSiegeCorps[side] = 0;
    else if (from && st.AiSiegeCorps[side] == from) st.AiSiegeCorps[side] = b;
}

} // namespace

THad EmptyCorpsRecord() {
    THad h;
    h.Formation = 1;
    h.Tactic = 3;
    h.SupplyDemand = 1;
    h.CombatValue = 1;
    h.AllClassOne = h.AllClassZero = h.ArtilleryOnly = 1;
    h.ObjectiveX = -1;
    return h;
}

int CreateRegiment(Game& game, int side, int index, const TEzred& tmpl) {
    State& st = game.state;
    if (!IsSide(side) || !IsType(tmpl.Type) || tmpl.Type > kTypeCounterSlots) return 0;
    if (index == 0) {
        if (st.RegimentCount[side] >= kMaxRegiments) return 0;
        index = ++st.RegimentCount[side];
        ++st.TypeCounter[side][static_cast<std::size_t>(tmpl.Type)];
    } else if (!IsRegiment(st, side, index)) {
        return 0;
    }
    // An overwritten regiment leaves its old corps' list first.
    TEzred& e = st.Regiment(side, index);
    if (int slot = SlotOf(st, side, e.Corps, index)) DropSlot(st.CorpsRec(side, e.Corps), slot);

    const TEzredAlap& type = st.Types[static_cast<std::size_t>(tmpl.Type)];
    e = tmpl;
    e.ExperienceBuildUp = 0;
    e.Arm = type.Arm;
    e.Ordinal = st.TypeCounter[side][static_cast<std::size_t>(tmpl.Type)];
    e.Visibility = type.BaseVisibility;
    e.Men = RoundHalfEvenRatio(1LL * type.FullStrength * tmpl.FillPercent, 100);
    e.Name = RegimentTitle(st, side, index);
    e.MovementPoints = 255;
    if (IsCorps(st, side, e.Corps)) {
        THad& h = st.CorpsRec(side, e.Corps);
        if (h.UnitCount < kMaxUnitsPerCorps) Append(h, index);
        else e.Corps = 0;
    } else if (e.Corps != st.CorpsCount[side] + 1) {
        e.Corps = 0;
    }
    return index;
}

bool CreateCorps(Game& game, int side, int index, const THad& tmpl) {
    State& st = game.state;
    if (!IsSide(side) || index < 1) return false;
    const bool fresh = index > st.CorpsCount[side];
    if (fresh) {
        index = st.CorpsCount[side] + 1;
        if (index > kMaxCorps) {
            RemoveRegimentsNaming(game, side, index);
            return false;
        }
    }
    TopUpGenerals(game, side);
    const int g = tmpl.General;
    if (!IsGeneral(st, side, g)) {
        ShowMessageIfLocal(game, kNoGeneralMessage);
        if (fresh) RemoveRegimentsNaming(game, side, index);
        return false;
    }
    // A general leads one corps: one who commands another is not taken from it here.
    int commands = st.General(side, g).Corps;
    if (commands != index && IsCorps(st, side, commands) && st.CorpsRec(side, commands).General == g) {
        if (fresh) RemoveRegimentsNaming(game, side, index);
        return false;
    }

    int markerId = 0;
    if (fresh) {
        st.CorpsCount[side] = index;
        st.Cell(tmpl.X, tmpl.Y).CorpsCount += 1;
    } else {
        const THad& old = st.CorpsRec(side, index);
        markerId = old.MarkerId;
        if (old.General != g && IsGeneral(st, side, old.General) && st.General(side, old.General).Corps == index)
            st.General(side, old.General).Corps = 0;
    }
    THad& h = st.CorpsRec(side, index);
    h = tmpl;
    h.MarkerId = markerId;
    h.UnitCount = 0;
    h.Units.fill(0);
    h.CavalryMen = h.InfantryMen = h.Guns = 0;
    h.EstimateError = 0;
    h.SelfIndex = index;
    if (st.Difficulty == 1) h.Formation = 4;
    st.General(side, g).Corps = index;
    for (int r = 1; r <= st.RegimentCount[side]; ++r) {
        TEzred& e = st.Regiment(side, r);
        if (e.Corps != index) continue;
        // More than a corps can list would be a broken game; such regiments stand in no corps.
        if (h.UnitCount < kCorpsUnitSlots) Append(h, r);
        else e.Corps = 0;
    }
    if (int city = CityAt(st, h.X, h.Y); city && h.Garrison == 1) CityRec(st, city).GarrisonCorps = index;
    if (h.UnitCount > 0) RefreshHexStack(game, side, index, h.X, h.Y);
    return true;
}

bool MoveRegiment(Game& game, int side, int r, int t, bool keepEmpty) {
    State& st = game.state;
    if (!IsCorps(st, side, t) || !IsRegiment(st, side, r)) return false;
    const int o = IsCorps(st, side, st.Regiment(side, r).Corps) ? st.Regiment(side, r).Corps : 0;
    if (o == t) return false;
    if (st.CorpsRec(side, t).UnitCount >= kMaxUnitsPerCorps) {
        ShowMessageIfLocal(game, kCorpsFullMessage);
        return false;
    }
    const TEzred& moving = st.Regiment(side, r);
    if (o && st.CorpsRec(side, o).Garrison == 1 && moving.Type == kTypeFortressBattery &&
        FortressBatteries(st, side, st.CorpsRec(side, o)) < 2) {
        ShowMessageIfLocal(game, kLastFortressBatteryMessage);
        return false;
    }
    if (o && st.CorpsRec(side, t).Garrison == 1 && !FitsInFortress(st, st.CorpsRec(side, t), moving)) {
        ShowMessageIfLocal(game, kFortressFullMessage);
        return false;
    }

    // Recomputing the corps left behind may remove corps and regiments: the indices follow.
    HeldIndex target(game.watches, RecordKind::Corps, side, t);
    HeldIndex regiment(game.watches, RecordKind::Regiment, side, r);
    HeldIndex source(game.watches, RecordKind::Corps, side, o);
    int oldX = 0, oldY = 0, oldFormation = 0, oldRecon = 0, oldTactic = 0;
    st.Regiment(side, r).Corps = t;
    if (o) {
        THad& from = st.CorpsRec(side, o);
        oldX = from.X, oldY = from.Y;
        oldFormation = from.Formation, oldRecon = from.ReconLevel, oldTactic = from.Tactic;
        if (int slot = SlotOf(st, side, o, r)) DropSlot(from, slot);
        if (from.UnitCount > 0) RecomputeCorps(game, side, o);
    }
    if (target.gone() || regiment.gone()) return true;  // a broken corps fell apart under it
    THad& to = st.CorpsRec(side, target.get());
    TEzred& e = st.Regiment(side, regiment.get());
    Append(to, regiment.get());
    if (o && st.Difficulty != 1 && to.Formation != oldFormation && to.Formation != 1 && to.Formation != 6)
        e.Readiness = ClampSub(e.Readiness, 10);
    if (o && to.UnitCount == 1) {
        to.Formation = oldFormation;
        to.ReconLevel = oldRecon;
        to.Tactic = oldTactic;
    }
    e.Morale = ClampSub(e.Morale, 5);
    RecomputeRegiment(st, side, regiment.get());
    if (o && !source.gone()) AfterLeaving(game, side, source.get(), oldX, oldY, keepEmpty);
    if (target.gone()) return true;
    RecomputeCorps(game, side, target.get());
    if (IsCorps(st, side, target.get())) {
        THad& h = st.CorpsRec(side, target.get());
        if (h.ReconLevel > 1) {
            --h.ReconLevel;
            RefreshEstimates(game, side, target.get());
        }
    }
    return true;
}

bool SplitRegiment(Game& game, int side, int r) {
    State& st = game.state;
    if (!IsRegiment(st, side, r)) return false;
    const int c = st.Regiment(side, r).Corps;
    if (!IsCorps(st, side, c) || st.CorpsRec(side, c).UnitCount >= kMaxUnitsPerCorps) return false;
    if (st.RegimentCount[side] >= kMaxRegiments) return false;
    TEzred& e = st.Regiment(side, r);
    if (e.Arm == 3 ? e.Men < 2 : e.Men < 300) return false;

    const long long full = TypeOf(st, e).FullStrength > 0 ? TypeOf(st, e).FullStrength : 1;
    e.Morale = ClampSub(e.Morale, 5);
    TEzred tmpl = e;
    tmpl.Corps = 0;
    const int n = RoundHalfEvenRatio(e.Men, 3);
    tmpl.Men = n;
    tmpl.FillPercent = RoundHalfEvenRatio(100LL * n, full);
    e.Men -= n;
    e.FillPercent = RoundHalfEvenRatio(100LL * e.Men, full);

    HeldIndex held(game.watches, RecordKind::Regiment, side, r);
    HeldIndex corps(game.watches, RecordKind::Corps, side, c);
    RecomputeCorps(game, side, c);
    int fresh = CreateRegiment(game, side, 0, tmpl);
    if (fresh == 0 || held.gone() || corps.gone()) return false;
    st.Regiment(side, fresh).MovementPoints = st.Regiment(side, held.get()).MovementPoints;
    st.Regiment(side, fresh).Men = n;
    HeldIndex split(game.watches, RecordKind::Regiment, side, fresh);
    MoveRegiment(game, side, fresh, corps.get(), false);
    if (!split.gone() && !held.gone()) st.Regiment(side, split.get()).Morale = st.Regiment(side, held.get()).Morale;
    return true;
}

void MarkMergeCandidates(State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return;
    const THad& h = st.CorpsRec(side, corps);
    std::array<long long, kMaxTypes + 1> missing{};
    auto gap = [&](const TEzred& e) { return static_cast<long long>(TypeOf(st, e).FullStrength) - e.Men; };
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, side, r) && IsType(st.Regiment(side, r).Type))
            missing[static_cast<std::size_t>(st.Regiment(side, r).Type)] += gap(st.Regiment(side, r));
    }
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        long long room = IsType(e.Type) ? missing[static_cast<std::size_t>(e.Type)] - gap(e) : 0;
        e.MergeCandidate = room >= e.Men ? 1 : 0;
    }
}

bool MergeRegiment(Game& game, int side, int r) {
    State& st = game.state;
    if (!IsRegiment(st, side, r)) return false;
    const int c = st.Regiment(side, r).Corps;
    if (!IsCorps(st, side, c)) return false;
    const THad& h = st.CorpsRec(side, c);
    TEzred& e = st.Regiment(side, r);
    const int full = TypeOf(st, e).FullStrength;
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots && e.Men > 0; ++i) {
        int other = h.Units[static_cast<std::size_t>(i)];
        if (other == r || !IsRegiment(st, side, other)) continue;
        TEzred& o = st.Regiment(side, other);
        if (o.Type != e.Type) continue;
        // A receiver above full strength has no room: men are neither made nor lost.
        int room = full - o.Men > 0 ? full - o.Men : 0;
        int moved = room < e.Men ? room : e.Men;
        if (moved == 0) continue;
        auto blend = [&](int mine, int theirs) {
            return RoundHalfEvenRatio(1LL * o.Men * mine + 1LL * moved * theirs, 1LL * o.Men + moved);
        };
        o.Experience = blend(o.Experience, e.Experience);
        o.Morale = blend(o.Morale, e.Morale);
        o.Readiness = blend(o.Readiness, e.Readiness);
        o.Supply = blend(o.Supply, e.Supply);
        o.Men += moved;
        e.Men -= moved;
    }
    if (e.Men > 0) {
        // What found no room stays with its colours rather than vanish.
        RecomputeCorps(game, side, c);
        return false;
    }
    RemoveRegiment(game, side, r);
    return true;
}

void ConsolidateRegiments(Game& game, int side) {
    State& st = game.state;
    if (!IsSide(side)) return;
    for (int c = 1; c <= st.CorpsCount[side];) {
        HeldIndex corps(game.watches, RecordKind::Corps, side, c);
        MarkMergeCandidates(st, side, c);
        int slot = 1;
        while (!corps.gone() && slot <= st.CorpsRec(side, c).UnitCount) {
            int r = st.CorpsRec(side, c).Units[static_cast<std::size_t>(slot)];
            if (!IsRegiment(st, side, r) || !st.Regiment(side, r).MergeCandidate) {
                ++slot;
                continue;
            }
            bool removed = MergeRegiment(game, side, r);
            if (corps.gone()) break;
            MarkMergeCandidates(st, side, c);
            if (!removed) ++slot;  // the same slot holds another regiment only after a removal
        }
        if (!corps.gone()) ++c;  // otherwise the corps now at c is consolidated next
    }
}

int DeleteRegimentRecord(Game& game, int side, int b) {
    State& st = game.state;
    if (!IsRegiment(st, side, b)) return 0;
    int c = st.Regiment(side, b).Corps;
    if (int slot = SlotOf(st, side, c, b)) DropSlot(st.CorpsRec(side, c), slot);
    else c = 0;
    const int last = st.RegimentCount[side];
    if (b < last) {
        TEzred& moved = st.Regiment(side, b);
        moved = st.Regiment(side, last);
        if (int slot = SlotOf(st, side, moved.Corps, last))
            st.CorpsRec(side, moved.Corps).Units[static_cast<std::size_t>(slot)] = b;
    }
    --st.RegimentCount[side];
    game.watches.Notify(RecordKind::Regiment, side, b, b < last ? last : 0);
    return c;
}

void RemoveRegiment(Game& game, int side, int b) {
    State& st = game.state;
    int c = DeleteRegimentRecord(game, side, b);
    if (!IsCorps(st, side, c)) return;
    if (st.CorpsRec(side, c).UnitCount == 0) RemoveCorps(game, side, c);
    else RecomputeCorps(game, side, c);
}

bool RemoveCorps(Game& game, int side, int b) {
    State& st = game.state;
    if (!IsCorps(st, side, b) || st.CorpsRec(side, b).UnitCount > 0) return false;
    const int oldX = st.CorpsRec(side, b).X, oldY = st.CorpsRec(side, b).Y;
    THex& hex = st.Cell(oldX, oldY);
    if (hex.CorpsCount > 0) --hex.CorpsCount;
    if (int g = st.CorpsRec(side, b).General; IsGeneral(st, side, g) && st.General(side, g).Corps == b)
        st.General(side, g).Corps = 0;
    const bool computer = st.PlayerType[side] == 2;
    if (computer) RewriteCorpsReferences(st, side, b, 0);
    DeleteCorpsMarker(game, side, b);
    RewriteHeldReferences(st, side, b, 0);

    const int last = st.CorpsCount[side];
    if (b < last) {
        THad& moved = st.CorpsRec(side, b);
        moved = st.CorpsRec(side, last);
        moved.SelfIndex = b;
        for (int i = 1; i <= moved.UnitCount && i <= kCorpsUnitSlots; ++i) {
            int r = moved.Units[static_cast<std::size_t>(i)];
            if (IsRegiment(st, side, r)) st.Regiment(side, r).Corps = b;
        }
        if (IsGeneral(st, side, moved.General) && st.General(side, moved.General).Corps == last)
            st.General(side, moved.General).Corps = b;
        if (computer) RewriteCorpsReferences(st, side, last, b);
        RewriteHeldReferences(st, side, b, last);
    }
    st.CorpsRec(side, last) = EmptyCorpsRecord();
    st.CorpsCount[side] = last - 1;
    game.watches.Notify(RecordKind::Corps, side, b, b < last ? last : 0);
    if (IsCorps(st, side, b)) {
        game.screen.RefreshCorpsMarker(side, b);  // the moved corps' marker now belongs to slot b
        RecomputeCorps(game, side, b);
    }
    RefreshHexStack(game, side, 0, oldX, oldY);
    return true;
}

void RewriteCorpsReferences(State& st, int side, int old, int now) {
    if (!IsSide(side)) return;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        if (c == old || c == now) continue;
        THad& h = st.CorpsRec(side, c);
        if (h.SuperiorCorps == old) {
            h.SuperiorCorps = now;
            if (now == 0) {
                h.ObjectiveX = -1;
                h.Role = 4;
                h.TargetCorps = 0;
                h.Task = 4;
            }
        }
        Follow(h.GuardCorps, old, now);
        if (h.Task == 4 && h.TargetCorps == old) {
            h.TargetCorps = now;
            if (now == 0) {
                h.ObjectiveX = -1;
                h.Role = 4;
            }
        }
    }
    const int other = 3 - side;
    for (int c = 1; c <= st.CorpsCount[other] && c <= kMaxCorps; ++c) {
        THad& h = st.CorpsRec(other, c);
        if (h.Task == 1) Follow(h.TargetCorps, old, now);
        Follow(h.ThreatCorps, old, now);
    }
}

std::string CorpsName(const State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return "";
    const THad& h = st.CorpsRec(side, corps);
    std::string name;
    if (h.Garrison == 1) {
        name = CityRec(st, CityAt(st, h.X, h.Y)).Name.str() + kGarrisonNameSuffix;
    } else {
        if (IsGeneral(st, side, h.General)) name = st.General(side, h.General).FamilyName.str();
        if (h.SizeClass >= 1 && h.SizeClass <= 3) name += st.Texts.SizeClassName[static_cast<std::size_t>(h.SizeClass)].str();
    }
    return std::string(CutToChars(name, 25));
}

} // namespace vezer
