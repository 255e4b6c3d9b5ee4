#include "ui/game_screen.h"

#include "battle/battle.h"
#include "battle/battle_figures.h"
#include "campaign/email.h"
#include "core/errors.h"
#include "files/email_files.h"
#include "core/log.h"
#include "files/savegame.h"
#include "forces/generals.h"
#include "forces/markers.h"
#include "forces/permission_hints.h"
#include "map/queries.h"
#include "orders/orders.h"
#include "render/map_picture.h"
#include "turn/activation.h"
#include "turn/turn.h"
#include "ui/backdrop.h"
#include "ui/battle_screens.h"
#include "ui/corps_dialogs.h"
#include "ui/dialogs.h"
#include "ui/text.h"
#include "ui/window_presentation.h"

#include <algorithm>
#include <filesystem>
#include <cmath>
#include <cstdio>

namespace vezer::ui {

namespace {

constexpr int kMinimapW = 190;
constexpr int kMinimapX = 5;
constexpr int kMinimapY = 418;
constexpr int kButtonsY = 548;
constexpr int kTickerLeft = 26;

// The marker of a corps stands this far above its hex's centre; its labels below it.
constexpr int kMarkerLift = 10;

Colour Ink() {
    return palette::kInk;
}

std::string Two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string Men(int v) {
    // Thousands apart with a thin space, as printed returns showed them.
    const std::string digits = std::to_string(std::abs(v));
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ' ';
        s += digits[i];
    }
    return v < 0 ? "-" + s : s;
}

// A small filled triangle (the facing wedge of a marker).
void FillTriangle(Painter& p, double x0, double y0, double x1, double y1, double x2, double y2, Colour c) {
    const int top = static_cast<int>(std::floor(std::min({y0, y1, y2})));
    const int bottom = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
    for (int y = top; y <= bottom; ++y) {
        const double yy = y + 0.5;
        double lo = 1e9, hi = -1e9;
        const double xs[3] = {x0, x1, x2}, ys[3] = {y0, y1, y2};
        for (int i = 0; i < 3; ++i) {
            const int j = (i + 1) % 3;
            if ((ys[i] <= yy && ys[j] > yy) || (ys[j] <= yy && ys[i] > yy)) {
                const double x = xs[i] + (yy - ys[i]) * (xs[j] - xs[i]) / (ys[j] - ys[i]);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        if (hi >= lo)
            p.Fill(static_cast<int>(std::lround(lo)), y, std::max(1, static_cast<int>(std::lround(hi - lo))),
                   1, c);
    }
}

int CityPictureKind(const TVaros& city) {
    return std::clamp(city.Kind, 1, 3);
}

} // namespace

int AttackOdds(Game& game, Hex target, int mode, bool playSound) {
    State& st = game.state;
    const int side = st.ActiveSide, corps = st.SelectedCorps;
    if (side < 1 || side > 2 || st.SelectedCorpsSide != side || corps < 1 || corps > st.CorpsCount[side])
        return -1;
    if (st.NetworkGame != 0) {
        ExecuteOrder(game, TParancs{kOrderBattleOdds, target.x, target.y, side, corps, 0});
        return st.Battle.Odds;
    }
    // The estimate of an assault counts the walls: the mode is set before it and the attack
    // itself sets it again.
    st.Battle.BattleMode = mode;
    const int odds = PrepareBattle(game, side, corps, target, playSound);
    st.Battle.BattleMode = kFieldAttack;
    return odds;
}

GameScreen::GameScreen(App& app) : Screen(app) {
    presentation_ = std::make_unique<WindowPresentation>(app);
    game_ = MakeGame(*presentation_, link_, GameDir(app.gameDir()));
    game_->players = &computer_;
    presentation_->Attach(this);
}

GameScreen::~GameScreen() {
    presentation_->Attach(nullptr);
    if (app_.sound() != nullptr) {
        app_.sound()->StopEffect();
        app_.sound()->ShutdownMusic();
    }
}

int GameScreen::ViewW() const {
    return app_.window().logicalWidth() - kPanelWidth;
}

int GameScreen::ViewH() const {
    return app_.window().logicalHeight();
}

void GameScreen::Prepare() {
    const State& st = game_->state;
    mapW_ = render::MapPictureWidth(st);
    mapH_ = render::MapPictureHeight(st);
    background_ = app_.pictures().Get("terkep16", mapW_, mapH_, [](SDL_Surface* s) {
        SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 228, 222, 190, 255));
    });
    // The map is opaque: copied, not blended, which is most of a frame's work.
    SDL_SetSurfaceBlendMode(background_, SDL_BLENDMODE_NONE);
    MakeMinimap();
    ApplySettings();
    scrollStep_ = app_.setup.ScrollStep(); // at game start the code itself: 8, 10, 20 or 30
    battleDelayMs_ = DisplayDelayFromSetting(app_.settings.Lines()[12]);
    LayOutButtons();
    SyncGlides(true);
    // The view opens on the selected corps, else on the first corps of the side to move.
    const int side = st.ActiveSide >= 1 && st.ActiveSide <= 2 ? st.ActiveSide : 1;
    if (st.SelectedCorps > 0 && st.SelectedCorpsSide >= 1 && st.SelectedCorpsSide <= 2)
        CentreOn({st.CorpsRec(st.SelectedCorpsSide, st.SelectedCorps).X,
                  st.CorpsRec(st.SelectedCorpsSide, st.SelectedCorps).Y});
    else {
        // The first field corps: garrisons stand in their fortresses at the map's edges.
        Hex at{st.MapMaxX / 2, st.MapMaxY / 2};
        for (int k = st.CorpsCount[side]; k >= 1; --k)
            if (st.CorpsRec(side, k).Garrison == 0) at = {st.CorpsRec(side, k).X, st.CorpsRec(side, k).Y};
        CentreOn(at);
    }
    prepared_ = true;
}

void GameScreen::Activate(bool newGame) {
    // What is due runs as in a game without a screen: a new game's turn-start screen, and for a
    // loaded game what the load rules made due.
    State& st = game_->state;
    if (newGame) MarkNewGameTurnStart(st);
    ActivateMainScreen(*game_);
    // In an e-mail game this player acts only in the turn of this machine's side.
    if (st.PbemGame != 0) EnableCommands(st.LocalSide == st.ActiveSide);
    MarkersChanged(true);
    if (st.ReplayNotice != 0) {
        st.ReplayNotice = 0;
        std::string summary;
        try {
            summary = TurnSummaryText(SummariseOpenedTurn(*game_)) + "\n\n";
        } catch (const std::exception& e) {
            summary = std::string(e.what()) + "\n\n";
        }
        MessageDialog(app_, summary + Tr("SZÓKÖZ billentyüvel kell visszajátszani az ellenfél körének eseményeit!"));
    }
}

void GameScreen::ReplayOpponentOrder() {
    State& st = game_->state;
    try {
        ReplayNextOrder(*game_);
    } catch (const std::exception& e) {
        MessageDialog(app_, e.what());
    }
    if (st.PbemGame != 0) EnableCommands(st.LocalSide == st.ActiveSide);
    MarkersChanged(true);
    lastFeedback_ = {-1, -1};
    UpdateFeedback(hover_, true);
}

// The end of an e-mail turn: the turn file is named and written, and the main screen closes.
// A name that cannot be written is asked for again; the turn is never lost.
void GameScreen::WriteEmailTurn() {
    while (!app_.quitting()) {
        const std::string name = AskTextDialog(app_, Tr("Add meg a mentés nevét!"), false, false);
        if (name.empty()) continue;
        try {
            const std::string written = WriteTurnFile(*game_, name);
            MessageDialog(app_, std::string(Tr("Játék mentve: ")) + std::filesystem::path(written).filename().string());
            closed = true;
            return;
        } catch (const std::exception& e) {
            MessageDialog(app_, e.what());
        }
    }
}

void GameScreen::ApplySettings() {
    static constexpr int kPerHex[] = {12, 8, 5, 3};
    const std::string& a = app_.setup.animation;
    const int speed = a == "02" ? 0 : a == "06" ? 2 : a == "08" ? 3 : 1;
    glideFramesPerHex_ = kPerHex[speed];
    const std::string& s = app_.setup.scroll;
    // Applied from the settings screen: 10, 20, 30 or 40 pixels a frame.
    scrollStep_ = s == "08" ? 10 : s == "20" ? 30 : s == "30" ? 40 : 20;
    // The music and effect switches; when the screen is prepared this starts the music.
    if (app_.sound() != nullptr) app_.sound()->ApplySettings(true);
}

