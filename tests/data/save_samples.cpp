#include "data/save_samples.h"

#include "core/data_set.h"
#include "files/savegame.h"

#include <memory>

namespace vezer::testing {

namespace {

// The arms of the shipped table.
void FillTypes(State& st) {
    st.TypeCount = kDataSetSizes.typeCount;
    for (int t = 1; t <= st.TypeCount; ++t) {
        TEzredAlap& type = st.Types[static_cast<std::size_t>(t)];
        type.Arm = ArmOfType(t);
        type.ArmClass = t <= 4 || t == 12 ? 1 : 0;
        type.FullStrength = type.Arm == 3 ? 8 : 1000;
        type.BaseMovement = 60;
        type.RecruitWeeks = 4 + t % 5;
        st.BaseRecruitWeeks[static_cast<std::size_t>(t)] = type.RecruitWeeks;
    }
}

TEzred Regiment(int type, int corps, int nation, int men) {
    TEzred e;
    e.Type = type;
    e.Arm = ArmOfType(type);
    e.Corps = corps;
    e.CorpsFormation = 3;
    e.Nation = nation;
    e.Experience = 40;
    e.Morale = 70;
    e.Readiness = 80;
    e.Supply = 75;
    e.Men = men;
    e.FillPercent = e.Arm == 3 ? men * 100 / 8 : men / 10;
    e.MovementPoints = 37;
    e.MovementUsed = 55;
    e.MovementAllowance = 60;
    e.BattleLine = 1;
    return e;
}

THad Corps(int general, int x, int y, int nation) {
    THad h;
    h.General = general;
    h.X = x;
    h.Y = y;
    h.Nation = nation;
    h.Direction = 2;
    h.Formation = 3;
    h.Tactic = 2;
    h.ObjectiveX = -1;
    h.ObjectiveY = -1;
    h.Task = 2;
    h.Role = 3;
    return h;
}

void AddRegiment(State& st, int side, const TEzred& e) {
    st.Regiments[static_cast<std::size_t>(side)][static_cast<std::size_t>(++st.RegimentCount[side])] = e;
    if (e.Corps > 0) ++st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(e.Corps)].UnitCount;
}

void AddCorps(State& st, int side, const THad& h) {
    st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(++st.CorpsCount[side])] = h;
}

} // namespace

void PrepareSetUpState(State& st) {
    st = *std::make_unique<State>();
    st.DataSet = 1;
    st.Language = 2;
    st.ActiveSide = 1;
    st.OtherSide = 2;
    st.LocalSide = 1;
    st.LocalOtherSide = 2;
    st.KeepReinforcementDates = 1;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    st.NationFlag = kNationFlag;
    st.NationCount = kNationCount;
    FillTypes(st);
    st.GeneralCount = {0, 42, 60};
    st.InitialGeneralCount = st.GeneralCount;
    for (int side = 1; side <= 2; ++side)
        for (int g = 1; g <= st.GeneralCount[side]; ++g) {
            TTabornok& t = st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)];
            t.Nation = side;
            t.Available = 1;
        }
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& v = st.Cities[static_cast<std::size_t>(c)];
        v.X = c % 60 + 1;
        v.Y = c / 60 * 10 + 2;
        v.Kind = c % 5 == 0 ? 3 : 1;
        v.FortMax = v.Kind == 3 ? 6 : 0;
        v.FortStrength = v.FortMax;
        v.VictoryValue = 100;
        v.Owner = c % 2 + 1;
        v.FlagClass = v.Owner;
        v.CaptureCounter = 1;
    }
    for (int i = 1; i <= kRandTableSize; ++i) st.RandTable[static_cast<std::size_t>(i)] = (i * 7919) % 100000;
    st.RandPos = 4321;
    st.RandStep = 7;
}

