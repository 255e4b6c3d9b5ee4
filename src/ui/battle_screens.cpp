#include "ui/battle_screens.h"

#include "files/settings.h"
#include "forces/generals.h"
#include "ui/backdrop.h"
#include "ui/text.h"

#include <algorithm>
#include <cstdio>

namespace vezer::ui {

namespace {

constexpr int kReportW = 791, kReportH = 734;
constexpr int kListX = 160, kListY = 262, kListW = 545, kListRows = 10, kRowH = 19;
constexpr Colour kListPaper{255, 255, 204}; // the list's pale yellow (the rules' 13434879)
constexpr Colour kLossRed{170, 20, 20};

bool IsKey(const Input& in, SDL_Keycode k) {
    return in.kind == Input::Kind::Key && in.key == k;
}

// A background picture of the game, or parchment in a printer's rule where it is missing.
void Sheet(App& app, Painter& p, const char* name, int x, int y, int w, int h) {
    if (app.pictures().Has(name)) {
        p.Picture(app.pictures().Get(name, w, h), x, y);
    } else {
        DrawParchment(p, x, y, w, h);
    }
}

void DrawScaled(Painter& p, SDL_Surface* s, int x, int y, int w, int h) {
    SDL_Rect dst{x, y, w, h};
    SDL_BlitScaled(s, nullptr, p.target(), &dst);
}

SDL_Surface* Portrait(App& app, int side, int portrait) {
    const std::string name = "tabornok" + std::to_string(side) + std::to_string(portrait);
    if (app.pictures().Has(name)) return app.pictures().Get(name, 64, 80);
    return app.pictures().Get("tabornok0", 64, 80);
}

std::string Thousands(int v) {
    const std::string digits = std::to_string(std::abs(v));
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ' ';
        s += digits[i];
    }
    return v < 0 ? "-" + s : s;
}

// --- The participants screen ------------------------------------------------------------

class ParticipantsScreen : public Screen {
public:
    ParticipantsScreen(App& app, const State& state, int side)
        : Screen(app), rows_(ParticipantRows(state, side)) {}
    bool Opaque() const override { return false; }

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h, w = 640, h = 330;
        x_ = (sw - w) / 2;
        y_ = (sh - h) / 2;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        Sheet(app_, p, "pszihologia", x_, y_, w, h);
        p.Text(Tr("Beavatkozás"), x_ + w / 2, y_ + 22, palette::kInk, FontFace::SerifBold, 22, Align::Centre);
        p.Wrapped(Tr("Jelöld meg a hadtesteket, amelyek részt vesznek a támadásban."), x_ + 40, y_ + 54,
                  w - 80, palette::kFaded, FontFace::Serif, 13);
        static constexpr const char* kCaptions[] = {"Had neve", "Mozgáspont",       "Lovas",    "Gyalog",
                                                    "Ágyú",     "Részvétel esélye", "Résztvesz"};
        static constexpr int kColumns[] = {30, 200, 285, 345, 410, 460, 575};
        const int head = y_ + 84;
        for (int c = 0; c < 7; ++c)
            p.Text(Tr(kCaptions[c]), x_ + kColumns[c], head, palette::kInk, FontFace::SansBold, 11,
                   c == 0   ? Align::Left
                   : c == 6 ? Align::Centre
                            : Align::Left);
        p.Line(x_ + 24, head + 18, x_ + w - 24, head + 18, palette::kInk);
        for (int i = 0; i < 5; ++i) {
            const ParticipantRow& r = rows_[static_cast<std::size_t>(i)];
            const int y = head + 28 + i * 30;
            if (!r.shown) continue;
            p.Text(r.name, x_ + kColumns[0], y, palette::kInk, FontFace::Serif, 14);
            p.Text(std::to_string(r.movementPoints), x_ + kColumns[1], y, palette::kInk, FontFace::Sans, 13);
            p.Text(Thousands(r.cavalry), x_ + kColumns[2], y, palette::kInk, FontFace::Sans, 13);
            p.Text(Thousands(r.infantry), x_ + kColumns[3], y, palette::kInk, FontFace::Sans, 13);
            p.Text(std::to_string(r.guns), x_ + kColumns[4], y, palette::kInk, FontFace::Sans, 13);
            p.Text(r.chance, x_ + kColumns[5] + 20, y, palette::kInk, FontFace::Sans, 13);
            // The square: a thin red frame, a thick one when the corps takes part.
            const int sx = x_ + kColumns[6] - 10, sy = y - 2;
            p.Fill(sx, sy, 20, 20, palette::kParchment);
            p.Frame(sx, sy, 20, 20, Colour{200, 0, 0}, joins_[static_cast<std::size_t>(i)] ? 10 : 3);
        }
        ok_ = Button{x_ + w / 2 - 60, y_ + h - 48, 120, 32, Tr("Rendben"), true};
        ok_.Draw(p, ok_.Contains(app_.mouseX(), app_.mouseY()));
    }

    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1) {
            if (ok_.Contains(in.x, in.y)) closed = true;
            const int head = y_ + 84;
            for (int i = 0; i < 5; ++i) {
                const int sx = x_ + 575 - 10, sy = head + 28 + i * 30 - 2;
                if (rows_[static_cast<std::size_t>(i)].shown && in.x >= sx && in.x < sx + 20 && in.y >= sy &&
                    in.y < sy + 20)
                    joins_[static_cast<std::size_t>(i)] = !joins_[static_cast<std::size_t>(i)];
            }
        }
        if (IsKey(in, SDLK_RETURN) || IsKey(in, SDLK_KP_ENTER) || IsKey(in, SDLK_ESCAPE)) closed = true;
        // The number keys mark a row too.
        if (in.kind == Input::Kind::Key && in.key >= SDLK_1 && in.key <= SDLK_5) {
            const auto i = static_cast<std::size_t>(in.key - SDLK_1);
            if (rows_[i].shown) joins_[i] = !joins_[i];
        }
    }

    std::vector<int> Dropped() const {
        std::vector<int> out;
        for (int i = 0; i < 5; ++i)
            if (!joins_[static_cast<std::size_t>(i)]) out.push_back(i + 1);
        return out;
    }

