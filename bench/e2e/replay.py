"""What the program did to the device, recorded with strace and turned into
device operations that dd or bare system calls can do again."""

import os
import re
import tempfile

from .device_ops import Read, Send

CALL = re.compile(r'^(\w+)\((.*)\)\s+= (-?\d+)')
STRING = re.compile(r'"((?:\\x[0-9a-f]{2})*)"')


def unescape(text):
    return bytes.fromhex(text.replace("\\x", ""))


def record_device_calls(runner, lines):
    """The program's opens, reads, writes and closes of the device files."""
    with tempfile.NamedTemporaryFile("r", dir=runner.work) as trace:
        wrapper = ["strace", "-o", trace.name, "-s", str(64 << 20), "-xx"]
        for name in ("DUMP.ROM", "CMD.CMD"):
            wrapper += ["-P", os.path.join(runner.mount, name)]
        runner.session(lines, wrapper=wrapper)
        return [match.groups() for match in map(CALL.match, trace) if match]


def device_ops(runner, lines, folder):
    """The operations the program made on the device while it ran lines,
    start-up left out; the runs of command sectors it sent go to folder."""
    os.makedirs(folder, exist_ok=True)
    ops, open_files = [], {}
    start_up = len(record_device_calls(runner, []))  # the init command
    for name, arguments, result in record_device_calls(runner, lines)[start_up:]:
        if name == "openat":
            path = unescape(STRING.search(arguments).group(1)).decode()
            open_files[int(result)] = (path, bytearray())
        elif name == "pread64":
            length, offset = (int(v) for v in arguments.rsplit(",", 2)[-2:])
            ops.append(Read(runner.mount, offset, length))
        elif name == "write":
            open_files[int(arguments.split(",", 1)[0])][1].extend(
                unescape(STRING.search(arguments).group(1)))
        elif name == "close":
            path, data = open_files.pop(int(arguments))
            if path.endswith("CMD.CMD"):
                run_file = os.path.join(folder, "send%04d.bin" % len(ops))
                with open(run_file, "wb") as f:
                    f.write(data)
                ops.append(Send(runner.mount, run_file))
    return ops