void FillSampleGame(State& st) {
    st.Campaign = 3;
    st.Year = 1849;
    st.Month = 3;
    st.Week = 2;
    st.Difficulty = 2;
    st.FogOfWar = 1;
    st.RussianIntervention = 2;
    st.PolishIntervention = 1;
    st.RecruitPenaltyWeeks = -1;
    st.RecruitPenaltyTurns = 3;
    st.RiverState = 2;
    st.DanubeState = 3;
    st.GroundState = 2;
    st.Temperature = 2;
    st.Weather = 3;
    st.PrevTemperature = 1;
    st.PrevWeather = 3;
    st.PrevGround = 3;
    st.PlayerType = {0, 1, 2};
    st.Zeal = {0, 72, 58};

    AddCorps(st, 1, Corps(1, 20, 14, 1));
    AddCorps(st, 1, Corps(5, 27, 17, 1));
    // The garrison of city 5, held by its side, on the hex where the compiled map puts the city
    // (Pozsony), so that a load against the real city files finds it there.
    st.Cities[5].X = 10;
    st.Cities[5].Y = 9;
    st.Cities[5].Owner = 1;
    st.Cities[5].FlagClass = 1;
    THad garrison = Corps(40, st.Cities[5].X, st.Cities[5].Y, 1);
    garrison.Garrison = 1;
    garrison.Role = 5;
    AddCorps(st, 1, garrison);
    st.Cities[5].GarrisonCorps = 3;
    st.Corps[1][2].ReconLevel = 13; // a level above 10 is read modulo 10
    st.Corps[1][2].LastBattleResult = -2;
    st.Corps[1][2].TargetCorps = 2;
    st.Corps[1][1].AiMemory[18] = -7;
    for (int type : {4, 10, 10, 9, 11}) AddRegiment(st, 1, Regiment(type, 1, 1, type == 11 ? 8 : 900));
    for (int type : {2, 10, 12})
        AddRegiment(st, 1, Regiment(type, 2, type == 2 ? 9 : 1, type == 12 ? 6 : 400));
    for (int type : {14, 14, 9}) AddRegiment(st, 1, Regiment(type, 3, 1, type == 14 ? 8 : 1000));
    AddRegiment(st, 1, Regiment(7, 0, 7, 300)); // a regiment with no corps

    AddCorps(st, 2, Corps(4, 13, 12, 2));
    AddCorps(st, 2, Corps(7, 46, 26, 3));
    st.Corps[2][1].EstimateError = -15;
    st.Corps[2][1].EstimatedInfantry = 12000;
    for (int type : {3, 5, 9, 9, 15, 13}) AddRegiment(st, 2, Regiment(type, 1, 2, type >= 11 ? 8 : 1000));
    for (int type : {1, 9, 11}) AddRegiment(st, 2, Regiment(type, 2, 3, type == 11 ? 7 : 950));

    // Two generals created in play on side 1, one on side 2.
    st.GeneralCount = {0, 44, 61};
    st.Generals[1][43].Nation = 1;
    st.Generals[1][44].Nation = 9;
    st.Generals[2][61].Nation = 4;
    st.Generals[1][3].Available = 0;

    st.Cities[7].RecruitType = 10;
    st.Cities[7].RecruitWeeksLeft = 3;
    st.Cities[9].CaptureCounter = 4;
    st.Cities[11].CaptureCounter = 0; // read back as 1
    st.Cities[10].FortStrength = 1;
    // An entrenchment on a hex with no corps, and one under a corps.
    st.Cell(5, 5).Entrenchment = 2;
    st.Cell(5, 5).EntrenchmentSide = 2;
    st.Cell(20, 14).Entrenchment = 1;
    st.Cell(20, 14).EntrenchmentSide = 1;
    for (int i = 1; i <= 50; i += 3) st.Reinforcements[static_cast<std::size_t>(i)].Arrived = 1;
    st.EngagementsWon = {0, 2, 1};
    st.BattlesWon = {0, 1, 0};
    st.BattlePoints = {0, 900, 200};
    st.Losses[1] = {0, 120, 3400, 16};
    st.Losses[2] = {0, 300, 2100, 8};
    st.DrawnEngagements = 1;
    st.DrawnBattles = 2;
    st.Types[6].RecruitWeeks = 99;
    st.ReservedOption = 7;
}

void MakeEmailGame(State& st) {
    st.PbemGame = 1;
    st.PlayerType = {0, 1, 1};
    st.PasswordSet = {0, 1, 1};
    st.Password[1] = "kossuth";
    st.Password[2] = "Ferenc József"; // letters beyond ASCII survive the scrambling
    st.PasswordLength = {0, 7, 13};
}

std::vector<Bytes> SampleSaves() {
    auto st = std::make_unique<State>();
    std::vector<Bytes> saves;
    PrepareSetUpState(*st);
    st->Year = 1848;
    st->Month = 12;
    st->Week = 1;
    st->Difficulty = 2;
    st->PlayerType = {0, 1, 2};
    st->RiverState = st->DanubeState = st->GroundState = st->Temperature = st->Weather = 1;
    saves.push_back(SaveGameBytes(*st));
    FillSampleGame(*st);
    saves.push_back(SaveGameBytes(*st));
    MakeEmailGame(*st);
    saves.push_back(SaveGameBytes(*st));
    return saves;
}

} // namespace vezer::testing
