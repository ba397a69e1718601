"""Installers built by the packer tool around the sample setup program, run under Wine:
the signed delivered layout with its exit codes, the damage cases with the message boxes
they show, and silent mode. Containers for damage cases are laid out here record by
record, independently of the tool, which also checks the tool's layout against them."""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import unittest

from reader_harness import WINE_RUN, WineTestCase, run_windows_program, temp_folder, unix_path, windows_path

TOOL_EXE = os.environ.get("TOOL_EXE", "")
SAMPLE_SETUP_EXE = os.environ.get("SAMPLE_SETUP_EXE", "")
READER_EXE = os.environ.get("READER_EXE", "")

TAIL = b"chunked-installer-tail"
INVALID_ARCHIVE = (
    "Invalid Archive!",
    "We are sorry, but your installation / update did not complete due to unexpected download errors.\r\n"
    "Please download full version of the program",
)
PARAMETERS = '/V"USER_BRAND_NAME=\\"Quorlin\\" WEBINSTALLER=1"'


def record(data):
    return data + struct.pack("<I", len(data)) + hashlib.md5(data).digest()


def stub_group(image):
    return record(image) + record(b"Reader.exe") + record(b"stub") + record(b"stub")


def file_group(name, file_name, data):
    return record(data) + record(file_name) + record(name) + record(b"file")


