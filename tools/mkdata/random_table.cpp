// Data/core.dat: the shared random table, generated from a documented generator and seed.

#include "mkdata.h"

#include "core/binary_io.h"
#include "core/random.h"

namespace mkdata {

namespace {

struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

} // namespace

void CompileRandomTable(const Context& ctx) {
    std::filesystem::path source = ctx.assets / "core" / "random_table.txt";
    KeyValues kv = ReadKeyValues(source);
    if (kv.Get("generator") != "splitmix64") throw SourceError(source, kv.values.at("generator").second, "unknown generator");
    long long count = kv.GetInt("count");
    long long range = kv.GetInt("range");
    if (count != vezer::kRandTableSize) throw SourceError(source, kv.values.at("count").second, "the table holds exactly 10000 values");
    if (range < 1 || range > 1 << 20)
        throw SourceError(source, kv.values.at("range").second, "range must be 1..1048576 so the check sum stays small");
    SplitMix64 gen{static_cast<std::uint64_t>(kv.GetInt("seed"))};
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i) values.push_back(static_cast<int>((gen.Next() >> 31) % static_cast<std::uint64_t>(range)));
    vezer::BinaryWriter out;
    for (int v : values) out.WriteInt(v);
    out.WriteInt(vezer::RandomTableCheck(values));
    WriteOutput(ctx, "Data/core.dat", out.bytes());
}

} // namespace mkdata
