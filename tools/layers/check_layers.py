#!/usr/bin/env python3
"""Refuses an include that goes up the module layers of src/, and rule code that reaches for a
window system, the network, threads or the clock.

    check_layers.py SRC_DIR

The rule modules are layered core, files, map, forces, battle, turn, orders, ai, campaign: each
may include its own headers and those of the modules below it. The adapters (render, sound,
net, ui) may include every rule module, and ui also render and sound; app may include anything.
Exit status 0 when every include keeps to its layer, 1 with one line per fault otherwise.
"""
import pathlib
import re
import sys

RULES = ["core", "files", "map", "forces", "battle", "turn", "orders", "ai", "campaign"]
ADAPTERS = {
    "render": set(RULES),
    "sound": set(RULES),
    "net": set(RULES),
    "ui": set(RULES) | {"render", "sound"},
}
# What rule code never includes: the window system, the network, threads and clocks.
FORBIDDEN_PREFIXES = ("SDL", "asio", "boost/asio")
FORBIDDEN_HEADERS = {"thread", "chrono", "ctime", "time.h", "sys/time.h", "random", "future", "mutex"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def allowed(module):
    if module in RULES:
        return set(RULES[: RULES.index(module) + 1])
    if module in ADAPTERS:
        return ADAPTERS[module] | {module}
    return None  # app and anything else: no limit


def check(src):
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        module = path.relative_to(src).parts[0]
        may = allowed(module)
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, name = m.groups()
            where = f"{path.relative_to(src.parent)}:{number}"
            if kind == '"' and "/" in name and may is not None:
                target = name.split("/", 1)[0]
                if (src / target).is_dir() and target not in may:
                    faults.append(f"{where}: {module} includes {name}, a header of the higher module {target}")
            if kind == "<" and module in RULES and (name.startswith(FORBIDDEN_PREFIXES) or name in FORBIDDEN_HEADERS):
                faults.append(f"{where}: rule code ({module}) includes <{name}>")
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    src = pathlib.Path(sys.argv[1])
    if not src.is_dir():
        print(f"{src}: not a folder", file=sys.stderr)
        return 2
    faults = check(src)
    for f in faults:
        print(f)
    if not faults:
        print(f"{src}: every include keeps to its layer")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