def value_group(name, value):
    return record(value) + record(name) + record(b"value")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class ContainerRun(WineTestCase):
    def setUp(self):
        super().setUp()
        self.reader = read(READER_EXE)
        self.sample = read(SAMPLE_SETUP_EXE)
        self.record_file = os.path.join(self.scratch, "record.txt")

    def packer(self, *args):
        return subprocess.run([WINE_RUN, TOOL_EXE] + list(args), stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=300)

    def write_installer(self, body, name="installer.exe"):
        path = os.path.join(self.scratch, name)
        with open(path, "wb") as f:
            f.write(stub_group(self.reader) + body)
        return path

    def delivered_body(self, exit_code):
        return (file_group(b"installer32", b"QZVPROSetup.exe", self.sample)
                + value_group(b"executable32", b"%installer32%")
                + value_group(b"parameters", f"{PARAMETERS} /exit:{exit_code}".encode())
                + record(TAIL))

    def run_installer(self, path, *args):
        if os.path.exists(self.record_file):
            os.remove(self.record_file)
        run = run_windows_program(path, *args, env={"SAMPLE_SETUP_RECORD": windows_path(self.record_file)})
        pattern = re.compile(re.escape(temp_folder()) + r"QZV-?\d+\\$")
        directories = [d for d in run.created_directories if pattern.match(d)]
        self.assertEqual(len(directories), 1, run.created_directories)
        run.working_directory = directories[0]
        self.assertFalse(os.path.exists(unix_path(run.working_directory)), "working directory left behind")
        return run

    def recorded(self):
        with open(self.record_file, "rb") as f:
            lines = f.read().decode("latin-1").split("\n")
        return dict(line.split("=", 1) for line in lines if "=" in line)

    def boxes(self, run):
        return [(b.caption, b.text) for b in run.message_boxes]

    def test_signed_installer_built_by_the_tool_runs_its_payload(self):
        sample = os.path.join(self.scratch, "sample_setup.exe")
        shutil.copyfile(SAMPLE_SETUP_EXE, sample)
        for exit_code in (0, 3010):
            with self.subTest(exit_code=exit_code):
                built = os.path.join(self.scratch, f"built{exit_code}.exe")
                done = self.packer("build", "--stub", windows_path(READER_EXE), "--output", windows_path(built),
                                   "--file", "installer32=" + windows_path(sample), "--as", "QZVPROSetup.exe",
                                   "--value", "executable32=%installer32%",
                                   "--value", f"parameters={PARAMETERS} /exit:{exit_code}")
                self.assertEqual(done.returncode, 0, done.stderr)
                # The tool lays out exactly what the format prescribes.
                self.assertEqual(read(built), stub_group(self.reader) + self.delivered_body(exit_code))

                key, cert = os.path.join(self.scratch, "key.pem"), os.path.join(self.scratch, "cert.pem")
                subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                "/CN=throwaway test signer", "-keyout", key, "-out", cert], check=True,
                               capture_output=True)
                signed = os.path.join(self.scratch, f"signed{exit_code}.exe")
                subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-in", built, "-out", signed],
                               check=True, capture_output=True)
                self.assertGreater(len(read(signed)), len(read(built)))

                listed = self.packer("list", windows_path(signed))
                self.assertEqual(listed.returncode, 0, listed.stdout)
                self.assertIn(b"13 records read, 13 verified: the container reads completely", listed.stdout)

                run = self.run_installer(signed)
                self.assertEqual(run.exit_code, exit_code, run.output)
                self.assertEqual(self.boxes(run), [])
                recorded = self.recorded()
                self.assertEqual(recorded["module_path"], run.working_directory + "QZVPROSetup.exe")
                self.assertEqual(recorded["current_directory"], temp_folder().rstrip("\\"))
                self.assertIn(f"/exit:{exit_code}", recorded["command_line"])
                self.assertIn("USER_BRAND_NAME", recorded["command_line"])

                verified = subprocess.run(["osslsigncode", "verify", "-in", signed, "-CAfile", cert],
                                          capture_output=True)
                self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)

    def damage_cases(self):
        """(description, container body, exit code, message boxes (None: one or more
        "Invalid Archive!"), whether the payload ran)."""
        sample = self.sample
        delivered = self.delivered_body(7)
        tail_damaged = delivered[:-1] + bytes([delivered[-1] ^ 1])
        payload_at = delivered.index(sample)
        payload_damaged = bytearray(delivered)
        payload_damaged[payload_at + 1000] ^= 1
        return [
            ("tail digest damaged", tail_damaged, 1, [INVALID_ARCHIVE, INVALID_ARCHIVE], False),
            ("payload data damaged", bytes(payload_damaged), 1, [INVALID_ARCHIVE, INVALID_ARCHIVE], False),
            ("file truncated inside the payload record", delivered[: payload_at + 5000], 1, None, False),
            ("unknown kind of two records is skipped",
             file_group(b"installer32", b"QZVPROSetup.exe", sample) + record(b"name") + record(b"unknown")
             + value_group(b"executable32", b"%installer32%") + value_group(b"parameters", b"/exit:7") + record(TAIL),
             7, [], True),
            ("second tail in the middle",
             file_group(b"installer32", b"QZVPROSetup.exe", sample) + record(TAIL)
             + value_group(b"executable32", b"%installer32%") + value_group(b"parameters", b"/exit:7") + record(TAIL),
             7, [], True),
            ("two value groups of one name: the one nearer the end wins",
             file_group(b"installer32", b"QZVPROSetup.exe", sample) + value_group(b"executable32", b"%installer32%")
             + value_group(b"parameters", b"/exit:5") + value_group(b"parameters", b"/exit:7") + record(TAIL),
             7, [], True),
            ("file group with an empty name",
             file_group(b"", b"QZVPROSetup.exe", sample) + value_group(b"executable32", b"QZVPROSetup.exe")
             + value_group(b"parameters", b"/exit:7") + record(TAIL),
             7, [], True),
            ("file group with empty data",
             file_group(b"installer32", b"QZVPROSetup.exe", sample) + file_group(b"notes", b"empty.txt", b"")
             + value_group(b"executable32", b"%installer32%") + value_group(b"parameters", b"/exit:7") + record(TAIL),
             7, [], True),
        ]

    def test_damage_cases_with_and_without_silent_mode(self):
        for description, body, exit_code, boxes, payload_ran in self.damage_cases():
            installer = self.write_installer(body)
            for silent in (False, True):
                with self.subTest(description, silent=silent):
                    run = self.run_installer(installer, *(["/s"] if silent else []))
                    self.assertEqual(run.exit_code, exit_code, run.output)
                    self.assertEqual(os.path.exists(self.record_file), payload_ran)
                    if silent:
                        self.assertEqual(self.boxes(run), [])
                    elif boxes is None:
                        self.assertTrue(run.message_boxes)
                        self.assertEqual(set(self.boxes(run)), {INVALID_ARCHIVE})
                    else:
                        self.assertEqual(self.boxes(run), boxes)

    def test_hostile_stored_file_name_writes_nothing_outside(self):
        outside = os.path.join(unix_path(temp_folder()), "evil.exe")
        if os.path.exists(outside):
            os.remove(outside)
        installer = self.write_installer(
            value_group(b"later", b"never read") + file_group(b"installer32", b"..\\evil.exe", self.sample)
            + value_group(b"executable32", b"%installer32%") + value_group(b"parameters", b"/exit:7") + record(TAIL))
        for silent in (False, True):
            with self.subTest(silent=silent):
                run = self.run_installer(installer, *(["/s"] if silent else []))
                self.assertEqual(run.exit_code, 1)
                self.assertFalse(os.path.exists(outside))
                self.assertFalse(os.path.exists(self.record_file))
                if silent:
                    self.assertEqual(self.boxes(run), [])
                    continue
                self.assertGreaterEqual(len(run.message_boxes), 1)
                first = run.message_boxes[0]
                self.assertEqual(first.caption, "Failed to extract file!")
                self.assertTrue(first.text.startswith("File: " + run.working_directory + "..\\evil.exe\rError: "),
                                first.text)
                # The archive stays valid, so the run tries to launch; nothing stands there.
                self.assertNotIn("Invalid Archive!", [b.caption for b in run.message_boxes])


if __name__ == "__main__":
    unittest.main()
