#include "core/random.h"

#include "core/binary_io.h"
#include "core/errors.h"


namespace vezer {

void VerifyChecksum(int computed, int stored, const std::string& fileName) {
    if (computed != stored)
        throw DataError(fileName, "check value " + std::to_string(stored) + ", computed " + std::to_string(computed));
}

int RandomTableCheck(std::span<const int> values) {
    int s = 0;
    for (int v : values) {
        s = WrapAdd(s, v);
        if (s > 500000) s %= 2000;
    }
    return s % 2000;
}

void LoadRandomTable(Game& game) {
    State& st = game.state;
    Bytes bytes = ReadFileBytes(game.dir.Resolve(kRandomTableFile), kRandomTableFile);
    BinaryReader in(bytes, kRandomTableMessageName);
    std::array<int, kRandTableSize> values{};
    for (int i = 0; i < kRandTableSize; ++i) {
        values[static_cast<std::size_t>(i)] = in.ReadInt();
        if (values[static_cast<std::size_t>(i)] < 0) in.Fail("negative value at position " + std::to_string(i + 1));
    }
    int check = in.ReadInt();
    VerifyChecksum(RandomTableCheck(values), check, kRandomTableMessageName);
    for (int i = 0; i < kRandTableSize; ++i) st.RandTable[static_cast<std::size_t>(i + 1)] = values[static_cast<std::size_t>(i)];
}

void SeedRandom(State& state, std::uint32_t seed) {
    state.RandPos = static_cast<int>(seed % kRandTableSize) + 1;
    state.RandStep = static_cast<int>((seed / kRandTableSize) % 15) + 1;
}

int R(State& state, int n) {
    if (n < 1) n = 1;
    state.RandPos += state.RandStep;
    if (state.RandPos > kRandTableSize) state.RandPos -= kRandTableSize;
    // A cursor restored from outside is checked where it enters; stay safe regardless.
    if (state.RandPos < 1 || state.RandPos > kRandTableSize) state.RandPos = 1;
    return state.RandTable[static_cast<std::size_t>(state.RandPos)] % n + 1;
}

} // namespace vezer
