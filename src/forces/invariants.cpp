#include "forces/invariants.h"

#include "forces/forces.h"
#include "forces/markers.h"

#include <array>
#include <vector>
#include <set>
#include <utility>

namespace vezer {

namespace {

class Report {
public:
    explicit Report(std::vector<std::string>& out) : out_(out) {}
    template <typename... Parts> void operator()(Parts&&... parts) {
        std::string line;
        (Add(line, parts), ...);
        out_.push_back(std::move(line));
    }

private:
    static void Add(std::string& line, const std::string& s) { line += s; }
    static void Add(std::string& line, const char* s) { line += s; }
    static void Add(std::string& line, int v) { line += std::to_string(v); }
    std::vector<std::string>& out_;
};

std::string Corps(int side, int c) { return "corps " + std::to_string(side) + "/" + std::to_string(c); }
std::string Regiment(int side, int r) { return "regiment " + std::to_string(side) + "/" + std::to_string(r); }
std::string General(int side, int g) { return "general " + std::to_string(side) + "/" + std::to_string(g); }

bool CountsInRange(const State& st, Report& bad) {
    bool ok = true;
    for (int side = 1; side <= 2; ++side) {
        auto check = [&](const char* what, int count, int capacity) {
            if (count < 0 || count > capacity) {
                bad(what, " of side ", side, " is ", count, ", outside 0..", capacity);
                ok = false;
            }
        };
        check("RegimentCount", st.RegimentCount[side], kMaxRegiments);
        check("CorpsCount", st.CorpsCount[side], kMaxCorps);
        check("GeneralCount", st.GeneralCount[side], kMaxGenerals);
    }
    return ok;
}

void CheckSides(const State& st, Report& bad) {
    if (st.ActiveSide != 0 && st.OtherSide != 3 - st.ActiveSide)
        bad("OtherSide ", st.OtherSide, " with ActiveSide ", st.ActiveSide);
    if (st.LocalSide != 0 && st.LocalOtherSide != 3 - st.LocalSide)
        bad("LocalOtherSide ", st.LocalOtherSide, " with LocalSide ", st.LocalSide);
}

void CheckMembership(const State& st, int side, Report& bad) {
    std::vector<int> listedIn(static_cast<std::size_t>(st.RegimentCount[side]) + 1, 0);
    for (int c = 1; c <= st.CorpsCount[side]; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (h.SelfIndex != c) bad(Corps(side, c), " has SelfIndex ", h.SelfIndex);
        if (h.UnitCount < 0 || h.UnitCount > kMaxUnitsPerCorps) {
            bad(Corps(side, c), " lists ", h.UnitCount, " regiments");
            continue;
        }
        for (int i = 1; i <= h.UnitCount; ++i) {
            int r = h.Units[static_cast<std::size_t>(i)];
            if (!IsRegiment(st, side, r)) {
                bad(Corps(side, c), " slot ", i, " names regiment ", r, ", which does not exist");
                continue;
            }
            if (listedIn[static_cast<std::size_t>(r)] != 0)
                bad(Regiment(side, r), " is listed by corps ", listedIn[static_cast<std::size_t>(r)], " and ", c);
            listedIn[static_cast<std::size_t>(r)] = c;
            if (st.Regiment(side, r).Corps != c)
                bad(Corps(side, c), " lists ", Regiment(side, r), ", which names corps ", st.Regiment(side, r).Corps);
        }
    }
    for (int r = 1; r <= st.RegimentCount[side]; ++r) {
        const TEzred& e = st.Regiment(side, r);
        if (e.Type < 1 || e.Type > st.TypeCount || e.Type > kMaxTypes)
            bad(Regiment(side, r), " has type ", e.Type);
        if (e.Corps != 0 && listedIn[static_cast<std::size_t>(r)] != e.Corps)
            bad(Regiment(side, r), " names corps ", e.Corps, ", which does not list it");
    }
}

void CheckGenerals(const State& st, int side, Report& bad) {
    for (int c = 1; c <= st.CorpsCount[side]; ++c) {
        int g = st.CorpsRec(side, c).General;
        if (!IsGeneral(st, side, g)) bad(Corps(side, c), " has general ", g, ", who does not exist");
        else if (st.General(side, g).Corps != c)
            bad(Corps(side, c), " has ", General(side, g), ", who commands corps ", st.General(side, g).Corps);
    }
    for (int g = 1; g <= st.GeneralCount[side]; ++g) {
        int c = st.General(side, g).Corps;
        if (c == 0) continue;
        if (!IsCorps(st, side, c)) bad(General(side, g), " commands corps ", c, ", which does not exist");
        else if (st.CorpsRec(side, c).General != g)
            bad(General(side, g), " commands ", Corps(side, c), ", which is led by general ", st.CorpsRec(side, c).General);
    }
}

void CheckMap(const State& st, Report& bad) {
    // Corps standing on each hex, in a flat array over the map.
    std::vector<int> standing(static_cast<std::size_t>(kHexSpan * kHexSpan), 0);
    auto at = [](int x, int y) { return static_cast<std::size_t>((y - kHexMin) * kHexSpan + (x - kHexMin)); };
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const THad& h = st.CorpsRec(side, c);
            if (!State::InHexArray(h.X, h.Y)) bad(Corps(side, c), " stands off the map at ", h.X, ",", h.Y);
            else ++standing[at(h.X, h.Y)];
        }
    for (int y = kHexMin; y <= kHexMax; ++y)
        for (int x = kHexMin; x <= kHexMax; ++x) {
            const THex& hex = st.Cell(x, y);
            int n = standing[at(x, y)];
            if (hex.CorpsCount != n) bad("hex ", x, ",", y, " counts ", hex.CorpsCount, " corps; ", n, " stand there");
            if (hex.City == 0) continue;
            if (!IsCity(hex.City)) bad("hex ", x, ",", y, " names city ", hex.City);
            else if (st.Cities[static_cast<std::size_t>(hex.City)].X != x || st.Cities[static_cast<std::size_t>(hex.City)].Y != y)
                bad("hex ", x, ",", y, " names city ", hex.City, ", which stands elsewhere");
        }
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
        if (v.Kind == 0) continue;  // no city in this slot
        if (st.Cell(v.X, v.Y).City != c) bad("city ", c, " at ", v.X, ",", v.Y, " is not named by its hex");
        if ((v.Owner == 1 || v.Owner == 2) && v.GarrisonCorps != 0) {
            if (!IsCorps(st, v.Owner, v.GarrisonCorps))
                bad("city ", c, " has garrison corps ", v.GarrisonCorps, ", which does not exist");
            else if (!StandsOn(st.CorpsRec(v.Owner, v.GarrisonCorps), v.X, v.Y) ||
                     st.CorpsRec(v.Owner, v.GarrisonCorps).Garrison != 1)
                bad("city ", c, " has garrison ", Corps(v.Owner, v.GarrisonCorps), ", which is not a garrison there");
        }
    }
}

