#include "app/user_dir.h"

#include <cstdlib>
#include <system_error>

namespace vezer {

namespace fs = std::filesystem;

namespace {

// $XDG_DATA_HOME/vezer, else ~/.local/share/vezer.
fs::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') return fs::path(xdg) / "vezer";
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != 0 ? home : ".") / ".local" / "share" / "vezer";
}

// The files the game writes in its Data folder: copied, never linked, so a write cannot reach
// the installed copy.
bool Writable(const fs::path& name) {
    const std::string n = name.filename().string();
    return n == "setup.dat" || n == "beallitasok.dat" || n == "onesetup.dat";
}

} // namespace

std::string InstalledGameDirectory(const fs::path& executableFolder) {
    std::error_code ec;
    if (fs::is_directory(executableFolder / "Data", ec)) return {};
    const fs::path shared = executableFolder.parent_path() / "share" / "vezer";
    if (!fs::is_directory(shared / "Data", ec)) return {};
    const fs::path user = UserDataFolder();
    fs::create_directories(user / "Data", ec);
    fs::create_directories(user / "save", ec);
    for (const fs::directory_entry& entry : fs::directory_iterator(shared / "Data", ec)) {
        const fs::path to = user / "Data" / entry.path().filename();
        if (fs::exists(fs::symlink_status(to, ec))) continue;
        if (Writable(entry.path()))
            fs::copy_file(entry.path(), to, ec);
        else
            fs::create_symlink(entry.path(), to, ec);
    }
    for (const char* folder : {"pictures", "locale", "Wave", "tabornok"}) {
        const fs::path to = user / folder;
        if (fs::exists(fs::symlink_status(to, ec)) || !fs::is_directory(shared / folder, ec)) continue;
        fs::create_directory_symlink(shared / folder, to, ec);
    }
    return user.string();
}

} // namespace vezer