private:
    std::array<ParticipantRow, 5> rows_;
    std::array<bool, 5> joins_{};
    int x_ = 0, y_ = 0;
    Button ok_;
};

// --- The odds screen -----------------------------------------------------------------------

class OddsScreen : public Screen {
public:
    OddsScreen(App& app, std::string grade) : Screen(app), grade_(std::move(grade)) {
        chosen_ = ChosenSpeedLabel(app.settings.Lines()[12]);
        delayMs = DisplayDelayFromSetting(app.settings.Lines()[12]);
    }
    bool Opaque() const override { return false; }

    // The speed labels from top to bottom and the number each writes into line 12.
    static constexpr int kLabelOrder[] = {4, 1, 2, 3};

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h, w = 308, h = 142;
        x_ = (sw - w) / 2;
        y_ = (sh - h) / 2;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 70});
        Sheet(app_, p, "csataesely", x_, y_, w, h);
        p.Text(Tr("Victory chance:"), x_ + 18, y_ + 18, palette::kInk, FontFace::Serif, 13);
        p.Text(Tr(grade_.c_str()), x_ + 18, y_ + 38, palette::kItem, FontFace::SerifBold, 24);
        p.Text(Tr("Futatási sebesség:"), x_ + 170, y_ + 14, palette::kInk, FontFace::Serif, 12);
        static constexpr const char* kNames[] = {"", "Gyors", "Közepes", "Lassú", "Nagyon gyors"};
        for (int k = 0; k < 4; ++k) {
            const int label = kLabelOrder[k];
            const Colour c = label == chosen_ ? Colour{255, 0, 0} : Colour{0, 0, 0};
            p.Text(Tr(kNames[label]), x_ + 182, LabelY(k), c, FontFace::SansBold, 12);
        }
        go_ = Button{x_ + 16, y_ + h - 46, 64, 30, Tr("Csata!"), true};
        cancel_ = Button{x_ + 88, y_ + h - 46, 64, 30, Tr("Mégse"), true};
        go_.Draw(p, go_.Contains(app_.mouseX(), app_.mouseY()), 12);
        cancel_.Draw(p, cancel_.Contains(app_.mouseX(), app_.mouseY()), 12);
    }

    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1) {
            if (go_.Contains(in.x, in.y)) confirmed = true, closed = true;
            if (cancel_.Contains(in.x, in.y)) closed = true;
            for (int k = 0; k < 4; ++k)
                if (in.x >= x_ + 176 && in.x < x_ + 300 && in.y >= LabelY(k) - 2 && in.y < LabelY(k) + 17)
                    Choose(kLabelOrder[k]);
        }
        if (IsKey(in, SDLK_RETURN) || IsKey(in, SDLK_KP_ENTER)) confirmed = true, closed = true;
        if (IsKey(in, SDLK_ESCAPE)) closed = true;
        // 1..4 choose the speeds from the top.
        if (in.kind == Input::Kind::Key && in.key >= SDLK_1 && in.key <= SDLK_4)
            Choose(kLabelOrder[in.key - SDLK_1]);
    }

    bool confirmed = false;
    int delayMs = 100;

