// vezer orders: a saved game, a text file of order records run through the order executor as
// orders from outside are, and the result saved. For tests, debugging and replays.

#include "app/commands.h"
#include "app/runner_support.h"

#include "core/errors.h"
#include "core/game.h"
#include "core/headless.h"
#include "files/savegame.h"
#include "orders/orders.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vezer::app {

namespace {

constexpr const char* kCmd = "orders";

bool SameEntry(const TLogEntry& a, const TLogEntry& b) {
    return a.Side == b.Side && a.Kind == b.Kind && a.Colour == b.Colour && a.Text == b.Text;
}

// The entries a log gained since it was `before`: a log keeps only its newest lines, so the
// old ones that dropped out are found by where the old tail meets the new head.
std::vector<const TLogEntry*> NewEntries(const EventLog& before, const EventLog& after) {
    auto at = [](const EventLog& log, int i) -> const TLogEntry& { return log.Entries[static_cast<std::size_t>(i)]; };
    int kept = 0;
    for (int dropped = 0; dropped <= before.Count; ++dropped) {
        const int n = before.Count - dropped;
        if (n > after.Count) continue;
        bool same = true;
        for (int i = 0; i < n && same; ++i) same = SameEntry(at(before, dropped + i), at(after, i));
        if (same) {
            kept = n;
            break;
        }
    }
    std::vector<const TLogEntry*> added;
    for (int i = kept; i < after.Count; ++i) added.push_back(&at(after, i));
    return added;
}

// What an order showed: the battle report's lines, then each side's new log lines (an entry
// both logs hold is printed once, under the side it belongs to).
void PrintWhatWasShown(HeadlessPresentation& screen, const PerSide<EventLog>& logsBefore, const State& st) {
    for (const auto& call : screen.Calls())
        if (call.kind == HeadlessPresentation::Kind::ReportLine) std::printf("  report %d: %s\n", call.value, call.text.c_str());
    screen.Clear();
    for (int side = 1; side <= 2; ++side)
        for (const TLogEntry* e : NewEntries(logsBefore[side], st.Logs[side]))
            if (e->Side == side) std::printf("  log %d: %s\n", side, e->Text.str().c_str());
}

} // namespace

int RunOrders(const std::vector<std::string>& args) {
    std::string in, ordersPath, out;
    bool trace = false;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--trace") {
            trace = true;
        } else if (args[i] == "--out") {
            if (i + 1 >= args.size()) break;
            out = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            std::fprintf(stderr, "vezer %s: unknown option %s\n", kCmd, args[i].c_str());
            return 2;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2 || out.empty()) {
        std::fprintf(stderr, "vezer %s: usage: vezer orders IN.sav ORDERS.txt --out OUT.sav [--trace]\n", kCmd);
        return 2;
    }
    in = positional[0];
    ordersPath = positional[1];

    // Every line is read before anything runs: a malformed file changes nothing.
    std::vector<OrderLine> orders;
    if (std::string bad = ParseOrders(ordersPath, orders); !bad.empty()) {
        std::fprintf(stderr, "vezer %s: %s\n", kCmd, bad.c_str());
        return 2;
    }

    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    if (!LoadSaveOrReport(*game, in, kCmd)) return 1;
    State& st = game->state;
    if (trace) std::printf("start: %s\n", FingerprintText(st).c_str());

    int refused = 0;
    screen.Clear();
    for (const OrderLine& l : orders) {
        std::string outcome;
        const PerSide<EventLog> logsBefore = st.Logs;
        // Checked as a record from the other machine or an order file is, then executed.
        if (std::string bad = ValidateOrder(st, l.order); !bad.empty()) {
            ++refused;
            std::fprintf(stderr, "vezer %s: %s:%d: order %s refused: %s\n", kCmd, ordersPath.c_str(), l.line,
                         Describe(l.order).c_str(), bad.c_str());
            outcome = "refused (" + bad + ")";
        } else {
            switch (ExecuteOrder(*game, l.order)) {
            case OrderOutcome::Executed: outcome = "executed"; break;
            case OrderOutcome::Refused:
                ++refused;
                std::fprintf(stderr, "vezer %s: %s:%d: order %s refused by the rules\n", kCmd, ordersPath.c_str(),
                             l.line, Describe(l.order).c_str());
                outcome = "refused by the rules";
                break;
            case OrderOutcome::HeldBack: outcome = "held back"; break;
            }
        }
        if (trace) {
            std::printf("line %d: %s: %s; %s\n", l.line, Describe(l.order).c_str(), outcome.c_str(),
                        FingerprintText(st).c_str());
            PrintWhatWasShown(screen, logsBefore, st);
        }
    }

    WriteSaveFile(st, out);
    std::printf("%s: %zu orders, %d refused; %s\n", out.c_str(), orders.size(), refused, FingerprintText(st).c_str());
    return refused > 0 ? 1 : 0;
}

} // namespace vezer::app
