"""Shared by the tests that play a real campaign through the vezer executable: a game
directory of the test's own (the compiled data, and a save folder for the automatic saves a
person's side leaves at every end of turn), and running a command in it."""
import os
import subprocess


def game_dir(vezer, tmp):
    root = os.path.join(tmp, "game")
    os.makedirs(os.path.join(root, "save"))
    compiled = os.path.dirname(os.path.abspath(vezer))
    for name in os.listdir(compiled):
        if name.lower() != "save":
            os.symlink(os.path.join(compiled, name), os.path.join(root, name))
    return root


def run(vezer, gd, *args):
    return subprocess.run([vezer, "--game-dir", gd, *args], capture_output=True, text=True)
