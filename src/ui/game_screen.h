#pragma once
// The main game screen: the command panel on the left, the scrolling map on the right with
// the corps, city and cursor markers, the minimap and the six-line ticker. The screen never
// changes the game itself: every action is an order through ExecuteOrder.

#include "ai/ai_turn.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/transport.h"
#include "ui/app.h"
#include "ui/settings_screen.h"
#include "ui/widgets.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vezer {
struct TParancs;
}

namespace vezer::ui {

class WindowPresentation;

inline constexpr int kPanelWidth = 200;

// The attack odds of the selected corps of the side to move against a hex, in attack mode 1
// or assault mode 3: the battle module's estimate on one machine (drawing as the battle does),
// order 29's check in a network game (10 or -1). -1 when no attack is possible.
int AttackOdds(Game& game, Hex target, int mode, bool playSound);

class GameScreen : public Screen, public GameControls {
public:
    explicit GameScreen(App& app);
    ~GameScreen() override;

    Game& game() { return *game_; }
    WindowPresentation& presentation() { return *presentation_; }

    // After the game is set up or loaded: the pictures, the view and the markers.
    void Prepare();
    // The screen's activation: the turn-start screen of a new game.
    void Activate(bool newGame);

    void Draw(Painter& p) override;
    void OnInput(const Input& in) override;
    void Tick() override;
    bool Busy() const override;
    bool AimAtHex(int hx, int hy, int& x, int& y) override;
    Game* RunningGame() override { return game_.get(); }

    // From the presentation seam.
    void MarkersChanged(bool all);
    // During the computer's turn: the frames run until its marches have been shown.
    void FollowComputerMarch();
    void CentreOn(Hex hex);
    void EnableCommands(bool on) { commandsEnabled_ = on; }
    // The delay after each line of the battle report, in milliseconds.
    int BattleDelayMs() const { return battleDelayMs_; }
    void CloseFromRules() { closed = true; }

    // GameControls (the settings screen in game mode).
    void ApplySettings() override;
    void SaveFromSettings() override;
    void QuitFromSettings() override;

    // The view's offset on the map picture and its size (for the harness and the tests).
    int viewX() const { return viewX_; }
    int viewY() const { return viewY_; }
    // Draws one whole frame into `p` (the frame benchmark calls it directly).
    void DrawFrame(Painter& p) { Draw(p); }

private:
    struct Glide {
        double fromX = 0, fromY = 0, toX = 0, toY = 0;
        int frame = 0, frames = 0;
    };
    struct PopupItem {
        std::string caption;
        std::string hint;
        bool enabled = true;
        std::function<void()> action;
    };

    // Geometry.
    int ViewW() const;
    int ViewH() const;
    bool InView(int x, int y) const {
        return x >= kPanelWidth && y >= 0 && x < kPanelWidth + ViewW() && y < ViewH();
    }
    Hex HexAtScreen(int x, int y) const;
    void ScrollBy(int dx, int dy);
    void ClampView();

    // Orders.
    void Give(const TParancs& order);
    void GiveCorpsOrder(int code, int param);
    bool LocalCanAct() const;
    const THad* SelectedOwnCorps() const;
    void SelectNextCorps(int step);
    void StartAttack(Hex target, int mode);
    void QuickSave();
    void EndTurn();
    void WriteEmailTurn();
    void ReplayOpponentOrder();

    // Input.
    void OnMapMove(int x, int y);
    void OnMapRelease(const Input& in);
    void OnKey(const Input& in);
    void OnPanelRelease(int x, int y);
    void UpdateFeedback(Hex hex, bool force);
    void OpenCorpsMenu(int x, int y);
    void OpenFormationMenu(int x, int y);
    void OpenTacticMenu(int x, int y);
    void OpenPopup(std::vector<PopupItem> items, int x, int y, int width);

    // Drawing.
    void DrawMap(Painter& p);
    void DrawCities(Painter& p);
    void DrawCorps(Painter& p);
    void DrawCorpsMarker(Painter& p, int side, const THad& corps, int cx, int cy);
    void DrawCursor(Painter& p);
    void DrawTicker(Painter& p);
    void DrawComputerProgress(Painter& p);
    void DrawPanel(Painter& p);
    void DrawPanelCorps(Painter& p, int y);
    void DrawPanelHex(Painter& p, int y);
    void DrawMinimap(Painter& p);
    void DrawPopup(Painter& p);
    void MakeMinimap();
    void LayOutButtons();
    bool CorpsMarkerShown(int side, const THad& corps) const;
    bool CityMarkerShown(int city) const;
    void SyncGlides(bool jump);

    std::unique_ptr<WindowPresentation> presentation_;
    NoTransport link_;
    ComputerPlayers computer_; // plays the computer's sides between the persons' turns
    std::unique_ptr<Game> game_;
    int battleDelayMs_ = 100;
    bool prepared_ = false;
    bool commandsEnabled_ = true;

    SDL_Surface* background_ = nullptr;
    SDL_Surface* minimap_ = nullptr;
    int mapW_ = 0, mapH_ = 0;
    int viewX_ = 0, viewY_ = 0;
    int scrollStep_ = 10;
    int glideFramesPerHex_ = 8;
    std::array<bool, 4> edge_{}; // left, right, top, bottom

    // The cursor feedback.
    Hex hover_ = kNoHex;
    Hex lastFeedback_{-1, -1};
    std::string cursorMarker_; // "hexa", "tilt", "mehet", "csatatilt", "csata" or empty
    std::string cursorText_;
    int lastOdds_ = -1;
    int frameCount_ = 0;

    // Where each corps marker stands on the map picture and its glide to a new hex.
    std::array<std::vector<Hex>, 3> shownHex_;
    std::map<std::pair<int, int>, Glide> glides_;
    std::pair<int, int> lastMover_{0, 0}; // the corps whose march was shown last (side, corps)

    struct PanelButton {
        Button button;
        std::string hint;
        std::function<void()> action;
        bool visible = true;
    };
    std::vector<PanelButton> buttons_;
    std::string hint_; // the hint of the element under the mouse
    Hex supplyHex_ = kNoHex;
    int supplyValue_ = 0;

    std::vector<PopupItem> popup_;
    int popupX_ = 0, popupY_ = 0, popupW_ = 0;
    bool popupOpen_ = false;
};

} // namespace vezer::ui
