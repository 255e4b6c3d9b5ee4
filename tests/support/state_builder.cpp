#include "support/state_builder.h"

#include "core/texts.h"
#include "forces/markers.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "support/test_game.h"

#include <array>

namespace vezer::testing {

namespace {

struct TypeRow {
    int arm, armClass, full, combat, defence, observation, visibility, movement;
    const char* name;
};

// Our regiment types (the data guide's table).
constexpr std::array<TypeRow, 16> kTypes = {{
    {0, 0, 0, 0, 0, 0, 0, 0, ""},
    {1, 1, 800, 55, 35, 20, 45, 90, "light horse"},
    {1, 1, 400, 35, 25, 30, 30, 85, "volunteer horse"},
    {1, 1, 800, 75, 45, 45, 50, 75, "heavy horse"},
    {1, 1, 1000, 70, 40, 20, 50, 95, "hussars"},
    {2, 0, 800, 65, 65, 35, 30, 65, "Jäger"},
    {2, 0, 5000, 30, 25, 80, 80, 50, "levy"},
    {2, 0, 800, 35, 35, 70, 40, 55, "national guard"},
    {2, 0, 1000, 55, 55, 45, 35, 60, "Grenzer"},
    {2, 0, 1000, 60, 55, 60, 40, 60, "line battalion"},
    {2, 0, 1000, 60, 55, 60, 40, 60, "honvéd battalion"},
    {3, 0, 8, 60, 30, 90, 40, 55, "foot battery"},
    {3, 1, 8, 50, 30, 80, 40, 85, "horse battery"},
    {3, 0, 8, 24, 25, 120, 60, 35, "siege battery"},
    {3, 0, 8, 40, 60, 120, 40, 20, "fortress battery"},
    {3, 0, 8, 70, 30, 100, 50, 45, "12-pdr battery"},
}};

constexpr std::array<int, 8> kFormationMovement = {0, 80, 120, 80, 100, 50, 110, 60};

constexpr std::array<const char*, 12> kNations = {"",         "Magyar",  "Osztrák", "Orosz",  "Szerb",  "Román",
                                                  "Horvát",   "Bécsi",   "Szász",   "Lengyel", "Szlovák", "Olasz"};

int OwnNation(int side, int nation) { return nation != 0 ? nation : side; }

} // namespace

StateBuilder::StateBuilder(Game& game) : game_(game) {
    State& s = st();
    s.MapMaxX = 62;
    s.MapMaxY = 35;
    for (int y = -1; y <= 36; ++y)
        for (int x = -1; x <= 63; ++x) s.Cell(x, y).Terrain = (x < 0 || y < 0 || x > 62 || y > 35) ? 4 : 0;
    s.TypeCount = 15;
    for (int t = 1; t <= 15; ++t) {
        const TypeRow& row = kTypes[static_cast<std::size_t>(t)];
        TEzredAlap& type = s.Types[static_cast<std::size_t>(t)];
        type = TEzredAlap{row.arm, row.armClass, row.full, row.combat, row.defence, row.observation, row.visibility,
                          row.movement, 70, 40, 75, 75, 6, 0, ShortText<23>(row.name)};
    }
    for (int f = 1; f <= kFormationCount; ++f) {
        TFormation& fm = s.Formations[static_cast<std::size_t>(f)];
        fm.Name = "formation " + std::to_string(f);
        fm.MovementFactor = kFormationMovement[static_cast<std::size_t>(f)];
        fm.ReadinessGain = 10;
        fm.AttackPercent = fm.DefencePercent = 100;
    }
    s.NationCount = kNationCount;
    s.NationFlag = kNationFlag;
    for (int n = 1; n <= kNationCount; ++n) s.Texts.NationName[static_cast<std::size_t>(n)] = kNations[static_cast<std::size_t>(n)];
    s.Texts.SizeClassName[1] = " dandára";
    s.Texts.SizeClassName[2] = " hadosztálya";
    s.Texts.SizeClassName[3] = " hadteste";
    for (int a = 1; a <= 9; ++a) s.Texts.AbilityName[static_cast<std::size_t>(a)] = "ability " + std::to_string(a);
    for (std::size_t k = 1; k <= 3; ++k)
        for (std::size_t n = 1; n <= kNamePoolSize; ++n) {
            s.FamilyNamePool[k][n] = "Family" + std::to_string(k) + "-" + std::to_string(n);
            s.GivenNamePool[k][n] = "Given" + std::to_string(k) + "-" + std::to_string(n);
        }
    s.ActiveSide = 1;
    s.OtherSide = 2;
    s.LocalSide = 1;
    s.LocalOtherSide = 2;
    s.PlayerType[1] = s.PlayerType[2] = 1;
    s.Difficulty = 2;
    s.FogOfWar = 0;
    s.Zeal[1] = s.Zeal[2] = 65;
    s.ZealFloor[1] = s.ZealFloor[2] = 40;
    s.Year = 1848;
    s.Month = 12;
    s.Week = 1;
    FillRandTableWithPositions(s);
    s.RandPos = 1;
    s.RandStep = 1;
}

int StateBuilder::General(int side, GeneralOptions o) {
    State& s = st();
    int g = ++s.GeneralCount[side];
    s.InitialGeneralCount[side] = s.GeneralCount[side];
    TTabornok& t = s.General(side, g);
    t = TTabornok{};
    t.Attack = o.attack;
    t.Defence = o.defence;
    t.Initiative = o.initiative;
    t.Nation = OwnNation(side, o.nation);
    t.Available = o.available;
    t.SpecialAbility = o.ability;
    t.FamilyName = o.family.empty() ? "General" + std::to_string(side) + "-" + std::to_string(g) : o.family;
    t.GivenName = o.given.empty() ? "Given" : o.given;
    return g;
}

StateBuilder& StateBuilder::City(int index, At at, CityOptions o) {
    State& s = st();
    TVaros& v = s.Cities[static_cast<std::size_t>(index)];
    v = TVaros{};
    v.Name = o.name.empty() ? "City" + std::to_string(index) : o.name;
    v.X = at.x;
    v.Y = at.y;
    v.Owner = o.owner;
    v.FlagClass = o.owner;
    v.HomeSide = o.owner;
    v.Kind = o.kind;
    v.VictoryValue = o.victoryValue;
    v.GarrisonCapacity = o.garrisonCapacity;
    v.GarrisonGunCapacity = o.gunCapacity;
    v.FortMax = o.fortMax;
    v.FortStrength = o.fortStrength;
    v.Nation = o.nation;
    v.CaptureCounter = o.captureCounter;
    s.Cell(at.x, at.y).City = index;
    if (o.owner == 1 || o.owner == 2) s.CityPoints[o.owner] += o.victoryValue;
    return *this;
}

int StateBuilder::Corps(int side, At at, std::initializer_list<Reg> regiments, CorpsOptions o) {
    State& s = st();
    int c = ++s.CorpsCount[side];
    THad& h = s.CorpsRec(side, c);
    h = EmptyCorpsRecord();
    h.SelfIndex = c;
    h.X = at.x;
    h.Y = at.y;
    h.Nation = OwnNation(side, o.nation);
    h.General = o.general != 0 ? o.general : General(side, {.nation = h.Nation == 9 ? 9 : (side == 1 ? 1 : 2)});
    h.Formation = o.formation;
    h.Tactic = o.tactic;
    h.Direction = o.direction;
    h.Garrison = o.garrison;
    h.ReconLevel = o.recon;
    h.StackOrder = o.stackOrder;
    h.Activity = o.activity;
    s.General(side, h.General).Corps = c;
    s.Cell(at.x, at.y).CorpsCount += 1;
    if (int city = s.Cell(at.x, at.y).City; city != 0 && o.garrison == 1)
        s.Cities[static_cast<std::size_t>(city)].GarrisonCorps = c;
    for (const Reg& reg : regiments) Regiment(side, c, reg);
    return c;
}

int StateBuilder::Regiment(int side, int corps, Reg reg) {
    State& s = st();
    int r = ++s.RegimentCount[side];
    const TEzredAlap& type = s.Types[static_cast<std::size_t>(reg.type)];
    TEzred& e = s.Regiment(side, r);
    e = TEzred{};
    e.Type = reg.type;
    e.Arm = type.Arm;
    e.Nation = OwnNation(side, reg.nation);
    e.Corps = corps;
    e.Men = reg.men < 0 ? type.FullStrength : reg.men;
    e.FillPercent = type.FullStrength > 0 ? e.Men * 100 / type.FullStrength : 1;
    e.Experience = reg.experience;
    e.Morale = reg.morale;
    e.Readiness = reg.readiness;
    e.Supply = reg.supply;
    e.MovementPoints = e.MovementAllowance = reg.movement;
    e.BattleLine = 1;
    e.Ordinal = ++s.TypeCounter[side][static_cast<std::size_t>(reg.type)];
    e.Name = RegimentTitle(s, side, r);
    if (corps != 0) {
        THad& h = s.CorpsRec(side, corps);
        h.Units[static_cast<std::size_t>(++h.UnitCount)] = r;
        // The totals the transfer rules read before any recompute.
        if (e.Arm == 1) h.CavalryMen += e.Men;
        if (e.Arm == 2) h.InfantryMen += e.Men;
        if (e.Arm == 3) h.Guns += e.Men;
        if (e.Type == kTypeSiegeBattery) h.Type13Men += e.Men;
        if (e.Type == kTypeLevy) h.Type6Men += e.Men;
    }
    return r;
}

StateBuilder& StateBuilder::Terrain(At at, int terrain) {
    st().Cell(at.x, at.y).Terrain = terrain;
    return *this;
}

StateBuilder& StateBuilder::River(At at, int direction, int value) {
    st().Cell(at.x, at.y).River[static_cast<std::size_t>(direction)] = value;
    return *this;
}

StateBuilder& StateBuilder::Entrench(At at, int level, int side) {
    SetEntrenchment(game_, at.x, at.y, level, side);
    return *this;
}

StateBuilder& StateBuilder::RecomputeAll() {
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st().CorpsCount[side]; ++c) RecomputeCorps(game_, side, c);
    return *this;
}

} // namespace vezer::testing