void GameScreen::SaveFromSettings() {
    State& st = game_->state;
    if (st.PbemGame != 0) {
        MessageDialog(app_, Tr("Email-es játék esetén a mentés automatikus! (Kör vége gomb)"));
        return;
    }
    if (st.Campaign == 0) {
        MessageDialog(app_, Tr("Oktató hadjárat esetén nem lehet menteni!"));
        return;
    }
    const std::string name = AskTextDialog(app_, Tr("Add meg a mentés nevét!"), true, false);
    if (name.empty()) return;
    std::string file = name;
    if (file.size() < 4 || file.substr(file.size() - 4) != ".sav") file += ".sav";
    if (!IsPlainFileName(file)) {
        MessageDialog(app_, Tr("A mentés neve nem tartalmazhat mappát."));
        return;
    }
    if (TrySaveGame(*game_, SaveFolderFile(file)))
        MessageDialog(app_, std::string(Tr("Játék mentve: ")) + file);
}

void GameScreen::QuitFromSettings() {
    try {
        WriteSettingsList(GameDir(app_.gameDir()), app_.settings);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vezer: %s\n", e.what());
    }
    TrySaveGame(*game_, SaveFolderFile("autosave.sav"));
    closed = true;
}

// --- Geometry -----------------------------------------------------------------------------

Hex GameScreen::HexAtScreen(int x, int y) const {
    return PixelToHex(game_->state, x - kPanelWidth + viewX_, y + viewY_);
}

void GameScreen::ClampView() {
    viewX_ = std::clamp(viewX_, 0, std::max(0, mapW_ - ViewW()));
    viewY_ = std::clamp(viewY_, 0, std::max(0, mapH_ - ViewH()));
}

void GameScreen::ScrollBy(int dx, int dy) {
    viewX_ += dx;
    viewY_ += dy;
    ClampView();
}

void GameScreen::CentreOn(Hex hex) {
    const Pixel c = HexToPixel(hex);
    viewX_ = c.X - ViewW() / 2;
    viewY_ = c.Y - ViewH() / 2;
    ClampView();
    lastFeedback_ = {-1, -1};
}

bool GameScreen::AimAtHex(int hx, int hy, int& x, int& y) {
    if (!prepared_ || !OnMap(game_->state, {hx, hy})) return false;
    const Pixel c = HexToPixel({hx, hy});
    auto onScreen = [&] {
        x = kPanelWidth + c.X - viewX_;
        y = c.Y - viewY_;
        // Away from the edges, where the mouse would scroll the map.
        return x >= kPanelWidth + 8 && y >= 8 && x < kPanelWidth + ViewW() - 8 && y < ViewH() - 110;
    };
    if (onScreen()) return true;
    CentreOn({hx, hy});
    return onScreen();
}

// --- Orders -------------------------------------------------------------------------------

bool GameScreen::LocalCanAct() const {
    const State& st = game_->state;
    return commandsEnabled_ && st.ActiveSide == st.LocalSide && st.ActiveSide >= 1 && st.ActiveSide <= 2 &&
           st.PlayerType[st.ActiveSide] == 1;
}

const THad* GameScreen::SelectedOwnCorps() const {
    const State& st = game_->state;
    if (st.SelectedCorps < 1 || st.SelectedCorpsSide != st.LocalSide || st.ActiveSide != st.LocalSide)
        return nullptr;
    if (st.SelectedCorps > st.CorpsCount[st.LocalSide]) return nullptr;
    return &st.CorpsRec(st.LocalSide, st.SelectedCorps);
}

void GameScreen::Give(const TParancs& order) {
    try {
        ExecuteOrder(*game_, order);
        // The end of a turn hands the next side over: the computer's turns run here, modal,
        // until a person here is to move again.
        PlayTurns(*game_);
        presentation_->HandOverIfDue();
    } catch (const std::exception& e) {
        MessageDialog(app_, e.what());
    }
    lastFeedback_ = {-1, -1};
    UpdateFeedback(hover_, true);
}

void GameScreen::GiveCorpsOrder(int code, int param) {
    const THad* c = SelectedOwnCorps();
    if (c == nullptr) return;
    const State& st = game_->state;
    Give(TParancs{code, c->X, c->Y, st.LocalSide, st.SelectedCorps, param});
}

void GameScreen::SelectNextCorps(int step) {
    State& st = game_->state;
    const int side = st.ActiveSide;
    if (side < 1 || side > 2 || st.CorpsCount[side] < 1) return;
    int c = st.SelectedCorpsSide == side ? st.SelectedCorps : 0;
    const int n = st.CorpsCount[side];
    c = c + step;
    if (c < 1) c = n;
    if (c > n) c = 1;
    const THad& h = st.CorpsRec(side, c);
    Give(TParancs{kOrderSelectCorps, h.X, h.Y, side, c, 0});
    CentreOn({h.X, h.Y});
    const Pixel px = HexToPixel({h.X, h.Y});
    hint_ = "Hex:" + std::to_string(px.X) + ";" + std::to_string(px.Y) + " " + std::to_string(c);
}

void GameScreen::StartAttack(Hex target, int mode) {
    const THad* c = SelectedOwnCorps();
    if (c == nullptr) return;
    State& st = game_->state;
    const int side = st.LocalSide, corps = st.SelectedCorps;
    const int code = mode == kAssault ? kOrderStorm : kOrderAttack;
    if (st.PlayerType[st.ActiveSide] != 1) {
        Give(TParancs{code, target.x, target.y, side, corps, 0});
        return;
    }
    if (mode == kFieldAttack) {
        Give(TParancs{kOrderCollectSupporters, target.x, target.y, side, corps, 0});
        bool any = false;
        for (int i = 1; i <= 5; ++i)
            any = any || st.Battle.SupportList[static_cast<std::size_t>(i)].Corps != 0;
        if (any)
            for (int entry : ChooseParticipants(app_, st, side))
                Give(TParancs{kOrderDropSupporter, 0, 0, side, 0, entry});
    }
    // The dialogs may have let the game move on (a quit): the corps is looked at again.
    if (SelectedOwnCorps() == nullptr || st.SelectedCorps != corps) return;
    const int odds = AttackOdds(*game_, target, mode, true);
    if (odds < 0) return;
    if (!ConfirmAttack(app_, OddsGrade(odds, st.NetworkGame != 0), battleDelayMs_)) return;
    if (SelectedOwnCorps() == nullptr || st.SelectedCorps != corps) return;
    Give(TParancs{code, target.x, target.y, side, corps, 0});
}

void GameScreen::QuickSave() {
    vezer::QuickSave(*game_);
}

void GameScreen::EndTurn() {
    State& st = game_->state;
    if (st.PbemGame != 0) {
        // Ignored while the opponent's turn is replayed, and outside this machine's turn.
        if (st.ReplayPending != 0 || st.LocalSide != st.ActiveSide) return;
        Give(TParancs{kOrderEndTurn, 0, 0, st.ActiveSide, 0, 0});
        if (st.OrderFileOpen == 0) WriteEmailTurn();
        return;
    }
    Give(TParancs{kOrderEndTurn, 0, 0, st.ActiveSide, 0, 0});
    MarkersChanged(true);
}

// --- Input --------------------------------------------------------------------------------

