#include "ui/game_start.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "campaign/email.h"
#include "campaign/load_game.h"
#include "files/email_files.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "turn/activation.h"
#include "ui/backdrop.h"
#include "ui/dialogs.h"
#include "ui/game_screen.h"
#include "ui/text.h"

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace vezer::ui {

void LoadingScreen::Draw(Painter& p) {
    const int w = p.target()->w, h = p.target()->h;
    DrawBackdrop(app_, p, "extramontazs");
    p.Text(Tr("Betöltés..."), w / 2, h * 7 / 9 - 36, palette::kInk, FontFace::SerifBold, 20, Align::Centre);
    // The bar at 7/9 of the height, centred.
    const int bw = w / 2, bx = (w - bw) / 2, by = h * 7 / 9;
    p.Fill(bx, by, bw, 18, Colour{222, 208, 176});
    p.Fill(bx, by, bw * done_ / std::max(1, steps_), 18, palette::kHungarian);
    p.Frame(bx, by, bw, 18, palette::kInk, 2);
}

void LoadingScreen::Step() {
    if (done_ < steps_) ++done_;
    app_.Redraw();
}

namespace {

// The turn file chosen in the open dialog, opened from the save folder as the game's own files
// are; one chosen elsewhere is first copied there.
TurnFileOpening OpenChosenTurnFile(Game& game, const std::string& chosen, const std::string& password,
                                   std::uint32_t seed) {
    const std::string plain = std::filesystem::path(chosen).filename().string();
    const auto inSave = game.dir.Resolve(SaveFolderFile(plain));
    std::error_code same;
    if (IsTurnFileChoice(plain) && !std::filesystem::equivalent(chosen, inSave, same))
        WriteFileAtomic(inSave, ReadFileBytes(chosen, plain));
    return OpenTurnFile(game, plain, password, seed);
}

} // namespace

void PlayGame(App& app, const GameStart& start) {
    const int menuW = app.window().logicalWidth(), menuH = app.window().logicalHeight();
    LoadingScreen loading(app, 6);
    app.PushScreen(loading);
    loading.Step();
    const bool large = app.setup.LargeScreen();
    app.SetLogicalSize(large ? 1280 : 1024, large ? 1024 : 768);
    auto screen = std::make_unique<GameScreen>(app);
    Game& game = screen->game();
    State& st = game.state;
    // What the menu sets before any game.
    st.DataSet = 1;
    st.Language = app.language;
    st.NetworkGame = 0;
    loading.Step();
    bool ok = true;
    bool declined = false; // a wrong password, or a game of the other kind: back to the menu
    std::string error;
    // An e-mail game asks for this player's password first.
    const std::string password = start.email ? AskTextDialog(app, Tr("Add meg a jelszót!"), true, true) : "";
    try {
        // A new game's chance cursor from --seed or the clock (an e-mail save brings its own).
        const std::uint32_t seed = app.NewGameSeed();
        loading.Step();
        if (start.campaign >= 0) {
            CampaignChoices c;
            c.playerType1 = start.choices.PlayerType(1, false);
            c.playerType2 = start.choices.PlayerType(2, false);
            c.pbem = start.email ? 1 : 0;
            c.fogOfWar = start.choices.FogOfWar();
            c.russianIntervention = start.choices.RussianIntervention();
            c.polishIntervention = start.choices.PolishIntervention();
            c.difficulty = start.campaign == kCampaignTutorial ? kTutorialDifficulty : start.choices.difficulty;
            if (start.campaign == kCampaignTutorial) {
                // The tutorial: Hungary is the person's, Austria the computer's.
                c.playerType1 = 1;
                c.playerType2 = 2;
            }
            if (start.email)
                StartEmailGame(game, 1, seed, start.campaign, c, password);
            else
                StartNewGame(game, 1, seed, start.campaign, c);
        } else if (start.email) {
            declined = OpenChosenTurnFile(game, start.savedGame, password, seed) != TurnFileOpening::Opened;
        } else {
            const std::string shown = std::filesystem::path(start.savedGame).filename().string();
            LoadSavedGame(game, 1, seed, ReadFileBytes(start.savedGame, shown), shown);
            SetTurnStartFlagsAfterLoad(game.state);
            // An e-mail game's turn file opens only from the e-mail game's screen.
            declined = game.state.PbemGame != 0;
        }
    } catch (const DataError& e) {
        ok = false;
        error = e.PlayerMessage();
    } catch (const std::exception& e) {
        ok = false;
        error = e.what();
    }
    loading.Step();
    if (ok && declined) {
        loading.Step();
        app.RemoveScreen(loading);
        app.SetLogicalSize(menuW, menuH);
        return;
    }
    if (ok) {
        if (app.sound() != nullptr) app.sound()->StopTitleMusic();
        screen->Prepare();
        loading.Step();
    }
    loading.Step();
    app.RemoveScreen(loading);
    if (!ok) {
        app.SetLogicalSize(menuW, menuH);
        MessageDialog(app, error);
        return;
    }
    // The main screen is under the turn-start screen and the rules' first messages.
    app.PushScreen(*screen);
    screen->Activate(start.campaign >= 0);
    app.RemoveScreen(*screen);
    if (!screen->closed && !app.quitting()) app.RunModal(*screen);
    screen.reset();
    app.SetLogicalSize(menuW, menuH);
    // Back in the menu: its title music again.
    if (app.sound() != nullptr) app.sound()->PlayTitleMusic();
}

} // namespace vezer::ui
