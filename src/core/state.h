#pragma once
// The game state: every record and value of a running game, in fixed-capacity arrays indexed
// from 1 (index 0 means "none" wherever a field refers to another record). Copying a State
// copies a game. Records keep the field order in which the saved game stores them.
//
// Invariants kept by the rules between operations:
//  1. OtherSide == 3 - ActiveSide and LocalOtherSide == 3 - LocalSide.
//  2. For every corps, Units[1..UnitCount] are exactly the regiments of its side whose Corps
//     names it; no regiment is listed in two corps.
//  3. A corps' General is g exactly when general g's Corps names that corps.
//  4. A hex's City is c exactly when city c stands on that hex; a city never moves.
//  5. A hex's CorpsCount is the number of corps of both sides standing on it.
//  6. Corps aggregates and regiment figures are derived by the recompute after every change
//     of a corps' regiments and at every turn start.
//  7. TotalPoints == BattlePoints + CityPoints whenever the result screen or victory check reads them.
//  8. Records beyond the counts keep whatever they last held; nothing reads them.

#include "core/text.h"

#include <array>
#include <cstdint>

namespace vezer {

// Capacities.
inline constexpr int kMaxRegiments = 800;     // per side
inline constexpr int kMaxCorps = 250;         // per side
inline constexpr int kMaxGenerals = 250;      // per side
inline constexpr int kCorpsUnitSlots = 100;   // Units[1..100] of a corps
inline constexpr int kMaxUnitsPerCorps = 50;  // what the game rules allow in one corps
inline constexpr int kMaxCities = 100;        // room in the city table
inline constexpr int kCityCount = 75;         // cities in the data files
inline constexpr int kMaxTypes = 20;          // regiment types
inline constexpr int kTypeCounterSlots = 25;  // TypeCounter[side][1..25]
inline constexpr int kMaxReinforcements = 50;
inline constexpr int kReinforcementUnits = 50;
inline constexpr int kFormationCount = 7;
inline constexpr int kTacticCount = 3;
inline constexpr int kNationCount = 11;
inline constexpr int kAbilitySlots = 30;      // SpecialAbility 0..30
inline constexpr int kRandTableSize = 10000;
inline constexpr int kHexMin = -1;            // the hex array runs -1..99 in both directions
inline constexpr int kHexMax = 99;
inline constexpr int kHexSpan = kHexMax - kHexMin + 1;
inline constexpr int kHistoricalEventSlots = 30;
inline constexpr int kNamePoolRoom = 50;
inline constexpr int kNamePoolSize = 25;      // NamePoolSize: names read from each pool file
inline constexpr int kAiMemorySlots = 18;
inline constexpr int kTerrainImpassable = 4;  // terrain code of the border ring and high mountains
inline constexpr int kMaskWidth = 126;        // the click mask: one block of two columns of the map picture
inline constexpr int kMaskHeight = 72;

inline constexpr int kFirstWarYear = 1848;    // FirstWarYear

// Two sides, indexed 1 and 2; slot 0 unused.
template <typename T> using PerSide = std::array<T, 3>;

using Byte = std::uint8_t;

// TEzred: one regiment (a battalion, regiment or battery).
struct TEzred {
    int Ordinal = 0;
    int Type = 0;
    int Arm = 0;  // 1 cavalry, 2 infantry, 3 artillery
    int Nation = 0;
    int Corps = 0;
    int CorpsFormation = 0;
    int CombatValueFull = 0;
    int DefenceValue = 0;
    int CombatValue = 0;
    int Observation = 0;
    int Visibility = 0;
    int Experience = 0;
    int ExperienceBuildUp = 0;
    int Morale = 0;
    int Readiness = 0;
    int Supply = 0;
    int Men = 0;
    int FillPercent = 0;
    int MovementPoints = 0;
    int MovementAllowance = 0;
    int MovementUsed = 0;
    Byte MergeCandidate = 0;
    Byte EngagedInRound = 0;
    Byte FoughtInBattle = 0;
    Byte ActedInRound = 0;
    int BattleLine = 0;  // 1 in line, 2 fell back, 3 fled, 7 destroyed
    ShortText<35> Name;
};

// TEzredAlap: one row of the regiment-type table.
struct TEzredAlap {
    int Arm = 0;
    int ArmClass = 0;
    int FullStrength = 0;
    int BaseCombatValue = 0;
    int BaseDefenceValue = 0;
    int BaseObservation = 0;
    int BaseVisibility = 0;
    int BaseMovement = 0;
    int BaseMorale = 0;
    int BaseExperience = 0;
    int BaseReadiness = 0;
    int BaseSupply = 0;
    int RecruitWeeks = 0;
    int SideOnly = 0;
    ShortText<23> Name;
};

// THad: one corps, the movable formation on the map. A battle force has the same layout.
struct THad {
    int MarkerId = 0;
    int MarkerArm = 0;
    int MarkerState = 0;
    int MarkerKind = 0;
    int MarkerColor = 0;
    int MarkerPicture = 0;
    int StackOrder = 0;
    int SelfIndex = 0;
    int General = 0;
    int Activity = 0;  // 0 none, 1..7 formation change, 11 entrench, 12 fortify
    int ActivityWeeks = 0;
    Byte SiegeGunsAtEnemyFort = 0;
    int Garrison = 0;
    int MovementPoints = 0;
    int MovementAllowance = 0;
    int X = 0;
    int Y = 0;
    int SupplyDemand = 0;
    int MinObservation = 0;
    int SumVisibility = 0;
    int Nation = 0;
    int Direction = 0;
    int Formation = 0;
    int Tactic = 0;
    int UnitCount = 0;
    int AvgMorale = 0;
    int AvgReadiness = 0;
    int AvgSupply = 0;
    int CavalryMen = 0;
    int InfantryMen = 0;
    int Guns = 0;
    int Type13Men = 0;
    int Type6Men = 0;
    int CombatValue = 0;
    int SumDefenceValue = 0;
    int AvgMovementAllowance = 0;
    double ArtilleryRatio = 0.0;
    Byte AllClassOne = 0;
    Byte AllClassZero = 0;
    Byte ArtilleryOnly = 0;
    Byte MarchShown = 0;
    Byte OnFastRoad = 0;
    int ReconLevel = 0;
    int EstimateError = 0;
    int EstimatedCavalry = 0;
    int EstimatedInfantry = 0;
    int EstimatedGuns = 0;
    int SizeClass = 0;
    ShortText<25> Name;
    // The twelve permission flags, in their stored order.
    Byte CanAttack = 0;
    Byte CanBombard = 0;
    Byte CanStorm = 0;
    Byte FlagAlwaysCleared = 0;
    Byte FlagAlwaysSet = 0;
    Byte CanFormNewCorps = 0;
    Byte CanTransferRegiments = 0;
    Byte MayChangeFormation = 0;
    Byte CanChangeTactic = 0;
    Byte CanChangeGeneral = 0;
    Byte CanEntrench = 0;
    Byte CanRepairFort = 0;
    std::array<int, kCorpsUnitSlots + 1> Units{};
    // The computer opponent's data.
    int ObjectiveX = 0;
    int ObjectiveY = 0;
    int TargetCorps = 0;
    int Task = 0;  // 1 attack, 2 defend, 3 reconnoitre, 4 unite, 5 siege, 6 cover
    int Role = 0;  // 1 vanguard, 2 rearguard, 3 independent, 4 reinforcement, 5 garrison
    int SuperiorCorps = 0;
    int GuardCorps = 0;
    int ThreatPercent = 0;
    int ThreatCorps = 0;
    int ThreatDirection = 0;
    int ThreatDirections = 0;
    int TurnsSinceBattle = 0;
    int LastBattleResult = 0;
    int LastBattleEnemyStrength = 0;
    int LastCityObjective = 0;
    std::array<int, kAiMemorySlots + 1> AiMemory{};
    // Derived, not saved: the nation class 1..3 with most regiments, for the corps' flag.
    int DominantNationClass = 0;
};

// TTabornok: one general.
struct TTabornok {
    int Attack = 0;
    int Defence = 0;
    int Initiative = 0;
    int Nation = 0;
    int Available = 0;
    int Corps = 0;
    int Portrait = 0;
    int SpecialAbility = 0;
    ShortText<15> FamilyName;
    ShortText<15> GivenName;
};

// TVaros: one town or fortress.
struct TVaros {
    int MarkerId = 0;
    ShortText<20> Name;
    PerSide<int> SupplyCapacity{};
    int Owner = 0;  // 1 or 2; 3 or more held by neither side
    int FlagClass = 0;
    int X = 0;
    int Y = 0;
    int Kind = 0;  // 3 fortress
    int GarrisonCapacity = 0;
    int GarrisonGunCapacity = 0;
    int FortMax = 0;
    int FortStrength = 0;
    int GarrisonCorps = 0;
    int HomeSide = 0;
    int Nation = 0;
    int RecruitType = 0;
    int RecruitWeeksLeft = 0;
    int VictoryValue = 0;
    PerSide<int> Importance{};
    int AiCityValue = 0;
    int CityThreatPercent = 0;
    int CityThreatCorps = 0;
    int CityThreatDirections = 0;
    int CaptureCounter = 0;
    int StagingLink = 0;
};

// THex: one map cell.
struct THex {
    int Terrain = 0;
    int Entrenchment = 0;
    int EntrenchmentSide = 0;
    int City = 0;
    int CorpsCount = 0;
    int AiSupplyMark = 0;
    std::array<int, 6> River{};
    std::array<int, 6> Road{};  // 0 none, 1 road, 2 railway
    Byte InClosedList = 0;
    Byte InOpenList = 0;
    int PathCost = 0;
    Byte ReconListed = 0;
};

// TErosites: one scheduled reinforcement.
struct TErosites {
    int Year = 0;
    int Month = 0;
    int Week = 0;
    int Side = 0;
    int LimitedIntervention = 0;
    THad Template;  // X, Y, Nation, General, Formation, UnitCount and Units[] come from the file
    int Arrived = 0;
    std::array<int, kReinforcementUnits + 1> UnitFill{};
};

struct TFormation {
    ShortText<15> Name;
    int ReadinessGain = 0;
    int MovementFactor = 0;  // percent
    int AttackPercent = 0;
    int DefencePercent = 0;
};

// One month of the weather table: the chances of weather 1..4 and temperature 1..3 (the last
// of each is read but unused), and whether rivers may rise at random that month.
struct TWeatherMonth {
    std::array<int, 5> Weather{};
    std::array<int, 4> Temperature{};
    int HighWater = 0;
};

struct THistoricalEvent {
    int Kind = 0;  // 20 = revolution in the capital
    int HexX = 0;
    int HexY = 0;
    int City = 0;
    int Side = 0;
    int Year = 0;
    int Month = 0;
    int Week = 0;
};

// One line of the event log.
struct TLogEntry {
    int Side = 0;
    int FogOfWarAtEntry = 0;
    int Kind = 0;  // 0 game rules, 14 player messages
    ShortText<120> Text;
    int Colour = 0;  // 0x00BBGGRR
};

inline constexpr int kLogRoom = 51;   // room reserved for each side's log
inline constexpr int kLogLimit = 49;  // entries a log keeps after every addition
inline constexpr int kTickerLines = 6;

struct EventLog {
    std::array<TLogEntry, kLogRoom> Entries{};
    int Count = 0;
};

inline constexpr int kTurnEventLimit = 50;

struct TTurnEvent {
    int Side = 0;  // 0 both sides, 1 or 2 the side concerned
    Byte Hidden = 0;
    ShortText<120> Text;
};

inline constexpr int kTutorialLineRoom = 1000;

// Every display text table, read at set-up from the language's text files.
struct TextTables {
    std::array<ShortText<15>, 5> TerrainName{};
    std::array<ShortText<20>, 3> EntrenchmentName{};
    std::array<ShortText<120>, 11> WeatherText{};
    std::array<ShortText<120>, 11> GroundText{};
    std::array<ShortText<120>, 11> TemperatureText{};
    std::array<ShortText<120>, 11> RiverText{};
    std::array<ShortText<120>, 11> DanubeText{};
    std::array<ShortText<120>, kTacticCount + 1> TacticName{};
    std::array<ShortText<120>, 4> SizeClassName{};
    std::array<ShortText<120>, kAbilitySlots + 1> ActivityName{};
    std::array<ShortText<120>, kAbilitySlots + 1> AbilityName{};
    std::array<ShortText<120>, kAbilitySlots + 1> AbilityText{};
    std::array<ShortText<12>, kNationCount + 1> NationName{};
    // The tutorial text, fed block by block into side 1's log.
    std::array<ShortText<120>, kTutorialLineRoom + 1> TutorialLines{};
    int TutorialLineCount = 0;
    int TutorialCursor = 0;
};

// One entry of the supporting-corps list of an attack.
struct TSupportEntry {
    int Corps = 0;
    int JoinChance = 0;
    int X = 0;
    int Y = 0;
    int SupportMoveCost = 0;
    Byte Joins = 0;
};

// The battle module's working state: one battle at a time, cleared at the start of each.
struct BattleState {
    THad AttackingForce;
    THad DefendingForce;
    THad WinnerForce;
    THad LoserForce;
    int AttackerSide = 0;
    int DefenderSide = 0;
    int TargetX = -1;
    int TargetY = -1;
    int BattleMode = 0;  // 1 field attack, 2 bombardment, 3 assault on a fortress
    int BattleKind = 0;  // 0 skirmish, 1 engagement, 2 battle
    int AttackCost = 0;
    int AttackMoveCost = 0;
    int RequiredMovement = 0;
    int TargetEntrenchment = 0;
    int TargetCityKind = 0;
    PerSide<int> GeneralAbility{};
    std::array<TSupportEntry, 6> SupportList{};  // entries 1..5
    int BattleSound = 0;
    // The tallies of the fight.
    int Round = 0;
    PerSide<int> MoraleTally{};
    PerSide<int> AdjustedTally{};  // T[side] of the winner determination
    PerSide<int> HitTally{};
    PerSide<std::array<int, 4>> BattleLossesByArm{};  // [side][1..3]
    PerSide<int> RoutedCount{};
    // The rounds and what decides them.
    int MaxRounds = 0;
    int FireRounds = 0;
    Byte OpeningBombardment = 0;
    PerSide<std::array<int, kMaxTypes + 1>> BattleLossesByType{};  // [side][type]
    int CombatEvents = 0;
    PerSide<Byte> CavalrySuperiority{};
    PerSide<int> OutnumberedPenalty{};  // 0 or negative
    Byte RearAttack = 0;
    Byte Overrun = 0;
    Byte Pursuit = 0;
    Byte EndedByRetreat = 0;
    Byte Draw = 0;
    int Winner = 0;
    int Loser = 0;
    PerSide<int> GeneralPerformance{};
    PerSide<int> EffectiveUnits{};
    int RiverCrossing = 0;
    int TargetTerrain = 0;
    int StackStrength = 0;  // the defenders' at the target when the fight begins
    // What follows the fight.
    Byte Crushing = 0;
    int BattleValue = 0;
    int RetreatHexX = -1;
    int RetreatHexY = -1;
    Byte RetreatCollision = 0;
    std::array<int, 6> CapturedGuns{};  // artillery types 11..15 as 1..5
    // The report screen is open (its lines are written only then), and the last odds of order 29.
    Byte ReportOpen = 0;
    int Odds = 0;
};

// One hex on the computer opponent's list of hexes to reconnoitre (not saved).
struct TReconTarget {
    int X = 0;
    int Y = 0;
    int AssignedCorps = 0;
};

inline constexpr int kReconTargetRoom = 100;

// The undo record of the last move or formation change.
struct UndoRecord {
    Byte Available = 0;
    int Code = 0;
    int Side = 0;
    int Corps = 0;
    int Formation = 0;
    int X = 0;
    int Y = 0;
    int MovementPoints = 0;
    int Readiness = 0;
    int Supply = 0;
};

struct State {
    // --- Records -------------------------------------------------------------------------
    PerSide<std::array<TEzred, kMaxRegiments + 1>> Regiments{};
    PerSide<std::array<THad, kMaxCorps + 1>> Corps{};
    PerSide<std::array<TTabornok, kMaxGenerals + 1>> Generals{};
    std::array<TVaros, kMaxCities + 1> Cities{};
    std::array<TEzredAlap, kMaxTypes + 1> Types{};
    std::array<TErosites, kMaxReinforcements + 1> Reinforcements{};
    std::array<TFormation, kFormationCount + 1> Formations{};
    std::array<THex, kHexSpan * kHexSpan> Hexes{};  // use Cell(x, y)

