#!/usr/bin/env python3
"""What the program adds to the device's own time, end to end.

Mounts the device emulator in a temporary folder and times each operation of
the program next to two others moving the same bytes through the same mount:
dd, the cheapest program for it, and the floor, the bare system calls made
from one process with nothing in between. The device operations are the
program's own: the same unbuffered reads (one open each, as the program opens
the memory image for every read) and the same runs of command sectors (a
whole-cartridge dump is recorded with strace and played back). The sides take
turns, round after round, so a machine busy with other work slows them alike;
the figures are medians over the rounds.

  with start-up    one program run doing the operation once, against one pass
                   of the dd commands; the median of the rounds' ratios.
  start-up excl.   the program's cost of one operation inside a long session
                   (a session of N operations less a session of none, over N)
                   against dd's (N passes of its commands less N passes of as
                   many dd runs that move nothing, taken in turns, over N);
                   the ratio of the two medians.
  vs floor         the same program cost against N passes of the bare calls.

Host files live in memory (/dev/shm) where there is one, so that the host
disk's stalls stay out of the figures.
"""

import argparse
import os
import platform
import random
import shutil
import sys
import tempfile

from e2e.device_ops import Read, Send
from e2e.measure import Case, measure
from e2e.replay import device_ops
from e2e.runner import Mount, Runner

KIB = 1024
MIB = 1024 * KIB

READ_SCRIPT = b"""for address = 0, 0xC000, 0x4000 do
  local crc, text = fd_CpuReadAscii(address, 0x4000)
  assert(#text == 0x8000)
end
print("read 64 KiB")
"""


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build-bench",
                        help="build folder holding caldrin, caldrin-devsim and the dump scripts")
    parser.add_argument("--rounds", type=int, default=15,
                        help="alternating rounds per operation (default 15)")
    return parser.parse_args()


def ines_image(mapper, prg_kib, chr_kib):
    """An iNES image in which no two banks of 8 KiB are alike."""
    header = b"NES\x1a" + bytes([prg_kib // 16, chr_kib // 8, (mapper & 0x0F) << 4,
                                 mapper & 0xF0]) + bytes(8)
    prg = bytes((k * 7 + (k >> 8) + (k >> 14)) & 0xFF for k in range(prg_kib * KIB))
    chr_rom = bytes((k * 5 + (k >> 8) + (k >> 10)) & 0xFF for k in range(chr_kib * KIB))
    return header + prg + chr_rom


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def build_cases(runner, work, build):
    mount = runner.mount

    # The exact run the program sends for the 64 KiB write.
    run = os.path.join(work, "run.bin")
    runner.session(["w 0 10000 data.bin"])
    shutil.copyfile(os.path.join(mount, "CMD.CMD"), run)
    if os.path.getsize(run) != 32 * MIB:
        raise RuntimeError("the 64 KiB write did not send a 32 MiB run")

    cases = [
        Case("d 0 10000 f.bin", ["d 0 10000 f.bin"],
             [Read(mount, 0, 64 * KIB, os.path.join(work, "dd.bin"))],
             count=32, target=1.2, expect="write 10000(crc:"),
        Case("w 0 10000 data.bin", ["w 0 10000 data.bin"], [Send(mount, run)],
             count=4, target=1.5, expect="write 10000 bytes to cartridge"),
        Case("do: 4 x fd_CpuReadAscii 16 KiB", ["do read64k.lua"],
             [Read(mount, k * 16 * KIB, 16 * KIB) for k in range(4)],
             count=32, target=1.2, expect="read 64 KiB"),
    ]

    dumper = os.path.join(build, "dumpers", "nes.lua")
    if not os.path.exists(dumper):
        print("note: %s is not built; the whole-cartridge dump is skipped" % dumper)
        return cases
    shutil.copyfile(dumper, os.path.join(work, "nes.lua"))
    lines = ["do nes.lua", "4 out.nes"]
    ops = device_ops(runner, lines, os.path.join(work, "replay"))
    reads = sum(isinstance(op, Read) for op in ops)
    cases.append(Case("do nes.lua: MMC3 256+256 KiB (%d reads, %d sends)" % (reads, len(ops) - reads),
                      lines, ops, count=3, target=1.2, expect="ROM CRC-32"))
    return cases


def machine_text():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) // 1024 // 1024
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    return "%s, %d cores, %d GiB, Linux %s; load average at the start %s" % (
        model, os.cpu_count() or 0, memory, platform.release(), load)


def print_table(results, rounds):
    print()
    print("Medians over %d alternating rounds; ratios are the program's time over the other's." % rounds)
    header = ("operation", "vs dd, with start-up", "vs dd, start-up excl.", "target", "vs floor",
              "program ms/op", "dd ms/op", "floor ms/op", "peak program", "peak dd")
    rows = [header]
    for case, r in results:
        rows.append((case.name, "%.2fx" % r["once"], "%.2fx" % r["excluded"],
                     "<= %.1fx" % case.target, "%.2fx" % r["floor_ratio"],
                     "%.2f" % r["ours_ms"], "%.2f" % r["dd_ms"], "%.2f" % r["floor_ms"],
                     "%.1f MiB" % (r["ours_peak"] / 1024), "%.1f MiB" % (r["dd_peak"] / 1024)))
    widths = [max(len(row[i]) for row in rows) for i in range(len(header))]
    for index, row in enumerate(rows):
        print("| " + " | ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)) + " |")
        if index == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


def main():
    args = parse_args()
    build = os.path.abspath(args.build)
    caldrin = os.path.join(build, "caldrin")
    devsim = os.path.join(build, "caldrin-devsim")
    for program in (caldrin, devsim):
        if not os.access(program, os.X_OK):
            print("end to end: %s is not built; skipped" % program)
            return 0
    if not os.path.exists("/dev/fuse") or shutil.which("fusermount3") is None:
        print("end to end: no /dev/fuse or fusermount3 here; skipped")
        return 0

    print("machine: " + machine_text())
    memory = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    top = tempfile.mkdtemp(prefix="caldrin-e2e-", dir=memory)
    try:
        mount = os.path.join(top, "drive")
        work = os.path.join(top, "work")
        os.mkdir(mount)
        os.mkdir(work)
        # One MMC3 board serves every case: plain reads and writes do not
        # care which board answers, and the dump needs bank switching.
        cart = os.path.join(top, "bench.nes")
        write(cart, ines_image(mapper=4, prg_kib=256, chr_kib=256))
        rng = random.Random(8)
        write(os.path.join(work, "data.bin"), bytes(rng.getrandbits(8) for _ in range(64 * KIB)))
        write(os.path.join(work, "read64k.lua"), READ_SCRIPT)
        results = []
        with Mount(devsim, cart, mount):
            runner = Runner(caldrin, mount, work)
            for case in build_cases(runner, work, build):
                output = runner.session(case.lines, capture=True)
                if case.expect not in output:
                    raise RuntimeError("%r did not print %r:\n%s" % (case.lines, case.expect, output))
                print("measuring %s ..." % case.name, flush=True)
                results.append((case, measure(runner, case, args.rounds)))
        print_table(results, args.rounds)
    finally:
        shutil.rmtree(top, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
