// The corps menu's items and hints, as compiled into the game directory.

#include "core/errors.h"
#include "core/textfile.h"
#include "forces/permission_hints.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <set>

namespace vezer {
namespace {

TEST(PermissionHints, TheHungarianMenuSaysWhatEachFlagAsksFor) {
    const PermissionHints hu = LoadPermissionHints(GameDir(testing::CompiledGameDir()), 1);
    struct Quoted {
        Permission flag;
        const char* item;
        const char* hint;
    };
    // The corps menu as the player knows it.
    const Quoted menu[] = {
        {Permission::CanFormNewCorps, "Új hadtest", "Új hadtest létrehozása"},
        {Permission::CanTransferRegiments, "Ezred áthelyez", "Ezred áthelyezése az aktív hadtestbe"},
        {Permission::MayChangeFormation, "Felállás váltás", "Más formációra váltás"},
        {Permission::CanChangeTactic, "Taktika váltás",
         "Mennyire küzdjön a hadtest (túlero ellen kockázatos a vakmero taktika)"},
        {Permission::CanChangeGeneral, "Tábornok", "Tábornok leváltása"},
        {Permission::CanEntrench, "Sáncot épít",
         "Feltétel: min. 3000 gyalogos, >70 ellátmány, védekezés felállás, 30 mp"},
        {Permission::CanBombard, "Bombard fort", "Feltétel: ellenséges erod a területen, ostromágyúk, ostrom felállás"},
        {Permission::CanRepairFort, "Repair fort", "Feltétel: saját erod a területen, min. 1000 gyalogos, >30 ellátmány"},
        {Permission::CanStorm, "Roham", "Feltétel: ellenséges erod, fal szintje=1, 1000 gyalogos"},
    };
    for (const Quoted& q : menu) {
        const PermissionHint& h = hu[static_cast<std::size_t>(q.flag)];
        SCOPED_TRACE(kPermissionNames[static_cast<std::size_t>(q.flag)]);
        EXPECT_EQ(h.item, q.item);
        EXPECT_EQ(h.hint, q.hint);
    }
    // The two without a quoted text still state their conditions.
    for (Permission p : {Permission::CanAttack, Permission::SiegeGunsAtEnemyFort})
        EXPECT_EQ(hu[static_cast<std::size_t>(p)].hint.rfind("Feltétel: ", 0), 0u) << kPermissionNames[static_cast<std::size_t>(p)];
}

TEST(PermissionHints, EveryFlagHasAnEnglishItemAndHintOfItsOwn) {
    const PermissionHints hu = LoadPermissionHints(GameDir(testing::CompiledGameDir()), 1);
    const PermissionHints en = LoadPermissionHints(GameDir(testing::CompiledGameDir()), 2);
    std::set<std::string> hints;
    for (std::size_t i = 0; i < en.size(); ++i) {
        SCOPED_TRACE(kPermissionNames[i]);
        EXPECT_FALSE(en[i].item.empty());
        EXPECT_FALSE(en[i].hint.empty());
        EXPECT_TRUE(hints.insert(en[i].hint).second) << "two flags share a hint";
        EXPECT_NE(en[i].hint, hu[i].hint) << "not translated";
    }
}

TEST(PermissionHints, AFileWithLinesMissingIsRefused) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Data");
    std::vector<std::string> lines(2 * kPermissionCount, "x");
    WriteTextLines(dir.path() / "Data" / "hadtestmenu1.dat", lines);
    EXPECT_NO_THROW(LoadPermissionHints(GameDir(dir.path()), 1));
    lines.pop_back();
    WriteTextLines(dir.path() / "Data" / "hadtestmenu1.dat", lines);
    EXPECT_THROW(LoadPermissionHints(GameDir(dir.path()), 1), DataError);
    lines.push_back("");
    WriteTextLines(dir.path() / "Data" / "hadtestmenu1.dat", lines);
    EXPECT_THROW(LoadPermissionHints(GameDir(dir.path()), 1), DataError);
    EXPECT_THROW(LoadPermissionHints(GameDir(dir.path()), 2), FileIoError);
}

TEST(PermissionHints, EachItemReadsItsOwnFlag) {
    Byte THad::*const fields[kPermissionCount] = {
        &THad::CanAttack,        &THad::CanBombard,         &THad::CanStorm,         &THad::CanFormNewCorps,
        &THad::CanTransferRegiments, &THad::MayChangeFormation, &THad::CanChangeTactic, &THad::CanChangeGeneral,
        &THad::CanEntrench,      &THad::CanRepairFort,      &THad::SiegeGunsAtEnemyFort};
    for (int set = 0; set < kPermissionCount; ++set) {
        THad h;
        h.*fields[set] = 1;
        for (int p = 0; p < kPermissionCount; ++p)
            EXPECT_EQ(Permitted(h, static_cast<Permission>(p)), p == set) << kPermissionNames[static_cast<std::size_t>(p)];
    }
}

} // namespace
} // namespace vezer