void GameScreen::OnInput(const Input& in) {
    if (!prepared_) return;
    const int lw = app_.window().logicalWidth(), lh = app_.window().logicalHeight();
    if (in.kind == Input::Kind::MouseMove) {
        edge_ = {};
        if (!popupOpen_ && app_.mouseMoved()) {
            edge_[0] = (in.x >= kPanelWidth && in.x < kPanelWidth + 2) || in.x <= 1;
            edge_[1] = in.x >= lw - 2;
            edge_[2] = in.y <= 1 && in.x >= kPanelWidth;
            edge_[3] = in.y >= lh - 2 && in.x >= kPanelWidth;
        }
        if (popupOpen_) {
            hint_.clear();
            const int row = (in.y - popupY_ - 6) / 18;
            if (in.x >= popupX_ && in.x < popupX_ + popupW_ && row >= 0 &&
                row < static_cast<int>(popup_.size()))
                hint_ = popup_[static_cast<std::size_t>(row)].hint;
            return;
        }
        if (InView(in.x, in.y)) {
            OnMapMove(in.x, in.y);
        } else {
            hint_.clear();
            for (const PanelButton& b : buttons_)
                if (b.visible && b.button.Contains(in.x, in.y)) hint_ = b.hint;
        }
        return;
    }
    if (in.kind == Input::Kind::Key) {
        OnKey(in);
        return;
    }
    if (in.kind != Input::Kind::MouseUp) return;
    if (popupOpen_) {
        // The release that closes a popup does not act on the map.
        popupOpen_ = false;
        const int row = (in.y - popupY_ - 6) / 18;
        if (in.button == 1 && in.x >= popupX_ && in.x < popupX_ + popupW_ && in.y >= popupY_ + 6 &&
            row >= 0 && row < static_cast<int>(popup_.size())) {
            PopupItem item = popup_[static_cast<std::size_t>(row)];
            if (item.enabled && item.action) item.action();
        }
        return;
    }
    if (InView(in.x, in.y))
        OnMapRelease(in);
    else if (in.button == 1)
        OnPanelRelease(in.x, in.y);
}

void GameScreen::OnKey(const Input& in) {
    State& st = game_->state;
    if (in.key == SDLK_ESCAPE && popupOpen_) {
        popupOpen_ = false;
        return;
    }
    // SPACE replays the opponent's next order while an e-mail turn is replayed.
    if (in.key == SDLK_SPACE && st.PbemGame != 0 && st.ReplayOpen != 0) {
        ReplayOpponentOrder();
        return;
    }
    if (!LocalCanAct()) return;
    const THad* c = SelectedOwnCorps();
    switch (in.key) {
    case SDLK_a:
        if (c != nullptr) GiveCorpsOrder(14, TurnLeft(c->Direction));
        break;
    case SDLK_s:
        if (c != nullptr) GiveCorpsOrder(14, TurnRight(c->Direction));
        break;
    case SDLK_u:
        if (st.NetworkGame == 0) Give(TParancs{kOrderUndo, 0, 0, st.ActiveSide, 0, 0});
        break;
    case SDLK_F5:
        QuickSave();
        break;
    case SDLK_t:
        if (st.Campaign == 0) FeedTutorialText(*game_);
        break;
    default:
        break;
    }
}

void GameScreen::OnMapMove(int x, int y) {
    const State& st = game_->state;
    if (st.NetworkGame != 0 && st.ActiveSide != st.LocalSide) return;
    const Hex h = HexAtScreen(x, y);
    hover_ = h;
    UpdateFeedback(h, false);
}

void GameScreen::UpdateFeedback(Hex hex, bool force) {
    State& st = game_->state;
    if (!force && hex == lastFeedback_) return;
    lastFeedback_ = hex;
    cursorText_.clear();
    lastOdds_ = -1;
    if (!OnMap(st, hex)) {
        cursorMarker_.clear();
        return;
    }
    cursorMarker_ = "hexa";
    const THad* c = SelectedOwnCorps();
    if (c == nullptr || !LocalCanAct()) return;
    const Hex from{c->X, c->Y};
    if (from == hex) return;
    const int side = st.LocalSide, enemySide = 3 - side;
    bool enemy = false;
    for (int k = 1; k <= st.CorpsCount[enemySide]; ++k) {
        const THad& e = st.CorpsRec(enemySide, k);
        if (e.X == hex.x && e.Y == hex.y && e.UnitCount > 0 && (st.FogOfWar == 0 || e.ReconLevel >= 1))
            enemy = true;
    }
    const PathResult path = ShortestPath(*game_, from, hex, c->MovementPoints, true, false);
    const int cost = path[0];
    if (c->MovementPoints < cost) {
        cursorMarker_ = enemy ? "csatatilt" : "tilt";
    } else if (!enemy) {
        cursorMarker_ = "mehet";
        cursorText_ = std::to_string(cost);
    } else if (DirectionTo(from, hex) != kNoDirection && c->CanAttack != 0) {
        const int odds = AttackOdds(*game_, hex, kFieldAttack, false);
        // The estimate refreshes the markers, which would ask for the feedback again.
        lastFeedback_ = hex;
        lastOdds_ = odds;
        if (odds < 0) {
            cursorMarker_ = "csatatilt";
        } else {
            cursorMarker_ = "csata";
            cursorText_ = st.NetworkGame != 0 ? std::string("?") : std::to_string(odds) + "%";
        }
    } else {
        cursorMarker_ = "csatatilt";
    }
}

void GameScreen::OnMapRelease(const Input& in) {
    State& st = game_->state;
    if (!LocalCanAct()) return;
    const int vx = in.x - kPanelWidth, bottom = ViewH();
    if (vx <= 23 && in.button == 1) {
        if (in.y > bottom - 100 && in.y < bottom - 76) {
            ScrollTickerOlder(*game_);
            return;
        }
        if (in.y > bottom - 24) {
            ScrollTickerNewer(*game_);
            return;
        }
    }
    const Hex hex = HexAtScreen(in.x, in.y);
    if (!OnMap(st, hex)) return;
    if (in.button == 1) {
        Give(TParancs{kOrderClickHex, hex.x, hex.y, st.ActiveSide, 0, 0});
        hint_ = "Hex:" + std::to_string(hex.x) + ";" + std::to_string(hex.y);
        return;
    }
    if (in.button != 3) return;
    const THad* c = SelectedOwnCorps();
    if ((in.mod & KMOD_CTRL) != 0) {
        if (c == nullptr) return;
        const int d = DirectionTo({c->X, c->Y}, hex);
        if (d != kNoDirection) GiveCorpsOrder(14, d);
        return;
    }
    if (c != nullptr) {
        const Hex from{c->X, c->Y};
        if (hex == from) {
            OpenCorpsMenu(in.x, in.y);
            return;
        }
        const int enemySide = 3 - st.LocalSide;
        bool enemy = false;
        for (int k = 1; k <= st.CorpsCount[enemySide]; ++k) {
            const THad& e = st.CorpsRec(enemySide, k);
            if (e.X == hex.x && e.Y == hex.y && e.UnitCount > 0 && (st.FogOfWar == 0 || e.ReconLevel >= 1))
                enemy = true;
        }
        if (enemy && DirectionTo(from, hex) != kNoDirection) {
            StartAttack(hex, kFieldAttack);
            return;
        }
        Give(TParancs{kOrderMove, hex.x, hex.y, st.LocalSide, st.SelectedCorps, 0});
        return;
    }
    const int city = st.Cell(hex.x, hex.y).City;
    if (city > 0 && hex.x == st.SelectedHexX && hex.y == st.SelectedHexY &&
        st.Cities[city].Owner == st.ActiveSide && st.ActiveSide == st.LocalSide) {
        OpenPopup({{Tr("Toboroz"), Tr("Toborzás a városban"), true,
                    [this, city] {
                        RecruitmentDialog(
                            app_, *game_, [this](const TParancs& o) { Give(o); }, game_->state.ActiveSide,
                            city);
                    }}},
                  in.x, in.y, 150);
    }
}

void GameScreen::OpenPopup(std::vector<PopupItem> items, int x, int y, int width) {
    popup_ = std::move(items);
    popupW_ = width;
    const int h = 12 + 18 * static_cast<int>(popup_.size());
    // Kept inside the view.
    popupX_ = std::clamp(x, kPanelWidth, kPanelWidth + ViewW() - width);
    popupY_ = std::clamp(y, 0, ViewH() - h);
    popupOpen_ = true;
    edge_ = {};
}

