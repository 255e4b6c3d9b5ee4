#include "fuzz/save_layout.h"

#include <algorithm>

namespace vezer::fuzz {

namespace {

constexpr std::uint8_t kReduceAfter = 1;
constexpr std::uint8_t kMovement = 2; // summed as MovementPoints alone: the value mod 1000
constexpr int kNoBound = INT_MAX;

// Walks the values in file order, recording the checked ones and the reduction points.
class Walker {
public:
    Walker(const std::vector<std::int32_t>& ints, SaveLayout& layout) : ints_(ints), layout_(layout) {}

    bool Has() const { return pos_ < ints_.size(); }
    std::size_t Pos() const { return pos_; }
    void Block() { layout_.blockStarts.push_back(pos_); }
    // The record the following checked values belong to.
    void About(const char* record, int index = 0, int second = 0) {
        record_ = record;
        index_ = index;
        second_ = second;
    }

    // A value with no check; returns it (0 past the end of the file).
    int Skip() {
        const int v = Has() ? ints_[pos_] : 0;
        if (inBody_) layout_.roles.push_back(0);
        ++pos_;
        return v;
    }
    int Checked(const char* field, int lo, int hi) {
        layout_.checked.push_back({pos_, record_, index_, second_, field, lo, hi});
        return Skip();
    }
    // The packed movement value: MovementPoints + 1000 x MovementUsed, never negative.
    void Movement() {
        Checked("packed movement", 0, kNoBound);
        layout_.roles.back() |= kMovement;
    }
    void Reduce() {
        if (!layout_.roles.empty()) layout_.roles.back() |= kReduceAfter;
    }
    void EndBody() { inBody_ = false; }

private:
    const std::vector<std::int32_t>& ints_;
    SaveLayout& layout_;
    std::size_t pos_ = 0;
    bool inBody_ = true;
    const char* record_ = nullptr;
    int index_ = 0, second_ = 0;
};

void WalkRegiment(Walker& w, int side, int r, int corpsCount, const SaveSizes& sizes) {
    w.About("regiment", r, side);
    const int type = w.Checked("Type", 1, sizes.typeCount);
    w.Checked("Arm", 1, 3);
    w.Skip(); // Ordinal
    w.Checked("Corps", 0, corpsCount);
    w.Checked("CorpsFormation", 0, 7);
    w.Skip(); // CombatValueFull
    w.Skip(); // DefenceValue
    w.Checked("Nation", 1, 11);
    w.Checked("Experience", 0, 200);
    w.Skip(); // ExperienceBuildUp
    w.Checked("Morale", 0, 200);
    w.Checked("Readiness", 0, 200);
    w.Checked("Supply", 0, 200);
    const bool known = type >= 1 && static_cast<std::size_t>(type) < sizes.fullStrength.size();
    const int full = known ? sizes.fullStrength[static_cast<std::size_t>(type)] : 0;
    const long long most = full > 0 ? 100LL * full : INT_MAX;
    w.Checked("Men", 0, static_cast<int>(std::min<long long>(most, INT_MAX)));
    w.Skip(); // FillPercent
    w.Movement();
    w.Skip(); // MovementAllowance
    w.Skip(); // BattleLine
    w.Reduce();
}

void WalkCorps(Walker& w, int side, int c, int generals, const SaveSizes& sizes) {
    w.About("corps", c, side);
    w.Checked("General", 0, generals);
    w.Checked("Activity", 0, 30);
    w.Skip(); // ActivityWeeks
    w.Skip(); // MovementPoints
    w.Checked("X", 0, sizes.mapMaxX);
    w.Checked("Y", 0, sizes.mapMaxY);
    w.Checked("Direction", 0, 5);
    w.Checked("Formation", 1, 7);
    w.Reduce();
    w.Checked("Tactic", 1, 3);
    w.Checked("UnitCount", 0, 100);
    w.Checked("ReconLevel", 0, kNoBound);
    for (int i = 0; i < 3; ++i) w.Skip(); // the three estimates
    w.Reduce();
    w.Skip(); // MarkerArm
    w.Skip(); // MarkerState
    w.Checked("Nation", 0, 11);
    w.Checked("Garrison", 0, 1);
    w.Reduce();
    for (int i = 0; i < 7; ++i) w.Skip(); // TurnsSinceBattle .. Role
    w.Checked("SuperiorCorps", 0, 250);
    w.Checked("TargetCorps", 0, 250);
    w.Checked("GuardCorps", 0, 250);
    w.Checked("LastCityObjective", 0, 100);
    w.Skip(); // EstimateError
    w.Reduce();
    for (int i = 0; i < 18; ++i) w.Skip(); // AiMemory
    w.Reduce();
}

void WalkTrailer(Walker& w) {
    w.Block();
    w.About(nullptr);
    w.Checked("RandPos", 1, 10000);
    w.Checked("RandStep", 1, 15);
    w.Block();
    int flags[3] = {0, 0, 0};
    for (int side = 1; side <= 2; ++side) {
        w.About("side", side);
        flags[side] = w.Checked("password flag", 0, 1);
    }
    for (int side = 1; side <= 2 && w.Has(); ++side) {
        if (flags[side] != 1) continue;
        w.About("side", side);
        const int length = w.Checked("password length", 0, 40);
        for (int i = 0; i < std::clamp(length, 0, 40); ++i) w.Skip();
    }
}

} // namespace

std::string CheckedValue::Name() const {
    if (record == nullptr) return field;
    const std::string r(record);
    if (r == "hex") return "hex (" + std::to_string(index) + ", " + std::to_string(second) + "): " + field;
    if (r == "city") return "city " + std::to_string(index) + ": " + field;
    if (r == "side") return std::string(field) + " of side " + std::to_string(index);
    return r + " " + std::to_string(index) + " of side " + std::to_string(second) + ": " + field;
}

SaveLayout ReadSaveLayout(const std::vector<std::int32_t>& ints, const SaveSizes& sizes) {
    SaveLayout layout;
    Walker w(ints, layout);

    w.Block();
    const int dataSet = w.Checked("DataSet", 1, 1);
    layout.email = dataSet == 101;
    if (layout.email) layout.checked.back().lo = layout.checked.back().hi = 101;
    w.Checked("Campaign", 0, 6);
    w.Skip(); // Language
    // The other side must be 3 minus the side (any side outside 1..2 is refused itself).
    auto other = [](int side) { return side == 1 ? 2 : 1; };
    const int active = w.Checked("ActiveSide", 1, 2);
    w.Checked("OtherSide", other(active), other(active));
    const int local = w.Checked("LocalSide", 1, 2);
    w.Checked("LocalOtherSide", other(local), other(local));
    w.Block();
    w.Checked("FogOfWar", 0, 1);
    w.Checked("interventions", 0, 22);
    w.Checked("KeepReinforcementDates", 0, 1);
    w.Checked("Difficulty", 1, 10);
    w.Skip(); // ReservedOption
    w.Block();
    w.Skip();
    w.Skip();
    w.Block();
    w.Skip(); // Year
    w.Checked("Month", 1, 12);
    w.Checked("Week", 1, 4);
    w.Block();
    w.Checked("RiverState", 1, 4);
    w.Checked("DanubeState", 1, 4);
    w.Checked("GroundState", 1, 4);
    w.Checked("Temperature", 1, 3);
    w.Checked("Weather", 1, 4);
    w.Checked("PrevTemperature", 0, 3);
    w.Checked("PrevWeather", 0, 4);
    w.Checked("PrevGround", 0, 4);

    w.Block();
    w.About(nullptr);
    int corps[3] = {}, regiments[3] = {}, generals[3] = {};
    for (int side = 1; side <= 2; ++side) {
        w.About("side", side);
        w.Checked("PlayerType", 1, 3);
        corps[side] = std::clamp(w.Checked("corps count", 0, 250), 0, 250);
        regiments[side] = std::clamp(w.Checked("regiment count", 0, 800), 0, 800);
        generals[side] = std::clamp(w.Checked("general count", 0, 250), 0, 250);
        w.Skip(); // Zeal
    }

    for (int side = 1; side <= 2; ++side) {
        w.Block();
        for (int r = 1; r <= regiments[side] && w.Has(); ++r) WalkRegiment(w, side, r, corps[side], sizes);
        const int commanders = std::max(generals[side], sizes.initialGenerals[side]);
        for (int c = 1; c <= corps[side] && w.Has(); ++c) WalkCorps(w, side, c, commanders, sizes);
        for (int g = 1; g <= generals[side] && w.Has(); ++g) {
            w.Skip(); // Available
            // A general created in play is made again from its nation, whose name class must be 1..3.
            const bool created = g > sizes.initialGenerals[side];
            w.About("general", g, side);
            w.Checked("Nation", created ? 1 : 0, created ? 9 : 11);
        }
        w.Reduce();
    }

    w.Block();
    for (int c = 1; c <= 75 && w.Has(); ++c) {
        w.About("city", c);
        w.Checked("Owner", 0, 3);
        w.Checked("FlagClass", 0, 11);
        w.Skip(); // FortStrength
        w.Checked("GarrisonCorps", 0, 250);
        w.Checked("RecruitType", 0, sizes.typeCount);
        w.Skip(); // RecruitWeeksLeft
        w.Checked("CaptureCounter", 0, kNoBound);
    }
    w.Reduce();

    w.Block();
    for (int x = 0; x <= sizes.mapMaxX && w.Has(); ++x) {
        for (int y = 0; y <= sizes.mapMaxY; ++y) {
            w.About("hex", x, y);
            w.Checked("Entrenchment", 0, 2);
            w.Checked("EntrenchmentSide", 0, 2);
        }
    }

    w.Block();
    for (int i = 0; i < 50; ++i) w.Skip(); // Arrived

    w.Block();
    for (int side = 1; side <= 2; ++side) {
        for (int i = 0; i < 3; ++i) w.Skip();
        w.Reduce();
        for (int arm = 1; arm <= 3; ++arm) {
            w.Skip();
            w.Reduce();
        }
    }
    w.Skip();
    w.Skip();

    w.Block();
    for (int t = 1; t <= sizes.typeCount; ++t) w.Skip();
    w.Reduce();

    w.Block();
    layout.checksumAt = w.Pos();
    layout.roles.resize(std::min(layout.checksumAt, layout.roles.size()));
    w.EndBody();
    if (w.Has()) {
        w.Skip();
        layout.complete = true;
        if (layout.email && w.Has()) {
            WalkTrailer(w);
            layout.complete = w.Pos() <= ints.size();
        }
    }
    // Values that lie beyond the end of the file are not part of it.
    std::erase_if(layout.checked, [&](const CheckedValue& v) { return v.at >= ints.size(); });
    return layout;
}

std::int32_t AddToChecksum(std::int32_t sum, const SaveLayout& layout, std::size_t at, std::int32_t value) {
    const std::uint8_t role = at < layout.roles.size() ? layout.roles[at] : 0;
    const std::int32_t added = (role & kMovement) ? value % 1000 : value;
    // 32-bit wrapping addition, and the remainder truncating toward zero.
    sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) + static_cast<std::uint32_t>(added));
    return (role & kReduceAfter) ? sum % 2000 : sum;
}

