// The compiled campaign start files, damaged value by value: every count and index is set
// just outside what the loader accepts, with the checksum made right again so that the
// loader's own checks must find it, and the files are cut at every value. Each damaged file
// is refused with the corrupt-file error naming it, and the game that was running before
// stays exactly as it was.

#include "core/errors.h"
#include "core/fingerprint.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "fuzz/save_layout.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <memory>
#include <set>

namespace vezer {
namespace {

using fuzz::CheckedValue;
using fuzz::SaveLayout;

Bytes CompiledFile(const std::string& name) {
    GameDir dir(testing::CompiledGameDir());
    return ReadFileBytes(dir.Resolve(name), name);
}

// A game with a campaign under way, as the player has it when choosing to load a file.
struct RunningGame {
    testing::TestGame t;
    std::uint64_t hash = 0;
    explicit RunningGame(int campaign) {
        t.st().DataSet = 1;
        t.st().Language = 1;
        SetUpGame(t.g(), 1, testing::kTestSeed);
        CampaignChoices choices;
        choices.fogOfWar = 1;
        choices.russianIntervention = 2;
        StartCampaign(t.g(), 1, campaign, choices);
        hash = FullStateHash(t.st());
    }
};

// Reads damaged files with the loader's first stage into one scratch state prepared like the
// running game; cheap enough to run for every value of a file.
class Stage {
public:
    Stage(const State& setUp, std::string name) : st_(std::make_unique<State>(setUp)), name_(std::move(name)) {}
    // The reason the file was refused, or "" when it was accepted.
    std::string Refusal(const Bytes& bytes) {
        try {
            ReadSaveInto(*st_, bytes, name_, [](State&) {});
        } catch (const DataError& e) {
            EXPECT_EQ(e.PlayerMessage(), kCorruptFilePrefix + name_);
            return e.reason().empty() ? "(no reason)" : e.reason();
        }
        return "";
    }

private:
    std::unique_ptr<State> st_;
    std::string name_;
};

// Changes one value of a save in place and makes its checksum right again, summing only from
// the changed value on; Restore puts the file back as it was.
class OneValueDamage {
public:
    OneValueDamage(const Bytes& bytes, const SaveLayout& layout)
        : bytes_(bytes), ints_(fuzz::IntsOf(bytes)), layout_(layout), sumBefore_(layout.checksumAt + 1) {
        for (std::size_t i = 0; i < layout.checksumAt; ++i) sumBefore_[i + 1] = Step(sumBefore_[i], i, ints_[i]);
    }
    const Bytes& Set(std::size_t at, std::int32_t value) {
        Put(at, value);
        if (at < layout_.checksumAt) {
            std::int32_t s = sumBefore_[at];
            for (std::size_t i = at; i < layout_.checksumAt; ++i) s = Step(s, i, i == at ? value : ints_[i]);
            Put(layout_.checksumAt, s);
        }
        return bytes_;
    }
    void Restore(std::size_t at) {
        Put(at, ints_[at]);
        Put(layout_.checksumAt, ints_[layout_.checksumAt]);
    }

private:
    std::int32_t Step(std::int32_t s, std::size_t i, std::int32_t v) const {
        return fuzz::AddToChecksum(s, layout_, i, v);
    }
    void Put(std::size_t at, std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (std::size_t b = 0; b < 4; ++b) bytes_[at * 4 + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }

    Bytes bytes_;
    std::vector<std::int32_t> ints_;
    const SaveLayout& layout_;
    std::vector<std::int32_t> sumBefore_;
};

// The first and last value of each kind (a field of a record of a side), and every value
// outside the records: those also go through the whole loader into the running game.
std::set<std::size_t> WholeLoadSample(const SaveLayout& layout) {
    std::map<std::string, std::pair<std::size_t, std::size_t>> kinds;
    std::set<std::size_t> sample;
    for (std::size_t i = 0; i < layout.checked.size(); ++i) {
        const CheckedValue& v = layout.checked[i];
        if (v.record == nullptr || std::string(v.record) == "side") {
            sample.insert(i);
            continue;
        }
        const std::string side = std::string(v.record) == "hex" || std::string(v.record) == "city"
                                     ? ""
                                     : std::to_string(v.second);
        const std::string kind = std::string(v.record) + side + v.field;
        auto [it, fresh] = kinds.try_emplace(kind, i, i);
        if (!fresh) it->second.second = i;
    }
    for (const auto& [kind, range] : kinds) {
        sample.insert(range.first);
        sample.insert(range.second);
    }
    return sample;
}

// The entrenchment block holds two values for each of the 2 268 hexes, checked by one loop:
// the hexes of the map's edges and a spread of the others stand for all of them (each
// damaged one costs a whole read of the file, and the tests must stay quick under the
// sanitizers).
bool HexInSample(const CheckedValue& v, const fuzz::SaveSizes& sizes = {}) {
    const int x = v.index, y = v.second;
    return x == 0 || y == 0 || x == sizes.mapMaxX || y == sizes.mapMaxY || (x * (sizes.mapMaxY + 1) + y) % 19 == 0;
}

bool IsHex(const CheckedValue& v) {
    return v.record != nullptr && std::string(v.record) == "hex";
}

// The sizes the set-up of `st` gives a save, with its types' full strengths.
fuzz::SaveSizes SizesOf(const State& st) {
    fuzz::SaveSizes sizes;
    sizes.fullStrength.push_back(0);
    for (int t = 1; t <= st.TypeCount; ++t) sizes.fullStrength.push_back(st.Types[t].FullStrength);
    return sizes;
}

struct CampaignFile {
    std::string name;
    Bytes bytes;
    bool everyValue; // false: only the values outside the records (their layout is the other file's)
};

// The start file of the autumn campaign, and an e-mail save of a started campaign with both
// passwords set (for the cursor pair and the trailer).
std::vector<CampaignFile> RealSaves(RunningGame& running) {
    std::vector<CampaignFile> files;
    const std::string start = CampaignStartFileName(1, 1);
    files.push_back({start, CompiledFile(start), true});
    auto email = std::make_unique<State>(running.t.st());
    email->PbemGame = 1;
    email->PasswordSet = {0, 1, 1};
    email->Password[1] = "Görgei";
    email->Password[2] = "Windisch";
    email->PasswordLength = {0, 6, 8};
    files.push_back({"save\\PBEM.sav", SaveGameBytes(*email), false});
    return files;
}

TEST(DamagedCampaignSaves, TheLayoutOfEveryStartFileChecksAsTheGameWroteIt) {
    for (int c = 0; c <= 6; ++c) {
        SCOPED_TRACE("campaign " + std::to_string(c));
        const std::vector<std::int32_t> ints = fuzz::IntsOf(CompiledFile(CampaignStartFileName(1, c)));
        const SaveLayout layout = fuzz::ReadSaveLayout(ints);
        ASSERT_TRUE(layout.complete);
        EXPECT_FALSE(layout.email);
        // The checksum, then the cursor pair, end the file.
        EXPECT_EQ(layout.checksumAt + 3, ints.size());
        EXPECT_EQ(fuzz::SaveChecksum(ints, layout), ints[layout.checksumAt]);
        EXPECT_EQ(layout.blockStarts.size(), 14u);
        std::size_t hexValues = 0;
        for (const CheckedValue& v : layout.checked) hexValues += v.record && std::string(v.record) == "hex";
        EXPECT_EQ(hexValues, 63u * 36u * 2u);
    }
}

TEST(DamagedCampaignSaves, EveryCountAndIndexJustOutsideItsRangeIsRefused) {
    RunningGame running(2);
    for (const CampaignFile& file : RealSaves(running)) {
        SCOPED_TRACE(file.name);
        const SaveLayout layout = fuzz::ReadSaveLayout(fuzz::IntsOf(file.bytes), SizesOf(running.t.st()));
        ASSERT_TRUE(layout.complete);
        ASSERT_EQ(layout.email, !file.everyValue);
        Stage stage(running.t.st(), file.name);
        ASSERT_EQ(stage.Refusal(file.bytes), "") << "the undamaged file loads";

        OneValueDamage damage(file.bytes, layout);
        const std::set<std::size_t> whole = WholeLoadSample(layout);
        std::size_t mutations = 0;
        for (std::size_t i = 0; i < layout.checked.size(); ++i) {
            const CheckedValue& v = layout.checked[i];
            const bool inRecords = v.record != nullptr && std::string(v.record) != "side";
            if (!file.everyValue && inRecords) continue;
            if (IsHex(v) && !HexInSample(v)) continue;
            std::vector<long long> outside = {static_cast<long long>(v.lo) - 1};
            if (v.hi != INT_MAX) outside.insert(outside.end(), {static_cast<long long>(v.hi) + 1, INT_MAX});
            for (std::size_t k = 0; k < outside.size(); ++k) {
                // The first and last value of each kind take all three kinds of damage, the
                // values between one each in turn: every value is damaged, and each kind of
                // damage reaches every field, at a third of the reads.
                if (!whole.count(i) && k != i % outside.size()) continue;
                const long long value = outside[k];
                const Bytes& bytes = damage.Set(v.at, static_cast<std::int32_t>(value));
                const std::string reason = stage.Refusal(bytes);
                ++mutations;
                // The sampled values go through the whole loader once each, taking the three
                // kinds of damage in turn.
                const bool wholeLoad = whole.count(i) && k == i % outside.size();
                if (reason.empty() || reason.find("checksum") != std::string::npos || wholeLoad) {
                    const std::string what = v.Name() + " = " + std::to_string(value);
                    EXPECT_NE(reason, "") << what << " is accepted";
                    EXPECT_EQ(reason.find("checksum"), std::string::npos) << what << ": " << reason;
                    try {
                        LoadGameFromBytes(running.t.g(), bytes, file.name);
                        ADD_FAILURE() << what << " is loaded";
                    } catch (const DataError& e) {
                        EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! " + file.name) << what;
                    }
                    ASSERT_EQ(FullStateHash(running.t.st()), running.hash) << what << " changed the running game";
                }
                damage.Restore(v.at);
            }
        }
        EXPECT_GT(mutations, file.everyValue ? 2500u : 60u);
    }
    EXPECT_EQ(FullStateHash(running.t.st()), running.hash);
}

TEST(DamagedCampaignSaves, AFileCutAtAnyValueBeforeItsChecksumOrInItsTrailerIsRefused) {
    RunningGame running(4);
    for (const CampaignFile& file : RealSaves(running)) {
        SCOPED_TRACE(file.name);
        const SaveLayout layout = fuzz::ReadSaveLayout(fuzz::IntsOf(file.bytes));
        Stage stage(running.t.st(), file.name);
        // A save is whole up to its checksum; what follows is the e-mail game's, and an e-mail
        // save may end at its checksum too.
        const std::size_t end = (layout.checksumAt + 1) * 4;
        std::set<std::size_t> whole;
        for (std::size_t start : layout.blockStarts)
            for (std::size_t at : {start, start + 1}) whole.insert(at * 4);
        // Every value up to the cities; from there on, where each block begins and ends, the
        // last values before the checksum and a spread between (a cut costs a read up to it).
        const std::size_t cities = layout.blockStarts.at(8) * 4;
        auto cutHere = [&](std::size_t n) {
            if (!file.everyValue) return n + 4 >= end;
            return n <= cities || n + 256 >= end || n % 124 == 0 || whole.count(n) || whole.count(n + 4);
        };
        std::size_t cuts = 0;
        for (std::size_t n = 0; n < file.bytes.size(); n += 4) {
            if (!cutHere(n)) continue;
            ++cuts;
            const Bytes cut(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            const std::string reason = stage.Refusal(cut);
            if (n == end || (n > end && !layout.email)) {
                EXPECT_EQ(reason, "") << "cut at " << n;
                continue;
            }
            ASSERT_NE(reason, "") << "cut at " << n << " is accepted";
            if (!whole.count(n) && n < end) continue;
            EXPECT_THROW(LoadGameFromBytes(running.t.g(), cut, file.name), DataError) << n;
            ASSERT_EQ(FullStateHash(running.t.st()), running.hash) << "cut at " << n;
        }
        if (file.everyValue) {
            EXPECT_GT(cuts, 5000u);
        }
        const Bytes shortOfAValue(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(end) - 1);
        EXPECT_NE(stage.Refusal(shortOfAValue), "");
    }
}

} // namespace
} // namespace vezer
