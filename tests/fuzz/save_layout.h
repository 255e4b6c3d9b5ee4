#pragma once
// Where each value of a saved game lies, worked out from the file itself: which values are
// counts and indices (with the range the loader must hold them to), where the blocks begin,
// and the checksum with its reduction points. The damaged-save tests and the load fuzzer use
// it to change a value and make the checksum right again, so that the loader's own checks,
// not the checksum, are what must refuse the file.
//
// Built from the loader's own field walk (SaveFileMap), so the fuzzers change the values the
// loader checks with the ranges it checks them to.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vezer::fuzz {

// What the set-up provides and the file does not hold.
struct SaveSizes {
    int typeCount = 15;
    int mapMaxX = 62;
    int mapMaxY = 35;
    int initialGenerals[3] = {0, 42, 60};
    // FullStrength of types 1..typeCount (index 0 unused); a regiment holds at most 100 times
    // its type's. Empty: the number of men is bounded below only.
    std::vector<int> fullStrength;
};

// A value the loader must check before later code uses it as a count or an index.
struct CheckedValue {
    std::size_t at = 0;              // position, in 32-bit values
    const char* record = nullptr;    // "regiment", "corps", "general", "city", "hex", "side"; none in the header
    int index = 0, second = 0;       // the record's index and side (a hex's x and y)
    const char* field = "";
    int lo = 0, hi = 0;              // the values the loader accepts (hi = INT_MAX: no upper bound)

    std::string Name() const;        // "corps 3 of side 2: Formation"
};

struct SaveLayout {
    std::vector<CheckedValue> checked;
    // First value of each block: header, options, recruitment penalty, calendar, weather,
    // sides, side 1's records, side 2's records, cities, entrenchments, reinforcements,
    // results, regiment types, checksum, cursor pair, e-mail trailer.
    std::vector<std::size_t> blockStarts;
    std::size_t checksumAt = 0;
    bool email = false;
    // Whether the file holds every value up to the checksum (and the trailer of an e-mail save).
    bool complete = false;

    // Reduction flags of the values before the checksum.
    std::vector<std::uint8_t> roles;
};

// Reads the layout of a save given as its 32-bit values. Counts outside their capacity are
// walked as the capacity; the walk stops where the values run out.
SaveLayout ReadSaveLayout(const std::vector<std::int32_t>& ints, const SaveSizes& sizes = {});

// The checksum of the values before layout.checksumAt, with the format's reduction points.
std::int32_t SaveChecksum(const std::vector<std::int32_t>& ints, const SaveLayout& layout);

// One step of the running sum: `value` standing at position `at` added to `sum`, and the
// reduction the format makes after it.
std::int32_t AddToChecksum(std::int32_t sum, const SaveLayout& layout, std::size_t at, std::int32_t value);

// Writes the right checksum into a complete layout's checksum slot; false when there is none.
bool RepairChecksum(std::vector<std::int32_t>& ints, const SaveSizes& sizes = {});

std::vector<std::int32_t> IntsOf(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> BytesOf(const std::vector<std::int32_t>& ints);

} // namespace vezer::fuzz
