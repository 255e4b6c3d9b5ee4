#include "fuzz/load_game_harness.h"

#include "core/errors.h"
#include "core/fingerprint.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
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
        LoadGameFromBytes(*game_, bytes, kFileName);
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
    // What the loader accepts, the writer writes back and the loader takes again.
    std::string fault;
    const Bytes again = SaveGameBytes(game_->state);
    try {
        LoadGameFromBytes(*game_, again, kFileName);
    } catch (const std::exception& e) {
        fault = std::string("an accepted file saved again is refused: ") + e.what();
    }
    game_->state = *started_;
    return fault;
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
