#pragma once
// What the game's data set fixes, one constexpr table each: its sizes, the campaign calendar and
// the arm of each regiment type. The set-up reads them, and so does the data compiler, which
// refuses sources that disagree with them: the two cannot drift apart.

#include "core/calendar.h"
#include "core/state.h"

#include <array>

namespace vezer {

// The sizes of the shipped data set: the map, the tables and the two rosters of generals.
struct DataSetSizes {
    int mapMaxX = 0, mapMaxY = 0; // the map runs 0..62 x 0..35
    int typeCount = 0;
    int cityCount = 0;
    int formationCount = 0;
    PerSide<int> generals{}; // on the roster of each side
};
inline constexpr DataSetSizes kDataSetSizes{62, 35, 15, kCityCount, kFormationCount, {0, 42, 60}};

// A campaign's calendar: its first week, the week it ends, the temperature of its first week and
// what a won battle and a won engagement are worth at the end.
struct CampaignDates {
    Date start;
    Date end;
    int startTemperature = 0;
    int battleVictoryValue = 0;
    int engagementVictoryValue = 0;
};
inline constexpr int kCampaignCount = 7; // 0 the tutorial .. 6 Transylvania
inline constexpr std::array<CampaignDates, kCampaignCount> kCampaignCalendar = {{
    {{1848, 12, 1}, {1849, 3, 1}, 2, 500, 200},  // 0 the tutorial, on the winter's ground
    {{1848, 9, 1}, {1848, 12, 1}, 3, 500, 200},  // 1 autumn 1848
    {{1848, 12, 1}, {1849, 3, 1}, 2, 500, 200},  // 2 the winter campaign
    {{1849, 3, 1}, {1849, 6, 1}, 2, 500, 200},   // 3 the spring campaign
    {{1849, 6, 1}, {1849, 10, 1}, 3, 500, 200},  // 4 summer 1849
    {{1848, 9, 1}, {1850, 1, 1}, 3, 250, 100},   // 5 the whole war, where battles are many
    {{1848, 12, 1}, {1849, 6, 1}, 2, 500, 200},  // 6 Transylvania
}};
// The calendar of `campaign`; a number outside the list has the tutorial's.
constexpr const CampaignDates& CampaignCalendar(int campaign) {
    return kCampaignCalendar[campaign >= 0 && campaign < kCampaignCount ? static_cast<std::size_t>(campaign) : 0];
}

// The commanders of the main theatre, who take no part in the Transylvanian campaign: at its
// start and on every load they are away.
inline constexpr std::array<int, 19> kAwayFromTransylvania1 = {1,  4,  5,  6,  12, 13, 16, 17, 18, 19,
                                                               20, 25, 27, 30, 33, 34, 35, 39, 42};
inline constexpr std::array<int, 36> kAwayFromTransylvania2 = {1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 15, 16,
                                                               18, 20, 22, 23, 26, 30, 31, 35, 37, 38, 39, 40,
                                                               42, 43, 45, 46, 47, 49, 50, 51, 54, 55, 57, 58};
constexpr bool AwayFromTransylvania(int side, int general) {
    if (side == 1) {
        for (int g : kAwayFromTransylvania1)
            if (g == general) return true;
    } else if (side == 2) {
        for (int g : kAwayFromTransylvania2)
            if (g == general) return true;
    }
    return false;
}

// The arm of each regiment type: 1..4 cavalry, 5..10 infantry, 11..15 artillery (so a corps
// lists its arms in order of its types).
inline constexpr std::array<int, 16> kArmOfType = {0, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3};
constexpr int ArmOfType(int type) {
    return type >= 1 && type < static_cast<int>(kArmOfType.size()) ? kArmOfType[static_cast<std::size_t>(type)] : 0;
}

} // namespace vezer
