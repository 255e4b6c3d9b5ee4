#include "files/email_files.h"

#include "core/errors.h"
#include "files/savegame.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace vezer {

namespace {

void PutInt(Bytes& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

std::int32_t IntAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | bytes[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(u);
}

bool CursorInRange(int randPos, int randStep) {
    return randPos >= 1 && randPos <= kRandTableSize && randStep >= 1 && randStep <= 15;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

Bytes OrderFileBytes(const OrderFileContents& contents) {
    Bytes out;
    out.reserve(kOrderFileHeaderBytes + contents.orders.size() * kRecordedOrderBytes);
    PutInt(out, contents.randPos);
    PutInt(out, contents.randStep);
    for (const RecordedOrder& r : contents.orders) {
        const auto order = EncodeOrder(r.order);
        out.insert(out.end(), order.begin(), order.end());
        PutInt(out, r.randPos);
        PutInt(out, r.randStep);
    }
    return out;
}

OrderFileContents ReadOrderFile(std::span<const std::uint8_t> bytes, const std::string& name) {
    if (bytes.size() < kOrderFileHeaderBytes)
        throw DataError(name, "the order file ends before its header (" + std::to_string(bytes.size()) + " bytes)");
    const std::size_t body = bytes.size() - kOrderFileHeaderBytes;
    if (body % kRecordedOrderBytes != 0)
        throw DataError(name, "the order file ends inside a recorded order (" + std::to_string(bytes.size()) + " bytes)");
    OrderFileContents c;
    c.randPos = IntAt(bytes, 0);
    c.randStep = IntAt(bytes, 4);
    if (!CursorInRange(c.randPos, c.randStep)) throw DataError(name, "the order file's random position is out of range");
    const std::size_t count = body / kRecordedOrderBytes;
    c.orders.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kOrderFileHeaderBytes + i * kRecordedOrderBytes;
        const auto where = "recorded order " + std::to_string(i + 1);
        if (!c.orders.empty() && c.orders.back().order.Code == kOrderEndTurn)
            throw DataError(name, where + " follows the end of the turn");
        std::array<std::uint8_t, kOrderBytes> record{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kOrderBytes, record.begin());
        RecordedOrder r{DecodeOrder(record), IntAt(bytes, at + kOrderBytes), IntAt(bytes, at + kOrderBytes + 4)};
        if (r.order.Code < 1 || r.order.Code > kOrderCodeCount)
            throw DataError(name, where + " has the unknown code " + std::to_string(r.order.Code));
        // The executor rewrites a click into a selection before it records it.
        if (r.order.Code == kOrderClickHex) throw DataError(name, where + " is a click, which is never recorded");
        if (!CursorInRange(r.randPos, r.randStep)) throw DataError(name, where + " carries a random position out of range");
        c.orders.push_back(r);
    }
    return c;
}

void CreateOrderFile(Game& game) {
    State& st = game.state;
    OrderFileContents header{st.RandPos, st.RandStep, {}};
    const auto path = game.dir.Resolve(kOrderFile);
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    WriteFileAtomic(path, OrderFileBytes(header));
    st.OrderFileOpen = 1;
}

void RecordOrder(Game& game, const TParancs& order) {
    State& st = game.state;
    if (!st.OrderFileOpen) throw FileIoError(kOrderFile, "the order file of this turn is not open");
    OrderFileContents one;
    one.orders.push_back({order, st.RandPos, st.RandStep});
    const Bytes all = OrderFileBytes(one);
    const auto record = std::span<const std::uint8_t>(all).subspan(kOrderFileHeaderBytes);
    const auto path = game.dir.Resolve(kOrderFile);
    // Appending to a file that is gone would make a file without its header.
    if (!std::filesystem::is_regular_file(path)) throw FileIoError(kOrderFile, "the order file of this turn is missing");
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
    out.flush();
    if (!out) throw FileIoError(kOrderFile, "the order could not be appended");
}

void CloseOrderFiles(Game& game) {
    State& st = game.state;
    st.OrderFileOpen = 0;
    st.ReplayOpen = 0;
}

std::string TurnFileName(std::string_view name) {
    if (!IsPlainFileName(name)) throw FileIoError(std::string(name), "a turn's name must be a plain file name");
    return "save\\PBEM_" + std::string(name) + ".sav";
}

bool IsTurnFileChoice(std::string_view plainName) {
    if (!IsPlainFileName(plainName)) return false;
    return !SameIgnoringCase(plainName, "PBEM.sav") && !SameIgnoringCase(plainName, "PBEM.paf");
}

std::string WriteTurnFile(Game& game, std::string_view name, const WriteFault* fault) {
    const std::string target = TurnFileName(name);
    Bytes save = ReadFileBytes(game.dir.Resolve(kEmailSaveFile), kEmailSaveFile);
    const Bytes orders = ReadFileBytes(game.dir.Resolve(kOrderFile), kOrderFile);
    if (save.size() % 4 != 0) throw DataError(kEmailSaveFile, "the start-of-turn save is cut inside a value");
    ReadOrderFile(orders, kOrderFile);
    save.insert(save.end(), orders.begin(), orders.end());
    WriteFileAtomic(game.dir.Resolve(target), save, fault);
    return target;
}

} // namespace vezer
