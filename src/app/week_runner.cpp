// vezer week: whole weeks played without a screen. Every side's turn is played by whoever plays
// it (a person's side passes its turn), with the whole end of turn, the week's upkeep and the
// turn-start events, as the window game runs them. For tests, balance runs and replays.

#include "app/commands.h"
#include "app/runner_support.h"

#include "ai/ai_turn.h"
#include "core/arith.h"
#include "core/errors.h"
#include "core/game.h"
#include "core/headless.h"
#include "files/savegame.h"
#include "forces/invariants.h"
#include "orders/orders.h"
#include "turn/activation.h"
#include "turn/victory.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vezer::app {

namespace {

constexpr const char* kCmd = "week";
constexpr const char* kUsage =
    "usage: vezer week IN.sav --weeks N --out OUT.sav [--trace] [--play-on] [--check-invariants]";

struct WeekOptions {
    std::string in, out;
    int weeks = -1;
    bool trace = false;
    bool playOn = false;
    bool checkInvariants = false;
};

// Returns an empty text, or what is wrong with the command line.
std::string ParseOptions(const std::vector<std::string>& args, WeekOptions& o) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--trace")
            o.trace = true;
        else if (a == "--play-on")
            o.playOn = true;
        else if (a == "--check-invariants")
            o.checkInvariants = true;
        else if (a == "--out" || a == "--weeks") {
            if (i + 1 >= args.size()) return a + " needs a value";
            const std::string& v = args[++i];
            if (a == "--out")
                o.out = v;
            else if (!ParseInt(v, o.weeks) || o.weeks < 0)
                return "--weeks needs a whole number of weeks, not '" + v + "'";
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option " + a;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1 || o.out.empty() || o.weeks < 0) return kUsage;
    o.in = positional[0];
    return {};
}

struct SideTally {
    int men = 0;
    int guns = 0;
    int cities = 0;
};

SideTally Tally(const State& st, int side) {
    SideTally t;
    for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) {
        const TEzred& e = st.Regiment(side, r);
        (e.Arm == 3 ? t.guns : t.men) += e.Men;
    }
    for (int c = 1; c <= kCityCount; ++c) t.cities += st.Cities[static_cast<std::size_t>(c)].Owner == side;
    return t;
}

std::string WeekLine(const State& st) {
    std::string line = std::to_string(st.Year) + "-" + std::to_string(st.Month) + "-" +
                       std::to_string(st.Week) + ": weather " + std::to_string(st.Weather) + " temperature " +
                       std::to_string(st.Temperature) + " ground " + std::to_string(st.GroundState) +
                       " rivers " + std::to_string(st.RiverState) + " danube " +
                       std::to_string(st.DanubeState);
    for (int side = 1; side <= 2; ++side) {
        const SideTally t = Tally(st, side);
        line += "; side " + std::to_string(side) + " " + std::to_string(t.men) + " men " +
                std::to_string(t.guns) + " guns " + std::to_string(t.cities) + " cities";
    }
    return line + "; " + FingerprintText(st);
}

// The lines the turn-start screens showed since call `from` of the screen, for --trace (all of
// them: the week's stored list keeps only the first 50).
void PrintTurnEvents(const HeadlessPresentation& screen, std::size_t from) {
    const auto& calls = screen.Calls();
    for (std::size_t i = from; i < calls.size(); ++i)
        if (calls[i].kind == HeadlessPresentation::Kind::TurnEvent)
            std::printf("  event side %d:%s\n", calls[i].value, calls[i].text.c_str());
}

// One side's turn, played by whoever plays it: the computer through its own turn, anyone else
// passes with order 30. The runner plays the turns one after the other, so the end of a turn
// never starts the computer's next turn inside it.
void PlaySideTurn(Game& game) {
    const State& st = game.state;
    if (st.PlayerType[st.ActiveSide] == 2)
        RunAiTurn(game, st.ActiveSide);
    else
        ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, st.ActiveSide, 0, 0});
}

bool InvariantsHold(const State& st, const std::string& when) {
    const std::vector<std::string> broken = CheckInvariants(st);
    for (const std::string& b : broken)
        std::fprintf(stderr, "vezer %s: %s: %s\n", kCmd, when.c_str(), b.c_str());
    return broken.empty();
}

} // namespace

int RunWeek(const std::vector<std::string>& args) {
    WeekOptions o;
    if (std::string bad = ParseOptions(args, o); !bad.empty()) {
        std::fprintf(stderr, "vezer %s: %s\n", kCmd, bad.c_str());
        return 2;
    }
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    if (!LoadSaveOrReport(*game, o.in, kCmd)) return 1;
    State& st = game->state;
    // The main screen opens on the loaded game: a new game's first turn-start screen is due.
    SetTurnStartFlagsAfterLoad(st);
    ActivateMainScreen(*game);
    if (o.trace) {
        std::printf("start %s\n", WeekLine(st).c_str());
        PrintTurnEvents(screen, 0);
    }
    bool broken = false;
    for (int week = 0; week < o.weeks && screen.MainScreenExists();) {
        const int side = st.ActiveSide;
        const int endings = screen.Count(HeadlessPresentation::Kind::EndOfGame);
        const std::size_t callsBefore = screen.Calls().size();
        PlaySideTurn(*game);
        if (o.trace) std::printf("  side %d ended its turn; %s\n", side, FingerprintText(st).c_str());
        if (!(side == 2 && st.ActiveSide == 1)) continue;
        ++week;
        std::printf("%s\n", WeekLine(st).c_str());
        if (o.trace) PrintTurnEvents(screen, callsBefore);
        if (o.checkInvariants && !InvariantsHold(st, WeekLine(st))) {
            broken = true;
            break;
        }
        if (screen.Count(HeadlessPresentation::Kind::EndOfGame) > endings) {
            std::printf("verdict: %s (points %d : %d)\n", screen.LastEndOfGame().verdict.c_str(),
                        st.TotalPoints[1], st.TotalPoints[2]);
            if (!o.playOn) break;
        }
    }
    WriteSaveFile(st, o.out);
    std::printf("%s: %s\n", o.out.c_str(), FingerprintText(st).c_str());
    return broken ? 1 : 0;
}

} // namespace vezer::app
