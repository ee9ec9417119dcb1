#!/usr/bin/env python3
"""Times commands in turn, round after round, and prints the ratio of the
first one's median to the last one's.

Run one after the other, two commands can meet different moments of a shared
machine; alternated, each round puts them side by side.

usage: alternate.py ROUNDS NAME PREPARE COMMAND [NAME PREPARE COMMAND ...]
  PREPARE is a shell command run before each timing (may be empty); COMMAND
  is split on blanks and run without a shell, its output discarded.
"""
import os
import statistics
import subprocess
import sys
import time

WARMUP_ROUNDS = 3


def main(argv):
    if len(argv) < 5 or (len(argv) - 2) % 3 != 0:
        sys.exit(__doc__)
    rounds = int(argv[1])
    commands = [argv[i:i + 3] for i in range(2, len(argv), 3)]
    times = [[] for _ in commands]
    null = os.open(os.devnull, os.O_WRONLY)
    for round_number in range(WARMUP_ROUNDS + rounds):
        for (name, prepare, command), taken in zip(commands, times):
            if prepare:
                subprocess.run(prepare, shell=True, check=True)
            args = command.split()
            start = time.perf_counter()
            pid = os.posix_spawnp(args[0], args, os.environ,
                                  file_actions=[(os.POSIX_SPAWN_DUP2, null, 1)])
            _, status = os.waitpid(pid, 0)
            elapsed = time.perf_counter() - start
            if os.waitstatus_to_exitcode(status) != 0:
                sys.exit(f"{name} failed")
            if round_number >= WARMUP_ROUNDS:
                taken.append(elapsed)
    medians = [statistics.median(taken) for taken in times]
    for (name, _, _), median in zip(commands, medians):
        print(f"  {name:<28} median {median * 1000:8.1f} ms  (alternated)")
    print(f"{commands[0][0]} / {commands[-1][0]}, alternated: {medians[0] / medians[-1]:.2f}")


if __name__ == "__main__":
    main(sys.argv)
