#include "fuzz/load_game_harness.h"

#include "campaign/load_game.h"
#include "campaign/setup.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "files/savegame.h"
#include "forces/invariants.h"
#include "fuzz/save_layout.h"

namespace vezer::fuzz {

namespace {

constexpr const char* kFileName = "save\\fuzz.sav";

} // namespace

LoadGameTarget::LoadGameTarget(const std::filesystem::path& gameDir, int campaign)
    : game_(MakeGame(screen_, link_, GameDir(gameDir))) {
    game_->state.DataSet = 1;
    game_->state.Language = 1;
    SetUpGame(*game_, 1, 1);
    CampaignChoices choices;
    choices.fogOfWar = 1;
    choices.russianIntervention = 2;
    choices.polishIntervention = 1;
    StartCampaign(*game_, 1, campaign, choices);
    started_ = std::make_unique<State>(game_->state);
    startedHash_ = FullStateHash(game_->state);
}

std::string LoadGameTarget::LoadOnce(const std::vector<std::uint8_t>& bytes) {
    try {
        LoadSavedGame(*game_, 1, 1, bytes, kFileName);
    } catch (const DataError& e) {
        ++refused_;
        lastRefusal_ = e.reason();
        if (e.file() != kFileName || e.PlayerMessage() != std::string(kCorruptFilePrefix) + kFileName)
            return "refused with the message '" + e.PlayerMessage() + "'";
        if (FullStateHash(game_->state) != startedHash_)
            return "a refused file (" + e.reason() + ") changed the running game";
        return "";
    } catch (const std::exception& e) {
        return std::string("refused with an error other than the corrupt-file error: ") + e.what();
    }
    ++accepted_;
    std::string fault = CheckAccepted();
    game_->state = *started_;
    return fault;
}

// An accepted game keeps every cross-reference of the rules, and what the writer writes of it
// the loader takes again and gives back as the same bytes. Two loads may pass before it does:
// an e-mail save makes each machine that loads it the other side, and a person's roster that
// is short of generals is topped up by thirty at each load until it is not.
std::string LoadGameTarget::CheckAccepted() {
    if (const std::vector<std::string> broken = CheckInvariants(game_->state); !broken.empty())
        return "an accepted file breaks the game's invariants: " + broken.front();
    constexpr int kRounds = 12; // the top-ups stop at 200 generals
    std::vector<Bytes> saves{SaveGameBytes(game_->state)};
    for (int round = 0; round < kRounds; ++round) {
        try {
            LoadSavedGame(*game_, 1, 1, saves.back(), kFileName);
        } catch (const std::exception& e) {
            return std::string("an accepted file saved again is refused: ") + e.what();
        }
        if (const std::vector<std::string> broken = CheckInvariants(game_->state); !broken.empty())
            return "an accepted file saved and loaded again breaks the game's invariants: " + broken.front();
        saves.push_back(SaveGameBytes(game_->state));
        if (saves.size() >= 3 && saves.back() == saves[saves.size() - 3]) return "";
    }
    return "an accepted file saved and loaded again never comes back to the same save";
}

std::string LoadGameTarget::Run(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes(data.begin(), data.end());
    lastRefusal_.clear();
    const int acceptedBefore = accepted_;
    std::string fault = LoadOnce(bytes);
    if (!fault.empty()) return fault;
    // Only a file refused for its checksum goes further once the checksum is right.
    if (accepted_ != acceptedBefore || lastRefusal_.find("checksum") == std::string::npos) return "";
    std::vector<std::int32_t> ints = IntsOf(bytes);
    const SaveLayout layout = ReadSaveLayout(ints);
    if (layout.checksumAt >= ints.size()) return "";
    const std::int32_t stored = ints[layout.checksumAt];
    ints[layout.checksumAt] = SaveChecksum(ints, layout);
    if (ints[layout.checksumAt] == stored) return ""; // already right: loaded above
    std::vector<std::uint8_t> repaired = BytesOf(ints);
    // The bytes after the last whole value stay as they were.
    repaired.insert(repaired.end(), bytes.begin() + static_cast<std::ptrdiff_t>(repaired.size()), bytes.end());
    return LoadOnce(repaired);
}

} // namespace vezer::fuzz
