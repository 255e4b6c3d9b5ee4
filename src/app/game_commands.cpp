// vezer new-game and vezer inspect: a campaign started without a screen and saved, and a saved
// game printed as JSON.

#include "app/commands.h"
#include "campaign/email.h"
#include "turn/activation.h"

#include "core/errors.h"
#include "core/game.h"
#include "core/headless.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "forces/generals.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace vezer::app {

namespace {

bool ParseChoice(const std::string& text, int lo, int hi, int& out) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return false;
    out = text[0] - '0';
    return out >= lo && out <= hi;
}

int Usage(const char* command, const char* what) {
    std::fprintf(stderr, "vezer %s: %s\n", command, what);
    return 2;
}

// A JSON string: quotes, backslashes and control characters escaped; UTF-8 passes as it is.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::unique_ptr<Game> FreshGame(HeadlessPresentation& screen, NoTransport& link) {
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    // What the main menu sets before any game.
    game->state.DataSet = 1;
    game->state.Language = 1;
    return game;
}

void PrintSide(const State& st, int side, std::string& j) {
    j += "    {\"side\": " + std::to_string(side) + ", \"player_type\": " + std::to_string(st.PlayerType[side]) +
         ", \"zeal\": " + std::to_string(st.Zeal[side]) + ", \"corps_count\": " +
         std::to_string(st.CorpsCount[side]) + ", \"regiment_count\": " + std::to_string(st.RegimentCount[side]) +
         ", \"general_count\": " + std::to_string(st.GeneralCount[side]) + ",\n     \"results\": {" +
         "\"engagements_won\": " + std::to_string(st.EngagementsWon[side]) +
         ", \"battles_won\": " + std::to_string(st.BattlesWon[side]) +
         ", \"battle_points\": " + std::to_string(st.BattlePoints[side]) +
         ", \"city_points\": " + std::to_string(st.CityPoints[side]) + ", \"losses\": [" +
         std::to_string(st.Losses[side][1]) + ", " + std::to_string(st.Losses[side][2]) + ", " +
         std::to_string(st.Losses[side][3]) + "]},\n     \"corps\": [";
    for (int c = 1; c <= st.CorpsCount[side]; ++c) {
        const THad& h = st.Corps[side][c];
        int men = 0;
        j += c > 1 ? ",\n" : "\n";
        j += "      {\"index\": " + std::to_string(c) + ", \"name\": " + Quoted(h.Name.view()) +
             ", \"general\": " + Quoted(h.General > 0 ? GeneralDisplayName(st, side, h.General) : "") +
             ", \"hex\": [" + std::to_string(h.X) + ", " + std::to_string(h.Y) +
             "], \"formation\": " + std::to_string(h.Formation) + ", \"tactic\": " + std::to_string(h.Tactic) +
             ", \"garrison\": " + std::to_string(h.Garrison) + ", \"regiments\": [";
        for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
            const TEzred& e = st.Regiments[side][h.Units[i]];
            men += e.Men;
            j += (i > 1 ? ", " : "") + std::string("{\"index\": ") + std::to_string(h.Units[i]) +
                 ", \"type\": " + std::to_string(e.Type) + ", \"name\": " + Quoted(e.Name.view()) +
                 ", \"men\": " + std::to_string(e.Men) + ", \"morale\": " + std::to_string(e.Morale) +
                 ", \"experience\": " + std::to_string(e.Experience) + ", \"readiness\": " +
                 std::to_string(e.Readiness) + ", \"supply\": " + std::to_string(e.Supply) +
                 ", \"movement\": " + std::to_string(e.MovementPoints) +
                 ", \"movement_used\": " + std::to_string(e.MovementUsed) + "}";
        }
        j += "], \"men\": " + std::to_string(men) + "}";
    }
    j += "]}";
}

} // namespace

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

bool ParseSeed(const std::string& text, std::uint32_t& out) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long long v = std::stoull(text);
    if (v > 0xFFFFFFFFull) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

