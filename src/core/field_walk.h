#pragma once
// One field walk per record. A file format describes each of its records once, as a function
// template `Walk(io, record)` that names every field in file order with the values the game
// accepts in it, and the points where the running check value is cut to its modulus. The same
// walk reads a file into a staged record (FieldReader), writes one (FieldWriter) and maps where
// each field of a file lies (FieldMapper, for the fuzzers and the layout tests), so reader,
// writer and map cannot disagree.
//
// The calls a walk makes on its `io`:
//   Field(v, lo, hi, "name")     a 32-bit value, added to the check value
//   Byte(v, lo, hi, "name")      a byte, added to the check value
//   OneOf(v, {a, b, c}, "name")  a 32-bit value that must be one of a few
//   Count(v, lo, hi, "name")     a 32-bit value that bounds the records after it; returns the
//                                number of records to walk
//   Plain(v, lo, hi, "name")     a 32-bit value outside the check value
//   PlainByte(v, "name")         a byte outside the check value
//   Packed(low, high, factor, "low", "high")  low + factor x high in one 32-bit value; the check
//                                value sees `low` alone
//   Reduce()                     cut the check value to the modulus
//   CheckInt() / CheckByte()     the check value itself, stored as a 32-bit value or a byte
//   End()                        nothing may follow
//   About(record, index, side) / AboutHex(x, y)   the record the next fields belong to
//   Mark()                       a block of the file begins here (maps only)
//   Require(ok, what)            a rule between fields; `what` makes the reason (readers only)
//   Exhausted()                  a map has run past the end of the file (streams stop there)
// `Io::kReading` tells the walk whether the record is being filled.

#include "core/binary_io.h"
#include "core/errors.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vezer {

inline constexpr int kNoLowerBound = INT_MIN;
inline constexpr int kNoUpperBound = INT_MAX;

// The record a walk stands in: named in the reader's messages and in the map's fields.
class FieldContext {
public:
    void About(const char* record, int index = 0, int side = 0) {
        record_ = record;
        index_ = index;
        side_ = side;
        hex_ = false;
    }
    void AboutHex(int x, int y) {
        About("hex", x, y);
        hex_ = true;
    }
    // " of regiment 3 of side 1", " of hex (4, 7)", or nothing outside the records.
    std::string Context() const;
    const char* Record() const { return record_; }
    int Index() const { return index_; }
    int Side() const { return side_; }

private:
    const char* record_ = nullptr;
    int index_ = 0, side_ = 0;
    bool hex_ = false;
};

// How a field enters the check value.
enum class Summed : std::uint8_t {
    No,        // outside the check value
    Value,     // the value as it stands
    Remainder, // the value's remainder by `sumFactor` (the low part of a packed value)
};

// One field of a file as a walk maps it.
struct MappedField {
    std::size_t offset = 0;
    int width = 4; // 4: a 32-bit value, 1: a byte
    int lo = kNoLowerBound, hi = kNoUpperBound;
    std::vector<int> allowed; // when not empty, the only values accepted
    bool count = false;       // bounds the records that follow it
    Summed summed = Summed::Value;
    int sumFactor = 0;
    bool reduceAfter = false; // the check value is cut to the modulus after this field
    const char* record = nullptr;
    int index = 0, side = 0; // the record's index and side (a hex's x and y)
    const char* field = "";

    bool Checked() const { return lo != kNoLowerBound || hi != kNoUpperBound || !allowed.empty(); }
    bool Accepts(long long value) const;
    std::string Name() const; // "corps 3 of side 2: Formation"
};

// Where every field of one file lies.
struct FileMap {
    std::vector<MappedField> fields; // in file order, only those inside the file
    int modulus = 0;
    std::size_t checkAt = 0; // offset of the check value
    int checkWidth = 0;      // 4 or 1; 0 when the file is too short to hold it
    std::vector<std::size_t> marks; // offsets where the blocks of the file begin
    bool complete = false;          // every field the walk named lies inside the file
    std::size_t end = 0;            // where the walk ended

    // The check value of `bytes` as the format computes it over the mapped fields before it.
    std::int32_t ComputeCheck(const Bytes& bytes) const;
    // Stores that check value in its place; false when the file has no room for it.
    bool RepairCheck(Bytes& bytes) const;
};

