#include "core/field_walk.h"

namespace vezer {

std::string FieldContext::Context() const {
    if (record_ == nullptr) return "";
    if (hex_) return " of hex (" + std::to_string(index_) + ", " + std::to_string(side_) + ")";
    std::string text = std::string(" of ") + record_;
    if (index_ > 0) text += " " + std::to_string(index_);
    if (side_ > 0) text += " of side " + std::to_string(side_);
    return text;
}

bool MappedField::Accepts(long long value) const {
    if (!allowed.empty()) return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
    return value >= lo && value <= hi;
}

std::string MappedField::Name() const {
    if (record == nullptr) return field;
    const std::string r(record);
    if (r == "hex") return "hex (" + std::to_string(index) + ", " + std::to_string(side) + "): " + field;
    std::string text = r;
    if (index > 0) text += " " + std::to_string(index);
    if (side > 0) text += " of side " + std::to_string(side);
    return text + ": " + field;
}

std::int32_t ValueAt(const Bytes& bytes, std::size_t offset, int width) {
    if (width == 1) return bytes[offset];
    std::uint32_t v = 0;
    for (int b = 3; b >= 0; --b) v = (v << 8) | bytes[offset + static_cast<std::size_t>(b)];
    return static_cast<std::int32_t>(v);
}

void PutValueAt(Bytes& bytes, std::size_t offset, int width, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int b = 0; b < width; ++b) bytes[offset + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
}

std::int32_t FileMap::ComputeCheck(const Bytes& bytes) const {
    CheckValue check(modulus);
    for (const MappedField& f : fields) {
        if (f.offset >= checkAt) break;
        const std::int32_t v = ValueAt(bytes, f.offset, f.width);
        if (f.summed == Summed::Value) check.Add(v);
        if (f.summed == Summed::Remainder) check.Add(v % f.sumFactor);
        if (f.reduceAfter) check.Reduce();
    }
    return check.Value();
}

bool FileMap::RepairCheck(Bytes& bytes) const {
    if (checkWidth == 0 || checkAt + static_cast<std::size_t>(checkWidth) > bytes.size()) return false;
    PutValueAt(bytes, checkAt, checkWidth, ComputeCheck(bytes));
    return true;
}

int FieldReader::RecordsLeft(std::size_t recordBytes, std::size_t tailBytes, const char* reason) {
    const std::size_t left = in_.Remaining();
    if (left < tailBytes || (left - tailBytes) % recordBytes != 0) Fail(reason);
    return static_cast<int>((left - tailBytes) / recordBytes);
}

void FieldReader::OutOfRange(int v, int lo, int hi, const char* name) const {
    const std::string bound = lo == kNoLowerBound   ? "above " + std::to_string(hi)
                              : hi == kNoUpperBound ? "below " + std::to_string(lo)
                                                    : "outside " + std::to_string(lo) + ".." + std::to_string(hi);
    Fail(std::string(name) + Context() + " is " + std::to_string(v) + ", " + bound);
}

void FieldReader::NotAllowed(int v, std::initializer_list<int> allowed, const char* name) const {
    std::string list;
    for (int a : allowed) list += (list.empty() ? "" : ", ") + std::to_string(a);
    Fail(std::string(name) + Context() + " is " + std::to_string(v) + ", not one of " + list);
}

void FieldReader::Verify(std::int32_t stored) const {
    const std::int32_t computed = in_.Check().Value();
    if (stored != computed)
        Fail(checkName_ + " " + std::to_string(stored) + ", computed " + std::to_string(computed));
}

void FieldMapper::OneOf(int& v, std::initializer_list<int> allowed, const char* name) {
    v = Add(4, std::min(allowed), std::max(allowed), Summed::Value, name);
    if (Last()) Last()->allowed.assign(allowed.begin(), allowed.end());
}

int FieldMapper::Add(int width, int lo, int hi, Summed summed, const char* name) {
    const std::size_t at = pos_;
    pos_ += static_cast<std::size_t>(width);
    if (pos_ > bytes_.size()) return 0;
    MappedField f;
    f.offset = at;
    f.width = width;
    f.lo = lo;
    f.hi = hi;
    f.summed = summed;
    f.record = Record();
    f.index = Index();
    f.side = Side();
    f.field = name;
    map_.fields.push_back(std::move(f));
    return ValueAt(bytes_, at, width);
}

void FieldMapper::Check(int width) {
    map_.checkAt = pos_;
    pos_ += static_cast<std::size_t>(width);
    if (pos_ <= bytes_.size()) map_.checkWidth = width;
}

} // namespace vezer
