#include "fuzz/save_layout.h"

#include "files/savegame.h"

#include <algorithm>
#include <memory>

namespace vezer::fuzz {

namespace {

constexpr std::uint8_t kReduceAfter = 1;
constexpr std::uint8_t kMovement = 2; // summed as MovementPoints alone: the value mod 1000

std::unique_ptr<State> SetUpOf(const SaveSizes& sizes) {
    auto st = std::make_unique<State>();
    st->TypeCount = sizes.typeCount;
    st->MapMaxX = sizes.mapMaxX;
    st->MapMaxY = sizes.mapMaxY;
    for (int side = 1; side <= 2; ++side) st->InitialGeneralCount[side] = sizes.initialGenerals[side];
    for (std::size_t t = 1; t < sizes.fullStrength.size() && t <= static_cast<std::size_t>(kMaxTypes); ++t)
        st->Types[t].FullStrength = sizes.fullStrength[t];
    return st;
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
    const FileMap map = SaveFileMap(BytesOf(ints), *SetUpOf(sizes));
    SaveLayout layout;
    layout.email = !ints.empty() && ints[0] == 101;
    layout.checksumAt = map.checkAt / 4;
    layout.complete = map.complete;
    for (std::size_t at : map.marks) layout.blockStarts.push_back(at / 4);
    layout.roles.assign(std::min(layout.checksumAt, ints.size()), 0);
    for (const MappedField& f : map.fields) {
        const std::size_t at = f.offset / 4;
        if (at < layout.roles.size())
            layout.roles[at] = static_cast<std::uint8_t>((f.reduceAfter ? kReduceAfter : 0) |
                                                         (f.summed == Summed::Remainder ? kMovement : 0));
        if (!f.Checked()) continue;
        const bool side = f.record != nullptr && std::string(f.record) == "side";
        layout.checked.push_back(
            {at, f.record, side ? f.side : f.index, side ? 0 : f.side, f.field, f.lo, f.hi});
    }
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
