#pragma once
// Battles and sieges: who takes part in an attack and with what odds, the fight round by round
// and unit by unit, what follows it, and the bombardment of fortresses. One battle at a time
// lives in State::Battle; every chance is a draw R(n) in the order the rules give.

#include "core/game.h"
#include "core/geometry.h"

#include <string>

namespace vezer {

// BattleMode.
inline constexpr int kFieldAttack = 1;
inline constexpr int kBombardment = 2;
inline constexpr int kAssault = 3;

// BattleKind.
inline constexpr int kSkirmish = 0;
inline constexpr int kEngagement = 1;
inline constexpr int kFullBattle = 2;

// Movement points an attack costs: a field attack, an assault.
inline constexpr int kAttackCost = 9;
inline constexpr int kAssaultCost = 15;

// Sound effects of the battles.
inline constexpr int kSoundBattleStart = 1;
inline constexpr int kSoundBombardment = 3;
inline constexpr int kSoundInfantryFight = 6;
inline constexpr int kSoundVictory = 8;
inline constexpr int kSoundCavalryFight = 10;
inline constexpr int kSoundDefeat = 15;
inline constexpr int kSoundLongBattle = 16;
inline constexpr int kSoundFire = 18;

// The separator between the exchanges of the report.
inline constexpr const char* kReportSeparator =
    "------------------------------------------------------------------";
// Report lines keep 120 characters.
inline constexpr int kReportLineLength = 120;

// ---- Setting up a battle ---------------------------------------------------------------

// Clears the whole battle state, the supporters included (the mode stays: the caller that
// estimates an assault sets it first); every regiment of both sides is back in line.
void ResetBattleState(Game& game);

// Order 25: the own corps around the target that may join the attack of `corps`.
void CollectSupportingCorps(Game& game, int side, int corps, Hex target);
// Order 26: entry 1..5 of the supporter list is emptied.
void DropSupporter(Game& game, int entry);

// The attacker's chance 0..99, or -1 when the corps may not attack the hex. Sets up both
// forces (drawing as the battle does) and leaves the corps' figures as they were.
int PrepareBattle(Game& game, int side, int corps, Hex target, bool playSound);
// Order 29, the network game's stand-in for the odds: draws nothing and builds no forces;
// -1 or 10.
int NetworkAttackCheck(Game& game, int side, int corps, Hex target, bool playSound);
// Why an attack (mode 1) or assault (mode 3) cannot be made, without drawing: the cases in
// which PrepareBattle answers -1, and a target that holds no enemy to fight. Empty when it can.
std::string AttackRefusal(Game& game, int side, int corps, Hex target, int mode);

void BuildAttackingForce(Game& game, int side, int corps, Hex target, THad& force);
void BuildDefendingForce(Game& game, int side, Hex target, THad& force);
// The force's figures from its regiments, as the corps recompute makes them, touching nothing
// outside the force and its regiments' own figures: no regiment leaves, nothing is drawn.
void RecomputeForce(State& state, int side, THad& force);

// Orders 1 (attack, mode 1) and 3 (assault, mode 3): the forces, the report, the fight and its
// aftermath. False, before any draw, when the attack cannot be made (AttackRefusal).
bool StartBattle(Game& game, int mode, int side, int corps, Hex target);
// The fight of the prepared battle; returns the winning side.
int ResolveBattle(Game& game, int side, int corps, Hex target);

// ---- The fight -------------------------------------------------------------------------

void ApplyBattleModifiers(Game& game, THad& attacking, THad& defending);
int InitiativeScore(Game& game, int side, const THad& force, int enemySpeed, bool attacking);
void SelectEngagedUnits(Game& game, THad& force, int side, int round);
// MaxRounds, FireRounds and the opening bombardment from the two forces.
void SetRoundLimits(State& state);
int FightBattle(Game& game, THad& attacking, THad& defending, int attackerSide);
bool RetreatDecision(Game& game, bool attacking, int side, int round, THad& own, THad& enemy);

void SideActs(Game& game, bool attacking, int side, int round, THad& enemy, THad& own);
int PickTarget(Game& game, bool attacking, int side, int unit, const THad& enemy);
int InflictLosses(Game& game, int side, int unit, int target);
int MoraleCheck(Game& game, int side, int unit, bool apply);
void SpiritRise(Game& game, int side, int unit, int result);

// ---- After the fight -------------------------------------------------------------------

void BattleAftermath(Game& game, int side, int corps);
// The corps of `side` in the hex (garrisons excepted) withdraw to the best neighbouring hex.
void RetreatFromHex(Game& game, Hex hex, int side);
// `side` takes the fortress in the hex with `corps`.
void CaptureFortress(Game& game, int side, int corps, Hex hex);
// The own city nearest by distance, not on the hex itself; 0 for none.
int FindNearestOwnCity(const State& state, int side, Hex hex);

// ---- Sieges ----------------------------------------------------------------------------

// Order 2: the corps bombards the fortress on its own hex once. False, before any draw, when
// there is no enemy fortress there or the corps has no siege guns with men.
bool BombardFortress(Game& game, int side, int corps);

} // namespace vezer
