#include "campaign/email.h"

#include "battle/battle.h"
#include "campaign/load_game.h"
#include "core/errors.h"
#include "core/headless.h"
#include "core/log.h"
#include "core/text.h"
#include "files/email_files.h"
#include "files/savegame.h"
#include "forces/markers.h"
#include "orders/orders.h"
#include "turn/activation.h"
#include "turn/recruitment.h"

#include <algorithm>
#include <exception>

namespace vezer {

namespace {

bool IsSideNumber(int side) {
    return side == 1 || side == 2;
}

// The password rule of an opened turn file, on the loaded game before it replaces the running
// one: a side without a password takes the typed one; then the typed one must match.
bool PasswordOpens(State& st, const std::string& typed) {
    const int side = st.LocalSide;
    if (!IsSideNumber(side)) return false;
    if (st.PasswordSet[side] == 0) {
        st.Password[side] = typed;
        st.PasswordSet[side] = 1;
        st.PasswordLength[side] = static_cast<int>(Utf8ToCp1250(typed).size());
    }
    return st.Password[side].view() == typed;
}

// Step 4 of a replay step: the view follows a recorded order to a hex where its side has a corps.
bool SideHasCorpsOn(const State& st, int side, int x, int y) {
    if (!IsSideNumber(side)) return false;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (h.X == x && h.Y == y) return true;
    }
    return false;
}

void FollowWithView(Game& game, const TParancs& r) {
    const State& st = game.state;
    if (r.HexX < 1 || r.HexX > st.MapMaxX || r.HexY < 1 || r.HexY > st.MapMaxY) return;
    if (st.Cell(r.HexX, r.HexY).CorpsCount <= 0 || !SideHasCorpsOn(st, r.Side, r.HexX, r.HexY)) return;
    game.screen.CentreMapOn(r.HexX, r.HexY);
}

// Whether the replay goes on by itself after this order: it stops after the orders a player
// watches (an attack, a bombardment, a march, a turn, an undo, a selection of a corps the map
// does not show), unless the order's corps is one this player knows nothing of.
bool GoesOnByItself(const State& st, const TParancs& r) {
    bool goOn = true;
    switch (r.Code) {
    case kOrderAttack:
    case kOrderBombard:
    case kOrderMove:
    case kOrderTurnCorps:
    case kOrderClickHex:
    case kOrderSelectCorps:
    case kOrderUndo: goOn = false; break;
    default: break;
    }
    if (r.Corps > 0 && IsSideNumber(r.Side)) {
        const int corps = std::min({r.Corps, st.CorpsCount[r.Side], kMaxCorps});
        if (corps >= 1) {
            const THad& h = st.CorpsRec(r.Side, corps);
            if (r.Code == kOrderSelectCorps && CorpsMarkerShown(st, r.Side, h)) goOn = true;
            if (r.Side == st.ActiveSide && h.ReconLevel == 0) goOn = true;
        }
    }
    return goOn;
}

// Whether the order concerns a corps of the moving side this player knows nothing of.
bool ConcernsUnknownCorps(const State& st, const TParancs& r) {
    if (r.Corps <= 0 || r.Side != st.ActiveSide || !IsSideNumber(r.Side)) return false;
    if (r.Corps > st.CorpsCount[r.Side] || r.Corps > kMaxCorps) return false;
    return st.CorpsRec(r.Side, r.Corps).ReconLevel == 0;
}

// The estimate before an attack as the attack screen makes it: the kind of attack the record
// carries (1..4) is set for the estimate, and the field attack after it. A record without one
// estimates with the mode the game has.
void EstimateAttack(Game& game, const TParancs& r, bool playSound) {
    State& st = game.state;
    constexpr int kLastBattleMode = 4;
    const bool withMode = r.Param >= kFieldAttack && r.Param <= kLastBattleMode;
    if (withMode) st.Battle.BattleMode = r.Param;
    PrepareBattle(game, r.Side, r.Corps, Hex{r.HexX, r.HexY}, playSound);
    if (withMode) st.Battle.BattleMode = kFieldAttack;
}

// Runs one recorded order. Returns false when it failed or was refused.
bool RunRecorded(Game& game, const RecordedOrder& rec) {
    State& st = game.state;
    const TParancs& r = rec.order;
    if (r.Code == kOrderAttack) {
        game.screen.ShowBattleMarker(r.HexX, r.HexY, true);
        game.screen.PlaySound(kSoundBattleStart);
        Pause(game, 70);
        game.screen.ShowBattleMarker(r.HexX, r.HexY, false);
    }
    // The replayed end of the turn creates the next order file: the one replayed is closed first.
    if (r.Code == kOrderEndTurn) st.ReplayOpen = 0;
    if (r.Code == kOrderBattleRecord) {
        // The estimate before an attack, drawn as the opponent's machine drew it.
        if (!ValidateOrder(st, r).empty() || !IsSideNumber(r.Side)) return false;
        st.RandPos = rec.randPos;
        st.RandStep = rec.randStep;
        EstimateAttack(game, r, false);
        return true;
    }
    return ExecuteIncomingOrder(game, r, rec.randPos, rec.randStep) == OrderOutcome::Executed;
}

OrderFileContents ReadReplayFile(const Game& game) {
    return ReadOrderFile(ReadFileBytes(game.dir.Resolve(kOrderFile), kOrderFile), kOrderFile);
}

} // namespace

