#include "core/fingerprint.h"

#include "core/binary_io.h"

namespace vezer {

namespace {

constexpr int kFingerprintModulus = 7823;

// The running sum: ordinary 32-bit additions (wrapping rather than undefined on overflow),
// reduced by the truncating remainder where the rule says so.
struct Sum {
    int f = 0;
    void Add(int v) { f = WrapAdd(f, v); }
    void Reduce() { f %= kFingerprintModulus; }
};

void AddCities(Sum& s, const State& st) {
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
        for (int value : {v.SupplyCapacity[1], v.SupplyCapacity[2], v.Owner, v.FlagClass, v.X, v.Y, v.Kind,
                          v.GarrisonCapacity, v.GarrisonGunCapacity, v.FortMax, v.FortStrength, v.GarrisonCorps,
                          v.HomeSide, v.Nation, v.RecruitType, v.RecruitWeeksLeft, v.VictoryValue, v.CaptureCounter})
            s.Add(value);
        s.Reduce();
    }
}

void AddGenerals(Sum& s, const State& st) {
    s.Add(st.GeneralCount[1]);
    s.Add(st.GeneralCount[2]);
    for (int side = 1; side <= 2; ++side) {
        for (int g = 1; g <= st.GeneralCount[side] && g <= kMaxGenerals; ++g) {
            const TTabornok& t = st.General(side, g);
            for (int value : {t.Attack, t.Defence, t.Initiative, t.Nation, t.Available, t.Corps, t.Portrait,
                              t.SpecialAbility})
                s.Add(value);
            s.Reduce();
        }
    }
}

void AddRegiments(Sum& s, const State& st) {
    s.Add(st.RegimentCount[1]);
    s.Add(st.RegimentCount[2]);
    for (int side = 1; side <= 2; ++side) {
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) {
            const TEzred& e = st.Regiment(side, r);
            for (int value : {e.Type, e.Arm, e.Nation, e.Corps, e.CorpsFormation, e.CombatValueFull, e.DefenceValue,
                              e.CombatValue, e.Observation, e.Visibility, e.Experience, e.ExperienceBuildUp, e.Morale,
                              e.Readiness, e.Supply, e.Men, e.FillPercent, e.MovementPoints, e.MovementAllowance,
                              e.MovementUsed, e.BattleLine})
                s.Add(value);
            s.Reduce();
        }
    }
}

void AddCorps(Sum& s, const State& st) {
    s.Add(st.CorpsCount[1]);
    s.Add(st.CorpsCount[2]);
    for (int side = 1; side <= 2; ++side) {
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
            const THad& h = st.CorpsRec(side, c);
            for (int value : {h.MarkerArm, h.MarkerState, h.MarkerKind, h.SelfIndex, h.General, h.Activity,
                              h.ActivityWeeks, h.Garrison, h.MovementPoints, h.MovementAllowance, h.X, h.Y,
                              h.SupplyDemand, h.MinObservation, h.SumVisibility, h.Nation, h.Direction, h.Formation,
                              h.Tactic, h.UnitCount, h.AvgMorale, h.AvgReadiness, h.AvgSupply, h.CavalryMen,
                              h.InfantryMen, h.Guns, h.Type13Men, h.Type6Men, h.CombatValue, h.SumDefenceValue})
                s.Add(value);
            s.Reduce();
            s.Add(h.AvgMovementAllowance);
            s.Add(h.ReconLevel);
            s.Add(h.SizeClass);
            for (int u = 1; u <= h.UnitCount && u <= kCorpsUnitSlots; ++u) s.Add(h.Units[static_cast<std::size_t>(u)]);
            s.Reduce();
        }
    }
}

void AddBattle(Sum& s, const State& st) {
    const BattleState& b = st.Battle;
    s.Add(b.BattleMode);
    s.Add(b.AttackerSide);
    s.Add(b.DefenderSide);
    for (int side = 1; side <= 2; ++side) {
        s.Add(b.MoraleTally[side]);
        s.Add(b.AdjustedTally[side]);
        s.Add(b.HitTally[side]);
        for (int arm = 1; arm <= 3; ++arm) s.Add(b.BattleLossesByArm[side][static_cast<std::size_t>(arm)]);
        s.Add(b.RoutedCount[side]);
    }
    s.Reduce();
}

} // namespace