void GameScreen::OpenCorpsMenu(int x, int y) {
    const THad* c = SelectedOwnCorps();
    if (c == nullptr) return;
    const State& st = game_->state;
    PermissionHints hints;
    try {
        hints = LoadPermissionHints(GameDir(app_.gameDir()), app_.language);
    } catch (const std::exception&) {
    }
    auto item = [&](Permission p, const char* fallback) {
        const PermissionHint& h = hints[static_cast<std::size_t>(p)];
        return std::make_pair(h.item.empty() ? std::string(Tr(fallback)) : h.item, h.hint);
    };
    const int side = st.LocalSide, corps = st.SelectedCorps;
    const Hex at{c->X, c->Y};
    const GiveOrder give = [this](const TParancs& o) { Give(o); };
    std::vector<PopupItem> items;
    auto [newName, newHint] = item(Permission::CanFormNewCorps, "Új hadtest");
    items.push_back({newName, newHint,
                     Permitted(*c, Permission::CanFormNewCorps) && st.CorpsCount[st.LocalSide] <= 200,
                     [this, give, side, at] { NewCorpsDialog(app_, *game_, give, side, at); }});
    auto [moveName, moveHint] = item(Permission::CanTransferRegiments, "Ezred áthelyez");
    items.push_back({moveName, moveHint, Permitted(*c, Permission::CanTransferRegiments),
                     [this, give, side, corps] { TransferDialog(app_, *game_, give, side, corps); }});
    auto [formName, formHint] = item(Permission::MayChangeFormation, "Felállás váltás");
    items.push_back({formName, formHint, Permitted(*c, Permission::MayChangeFormation),
                     [this, x, y] { OpenFormationMenu(x, y); }});
    auto [tacName, tacHint] = item(Permission::CanChangeTactic, "Taktika váltás");
    items.push_back({tacName, tacHint, Permitted(*c, Permission::CanChangeTactic),
                     [this, x, y] { OpenTacticMenu(x, y); }});
    auto [genName, genHint] = item(Permission::CanChangeGeneral, "Tábornok");
    items.push_back({genName, genHint, Permitted(*c, Permission::CanChangeGeneral),
                     [this, give, side, corps] { GeneralDialog(app_, *game_, give, side, corps); }});
    auto [entName, entHint] = item(Permission::CanEntrench, "Sáncot épít");
    items.push_back(
        {entName, entHint, Permitted(*c, Permission::CanEntrench), [this] { GiveCorpsOrder(11, 0); }});
    auto [bomName, bomHint] = item(Permission::CanBombard, "Bombard fort");
    items.push_back(
        {bomName, bomHint, Permitted(*c, Permission::CanBombard), [this] { GiveCorpsOrder(2, 0); }});
    auto [repName, repHint] = item(Permission::CanRepairFort, "Repair fort");
    items.push_back(
        {repName, repHint, Permitted(*c, Permission::CanRepairFort), [this] { GiveCorpsOrder(12, 0); }});
    auto [stoName, stoHint] = item(Permission::CanStorm, "Roham");
    items.push_back({stoName, stoHint, Permitted(*c, Permission::CanStorm), [this] {
                         if (const THad* h = SelectedOwnCorps()) StartAttack({h->X, h->Y}, kAssault);
                     }});
    const int city = st.Cell(c->X, c->Y).City;
    if (city > 0) {
        items.push_back({Tr("Toboroz"), Tr("Toborzás a városban"), st.Cities[city].Owner == st.LocalSide,
                         [this, give, side, city] { RecruitmentDialog(app_, *game_, give, side, city); }});
    }
    items.push_back({Tr("Hadtest részletek"), Tr("Egységek listája"), true,
                     [this, give, side, corps] { RegimentListDialog(app_, *game_, give, side, corps); }});
    OpenPopup(std::move(items), x, y, 190);
}

void GameScreen::OpenFormationMenu(int x, int y) {
    const THad* c = SelectedOwnCorps();
    if (c == nullptr) return;
    const State& st = game_->state;
    std::vector<PopupItem> items;
    for (int f : {1, 2, 3, 4, 6, 5}) {
        const bool enabled = f != 5 || c->SiegeGunsAtEnemyFort != 0;
        items.push_back({st.Formations[f].Name.str(), "", enabled,
                         [this, f] { GiveCorpsOrder(kOrderChangeFormation, f); }});
    }
    OpenPopup(std::move(items), x, y, 170);
}

void GameScreen::OpenTacticMenu(int x, int y) {
    const State& st = game_->state;
    std::vector<PopupItem> items;
    for (int t = 1; t <= kTacticCount; ++t)
        items.push_back({st.Texts.TacticName[t].str(), "", true, [this, t] { GiveCorpsOrder(9, t); }});
    OpenPopup(std::move(items), x, y, 170);
}

void GameScreen::LayOutButtons() {
    buttons_.clear();
    const State& st = game_->state;
    auto add = [&](const char* caption, const char* hint, std::function<void()> action, bool visible = true) {
        const int i = static_cast<int>(buttons_.size());
        PanelButton b;
        b.button = Button{4 + (i % 2) * 97, kButtonsY + (i / 2) * 25, 94, 22, Tr(caption), true};
        b.hint = Tr(hint);
        b.action = std::move(action);
        b.visible = visible;
        buttons_.push_back(std::move(b));
    };
    add("Új parancs", "Uj parancs", [this] {
        if (const THad* c = SelectedOwnCorps()) {
            const Pixel px = HexToPixel({c->X, c->Y});
            OpenCorpsMenu(kPanelWidth + px.X - viewX_, px.Y - viewY_);
        }
    });
    add("Felállás", "Felállás váltás", [this] {
        if (const THad* c = SelectedOwnCorps(); c != nullptr && c->MayChangeFormation != 0)
            OpenFormationMenu(kPanelWidth, kButtonsY - 120);
    });
    add("Taktika", "Taktika váltás", [this] {
        if (const THad* c = SelectedOwnCorps(); c != nullptr && c->CanChangeTactic != 0)
            OpenTacticMenu(kPanelWidth, kButtonsY - 60);
    });
    add("Toborzás", "Toborzás", [this] {
        const State& s = game_->state;
        if (s.MayRecruit[s.ActiveSide] != 0)
            RecruitmentDialog(
                app_, *game_, [this](const TParancs& o) { Give(o); }, s.ActiveSide, 0);
    });
    add("Hadtestek", "Hadtestek listája", [this] {
        const int side = game_->state.ActiveSide;
        const int k = AllCorpsDialog(
            app_, *game_, [this](const TParancs& o) { Give(o); }, side);
        const State& s = game_->state;
        if (k < 1 || k > s.CorpsCount[side]) return;
        const THad& h = s.CorpsRec(side, k);
        Give(TParancs{kOrderSelectCorps, h.X, h.Y, side, k, 0});
        CentreOn({h.X, h.Y});
    });
    add(
        "Visszavon", "Utolsó parancs visszavonása",
        [this] {
            Give(TParancs{kOrderUndo, 0, 0, game_->state.ActiveSide, 0, 0});
        },
        st.NetworkGame == 0);
    add("◄ Forgat", "Hadtest forgatása balra", [this] {
        if (const THad* c = SelectedOwnCorps()) GiveCorpsOrder(14, TurnLeft(c->Direction));
    });
    add("Forgat ►", "Hadtest forgatása jobbra", [this] {
        if (const THad* c = SelectedOwnCorps()) GiveCorpsOrder(14, TurnRight(c->Direction));
    });
    add("Menü", "Menü", [this] {
        SettingsScreen settings(app_, this);
        app_.RunModal(settings);
    });
    add("Állás", "Jelenlegi állás / veszteségek", [this] { ShowResultSummary(app_, game_->state); });
    add("Események", "Kör eseményei", [this] { ReviewTurnEvents(*game_); });
    add("Következő kör", "Következo kör", [this] { EndTurn(); });
}

void GameScreen::OnPanelRelease(int x, int y) {
    State& st = game_->state;
    // The minimap: a click centres the view there.
    const int mh = mapW_ > 0 ? mapH_ * kMinimapW / mapW_ : 0;
    if (x >= kMinimapX && x < kMinimapX + kMinimapW && y >= kMinimapY && y < kMinimapY + mh) {
        const int mx = (x - kMinimapX) * mapW_ / kMinimapW,
                  my = (y - kMinimapY) * mapH_ / kMinimapW * mapW_ / mapH_;
        (void)my;
        viewX_ = mx - ViewW() / 2;
        viewY_ = (y - kMinimapY) * mapW_ / kMinimapW - ViewH() / 2;
        ClampView();
        lastFeedback_ = {-1, -1};
        return;
    }
    // The portrait: the general's biography, when there is one.
    if (x >= 20 && x < 84 && y >= 128 && y < 208) {
        const int side = st.SelectedCorpsSide;
        if (st.SelectedCorps > 0 && side >= 1 && side <= 2 && st.SelectedCorps <= st.CorpsCount[side] &&
            (side == st.LocalSide || st.FogOfWar == 0))
            BiographyScreen(app_, *game_, side, st.CorpsRec(side, st.SelectedCorps).General);
        return;
    }
    // The arrows beside the portrait.
    if (y >= 160 && y < 184) {
        if (x >= 2 && x < 18) return SelectNextCorps(-1);
        if (x >= 86 && x < 102) return SelectNextCorps(1);
    }
    if (!LocalCanAct()) {
        // The menu and the review of the turn's events stay open to a waiting player.
        for (PanelButton& b : buttons_)
            if (b.visible && b.button.Contains(x, y) &&
                (b.hint == Tr("Menü") || b.hint == Tr("Kör eseményei")))
                b.action();
        return;
    }
    for (PanelButton& b : buttons_)
        if (b.visible && b.button.Contains(x, y)) {
            b.action();
            return;
        }
}

