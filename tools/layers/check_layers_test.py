#!/usr/bin/env python3
"""The layer check passes on the real tree and fails on planted faults."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

here = pathlib.Path(__file__).resolve().parent
script = here / "check_layers.py"
real_src = pathlib.Path(sys.argv[1])


def run(src):
    return subprocess.run([sys.executable, str(script), str(src)], capture_output=True, text=True)


failures = []
result = run(real_src)
if result.returncode != 0:
    failures.append("the real tree fails:\n" + result.stdout)

with tempfile.TemporaryDirectory() as tmp:
    src = pathlib.Path(tmp) / "src"
    for module in ["core", "map", "forces", "turn", "ui", "app"]:
        (src / module).mkdir(parents=True)
    (src / "core" / "state.h").write_text("#pragma once\n")
    (src / "turn" / "turn.h").write_text('#include "core/state.h"\n')
    (src / "app" / "main.cpp").write_text('#include "turn/turn.h"\n#include "ui/app.h"\n')
    (src / "ui" / "app.h").write_text('#include "turn/turn.h"\n#include <SDL.h>\n')
    if run(src).returncode != 0:
        failures.append("a sound tree fails: " + run(src).stdout)

    cases = {
        ("forces", "planted.cpp", '#include "turn/turn.h"\n'): "forces includes turn/turn.h",
        ("map", "planted.h", '#include "ui/app.h"\n'): "map includes ui/app.h",
        ("core", "planted.cpp", "#include <SDL2/SDL.h>\n"): "rule code (core) includes <SDL2/SDL.h>",
        ("turn", "planted.cpp", "#include <thread>\n"): "rule code (turn) includes <thread>",
        ("turn", "clock.cpp", "  #  include <chrono>\n"): "rule code (turn) includes <chrono>",
    }
    for (module, name, text), expected in cases.items():
        planted = src / module / name
        planted.write_text(text)
        r = run(src)
        if r.returncode != 1 or expected not in r.stdout:
            failures.append(f"planted {module}/{name} not refused: {r.returncode} {r.stdout!r}")
        planted.unlink()

for f in failures:
    print(f)
print("layer check: " + ("FAILED" if failures else "passes on the real tree and refuses every planted fault"))
sys.exit(1 if failures else 0)
