#include "support/window_harness.h"

#include <fcntl.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace vezer::test {

namespace fs = std::filesystem;

namespace {

// A scratch game directory: the build's data and pictures linked in, its own save folder and
// settings (written as new files over the links).
fs::path MakeGameDir(const std::string& name) {
    const fs::path build = VEZER_TEST_GAME_DIR;
    const fs::path dir =
        fs::temp_directory_path() / ("vezer-window-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Data");
    fs::create_directories(dir / "save");
    for (const auto& entry : fs::directory_iterator(build / "Data"))
        fs::create_symlink(entry.path(), dir / "Data" / entry.path().filename());
    for (const char* shared : {"pictures", "locale", "tabornok"})
        if (fs::exists(build / shared)) fs::create_directory_symlink(build / shared, dir / shared);
    return dir;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

bool ReadPng(const fs::path& path, Picture& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    return true;
}

} // namespace

ScriptRun RunWindowScript(const std::string& script, const std::vector<std::string>& extraArgs) {
    ScriptRun run;
    run.gameDir = MakeGameDir(script);
    run.shots = run.gameDir / "shots";
    const fs::path scriptPath = fs::path(VEZER_TEST_SOURCE_DIR) / "tests/ui/scripts" / (script + ".txt");
    const fs::path log = run.gameDir / "output.txt";
    std::vector<std::string> args = {std::string(VEZER_TEST_GAME_DIR) + "/vezer", "--game-dir",
                                     run.gameDir.string(), "--script", scriptPath.string(), "--shots",
                                     run.shots.string(),
                                     // New games start from a fixed chance cursor: the fog of
                                     // war's random spotting must not change the pictures.
                                     "--seed", "1"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string v = *e;
        if (v.rfind("SDL_", 0) == 0 || v.rfind("DISPLAY=", 0) == 0 || v.rfind("WAYLAND_DISPLAY=", 0) == 0)
            continue;
        env.push_back(v);
    }
    env.push_back("SDL_VIDEODRIVER=dummy");
    env.push_back("SDL_AUDIODRIVER=dummy");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        run.output = "cannot start " + args[0];
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    run.output = text.str();
    return run;
}

ShotComparison CompareWithReference(const ScriptRun& run, const std::string& name) {
    ShotComparison result;
    const fs::path shot = run.shots / (name + ".png");
    const fs::path reference = fs::path(VEZER_TEST_SOURCE_DIR) / "tests/ui/references" / (name + ".png");
    Picture got;
    if (!ReadPng(shot, got)) {
        result.detail = "no shot " + shot.string();
        return result;
    }
    if (const char* update = std::getenv("VEZER_UPDATE_REFERENCES");
        update != nullptr && std::string(update) == "1") {
        fs::create_directories(reference.parent_path());
        fs::copy_file(shot, reference, fs::copy_options::overwrite_existing);
        result.same = true;
        return result;
    }
    Picture want;
    if (!ReadPng(reference, want)) {
        result.detail = "no reference " + reference.string() + " (make it with VEZER_UPDATE_REFERENCES=1)";
        return result;
    }
    if (got.width != want.width || got.height != want.height) {
        result.detail = "size " + std::to_string(got.width) + "x" + std::to_string(got.height) +
                        ", reference " + std::to_string(want.width) + "x" + std::to_string(want.height);
        return result;
    }
    long differing = 0;
    int firstX = -1, firstY = -1;
    for (int i = 0; i < got.width * got.height; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(int(got.rgba[std::size_t(i) * 4 + std::size_t(c)]) -
                                             int(want.rgba[std::size_t(i) * 4 + std::size_t(c)])));
        if (worst > 48) {
            if (differing++ == 0) {
                firstX = i % got.width;
                firstY = i / got.width;
            }
        }
    }
    const long allowed = static_cast<long>(got.width) * got.height / 200;
    result.same = differing <= allowed;
    if (!result.same)
        result.detail = std::to_string(differing) + " pixels differ (allowed " + std::to_string(allowed) +
                        "), the first at " + std::to_string(firstX) + "," + std::to_string(firstY) +
                        "; shot " + shot.string();
    return result;
}

} // namespace vezer::test
