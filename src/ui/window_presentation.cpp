#include "ui/window_presentation.h"

#include "ui/app.h"
#include "ui/backdrop.h"
#include "ui/battle_screens.h"
#include "ui/dialogs.h"
#include "ui/game_screen.h"
#include "ui/text.h"
#include "ui/widgets.h"

#include <algorithm>

namespace vezer::ui {

namespace {

// The turn-start screen: the week's events with their sides' flags, closed by a click or a key.
class TurnStartScreen : public Screen {
public:
    TurnStartScreen(App& app, const std::vector<std::pair<int, std::string>>& lines, bool review)
        : Screen(app), lines_(lines), review_(review) {}
    bool Opaque() const override { return false; }
    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 110});
        const int w = 700, h = 520, x = (sw - w) / 2, y = (sh - h) / 2;
        DrawParchment(p, x, y, w, h);
        p.Text(review_ ? Tr("A kör eseményei") : Tr("Új kör"), x + w / 2, y + 18, palette::kInk,
               FontFace::SerifBold, 24, Align::Centre);
        int yy = y + 64;
        p.SetClip(x + 20, y + 60, w - 40, h - 130);
        if (lines_.empty()) p.Text(Tr("Nem történt említésre méltó esemény."), x + 40, yy, palette::kFaded);
        for (const auto& [side, text] : lines_) {
            SDL_Surface* flag = app_.pictures().Get(side == 2 ? "zaszloosztrak" : "zaszlomagyar", 64, 44);
            SDL_Rect dst{x + 28, yy, 24, 16};
            SDL_BlitScaled(flag, nullptr, p.target(), &dst);
            yy += p.Wrapped(text, x + 60, yy, w - 100, palette::kInk, FontFace::Serif, 14, 1) + 4;
        }
        p.ClearClip();
        ok_ = Button{x + w / 2 - 70, y + h - 56, 140, 34, Tr("Tovább"), true};
        ok_.Draw(p, ok_.Contains(app_.mouseX(), app_.mouseY()));
    }
    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1 && ok_.Contains(in.x, in.y)) closed = true;
        if (in.kind == Input::Kind::Key && (in.key == SDLK_RETURN || in.key == SDLK_ESCAPE ||
                                            in.key == SDLK_SPACE || in.key == SDLK_KP_ENTER))
            closed = true;
    }

private:
    std::vector<std::pair<int, std::string>> lines_;
    bool review_;
    Button ok_;
};

} // namespace

WindowPresentation::WindowPresentation(App& app) : app_(app) {}

WindowPresentation::~WindowPresentation() {
    if (report_) app_.RemoveScreen(*report_);
}

void WindowPresentation::ShowMessage(std::string_view text) {
    MessageDialog(app_, std::string(text));
}

std::string WindowPresentation::AskText(DialogMode mode, std::string_view prompt) {
    const bool mayBeEmpty = mode == DialogMode::Chat;
    return AskTextDialog(app_, std::string(prompt), mayBeEmpty, mode == DialogMode::Password);
}

void WindowPresentation::ShowError(std::string_view text) {
    MessageDialog(app_, std::string(text));
}

void WindowPresentation::PauseCycles(int cycles) {
    // A cycle is seven redraws with 4 ms after each: about 28 ms, counted in frames.
    const int ms = std::max(0, cycles) * 28;
    app_.PauseFrames(std::max(1, ms / std::max(1, app_.FrameIntervalMs())));
}

void WindowPresentation::TurnEventLine(int side, std::string_view text) {
    events_.emplace_back(side, std::string(text));
}

void WindowPresentation::ShowTurnStartScreen(bool review) {
    TurnStartScreen s(app_, events_, review);
    events_.clear();
    app_.RunModal(s);
}

void WindowPresentation::ReportLine(int icon, std::string_view text) {
    // Without an open report (a bombardment) the line is not shown.
    if (report_) report_->AddLine(icon, std::string(text));
}

void WindowPresentation::OpenBattleReport() {
    if (screen_ == nullptr) return;
    if (report_) app_.RemoveScreen(*report_);
    report_ = std::make_unique<BattleReportScreen>(app_, screen_->game().state, screen_->BattleDelayMs());
    app_.PushScreen(*report_);
}

void WindowPresentation::CloseBattleReport() {
    if (!report_) return;
    report_->Finish();
    // Modal until the player has read it and closed it.
    app_.RemoveScreen(*report_);
    app_.RunModal(*report_);
    report_.reset();
}

void WindowPresentation::StopSound() {
    if (app_.sound() != nullptr) app_.sound()->EndEffectLoop();
}

void WindowPresentation::PauseMusic() {
    if (app_.sound() != nullptr) app_.sound()->BeforeBattleReport();
}

void WindowPresentation::ResumeMusic() {
    if (app_.sound() != nullptr) app_.sound()->AfterBattleReport();
}

void WindowPresentation::PlaySound(int effect) {
    if (app_.sound() != nullptr && app_.settings.EffectsOn()) app_.sound()->PlayEffect(effect);
}

void WindowPresentation::RefreshCorpsMarker(int, int) {
    if (screen_ != nullptr) screen_->MarkersChanged(false);
}

void WindowPresentation::RefreshCityMarker(int) {
    if (screen_ != nullptr) screen_->MarkersChanged(false);
}

void WindowPresentation::RefreshAllMarkers() {
    if (screen_ != nullptr) screen_->MarkersChanged(true);
}

void WindowPresentation::RemoveCorpsMarker(int) {
    // The corps after it move down one index: no marker glides from another corps' place.
    if (screen_ != nullptr) screen_->MarkersChanged(true);
}

void WindowPresentation::CentreMapOn(int x, int y) {
    if (screen_ != nullptr) screen_->CentreOn({x, y});
}

void WindowPresentation::EnableCommands(bool enabled) {
    if (screen_ != nullptr) screen_->EnableCommands(enabled);
}

void WindowPresentation::CloseMainScreen() {
    closed_ = true;
    if (screen_ != nullptr) screen_->CloseFromRules();
}

} // namespace vezer::ui
