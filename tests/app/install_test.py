"""The installed game: `cmake --install` into a scratch prefix gives an executable that starts
from its installed path, plays from the user's own folder under the XDG data folder (made on
first start) and writes its saves there, never into the installed files."""

import os
import pathlib
import subprocess
import sys
import tempfile


def main() -> int:
    build, script = sys.argv[1], str(pathlib.Path(sys.argv[2]).resolve())
    with tempfile.TemporaryDirectory(prefix="vezer-install-") as tmp:
        prefix = pathlib.Path(tmp) / "prefix"
        home = pathlib.Path(tmp) / "home"
        home.mkdir()
        subprocess.run(["cmake", "--install", build, "--prefix", str(prefix)], check=True,
                       stdout=subprocess.DEVNULL)
        share = prefix / "share"
        for path in [prefix / "bin" / "vezer", share / "vezer" / "Data", share / "vezer" / "pictures" / "menu.png",
                     share / "vezer" / "locale" / "en" / "LC_MESSAGES" / "vezer.mo",
                     share / "applications" / "vezer.desktop",
                     share / "icons" / "hicolor" / "64x64" / "apps" / "vezer.png"]:
            assert path.exists(), f"not installed: {path}"
        env = {k: v for k, v in os.environ.items() if k not in ("XDG_DATA_HOME", "VEZER_GAME_DIR")}
        env.update(HOME=str(home), SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
        shots = pathlib.Path(tmp) / "shots"
        run = subprocess.run([str(prefix / "bin" / "vezer"), "--script", script, "--shots", str(shots),
                              "--seed", "1"], env=env, cwd=tmp, capture_output=True, text=True, timeout=600)
        assert run.returncode == 0, run.stderr
        user = home / ".local" / "share" / "vezer"
        saves = sorted(p.name for p in (user / "save").glob("*.sav"))
        assert saves, f"no save in {user / 'save'}"
        assert (user / "Data" / "setup.dat").is_file() and not (user / "Data" / "setup.dat").is_symlink()
        assert not (share / "vezer" / "save").exists(), "the installed folder was written"
        # A second start finds the folder as it left it.
        run = subprocess.run([str(prefix / "bin" / "vezer"), "--version"], env=env, capture_output=True, text=True)
        assert run.returncode == 0
        print("installed game saves:", ", ".join(saves))
    return 0


if __name__ == "__main__":
    sys.exit(main())
