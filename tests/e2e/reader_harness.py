"""Runs Windows programs of the x86_64 build under Wine, the way a user would start them,
and reports what a test can check from outside: the full exit code (through the
Windows-side launcher), the message boxes the run showed (through Wine's relay trace of
user32.MessageBoxA) and the directories it created and entered.

CTest passes the build's paths in the environment: WINE_RUN, WINEPREFIX, READER_EXE,
LAUNCHER_EXE (and, where built, TOOL_EXE and SAMPLE_SETUP_EXE).
"""
import os
import pwd
import re
import shutil
import subprocess
import tempfile
import unittest
from dataclasses import dataclass, field

WINE_RUN = os.environ.get("WINE_RUN", "")
WINEPREFIX = os.environ.get("WINEPREFIX", "")
READER_EXE = os.environ.get("READER_EXE", "")
LAUNCHER_EXE = os.environ.get("LAUNCHER_EXE", "")

_QUOTED = r'"((?:[^"\\]|\\.)*)"'
_CALL = re.compile(r"Call (?:user32|KERNEL32|KERNELBASE|kernel32|kernelbase)\.(\w+)\((.*)\) ret=")
_MESSAGE_BOX_ARGS = re.compile(r"(\w+),\w+ " + _QUOTED + r",\w+ " + _QUOTED + r",(\w+)$")
_PATH_ARG = re.compile(r"^\w+ " + _QUOTED)
_EXIT_CODE = re.compile(r"^exit code: (\d+)\r?$", re.MULTILINE)


def unescape(text):
    """Undoes the escaping of Wine's debug strings (\\n, \\r, \\t, \\", \\\\, \\xNN)."""
    out, i = [], 0
    simple = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt in simple:
                out.append(simple[nxt])
                i += 2
                continue
            if nxt == "x":
                out.append(chr(int(text[i + 2 : i + 4], 16)))
                i += 4
                continue
        out.append(c)
        i += 1
    return "".join(out)


@dataclass
class MessageBox:
    caption: str
    text: str
    style: int
    owner: int


@dataclass
class Run:
    exit_code: int
    message_boxes: list = field(default_factory=list)
    created_directories: list = field(default_factory=list)
    entered_directories: list = field(default_factory=list)
    output: str = ""


def parse_trace(stderr):
    """Message boxes and directory calls in the order the program made them."""
    boxes, created, entered = [], [], []
    for line in stderr.splitlines():
        call = _CALL.search(line)
        if not call:
            continue
        name, args = call.group(1), call.group(2)
        if name == "MessageBoxA":
            m = _MESSAGE_BOX_ARGS.match(args)
            if m:
                boxes.append(MessageBox(unescape(m.group(3)), unescape(m.group(2)), int(m.group(4), 16), int(m.group(1), 16)))
        elif name in ("CreateDirectoryA", "SetCurrentDirectoryA"):
            m = _PATH_ARG.match(args)
            if m:
                (created if name == "CreateDirectoryA" else entered).append(unescape(m.group(1)))
    return boxes, created, entered


def run_windows_program(program, *args, timeout=300, env=None):
    """Runs `program` with `args` (already quoted for Windows) through the launcher."""
    command_line = " ".join((windows_path(program),) + args)
    full_env = dict(os.environ, WINEDEBUG="+relay")
    full_env.update(env or {})
    done = subprocess.run(
        [WINE_RUN, LAUNCHER_EXE] + [windows_path(program)] + list(args),
        stdin=subprocess.DEVNULL,
        capture_output=True,
        timeout=timeout,
        env=full_env,
    )
    stdout = done.stdout.decode("latin-1")
    stderr = done.stderr.decode("latin-1")
    found = _EXIT_CODE.search(stdout)
    if not found:
        raise AssertionError(f"launcher gave no exit code for {command_line!r}:\n{stdout}\n{stderr[-3000:]}")
    boxes, created, entered = parse_trace(stderr)
    return Run(int(found.group(1)), boxes, created, entered, stdout)


def windows_path(unix_path):
    """Z: is the Unix root in every Wine prefix."""
    if re.match(r"^[A-Za-z]:\\", unix_path):
        return unix_path
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def unix_path(win_path):
    """The Unix file behind a Windows path of this prefix (C: drive or Z:)."""
    drive, rest = win_path[0].upper(), win_path[2:].replace("\\", "/")
    if drive == "Z":
        return rest
    if drive == "C":
        # Wine keeps the C: drive's names, but Unix is case-sensitive: resolve each part.
        path = os.path.join(WINEPREFIX, "drive_c")
        for part in [p for p in rest.split("/") if p]:
            names = {n.lower(): n for n in os.listdir(path)} if os.path.isdir(path) else {}
            path = os.path.join(path, names.get(part.lower(), part))
        return path
    raise ValueError(f"no Unix path for {win_path}")


def temp_folder():
    """The prefix's temporary folder as Windows sees it (GetTempPath)."""
    user = pwd.getpwuid(os.getuid()).pw_name
    return f"C:\\users\\{user}\\Temp\\"


class WineTestCase(unittest.TestCase):
    """A scratch folder per test, removed afterwards."""

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="e2e-", dir=os.environ.get("E2E_SCRATCH") or None)
        self.addCleanup(shutil.rmtree, self.scratch, True)

    def copy_reader(self, name="Reader.exe"):
        path = os.path.join(self.scratch, name)
        shutil.copyfile(READER_EXE, path)
        return path