std::string StoredPasswordForm(std::string_view typed) {
    const ShortText<kPasswordRoom> kept(Cp1250ToUtf8(Utf8ToCp1250(typed)));
    return kept.str();
}

void StartEmailGame(Game& game, int dataSet, std::uint32_t seed, int campaign, CampaignChoices choices,
                    std::string_view password) {
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = MakeGame(quiet, none, game.dir);
    staging->state = game.state; // the menu's choices the set-up keeps
    staging->state.EnteredPassword = StoredPasswordForm(password);
    choices.pbem = 1;
    StartNewGame(*staging, dataSet, seed, campaign, choices);
    State& st = staging->state;
    const int side = st.LocalSide;
    st.Password[side] = st.EnteredPassword;
    st.PasswordSet[side] = 1;
    st.PasswordLength[side] = static_cast<int>(Utf8ToCp1250(st.EnteredPassword.view()).size());
    // The opponent's machine runs the end of turn's bookkeeping when it loads the save: this one
    // runs it too, so that both start the war from the same recruitment times.
    ++st.RecruitPenaltyTurns;
    UpdateWeaponShortage(*staging);
    SaveGame(*staging, kEmailSaveFile);
    MarkNewGameTurnStart(st);
    game.state = st;
    game.screen.CreateCityDots();
    game.screen.RefreshAllMarkers();
}

TurnFileOpening OpenTurnFile(Game& game, std::string_view plainName, std::string_view password,
                             std::uint32_t seed) {
    if (!IsTurnFileChoice(plainName))
        throw FileIoError(std::string(plainName), "not a turn file's name (a plain file name in the save folder, "
                                                  "not PBEM.sav or PBEM.paf)");
    const std::string name = SaveFolderFile(plainName);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    const std::string typed = StoredPasswordForm(password);
    TurnFileOpening answer = TurnFileOpening::Opened;
    struct Declined {};
    try {
        LoadSavedGameChecked(game, 1, seed, bytes, name, [&](State& loaded, std::span<const std::uint8_t> orders) {
            if (!loaded.PbemGame) {
                answer = TurnFileOpening::NotEmailGame;
                throw Declined{};
            }
            loaded.EnteredPassword = typed;
            if (!PasswordOpens(loaded, typed)) {
                answer = TurnFileOpening::WrongPassword;
                throw Declined{};
            }
            // A turn file carries its turn's orders; the order file to replay is written last, so
            // a failure to write it still leaves the running game as it was.
            ReadOrderFile(orders, name);
            WriteFileAtomic(game.dir.Resolve(kOrderFile), orders);
        });
    } catch (const Declined&) {
        return answer;
    }
    OpenReplay(game);
    SetTurnStartFlagsAfterLoad(game.state);
    game.state.ReplayNotice = 1;
    return TurnFileOpening::Opened;
}

void OpenReplay(Game& game) {
    State& st = game.state;
    st.ReplayOpen = st.ReplayPending = st.ReplayBusy = 0;
    st.ReplayNext = st.ReplayCount = 0;
    if (!game.dir.Exists(kOrderFile)) return;
    const OrderFileContents file = ReadReplayFile(game);
    st.ReplayOpen = st.ReplayPending = 1;
    st.ReplayCount = static_cast<int>(file.orders.size());
    st.RandPos = file.randPos;
    st.RandStep = file.randStep;
}