    PerSide<int> RegimentCount{};
    PerSide<int> CorpsCount{};
    PerSide<int> GeneralCount{};
    PerSide<int> InitialGeneralCount{};
    int TypeCount = 0;
    int NationCount = 0;
    int ReinforcementCount = 0;
    std::array<int, kMaxTypes + 1> BaseRecruitWeeks{};
    // Flag class of each nation 1..11 (row 0 neutral).
    std::array<int, kNationCount + 1> NationFlag{};

    // --- Game options --------------------------------------------------------------------
    int DataSet = 0;
    int Campaign = 0;
    int Language = 0;
    PerSide<int> PlayerType{};  // 1 a person here, 2 the computer, 3 the other machine
    int NetworkGame = 0;
    int PbemGame = 0;
    int LocalSide = 0;
    int LocalOtherSide = 0;
    int Difficulty = 0;  // 1..3; 10 = tutorial
    int Tutorial = 0;
    int FogOfWar = 0;
    int RussianIntervention = 0;
    int PolishIntervention = 0;
    int KeepReinforcementDates = 0;
    int ReservedOption = 0;

    // --- Calendar and turn ---------------------------------------------------------------
    int Year = 0, Month = 0, Week = 0;
    int StartYear = 0, StartMonth = 0, StartWeek = 0;
    int EndYear = 0, EndMonth = 0, EndWeek = 0;
    int ActiveSide = 0;
    int OtherSide = 0;
    int SelectedCorps = 0;
    int SelectedCorpsSide = 0;
    int SelectedHexX = -1;
    int SelectedHexY = -1;
    PerSide<int> Zeal{};
    PerSide<int> ZealFloor{};
    PerSide<int> MayRecruit{};
    PerSide<int> LevyChance{};
    PerSide<int> LevyLimit{};
    PerSide<int> LevyMen{};
    std::array<THistoricalEvent, kHistoricalEventSlots + 1> HistoricalEvents{};
    int HistoricalEventIndex = 0;

