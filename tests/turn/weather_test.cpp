#include "core/random.h"
#include "files/scenario_files.h"
#include "support/draws.h"
#include "support/test_game.h"
#include "turn/weather.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

namespace vezer {
namespace {

using testing::QueueDraws;
using testing::TestGame;

// A month whose draws are scripted: the temperature and weather tables are the test's own.
struct Weather : ::testing::Test {
    TestGame t;
    State& st() { return t.st(); }
    void SetUp() override {
        testing::FillRandTableWithPositions(st());
        st().RandPos = 1;
        st().RandStep = 1;
        st().Month = 5;
        st().TerrainCostBase = {8, 10, 15, 15};
        // r < 40: frost, r < 80: cool; r < 30 fair, < 50 overcast, < 80 rain, else snow.
        st().WeatherTable[5] = TWeatherMonth{{0, 30, 20, 30, 20}, {0, 40, 40, 20}, 0};
    }
    struct Week {
        int temperature, weather, river, danube, ground;
    };
    void Last(Week w) {
        st().Temperature = w.temperature;
        st().Weather = w.weather;
        st().RiverState = w.river;
        st().DanubeState = w.danube;
        st().GroundState = w.ground;
    }
    Week Now() {
        return {st().Temperature, st().Weather, st().RiverState, st().DanubeState, st().GroundState};
    }
};

// Draws that give a temperature and a weather: frost 1, cool 50, warm 90; fair 1, overcast
// 40, rain 60, snow 90.
constexpr int kFrost = 1, kCool = 50, kWarm = 90;
constexpr int kFair = 1, kOvercast = 40, kRain = 60, kSnow = 90;

TEST_F(Weather, TemperatureAndWeatherFollowTheMonthsTableAndMisfitsAreDrawnAgain) {
    struct Case {
        std::array<int, 5> draws;
        int expectedTemperature, expectedWeather, expectedDraws;
    } cases[] = {
        {{kFrost, kFair, 50}, 1, 1, 3},
        {{39, 29, 50}, 1, 1, 3}, // just below each bound
        {{40, 30, 50}, 2, 2, 3}, // on the bound: the next class
        {{79, 49, 50}, 2, 2, 3},
        {{80, 79, 50}, 3, 3, 3},
        {{kCool, 80, kFair, 50}, 2, 1, 4}, // snow needs frost: drawn again
        {{kWarm, kSnow, kSnow, kRain, 50}, 3, 3, 5},
        {{kFrost, kRain, kSnow, 50}, 1, 4, 4}, // rain needs a week without frost
        {{kFrost, kRain, kRain, kOvercast, 50}, 1, 2, 5},
    };
    for (const Case& c : cases) {
        SetUp();
        Last({2, 1, 1, 1, 1});
        QueueDraws(st(), {c.draws[0], c.draws[1], c.draws[2], c.draws[3], c.draws[4]});
        const int before = st().RandPos;
        DrawWeather(t.g(), true);
        EXPECT_EQ(st().Temperature, c.expectedTemperature) << c.draws[0] << " " << c.draws[1];
        EXPECT_EQ(st().Weather, c.expectedWeather) << c.draws[0] << " " << c.draws[1];
        EXPECT_EQ(testing::DrawsSince(st(), before), c.expectedDraws) << c.draws[0] << " " << c.draws[1];
    }
}

TEST_F(Weather, RiversFreezeAndThawAndRiseInMonthsOfHighWater) {
    struct Case {
        int prevTemperature, prevWeather, river, temperatureDraw, weatherDraw, highWater, expected;
    } cases[] = {
        {1, 1, 4, kFrost, kFair, 0, 4}, // frozen stays frozen through frost
        {1, 1, 4, kCool, kFair, 0, 3},  // the first week without frost: drifting ice
        {2, 1, 1, kFrost, kFair, 0, 3}, // the first frosty week
        {2, 1, 3, kFrost, kFair, 0, 4}, // drifting ice freezes
        {1, 1, 1, kFrost, kFair, 0, 4}, // two frosty weeks
        {2, 3, 1, kCool, kRain, 0, 2},  // two weeks of rain
        {2, 3, 3, kCool, kRain, 0, 2},  {2, 1, 2, kCool, kRain, 0, 1},
        {2, 1, 1, kCool, kFair, 1, 2}, // high water when the weather draw was below 26
        {2, 1, 1, kCool, 25, 1, 2},     {2, 1, 1, kCool, 26, 1, 1},
        {2, 1, 1, kCool, kFair, 0, 1},  {2, 1, 4, kWarm, kFair, 1, 3}, // only normal water rises
    };
    for (const Case& c : cases) {
        SetUp();
        st().WeatherTable[5].Weather = {0, 26, 14, 40, 20}; // fair below 26, rain from 40 to 79
        st().WeatherTable[5].HighWater = c.highWater;
        Last({c.prevTemperature, c.prevWeather, c.river, 1, 1});
        QueueDraws(st(), {c.temperatureDraw, c.weatherDraw, 99});
        DrawWeather(t.g(), true);
        EXPECT_EQ(st().RiverState, c.expected)
            << c.prevTemperature << " " << c.prevWeather << " " << c.river << " " << c.temperatureDraw << " "
            << c.weatherDraw << " " << c.highWater;
        EXPECT_EQ(st().PrevTemperature, c.prevTemperature);
        EXPECT_EQ(st().PrevWeather, c.prevWeather);
    }
}

TEST_F(Weather, TheDanubeKeepsItsOwnRulesAndItsOwnDraw) {
    struct Case {
        int prevTemperature, prevWeather, danube, temperatureDraw, weatherDraw, danubeDraw, highWater,
            expected;
    } cases[] = {
        {1, 1, 4, kFrost, kFair, 99, 0, 4},
        {2, 1, 4, kFrost, kFair, 99, 0, 4}, // frozen stays frozen in any frosty week
        {1, 1, 4, kCool, kFair, 99, 0, 3},
        {1, 1, 3, kFrost, kFair, 99, 0, 4}, // two frosty weeks freeze drifting ice
        {1, 1, 1, kFrost, kFair, 99, 0, 3}, // ... and make normal water drift
        {3, 1, 3, kFrost, kFair, 99, 0, 4}, // drifting ice freezes after a mild week too
        {3, 1, 1, kFrost, kFair, 99, 0, 1}, // the first frosty week leaves it running
        {2, 3, 1, kCool, kRain, 99, 0, 2},
        {2, 1, 1, kCool, kFair, 25, 1, 2}, // its own draw decides the high water
        {2, 1, 1, kCool, kFair, 26, 1, 1},
        {2, 1, 1, kCool, kFair, 25, 0, 1},
    };
    for (const Case& c : cases) {
        SetUp();
        st().WeatherTable[5].HighWater = c.highWater;
        Last({c.prevTemperature, c.prevWeather, 1, c.danube, 1});
        QueueDraws(st(), {c.temperatureDraw, c.weatherDraw, c.danubeDraw});
        DrawWeather(t.g(), true);
        EXPECT_EQ(st().DanubeState, c.expected)
            << c.prevTemperature << " " << c.prevWeather << " " << c.danube << " " << c.temperatureDraw << " "
            << c.danubeDraw << " " << c.highWater;
    }
}

TEST_F(Weather, TheGroundFreezesThawsAndTurnsToMud) {
    struct Case {
        int prevGround, prevWeather, temperatureDraw, weatherDraw, expected;
    } cases[] = {
        {3, 1, kCool, kFair, 2},  // snow melts into mud in the first week without frost
        {3, 1, kFrost, kFair, 3}, // and lies while it freezes
        {1, 1, kFrost, kFair, 4}, // frozen
        {1, 1, kFrost, kSnow, 3}, // snow falls
        {1, 3, kCool, kFair, 2},  // last week's rain leaves mud
        {1, 3, kFrost, kSnow, 3},    {1, 1, kCool, kRain, 2},
        {1, 1, kCool, kOvercast, 1}, {2, 1, kWarm, kFair, 1},
    };
    for (const Case& c : cases) {
        SetUp();
        Last({2, c.prevWeather, 1, 1, c.prevGround});
        QueueDraws(st(), {c.temperatureDraw, c.weatherDraw, 99});
        DrawWeather(t.g(), true);
        EXPECT_EQ(st().GroundState, c.expected)
            << c.prevGround << " " << c.prevWeather << " " << c.temperatureDraw << " " << c.weatherDraw;
        EXPECT_EQ(st().PrevGround, c.prevGround);
    }
}

TEST_F(Weather, TheCostsFollowTheStatesWithOrWithoutADraw) {
    Last({2, 1, 3, 2, 2});
    const int before = st().RandPos;
    DrawWeather(t.g(), false);
    EXPECT_EQ(st().RandPos, before);
    EXPECT_EQ(Now().river, 3);
    EXPECT_EQ(st().RiverCost1, 30);
    EXPECT_EQ(st().RiverCost2, 45);
    EXPECT_EQ(st().TerrainCost[0], 10); // mud: 8 x 1.3
    // A drawn week sets the costs of its own states: frozen rivers are the cheapest.
    Last({1, 1, 4, 4, 1});
    QueueDraws(st(), {kFrost, kFair, 99});
    DrawWeather(t.g(), true);
    EXPECT_EQ(st().RiverCost1, 5);
    EXPECT_EQ(st().RiverCost2, 5);
    EXPECT_EQ(st().GroundState, 4);
}

TEST(WeatherTable, AHandMadeTableThatCannotEndStopsTheRedraws) {
    TestGame t;
    State& st = t.st();
    testing::FillRandTableWithPositions(st);
    st.RandPos = 1;
    st.RandStep = 1;
    st.Month = 1;
    st.WeatherTable[1] = TWeatherMonth{{0, 0, 0, 101, 0}, {0, 101, 0, 0}, 0}; // frost, and only rain
    const auto reference = std::make_unique<State>(st);
    DrawWeather(t.g(), true);
    EXPECT_EQ(st.Temperature, 1);
    EXPECT_EQ(st.Weather, 1);
    EXPECT_FALSE(WeatherDrawCanEnd(st.WeatherTable[1]));
    // The temperature, a whole table's worth of weather draws and the Danube's: a fixed number,
    // so two machines leave such a week with the same cursor.
    for (int i = 0; i < kRandTableSize + 2; ++i) R(*reference, 100);
    EXPECT_EQ(st.RandPos, reference->RandPos);
}

// A long run of weeks on our own weather table and random table: each month's temperatures
// and weathers come out in the table's proportions (the redraw makes the weather's chances
// conditional on the temperature).
TEST(WeatherTable, AYearOfWeeksFollowsEachMonthsTable) {
    TestGame t;
    State& st = t.st();
    LoadRandomTable(t.g());
    LoadWeatherTables(t.g(), 1);
    st.RandPos = 4711;
    st.RandStep = 7;
    st.TerrainCostBase = {8, 10, 15, 15};
    st.Temperature = st.Weather = st.GroundState = st.RiverState = st.DanubeState = 1;
    constexpr int kYears = 150;
    std::array<std::array<int, 4>, 13> temperatures{};
    std::array<std::array<std::array<int, 5>, 4>, 13> weathers{};
    st.Year = 1848;
    st.Month = 1;
    st.Week = 1;
    for (int w = 0; w < kYears * 48; ++w) {
        DrawWeather(t.g(), true);
        ++temperatures[static_cast<std::size_t>(st.Month)][static_cast<std::size_t>(st.Temperature)];
        ++weathers[static_cast<std::size_t>(st.Month)][static_cast<std::size_t>(st.Temperature)]
                  [static_cast<std::size_t>(st.Weather)];
        if (++st.Week > 4) {
            st.Week = 1;
            if (++st.Month > 12) st.Month = 1;
        }
    }
    const double n = kYears * 4;
    for (int m = 1; m <= 12; ++m) {
        const TWeatherMonth& tab = st.WeatherTable[static_cast<std::size_t>(m)];
        // The chances of each class for a draw r = 1..100.
        std::array<double, 4> p{};
        std::array<double, 5> q{};
        for (int r = 1; r <= 100; ++r) {
            const int t1 = tab.Temperature[1], t2 = t1 + tab.Temperature[2];
            p[static_cast<std::size_t>(r < t1 ? 1 : r < t2 ? 2 : 3)] += 0.01;
            const int w1 = tab.Weather[1], w2 = w1 + tab.Weather[2], w3 = w2 + tab.Weather[3];
            q[static_cast<std::size_t>(r < w1 ? 1 : r < w2 ? 2 : r < w3 ? 3 : 4)] += 0.01;
        }
        for (std::size_t k = 1; k <= 3; ++k) {
            const double sigma = std::sqrt(n * p[k] * (1 - p[k])) + 1;
            EXPECT_NEAR(temperatures[static_cast<std::size_t>(m)][k], n * p[k], 4 * sigma)
                << "month " << m << " temperature " << k;
            // The weather of such weeks: the classes that fit the temperature, in proportion.
            const int drawn = temperatures[static_cast<std::size_t>(m)][k];
            if (drawn < 30) continue;
            std::array<double, 5> fit = q;
            fit[k == 1 ? 3 : 4] = 0;
            const double all = fit[1] + fit[2] + fit[3] + fit[4];
            for (std::size_t wk = 1; wk <= 4; ++wk) {
                const double share = fit[wk] / all;
                const double s = std::sqrt(drawn * share * (1 - share)) + 1;
                EXPECT_NEAR(weathers[static_cast<std::size_t>(m)][k][wk], drawn * share, 4 * s)
                    << "month " << m << " temperature " << k << " weather " << wk;
            }
        }
    }
}

TEST(WeatherSound, FairRainAndSnowHaveTheirSounds) {
    EXPECT_EQ(WeatherSound(1), 12);
    EXPECT_EQ(WeatherSound(2), 0);
    EXPECT_EQ(WeatherSound(3), 4);
    EXPECT_EQ(WeatherSound(4), 13);
}

} // namespace
} // namespace vezer
