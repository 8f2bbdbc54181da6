"""Running the program and dd on the emulator's mount, and timing them."""

import os
import subprocess
import tempfile
import time


class Runner:
    def __init__(self, caldrin, mount, work):
        self.caldrin = caldrin
        self.mount = mount
        self.work = work
        self.env = dict(os.environ, CALDRIN_DRIVES="E=" + mount)

    def session(self, lines, capture=False, wrapper=()):
        """Runs the program with lines on its input, then q."""
        text = "".join(line + "\n" for line in lines) + "q\n"
        result = subprocess.run(list(wrapper) + [self.caldrin], input=text.encode(), cwd=self.work,
                                env=self.env, stderr=subprocess.PIPE,
                                stdout=subprocess.PIPE if capture else subprocess.DEVNULL)
        if result.returncode != 0:
            raise RuntimeError("caldrin failed: " + result.stderr.decode(errors="replace"))
        return result.stdout.decode(errors="replace") if capture else ""

    def commands(self, argvs):
        """Runs the commands one after another, as a shell script would."""
        for argv in argvs:
            subprocess.run(argv, cwd=self.work, env=self.env, check=True, stdout=subprocess.DEVNULL)

    def peak_kib(self, argv, stdin_text=""):
        """Largest resident set of one run, from GNU time."""
        with tempfile.NamedTemporaryFile("r", dir=self.work) as report:
            subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                           input=stdin_text.encode(), cwd=self.work, env=self.env, check=True,
                           stdout=subprocess.DEVNULL)
            return int(report.read().strip().splitlines()[-1])


def timed(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start


class Mount:
    """The emulator serving cart at folder for the duration of a with block."""

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
        # A program that has just exited may still hold the mount for a moment.
        for _ in range(20):
            if subprocess.run(["fusermount3", "-u", self.folder], check=False).returncode == 0:
                return
            time.sleep(0.1)