// --- Ticking and markers ------------------------------------------------------------------

void GameScreen::MarkersChanged(bool all) {
    if (!prepared_) return;
    SyncGlides(all);
    lastFeedback_ = {-1, -1};
}

void GameScreen::SyncGlides(bool jump) {
    const State& st = game_->state;
    for (int side = 1; side <= 2; ++side) {
        auto& shown = shownHex_[static_cast<std::size_t>(side)];
        const int n = st.CorpsCount[side];
        if (jump || static_cast<int>(shown.size()) != n + 1) {
            shown.assign(static_cast<std::size_t>(n) + 1, kNoHex);
            for (int k = 1; k <= n; ++k)
                shown[static_cast<std::size_t>(k)] = {st.CorpsRec(side, k).X, st.CorpsRec(side, k).Y};
            if (jump) glides_.clear();
            continue;
        }
        for (int k = 1; k <= n; ++k) {
            const THad& h = st.CorpsRec(side, k);
            Hex& was = shown[static_cast<std::size_t>(k)];
            const Hex now{h.X, h.Y};
            if (was == now) continue;
            // The march: the marker glides from where it stood to the new hex.
            if (OnMap(st, was) && OnMap(st, now) && CorpsMarkerShown(side, h)) {
                const Pixel a = HexToPixel(was), b = HexToPixel(now);
                Glide g;
                auto it = glides_.find({side, k});
                if (it != glides_.end() && it->second.frame < it->second.frames) {
                    const double t = double(it->second.frame) / it->second.frames;
                    g.fromX = it->second.fromX + (it->second.toX - it->second.fromX) * t;
                    g.fromY = it->second.fromY + (it->second.toY - it->second.fromY) * t;
                } else {
                    g.fromX = a.X;
                    g.fromY = a.Y;
                }
                g.toX = b.X;
                g.toY = b.Y;
                const double hexes = std::hypot(g.toX - g.fromX, g.toY - g.fromY) / kRowPitch;
                g.frames = std::clamp(static_cast<int>(std::lround(hexes * glideFramesPerHex_)), 1, 60);
                glides_[{side, k}] = g;
                lastMover_ = {side, k};
            }
            was = now;
        }
    }
}

void GameScreen::Tick() {
    if (!prepared_) return;
    ++frameCount_;
    SyncGlides(false);
    for (auto it = glides_.begin(); it != glides_.end();) {
        if (++it->second.frame >= it->second.frames)
            it = glides_.erase(it);
        else
            ++it;
    }
    int dx = 0, dy = 0;
    if (!popupOpen_) {
        if (app_.KeyHeld(SDLK_LEFT) || edge_[0]) dx -= scrollStep_;
        if (app_.KeyHeld(SDLK_RIGHT) || edge_[1]) dx += scrollStep_;
        if (app_.KeyHeld(SDLK_UP) || edge_[2]) dy -= scrollStep_;
        if (app_.KeyHeld(SDLK_DOWN) || edge_[3]) dy += scrollStep_;
    }
    if (dx != 0 || dy != 0) {
        ScrollBy(dx, dy);
        if (InView(app_.mouseX(), app_.mouseY())) OnMapMove(app_.mouseX(), app_.mouseY());
    }
}

void GameScreen::FollowComputerMarch() {
    const State& st = game_->state;
    const int side = st.ActiveSide;
    if (!prepared_ || side < 1 || side > 2 || st.PlayerType[side] != 2) return;
    // The computer's marches are shown as they happen: the frames run until the markers have
    // glided to their new hexes (a corps the person here cannot see does not glide).
    SyncGlides(false);
    for (int guard = 0; !glides_.empty() && guard < 240 && !app_.quitting(); ++guard) app_.PauseFrames(1);
}

bool GameScreen::Busy() const {
    return !glides_.empty();
}

bool GameScreen::CorpsMarkerShown(int side, const THad& corps) const {
    return vezer::CorpsMarkerShown(game_->state, side, corps);
}

bool GameScreen::CityMarkerShown(int c) const {
    const State& st = game_->state;
    const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
    if (city.Kind >= 3) return true;
    const THex& cell = st.Cell(city.X, city.Y);
    if (cell.CorpsCount <= 0) return true;
    // Under fog of war a town not held by this player stays shown unless an enemy corps there is known.
    if (st.FogOfWar != 0 && city.Owner != st.LocalSide) {
        const int enemy = 3 - st.LocalSide;
        for (int k = 1; k <= st.CorpsCount[enemy]; ++k) {
            const THad& h = st.CorpsRec(enemy, k);
            if (h.X == city.X && h.Y == city.Y && h.ReconLevel >= 1) return false;
        }
        bool own = false;
        for (int k = 1; k <= st.CorpsCount[st.LocalSide]; ++k) {
            const THad& h = st.CorpsRec(st.LocalSide, k);
            own |= h.X == city.X && h.Y == city.Y;
        }
        return !own;
    }
    return false;
}

// --- Drawing ------------------------------------------------------------------------------

void GameScreen::Draw(Painter& p) {
    if (!prepared_) {
        p.Fill(0, 0, p.target()->w, p.target()->h, palette::kParchment);
        return;
    }
    DrawMap(p);
    DrawPanel(p);
    if (popupOpen_) DrawPopup(p);
}

void GameScreen::DrawMap(Painter& p) {
    p.SetClip(kPanelWidth, 0, ViewW(), ViewH());
    p.Fill(kPanelWidth, 0, ViewW(), ViewH(), Colour{228, 222, 190});
    SDL_Rect src{viewX_, viewY_, std::min(ViewW(), mapW_), std::min(ViewH(), mapH_)};
    SDL_Rect dst{kPanelWidth, 0, src.w, src.h};
    SDL_BlitSurface(background_, &src, p.target(), &dst);
    DrawCities(p);
    DrawCorps(p);
    DrawCursor(p);
    DrawTicker(p);
    DrawComputerProgress(p);
    p.ClearClip();
}

void GameScreen::DrawComputerProgress(Painter& p) {
    const State& st = game_->state;
    const int side = st.ActiveSide;
    if (side < 1 || side > 2 || st.PlayerType[side] != 2) return;
    // The computer's turn: a line says whose turn it is and which corps it moved last (one
    // the person here can see).
    std::string text =
        side == 2 ? Tr("A császári fél (számítógép) lép") : Tr("A magyar fél (számítógép) lép");
    const auto [ms, mk] = lastMover_;
    if (ms == side && mk >= 1 && mk <= st.CorpsCount[ms] && CorpsMarkerShown(ms, st.CorpsRec(ms, mk)))
        text += std::string(": ") + st.CorpsRec(ms, mk).Name.str();
    const int w = std::min(ViewW() - 40, p.fonts().Width(FontFace::SerifBold, 15, text) + 40);
    const int x = kPanelWidth + (ViewW() - w) / 2;
    p.Shade(x + 3, 11, w, 30, Colour{0, 0, 0, 80});
    p.Fill(x, 8, w, 30, palette::kParchment);
    p.Frame(x, 8, w, 30, palette::kInk, 2);
    p.Text(text, x + w / 2, 13, palette::kItem, FontFace::SerifBold, 15, Align::Centre);
}

