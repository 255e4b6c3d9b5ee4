#pragma once
// The marker bookkeeping the rules keep: which corps has a map marker and in which slot, how
// many corps markers are in use (part of the fingerprint), the entrenchment marks (the
// entrenching rules count them) and each fortress's damage state. Drawing them is the screen's;
// every change is announced through the presentation seam.

#include "core/game.h"

namespace vezer {

// Map sprite slots: 1..7 the cursor markers, 8..82 the city markers, the corps markers after.
inline constexpr int kFirstCorpsMarkerSlot = 83;
inline constexpr int kMarkerSlots = 650;

// Marker symbols (MarkerArm): the largest of levy men, other infantry, cavalry and guns x 150.
inline constexpr int kMarkerArmLevy = 1;
inline constexpr int kMarkerArmInfantry = 2;
inline constexpr int kMarkerArmCavalry = 3;
inline constexpr int kMarkerArmArtillery = 4;
inline constexpr int kMarkerArmTrain = 9;  // set by the computer's march on a railway

// Whether this machine's map shows a corps' marker: a field corps on the map, first of its stack,
// and under fog of war (outside a network game) one of this machine's side or one it knows.
bool CorpsMarkerShown(const State& state, int side, const THad& corps);

// The marker of a corps after a change: its symbol is recomputed (MarkerState back to 0), a
// corps without a marker gets the lowest free slot, and the screen is told.
void UpdateCorpsMarker(Game& game, int side, int corps);
// The corps' marker goes away (the corps is being removed).
void DeleteCorpsMarker(Game& game, int side, int corps);
// No corps has a marker (a loaded game places them anew).
void ResetCorpsMarkers(State& state);
// The symbol a corps' marker shows, from its totals.
int MarkerArmOf(const THad& corps);

// Sets a hex's entrenchment, keeping the count of marks (one mark per entrenched hex).
void SetEntrenchment(Game& game, int x, int y, int level, int side);
// The number of entrenched hexes on the playable map (for a game that is being loaded).
int CountEntrenchmentMarks(const State& state);

// A fortress's damage: heavy (2) at FortStrength <= FortMax / 3, light (1) below FortMax,
// none at full strength. Cities that are not fortresses show none.
int FortressDamageOf(const TVaros& city);
void RefreshFortressDamage(Game& game, int city);

} // namespace vezer
