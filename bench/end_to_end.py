#!/usr/bin/env python3
"""What the program adds to the device's own time, end to end.

Mounts the device emulator in a temporary folder and times each operation of
the program next to the cheapest way of moving the same bytes through the same
mount (dd). The two sides run alternately, round after round, and each round
gives one ratio; the medians of those ratios are what counts, so a machine
busy with other work slows both sides alike.

Every operation is measured twice:
  with start-up    one program run doing the operation once, against one dd;
  start-up excl.   the per-operation cost inside one long session: a session of
                   N operations less a session of none, over N; on the dd side
                   N dd runs less N dd runs that move nothing, over N.
"""

import argparse
import os
import platform
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

KIB = 1024
MIB = 1024 * KIB


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build-bench",
                        help="build folder holding caldrin and caldrin-devsim")
    parser.add_argument("--rounds", type=int, default=11,
                        help="alternating rounds per operation (default 11)")
    parser.add_argument("--dumper", default=None,
                        help="whole-cartridge dump script (default dumpers/nes.lua)")
    return parser.parse_args()


# --- the cartridge and the files each side moves -----------------------------

def ines_image(mapper, prg_kib, chr_kib):
    """An iNES image whose every byte differs from its neighbours."""
    header = bytearray(b"NES\x1a")
    header += bytes([prg_kib // 16, chr_kib // 8, (mapper & 0x0F) << 4, mapper & 0xF0])
    header += bytes(8)
    prg = bytes((k * 7 + (k >> 8) + (k >> 14)) & 0xFF for k in range(prg_kib * KIB))
    chr_rom = bytes((k * 5 + (k >> 8) + (k >> 10)) & 0xFF for k in range(chr_kib * KIB))
    return bytes(header) + prg + chr_rom


def write(path, data, mode="wb"):
    with open(path, mode) as f:
        f.write(data)


# --- running and timing ------------------------------------------------------

class Runner:
    def __init__(self, caldrin, mount, work):
        self.caldrin = caldrin
        self.mount = mount
        self.work = work
        self.env = dict(os.environ, CALDRIN_DRIVES="E=" + mount)

    def session(self, lines, capture=False):
        """Runs the program with lines on its input, then q."""
        text = "".join(line + "\n" for line in lines) + "q\n"
        result = subprocess.run([self.caldrin], input=text.encode(), cwd=self.work,
                                env=self.env, stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
                                stderr=subprocess.PIPE, check=False)
        if result.returncode != 0:
            raise RuntimeError("caldrin failed: " + result.stderr.decode(errors="replace"))
        return result.stdout.decode(errors="replace") if capture else ""

    def shell(self, script):
        subprocess.run(["sh", "-c", script], cwd=self.work, env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def timed(self, action):
        start = time.perf_counter()
        action()
        return time.perf_counter() - start

    def peak_kib(self, argv, stdin_text=""):
        """Maximum resident set size of one run, from /usr/bin/time."""
        with tempfile.NamedTemporaryFile("r", dir=self.work) as report:
            subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                           input=stdin_text.encode(), cwd=self.work, env=self.env, check=True,
                           stdout=subprocess.DEVNULL)
            return int(report.read().strip().splitlines()[-1])


NOTHING = "dd if=/dev/zero of=/dev/null count=0 status=none"


def sequence(commands):
    return " && ".join(commands)


def repeat(commands, count):
    return "i=0; while [ $i -lt %d ]; do %s || exit 1; i=$((i+1)); done" % (
        count, sequence(commands))


class Case:
    """One program operation and the dd commands moving the same bytes."""

    def __init__(self, name, line, dd, count, target=None, expect=None):
        self.name = name
        self.line = line      # the console line doing the operation once
        self.dd = dd          # dd commands moving the same bytes, in order
        self.count = count    # operations per session for the excluded figure
        self.target = target  # ratio the excluded figure should stay within
        self.expect = expect  # text the program's output must hold


def measure(runner, case, rounds):
    """Both figures for one case, the two sides taking turns."""
    once, ours_op, dd_op = [], [], []
    n = case.count
    nothing = [NOTHING] * len(case.dd)
    for _ in range(rounds):
        ours = runner.timed(lambda: runner.session([case.line]))
        theirs = runner.timed(lambda: runner.shell(sequence(case.dd)))
        once.append(ours / theirs)
        ours_n = runner.timed(lambda: runner.session([case.line] * n))
        dd_n = runner.timed(lambda: runner.shell(repeat(case.dd, n)))
        ours_0 = runner.timed(lambda: runner.session([]))
        dd_0 = runner.timed(lambda: runner.shell(repeat(nothing, n)))
        ours_op.append((ours_n - ours_0) / n)
        dd_op.append((dd_n - dd_0) / n)
    # A difference of two timings scatters more than either, so the excluded
    # figure is the ratio of the median costs rather than a median of ratios.
    ours_cost = statistics.median(ours_op)
    dd_cost = statistics.median(dd_op)
    return {
        "once": statistics.median(once),
        "excluded": ours_cost / dd_cost if dd_cost > 0 else float("inf"),
        "ours_ms": ours_cost * 1000,
        "dd_ms": dd_cost * 1000,
        "ours_peak": runner.peak_kib([runner.caldrin], case.line + "\nq\n"),
        "dd_peak": max(runner.peak_kib(["sh", "-c", "exec " + dd]) for dd in case.dd),
    }


# --- the emulator mount ------------------------------------------------------

class Mount:
    def __init__(self, devsim, cart, folder):
        self.devsim = devsim
        self.cart = cart
        self.folder = folder

    def __enter__(self):
        subprocess.run([self.devsim, self.cart, self.folder], check=True)
        deadline = time.monotonic() + 10
        while not os.path.ismount(self.folder):
            if time.monotonic() > deadline:
                raise RuntimeError("the emulator did not mount " + self.folder)
            time.sleep(0.05)
        return self

    def __exit__(self, *exc):
        subprocess.run(["fusermount3", "-u", self.folder], check=False)


# --- report -------------------------------------------------------------------

def machine_text():
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    return "%s, %d cores, Linux %s, load average %s" % (
        model, os.cpu_count() or 0, platform.release(), load)


def print_table(results, rounds):
    print()
    print("Median over %d alternating rounds; ratio = program / dd." % rounds)
    header = ("operation", "with start-up", "start-up excl.", "program ms/op", "dd ms/op",
              "target", "peak program", "peak dd")
    rows = [header]
    for case, r in results:
        rows.append((case.name, "%.2fx" % r["once"], "%.2fx" % r["excluded"],
                     "%.2f" % r["ours_ms"], "%.2f" % r["dd_ms"],
                     "<= %.1fx" % case.target if case.target else "-",
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
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    dumper = os.path.abspath(args.dumper or os.path.join(source, "dumpers", "nes.lua"))

    print("machine: " + machine_text())
    top = tempfile.mkdtemp(prefix="caldrin-e2e-")
    try:
        mount = os.path.join(top, "drive")
        work = os.path.join(top, "work")
        os.mkdir(mount)
        os.mkdir(work)
        cart = os.path.join(top, "bench.nes")
        write(cart, ines_image(mapper=0, prg_kib=32, chr_kib=8))
        rng = random.Random(8)
        write(os.path.join(work, "data.bin"), bytes(rng.getrandbits(8) for _ in range(64 * KIB)))
        write(os.path.join(work, "read64k.lua"),
              b"for address = 0, 0xC000, 0x4000 do\n"
              b"  local crc, text = fd_CpuReadAscii(address, 0x4000)\n"
              b"  assert(#text == 0x8000)\n"
              b"end\n"
              b"print(\"read 64 KiB\")\n")
        with Mount(devsim, cart, mount):
            runner = Runner(caldrin, mount, work)
            results = run_cases(runner, args.rounds, mount, work, dumper)
        print_table(results, args.rounds)
    finally:
        shutil.rmtree(top, ignore_errors=True)
    return 0


def run_cases(runner, rounds, mount, work, dumper):
    dump_rom = os.path.join(mount, "DUMP.ROM")
    cmd_file = os.path.join(mount, "CMD.CMD")

    # The exact run the program sends for the 64 KiB write, for dd to send.
    run = os.path.join(work, "run.bin")
    runner.session(["w 0 10000 data.bin"])
    shutil.copyfile(cmd_file, run)
    if os.path.getsize(run) != 32 * MIB:
        raise RuntimeError("the 64 KiB write did not send a 32 MiB run")

    def read(block, index, out):
        return "dd if=%s of=%s bs=%d skip=%d count=1 iflag=direct status=none" % (
            dump_rom, out, block, index)

    cases = [
        Case("d 0 10000 f.bin", "d 0 10000 f.bin", [read(64 * KIB, 0, "dd.bin")],
             count=32, target=1.2, expect="write 10000(crc:"),
        Case("w 0 10000 data.bin", "w 0 10000 data.bin",
             ["dd if=run.bin of=%s bs=32M conv=fsync status=none" % cmd_file],
             count=4, target=1.5, expect="write 10000 bytes to cartridge"),
        # Every block read opens the memory image afresh, so dd does too.
        Case("do: 4 x fd_CpuReadAscii 16 KiB", "do read64k.lua",
             [read(16 * KIB, k, "/dev/null") for k in range(4)],
             count=32, target=1.2, expect="read 64 KiB"),
    ]
    if os.path.exists(dumper):
        print("note: %s exists but its dd replay is not written yet; skipped" % dumper)
    else:
        print("note: no %s yet; the whole-cartridge dump is skipped" % dumper)

    results = []
    for case in cases:
        output = runner.session([case.line], capture=True)
        if case.expect and case.expect not in output:
            raise RuntimeError("%r did not print %r:\n%s" % (case.line, case.expect, output))
        print("measuring %s ..." % case.name, flush=True)
        results.append((case, measure(runner, case, rounds)))
    return results


if __name__ == "__main__":
    sys.exit(main())
