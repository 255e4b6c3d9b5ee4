#include "ui/turn_screens.h"

#include "files/settings.h"
#include "ui/backdrop.h"
#include "ui/battle_screens.h"
#include "ui/text.h"
#include "ui/widgets.h"

#include <algorithm>
#include <cstdio>

namespace vezer::ui {

namespace {

bool IsKey(const Input& in, SDL_Keycode k) {
    return in.kind == Input::Kind::Key && in.key == k;
}

std::string Two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

void Sheet(App& app, Painter& p, const char* name, int x, int y, int w, int h) {
    if (app.pictures().Has(name))
        p.Picture(app.pictures().Get(name, w, h), x, y);
    else
        DrawParchment(p, x, y, w, h);
}

// --- The turn-start screen ----------------------------------------------------------------------

class TurnStart : public Screen {
public:
    TurnStart(App& app, const State& state, const std::vector<std::pair<int, std::string>>& lines,
              bool review)
        : Screen(app), state_(state), lines_(lines), review_(review) {}
    bool Opaque() const override { return false; }
    void Tick() override { ++frame_; }

    static constexpr int kW = 720, kH = 560, kRows = 13, kRowH = 20;

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        x_ = (sw - kW) / 2;
        y_ = std::max(0, (sh - kH) / 2);
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 110});
        Sheet(app_, p, "kezdokep", x_, y_, kW, kH);
        const State& st = state_;
        p.Text(review_ ? Tr("Kör eseményei") : Tr("Új kör"), x_ + kW / 2, y_ + 20, palette::kInk,
               FontFace::SerifBold, 24, Align::Centre);
        const std::string date = std::string(Tr("Év")) + " " + std::to_string(st.Year) + "   " + Tr("Hónap") +
                                 " " + Two(st.Month) + "   " + Tr("Hét") + " 0" + std::to_string(st.Week);
        p.Text(date, x_ + kW / 2, y_ + 54, palette::kItem, FontFace::SerifBold, 16, Align::Centre);

        // The week's weather: the thermometer and the four plates with their texts.
        const int wy = y_ + 86;
        p.Picture(app_.pictures().Get("h" + std::to_string(std::clamp(st.Temperature, 0, 10)), 18, 64),
                  x_ + 34, wy);
        const char* prefixes[4] = {"i", "t", "f", "d"};
        const int values[4] = {st.Weather, st.GroundState, st.RiverState, st.DanubeState};
        const std::string texts[4] = {
            std::string(Tr("Idöjárás: ")) + st.Texts.WeatherText[std::clamp(st.Weather, 0, 10)].str(),
            std::string(Tr("Talaj: ")) + st.Texts.GroundText[std::clamp(st.GroundState, 0, 10)].str(),
            std::string(Tr("Folyók: ")) + st.Texts.RiverText[std::clamp(st.RiverState, 0, 10)].str(),
            std::string(Tr("Duna: ")) + st.Texts.DanubeText[std::clamp(st.DanubeState, 0, 10)].str()};
        for (int k = 0; k < 4; ++k) {
            const int px = x_ + 70 + k * 158;
            SDL_Surface* plate = app_.pictures().Get(
                std::string(prefixes[k]) + std::to_string(std::clamp(values[k], 0, 10)), 46 * 4, 32);
            p.PictureFrame(plate, 4, (frame_ / 15) % 4, px, wy);
            p.Wrapped(texts[k], px, wy + 36, 150, palette::kInk, FontFace::Serif, 12, 0);
        }
        p.Text(std::string(Tr("Hömérséklet: ")) +
                   st.Texts.TemperatureText[std::clamp(st.Temperature, 0, 10)].str(),
               x_ + 70, wy + 70, palette::kInk, FontFace::Serif, 12);