void GameScreen::DrawCities(Painter& p) {
    const State& st = game_->state;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (!OnMap(st, {city.X, city.Y})) continue;
        const Pixel px = HexToPixel({city.X, city.Y});
        const int sx = kPanelWidth + px.X - viewX_, sy = px.Y - viewY_;
        if (sx < kPanelWidth - 60 || sy < -60 || sx > kPanelWidth + ViewW() + 60 || sy > ViewH() + 60)
            continue;
        // The entrenchment of the hex, under everything.
        const THex& cell = st.Cell(city.X, city.Y);
        (void)cell;
        if (CityMarkerShown(c)) {
            const int owner = city.Owner == 1 || city.Owner == 2 ? city.Owner : 0;
            SDL_Surface* pic = app_.pictures().Get(
                "varos" + std::to_string(CityPictureKind(city)) + "_" + std::to_string(owner), 48, 48);
            p.Picture(pic, sx - pic->w / 2, sy - pic->h / 2);
        }
        const int damage = st.FortressDamage[static_cast<std::size_t>(c)];
        if (damage >= 1 && damage <= 2) {
            SDL_Surface* smoke = app_.pictures().Get("rom" + std::to_string(damage), 360, 60);
            p.PictureFrame(smoke, 6, frameCount_ / 6, sx - 30, sy - 44);
        }
    }
    // Entrenchment marks.
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x) {
            const THex& cell = st.Cell(x, y);
            if (cell.Entrenchment <= 0) continue;
            const Pixel px = HexToPixel({x, y});
            SDL_Surface* mark = app_.pictures().Get(cell.EntrenchmentSide == 2 ? "sanc2" : "sanc1", 44, 18);
            p.Picture(mark, kPanelWidth + px.X - viewX_ - 22, px.Y - viewY_ + 18);
        }
}

void GameScreen::DrawCorpsMarker(Painter& p, int side, const THad& corps, int cx, int cy) {
    const State& st = game_->state;
    const int nation = std::clamp(corps.Nation, 1, kNationCount);
    int arm = corps.MarkerArm;
    if (arm != 1 && arm != 2 && arm != 3 && arm != 4 && arm != 9) arm = 2;
    SDL_Surface* pic =
        app_.pictures().Get("jel" + std::to_string(nation) + "_" + std::to_string(arm), 48, 38);
    const int left = cx - 24, top = cy - kMarkerLift - 22;
    p.Picture(pic, left, top);
    // The facing: a wedge on the plate's edge toward the side it faces.
    static constexpr double kAngle[6] = {-90, -30, 30, 90, 150, 210};
    const double a = kAngle[std::clamp(corps.Direction, 0, 5)] * M_PI / 180;
    const double px = left + 24 + std::cos(a) * 23, py = top + 20 + std::sin(a) * 17;
    const double tx = left + 24 + std::cos(a) * 31, ty = top + 20 + std::sin(a) * 24;
    const double nx = -std::sin(a) * 6, ny = std::cos(a) * 6;
    FillTriangle(p, px + nx, py + ny, px - nx, py - ny, tx, ty, Colour{24, 22, 20});
    if (corps.MarkerState != 0) p.Frame(left + 3, top + 5, 42, 30, Colour{250, 246, 234}, 1);
    // The labels: the arms' strengths, own or estimated; the entrenchment below.
    const bool own = side == st.LocalSide || st.FogOfWar == 0;
    const int cav = own ? corps.CavalryMen : corps.EstimatedCavalry;
    const int inf = own ? corps.InfantryMen : corps.EstimatedInfantry;
    const int guns = own ? corps.Guns : corps.EstimatedGuns;
    std::string label;
    if (cav > 0) label += "♞" + Men(cav) + " ";
    if (inf > 0) label += "⚔" + Men(inf) + " ";
    if (guns > 0) label += "●" + std::to_string(guns);
    if (!own && corps.ReconLevel == 2) label = ":" + label + ":";
    if (!label.empty()) {
        const int w = p.fonts().Width(FontFace::SansBold, 10, label);
        const int lx = cx - w / 2 - 2, ly = top + 37;
        p.Shade(lx, ly, w + 4, 13, Colour{250, 244, 226, 200});
        p.Text(label, lx + 2, ly, Colour{30, 24, 18}, FontFace::SansBold, 10);
    }
    const int level = st.Cell(corps.X, corps.Y).Entrenchment;
    if (level > 0 && st.Cell(corps.X, corps.Y).EntrenchmentSide == side)
        p.ShadowText(std::string(static_cast<std::size_t>(std::min(level, 5)), 'F'), cx, top + 50,
                     Colour{250, 246, 234}, Colour{20, 16, 12}, FontFace::SansBold, 11, Align::Centre);
}

void GameScreen::DrawCorps(Painter& p) {
    const State& st = game_->state;
    struct Item {
        int z, side, corps;
        double x, y;
    };
    std::vector<Item> items;
    for (int side = 1; side <= 2; ++side)
        for (int k = 1; k <= st.CorpsCount[side]; ++k) {
            const THad& h = st.CorpsRec(side, k);
            if (!CorpsMarkerShown(side, h)) continue;
            const Pixel px = HexToPixel({h.X, h.Y});
            double x = px.X, y = px.Y;
            if (auto it = glides_.find({side, k}); it != glides_.end()) {
                const double t = double(it->second.frame) / std::max(1, it->second.frames);
                x = it->second.fromX + (it->second.toX - it->second.fromX) * t;
                y = it->second.fromY + (it->second.toY - it->second.fromY) * t;
            }
            items.push_back({100 * h.X + h.Y, side, k, x, y});
        }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.z < b.z; });
    for (const Item& it : items) {
        const int sx = kPanelWidth + static_cast<int>(std::lround(it.x)) - viewX_;
        const int sy = static_cast<int>(std::lround(it.y)) - viewY_;
        if (sx < kPanelWidth - 60 || sy < -60 || sx > kPanelWidth + ViewW() + 60 || sy > ViewH() + 60)
            continue;
        DrawCorpsMarker(p, it.side, st.CorpsRec(it.side, it.corps), sx, sy);
        // The selected corps: a ring of its side's colour under the cursor's eye.
        if (it.side == st.SelectedCorpsSide && it.corps == st.SelectedCorps)
            p.Frame(sx - 27, sy - kMarkerLift - 25, 54, 44, Colour{250, 246, 234}, 2);
    }
}

void GameScreen::DrawCursor(Painter& p) {
    if (cursorMarker_.empty() || !OnMap(game_->state, lastFeedback_)) return;
    const Pixel px = HexToPixel(lastFeedback_);
    const int sx = kPanelWidth + px.X - viewX_, sy = px.Y - viewY_;
    const int frames = cursorMarker_ == "mehet" ? 6 : 1;
    SDL_Surface* pic = app_.pictures().Get(cursorMarker_, 84 * frames, 72);
    p.PictureFrame(pic, frames, (frameCount_ / 8) % frames, sx - 42, sy - 36);
    if (!cursorText_.empty())
        p.ShadowText(cursorText_, sx + 34, sy - 34, Colour{255, 255, 255}, Colour{0, 0, 0},
                     FontFace::SansBold, 16);
}

void GameScreen::DrawTicker(Painter& p) {
    const State& st = game_->state;
    const int bottom = ViewH();
    SDL_Surface* shade = app_.pictures().Get("arnyek", 640, 100);
    p.Picture(shade, kPanelWidth, bottom - 100);
    for (int line = 1; line <= kTickerLines; ++line) {
        const std::string text = st.TickerLine[static_cast<std::size_t>(line)].str();
        if (text.empty()) continue;
        const int y = bottom - (20 + (line - 1) * 15) - 4;
        Colour c = FromBgr(st.TickerColour[static_cast<std::size_t>(line)]);
        if (st.TickerColour[static_cast<std::size_t>(line)] == 0) c = Colour{255, 255, 255};
        p.Text(text, kPanelWidth + kTickerLeft + 1, y + 1, Colour{0, 0, 0}, FontFace::Sans, 12);
        p.Text(text, kPanelWidth + kTickerLeft, y, c, FontFace::Sans, 12);
    }
    // The arrows that scroll the log.
    p.Text("▲", kPanelWidth + 5, bottom - 96, Colour{240, 230, 200}, FontFace::Sans, 13);
    p.Text("▼", kPanelWidth + 5, bottom - 20, Colour{240, 230, 200}, FontFace::Sans, 13);
}

