#!/usr/bin/env python3
"""Runs order records on a real campaign through `vezer orders`: a corps marches along a post
road and arrives having spent its points; the same input gives the same save and trace on
every run; a malformed file and an out-of-range record are refused with their line numbers."""
import json
import os
import subprocess
import sys
import tempfile

VEZER = sys.argv[1]
failures = []

# Móga's division of the autumn campaign of 1848 stands at Buda's road south, at (16, 16);
# the post road runs on through (16, 17) to (16, 18).
CORPS, START, TARGET = 9, [16, 16], [16, 18]
MARCH = """# select the division, then march it two hexes down the post road
22 16 16 1 9 0

5 16 18 1 9 0   # the move
"""


def fail(what):
    failures.append(what)
    print("FAIL:", what)


def run(*args):
    return subprocess.run([VEZER, *args], capture_output=True, text=True)


def inspect(path):
    r = run("inspect", path)
    if r.returncode != 0:
        fail(f"inspect {path}: exit {r.returncode}: {r.stderr.strip()}")
        return None
    return json.loads(r.stdout)


def corps(d, side, index):
    return d["sides"][side - 1]["corps"][index - 1]


with tempfile.TemporaryDirectory() as tmp:
    start = os.path.join(tmp, "c1.sav")
    r = run("new-game", "--campaign", "1", "--side2", "person", "--out", start)
    if r.returncode != 0:
        print(f"new-game failed: {r.stderr}")
        sys.exit(1)
    before = inspect(start)
    c0 = corps(before, 1, CORPS)
    if c0["hex"] != START or c0["garrison"]:
        fail(f"the campaign's corps {CORPS} is {c0['name']} at {c0['hex']}, not the field corps at {START}")

    orders = os.path.join(tmp, "march.txt")
    open(orders, "w").write(MARCH)
    outs, traces = [], []
    for n in (1, 2):
        out = os.path.join(tmp, f"march{n}.sav")
        r = run("orders", start, orders, "--out", out, "--trace")
        if r.returncode != 0:
            fail(f"run {n}: exit {r.returncode}: {r.stderr.strip()}")
            continue
        outs.append(open(out, "rb").read())
        traces.append(r.stdout.replace(out, "OUT"))
    if len(outs) == 2:
        if outs[0] != outs[1]:
            fail("two runs of the same orders saved different games")
        if traces[0] != traces[1]:
            fail(f"two runs traced differently:\n{traces[0]}\n{traces[1]}")
        lines = traces[0].splitlines()
        if len(lines) != 4 or not lines[1].startswith("line 2: 22 16 16 1 9 0: executed; fingerprint ") \
                or not lines[2].startswith("line 4: 5 16 18 1 9 0: executed; fingerprint "):
            fail(f"the trace has no line per order with its outcome and fingerprint:\n{traces[0]}")
        elif lines[1].split("fingerprint")[1] == lines[2].split("fingerprint")[1]:
            fail("the move did not change the fingerprint")

        after = inspect(os.path.join(tmp, "march1.sav"))
        c1 = corps(after, 1, CORPS)
        if c1["hex"] != TARGET:
            fail(f"the corps stands at {c1['hex']}, not at {TARGET}")
        spent = {r0["movement"] - r1["movement"] for r0, r1 in zip(c0["regiments"], c1["regiments"])}
        used = {r1["movement_used"] - r0["movement_used"] for r0, r1 in zip(c0["regiments"], c1["regiments"])}
        # Two steps off the road would cost at least 16 on the best ground; on the road far less
        # than two steps through the dearest ground (30).
        if len(spent) != 1 or spent != used or not 0 < min(spent) < 23:
            fail(f"the regiments spent {sorted(spent)} and used {sorted(used)} points for two road steps")
        others = [(a["hex"], b["hex"]) for a, b in zip(before["sides"][0]["corps"], after["sides"][0]["corps"])
                  if a["index"] != CORPS and a["hex"] != b["hex"]]
        if others:
            fail(f"other corps moved: {others}")

    # A malformed file runs nothing and writes nothing; the line is named.
    for text, line, what in [("22 16 16 1 9 0\n5 16 18 1 9\n", 2, "five numbers"),
                             ("# fine\n\n5 16 x 1 9 0\n", 3, "not a number"),
                             ("5 16 18 1 9 0 7\n", 1, "seven numbers"),
                             ("5 16 18 1 9 99999999999\n", 1, "beyond 32 bits")]:
        bad = os.path.join(tmp, "bad.txt")
        open(bad, "w").write(text)
        out = os.path.join(tmp, "bad.sav")
        r = run("orders", start, bad, "--out", out)
        if r.returncode != 2 or f"bad.txt:{line}:" not in r.stderr or os.path.exists(out):
            fail(f"a malformed file ({what}): exit {r.returncode}, stderr {r.stderr.strip()!r}, "
                 f"output written: {os.path.exists(out)}")

    # An out-of-range record is refused and skipped, the rest runs, and the exit says so.
    ranged = os.path.join(tmp, "range.txt")
    open(ranged, "w").write("22 16 16 1 9 0\n5 16 18 1 99 0\n31 0 0 1 1 0\n5 16 18 1 9 0\n")
    out = os.path.join(tmp, "range.sav")
    r = run("orders", start, ranged, "--out", out, "--trace")
    if r.returncode != 1 or "range.txt:2:" not in r.stderr or "range.txt:3:" not in r.stderr \
            or "corps out of range" not in r.stderr or "unknown order code 31" not in r.stderr:
        fail(f"out-of-range records: exit {r.returncode}, stderr {r.stderr.strip()!r}")
    elif "line 2: 5 16 18 1 99 0: refused (corps out of range)" not in r.stdout:
        fail(f"the trace does not show the refusal:\n{r.stdout}")
    else:
        d = inspect(out)
        if d and corps(d, 1, CORPS)["hex"] != TARGET:
            fail("the good orders after a refused one did not run")

    # A damaged save is not run.
    broken = os.path.join(tmp, "broken.sav")
    data = bytearray(open(start, "rb").read())
    data[len(data) // 2] ^= 0x5A
    open(broken, "wb").write(data)
    r = run("orders", broken, orders, "--out", os.path.join(tmp, "x.sav"))
    if r.returncode != 1 or "Corrupt file / Hibás file!" not in r.stderr:
        fail(f"a damaged save: exit {r.returncode}, stderr {r.stderr.strip()!r}")
    # The chance cursor after the checksum is where a replay draws from: one out of range is refused.
    data = bytearray(open(start, "rb").read())
    data[-8:-4] = (20000).to_bytes(4, "little")
    open(broken, "wb").write(data)
    r = run("orders", broken, orders, "--out", os.path.join(tmp, "x.sav"))
    if r.returncode != 1 or "Corrupt file / Hibás file!" not in r.stderr:
        fail(f"a save with its cursor out of range: exit {r.returncode}, stderr {r.stderr.strip()!r}")

print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