    // --- Recruitment, weather and chance -------------------------------------------------
    PerSide<std::array<int, kTypeCounterSlots + 1>> TypeCounter{};
    int RecruitPenaltyWeeks = 0;
    int RecruitPenaltyTurns = 0;
    int WeaponDemand = 0;
    int AutoRecruit = 0;
    int RiverState = 0, DanubeState = 0, GroundState = 0, Temperature = 0, Weather = 0;
    int PrevTemperature = 0, PrevWeather = 0, PrevGround = 0;
    std::array<TWeatherMonth, 13> WeatherTable{};  // months 1..12
    int RandPos = 0;
    int RandStep = 0;
    std::array<int, kRandTableSize + 1> RandTable{};

    // --- Map -----------------------------------------------------------------------------
    int MapMaxX = 0;
    int MapMaxY = 0;
    std::array<int, 4> TerrainCostBase{};
    std::array<int, 5> TerrainCost{};
    int RiverCost1 = 0;
    int RiverCost2 = 0;
    int DistanceFactor = 0;
    // The click mask (Data\Maszk.bmp), pixel by pixel, rows from the top: 0 the block's own hex,
    // d + 1 its neighbour in direction d. Read at set-up; not saved.
    std::array<Byte, kMaskWidth * kMaskHeight> MaskDirection{};

