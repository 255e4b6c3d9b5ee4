// vezer render-map: the whole map as a PNG picture, for players and for the authors of the map.

#include "app/commands.h"

#include "core/game.h"
#include "core/headless.h"
#include "map/map_files.h"
#include "render/map_picture.h"
#include "render/png_file.h"

#include <cstdio>
#include <string>

namespace vezer::app {

int RunRenderMap(const std::vector<std::string>& args) {
    std::string out;
    render::MapPictureOptions options;
    int campaign = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--grid-labels") {
            options.gridLabels = true;
        } else if (a == "--no-legend") {
            options.legend = false;
        } else if (a == "--campaign" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v.size() != 1 || v[0] < '0' || v[0] > '6') {
                std::fprintf(stderr, "vezer render-map: the campaign is a number 0..6\n");
                return 2;
            }
            campaign = v[0] - '0';
        } else if (out.empty() && !a.empty() && a[0] != '-') {
            out = a;
        } else {
            std::fprintf(stderr, "vezer render-map: unknown argument '%s'\n", a.c_str());
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr,
                     "usage: vezer render-map OUT.png [--grid-labels] [--campaign N] [--no-legend]\n");
        return 2;
    }
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    State& st = game->state;
    st.DataSet = 1;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    LoadTerrain(*game, st.DataSet, st.MapMaxX, st.MapMaxY);
    LoadRoads(*game, st.DataSet);
    LoadRivers(*game, st.DataSet);
    LoadCities(*game, st.DataSet, campaign);
    render::WritePng(out, render::DrawMapPicture(st, options));
    std::printf("%s: %d x %d pixels\n", out.c_str(), render::MapPictureWidth(st),
                render::MapPictureHeight(st));
    return 0;
}

} // namespace vezer::app
