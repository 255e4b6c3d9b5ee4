#!/usr/bin/env python3
"""Battles of real campaigns through `vezer orders --trace`: Jelačić crosses the Drava against
Teleki in the autumn of 1848, and Simunich bombards Komárom four times in March 1849 and storms
it the week after. The trace prints every report and log line; two runs give the same bytes."""
import json
import os
import subprocess
import sys
import tempfile

VEZER = sys.argv[1]
failures = []

# Campaign 1 (side 2 played here too): side 1 ends its first turn; Jelačić (corps 4 of side 2,
# at 6,22) and Ottinger (corps 5, with him) close on Teleki at Nagykanizsa (9,21) from the
# north-west and the south-west; Ottinger is asked to support, then the attack.
DRAVA = """30 0 0 1 0 0
22 6 22 2 4 0
5 8 21 2 4 0
22 6 22 2 5 0
5 8 22 2 5 0
25 9 21 2 4 0
1 9 21 2 4 0
"""
# Campaign 3: Simunich (corps 12 of side 2) stands before Komárom (14,12) in the siege formation.
KOMAROM = """30 0 0 1 0 0
2 0 0 2 12 0
2 0 0 2 12 0
2 0 0 2 12 0
2 0 0 2 12 0
30 0 0 2 0 0
30 0 0 1 0 0
3 14 12 2 12 0
"""
RESULTS = ("Magyar gyôzelem", "Osztrák gyôzelem", "Döntetlen")


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


def twice(tmp, name, start, text):
    """Runs the orders twice; returns the trace split per order line, or None."""
    orders = os.path.join(tmp, name + ".txt")
    open(orders, "w").write(text)
    outs, traces = [], []
    for n in (1, 2):
        out = os.path.join(tmp, f"{name}{n}.sav")
        r = run("orders", start, orders, "--out", out, "--trace")
        if r.returncode != 0:
            fail(f"{name} run {n}: exit {r.returncode}: {r.stderr.strip()}")
            return None
        outs.append(open(out, "rb").read())
        traces.append(r.stdout.replace(out, "OUT"))
    if outs[0] != outs[1]:
        fail(f"{name}: two runs saved different games")
    if traces[0] != traces[1]:
        fail(f"{name}: two runs traced differently")
    blocks, current = {}, None
    for line in traces[0].splitlines():
        if line.startswith("line "):
            current = int(line.split(":")[0].split()[1])
            blocks[current] = [line]
        elif current is not None and line.startswith("  "):
            blocks[current].append(line.strip())
    return blocks


def texts(block, kind):
    return [l.split(": ", 1)[1] for l in block[1:] if l.startswith(kind)]


with tempfile.TemporaryDirectory() as tmp:
    c1 = os.path.join(tmp, "c1.sav")
    c3 = os.path.join(tmp, "c3.sav")
    for campaign, path in ((1, c1), (3, c3)):
        r = run("new-game", "--campaign", str(campaign), "--side2", "person", "--out", path)
        if r.returncode != 0:
            print(f"new-game {campaign} failed: {r.stderr}")
            sys.exit(1)

    before = inspect(c1)
    jelacic = before["sides"][1]["corps"][3]
    teleki = before["sides"][0]["corps"][7]
    if not jelacic["name"].startswith("Jelačić") or not teleki["name"].startswith("Teleki"):
        fail(f"campaign 1's corps are {jelacic['name']} and {teleki['name']}, not Jelačić and Teleki")

    blocks = twice(tmp, "drava", c1, DRAVA)
    if blocks:
        attack = blocks.get(7, [])
        report = texts(attack, "report")
        if "executed" not in attack[0] or not report:
            fail(f"the attack did not run a battle:\n{attack[:3]}")
        else:
            # 27 and 12 regiments against 10: a battle; its report starts with its kind and ends
            # with the morale changes of both sides and the result.
            if report[0] != "Csata":
                fail(f"the report opens with {report[0]!r}, not the kind of battle")
            if not any(t.endswith(" teljesítmény: " + t.split()[-1]) for t in report[1:3]):
                fail(f"no general's rating follows: {report[1:3]}")
            if report[-1] not in RESULTS or not report[-3].startswith("Magyar morál változás: ") \
                    or not report[-2].startswith("Osztrák morál változás: "):
                fail(f"the report does not close with the tallies and the result: {report[-3:]}")
            if not any(" tüzet nyit " in t for t in report) or not any(" veszteség - Morál: -" in t for t in report):
                fail("the report shows no exchange of fire and no losses")
            if any(len(t) > 120 for t in report):
                fail("a report line is longer than 120 characters")
        after = inspect(os.path.join(tmp, "drava1.sav"))
        if after and report:
            teleki1, jelacic1 = after["sides"][0]["corps"][7], after["sides"][1]["corps"][3]
            # The loser leaves Nagykanizsa; the winner holds it, and the battle's cost is paid.
            if report[-1] == "Osztrák gyôzelem" and (teleki1["hex"] == [9, 21] or jelacic1["hex"] != [9, 21]):
                fail(f"after an Austrian victory Teleki is at {teleki1['hex']}, Jelačić at {jelacic1['hex']}")
            if report[-1] != "Osztrák gyôzelem" and jelacic1["hex"] != [8, 21]:
                fail(f"a repulsed Jelačić stands at {jelacic1['hex']}, not back at 8,21")
            if after["sides"][1]["corps"][3]["men"] >= jelacic["men"]:
                fail("Jelačić lost no men")

    blocks = twice(tmp, "komarom", c3, KOMAROM)
    if blocks:
        for line in (2, 3, 4, 5):
            logs = texts(blocks.get(line, ["", ""]), "log")
            if "Simunich parancsot ad az eröd ágyúzására!" not in logs:
                fail(f"bombardment {line - 1} is not in the trace: {logs}")
            elif not any(t in ("Az eröd lövetése hatástalan!",) or t.startswith("Az eröd szintje csökken: -1")
                         for t in logs):
                fail(f"bombardment {line - 1} has no result line: {logs}")
        storm = blocks.get(8, [""])
        report = texts(storm, "report")
        if "executed" not in storm[0] or not report or report[0] not in ("Csata", "Ütközet", "Csetepaté"):
            fail(f"the assault did not run: {storm[:3]}")
        elif report[-1] not in RESULTS:
            fail(f"the assault's report ends with {report[-1]!r}")
        after = inspect(os.path.join(tmp, "komarom1.sav"))
        if after and report:
            simunich = after["sides"][1]["corps"][11]
            if simunich["hex"] != [14, 12]:
                fail(f"after the assault Simunich stands at {simunich['hex']}, not before Komárom")

print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
