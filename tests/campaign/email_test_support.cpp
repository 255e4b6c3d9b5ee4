#include "campaign/email_test_support.h"

#include "core/fingerprint.h"
#include "files/email_files.h"

#include <filesystem>
#include <memory>

namespace vezer::testing {

EmailMachine::EmailMachine() {
    // What the menu sets before any game.
    st().DataSet = 1;
    st().Language = 1;
}

void EmailMachine::TakeFile(EmailMachine& from, const std::string& gameFileName) {
    const auto source = from.g().dir.Resolve(gameFileName);
    std::filesystem::copy_file(source, g().dir.Resolve(gameFileName), std::filesystem::copy_options::overwrite_existing);
}

TurnFileOpening EmailMachine::Open(const std::string& plainName, const std::string& password) {
    return OpenTurnFile(g(), plainName, password, kTestSeed);
}

Bytes EmailMachine::OrderFileBytes() {
    if (!g().dir.Exists(kOrderFile)) return {};
    return ReadFileBytes(g().dir.Resolve(kOrderFile), kOrderFile);
}

std::uint64_t SharedHash(const State& st) {
    auto s = std::make_unique<State>(st);
    s->LocalSide = s->LocalOtherSide = 0;
    s->TickerPos = {};
    s->TickerLine = {};
    s->TickerColour = {};
    s->PasswordSet = s->PasswordLength = {};
    s->Password = {};
    s->EnteredPassword = "";
    s->TurnStartDue = s->NewGameWeek = s->SideTwoStartDue = s->HiddenMove = 0;
    s->OrderFileOpen = s->ReplayOpen = s->ReplayPending = s->ReplayBusy = s->ReplayNext = s->ReplayCount = 0;
    s->ReplayNotice = 0;
    for (int side = 1; side <= 2; ++side)
        for (auto& h : s->Corps[static_cast<std::size_t>(side)]) h.StackOrder = h.MarkerId = 0;
    // The selected hex is the screen's, and so is a spent undo record and the last move's
    // spotting mark: no save holds them.
    s->SelectedHexX = s->SelectedHexY = 0;
    if (!s->Undo.Available) s->Undo = UndoRecord{};
    s->EnemySpotted = 0;
    // What a load gives anew and no save holds: the regiments' numbers within their type and
    // their names, the score of the last victory check, the week's list of turn events.
    s->TypeCounter = {};
    for (int side = 1; side <= 2; ++side)
        for (TEzred& e : s->Regiments[static_cast<std::size_t>(side)]) {
            e.Ordinal = 0;
            e.Name = "";
        }
    s->TotalPoints = {};
    s->TurnEventList = {};
    s->TurnEventCount = 0;
    // The path search's scratch marks of the last search each machine made.
    for (THex& hex : s->Hexes) {
        hex.PathCost = 0;
        hex.InClosedList = hex.InOpenList = 0;
        hex.AiSupplyMark = 0;
    }
    return FullStateHash(*s);
}

std::uint64_t WholeHash(const State& st) {
    return FullStateHash(st);
}

} // namespace vezer::testing
