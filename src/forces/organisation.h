#pragma once
// Corps organisation: the only writers of membership. Regiments and corps are created here,
// moved between corps, split, merged and removed; removal moves the side's last record into
// the hole and rewrites every reference to it (regiments' Corps, generals' Corps, cities'
// GarrisonCorps, the selection, the undo record, the computer's corps references) and tells
// the holders registered on game.watches.

#include "core/game.h"

#include <string>

namespace vezer {

inline constexpr const char* kNoGeneralMessage = "Elfogyott a tabornok";
inline constexpr const char* kCorpsFullMessage = "Hadtestek maximális egységszáma 50!";
inline constexpr const char* kLastFortressBatteryMessage = "Erõd nem maradhat várüteg nélkül";
inline constexpr const char* kFortressFullMessage = "Ezred nem fér be az erõdbe";
inline constexpr const char* kGarrisonNameSuffix = " garrison";

// Writes a regiment from a template: index 0 appends (RegimentCount + 1, the type's counter
// steps), another index overwrites that regiment. Men come from the template's FillPercent.
// A template naming an existing corps joins its list when there is room (50), else it stays
// in no corps; a template naming the corps about to be created (CorpsCount + 1) waits for
// CreateCorps. Returns the index, or 0 when refused (800 regiments, a bad type or index):
// nothing is written then.
int CreateRegiment(Game& game, int side, int index, const TEzred& tmpl);

// Writes a corps from a template at `index` (CorpsCount + 1 appends, 1..CorpsCount
// overwrites) and gathers the regiments that name it. Refused (false, with "Elfogyott a
// tabornok" when the template has no general) without a general, with a general who commands
// another corps, or beyond 250 corps; a refused new corps takes the regiments already made for
// it with it, so none is left pointing at a corps that does not exist.
bool CreateCorps(Game& game, int side, int index, const THad& tmpl);

// Moves regiment r into corps t. Refuses with a message a full corps (50), the last fortress
// battery of a garrison and a regiment a fortress has no room for; refuses silently a target
// outside 1..CorpsCount or the regiment's own corps. A corps left empty is removed unless
// keepEmpty. Returns true when the regiment moved.
bool MoveRegiment(Game& game, int side, int r, int t, bool keepEmpty);

// Detaches a third of a regiment as a new regiment of the same corps (the side's last).
bool SplitRegiment(Game& game, int side, int r);

// Marks the regiments of a corps whose men the other regiments of their type have room for.
void MarkMergeCandidates(State& state, int side, int corps);
// Pours a regiment into the other regiments of its type in its corps, men-weighted, and
// removes it. A regiment whose men do not all fit keeps the rest and stays. True when removed.
bool MergeRegiment(Game& game, int side, int r);
// End of turn: merges every merge candidate of every corps of the side.
void ConsolidateRegiments(Game& game, int side);

// Deletes a regiment; its corps is recomputed, or removed when it became empty.
void RemoveRegiment(Game& game, int side, int r);
// Deletes a regiment record only: out of its corps' list, the last regiment into the hole.
// Nothing is recomputed. Returns the corps it was listed in (0 for none).
int DeleteRegimentRecord(Game& game, int side, int r);

// Deletes a corps that holds no regiments (a corps with regiments is refused: false).
bool RemoveCorps(Game& game, int side, int corps);

// The empty corps record a removed corps leaves behind and new corps start from.
THad EmptyCorpsRecord();

// The computer's references to a removed (now = 0) or renumbered (old -> now) corps.
void RewriteCorpsReferences(State& state, int side, int old, int now);

// "<city> garrison" for a garrison, the general's family name and the size suffix otherwise.
std::string CorpsName(const State& state, int side, int corps);

} // namespace vezer
