// One whole frame of the main game screen at 1280 x 1024, drawn in software and shown through
// SDL's dummy display: the map, the markers, the ticker, the panel and the minimap.

#include "core/game.h"
#include "campaign/setup.h"
#include "ui/app.h"
#include "ui/game_screen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

enum class Part { Whole, DrawOnly };

void RunFrames(benchmark::State& state, Part part) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    vezer::ui::AppOptions options;
    options.gameDir = VEZER_BENCH_GAME_DIR;
    options.windowW = 1280;
    options.windowH = 1024;
    vezer::ui::App app(options);
    app.SetLogicalSize(1280, 1024);
    vezer::ui::GameScreen screen(app);
    vezer::Game& game = screen.game();
    game.state.DataSet = 1;
    game.state.Language = 1;
    vezer::SetUpGame(game, 1, 1);
    vezer::CampaignChoices choices;
    choices.fogOfWar = 0;
    vezer::StartCampaign(game, 1, 1, choices);
    screen.Prepare();
    app.PushScreen(screen);
    vezer::ui::Painter painter(app.window().canvas(), app.fonts());
    for (auto _ : state) {
        screen.Tick();
        if (part == Part::Whole)
            app.Redraw();
        else
            screen.DrawFrame(painter);
    }
    app.RemoveScreen(screen);
}

// Drawing the frame and showing it in the window.
void BM_MainScreenFrame(benchmark::State& state) {
    RunFrames(state, Part::Whole);
}
BENCHMARK(BM_MainScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Drawing alone, without the copy to the window.
void BM_MainScreenDraw(benchmark::State& state) {
    RunFrames(state, Part::DrawOnly);
}
BENCHMARK(BM_MainScreenDraw)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