private:
    int LabelY(int k) const { return y_ + 34 + k * 20; }
    void Choose(int label) {
        if (label == chosen_) return;
        chosen_ = label;
        app_.settings.SetBattleSpeed(label);
        delayMs = DisplayDelayForLabel(label);
        try {
            WriteSettingsList(GameDir(app_.gameDir()), app_.settings);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vezer: %s\n", e.what());
        }
    }

    std::string grade_;
    int chosen_ = 1;
    int x_ = 0, y_ = 0;
    Button go_, cancel_;
};

// --- The result summary ----------------------------------------------------------------------

class ResultScreen : public Screen {
public:
    ResultScreen(App& app, ResultSummary r) : Screen(app), r_(r) {}
    bool Opaque() const override { return false; }

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h, w = 731, h = 566;
        const int x = (sw - w) / 2, y = (sh - h) / 2;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        Sheet(app_, p, "eredmeny", x, y, w, h);
        p.Text(Tr("Jelenlegi állás"), x + w / 2, y + 24, palette::kInk, FontFace::SerifBold, 24,
               Align::Centre);
        const int c1 = x + 470, c2 = x + 610;
        DrawScaled(p, app_.pictures().Get(FlagPicture(1), 64, 44), c1 - 24, y + 62, 48, 33);
        DrawScaled(p, app_.pictures().Get(FlagPicture(2), 64, 44), c2 - 24, y + 62, 48, 33);
        int yy = y + 104;
        auto heading = [&](const char* text) {
            yy += 8;
            p.Text(Tr(text), x + 60, yy, palette::kHeading, FontFace::SerifBold, 17);
            p.Line(x + 60, yy + 22, x + w - 60, yy + 22, palette::kFaded);
            yy += 28;
        };
        auto row = [&](const char* caption, int a, int b) {
            p.Text(Tr(caption), x + 84, yy, palette::kInk, FontFace::Serif, 15);
            p.Text(Thousands(a), c1, yy, palette::kItem, FontFace::SansBold, 15, Align::Centre);
            p.Text(Thousands(b), c2, yy, palette::kItem, FontFace::SansBold, 15, Align::Centre);
            yy += 23;
        };
        heading("Battles");
        row("Engagements won", r_.engagementsWon[1], r_.engagementsWon[2]);
        row("Battles won", r_.battlesWon[1], r_.battlesWon[2]);
        row("Döntetlen ütközetek", r_.drawnEngagements, r_.drawnEngagements);
        row("Döntetlen csaták", r_.drawnBattles, r_.drawnBattles);
        heading("Victory points");
        row("Csaták", r_.battlePoints[1], r_.battlePoints[2]);
        row("Towns and forts", r_.cityPoints[1], r_.cityPoints[2]);
        row("Összesen", r_.totalPoints[1], r_.totalPoints[2]);
        heading("Veszteségek");
        row("Lovasság", r_.losses[1][1], r_.losses[2][1]);
        row("Gyalogság", r_.losses[1][2], r_.losses[2][2]);
        row("Ágyúk", r_.losses[1][3], r_.losses[2][3]);
        close_ = Button{x + w / 2 - 70, y + h - 54, 140, 32, Tr("Bezár"), true};
        close_.Draw(p, close_.Contains(app_.mouseX(), app_.mouseY()));
    }

    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1 && close_.Contains(in.x, in.y)) closed = true;
        if (IsKey(in, SDLK_ESCAPE) || IsKey(in, SDLK_RETURN)) closed = true;
    }

