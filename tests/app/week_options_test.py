#!/usr/bin/env python3
"""The war with every intervention option, played headless through `vezer week`.

The summer campaign of 1849 with the full Russian intervention brings Paskevich's army onto the
map on the dates of our reinforcement schedule, at least 100 000 men; without the intervention
no Russian comes. The whole war runs to its verdict with each Russian and Polish option and
with fog of war on and off, the invariants checked every week."""
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import headless_game  # noqa: E402

VEZER = sys.argv[1]
SCHEDULE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "campaigns",
                        "reinforcements.txt")
failures = []


def fail(what):
    failures.append(what)
    print("FAIL:", what)


def game_dir(tmp):
    return headless_game.game_dir(VEZER, tmp)


def run(gd, *args):
    return headless_game.run(VEZER, gd, *args)


def russian_schedule(campaign):
    """(date, count) of the Russian records the campaign's start file leaves to come."""
    due = {}
    for line in open(SCHEDULE, encoding="utf-8"):
        m = re.match(r"^record \d+\s+date (\d+)-(\d+)-(\d+)\s+side \d\s+nation (\d+).*campaigns ([\d,]+|none)", line)
        if m and m.group(4) == "3" and str(campaign) in m.group(5).split(","):
            date = tuple(int(x) for x in m.group(1, 2, 3))
            due[date] = due.get(date, 0) + 1
    return due


def russian_arrivals(trace):
    """The Russian corps the turn-start screens announced, by the week they came, and their men."""
    arrivals, men, week = {}, 0, None
    for line in trace.splitlines():
        m = re.match(r"^(?:start )?(\d+)-(\d+)-(\d+): ", line)
        if m:
            week = tuple(int(x) for x in m.groups())
        m = re.search(r":orosz erösítés\. Lovas:(\d+) gyalogos:(\d+)ágyú:\d+$", line)
        if m:
            arrivals[week] = arrivals.get(week, 0) + 1
            men += int(m.group(1)) + int(m.group(2))
    return arrivals, men


with tempfile.TemporaryDirectory() as tmp:
    gd = game_dir(tmp)
    # Without the intervention the weeks of the Russian arrivals are enough to see none come.
    for russian, weeks in ((2, "100"), (0, "3")):
        start = os.path.join(tmp, f"summer{russian}.sav")
        r = run(gd, "new-game", "--campaign", "4", "--russian", str(russian), "--side1", "computer", "--seed", "49",
                "--out", start)
        if r.returncode != 0:
            fail(f"new-game: {r.stderr}")
            continue
        r = run(gd, "week", start, "--weeks", weeks, "--out", os.path.join(tmp, "end.sav"), "--trace",
                "--check-invariants")
        if r.returncode != 0 or (weeks == "100" and "\nverdict: " not in r.stdout):
            fail(f"summer 1849, Russian option {russian}: exit {r.returncode}\n{r.stderr}")
            continue
        arrivals, men = russian_arrivals(r.stdout)
        if russian == 0:
            if arrivals:
                fail(f"Russians came without the intervention: {arrivals}")
            continue
        expected = russian_schedule(4)
        if arrivals != expected:
            fail(f"the Russians came {sorted(arrivals.items())}, the schedule says {sorted(expected.items())}")
        if men < 100000:
            fail(f"only {men} Russian soldiers came in the summer of 1849")

    # The week test plays the war without intervention and fog; the computer plays both sides here.
    for russian, polish, fog in (("1", "1", "on"), ("2", "2", "off")):
        start = os.path.join(tmp, f"war{russian}{polish}{fog}.sav")
        r = run(gd, "new-game", "--campaign", "5", "--russian", russian, "--polish", polish, "--fog", fog,
                "--side1", "computer", "--seed", "49", "--out", start)
        if r.returncode != 0:
            fail(f"new-game: {r.stderr}")
            continue
        r = run(gd, "week", start, "--weeks", "100", "--out", os.path.join(tmp, "war.sav"), "--check-invariants")
        lines = r.stdout.splitlines()
        if r.returncode != 0 or len(lines) != 66 or not lines[64].startswith("verdict: ") or \
                not lines[63].startswith("1850-1-1: "):
            fail(f"the war with Russian {russian}, Polish {polish}, fog {fog}: exit {r.returncode}\n"
                 f"{r.stdout[-600:]}{r.stderr[-2000:]}")

print("week options test:", "FAILED" if failures else "passed")
sys.exit(1 if failures else 0)