        // The events.
        const int lx = x_ + 30, ly = y_ + 186, lw = kW - 100, lh = kRows * kRowH + 8;
        p.Fill(lx, ly, lw, lh, Colour{248, 242, 222});
        p.Frame(lx - 1, ly - 1, lw + 2, lh + 2, palette::kInk);
        p.SetClip(lx, ly, lw, lh);
        if (lines_.empty())
            p.Text(Tr("Nem történt említésre méltó esemény."), lx + 12, ly + 6, palette::kFaded);
        for (int k = 0; k < kRows; ++k) {
            const int i = top_ + k;
            if (i >= static_cast<int>(lines_.size())) break;
            const int y = ly + 4 + k * kRowH;
            if (i == selected_) p.Fill(lx, y - 1, lw, kRowH, Colour{128, 0, 0});
            const auto& [side, text] = lines_[static_cast<std::size_t>(i)];
            SDL_Rect dst{lx + 6, y + 1, 24, 16};
            SDL_BlitScaled(app_.pictures().Get(side == 2 ? "zaszloosztrak" : "zaszlomagyar", 64, 44), nullptr,
                           p.target(), &dst);
            p.Text("  " + text, lx + 34, y, i == selected_ ? Colour{255, 250, 235} : palette::kInk,
                   FontFace::Serif, 14);
        }
        p.ClearClip();
        up_ = Button{lx + lw + 10, ly, 28, 28, "▲", true};
        down_ = Button{lx + lw + 10, ly + lh - 28, 28, 28, "▼", true};
        up_.Draw(p, up_.Contains(app_.mouseX(), app_.mouseY()), 11);
        down_.Draw(p, down_.Contains(app_.mouseX(), app_.mouseY()), 11);
        ok_ = Button{x_ + kW / 2 - 70, y_ + kH - 56, 140, 34, Tr("Tovább"), true};
        ok_.Draw(p, ok_.Contains(app_.mouseX(), app_.mouseY()));
    }

    void OnInput(const Input& in) override {
        const int last = static_cast<int>(lines_.size()) - 1;
        auto step = [&](int d) {
            if (last < 0) return;
            selected_ = std::clamp(selected_ < 0 ? (d > 0 ? 0 : last) : selected_ + d, 0, last);
            if (selected_ < top_) top_ = selected_;
            if (selected_ >= top_ + kRows) top_ = selected_ - kRows + 1;
        };
        if (in.kind == Input::Kind::MouseUp && in.button == 1) {
            if (ok_.Contains(in.x, in.y)) closed = true;
            if (up_.Contains(in.x, in.y)) step(-1);
            if (down_.Contains(in.x, in.y)) step(1);
        }
        if (IsKey(in, SDLK_UP)) step(-1);
        if (IsKey(in, SDLK_DOWN)) step(1);
        if (IsKey(in, SDLK_RETURN) || IsKey(in, SDLK_KP_ENTER) || IsKey(in, SDLK_SPACE)) closed = true;
        if (IsKey(in, SDLK_ESCAPE) && state_.NetworkGame == 0) closed = true;
    }

private:
    const State& state_;
    std::vector<std::pair<int, std::string>> lines_;
    bool review_;
    int frame_ = 0, top_ = 0, selected_ = -1;
    int x_ = 0, y_ = 0;
    Button ok_, up_, down_;
};

// --- The hand-over ----------------------------------------------------------------------------------

class HandOver : public Screen {
public:
    HandOver(App& app, int side) : Screen(app), side_(side) {}
    // Covers everything: the other side's map, panel and ticker are not drawn.
    bool Opaque() const override { return true; }

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        DrawBackdrop(app_, p, "extramontazs");
        const int w = 560, h = 250, x = (sw - w) / 2, y = (sh - h) / 2 + 120;
        DrawParchment(p, x, y, w, h);
        SDL_Rect dst{x + w / 2 - 48, y + 26, 96, 66};
        SDL_BlitScaled(app_.pictures().Get(side_ == 2 ? "zaszloosztrak" : "zaszlomagyar", 64, 44), nullptr,
                       p.target(), &dst);
        p.Text(side_ == 2 ? Tr("A császári fél következik") : Tr("A magyar fél következik"), x + w / 2,
               y + 104, palette::kInk, FontFace::SerifBold, 22, Align::Centre);
        p.Text(Tr("Add át a gépet, és kattints, ha kész vagy."), x + w / 2, y + 140, palette::kFaded,
               FontFace::Serif, 15, Align::Centre);
        ok_ = Button{x + w / 2 - 70, y + h - 58, 140, 34, Tr("Kész"), true};
        ok_.Draw(p, ok_.Contains(app_.mouseX(), app_.mouseY()));
    }
    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1 && ok_.Contains(in.x, in.y)) closed = true;
        if (IsKey(in, SDLK_RETURN) || IsKey(in, SDLK_KP_ENTER) || IsKey(in, SDLK_SPACE)) closed = true;
    }

