#include "turn/weather.h"

#include "core/random.h"
#include "map/queries.h"

namespace vezer {

namespace {

// A table the reader accepted always lets the draw end; a hand-made one could not, so the
// redraws stop after as many draws as the random table holds and the week stays fair.
constexpr int kMaxWeatherDraws = kRandTableSize;

const TWeatherMonth& MonthTable(const State& st) {
    const int m = st.Month >= 1 && st.Month <= 12 ? st.Month : 0;
    return st.WeatherTable[static_cast<std::size_t>(m)];
}

int DrawTemperature(State& st, const TWeatherMonth& t) {
    const int r = R(st, 100);
    if (r < t.Temperature[1]) return 1;
    if (r < t.Temperature[1] + t.Temperature[2]) return 2;
    return 3;
}

// Snow needs frost and rain needs a week without it: the weather is drawn again until it
// fits. Returns the weather and, through lastDraw, the last draw (the rivers' high water).
int DrawFittingWeather(State& st, const TWeatherMonth& t, int& lastDraw) {
    const int w1 = t.Weather[1], w12 = w1 + t.Weather[2], w123 = w12 + t.Weather[3];
    for (int draws = 0; draws < kMaxWeatherDraws; ++draws) {
        lastDraw = R(st, 100);
        const int weather = lastDraw < w1 ? 1 : lastDraw < w12 ? 2 : lastDraw < w123 ? 3 : 4;
        const bool fits = st.Temperature == 1 ? weather != 3 : weather != 4;
        if (fits) return weather;
    }
    return 1;
}

int NextRiverState(const State& st) {
    if (st.RiverState == 4 && st.Temperature != 1) return 3;
    if (st.PrevTemperature == 1 && st.Temperature == 1) return 4;
    if (st.RiverState == 3 && st.Temperature == 1) return 4;
    if (st.Temperature == 1) return 3;
    if (st.Weather == 3 && st.PrevWeather == 3) return 2;
    return 1;
}

int NextDanubeState(const State& st) {
    if (st.DanubeState == 4 && st.Temperature == 1) return 4;
    if (st.DanubeState == 4) return 3;
    if (st.PrevTemperature == 1 && st.Temperature == 1) return st.DanubeState == 3 ? 4 : 3;
    if (st.Weather == 3 && st.PrevWeather == 3) return 2;
    if (st.Temperature == 1 && st.DanubeState == 3) return 4;
    return 1;
}

int NextGroundState(const State& st) {
    if (st.PrevGround == 3 && st.Temperature != 1) return 2;
    if (st.PrevGround == 3) return 3;
    if (st.Temperature == 1 && st.Weather != 4) return 4;
    if (st.PrevWeather == 3 && st.Temperature != 1) return 2;
    if (st.Weather == 4) return 3;
    return st.Weather == 3 ? 2 : 1;
}

// Rivers that would run normally rise in a month of high water when the draw is low.
int HighWater(int state, const TWeatherMonth& t, int draw) {
    return state == 1 && t.HighWater != 0 && draw < 26 ? 2 : state;
}

void DrawWeek(State& st) {
    const TWeatherMonth& t = MonthTable(st);
    st.PrevTemperature = st.Temperature;
    st.PrevWeather = st.Weather;
    st.PrevGround = st.GroundState;
    st.Temperature = DrawTemperature(st, t);
    int lastWeatherDraw = 0;
    st.Weather = DrawFittingWeather(st, t, lastWeatherDraw);
    st.RiverState = HighWater(NextRiverState(st), t, lastWeatherDraw);
    const int danubeDraw = R(st, 100);
    st.DanubeState = HighWater(NextDanubeState(st), t, danubeDraw);
    st.GroundState = NextGroundState(st);
}

} // namespace

void DrawWeather(Game& game, bool draw) {
    if (draw) DrawWeek(game.state);
    RecomputeMoveCosts(game.state);
}

int WeatherSound(int weather) {
    switch (weather) {
    case 1:
        return kSoundFairWeather;
    case 3:
        return kSoundRain;
    case 4:
        return kSoundSnow;
    default:
        return 0;
    }
}

} // namespace vezer