    // --- Results -------------------------------------------------------------------------
    PerSide<int> EngagementsWon{};
    PerSide<int> BattlesWon{};
    int DrawnEngagements = 0;
    int DrawnBattles = 0;
    PerSide<int> BattlePoints{};
    PerSide<int> CityPoints{};
    PerSide<int> TotalPoints{};
    int BattleVictoryValue = 0;
    int EngagementVictoryValue = 0;
    PerSide<std::array<int, 4>> Losses{};  // [side][1 cavalry, 2 infantry, 3 guns]

    // --- Play by e-mail ------------------------------------------------------------------
    PerSide<int> PasswordSet{};
    PerSide<int> PasswordLength{};
    PerSide<ShortText<40>> Password{};
    ShortText<40> EnteredPassword;
    int NewGameWeek = 0;
    int TurnStartDue = 0;
    int SideTwoStartDue = 0;
    int HiddenMove = 0;
    // The order file takes this machine's orders from its creation to the turn's order 30.
    int OrderFileOpen = 0;
    // The opponent's order file is being replayed: its next record (0 the first), how many it
    // holds, and whether the end-turn button waits for the replayed order 30.
    int ReplayOpen = 0;
    int ReplayPending = 0;
    int ReplayBusy = 0;
    int ReplayNext = 0;
    int ReplayCount = 0;
    int ReplayNotice = 0;  // the main screen shows the SPACE notice when it is activated

