// mkdata: compiles the readable sources under assets/ into the game's data files.
//
//   mkdata all --assets DIR --out GAMEDIR

#include "mkdata.h"

#include "core/errors.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Step {
    const char* name;
    std::function<void(const mkdata::Context&)> run;
};

// In dependency order: later files may read earlier ones (a campaign reads the map).
const std::vector<Step>& Steps() {
    static const std::vector<Step> steps = {
        {"random-table", mkdata::CompileRandomTable},
        {"types", mkdata::CompileTypes},
        {"generals", mkdata::CompileGenerals},
        {"names", mkdata::CompileNamePools},
        {"weather", mkdata::CompileWeather},
        {"texts", mkdata::CompileTexts},
        {"settings", mkdata::CompileSettings},
        {"map", mkdata::CompileMap},
        {"reinforcements", mkdata::CompileReinforcements},
        {"campaigns", mkdata::CompileCampaigns},
        {"campaign-texts", mkdata::CompileCampaignTexts},
    };
    return steps;
}

int Usage() {
    std::fprintf(stderr, "usage: mkdata all|<step> --assets DIR --out GAMEDIR\nsteps:");
    for (const Step& s : Steps()) std::fprintf(stderr, " %s", s.name);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string what = argv[1];
    mkdata::Context ctx;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--assets") == 0) ctx.assets = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0) ctx.out = argv[i + 1];
        else return Usage();
    }
    if (ctx.assets.empty() || ctx.out.empty()) return Usage();
    bool any = false;
    try {
        for (const Step& s : Steps()) {
            if (what != "all" && what != s.name) continue;
            any = true;
            s.run(ctx);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdata: %s\n", e.what());
        return 1;
    }
    if (!any) return Usage();
    return 0;
}