int RunNewGame(const std::vector<std::string>& args) {
    const char* cmd = "new-game";
    int campaign = -1;
    std::string out, password, ordersPath, turnName;
    std::uint32_t seed = ClockSeed();
    CampaignChoices choices;
    choices.playerType1 = 1;
    choices.playerType2 = 2;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string v = hasValue ? args[i + 1] : "";
        if (a == "--email") {
            choices.pbem = 1;
            continue;
        }
        if (!hasValue) return Usage(cmd, ("option " + a + " needs a value").c_str());
        ++i;
        if (a == "--campaign") {
            if (!ParseChoice(v, 0, 6, campaign)) return Usage(cmd, "the campaign is a number 0..6");
        } else if (a == "--russian") {
            if (!ParseChoice(v, 0, 2, choices.russianIntervention)) return Usage(cmd, "--russian is 0, 1 or 2");
        } else if (a == "--polish") {
            if (!ParseChoice(v, 0, 2, choices.polishIntervention)) return Usage(cmd, "--polish is 0, 1 or 2");
        } else if (a == "--fog") {
            if (v == "on" || v == "1")
                choices.fogOfWar = 1;
            else if (v == "off" || v == "0")
                choices.fogOfWar = 0;
            else
                return Usage(cmd, "--fog is on or off (1 or 0)");
        } else if (a == "--difficulty") {
            if (!ParseChoice(v, 1, 3, choices.difficulty)) return Usage(cmd, "--difficulty is 1, 2 or 3");
        } else if (a == "--side1" || a == "--side2") {
            int& type = a == "--side1" ? choices.playerType1 : choices.playerType2;
            if (v == "person")
                type = 1;
            else if (v == "computer")
                type = 2;
            else
                return Usage(cmd, (a + " is person or computer").c_str());
        } else if (a == "--out") {
            out = v;
        } else if (a == "--password") {
            password = v;
        } else if (a == "--orders") {
            ordersPath = v;
        } else if (a == "--turn") {
            turnName = v;
        } else if (a == "--seed") {
            if (!ParseSeed(v, seed)) return Usage(cmd, "--seed is a number 0..4294967295");
        } else {
            return Usage(cmd, ("unknown option " + a).c_str());
        }
    }
    if (campaign < 0) return Usage(cmd, "--campaign N is needed");
    if (out.empty()) return Usage(cmd, "--out FILE is needed");
    // The tutorial is always played on its own difficulty.
    if (campaign == kCampaignTutorial) choices.difficulty = kTutorialDifficulty;
    if (ordersPath.empty() != turnName.empty() || (!ordersPath.empty() && !choices.pbem))
        return Usage(cmd, "--orders and --turn go together, in an e-mail game");

    HeadlessPresentation screen;
    NoTransport link;
    auto game = FreshGame(screen, link);
    try {
        // An e-mail game starts in the game directory's save folder (its start-of-turn save and
        // order file), with the first player's password.
        if (choices.pbem)
            StartEmailGame(*game, 1, seed, campaign, choices, password);
        else
            StartNewGame(*game, 1, seed, campaign, choices);
        WriteSaveFile(game->state, out);
    } catch (const DataError& e) {
        std::fprintf(stderr, "vezer %s: %s (%s)\n", cmd, e.PlayerMessage().c_str(), e.what());
        return 1;
    } catch (const FileIoError& e) {
        std::fprintf(stderr, "vezer %s: %s\n", cmd, e.what());
        return 1;
    }
    const State& st = game->state;
    std::printf("%s: campaign %d, %d-%d-%d, %d and %d corps\n", out.c_str(), st.Campaign, st.Year, st.Month, st.Week,
                st.CorpsCount[1], st.CorpsCount[2]);
    if (ordersPath.empty()) return 0;
    ActivateMainScreen(*game);
    return PlayEmailOrders(*game, ordersPath, turnName, cmd);
}

int RunInspect(const std::vector<std::string>& args) {
    const char* cmd = "inspect";
    if (args.size() != 1) return Usage(cmd, "usage: vezer inspect FILE.sav");
    HeadlessPresentation screen;
    NoTransport link;
    auto game = FreshGame(screen, link);
    try {
        // The save's own cursor is what a replay of it uses; the set-up's seed does not matter.
        const std::string& path = args[0];
        LoadSavedGame(*game, 1, 0, ReadFileBytes(path, path), path);
    } catch (const DataError& e) {
        std::fprintf(stderr, "vezer %s: %s (%s)\n", cmd, e.PlayerMessage().c_str(), e.what());
        return 1;
    }
    const State& st = game->state;
    std::string j = "{\n";
    j += "  \"header\": {\"data_set\": " + std::to_string(st.DataSet) + ", \"campaign\": " +
         std::to_string(st.Campaign) + ", \"active_side\": " + std::to_string(st.ActiveSide) +
         ", \"local_side\": " + std::to_string(st.LocalSide) + ", \"email\": " + std::to_string(st.PbemGame) + "},\n";
    j += "  \"options\": {\"difficulty\": " + std::to_string(st.Difficulty) + ", \"fog_of_war\": " +
         std::to_string(st.FogOfWar) + ", \"russian\": " + std::to_string(st.RussianIntervention) +
         ", \"polish\": " + std::to_string(st.PolishIntervention) + ", \"keep_reinforcement_dates\": " +
         std::to_string(st.KeepReinforcementDates) + "},\n";
    j += "  \"calendar\": {\"year\": " + std::to_string(st.Year) + ", \"month\": " + std::to_string(st.Month) +
         ", \"week\": " + std::to_string(st.Week) + ", \"end\": [" + std::to_string(st.EndYear) + ", " +
         std::to_string(st.EndMonth) + ", " + std::to_string(st.EndWeek) + "]},\n";
    j += "  \"weather\": {\"weather\": " + std::to_string(st.Weather) + ", \"temperature\": " +
         std::to_string(st.Temperature) + ", \"ground\": " + std::to_string(st.GroundState) + ", \"river\": " +
         std::to_string(st.RiverState) + ", \"danube\": " + std::to_string(st.DanubeState) + "},\n";
    j += "  \"drawn\": {\"engagements\": " + std::to_string(st.DrawnEngagements) + ", \"battles\": " +
         std::to_string(st.DrawnBattles) + "},\n  \"sides\": [\n";
    PrintSide(st, 1, j);
    j += ",\n";
    PrintSide(st, 2, j);
    j += "\n  ],\n  \"cities\": [";
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[c];
        j += c > 1 ? ",\n" : "\n";
        j += "    {\"index\": " + std::to_string(c) + ", \"name\": " + Quoted(v.Name.view()) + ", \"owner\": " +
             std::to_string(v.Owner) + ", \"fortress\": " + (v.Kind == 3 ? "true" : "false") +
             ", \"garrison_corps\": " + std::to_string(v.GarrisonCorps) + ", \"fort_strength\": " +
             std::to_string(v.FortStrength) + "}";
    }
    j += "\n  ]\n}\n";
    std::fputs(j.c_str(), stdout);
    return 0;
}

} // namespace vezer::app
