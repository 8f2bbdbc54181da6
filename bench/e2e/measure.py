"""One case measured: the program against dd and against the floor, the
sides taking turns round after round."""

import statistics

from .device_ops import NOTHING, aligned_buffer
from .runner import timed


class Case:
    """A program operation and the device operations it amounts to."""

    def __init__(self, name, lines, ops, count, target, expect):
        self.name = name
        self.lines = lines    # console lines doing the operation once
        self.ops = ops        # the same device operations, in order
        self.count = count    # operations per round for the excluded figures
        self.target = target  # ratio to dd the excluded figure should stay within
        self.expect = expect  # text the program's output must hold


def measure(runner, case, rounds):
    dd = [op.dd() for op in case.ops]
    nothing = [NOTHING] * len(dd)
    buffer = aligned_buffer(max(getattr(op, "length", 0) for op in case.ops) or 4096)

    def floor_pass():
        for op in case.ops:
            op.syscalls(buffer)

    once, ours_op, dd_op, floor_op = [], [], [], []
    n = case.count
    for _ in range(rounds):
        ours = timed(lambda: runner.session(case.lines))
        theirs = timed(lambda: runner.commands(dd))
        once.append(ours / theirs)
        ours_n = timed(lambda: runner.session(case.lines * n))
        ours_0 = timed(lambda: runner.session([]))
        ours_op.append((ours_n - ours_0) / n)
        # dd's start-up is most of its time: each pass sits next to a pass of
        # as many dd runs that move nothing, and only the difference counts.
        difference = 0.0
        for _ in range(n):
            difference += timed(lambda: runner.commands(dd))
            difference -= timed(lambda: runner.commands(nothing))
        dd_op.append(difference / n)
        floor_op.append(timed(lambda: [floor_pass() for _ in range(n)]) / n)
    ours_cost = statistics.median(ours_op)
    dd_cost = statistics.median(dd_op)
    floor_cost = statistics.median(floor_op)
    text = "".join(line + "\n" for line in case.lines) + "q\n"
    largest = max(case.ops, key=lambda op: getattr(op, "length", 0) or len(op.data))
    return {
        "once": statistics.median(once),
        "excluded": ours_cost / dd_cost if dd_cost > 0 else float("inf"),
        "floor_ratio": ours_cost / floor_cost,
        "ours_ms": ours_cost * 1000,
        "dd_ms": dd_cost * 1000,
        "floor_ms": floor_cost * 1000,
        "ours_peak": runner.peak_kib([runner.caldrin], text),
        "dd_peak": runner.peak_kib(largest.dd()),
    }
