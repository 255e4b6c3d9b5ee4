#include "ui/window_presentation.h"

#include "ui/app.h"
#include "ui/backdrop.h"
#include "ui/battle_screens.h"
#include "ui/dialogs.h"
#include "ui/game_screen.h"
#include "ui/text.h"
#include "ui/turn_screens.h"
#include "ui/widgets.h"

#include <algorithm>

namespace vezer::ui {

WindowPresentation::WindowPresentation(App& app) : app_(app) {}

WindowPresentation::~WindowPresentation() {
    if (report_) app_.RemoveScreen(*report_);
}

void WindowPresentation::HandOverIfDue() {
    if (screen_ == nullptr || closed_) return;
    const State& st = screen_->game().state;
    const int side = st.ActiveSide;
    // Two persons at this machine: the next one takes over before anything of the side is shown.
    const bool hotSeat =
        st.PlayerType[1] == 1 && st.PlayerType[2] == 1 && st.NetworkGame == 0 && st.PbemGame == 0;
    if (side < 1 || side > 2) return;
    if (handedTo_ == 0) handedTo_ = side;
    if (!hotSeat || side == handedTo_) return;
    handedTo_ = side;
    HandOverDialog(app_, side);
}

void WindowPresentation::ShowMessage(std::string_view text) {
    HandOverIfDue();
    MessageDialog(app_, std::string(text));
}

EndOfGameChoice WindowPresentation::ShowEndOfGame(const EndOfGameView& view) {
    if (screen_ == nullptr) return EndOfGameChoice::Menu;
    return EndOfGameDialog(app_, screen_->game().state, view);
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
    const auto lines = std::move(events_);
    events_.clear();
    if (screen_ == nullptr) return;
    if (!review) HandOverIfDue();
    TurnStartDialog(app_, screen_->game().state, lines, review);
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

void WindowPresentation::EndSoundLoop() {
    if (app_.sound() != nullptr) app_.sound()->EndEffectLoop();
}

void WindowPresentation::RefreshCorpsMarker(int, int) {
    if (screen_ == nullptr) return;
    screen_->MarkersChanged(false);
    screen_->FollowComputerMarch();
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