int GameStateFingerprint(const State& st) {
    Sum s;
    for (int value : {st.DataSet, st.Campaign, st.Year, st.Month, st.Week, st.StartYear, st.StartMonth, st.StartWeek,
                      st.EndYear, st.EndMonth, st.EndWeek, st.RandPos, st.RandStep, st.BattleVictoryValue,
                      st.EngagementVictoryValue, st.Zeal[1], st.Zeal[2], st.ZealFloor[1], st.ZealFloor[2],
                      st.FogOfWar, st.ActiveSide, st.OtherSide, st.SelectedCorps, st.MarkerCount})
        s.Add(value);
    for (int i = 0; i < 3; ++i) s.Add(WrapAdd(st.Temperature, st.Weather));
    s.Reduce();
    for (int t = 0; t <= 4; ++t) s.Add(st.TerrainCost[static_cast<std::size_t>(t)]);
    AddCities(s, st);
    AddGenerals(s, st);
    AddRegiments(s, st);
    AddCorps(s, st);
    AddBattle(s, st);
    return s.f;
}

} // namespace vezer

namespace vezer {

namespace {

// FNV-1a over 32-bit values and texts.
struct Hasher {
    std::uint64_t h = 1469598103934665603ull;
    void Byte1(std::uint8_t b) {
        h ^= b;
        h *= 1099511628211ull;
    }
    void Int(long long v) {
        auto u = static_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i) Byte1(static_cast<std::uint8_t>(u >> (8 * i)));
    }
    void Real(double v) { Int(static_cast<long long>(v * 1e9)); }
    template <int N> void Text(const ShortText<N>& t) {
        for (char c : t.view()) Byte1(static_cast<std::uint8_t>(c));
        Byte1(0);
    }
    template <typename T, std::size_t N> void Ints(const std::array<T, N>& a) {
        for (const T& v : a) Int(v);
    }
};

void HashCorps(Hasher& k, const THad& h) {
    for (long long v : {h.MarkerId, h.MarkerArm, h.MarkerState, h.MarkerKind, h.MarkerColor, h.MarkerPicture,
                        h.StackOrder, h.SelfIndex, h.General, h.Activity, h.ActivityWeeks,
                        static_cast<int>(h.SiegeGunsAtEnemyFort), h.Garrison, h.MovementPoints, h.MovementAllowance,
                        h.X, h.Y, h.SupplyDemand, h.MinObservation, h.SumVisibility, h.Nation, h.Direction,
                        h.Formation, h.Tactic, h.UnitCount, h.AvgMorale, h.AvgReadiness, h.AvgSupply, h.CavalryMen,
                        h.InfantryMen, h.Guns, h.Type13Men, h.Type6Men, h.CombatValue, h.SumDefenceValue,
                        h.AvgMovementAllowance})
        k.Int(v);
    k.Real(h.ArtilleryRatio);
    for (Byte b : {h.AllClassOne, h.AllClassZero, h.ArtilleryOnly, h.MarchShown, h.OnFastRoad}) k.Int(b);
    for (long long v : {h.ReconLevel, h.EstimateError, h.EstimatedCavalry, h.EstimatedInfantry, h.EstimatedGuns,
                        h.SizeClass})
        k.Int(v);
    k.Text(h.Name);
    for (Byte b : {h.CanAttack, h.CanBombard, h.CanStorm, h.FlagAlwaysCleared, h.FlagAlwaysSet, h.CanFormNewCorps,
                   h.CanTransferRegiments, h.MayChangeFormation, h.CanChangeTactic, h.CanChangeGeneral, h.CanEntrench,
                   h.CanRepairFort})
        k.Int(b);
    k.Ints(h.Units);
    for (long long v : {h.ObjectiveX, h.ObjectiveY, h.TargetCorps, h.Task, h.Role, h.SuperiorCorps, h.GuardCorps,
                        h.ThreatPercent, h.ThreatCorps, h.ThreatDirection, h.ThreatDirections, h.TurnsSinceBattle,
                        h.LastBattleResult, h.LastBattleEnemyStrength, h.LastCityObjective})
        k.Int(v);
    k.Ints(h.AiMemory);
    k.Int(h.DominantNationClass);
}

void HashRegiment(Hasher& k, const TEzred& e) {
    for (long long v : {e.Ordinal, e.Type, e.Arm, e.Nation, e.Corps, e.CorpsFormation, e.CombatValueFull,
                        e.DefenceValue, e.CombatValue, e.Observation, e.Visibility, e.Experience, e.ExperienceBuildUp,
                        e.Morale, e.Readiness, e.Supply, e.Men, e.FillPercent, e.MovementPoints, e.MovementAllowance,
                        e.MovementUsed})
        k.Int(v);
    for (Byte b : {e.MergeCandidate, e.EngagedInRound, e.FoughtInBattle, e.ActedInRound}) k.Int(b);
    k.Int(e.BattleLine);
    k.Text(e.Name);
}

void HashGeneral(Hasher& k, const TTabornok& t) {
    for (long long v : {t.Attack, t.Defence, t.Initiative, t.Nation, t.Available, t.Corps, t.Portrait,
                        t.SpecialAbility})
        k.Int(v);
    k.Text(t.FamilyName);
    k.Text(t.GivenName);
}

void HashCity(Hasher& k, const TVaros& v) {
    k.Int(v.MarkerId);
    k.Text(v.Name);
    k.Ints(v.SupplyCapacity);
    for (long long x : {v.Owner, v.FlagClass, v.X, v.Y, v.Kind, v.GarrisonCapacity, v.GarrisonGunCapacity, v.FortMax,
                        v.FortStrength, v.GarrisonCorps, v.HomeSide, v.Nation, v.RecruitType, v.RecruitWeeksLeft,
                        v.VictoryValue})
        k.Int(x);
    k.Ints(v.Importance);
    for (long long x : {v.AiCityValue, v.CityThreatPercent, v.CityThreatCorps, v.CityThreatDirections,
                        v.CaptureCounter, v.StagingLink})
        k.Int(x);
}

void HashType(Hasher& k, const TEzredAlap& t) {
    for (long long v : {t.Arm, t.ArmClass, t.FullStrength, t.BaseCombatValue, t.BaseDefenceValue, t.BaseObservation,
                        t.BaseVisibility, t.BaseMovement, t.BaseMorale, t.BaseExperience, t.BaseReadiness,
                        t.BaseSupply, t.RecruitWeeks, t.SideOnly})
        k.Int(v);
    k.Text(t.Name);
}

void HashHex(Hasher& k, const THex& h) {
    for (long long v : {h.Terrain, h.Entrenchment, h.EntrenchmentSide, h.City, h.CorpsCount, h.AiSupplyMark}) k.Int(v);
    k.Ints(h.River);
    k.Ints(h.Road);
    // The path search's working marks are not part of the game.
}

} // namespace