def run_with_command_text(program, command_text, env=None, timeout=300):
    """Runs `program` with exactly `command_text` after its quoted name and one blank
    (none when the text is empty), bypassing Wine's quoting of arguments."""
    line = f'"{windows_path(program)}"' + (" " + command_text if command_text else "")
    return run_windows_program(program, timeout=timeout, env=dict(env or {}, LAUNCHER_COMMAND_LINE=line))


# --- Runs started without waiting, and the Wine processes behind them --------------------

import signal  # noqa: E402  (kept with the helpers that use them)
import time  # noqa: E402


def run_from_output(stdout, stderr, what):
    """The Run that a finished launcher's output and relay trace describe."""
    found = _EXIT_CODE.search(stdout)
    if not found:
        raise AssertionError(f"launcher gave no exit code for {what}:\n{stdout}\n{stderr[-3000:]}")
    boxes, created, entered = parse_trace(stderr)
    return Run(int(found.group(1)), boxes, created, entered, stdout)


class BackgroundRun:
    """A Windows program started through the launcher without waiting for it. Its output
    goes to files in `output_dir`, so that many runs can go on at once. With `temp_folder`
    (a Windows path ending with a backslash) the program sees that folder as its temporary
    folder: Wine keeps the Unix TMP and TEMP to itself, so cmd sets them on the Windows side.
    """

    def __init__(self, output_dir, program, *args, env=None, temp_folder=None):
        self.what = " ".join((windows_path(program),) + args)
        command = [windows_path(LAUNCHER_EXE), windows_path(program)] + list(args)
        if temp_folder:
            command = ["cmd", "/c", f"set TMP={temp_folder}&& set TEMP={temp_folder}&& " + " ".join(command)]
        full_env = dict(os.environ, WINEDEBUG="+relay")
        full_env.update(env or {})
        handle, self._output = tempfile.mkstemp(prefix="run-", suffix=".out", dir=output_dir)
        with os.fdopen(handle, "wb") as out, open(self._output + ".trace", "wb") as trace:
            self.process = subprocess.Popen([WINE_RUN] + command, stdin=subprocess.DEVNULL, stdout=out, stderr=trace,
                                            env=full_env)

    def finished(self):
        return self.process.poll() is not None

    def wait(self, timeout=300):
        """Waits for the launcher, whatever became of the program (a program killed while
        it was being started leaves the launcher without an exit code to print)."""
        self.process.wait(timeout=timeout)

    def finish(self, timeout=300):
        """Waits for the launcher and returns what the run showed."""
        self.wait(timeout)
        with open(self._output, "rb") as out, open(self._output + ".trace", "rb") as trace:
            return run_from_output(out.read().decode("latin-1"), trace.read().decode("latin-1"), repr(self.what))

    def stop(self):
        """Ends the launcher if it still runs (the program it started is not touched)."""
        if not self.finished():
            self.process.kill()
            self.process.wait()


def wait_until(condition, timeout, interval=0.005):
    """Polls `condition` until it returns a true value and returns that value; returns
    None when `timeout` seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def wine_processes(command_matches):
    """Unix process ids of this prefix's processes whose Unix command line (a list of
    arguments) satisfies `command_matches`. Wine shows a Windows process's command line as
    its Unix one, image first; just after its start, or in the fork that starts a child,
    the line is still the loader's or the parent's."""
    own_prefix = os.path.realpath(WINEPREFIX)
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                arguments = f.read().decode("latin-1").rstrip("\0").split("\0")
            if not arguments[0] or not command_matches(arguments):
                continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                environment = f.read().decode("latin-1").split("\0")
        except OSError:  # the process ended meanwhile
            continue
        prefixes = [v[len("WINEPREFIX="):] for v in environment if v.startswith("WINEPREFIX=")]
        if prefixes and os.path.realpath(prefixes[0]) == own_prefix:
            found.append(int(entry))
    return sorted(found)


def runs_image(windows_image):
    """A command-line test for wine_processes: the process runs `windows_image`, or is
    the loader about to run it."""
    image = windows_image.lower()

    def matches(arguments):
        first = arguments[0].lower()
        loader = os.path.basename(first).startswith("wine")
        return first == image or (loader and [a.lower() for a in arguments[1:2]] == [image])
    return matches


def _process_gone(pid):
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            return f.read().rsplit(b")", 1)[1].split()[0] in (b"Z", b"X")
    except OSError:
        return True


def kill_wine_process(pid, timeout=60):
    """Ends a Windows process at once, as a crash or a forced end would: SIGKILL to its
    Unix process, after which the Wine server counts the mutexes it owned as abandoned.
    Returns whether it was still running when killed; waits until it is gone."""
    try:
        os.kill(pid, signal.SIGKILL)
        alive = True
    except ProcessLookupError:
        alive = False
    if not wait_until(lambda: _process_gone(pid), timeout):
        raise AssertionError(f"process {pid} did not end after SIGKILL")
    return alive


def starts_in(arguments, folders):
    """Whether a process runs an image from one of `folders` (lower case, final backslash),
    or is the loader about to."""
    return any(a.lower().startswith(tuple(folders)) for a in arguments[:2])


def names_seen_while(run, folder):
    """The names of the files that appeared anywhere below `folder` while `run` went on,
    as often as they can be looked at."""
    seen = set()
    while not run.finished():
        for _, _, files in os.walk(folder):
            seen.update(files)
        time.sleep(0.001)
    return seen


def tree_state(path):
    """Every entry below `path` with what would change if it were written, replaced or
    removed: size, modification time and inode."""
    state = {}
    for root, dirs, files in os.walk(path):
        for name in dirs + files:
            full = os.path.join(root, name)
            info = os.lstat(full)
            state[os.path.relpath(full, path)] = (info.st_size, info.st_mtime_ns, info.st_ino)
    return state