void GameScreen::DrawPopup(Painter& p) {
    const int h = 12 + 18 * static_cast<int>(popup_.size());
    p.Shade(popupX_ + 4, popupY_ + 4, popupW_, h, Colour{0, 0, 0, 90});
    p.Fill(popupX_, popupY_, popupW_, h, palette::kParchment);
    p.Frame(popupX_, popupY_, popupW_, h, palette::kInk, 2);
    const int mx = app_.mouseX(), my = app_.mouseY();
    for (std::size_t i = 0; i < popup_.size(); ++i) {
        const int y = popupY_ + 6 + static_cast<int>(i) * 18;
        const bool hover = mx >= popupX_ && mx < popupX_ + popupW_ && my >= y && my < y + 18;
        if (hover && popup_[i].enabled) p.Fill(popupX_ + 2, y, popupW_ - 4, 18, palette::kParchmentDark);
        const Colour c = !popup_[i].enabled ? palette::kFaded : hover ? palette::kItemLit : palette::kItem;
        p.Text(popup_[i].caption, popupX_ + 10, y + 1, c, FontFace::SerifBold, 13);
    }
}

void GameScreen::MakeMinimap() {
    const int mw = kMinimapW, mh = std::max(1, mapH_ * kMinimapW / std::max(1, mapW_));
    minimap_ = app_.pictures().Find("kisterkep");
    if (minimap_ != nullptr && minimap_->w == mw && minimap_->h == mh) return;
    SDL_Surface* s = NewPicture(mw, mh);
    // Each minimap pixel is the average of the map picture's pixels under it.
    SDL_LockSurface(background_);
    const auto* src = static_cast<const std::uint8_t*>(background_->pixels);
    auto* dst = static_cast<std::uint8_t*>(s->pixels);
    for (int y = 0; y < mh; ++y)
        for (int x = 0; x < mw; ++x) {
            const int x0 = x * background_->w / mw, x1 = std::max(x0 + 1, (x + 1) * background_->w / mw);
            const int y0 = y * background_->h / mh, y1 = std::max(y0 + 1, (y + 1) * background_->h / mh);
            unsigned long r = 0, g = 0, b = 0, n = 0;
            for (int yy = y0; yy < y1; yy += 2)
                for (int xx = x0; xx < x1; xx += 2) {
                    const std::uint32_t v =
                        *reinterpret_cast<const std::uint32_t*>(src + yy * background_->pitch + xx * 4);
                    r += (v >> 16) & 0xFF;
                    g += (v >> 8) & 0xFF;
                    b += v & 0xFF;
                    ++n;
                }
            n = std::max(n, 1ul);
            *reinterpret_cast<std::uint32_t*>(dst + y * s->pitch + x * 4) =
                0xFF000000u | static_cast<std::uint32_t>((r / n) << 16) |
                static_cast<std::uint32_t>((g / n) << 8) | static_cast<std::uint32_t>(b / n);
        }
    SDL_UnlockSurface(background_);
    minimap_ = app_.pictures().Keep("kisterkep", s);
}

void GameScreen::DrawMinimap(Painter& p) {
    const State& st = game_->state;
    const int mh = minimap_->h;
    p.Picture(minimap_, kMinimapX, kMinimapY);
    auto toMini = [&](Hex h, int& x, int& y) {
        const Pixel px = HexToPixel(h);
        x = kMinimapX + px.X * kMinimapW / mapW_;
        y = kMinimapY + px.Y * mh / mapH_;
    };
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (!OnMap(st, {city.X, city.Y})) continue;
        int x = 0, y = 0;
        toMini({city.X, city.Y}, x, y);
        const bool fort = city.Kind >= 3;
        Colour col = Colour{150, 150, 150};
        if (city.Owner == 1) col = fort ? FromBgr(0x0007AD) : FromBgr(0x2584EE);
        if (city.Owner == 2) col = fort ? FromBgr(0x10DFE5) : FromBgr(0xB4FAFA);
        p.Fill(x - 2, y - 2, 4, 4, col);
        p.Frame(x - 2, y - 2, 4, 4, Colour{40, 30, 22});
    }
    for (int side = 1; side <= 2; ++side)
        for (int k = 1; k <= st.CorpsCount[side]; ++k) {
            const THad& h = st.CorpsRec(side, k);
            if (!CorpsMarkerShown(side, h)) continue;
            int x = 0, y = 0;
            toMini({h.X, h.Y}, x, y);
            // Side 1 in dark red, side 2 in a bright violet-blue: apart in lightness and hue.
            p.Fill(x - 1, y - 1, 3, 3, side == 1 ? Colour{150, 10, 20} : FromBgr(0xFF2266));
        }
    const int rx = kMinimapX + viewX_ * kMinimapW / mapW_, ry = kMinimapY + viewY_ * mh / mapH_;
    const int rw = std::min(kMinimapW, ViewW() * kMinimapW / mapW_), rh = std::min(mh, ViewH() * mh / mapH_);
    p.Frame(rx, ry, rw, rh, Colour{20, 16, 12}, 1);
    p.Frame(rx - 1, ry - 1, rw + 2, rh + 2, Colour{250, 246, 234}, 1);
    p.Frame(kMinimapX - 1, kMinimapY - 1, kMinimapW + 2, mh + 2, palette::kInk);
}

void GameScreen::DrawPanel(Painter& p) {
    const State& st = game_->state;
    const int h = ViewH();
    p.SetClip(0, 0, kPanelWidth, h);
    SDL_Surface* paper = app_.pictures().Get("onesetup", 1024, 768);
    SDL_SetSurfaceBlendMode(paper, SDL_BLENDMODE_NONE);
    // The paper of the screens, without their printed border.
    for (int top = 0; top < h; top += 700) {
        SDL_Rect src{40, 34, kPanelWidth, std::min(700, h - top)};
        SDL_Rect dst{0, top, kPanelWidth, src.h};
        SDL_BlitSurface(paper, &src, p.target(), &dst);
    }
    p.Fill(kPanelWidth - 3, 0, 3, h, palette::kInk);

    // The date.
    const std::string date = std::string(Tr("Év")) + " " + std::to_string(st.Year) + "   " + Tr("Hónap") +
                             " " + Two(st.Month) + "   " + Tr("Hét") + " 0" + std::to_string(st.Week);
    p.Text(date, 6, 4, Ink(), FontFace::SerifBold, 12);
    // The flag of the side to move, the mood and the thermometer.
    const int side = st.ActiveSide == 2 ? 2 : 1;
    p.Picture(app_.pictures().Get(side == 1 ? "zaszlomagyar" : "zaszloosztrak", 64, 44), 4, 24);
    p.Text(side == 1 ? Tr("Magyar fél") : Tr("Császári fél"), 72, 26, Ink(), FontFace::SerifBold, 12);
    if (!(st.ActiveSide != st.LocalSide && st.FogOfWar != 0))
        p.Text(std::string(Tr("Lelkesedés: ")) + std::to_string(st.Zeal[side]), 72, 44, Ink(),
               FontFace::Serif, 12);
    p.Picture(app_.pictures().Get("h" + std::to_string(std::clamp(st.Temperature, 0, 10)), 18, 64), 176, 22);
    // The weather plates.
    const char* prefixes[4] = {"i", "t", "f", "d"};
    const int values[4] = {st.Weather, st.GroundState, st.RiverState, st.DanubeState};
    for (int k = 0; k < 4; ++k) {
        SDL_Surface* plate = app_.pictures().Get(
            std::string(prefixes[k]) + std::to_string(std::clamp(values[k], 0, 10)), 46 * 4, 32);
        p.PictureFrame(plate, 4, (frameCount_ / 15) % 4, 4 + k * 47, 90);
    }
    const int mx = app_.mouseX(), my = app_.mouseY();
    if (my >= 90 && my < 122 && mx >= 4 && mx < 192) {
        const int k = std::min(3, (mx - 4) / 47);
        const auto& texts = st.Texts;
        const std::string names[4] = {
            std::string(Tr("Idöjárás: ")) + texts.WeatherText[std::clamp(st.Weather, 0, 10)].str(),
            std::string(Tr("Talaj: ")) + texts.GroundText[std::clamp(st.GroundState, 0, 10)].str(),
            std::string(Tr("Folyók: ")) + texts.RiverText[std::clamp(st.RiverState, 0, 10)].str(),
            std::string(Tr("Duna: ")) + texts.DanubeText[std::clamp(st.DanubeState, 0, 10)].str()};
        hint_ = names[k];
    }
    if (mx >= 176 && mx < 194 && my >= 22 && my < 86)
        hint_ = std::string(Tr("Hömérséklet: ")) +
                st.Texts.TemperatureText[std::clamp(st.Temperature, 0, 10)].str();
    if (mx >= 72 && mx < 170 && my >= 40 && my < 58)
        hint_ = Tr("A nemzet lelkesedése (a hadseregek morálja erre mozdul)");

    DrawPanelCorps(p, 128);
    DrawPanelHex(p, 352);
    DrawMinimap(p);
    for (const PanelButton& b : buttons_)
        if (b.visible) b.button.Draw(p, b.button.Contains(mx, my), 11);
    if (!hint_.empty())
        p.Wrapped(hint_, 6, kButtonsY + 152, kPanelWidth - 12, palette::kFaded, FontFace::Sans, 10, 0);
    p.ClearClip();
}