std::int32_t SaveChecksum(const std::vector<std::int32_t>& ints, const SaveLayout& layout) {
    std::int32_t s = 0;
    const std::size_t end = std::min({layout.checksumAt, ints.size(), layout.roles.size()});
    for (std::size_t i = 0; i < end; ++i) s = AddToChecksum(s, layout, i, ints[i]);
    return s;
}

bool RepairChecksum(std::vector<std::int32_t>& ints, const SaveSizes& sizes) {
    const SaveLayout layout = ReadSaveLayout(ints, sizes);
    if (layout.checksumAt >= ints.size()) return false;
    ints[layout.checksumAt] = SaveChecksum(ints, layout);
    return true;
}

std::vector<std::int32_t> IntsOf(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int32_t> ints(bytes.size() / 4);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        std::uint32_t v = 0;
        for (int b = 3; b >= 0; --b) v = (v << 8) | bytes[i * 4 + static_cast<std::size_t>(b)];
        ints[i] = static_cast<std::int32_t>(v);
    }
    return ints;
}

std::vector<std::uint8_t> BytesOf(const std::vector<std::int32_t>& ints) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(ints.size() * 4);
    for (std::int32_t i : ints) {
        const auto v = static_cast<std::uint32_t>(i);
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
    }
    return bytes;
}

} // namespace vezer::fuzz