    // --- Computer opponent ---------------------------------------------------------------
    PerSide<int> AiSiegeCorps{};
    PerSide<int> AiPosture{};
    int AiBattleBonusEasy = 0;
    int AiBattleBonusHard = 0;

    // --- Generals created in play: name pools 1..3 ---------------------------------------
    std::array<std::array<ShortText<15>, kNamePoolRoom + 1>, 4> GivenNamePool{};
    std::array<std::array<ShortText<15>, kNamePoolRoom + 1>, 4> FamilyNamePool{};

    // --- Order executor ------------------------------------------------------------------
    UndoRecord Undo;
    int EnemySpotted = 0;
    THad NewCorpsTemplate;  // the corps template of order 6

    // --- Markers the rules count (drawing them is the screen's) --------------------------
    int MarkerCount = 0;  // corps markers in use
    int EntrenchmentMarkCount = 0;
    // Damage shown on each fortress: 0 intact, 1 light, 2 heavy.
    std::array<int, kMaxCities + 1> FortressDamage{};

    // --- The computer opponent's reconnaissance targets (not saved) ----------------------
    std::array<TReconTarget, kReconTargetRoom + 1> ReconTargets{};
    int ReconTargetCount = 0;

    // --- Battle --------------------------------------------------------------------------
    BattleState Battle;

