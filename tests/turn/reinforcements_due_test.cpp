// Which scheduled records march in: the date, the campaign's start, the arrived flag and the
// intervention options, each at its edge.

#include "turn/reinforcements.h"

#include "core/calendar.h"

#include <gtest/gtest.h>

#include <memory>

namespace vezer {
namespace {

// A campaign that began on 1849-2-1 and stands in its third week, with one record.
std::unique_ptr<State> OneRecord(int nation, int limited, Date arrival) {
    auto st = std::make_unique<State>();
    st->Campaign = 2;
    st->StartYear = 1849;
    st->StartMonth = 2;
    st->StartWeek = 1;
    st->Year = 1849;
    st->Month = 2;
    st->Week = 3;
    st->ReinforcementCount = 1;
    TErosites& r = st->Reinforcements[1];
    r.Year = arrival.year;
    r.Month = arrival.month;
    r.Week = arrival.week;
    r.Side = nation == 1 || nation == 9 ? 1 : 2;
    r.LimitedIntervention = limited;
    r.Template.Nation = nation;
    return st;
}

TEST(ReinforcementDue, ComesFromItsWeekOnAndNeverFromBeforeTheStart) {
    struct Case {
        Date arrival;
        bool due;
    };
    const Case cases[] = {
        {{1849, 2, 3}, true},   // this week
        {{1849, 2, 2}, true},   // a week late (a record that could not come yet)
        {{1849, 2, 1}, true},   // the start week
        {{1849, 2, 4}, false},  // next week
        {{1849, 3, 1}, false},  // next month, an earlier week number
        {{1848, 12, 4}, false}, // before the campaign began
        {{1848, 4, 4}, false},  // a larger week and month of an earlier year
    };
    for (const Case& c : cases) {
        auto st = OneRecord(2, 0, c.arrival);
        EXPECT_EQ(ReinforcementDue(*st, 1), c.due) << c.arrival.year << "-" << c.arrival.month << "-" << c.arrival.week;
    }
    auto st = OneRecord(2, 0, {1849, 2, 1});
    st->Reinforcements[1].Arrived = 1;
    EXPECT_FALSE(ReinforcementDue(*st, 1)) << "a record arrives once";
    st->Reinforcements[1].Arrived = 0;
    EXPECT_FALSE(ReinforcementDue(*st, 0));
    EXPECT_FALSE(ReinforcementDue(*st, 2)) << "beyond the schedule";
    st->Campaign = 0;
    EXPECT_FALSE(ReinforcementDue(*st, 1)) << "nothing arrives in the tutorial";
}

TEST(ReinforcementDue, TheInterventionOptionsDecideTheRussiansAndThePoles) {
    // option 0 none, 1 limited, 2 full; a record marked limited comes under both.
    for (int nation : {3, 9})
        for (int limited = 0; limited <= 1; ++limited)
            for (int option = 0; option <= 2; ++option) {
                auto st = OneRecord(nation, limited, {1849, 2, 3});
                (nation == 3 ? st->RussianIntervention : st->PolishIntervention) = option;
                // The other nation's option has no say.
                (nation == 3 ? st->PolishIntervention : st->RussianIntervention) = 2 - option;
                bool expected = option == 2 || (option == 1 && limited == 1);
                EXPECT_EQ(ReinforcementDue(*st, 1), expected)
                    << "nation " << nation << " limited " << limited << " option " << option;
                EXPECT_EQ(InterventionAllows(*st, st->Reinforcements[1]), expected);
            }
    // Every other nation comes whatever the options, the limited flag notwithstanding.
    for (int nation : {1, 2, 4, 5, 6, 8}) {
        auto st = OneRecord(nation, 1, {1849, 2, 3});
        EXPECT_TRUE(ReinforcementDue(*st, 1)) << "nation " << nation;
    }
}

} // namespace
} // namespace vezer