// The value of a mapped field in `bytes` (a byte reads 0..255), and its replacement.
std::int32_t ValueAt(const Bytes& bytes, std::size_t offset, int width);
void PutValueAt(Bytes& bytes, std::size_t offset, int width, std::int32_t value);

// Reads a file into a staged record; every field outside its range, a rule between fields that
// does not hold, a wrong check value and a file that ends early throw DataError naming the file.
class FieldReader : public FieldContext {
public:
    static constexpr bool kReading = true;
    // `checkName` names the check value in the reason ("check value", "checksum").
    FieldReader(const Bytes& bytes, std::string fileName, int modulus, std::string checkName = "check value")
        : in_(bytes, std::move(fileName), modulus), checkName_(std::move(checkName)) {}

    void Field(int& v, int lo, int hi, const char* name) {
        v = in_.ReadInt();
        Range(v, lo, hi, name);
        in_.Check().Add(v);
    }
    void Byte(int& v, int lo, int hi, const char* name) {
        v = in_.ReadByte();
        Range(v, lo, hi, name);
        in_.Check().Add(v);
    }
    void OneOf(int& v, std::initializer_list<int> allowed, const char* name) {
        v = in_.ReadInt();
        if (std::find(allowed.begin(), allowed.end(), v) == allowed.end()) NotAllowed(v, allowed, name);
        in_.Check().Add(v);
    }
    int Count(int& v, int lo, int hi, const char* name) {
        Field(v, lo, hi, name);
        return v;
    }
    void Plain(int& v, int lo, int hi, const char* name) {
        v = in_.ReadInt();
        Range(v, lo, hi, name);
    }
    void PlainByte(int& v, const char*) { v = in_.ReadByte(); }
    void Packed(int& low, int& high, int factor, const char* lowName, const char* highName) {
        const std::int32_t v = in_.ReadInt();
        high = v / factor;
        low = v % factor;
        Range(high, 0, kNoUpperBound, highName);
        Range(low, 0, factor - 1, lowName);
        in_.Check().Add(low);
    }
    void Reduce() { in_.Check().Reduce(); }
    void CheckInt() { Verify(in_.ReadInt()); }
    void CheckByte() { Verify(in_.ReadByte()); }
    void End(const char* reason = "data after the check value") {
        if (!in_.AtEnd()) Fail(reason);
    }
    void Mark() {}
    template <class Reason> void Require(bool ok, Reason&& what) {
        if (!ok) Fail(what());
    }
    bool Exhausted() const { return false; }
    // Whole records of `recordBytes` before a tail of `tailBytes`: the rest of the file must be
    // exactly that.
    int RecordsLeft(std::size_t recordBytes, std::size_t tailBytes, const char* reason);

    std::size_t Position() const { return in_.Position(); }
    bool AtEnd() const { return in_.AtEnd(); }
    std::int32_t CheckSoFar() const { return in_.Check().Value(); }
    [[noreturn]] void Fail(const std::string& reason) const { in_.Fail(reason); }
    const std::string& FileName() const { return in_.Name(); }

private:
    void Range(int v, int lo, int hi, const char* name) const {
        if (v < lo || v > hi) OutOfRange(v, lo, hi, name);
    }
    [[noreturn]] void OutOfRange(int v, int lo, int hi, const char* name) const;
    [[noreturn]] void NotAllowed(int v, std::initializer_list<int> allowed, const char* name) const;
    void Verify(std::int32_t stored) const;

    BinaryReader in_;
    std::string checkName_;
};

// Writes a record in the layout its walk names, with the check value summed as it goes. Values
// are written as they are: the writer does not judge them.
class FieldWriter : public FieldContext {
public:
    static constexpr bool kReading = false;
    explicit FieldWriter(int modulus) : out_(modulus) {}

