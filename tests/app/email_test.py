#!/usr/bin/env python3
"""Play by e-mail without a display: two game directories, one per player, pass turn files of
the autumn campaign of 1848 between them through `vezer new-game --email`, `vezer email-turn`
and `vezer turn-info`. A wrong password, a damaged file and a working file's name are refused
with a message and change nothing."""
import os
import subprocess
import sys
import tempfile

VEZER = sys.argv[1]
DATA = os.path.join(os.path.dirname(os.path.abspath(VEZER)), "Data")
failures = []

# Side 1 marches Perczel's and Móga's divisions and changes a tactic; side 2 closes on
# Nagykanizsa with Jelačić and Ottinger and attacks with an estimate first.
HU_1 = """22 16 16 1 9 0
5 16 18 1 9 0
9 0 0 1 1 2
"""
AT_1 = """22 6 22 2 4 0
5 8 21 2 4 0
22 6 22 2 5 0
5 8 22 2 5 0
25 9 21 2 4 0
24 9 21 2 4 0
1 9 21 2 4 0
30 0 0 2 0 0
"""
HU_2 = """9 0 0 1 1 3
"""


def fail(what):
    failures.append(what)
    print("FAIL:", what)


def run(game_dir, *args):
    return subprocess.run([VEZER, "--game-dir", game_dir, *args], capture_output=True, text=True)


def machine(tmp, name):
    d = os.path.join(tmp, name)
    os.makedirs(os.path.join(d, "save"))
    os.symlink(DATA, os.path.join(d, "Data"))
    return d


def expect(r, code, what):
    if r.returncode != code:
        fail(f"{what}: exit {r.returncode}, expected {code}: {r.stdout.strip()} {r.stderr.strip()}")
    return r


with tempfile.TemporaryDirectory() as tmp:
    hu, at = machine(tmp, "hu"), machine(tmp, "at")
    for name, text in (("hu1", HU_1), ("at1", AT_1), ("hu2", HU_2)):
        open(os.path.join(tmp, name + ".txt"), "w").write(text)

    expect(run(hu, "new-game", "--campaign", "1", "--email", "--password", "Kossuth", "--fog", "on", "--seed", "7",
               "--orders", os.path.join(tmp, "hu1.txt"), "--turn", "osz1", "--out", os.path.join(tmp, "start.sav")),
           0, "new-game --email")
    turn1 = os.path.join(hu, "save", "PBEM_osz1.sav")
    if not os.path.exists(turn1):
        fail("the first turn file was not written")
        print("\n".join(failures))
        sys.exit(1)

    info = expect(run(at, "turn-info", turn1), 0, "turn-info of the first turn").stdout
    for part in ("side 1 (Hungary)", "campaign 1", "1848-9", "3 orders recorded", "opens as side 2 (Austria)",
                 "intact"):
        if part not in info:
            fail(f"turn-info does not say '{part}': {info}")
    # The inspector says how many, never which.
    if "16 18" in info or "Móga" in info:
        fail(f"turn-info gives a move away: {info}")

    # Austria opens it (choosing its password), replays, fights at Nagykanizsa and answers.
    r = expect(run(at, "email-turn", turn1, "--password", "Windischgrätz", "--orders", os.path.join(tmp, "at1.txt"),
                   "--out", "osz2"), 0, "email-turn of Austria")
    if "te következel (Ausztria)" not in r.stdout or "3 parancs," not in r.stdout:
        fail(f"no 'your turn' summary of three orders: {r.stdout}")
    turn2 = os.path.join(at, "save", "PBEM_osz2.sav")
    info = expect(run(hu, "turn-info", turn2), 0, "turn-info of the second turn").stdout
    if "side 2 (Austria)" not in info or "7 orders recorded" not in info:
        fail(f"turn-info of Austria's turn: {info}")

    # Hungary with a wrong password: refused, its files as they were.
    before = open(os.path.join(hu, "save", "PBEM.paf"), "rb").read()
    r = expect(run(hu, "email-turn", turn2, "--password", "kossuth", "--orders", os.path.join(tmp, "hu2.txt"),
                   "--out", "osz3"), 1, "a wrong password")
    if "password" not in r.stderr:
        fail(f"a wrong password is not named: {r.stderr}")
    if open(os.path.join(hu, "save", "PBEM.paf"), "rb").read() != before:
        fail("a wrong password changed the order file")
    expect(run(hu, "email-turn", turn2, "--password", "Kossuth", "--orders", os.path.join(tmp, "hu2.txt"),
               "--out", "osz3"), 0, "email-turn of Hungary")
    info = expect(run(at, "turn-info", os.path.join(hu, "save", "PBEM_osz3.sav")), 0, "turn-info, week 2").stdout
    if "1848-9-" not in info and "1848-10-" not in info:
        fail(f"the third turn's date: {info}")

    # A damaged turn file is named as such; a cut one too; the working files are no turn files.
    data = open(turn2, "rb").read()
    for name, bad in (("cut", data[:-5]), ("flipped", data[:100] + bytes([data[100] ^ 0x40]) + data[101:])):
        path = os.path.join(tmp, f"PBEM_{name}.sav")
        open(path, "wb").write(bad)
        r = expect(run(hu, "turn-info", path), 1, f"turn-info of a {name} file")
        if "damaged" not in r.stdout:
            fail(f"turn-info of a {name} file: {r.stdout} {r.stderr}")
        r = expect(run(hu, "email-turn", path, "--password", "Kossuth", "--orders", os.path.join(tmp, "hu2.txt"),
                       "--out", "x"), 1, f"email-turn of a {name} file")
        if "Hibás file!" not in r.stderr or f"PBEM_{name}.sav" not in r.stderr:
            fail(f"the {name} file is not refused by name: {r.stderr}")
    expect(run(hu, "email-turn", os.path.join(hu, "save", "PBEM.sav"), "--password", "Kossuth", "--orders",
               os.path.join(tmp, "hu2.txt"), "--out", "x"), 1, "opening the working save")

if failures:
    print(f"{len(failures)} failure(s)")
    sys.exit(1)
print("e-mail turns through the command line: ok")
