#!/usr/bin/env python3
"""Plays whole weeks of a real campaign through `vezer week`: the whole war of 1848-49 runs
from its first week to its end on 1 January 1850 with the invariants checked every week, and
ends with the verdict; the same save gives the same bytes and lines on every run; a short run
stops after its weeks; --play-on goes on past the end; bad command lines are refused."""
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import headless_game  # noqa: E402

VEZER = sys.argv[1]
failures = []

WEEK_LINE = re.compile(r"^(\d+)-(\d+)-(\d): weather [1-4] temperature [1-3] ground [1-4] rivers [1-4] danube [1-4]; "
                       r"side 1 \d+ men \d+ guns \d+ cities; side 2 \d+ men \d+ guns \d+ cities; "
                       r"fingerprint \d+ hash [0-9a-f]{16}$")
VERDICTS = ["Totális magyar gyözelem!", "Magyar gyözelem!", "Döntetlen", "Osztrák gyözelem!",
            "Totális osztrák gyözelem!"]


def fail(what):
    failures.append(what)
    print("FAIL:", what)


def game_dir(tmp):
    return headless_game.game_dir(VEZER, tmp)


def run(gd, *args):
    return headless_game.run(VEZER, gd, *args)


def dates(lines):
    return [tuple(int(x) for x in m.groups()) for m in map(WEEK_LINE.match, lines) if m]


with tempfile.TemporaryDirectory() as tmp:
    gd = game_dir(tmp)
    start = os.path.join(tmp, "c5.sav")
    r = run(gd, "new-game", "--campaign", "5", "--seed", "1848", "--out", start)
    if r.returncode != 0:
        print(f"new-game failed: {r.stderr}")
        sys.exit(1)

    outs, texts = [], []
    for n in (1, 2):
        out = os.path.join(tmp, f"end{n}.sav")
        r = run(gd, "week", start, "--weeks", "100", "--out", out, "--check-invariants")
        if r.returncode != 0:
            fail(f"run {n}: exit {r.returncode}: {r.stderr.strip()}")
            continue
        outs.append(open(out, "rb").read())
        texts.append(r.stdout.replace(out, "OUT"))
    if len(outs) == 2:
        if outs[0] != outs[1] or texts[0] != texts[1]:
            fail("two runs of the same weeks differ")
        lines = texts[0].splitlines()
        weeks = dates(lines)
        if len(weeks) != 64 or weeks[0] != (1848, 9, 2) or weeks[-1] != (1850, 1, 1):
            fail(f"the whole war is 64 weeks from 1848-9-2 to 1850-1-1, not {len(weeks)}: {weeks[:1]}..{weeks[-1:]}")
        if len(lines) != 66 or not lines[64].startswith("verdict: ") or \
                not any(lines[64].startswith("verdict: " + v + " (points ") for v in VERDICTS):
            fail(f"no verdict after the last week: {lines[63:]}")
        if len(set(l.split("fingerprint")[1] for l in lines[:64])) != 64:
            fail("a week passed without changing the fingerprint")
        if len(set(l.split(": ")[1].split(" temperature")[0] for l in lines[:64])) < 3:
            fail("a whole war of one or two kinds of weather")
        if len([f for f in os.listdir(os.path.join(gd, "save")) if f.endswith(".sav")]) < 64:
            fail("the person's side left no automatic save at the end of its turns")

    # A short run stops after its weeks, without a verdict; --trace shows each side's turn.
    r = run(gd, "week", start, "--weeks", "3", "--out", os.path.join(tmp, "three.sav"), "--trace")
    lines = r.stdout.splitlines()
    if r.returncode != 0 or dates(lines) != [(1848, 9, 2), (1848, 9, 3), (1848, 9, 4)] or \
            any(l.startswith("verdict") for l in lines):
        fail(f"three weeks: exit {r.returncode}\n{r.stdout}{r.stderr}")
    if len([l for l in lines if re.match(r"^  side [12] ended its turn; fingerprint", l)]) != 6:
        fail(f"--trace does not show the six turns of three weeks:\n{r.stdout}")

    # Playing on past the end: the week after the war's last one.
    if len(outs) == 2:
        r = run(gd, "week", os.path.join(tmp, "end1.sav"), "--weeks", "2", "--out", os.path.join(tmp, "on.sav"),
                "--play-on")
        if r.returncode != 0 or dates(r.stdout.splitlines()) != [(1850, 1, 2), (1850, 1, 3)]:
            fail(f"playing on: exit {r.returncode}\n{r.stdout}{r.stderr}")

    for bad in (["week", start, "--out", os.path.join(tmp, "x.sav")],
                ["week", start, "--weeks", "two", "--out", os.path.join(tmp, "x.sav")],
                ["week", start, "--weeks", "-1", "--out", os.path.join(tmp, "x.sav")],
                ["week", start, "--weeks", "1"],
                ["week", start, "--weeks", "1", "--out", os.path.join(tmp, "x.sav"), "--fast"]):
        r = run(gd, *bad)
        if r.returncode != 2 or not r.stderr.startswith("vezer week: "):
            fail(f"{' '.join(bad[2:])}: exit {r.returncode}, {r.stderr.strip()}")
    r = run(gd, "week", os.path.join(tmp, "missing.sav"), "--weeks", "1", "--out", os.path.join(tmp, "x.sav"))
    if r.returncode == 0:
        fail("a missing save was played")

print("week test:", "FAILED" if failures else "passed")
sys.exit(1 if failures else 0)