void CheckMarkers(const State& st, Report& bad) {
    std::set<int> slots;
    int used = 0;
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            int id = st.CorpsRec(side, c).MarkerId;
            if (id == 0) continue;
            ++used;
            if (id < kFirstCorpsMarkerSlot || id > kMarkerSlots) bad(Corps(side, c), " has marker slot ", id);
            if (!slots.insert(id).second) bad("marker slot ", id, " is used twice");
        }
    if (st.MarkerCount != used) bad("MarkerCount is ", st.MarkerCount, "; ", used, " corps have markers");
    int marks = CountEntrenchmentMarks(st);
    if (st.EntrenchmentMarkCount != marks)
        bad("EntrenchmentMarkCount is ", st.EntrenchmentMarkCount, "; ", marks, " hexes are entrenched");
    if (st.SelectedCorps != 0 && !IsCorps(st, st.SelectedCorpsSide, st.SelectedCorps))
        bad("the selected corps ", st.SelectedCorpsSide, "/", st.SelectedCorps, " does not exist");
}

} // namespace

std::vector<std::string> CheckInvariants(const State& st) {
    std::vector<std::string> out;
    Report bad(out);
    if (!CountsInRange(st, bad)) return out;
    CheckSides(st, bad);
    for (int side = 1; side <= 2; ++side) {
        CheckMembership(st, side, bad);
        CheckGenerals(st, side, bad);
    }
    CheckMap(st, bad);
    CheckMarkers(st, bad);
    return out;
}

std::vector<std::string> CheckDerivedFigures(const State& st) {
    std::vector<std::string> out;
    Report bad(out);
    if (!CountsInRange(st, bad)) return out;
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const THad& h = st.CorpsRec(side, c);
            std::array<long long, 5> sum{};  // cavalry, infantry, guns, siege guns, levies
            for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
                int r = h.Units[static_cast<std::size_t>(i)];
                if (!IsRegiment(st, side, r)) continue;
                const TEzred& e = st.Regiment(side, r);
                if (e.Arm >= 1 && e.Arm <= 3) sum[static_cast<std::size_t>(e.Arm - 1)] += e.Men;
                if (e.Type == 13) sum[3] += e.Men;
                if (e.Type == 6) sum[4] += e.Men;
            }
            const int have[] = {h.CavalryMen, h.InfantryMen, h.Guns, h.Type13Men, h.Type6Men};
            const char* names[] = {"CavalryMen", "InfantryMen", "Guns", "Type13Men", "Type6Men"};
            for (std::size_t k = 0; k < 5; ++k)
                if (have[k] != sum[k]) bad(Corps(side, c), " has ", names[k], " ", have[k], "; its regiments hold ", static_cast<int>(sum[k]));
        }
    return out;
}

} // namespace vezer
