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
