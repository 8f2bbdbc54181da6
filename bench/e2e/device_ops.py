"""The device operations a case is made of, each done two ways: as a dd run
(the cheapest program that moves the bytes) and as the bare system calls made
from this process, the floor nothing can go under."""

import mmap
import os

NOTHING = ["dd", "if=/dev/zero", "of=/dev/null", "count=0", "status=none"]


class Read:
    """One unbuffered read of the memory image, opened for that read alone,
    optionally saved to a host file."""

    def __init__(self, mount, offset, length, out=None):
        self.path = os.path.join(mount, "DUMP.ROM")
        self.offset = offset
        self.length = length
        self.out = out

    def dd(self):
        return ["dd", "if=" + self.path, "of=" + (self.out or "/dev/null"), "bs=%d" % self.length,
                "skip=%d" % self.offset, "count=1", "iflag=direct,skip_bytes", "status=none"]

    def syscalls(self, buffer):
        fd = os.open(self.path, os.O_RDONLY | os.O_DIRECT)
        try:
            count = os.preadv(fd, [memoryview(buffer)[:self.length]], self.offset)
        finally:
            os.close(fd)
        if self.out:
            write_file(self.out, memoryview(buffer)[:count])


class Send:
    """One run of command sectors written as the whole command file."""

    def __init__(self, mount, run_file):
        self.path = os.path.join(mount, "CMD.CMD")
        self.run_file = run_file
        with open(run_file, "rb") as f:
            self.data = f.read()

    def dd(self):
        return ["dd", "if=" + self.run_file, "of=" + self.path, "bs=%d" % max(len(self.data), 1),
                "conv=fsync", "status=none"]

    def syscalls(self, buffer):
        fd = os.open(self.path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o666)
        try:
            view = memoryview(self.data)
            while view:
                view = view[os.write(fd, view):]
            os.fsync(fd)
        finally:
            os.close(fd)


def write_file(path, data):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o666)
    try:
        view = memoryview(data)
        while view:
            view = view[os.write(fd, view):]
    finally:
        os.close(fd)


def aligned_buffer(size):
    """Page-aligned memory, as unbuffered reads want."""
    return mmap.mmap(-1, size)
