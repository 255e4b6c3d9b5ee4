#include "catalogue.h"

#include "effects.h"
#include "music.h"

namespace mksound {

namespace {

constexpr int kMusicRate = 44100;

template <Wave (*Make)()> PcmSound Effect() {
    Wave w = Make();
    return {w.rate, {std::move(w.s)}};
}

template <Stereo (*Make)(int)> PcmSound Music() {
    Stereo s = Make(kMusicRate);
    return {kMusicRate, {std::move(s.left.s), std::move(s.right.s)}};
}

} // namespace

const std::vector<Recipe>& Recipes() {
    static const std::vector<Recipe> recipes{
        {"Wave\\csatakezdete", false, false, Effect<BattleBegins>},
        {"Wave\\erodagyuzasa", false, false, Effect<FortressBombarded>},
        {"Wave\\eso", false, false, Effect<RainyWeek>},
        {"Wave\\felkeles", false, false, Effect<Rising>},
        {"Wave\\gyalogcsata", true, false, Effect<InfantryBattle>},
        {"Wave\\gyalogsagvonul", false, false, Effect<InfantryMarching>},
        {"Wave\\gyozelemzene", false, false, Effect<Victory>},
        {"Wave\\hadseregvonul", false, false, Effect<ArmyMarching>},
        {"Wave\\lovascsata", true, false, Effect<CavalryBattle>},
        {"Wave\\lovassagvonul", false, false, Effect<CavalryMarching>},
        {"Wave\\szepido", false, false, Effect<FairWeek>},
        {"Wave\\teliszel", false, false, Effect<WinterWind>},
        {"Wave\\uzenet", false, false, Effect<Message>},
        {"Wave\\veresegzene", false, false, Effect<Defeat>},
        {"Wave\\hosszucsata", true, false, Effect<LongBattle>},
        {"Wave\\vonat", false, false, Effect<Train>},
        {"Wave\\tuz", false, false, Effect<FireInFortress>},
        {"Wave\\Sancepites", false, false, Effect<DiggingIn>},
        {"Wave\\Csatazaj3001", true, false, Effect<BattleNoiseGuns>},
        {"Wave\\Csatazaj3002", true, false, Effect<BattleNoiseVolleys>},
        {"Wave\\Csatazaj3003", true, false, Effect<BattleNoiseCharge>},
        {"Wave\\csatazaj", true, false, Effect<BattleNoise>},
        {"Wave\\Erodepites", false, false, Effect<Fortifying>},
        {"Wave\\focim", false, true, Music<TitleMarch>},
        {"Wave\\01-reklam", false, true, Music<FarewellCadence>},
        {"Wave\\hatterzene", true, true, Music<SlowTheme>},
    };
    return recipes;
}

} // namespace mksound
