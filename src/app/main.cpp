// vezer: the game and its command-line tools.

#include "app/commands.h"
#include "app/speakers.h"
#include "app/user_dir.h"
#include "ui/run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace vezer::app {

namespace {

std::string g_gameDir;

void PrintHelp() {
    std::printf("Vezér %s: the Hungarian war of independence, 1848-49.\n\n", VEZER_VERSION);
    std::printf("usage: vezer [--game-dir DIR] [COMMAND [ARGS...]]\n\n");
    std::printf("Without a command the windowed game starts.\n\n");
    std::printf("  --size WxH           the window's size (the screen scales by 1, 1.25, 1.5 or 2 to fit)\n");
    std::printf("  --fullscreen         the whole display\n");
    std::printf("  --script FILE        drive the window from a script of input (the test harness)\n");
    std::printf("  --shots DIR          where the script's `shot NAME` writes NAME.png\n");
    std::printf("  --seed N             new games start from this chance seed (default: the clock)\n");
    std::printf("  --version            print the version\n");
    std::printf("  --help               this text\n");
    std::printf("  --game-dir DIR       the game directory (default: the executable's folder)\n");
    for (const Command& c : Commands()) std::printf("  %-20s %s\n", c.name, c.usage);
}

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

} // namespace

std::string GameDirectory() {
    if (!g_gameDir.empty()) return g_gameDir;
    if (const char* env = std::getenv("VEZER_GAME_DIR"); env != nullptr && *env != 0) return env;
    const std::string folder = ExecutableFolder();
    // An installed game plays from the user's own folder.
    if (std::string user = InstalledGameDirectory(folder); !user.empty()) return user;
    return folder;
}

void SetGameDirectory(const std::string& dir) {
    g_gameDir = dir;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"render-map",
         "OUT.png [--grid-labels] [--campaign N | --save FILE]  draw the map (and a saved game's corps) to a "
         "PNG picture",
         RunRenderMap},
        {"new-game",
         "--campaign N [--side1|--side2 person|computer] [--difficulty 1|2|3] [--fog on|off] "
         "[--russian 0|1|2] [--polish 0|1|2] [--email [--password P] [--orders ORDERS.txt --turn NAME]] [--seed N] "
         "--out FILE  start a campaign and save it (the same seed gives the same game; without one the clock "
         "chooses); an e-mail game is started in the game directory's save folder, and with --orders its first "
         "turn is played and written to save/PBEM_NAME.sav",
         RunNewGame},
        {"inspect", "FILE  print a saved game as JSON", RunInspect},
        {"orders",
         "IN.sav ORDERS.txt --out OUT.sav [--trace]  run order records (code hexX hexY side corps param a "
         "line) on a saved game and save it; exit 1 if any was refused, 2 for a malformed file; the automatic "
         "saves of order 30 go to the save folder of the game directory (--game-dir)",
         RunOrders},
        {"turn-info", "TURNFILE  what an e-mail turn file holds (side, date, campaign, orders) and whether it is "
                      "intact, the opponent's moves not shown; exit 1 for a damaged or incomplete file", RunTurnInfo},
        {"email-turn",
         "TURNFILE --password P --orders ORDERS.txt --out NEXT  open an e-mail turn file as its receiver, replay it, "
         "play the orders (order 30 added) and write save/PBEM_NEXT.sav in the game directory",
         RunEmailTurn},
        {"week",
         "IN.sav --weeks N --out OUT.sav [--trace] [--play-on] [--check-invariants]  play N whole weeks, every "
         "side's turn by whoever plays it (a person's side passes); a line a week, the verdict at the campaign's end",
         RunWeek},
    };
    return commands;
}

} // namespace vezer::app

int main(int argc, char** argv) {
    using namespace vezer::app;
    std::vector<std::string> args(argv + 1, argv + argc);
    while (!args.empty() && args.front() == "--game-dir") {
        if (args.size() < 2) {
            std::fprintf(stderr, "vezer: --game-dir needs a folder\n");
            return 2;
        }
        SetGameDirectory(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (!args.empty() && (args.front() == "--version" || args.front() == "-v")) {
        std::printf("vezer %s\n", VEZER_VERSION);
        return 0;
    }
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        PrintHelp();
        return 0;
    }
    if (args.empty() || args.front() == "--script" || args.front() == "--shots" || args.front() == "--size" ||
        args.front() == "--fullscreen" || args.front() == "--seed")
        return vezer::ui::RunWindowGame(GameDirectory(), args, MakeSpeakers);
    for (const Command& c : Commands()) {
        if (args.front() == c.name) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            try {
                return c.run(rest);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "vezer %s: %s\n", c.name, e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "vezer: unknown command '%s'; try 'vezer --help'\n", args.front().c_str());
    return 2;
}