private:
    ResultSummary r_;
    Button close_;
};

} // namespace

const char* FlagPicture(int flagClass) {
    switch (flagClass) {
    case 1:
        return "zaszlomagyar";
    case 3:
        return "zaszloorosz";
    case 4:
        return "zaszloolasz";
    default:
        return "zaszloosztrak";
    }
}

std::string PictureName(const std::string& rulesName) {
    std::string s = rulesName;
    for (char& c : s)
        if (c == '\\') c = '/';
    const std::string prefix = "pictures/";
    if (s.size() >= prefix.size()) {
        std::string head = s.substr(0, prefix.size());
        for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (head == prefix) s = s.substr(prefix.size());
    }
    if (s.size() > 4 && s.substr(s.size() - 4) == ".bmp") s.resize(s.size() - 4);
    return s;
}

std::string TranslatedLabel(const std::string& label) {
    const std::size_t colon = label.find(':');
    if (colon == std::string::npos) return label;
    const std::string caption = label.substr(0, colon + 2 <= label.size() ? colon + 2 : colon + 1);
    return std::string(Tr(caption.c_str())) + label.substr(caption.size());
}

std::vector<int> ChooseParticipants(App& app, const State& state, int side) {
    ParticipantsScreen s(app, state, side);
    app.RunModal(s);
    return s.Dropped();
}

bool ConfirmAttack(App& app, const std::string& grade, int& delayMs) {
    OddsScreen s(app, grade);
    app.RunModal(s);
    delayMs = s.delayMs;
    return s.confirmed;
}

void ShowResultSummary(App& app, State& state) {
    ResultScreen s(app, OpenResultSummary(state));
    app.RunModal(s);
}

// --- The battle report ---------------------------------------------------------------------

BattleReportScreen::BattleReportScreen(App& app, const State& state, int delayMs)
    : Screen(app), state_(state), delayMs_(delayMs) {
    const BattleState& b = state.Battle;
    attacker_ = state.ActiveSide == 2 ? 2 : 1;
    defender_ = 3 - attacker_;
    attackerPanel_ = BuildUnitPanel(state, b.AttackingForce, attacker_);
    defenderPanel_ = BuildUnitPanel(state, b.DefendingForce, defender_);
}

void BattleReportScreen::Refresh() {
    RefreshUnitPanel(state_, state_.Battle.AttackingForce, attackerPanel_);
    RefreshUnitPanel(state_, state_.Battle.DefendingForce, defenderPanel_);
}

void BattleReportScreen::ScrollToLine(int line) {
    if (line < top_) top_ = line;
    if (line >= top_ + kListRows) top_ = line - kListRows + 1;
    top_ = std::max(0, top_);
}

void BattleReportScreen::AddLine(int icon, const std::string& text) {
    lines_.emplace_back(icon, "  " + text);
    ScrollToLine(static_cast<int>(lines_.size()) - 1);
    // Each line stays a moment, by the battle display speed; Escape hurries the rest.
    if (delayMs_ > 0 && !hurry_)
        app_.PauseFrames(std::max(1, delayMs_ / std::max(1, app_.FrameIntervalMs())));
    Refresh();
}