    // --- Event log, ticker and turn events (not saved) ----------------------------------
    PerSide<EventLog> Logs{};
    PerSide<int> TickerPos{};
    std::array<ShortText<120>, kTickerLines + 1> TickerLine{};
    std::array<int, kTickerLines + 1> TickerColour{};
    std::array<TTurnEvent, kTurnEventLimit + 1> TurnEventList{};
    int TurnEventCount = 0;
    int TurnStartScreenOpen = 0;  // AddTurnEvent only acts while the turn-start screen is open
    int GameBeingLoaded = 0;      // set while a saved game is being activated

    // --- Texts ---------------------------------------------------------------------------
    TextTables Texts;

    // --- Map cells -----------------------------------------------------------------------
    // The cell at (x, y). Anything outside -1..99 reads as impassable ground with no corps,
    // and writes to it go to a scratch cell that is reset on every such access.
    THex& Cell(int x, int y) {
        if (!InHexArray(x, y)) {
            OffMapScratch = THex{};
            OffMapScratch.Terrain = kTerrainImpassable;
            return OffMapScratch;
        }
        return Hexes[static_cast<std::size_t>((y - kHexMin) * kHexSpan + (x - kHexMin))];
    }
    const THex& Cell(int x, int y) const {
        if (!InHexArray(x, y)) return OffMapCell();
        return Hexes[static_cast<std::size_t>((y - kHexMin) * kHexSpan + (x - kHexMin))];
    }
    static bool InHexArray(int x, int y) { return x >= kHexMin && x <= kHexMax && y >= kHexMin && y <= kHexMax; }

    // Short names for the per-side records.
    TEzred& Regiment(int side, int r) { return Regiments[side][r]; }
    const TEzred& Regiment(int side, int r) const { return Regiments[side][r]; }
    THad& CorpsRec(int side, int c) { return Corps[side][c]; }
    const THad& CorpsRec(int side, int c) const { return Corps[side][c]; }
    TTabornok& General(int side, int g) { return Generals[side][g]; }
    const TTabornok& General(int side, int g) const { return Generals[side][g]; }

private:
    static const THex& OffMapCell();
    THex OffMapScratch;
};

inline constexpr std::array<int, kNationCount + 1> kNationFlag = {0, 1, 2, 3, 2, 2, 2, 1, 2, 1, 0, 4};

} // namespace vezer
