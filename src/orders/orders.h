#pragma once
// The order executor: the only road by which a person, the computer, the other machine or an
// e-mail replay changes the game during a turn. One table describes the 30 order codes: what
// each reads, how its fields are checked and what runs it.

#include "core/game.h"
#include "core/order_record.h"

#include <string>

namespace vezer {

enum class OrderOutcome {
    Executed,
    Refused,   // out of range, or refused by the rules (order 17 on a corps with regiments)
    HeldBack,  // a network game whose turn this machine does not hold
};

// Which corps field a code reads.
enum class CorpsField {
    None,
    OfSide,          // a corps of the record's side, 1..CorpsCount
    OfSideOrNone,    // the same, or 0 (order 22 selects nothing)
    OfSelectedSide,  // a corps of the selected side (order 5 moves the selection's corps)
    RegimentType,    // a regiment type 0..TypeCount (order 21)
};

// What the Param field holds.
enum class ParamField { None, Regiment, General, Formation, Tactic, Direction, SupporterEntry, City };

using OrderHandler = OrderOutcome (*)(Game& game, const TParancs& order);

struct OrderSpec {
    int code = 0;
    const char* name = "";
    bool readsSide = false;
    CorpsField corps = CorpsField::None;
    ParamField param = ParamField::None;
    bool hexOnMap = false;  // the hex must lie on the playable map, not only in the hex array
    OrderHandler run = nullptr;
};

// The entry of a code 1..30 (codes outside have none: nullptr).
const OrderSpec* FindOrderSpec(int code);

// Checks the index ranges of a record (never its legality in the game): the code, and each
// field the code reads, as the table says; the hex always lies in the hex array. Returns an
// empty text when the record may run, else the reason.
std::string ValidateOrder(const State& state, const TParancs& order);
// The random-table position an order from the other machine or an order file carries.
std::string ValidateCarriedPosition(int randPos, int randStep);

// Executes an order record. A code outside 1..30 throws OrderError and changes nothing; a
// record out of range is reported and skipped.
OrderOutcome ExecuteOrder(Game& game, const TParancs& order);
// An order from the other machine, an order file or a replay: checked, and its carried
// random-table position adopted, before it runs. A bad record or position is reported and
// skipped (Refused); nothing from outside throws.
OrderOutcome ExecuteIncomingOrder(Game& game, const TParancs& order, int randPos, int randStep);

// The driver loop: while the active side is played by no one at this machine (the computer,
// or a side the Game's side players play), its player plays the whole turn, which ends with
// order 30; returns when a side waits for a person here or the other machine, or when the
// campaign has ended. A player that returns without ending its turn has it ended with order 30.
void PlayTurns(Game& game);

} // namespace vezer