void BattleReportScreen::Draw(Painter& p) {
    const int sw = p.target()->w, sh = p.target()->h;
    x0_ = (sw - kReportW) / 2;
    y0_ = std::max(0, (sh - kReportH) / 2);
    p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 110});
    Sheet(app_, p, "csatajelentes", x0_, y0_, kReportW, kReportH);
    hint_.clear();
    DrawForce(p, x0_, y0_ + 22, defender_, defenderPanel_, false, false);
    DrawForce(p, x0_, y0_ + 478, attacker_, attackerPanel_, true, true);

    // The events in the middle.
    const int lx = x0_ + kListX, ly = y0_ + kListY, lh = kListRows * kRowH + 6;
    p.Text(Tr("Csata események"), lx + kListW / 2, ly - 24, palette::kInk, FontFace::SerifBold, 16,
           Align::Centre);
    p.Fill(lx, ly, kListW, lh, kListPaper);
    p.Frame(lx - 1, ly - 1, kListW + 2, lh + 2, palette::kInk);
    p.SetClip(lx, ly, kListW, lh);
    for (int k = 0; k < kListRows; ++k) {
        const int i = top_ + k;
        if (i >= static_cast<int>(lines_.size())) break;
        const int y = ly + 3 + k * kRowH;
        if (i == selected_) p.Fill(lx, y - 1, kListW, kRowH, Colour{0, 0, 128});
        const auto& [icon, text] = lines_[static_cast<std::size_t>(i)];
        const int picture = ReportLinePicture(
            icon,
            text.substr(text.find_first_not_of(' ') == std::string::npos ? 0 : text.find_first_not_of(' ')),
            4);
        if (picture >= 0)
            DrawScaled(p, app_.pictures().Get(FlagPicture(picture + 1), 64, 44), lx + 4, y, 24, 16);
        p.Text(text, lx + 30, y, i == selected_ ? Colour{255, 255, 255} : palette::kInk, FontFace::Sans, 12);
    }
    p.ClearClip();
    // The battlefield beside the list: the ground of the target hex.
    const BattleState& b = state_.Battle;
    if (b.TargetX >= 1 && b.TargetY >= 1 && b.TargetX <= state_.MapMaxX && b.TargetY <= state_.MapMaxY) {
        const THex& cell = state_.Cell(b.TargetX, b.TargetY);
        DrawScaled(p, app_.pictures().Get("taj" + std::to_string(std::clamp(cell.Terrain, 0, 4)), 60, 44),
                   x0_ + 26, ly + 4, 120, 88);
        p.Frame(x0_ + 25, ly + 3, 122, 90, palette::kInk);
        const std::string place =
            cell.City > 0 ? std::string(state_.Cities[static_cast<std::size_t>(cell.City)].Name.str())
                          : std::string(state_.Texts.TerrainName[std::clamp(cell.Terrain, 0, 4)].str());
        p.Wrapped(place, x0_ + 26, ly + 100, 120, palette::kInk, FontFace::SerifBold, 13);
    }
    up_ = Button{lx + kListW + 8, ly, 26, 26, "▲", true};
    down_ = Button{lx + kListW + 8, ly + lh - 26, 26, 26, "▼", true};
    up_.Draw(p, up_.Contains(app_.mouseX(), app_.mouseY()), 11);
    down_.Draw(p, down_.Contains(app_.mouseX(), app_.mouseY()), 11);
    close_ = Button{x0_ + kReportW - 170, y0_ + kReportH - 52, 140, 32, Tr("Bezár"), finished_};
    close_.Draw(p, finished_ && close_.Contains(app_.mouseX(), app_.mouseY()));
    if (close_.Contains(app_.mouseX(), app_.mouseY())) hint_ = Tr("Ablak bezár");
    if (!finished_)
        p.Text(Tr("Esc: gyorsítás"), x0_ + kReportW - 100, y0_ + kReportH - 70, palette::kFaded,
               FontFace::Serif, 11, Align::Centre);
    if (!hint_.empty()) p.Text(hint_, x0_ + 30, y0_ + kReportH - 30, palette::kFaded, FontFace::Serif, 12);
}