std::uint64_t FullStateHash(const State& st) {
    Hasher k;
    for (int side = 1; side <= 2; ++side) {
        k.Int(st.RegimentCount[side]);
        k.Int(st.CorpsCount[side]);
        k.Int(st.GeneralCount[side]);
        k.Int(st.InitialGeneralCount[side]);
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) HashRegiment(k, st.Regiment(side, r));
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) HashCorps(k, st.CorpsRec(side, c));
        for (int g = 1; g <= st.GeneralCount[side] && g <= kMaxGenerals; ++g) HashGeneral(k, st.General(side, g));
        k.Ints(st.TypeCounter[side]);
    }
    for (int c = 1; c <= kCityCount; ++c) HashCity(k, st.Cities[static_cast<std::size_t>(c)]);
    k.Int(st.TypeCount);
    for (int t = 1; t <= st.TypeCount && t <= kMaxTypes; ++t) HashType(k, st.Types[static_cast<std::size_t>(t)]);
    k.Ints(st.BaseRecruitWeeks);
    k.Int(st.ReinforcementCount);
    for (int i = 1; i <= st.ReinforcementCount && i <= kMaxReinforcements; ++i) {
        const TErosites& e = st.Reinforcements[static_cast<std::size_t>(i)];
        for (long long v : {e.Year, e.Month, e.Week, e.Side, e.LimitedIntervention, e.Arrived}) k.Int(v);
        HashCorps(k, e.Template);
        k.Ints(e.UnitFill);
    }
    for (int f = 1; f <= kFormationCount; ++f) {
        const TFormation& fm = st.Formations[static_cast<std::size_t>(f)];
        k.Text(fm.Name);
        for (long long v : {fm.ReadinessGain, fm.MovementFactor, fm.AttackPercent, fm.DefencePercent}) k.Int(v);
    }
    for (int y = -1; y <= st.MapMaxY + 1; ++y)
        for (int x = -1; x <= st.MapMaxX + 1; ++x) HashHex(k, st.Cell(x, y));
    for (long long v :
         {st.DataSet, st.Campaign, st.Language, st.PlayerType[1], st.PlayerType[2], st.NetworkGame, st.PbemGame,
          st.LocalSide, st.LocalOtherSide, st.Difficulty, st.Tutorial, st.FogOfWar, st.RussianIntervention,
          st.PolishIntervention, st.KeepReinforcementDates, st.ReservedOption, st.Year, st.Month, st.Week,
          st.StartYear, st.StartMonth, st.StartWeek, st.EndYear, st.EndMonth, st.EndWeek, st.ActiveSide, st.OtherSide,
          st.SelectedCorps, st.SelectedCorpsSide, st.SelectedHexX, st.SelectedHexY, st.RecruitPenaltyWeeks,
          st.RecruitPenaltyTurns, st.WeaponDemand, st.AutoRecruit, st.RiverState, st.DanubeState, st.GroundState,
          st.Temperature, st.Weather, st.PrevTemperature, st.PrevWeather, st.PrevGround, st.RandPos, st.RandStep,
          st.MapMaxX, st.MapMaxY, st.RiverCost1, st.RiverCost2, st.DistanceFactor, st.DrawnEngagements,
          st.DrawnBattles, st.BattleVictoryValue, st.EngagementVictoryValue, st.NewGameWeek, st.TurnStartDue,
          st.SideTwoStartDue, st.HiddenMove, st.AiBattleBonusEasy, st.AiBattleBonusHard, st.EnemySpotted,
          st.MarkerCount, st.EntrenchmentMarkCount, st.HistoricalEventIndex})
        k.Int(v);
    for (int m = 1; m <= 12; ++m) {
        const TWeatherMonth& w = st.WeatherTable[static_cast<std::size_t>(m)];
        k.Ints(w.Weather);
        k.Ints(w.Temperature);
        k.Int(w.HighWater);
    }
    k.Ints(st.FortressDamage);
    k.Ints(st.TerrainCostBase);
    k.Ints(st.TerrainCost);
    for (const PerSide<int>* a : {&st.Zeal, &st.ZealFloor, &st.MayRecruit, &st.LevyChance, &st.LevyLimit, &st.LevyMen,
                                  &st.EngagementsWon, &st.BattlesWon, &st.BattlePoints, &st.CityPoints,
                                  &st.TotalPoints, &st.PasswordSet, &st.PasswordLength, &st.AiSiegeCorps,
                                  &st.AiPosture})
        k.Ints(*a);
    for (int side = 1; side <= 2; ++side) {
        k.Ints(st.Losses[side]);
        k.Text(st.Password[side]);
    }
    const UndoRecord& u = st.Undo;
    for (long long v : {static_cast<int>(u.Available), u.Code, u.Side, u.Corps, u.Formation, u.X, u.Y,
                        u.MovementPoints, u.Readiness, u.Supply})
        k.Int(v);
    const BattleState& b = st.Battle;
    for (const THad* force : {&b.AttackingForce, &b.DefendingForce, &b.WinnerForce, &b.LoserForce}) HashCorps(k, *force);
    for (long long v : {b.AttackerSide, b.DefenderSide, b.TargetX, b.TargetY, b.BattleMode, b.BattleKind, b.AttackCost,
                        b.AttackMoveCost, b.RequiredMovement, b.TargetEntrenchment, b.TargetCityKind, b.BattleSound,
                        b.Round})
        k.Int(v);
    for (int side = 1; side <= 2; ++side) {
        for (long long v : {b.GeneralAbility[side], b.MoraleTally[side], b.AdjustedTally[side], b.HitTally[side],
                            b.RoutedCount[side]})
            k.Int(v);
        k.Ints(b.BattleLossesByArm[side]);
    }
    for (const TSupportEntry& e : b.SupportList)
        for (long long v : {e.Corps, e.JoinChance, e.X, e.Y, e.SupportMoveCost, static_cast<int>(e.Joins)}) k.Int(v);
    for (long long v : {b.MaxRounds, b.FireRounds, static_cast<int>(b.OpeningBombardment), b.CombatEvents,
                        static_cast<int>(b.RearAttack), static_cast<int>(b.Overrun), static_cast<int>(b.Pursuit),
                        static_cast<int>(b.EndedByRetreat), static_cast<int>(b.Draw), b.Winner, b.Loser,
                        b.RiverCrossing, b.TargetTerrain, b.StackStrength, static_cast<int>(b.Crushing),
                        b.BattleValue, b.RetreatHexX, b.RetreatHexY, static_cast<int>(b.RetreatCollision),
                        static_cast<int>(b.ReportOpen), b.Odds})
        k.Int(v);
    for (int side = 1; side <= 2; ++side) {
        k.Ints(b.BattleLossesByType[side]);
        for (long long v : {static_cast<int>(b.CavalrySuperiority[side]), b.OutnumberedPenalty[side],
                            b.GeneralPerformance[side], b.EffectiveUnits[side]})
            k.Int(v);
    }
    k.Ints(b.CapturedGuns);
    return k.h;
}

} // namespace vezer
