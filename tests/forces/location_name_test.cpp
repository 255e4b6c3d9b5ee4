#include "forces/location_name.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

// Where a corps stands, in the words of the list of all corps: the city it stands in, else the
// nearest city's surroundings, the first city winning a tie, in the interface's word order.
TEST(CorpsLocationName, NamesTheCityItStandsInElseTheNearestOnesSurroundings) {
    testing::TestGame t;
    testing::StateBuilder b(t.g());
    b.City(1, {10, 10}, {.name = "Pest"});
    b.City(2, {20, 10}, {.name = "Szeged"});
    b.City(3, {10, 20}, {.name = "Árpádváros"});
    t.st().DistanceFactor = 1; // the week's factor (clear weather)
    const int inPest = b.Corps(1, {10, 10}, {{.type = 9}});
    const int nearSzeged = b.Corps(1, {18, 10}, {{.type = 9}});
    const int between = b.Corps(1, {15, 10}, {{.type = 9}});
    EXPECT_EQ(CorpsLocationName(t.st(), 1, inPest, 1, "near"), "Pest");
    EXPECT_EQ(CorpsLocationName(t.st(), 1, nearSzeged, 1, "near"), "Szeged környéke");
    EXPECT_EQ(CorpsLocationName(t.st(), 1, nearSzeged, 2, "near"), "near Szeged");
    // Five hexes from Pest and from Szeged: Pest comes first in the city table.
    EXPECT_EQ(CorpsLocationName(t.st(), 1, between, 1, "near"), "Pest környéke");
    EXPECT_EQ(CorpsLocationName(t.st(), 1, 99, 1, "near"), "");
    EXPECT_EQ(CorpsLocationName(t.st(), 3, inPest, 1, "near"), "");
}

TEST(CorpsLocationName, CutsAtOneHundredAndTwentyCharactersNeverInsideALetter) {
    testing::TestGame t;
    testing::StateBuilder b(t.g());
    b.City(1, {10, 10}, {.name = "Pest"});
    const int c = b.Corps(1, {12, 10}, {{.type = 9}});
    std::string near;
    for (int i = 0; i < 130; ++i) near += "é";
    const std::string name = CorpsLocationName(t.st(), 1, c, 2, near);
    EXPECT_EQ(name.size(), 240u) << "120 two-byte letters";
    EXPECT_EQ(name.substr(0, 2), "é");
}

} // namespace
} // namespace vezer
