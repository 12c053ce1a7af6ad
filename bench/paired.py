#!/usr/bin/env python3
"""Paired, alternating timing of two whole silent installs under Wine into fresh folders.

Usage: paired.py PAIRS OUT.md NAME_A FOLDERS_A CMD_A NAME_B FOLDERS_B CMD_B
FOLDERS_* are ':'-separated Linux folders removed before each run; CMD_* is a shell command.
Each pair runs both installs, in turns A first and B first, so drift in the machine's load
falls on both. Reports the median of each and the median of the per-pair ratio A/B.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time


def wait_for_product_exit(timeout=20.0):
    # A product started by the last run (the launch after the install) must not overlap the next.
    end = time.time() + timeout
    while time.time() < end:
        if subprocess.run(["pgrep", "-f", r"orv\.exe"], stdout=subprocess.DEVNULL).returncode != 0:
            return
        time.sleep(0.05)


def timed_run(folders, command):
    for folder in folders:
        shutil.rmtree(folder, ignore_errors=True)
    wait_for_product_exit()
    # The disk writes back what the last run wrote and deleted before this run's clock starts,
    # so that neither program pays for the other.
    os.sync()
    start = time.perf_counter()
    result = subprocess.run(command, shell=True)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"{command} ended with {result.returncode}")
    return elapsed


def main():
    args = sys.argv[1:]
    if len(args) != 8:
        sys.exit(__doc__)
    pairs, out = int(args[0]), args[1]
    name_a, folders_a, cmd_a = args[2:5]
    name_b, folders_b, cmd_b = args[5:8]
    runs = [(name_a, folders_a.split(":"), cmd_a), (name_b, folders_b.split(":"), cmd_b)]
    times = {name_a: [], name_b: []}
    for i in range(pairs):
        order = runs if i % 2 == 0 else list(reversed(runs))
        for name, folders, command in order:
            times[name].append(timed_run(folders, command))
        print(f"pair {i + 1}/{pairs}: {name_a} {times[name_a][-1]:.3f} s, {name_b} {times[name_b][-1]:.3f} s",
              flush=True)
    ratios = [x / y for x, y in zip(times[name_a], times[name_b])]
    lines = [
        f"| What | Median | Min | Max |",
        f"|---|---|---|---|",
        f"| {name_a} | {statistics.median(times[name_a]):.3f} s | {min(times[name_a]):.3f} s | {max(times[name_a]):.3f} s |",
        f"| {name_b} | {statistics.median(times[name_b]):.3f} s | {min(times[name_b]):.3f} s | {max(times[name_b]):.3f} s |",
        f"| ratio {name_a} / {name_b} (per pair) | {statistics.median(ratios):.2f} | {min(ratios):.2f} | {max(ratios):.2f} |",
        "",
        f"{pairs} alternating pairs.",
    ]
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