int ReplayNextOrder(Game& game) {
    State& st = game.state;
    if (st.ReplayBusy) return 0;
    st.ReplayBusy = 1;
    // At the end the flag stays set: later presses do nothing.
    if (!st.ReplayOpen || st.ReplayNext >= st.ReplayCount) return 0;
    OrderFileContents file;
    try {
        file = ReadReplayFile(game);
        if (static_cast<int>(file.orders.size()) != st.ReplayCount)
            throw DataError(kOrderFile, "the order file changed while it was replayed");
    } catch (const std::exception& e) {
        st.ReplayOpen = 0;
        game.screen.ShowError(e.what());
        return 0;
    }
    // Hidden orders are walked in a loop: a long unseen march never deepens the stack.
    int replayed = 0;
    while (st.ReplayOpen && st.ReplayNext < st.ReplayCount) {
        const RecordedOrder& rec = file.orders[static_cast<std::size_t>(st.ReplayNext)];
        ++st.ReplayNext;
        ++replayed;
        FollowWithView(game, rec.order);
        const bool goOn = GoesOnByItself(st, rec.order);
        st.HiddenMove = goOn ? 1 : 0;
        bool ran = false;
        try {
            ran = RunRecorded(game, rec);
        } catch (const std::exception& e) {
            game.screen.ShowError(std::string("A visszajátszott parancs hibát okozott / A replayed order failed: ") +
                                  e.what());
        }
        if (!ran || !goOn) break;
    }
    st.ReplayBusy = 0;
    st.HiddenMove = 0;
    return replayed;
}

void GiveOrder(Game& game, const TParancs& order) {
    State& st = game.state;
    if (order.Code == kOrderBattleRecord) {
        if (!ValidateOrder(st, order).empty() || !IsSideNumber(order.Side)) return;
        EstimateAttack(game, order, true);
        return;
    }
    ExecuteOrder(game, order);
}

TurnSummary SummariseOpenedTurn(const Game& game) {
    const State& st = game.state;
    TurnSummary s;
    s.side = st.LocalSide;
    s.year = st.Year;
    s.month = st.Month;
    s.week = st.Week;
    if (!st.ReplayOpen) return s;
    const OrderFileContents file = ReadReplayFile(game);
    HeadlessPresentation quiet;
    NoTransport none;
    auto scratch = MakeGame(quiet, none, game.dir);
    scratch->state = st;
    State& sc = scratch->state;
    for (int i = sc.ReplayNext; i < static_cast<int>(file.orders.size()); ++i) {
        const RecordedOrder& rec = file.orders[static_cast<std::size_t>(i)];
        // The end of the turn is not replayed here: it would write this machine's files.
        if (rec.order.Code == kOrderEndTurn) {
            s.complete = true;
            break;
        }
        ++s.orders;
        if (ConcernsUnknownCorps(sc, rec.order)) ++s.hidden;
        try {
            RunRecorded(*scratch, rec);
        } catch (const std::exception&) {
            // The real replay shows the failure; the count goes on.
        }
    }
    return s;
}

std::string TurnSummaryText(const TurnSummary& s) {
    const int other = 3 - s.side;
    const std::string date = std::to_string(s.year) + "-" + std::to_string(s.month) + "-" + std::to_string(s.week);
    const std::string orders = std::to_string(s.orders), hidden = std::to_string(s.hidden);
    std::string text = std::string("Az ellenfél köre (") + (other == 1 ? "Magyarország" : "Ausztria") + ", " + date +
                       "): " + orders + " parancs, ebből " + hidden + " rejtett. Utána te következel (" +
                       (s.side == 1 ? "Magyarország" : "Ausztria") + "). / The opponent's turn (" +
                       (other == 1 ? "Hungary" : "Austria") + ", " + date + "): " + orders + " orders, " + hidden +
                       " of them hidden. Then it is your turn (" + (s.side == 1 ? "Hungary" : "Austria") + ").";
    if (!s.complete) text += " Az ellenfél köre nem ért véget! / The opponent's turn does not end!";
    return text;
}

} // namespace vezer
