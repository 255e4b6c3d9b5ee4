#include "core/headless.h"

#include <cstdio>

namespace vezer {

void HeadlessPresentation::Record(Kind kind, std::string_view text, int value) {
    calls_.push_back(Call{kind, std::string(text), value});
    if (echo_) std::fprintf(stderr, "[%d] %.*s\n", static_cast<int>(kind), static_cast<int>(text.size()), text.data());
}

void HeadlessPresentation::ShowMessage(std::string_view text) { Record(Kind::Message, text); }

std::string HeadlessPresentation::AskText(DialogMode mode, std::string_view prompt) {
    Record(Kind::Ask, prompt, static_cast<int>(mode));
    if (answers_.empty()) return "x";
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

void HeadlessPresentation::ShowError(std::string_view text) { Record(Kind::Error, text); }
void HeadlessPresentation::PauseCycles(int cycles) { Record(Kind::Pause, "", cycles); }
void HeadlessPresentation::TurnEventLine(int side, std::string_view text) { Record(Kind::TurnEvent, text, side); }
void HeadlessPresentation::ShowTurnStartScreen(bool review) { Record(Kind::TurnStartScreen, "", review ? 1 : 0); }
void HeadlessPresentation::ReportLine(int icon, std::string_view text) { Record(Kind::ReportLine, text, icon); }
void HeadlessPresentation::PlaySound(int effect) { Record(Kind::Sound, "", effect); }
void HeadlessPresentation::StopSound() { Record(Kind::SoundStop, ""); }
void HeadlessPresentation::EndSoundLoop() { Record(Kind::SoundLoopEnd, ""); }
void HeadlessPresentation::PauseMusic() { Record(Kind::Music, "", 0); }
void HeadlessPresentation::ResumeMusic() { Record(Kind::Music, "", 1); }
void HeadlessPresentation::ShowCannonMarker(int x, int y) {
    Record(Kind::CannonMarker, std::to_string(x) + "," + std::to_string(y), 1);
}
void HeadlessPresentation::HideCannonMarker() { Record(Kind::CannonMarker, "", 0); }

EndOfGameChoice HeadlessPresentation::ShowEndOfGame(const EndOfGameView& view) {
    lastEnd_ = view;
    Record(Kind::EndOfGame, view.verdict, view.grade);
    return endChoice_;
}

void HeadlessPresentation::CloseMainScreen() {
    mainScreen_ = false;
    Record(Kind::CloseMainScreen, "");
}

std::vector<std::string> HeadlessPresentation::Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const Call& c : calls_)
        if (c.kind == kind) out.push_back(c.text);
    return out;
}

int HeadlessPresentation::Count(Kind kind) const {
    int n = 0;
    for (const Call& c : calls_) n += c.kind == kind;
    return n;
}

} // namespace vezer