void BattleReportScreen::DrawForce(Painter& p, int x, int y, int side, const UnitPanel& panel, bool attacker,
                                   bool slotsFirst) {
    const BattleState& b = state_.Battle;
    const THad& force = attacker ? b.AttackingForce : b.DefendingForce;
    const int slotsY = slotsFirst ? y : y + 112;
    const int headY = slotsFirst ? y + 94 : y;
    // The general.
    const int g = std::clamp(force.General, 0, kMaxGenerals);
    const TTabornok& general = state_.General(side, g);
    DrawScaled(p, Portrait(app_, side, general.Portrait), x + 28, headY, 80, 100);
    p.Frame(x + 27, headY - 1, 82, 102, palette::kInk);
    const std::string name = g > 0 ? GeneralDisplayName(state_, side, g) : std::string(force.Name.str());
    p.Text(name, x + 124, headY + 2, palette::kInk, FontFace::SerifBold, 19);
    DrawScaled(p, app_.pictures().Get(side == 1 ? "zaszlomagyar" : "zaszloosztrak", 64, 44), x + 124,
               headY + 32, 48, 33);
    const ForceLabels labels = BattleForceLabels(state_, side);
    p.Text(TranslatedLabel(labels.performance), x + 190, headY + 32, palette::kInk, FontFace::Sans, 13);
    p.Text(TranslatedLabel(labels.moraleChange), x + 190, headY + 50, palette::kInk, FontFace::Sans, 13);
    p.Text(TranslatedLabel(labels.combatValue), x + 190, headY + 68, palette::kInk, FontFace::Sans, 13);
    p.Text(attacker ? Tr("Támadó") : Tr("Védő"), x + kReportW - 30, headY + 2, palette::kItem,
           FontFace::SerifBold, 22, Align::Right);
    // The units by type: men in black, losses in red.
    const int mx = app_.mouseX(), my = app_.mouseY();
    for (const UnitSlot& s : panel.slots) {
        const int sx = x + s.left;
        p.Picture(app_.pictures().Get(PictureName(s.picture), 50, 50), sx, slotsY);
        p.Text(Thousands(s.men), sx + 25, slotsY + 52, palette::kInk, FontFace::SansBold, 11, Align::Centre);
        if (s.losses > 0)
            p.Text("-" + Thousands(s.losses), sx + 25, slotsY + 66, kLossRed, FontFace::SansBold, 11,
                   Align::Centre);
        if (mx >= sx && mx < sx + 50 && my >= slotsY && my < slotsY + 80 && s.type >= 1 &&
            s.type <= kMaxTypes)
            hint_ = state_.Types[static_cast<std::size_t>(s.type)].Name.str();
    }
}

void BattleReportScreen::OnInput(const Input& in) {
    const int last = static_cast<int>(lines_.size()) - 1;
    auto up = [&] {
        selected_ = selected_ < 0 ? 0 : std::max(0, selected_ - 1);
        ScrollToLine(selected_);
    };
    auto down = [&] {
        selected_ = selected_ < 0 ? last : std::min(last, selected_ + 1);
        ScrollToLine(selected_);
    };
    if (in.kind == Input::Kind::MouseUp && in.button == 1) {
        if (finished_ && close_.Contains(in.x, in.y)) closed = true;
        if (up_.Contains(in.x, in.y) && last >= 0) up();
        if (down_.Contains(in.x, in.y) && last >= 0) down();
    }
    if (in.kind == Input::Kind::Wheel) {
        top_ = std::clamp(top_ - in.y * 3, 0, std::max(0, last - kListRows + 1));
    }
    if (IsKey(in, SDLK_UP) && last >= 0) up();
    if (IsKey(in, SDLK_DOWN) && last >= 0) down();
    if (IsKey(in, SDLK_ESCAPE)) {
        // Outside a network game Escape closes the finished report; during the fight it hurries it.
        if (!finished_)
            hurry_ = true;
        else if (state_.NetworkGame == 0)
            closed = true;
    }
    if (finished_ && (IsKey(in, SDLK_RETURN) || IsKey(in, SDLK_KP_ENTER))) closed = true;
}

} // namespace vezer::ui
