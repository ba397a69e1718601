"""The setup program's command line as Reader.exe composes it, seen by the sample setup
program under Wine: the "/V" split and merge, the pass-through text, "/s", and the "/L"
language prefix from the product's uninstall key."""
import os
import subprocess
import unittest

from reader_harness import WINE_RUN, WineTestCase, run_with_command_text, windows_path
from test_container_run import READER_EXE, SAMPLE_SETUP_EXE, file_group, read, record, stub_group, value_group, TAIL

UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tallowmere"
S = '/V"USER_BRAND_NAME=\\"Quorlin\\" WEBINSTALLER=1"'
MERGED = 'USER_BRAND_NAME=\\"Quorlin\\" WEBINSTALLER=1"'

# (command text, stored parameters or None, InstallerLanguage or None, launch command text)
CASES = [
    ("", S, None, ' /V" ' + MERGED),
    ("", S, "1033", '/L1033  /V" ' + MERGED),
    ("/s", S, None, '/s /V" ' + MERGED),
    ("/s", S, "1033", '/L1033 /s /V" ' + MERGED),
    ('/s /v"A=1 B=2"', S, None, '/s  /V"A=1 B=2 ' + MERGED),
    ("/vFOO=1 /x", S, None, ' /x /V"FOO=1 ' + MERGED),
    ("/L1031 /s", S, "1033", '/L1031 /s /V" ' + MERGED),
    ("", "/qb", None, ' /qb/V""'),
    ('/v"A=1"', "/V/qn", None, ' /V"A=1"/qn'),
    ("/s", None, None, '/s /V""'),
    ('/V"A=1', S, None, ' /V"A=1 ' + MERGED),
    # Further edges: "/V" inside a word, a lower-case "/v" stored, "/L" inside a word.
    ("/VERBOSE", S, None, ' /V"ERBOSE ' + MERGED),
    ("", '/v"A=1"', None, ' /v"A=1"/V""'),
    ("/LOG", S, "1033", '/LOG /V" ' + MERGED),
    ("/l1031", S, "1033", '/L1033 /l1031 /V" ' + MERGED),
]


def reg(*args):
    return subprocess.run([WINE_RUN, "reg"] + list(args), stdin=subprocess.DEVNULL, capture_output=True, timeout=120)


class CommandLineRun(WineTestCase):
    def setUp(self):
        super().setUp()
        self.record_file = os.path.join(self.scratch, "record.txt")
        reg("delete", UNINSTALL_KEY, "/f")
        self.addCleanup(reg, "delete", UNINSTALL_KEY, "/f")

    def installer(self, stored):
        body = file_group(b"installer32", b"QZVPROSetup.exe", read(SAMPLE_SETUP_EXE))
        body += value_group(b"executable32", b"%installer32%")
        if stored is not None:
            body += value_group(b"parameters", stored.encode())
        path = os.path.join(self.scratch, f"installer{len(os.listdir(self.scratch))}.exe")
        with open(path, "wb") as f:
            f.write(stub_group(read(READER_EXE)) + body + record(TAIL))
        return path

    def launch_text(self, installer, command_text):
        if os.path.exists(self.record_file):
            os.remove(self.record_file)
        run = run_with_command_text(installer, command_text, env={"SAMPLE_SETUP_RECORD": windows_path(self.record_file)})
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(run.message_boxes, [])
        with open(self.record_file, "rb") as f:
            line = [l for l in f.read().decode("latin-1").split("\n") if l.startswith("command_line=")][0]
        command_line = line[len("command_line="):].rstrip("\r")
        # The system starts the program as its quoted path, one blank, then the parameters.
        quoted_path, _, parameters = command_line.partition('" ')
        self.assertTrue(quoted_path.startswith('"') and quoted_path.endswith("QZVPROSetup.exe"), command_line)
        return parameters

    def test_launch_command_text_table(self):
        for command_text, stored, language, expected in CASES:
            with self.subTest(command_text=command_text, stored=stored, language=language):
                if language is None:
                    reg("delete", UNINSTALL_KEY, "/f")
                else:
                    done = reg("add", UNINSTALL_KEY, "/v", "InstallerLanguage", "/t", "REG_SZ", "/d", language, "/f")
                    self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                self.assertEqual(self.launch_text(self.installer(stored), command_text), expected)

    def test_language_value_that_is_not_text_adds_no_prefix(self):
        reg("add", UNINSTALL_KEY, "/v", "InstallerLanguage", "/t", "REG_DWORD", "/d", "1033", "/f")
        self.assertEqual(self.launch_text(self.installer(S), "/s"), '/s /V" ' + MERGED)


if __name__ == "__main__":
    unittest.main()
