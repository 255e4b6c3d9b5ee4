#pragma once
// The corps, regiment and city dialogs of the main screen: the regiment list with merge and
// split, the regiment transfer, the general change, the new corps, the recruitment screen and
// the list of all corps. They show the game and give orders through the game screen's `give`
// (ExecuteOrder); each holds its corps through the index watch, so a corps renumbered under it
// is followed, and every index is checked again when the dialog acts.

#include "core/game.h"
#include "core/geometry.h"
#include "core/order_record.h"
#include "ui/app.h"

#include <functional>

namespace vezer::ui {

using GiveOrder = std::function<void(const TParancs&)>;

// "Hadtest részletek": the corps' regiments, its general, "Beolvaszt" (order 13), "Kettéoszt" (16).
void RegimentListDialog(App& app, Game& game, const GiveOrder& give, int side, int corps);
// "Ezred áthelyezés": regiments of the other corps in the hex into this one (order 7).
void TransferDialog(App& app, Game& game, const GiveOrder& give, int side, int corps);
// "Hadvezér váltás": order 10 with a free general.
void GeneralDialog(App& app, Game& game, const GiveOrder& give, int side, int corps);
// "Új hadtest": order 6 with a free general at the hex, then regiments by order 7; closed
// without a regiment moved, the new corps is dissolved again (order 17).
void NewCorpsDialog(App& app, Game& game, const GiveOrder& give, int side, Hex hex);
// "Toborzás": what the side's cities are recruiting and order 21 for the chosen city and type
// (`city` 0: any city of the side, chosen in the list).
void RecruitmentDialog(App& app, Game& game, const GiveOrder& give, int side, int city);
// "Hadseregek": every corps of the side; returns the corps chosen with "Kiválaszt", or 0.
int AllCorpsDialog(App& app, Game& game, const GiveOrder& give, int side);

// The biography screen of a general (its text file read from the game's Data folder); false,
// and nothing shown, when the file is not there.
bool BiographyScreen(App& app, Game& game, int side, int general);

} // namespace vezer::ui