    void Field(const int& v, int, int, const char*) {
        out_.WriteInt(v);
        out_.Check().Add(v);
    }
    void Byte(const int& v, int, int, const char*) {
        const auto b = static_cast<std::uint8_t>(v);
        out_.WriteByte(b);
        out_.Check().Add(b);
    }
    void OneOf(const int& v, std::initializer_list<int>, const char* name) { Field(v, 0, 0, name); }
    int Count(const int& v, int lo, int hi, const char* name) {
        Field(v, lo, hi, name);
        return std::clamp(v, lo, hi);
    }
    void Plain(const int& v, int, int, const char*) { out_.WriteInt(v); }
    void PlainByte(const int& v, const char*) { out_.WriteByte(static_cast<std::uint8_t>(v)); }
    void Packed(const int& low, const int& high, int factor, const char*, const char*) {
        // Wrapping, so an absurd value in the state cannot overflow (the reader refuses it).
        out_.WriteInt(static_cast<std::int32_t>(static_cast<std::uint32_t>(low) +
                                                static_cast<std::uint32_t>(factor) * static_cast<std::uint32_t>(high)));
        out_.Check().Add(low);
    }
    void Reduce() { out_.Check().Reduce(); }
    void CheckInt() { out_.WriteInt(out_.Check().Value()); }
    void CheckByte() { out_.WriteByte(static_cast<std::uint8_t>(out_.Check().Value())); }
    void End(const char* = nullptr) {}
    void Mark() {}
    template <class Reason> void Require(bool, Reason&&) {}
    bool Exhausted() const { return false; }

    std::int32_t CheckSoFar() const { return out_.Check().Value(); }
    const Bytes& bytes() const { return out_.bytes(); }
    Bytes Take() { return std::move(out_.bytes()); }

private:
    BinaryWriter out_;
};

// Maps where each field of a file lies, reading the values that steer the walk (counts, record
// kinds) from the file itself. It never refuses: a count outside its range is walked as its
// nearest bound, and fields beyond the end of the file are left out of the map.
class FieldMapper : public FieldContext {
public:
    static constexpr bool kReading = true;
    FieldMapper(const Bytes& bytes, int modulus) : bytes_(bytes) { map_.modulus = modulus; }

    void Field(int& v, int lo, int hi, const char* name) { v = Add(4, lo, hi, Summed::Value, name); }
    void Byte(int& v, int lo, int hi, const char* name) { v = Add(1, lo, hi, Summed::Value, name); }
    void OneOf(int& v, std::initializer_list<int> allowed, const char* name);
    int Count(int& v, int lo, int hi, const char* name) {
        v = Add(4, lo, hi, Summed::Value, name);
        if (Last()) Last()->count = true;
        return std::clamp(v, lo, hi);
    }
    void Plain(int& v, int lo, int hi, const char* name) { v = Add(4, lo, hi, Summed::No, name); }
    void PlainByte(int& v, const char* name) { v = Add(1, kNoLowerBound, kNoUpperBound, Summed::No, name); }
    void Packed(int& low, int& high, int factor, const char* lowName, const char*) {
        const int v = Add(4, 0, kNoUpperBound, Summed::Remainder, lowName);
        if (Last()) Last()->sumFactor = factor;
        high = v / factor;
        low = v % factor;
    }
    void Reduce() {
        if (!map_.fields.empty() && map_.fields.back().offset + static_cast<std::size_t>(map_.fields.back().width) == pos_)
            map_.fields.back().reduceAfter = true;
    }
    void CheckInt() { Check(4); }
    void CheckByte() { Check(1); }
    void End(const char* = nullptr) {}
    void Mark() { map_.marks.push_back(pos_); }
    template <class Reason> void Require(bool, Reason&&) {}
    bool Exhausted() const { return pos_ >= bytes_.size(); }
    int RecordsLeft(std::size_t recordBytes, std::size_t tailBytes, const char*) {
        const std::size_t left = bytes_.size() > pos_ ? bytes_.size() - pos_ : 0;
        return left >= tailBytes ? static_cast<int>((left - tailBytes) / recordBytes) : 0;
    }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    FileMap Take() {
        map_.end = pos_;
        map_.complete = pos_ <= bytes_.size();
        return std::move(map_);
    }

private:
    int Add(int width, int lo, int hi, Summed summed, const char* name);
    MappedField* Last() {
        return !map_.fields.empty() && map_.fields.back().offset + static_cast<std::size_t>(map_.fields.back().width) == pos_
                   ? &map_.fields.back()
                   : nullptr;
    }
    void Check(int width);

    const Bytes& bytes_;
    std::size_t pos_ = 0;
    FileMap map_;
};

} // namespace vezer
