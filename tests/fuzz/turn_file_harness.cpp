#include "fuzz/turn_file_harness.h"

#include "campaign/email.h"
#include "campaign/setup.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "files/email_files.h"
#include "forces/invariants.h"
#include "orders/orders.h"
#include "turn/activation.h"

#include <atomic>
#include <fstream>
#include <random>
#include <unistd.h>

namespace vezer::fuzz {

namespace {

constexpr const char* kPlainName = "PBEM_fuzz.sav";
constexpr const char* kFileName = "save\\PBEM_fuzz.sav";

std::filesystem::path FreshRoot() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    return std::filesystem::temp_directory_path() / ("vezer-turnfile-" + std::to_string(::getpid()) + "-" +
                                                     std::to_string(counter++) + "-" + std::to_string(rd()));
}

// A plain write: the harness's own files need no flushing to the disk.
void PutFile(const std::filesystem::path& path, std::span<const std::uint8_t> data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

Bytes ReadOrNothing(const Game& game, const char* name) {
    if (!game.dir.Exists(name)) return {};
    return ReadFileBytes(game.dir.Resolve(name), name);
}

} // namespace

TurnFileTarget::TurnFileTarget(const std::filesystem::path& gameDir) : root_(FreshRoot()) {
    std::filesystem::create_directories(root_ / "save");
    std::filesystem::create_directory_symlink(std::filesystem::absolute(gameDir) / "Data", root_ / "Data");
    game_ = MakeGame(screen_, link_, GameDir(root_));
    game_->state.Language = 1;
    SetUpGame(*game_, 1, 1);
    // The receiver's own order file of an earlier turn: a refused file must not touch it.
    const OrderFileContents earlier{77, 3, {{TParancs{kOrderChangeTactic, 0, 0, 2, 1, 2}, 80, 3}}};
    WriteFileAtomic(game_->dir.Resolve(kOrderFile), OrderFileBytes(earlier));
    orderFileBefore_ = ReadOrNothing(*game_, kOrderFile);
    before_ = std::make_unique<State>(game_->state);
    beforeHash_ = FullStateHash(game_->state);
}

TurnFileTarget::~TurnFileTarget() {
    game_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

Bytes TurnFileTarget::MakeTurnFile() {
    HeadlessPresentation quiet;
    NoTransport none;
    const std::filesystem::path senderRoot = root_ / "sender";
    std::filesystem::create_directories(senderRoot / "save");
    std::filesystem::create_directory_symlink(std::filesystem::read_symlink(root_ / "Data"), senderRoot / "Data");
    auto sender = MakeGame(quiet, none, GameDir(senderRoot));
    sender->state.Language = 1;
    StartEmailGame(*sender, 1, 5, 1, CampaignChoices{.fogOfWar = 1}, kTurnFilePassword);
    ActivateMainScreen(*sender);
    const State& st = sender->state;
    for (int c = 1, moved = 0; c <= st.CorpsCount[1] && moved < 3; ++c) {
        const THad& h = st.CorpsRec(1, c);
        if (h.Garrison || h.UnitCount <= 0) continue;
        GiveOrder(*sender, TParancs{kOrderSelectCorps, h.X, h.Y, 1, c, 0});
        GiveOrder(*sender, TParancs{kOrderMove, h.X + 1, h.Y, 1, c, 0});
        ++moved;
    }
    GiveOrder(*sender, TParancs{kOrderChangeTactic, 0, 0, 1, 1, 2});
    GiveOrder(*sender, TParancs{kOrderEndTurn, 0, 0, 1, 0, 0});
    const std::string name = WriteTurnFile(*sender, "seed");
    Bytes bytes = ReadFileBytes(sender->dir.Resolve(name), name);
    std::error_code ec;
    std::filesystem::remove_all(senderRoot, ec);
    return bytes;
}

std::string TurnFileTarget::CheckRefusal(const std::string& why) {
    ++refused_;
    if (FullStateHash(game_->state) != beforeHash_) return "a refused file (" + why + ") changed the running game";
    if (ReadOrNothing(*game_, kOrderFile) != orderFileBefore_)
        return "a refused file (" + why + ") changed the order file";
    return "";
}

std::string TurnFileTarget::Run(std::span<const std::uint8_t> data) {
    // The order-file reader alone: a refusal or the same bytes back.
    try {
        const OrderFileContents read = ReadOrderFile(data, kOrderFile);
        if (OrderFileBytes(read) != Bytes(data.begin(), data.end())) return "an order file read back differently";
    } catch (const DataError& e) {
        if (e.file() != kOrderFile) return "the order-file reader named " + e.file();
    }

    PutFile(game_->dir.Resolve(kFileName), data);
    TurnFileOpening opening = TurnFileOpening::Opened;
    try {
        opening = OpenTurnFile(*game_, kPlainName, "Klapka", 1);
    } catch (const DataError& e) {
        if (e.file() != kFileName) return "refused with a message naming " + e.file();
        return CheckRefusal(e.reason());
    } catch (const std::exception& e) {
        return std::string("refused with an error other than the corrupt-file error: ") + e.what();
    }
    if (opening != TurnFileOpening::Opened)
        return CheckRefusal(opening == TurnFileOpening::WrongPassword ? "wrong password" : "not an e-mail game");

    ++accepted_;
    std::string fault;
    try {
        ActivateMainScreen(*game_);
        const int records = game_->state.ReplayCount;
        for (int press = 0; press <= records && ReplayNextOrder(*game_) > 0; ++press) {
        }
        if (const auto broken = CheckInvariants(game_->state); !broken.empty())
            fault = "an accepted turn file breaks the game's invariants: " + broken.front();
    } catch (const std::exception& e) {
        fault = std::string("the replay of an accepted turn file threw: ") + e.what();
    }
    game_->state = *before_;
    PutFile(game_->dir.Resolve(kOrderFile), orderFileBefore_);
    screen_.Clear();
    return fault;
}

} // namespace vezer::fuzz