private:
    int side_;
    Button ok_;
};

// --- The end of the game ---------------------------------------------------------------------------

class EndOfGame : public Screen {
public:
    EndOfGame(App& app, State& state, const EndOfGameView& view) : Screen(app), state_(state), view_(view) {}
    bool Opaque() const override { return false; }

    static constexpr int kW = 760, kH = 600;

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        const int x = (sw - kW) / 2, y = std::max(0, (sh - kH) / 2);
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 140});
        Sheet(app_, p, "vege", x, y, kW, kH);
        p.Text(view_.verdict, x + kW / 2, y + 24, palette::kItem, FontFace::SerifBold, 28, Align::Centre);
        // The picture of the outcome, when it is there; the screen stands without it too.
        const std::string picture = PictureName(view_.picture);
        int textTop = y + 80;
        if (!picture.empty() && app_.pictures().Has(picture)) {
            SDL_Surface* s = app_.pictures().Get(picture, 320, 200);
            p.Picture(s, x + 36, y + 80);
            p.Frame(x + 35, y + 79, s->w + 2, s->h + 2, palette::kInk);
            storyX_ = x + 36 + s->w + 24;
        } else {
            storyX_ = x + 36;
        }
        p.SetClip(storyX_, textTop, x + kW - 36 - storyX_, 330);
        p.Wrapped(view_.story, storyX_, textTop, x + kW - 36 - storyX_, palette::kInk, FontFace::Serif, 14,
                  2);
        p.ClearClip();
        standing_ = Button{x + 36, y + kH - 70, 270, 34, Tr("Jelenlegi állás / veszteségek"), true};
        goOn_ = Button{x + 330, y + kH - 70, 180, 34, Tr("Következo kör"), true};
        menu_ = Button{x + 530, y + kH - 70, 180, 34, Tr("Menü"), true};
        for (const Button* b : {&standing_, &goOn_, &menu_})
            b->Draw(p, b->Contains(app_.mouseX(), app_.mouseY()));
    }

    void OnInput(const Input& in) override {
        if (in.kind != Input::Kind::MouseUp || in.button != 1) return;
        if (standing_.Contains(in.x, in.y)) ShowResultSummary(app_, state_);
        if (goOn_.Contains(in.x, in.y)) choice = EndOfGameChoice::GoOn, closed = true;
        if (menu_.Contains(in.x, in.y)) choice = EndOfGameChoice::Menu, closed = true;
    }

    EndOfGameChoice choice = EndOfGameChoice::GoOn;

private:
    State& state_;
    EndOfGameView view_;
    int storyX_ = 0;
    Button standing_, goOn_, menu_;
};

} // namespace

void TurnStartDialog(App& app, const State& state, const std::vector<std::pair<int, std::string>>& lines,
                     bool review) {
    TurnStart s(app, state, lines, review);
    app.RunModal(s);
}

void HandOverDialog(App& app, int side) {
    HandOver s(app, side);
    app.RunModal(s);
}

EndOfGameChoice EndOfGameDialog(App& app, State& state, const EndOfGameView& view) {
    EndOfGame s(app, state, view);
    app.RunModal(s);
    // The game is quitting (the window closed): leave with the automatic save.
    if (!s.closed) return EndOfGameChoice::Menu;
    if (s.choice == EndOfGameChoice::Menu) {
        try {
            WriteSettingsList(GameDir(app.gameDir()), app.settings);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vezer: %s\n", e.what());
        }
    }
    return s.choice;
}

} // namespace vezer::ui