void GameScreen::DrawPanelCorps(Painter& p, int y) {
    const State& st = game_->state;
    const int side = st.SelectedCorpsSide;
    const bool has =
        st.SelectedCorps > 0 && side >= 1 && side <= 2 && st.SelectedCorps <= st.CorpsCount[side];
    // The arrows beside the portrait.
    p.Text("◄", 4, 32 + y, Ink(), FontFace::Sans, 14);
    p.Text("►", 88, 32 + y, Ink(), FontFace::Sans, 14);
    if (!has) {
        p.Picture(app_.pictures().Get("tabornok0", 64, 80), 20, y);
        p.Wrapped(Tr("Nincs kijelölt hadtest"), 106, y + 20, 90, palette::kFaded, FontFace::Serif, 12);
        return;
    }
    const THad& h = st.CorpsRec(side, st.SelectedCorps);
    const bool enemy = side != st.LocalSide && st.FogOfWar != 0;
    const int level = enemy ? h.ReconLevel : 3;
    const TTabornok& g = st.General(side, std::clamp(h.General, 0, kMaxGenerals));
    SDL_Surface* portrait =
        app_.pictures().Get("tabornok" + std::to_string(side) + std::to_string(g.Portrait), 64, 80, nullptr);
    if (!app_.pictures().Has("tabornok" + std::to_string(side) + std::to_string(g.Portrait)))
        portrait = app_.pictures().Get("tabornok0", 64, 80);
    p.Picture(portrait, 20, y);
    const std::string name =
        h.General > 0 ? GeneralDisplayName(st, side, h.General) : std::string(h.Name.str());
    p.Wrapped(name, 106, y, 92, Ink(), FontFace::SerifBold, 12, 0);
    auto rating = [&](int v) { return level <= 1 ? std::string("?") : std::to_string(v); };
    const std::string ratings = std::string(Tr("K ")) + rating(g.Initiative) + "  " + Tr("T ") +
                                rating(g.Attack) + "  " + Tr("V ") + rating(g.Defence);
    p.Text(ratings, 106, y + 46, Ink(), FontFace::Sans, 11);
    const int mx = app_.mouseX(), my = app_.mouseY();
    if (mx >= 106 && mx < 196 && my >= y + 46 && my < y + 60)
        hint_ = std::string(Tr("kezdeményezés")) + ", " + Tr("támadás") + ", " + Tr("védekezés");
    int yy = y + 86;
    auto line = [&](const std::string& label, const std::string& value) {
        p.Text(label, 6, yy, palette::kFaded, FontFace::Sans, 11);
        p.Text(value, 96, yy, Ink(), FontFace::SansBold, 11);
        yy += 14;
    };
    if (enemy && level < 2) {
        line(Tr("Felállás"), "?");
    } else {
        const int act = h.Activity;
        line(Tr("Parancs"), act >= 0 && act <= kAbilitySlots ? st.Texts.ActivityName[act].str() : "");
        line(Tr("Felállás"),
             h.Formation >= 1 && h.Formation <= kFormationCount ? st.Formations[h.Formation].Name.str() : "");
        line(Tr("Taktika"),
             h.Tactic >= 1 && h.Tactic <= kTacticCount ? st.Texts.TacticName[h.Tactic].str() : "");
        line(Tr("Mozgáspontok"), std::to_string(h.MovementPoints));
        const int entr = st.Cell(h.X, h.Y).Entrenchment;
        std::string work = h.Activity == 11 ? std::to_string(h.ActivityWeeks) + " " + Tr("hét") : "-";
        line(Tr("Sánc építés"), work + " (" + std::to_string(entr) + ")");
    }
    yy = y + 160;
    auto bar = [&](const char* label, const char* hint, int v, bool known) {
        p.Text(Tr(label), 6, yy, palette::kFaded, FontFace::Sans, 11);
        p.Fill(84, yy + 2, 100, 9, Colour{214, 200, 168});
        if (known)
            p.Fill(84, yy + 2, std::clamp(v, 0, 100), 9, v < 30 ? Colour{150, 30, 30} : Colour{60, 60, 60});
        p.Frame(84, yy + 2, 100, 9, palette::kInk);
        if (mx >= 6 && mx < 190 && my >= yy && my < yy + 14) hint_ = Tr(hint);
        yy += 14;
    };
    const bool known = !enemy || level >= 2;
    bar("Készenlét", "Frissesség", h.AvgReadiness, known);
    bar("Ellátmány", "Loszer, élelmiszer, stb.", h.AvgSupply, known);
    bar("Morál", "Harci szellem", h.AvgMorale, known);
    std::string cav, inf, guns;
    if (level <= 1) {
        cav = inf = guns = "?";
    } else {
        const bool est = enemy;
        const std::string mark = level == 2 ? "?" : "";
        cav = Men(est ? h.EstimatedCavalry : h.CavalryMen) + mark;
        inf = Men(est ? h.EstimatedInfantry : h.InfantryMen) + mark;
        guns = std::to_string(est ? h.EstimatedGuns : h.Guns) + mark;
    }
    p.Text("♞ " + cav, 6, yy + 2, Ink(), FontFace::SansBold, 11);
    p.Text("⚔ " + inf, 72, yy + 2, Ink(), FontFace::SansBold, 11);
    p.Text("● " + guns, 148, yy + 2, Ink(), FontFace::SansBold, 11);
    if (my >= yy && my < yy + 16 && mx < 196)
        hint_ = std::string(Tr("Lovasság")) + ", " + Tr("Gyalogság") + ", " + Tr("Ágyúk");
}

void GameScreen::DrawPanelHex(Painter& p, int y) {
    State& st = game_->state;
    Hex hex = hover_;
    if (!OnMap(st, hex) && st.SelectedCorps > 0 && st.SelectedCorpsSide >= 1 && st.SelectedCorpsSide <= 2)
        hex = {st.CorpsRec(st.SelectedCorpsSide, st.SelectedCorps).X,
               st.CorpsRec(st.SelectedCorpsSide, st.SelectedCorps).Y};
    if (!OnMap(st, hex)) return;
    const THex& cell = st.Cell(hex.x, hex.y);
    p.Picture(app_.pictures().Get("taj" + std::to_string(std::clamp(cell.Terrain, 0, 4)), 60, 44), 4, y);
    int yy = y;
    auto line = [&](const std::string& text) {
        p.Text(text, 70, yy, Ink(), FontFace::Sans, 11);
        yy += 14;
    };
    line(std::string(Tr("Hadtestek: ")) + std::to_string(cell.CorpsCount));
    if (cell.City > 0) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(cell.City)];
        line(city.Name.str());
        if (city.Kind >= 3)
            line(std::string(Tr("Erőd: ")) + std::to_string(city.FortStrength) + " (" +
                 std::to_string(city.FortMax) + ")");
        line(std::string(Tr("Győzelmi pont: ")) + std::to_string(city.VictoryValue));
    } else {
        line(st.Texts.TerrainName[std::clamp(cell.Terrain, 0, 4)].str());
    }
    const int mx = app_.mouseX(), my = app_.mouseY();
    if (hex != supplyHex_) {
        supplyHex_ = hex;
        const int side = st.LocalSide >= 1 && st.LocalSide <= 2 ? st.LocalSide : 1;
        supplyValue_ = MaxSupply(*game_, hex, side, false, false);
    }
    p.Text(std::string(Tr("Ellátmány: ")) + std::to_string(supplyValue_), 6, y + 50, Ink(), FontFace::Sans,
           11);
    p.Text("Hex:" + std::to_string(hex.x) + ";" + std::to_string(hex.y), 120, y + 50, Ink(), FontFace::Sans,
           11);
    if (my >= y + 50 && my < y + 64 && mx < 110) hint_ = Tr("Ennyi ellátmány jut el a hexbe maximum");
    if (my >= y + 50 && my < y + 64 && mx >= 120) hint_ = Tr("A kijelölt terület koordinátái");
}

} // namespace vezer::ui
