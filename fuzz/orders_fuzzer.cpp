// libFuzzer target: order records made from the fuzzer's bytes run as orders from outside on a
// real campaign (the first one, fog of war on); every cross-reference must hold after each.
//
//     cmake --preset fuzz
//     cmake --build build-fuzz --target orders_fuzzer gamedata -j2
//     build-fuzz/fuzz/orders_fuzzer -max_total_time=60

#include "core/game.h"
#include "core/headless.h"
#include "campaign/setup.h"
#include "forces/invariants.h"
#include "orders/orders.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace vezer;

struct Campaign {
    HeadlessPresentation screen;
    NoTransport link;
    std::unique_ptr<Game> game;
    std::unique_ptr<State> start;

    Campaign() {
        game = MakeGame(screen, link, GameDir(VEZER_FUZZ_GAME_DIR));
        CampaignChoices choices;
        choices.playerType1 = choices.playerType2 = 1;
        choices.fogOfWar = 1;
        game->state.DataSet = 1;  // what the main menu sets before any game
        game->state.Language = 1;
        SetUpGame(*game, 1, 1);
        StartCampaign(*game, 1, 1, choices);
        start = std::make_unique<State>(game->state);
    }
};

Campaign& TheCampaign() {
    static Campaign* campaign = new Campaign();
    return *campaign;
}

constexpr int kWild[] = {-1, 0, 31, 100, 255, 65536, -2147483647 - 1, 2147483647};
constexpr std::size_t kChunk = 12;

// Twelve bytes make one record and its carried random position. Most fields are folded into
// (or just past) their range so that the orders reach the rules; a high bit in the last byte
// replaces one field with a wild value.
TParancs MakeOrder(const State& st, const std::uint8_t* b, int& pos, int& step) {
    TParancs o;
    o.Code = b[0] % 32;
    o.Side = b[1] % 4;
    const int side = o.Side == 1 || o.Side == 2 ? o.Side : 1;
    o.Corps = b[2] % (st.CorpsCount[side] + 2);
    const THad& h = st.Corps[side][o.Corps >= 1 && o.Corps <= kMaxCorps ? o.Corps : 0];
    o.HexX = h.X + static_cast<std::int8_t>(b[3]) / 16;
    o.HexY = h.Y + static_cast<std::int8_t>(b[4]) / 16;
    const int wide = b[5] | (b[6] << 8);
    switch (o.Code) {
    case 7: case 13: case 16: o.Param = wide % (st.RegimentCount[side] + 2); break;
    case 6: case 10: o.Param = wide % (st.GeneralCount[side] + 2); break;
    case 21: o.Corps = b[2] % 17; o.Param = wide % 77; break;
    default: o.Param = b[5] % 10; break;
    }
    pos = 1 + ((b[7] | (b[8] << 8)) % kRandTableSize);
    step = b[9] % 17;
    if (b[11] & 0x80) {
        int* fields[8] = {&o.Code, &o.HexX, &o.HexY, &o.Side, &o.Corps, &o.Param, &pos, &step};
        *fields[b[10] % 8] = kWild[b[11] % 8];
    }
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Campaign& c = TheCampaign();
    c.game->state = *c.start;
    c.screen.Clear();
    for (std::size_t at = 0; at + kChunk <= size; at += kChunk) {
        int pos = 1, step = 1;
        const TParancs o = MakeOrder(c.game->state, data + at, pos, step);
        ExecuteIncomingOrder(*c.game, o, pos, step);
        const std::vector<std::string> broken = CheckInvariants(c.game->state);
        if (!broken.empty()) {
            std::fprintf(stderr, "after order %d %d %d %d %d %d:\n", o.Code, o.HexX, o.HexY, o.Side, o.Corps, o.Param);
            for (const std::string& line : broken) std::fprintf(stderr, "  %s\n", line.c_str());
            std::abort();
        }
    }
    return 0;
}
