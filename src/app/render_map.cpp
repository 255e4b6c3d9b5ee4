// vezer render-map: the whole map as a PNG picture, for players and for the authors of the map.

#include "app/commands.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/game.h"
#include "core/headless.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "files/map_files.h"
#include "render/corps_markers.h"
#include "render/map_picture.h"
#include "render/png_file.h"

#include <cstdio>
#include <string>

namespace vezer::app {

int RunRenderMap(const std::vector<std::string>& args) {
    std::string out;
    render::MapPictureOptions options;
    int campaign = 1;
    std::string save;
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
        } else if (a == "--save" && i + 1 < args.size()) {
            save = args[++i];
        } else if (out.empty() && !a.empty() && a[0] != '-') {
            out = a;
        } else {
            std::fprintf(stderr, "vezer render-map: unknown argument '%s'\n", a.c_str());
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr,
                     "usage: vezer render-map OUT.png [--grid-labels] [--campaign N | --save FILE] [--no-legend]\n");
        return 2;
    }
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    State& st = game->state;
    st.DataSet = 1;
    st.Language = 1;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    if (!save.empty()) {
        // A saved game: its cities with their owners, and every corps where it stands.
        try {
            LoadSavedGame(*game, 1, 0, ReadFileBytes(save, save), save);
        } catch (const DataError& e) {
            std::fprintf(stderr, "vezer render-map: %s (%s)\n", e.PlayerMessage().c_str(), e.what());
            return 1;
        }
    } else {
        LoadTerrain(*game, st.DataSet, st.MapMaxX, st.MapMaxY);
        LoadRoads(*game, st.DataSet);
        LoadRivers(*game, st.DataSet);
        LoadCities(*game, st.DataSet, campaign);
    }
    render::Image picture = render::DrawMapPicture(st, options);
    if (!save.empty()) render::DrawCorpsMarkers(picture, st);
    render::WritePng(out, picture);
    std::printf("%s: %d x %d pixels\n", out.c_str(), render::MapPictureWidth(st),
                render::MapPictureHeight(st));
    return 0;
}

} // namespace vezer::app
