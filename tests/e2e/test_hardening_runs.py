"""Whole runs of Reader.exe under Wine when something goes wrong around them: the process
killed at random points of a run, twenty runs started at once, a disk that fills up or has
no room for another file while the stored files are written, and a damaged payload record."""
import os
import random
import re
import shutil
import subprocess
import time
import unittest

from reader_harness import (WINE_RUN, BackgroundRun, WineTestCase, kill_wine_process, names_seen_while,
                            run_windows_program, runs_image, starts_in, temp_folder, tree_state, unix_path, wait_until,
                            windows_path, wine_processes)

TOOL_EXE = os.environ.get("TOOL_EXE", "")
SAMPLE_SETUP_EXE = os.environ.get("SAMPLE_SETUP_EXE", "")
READER_EXE = os.environ.get("READER_EXE", "")

# Fixed so that a failure can be replayed; HARDENING_SEED chooses another sequence.
SEED = int(os.environ.get("HARDENING_SEED", "7031"))

PAYLOAD_NAME = "QZVPROSetup.exe"
PAYLOAD_EXIT_CODE = 7
BULK_NAME = "bulk.bin"
BULK_SIZE = 96 << 20  # large enough that writing it takes a visible part of the run
MiB = 1 << 20

INVALID_ARCHIVE = (
    "Invalid Archive!",
    "We are sorry, but your installation / update did not complete due to unexpected download errors.\r\n"
    "Please download full version of the program",
)
ALREADY_RUNNING = (
    "Already Running",
    "Another installation is already running or in the process of starting up.\n"
    "Please wait until the other installation has completed before trying again.",
)
SPAWN_FAILED = ("ShellExecuteEx failed", "Unable to spawn process")
WORKING_DIRECTORY = re.compile(re.escape(temp_folder()) + r"QZV-?\d+\\$")


def boxes(run):
    return [(b.caption, b.text) for b in run.message_boxes]


def working_directories(run, parent=None):
    pattern = WORKING_DIRECTORY
    if parent:
        pattern = re.compile(re.escape(parent) + r"QZV-?\d+\\$")
    return [d for d in run.created_directories if pattern.match(d)]


def read(path):
    with open(path, "rb") as f:
        return f.read()


class HardeningRun(WineTestCase):
    """Installers built by the tool, runs in the background, and the clean-up of whatever a
    broken run leaves: its processes, the payloads it started and its working directories."""

    def setUp(self):
        super().setUp()
        self.temp = unix_path(temp_folder())
        self.directories_before = set(self.working_directory_names())
        self.background = []
        self.addCleanup(self.remove_leftovers)

    def working_directory_names(self):
        return [n for n in os.listdir(self.temp) if re.fullmatch(r"QZV-?\d+", n)]

    def new_working_directories(self):
        """Unix paths of the working directories made since the test began."""
        return sorted(os.path.join(self.temp, n) for n in self.working_directory_names()
                      if n not in self.directories_before)

    def remove_leftovers(self):
        for run in self.background:
            run.stop()
        folders = [windows_path(self.scratch).lower() + "\\"]
        folders += [windows_path_in_temp(d) for d in self.new_working_directories()]
        for pid in wine_processes(lambda arguments: starts_in(arguments, folders)):
            kill_wine_process(pid)
        for path in self.new_working_directories():
            shutil.rmtree(path, ignore_errors=True)

    def start(self, program, *args, **options):
        run = BackgroundRun(self.scratch, program, *args, **options)
        self.background.append(run)
        return run

    def build_installer(self, name, files=(), payload=SAMPLE_SETUP_EXE):
        """An installer made by the tool: the payload, then `files` ((name, path, stored
        name), read before the payload because they lie nearer the end), then the values."""
        path = os.path.join(self.scratch, name)
        command = [WINE_RUN, TOOL_EXE, "build", "--stub", windows_path(READER_EXE), "--output", windows_path(path),
                   "--file", "installer32=" + windows_path(payload), "--as", PAYLOAD_NAME]
        for group, source, stored in files:
            command += ["--file", f"{group}={windows_path(source)}", "--as", stored]
        command += ["--value", "executable32=%installer32%", "--value", f"parameters=/exit:{PAYLOAD_EXIT_CODE}"]
        done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        return path

    def scratch_file(self, name, size, data=b""):
        """A file of `size` bytes that begins with `data`, in the scratch folder."""
        path = os.path.join(self.scratch, name)
        block = bytes(range(256)) * 4096
        with open(path, "wb") as f:
            f.write(data)
            left = size - len(data)
            while left > 0:
                f.write(block[:left])
                left -= len(block)
        return path

    def record_of(self, name):
        return os.path.join(self.scratch, name)

    def recorded(self, record):
        with open(record, "rb") as f:
            lines = f.read().decode("latin-1").split("\n")
        return dict(line.split("=", 1) for line in lines if "=" in line)


def windows_path_in_temp(unix_directory):
    """The Windows path, in lower case and with a final backslash, of a working directory."""
    return (temp_folder() + os.path.basename(unix_directory)).lower() + "\\"


class KilledRuns(HardeningRun):
    """Reader.exe killed at random points of a run; the next run must take over the lock
    and work in a directory of its own, whatever the killed one left behind."""

    PHASES = ("starting", "extracting", "extracted", "payload running", "payload ended")
    KILLS_PER_PHASE = 3

    def test_next_run_succeeds_after_a_kill_at_any_point(self):
        print(f"\nrandom seed {SEED} (set HARDENING_SEED to replay another)", flush=True)
        rng = random.Random(SEED)
        bulk = self.scratch_file("bulk-source.bin", BULK_SIZE)
        installer = self.build_installer("killed.exe", files=[("bulk", bulk, BULK_NAME)])
        plan = [phase for phase in self.PHASES for _ in range(self.KILLS_PER_PHASE)]
        rng.shuffle(plan)

        leftovers = {}  # Unix path of a left-over working directory -> its state
        seen = []
        for number, phase in enumerate(plan):
            release = os.path.join(self.scratch, f"release-{number}")
            record = self.record_of(f"killed-{number}.txt")
            known = set(self.new_working_directories())
            killed = self.start(installer, "/wait:" + windows_path(release),
                                env={"SAMPLE_SETUP_RECORD": windows_path(record)})
            pid = wait_until(lambda: wine_processes(runs_image(windows_path(installer))), 120)
            self.assertTrue(pid, "Reader.exe did not start")
            aim = self.wait_for_phase(phase, rng, known, record, release)
            released = os.path.exists(release)
            was_running = kill_wine_process(pid[0])
            killed.wait(timeout=120)

            [left] = [d for d in self.new_working_directories() if d not in known] or [None]
            evidence = self.evidence(left, record, was_running, released)
            seen.append(evidence.split(" (")[0])
            if left:
                leftovers[left] = tree_state(left)

            # The killed run's payload may still wait in its directory: the next run must
            # not mind it, the lock it never held, nor the directory it runs from.
            after = self.record_of(f"after-{number}.txt")
            run = run_windows_program(installer, env={"SAMPLE_SETUP_RECORD": windows_path(after)})
            self.assertEqual(run.exit_code, PAYLOAD_EXIT_CODE, (phase, evidence, run.output))
            self.assertEqual(boxes(run), [], (phase, evidence))
            # A name taken by a left-over directory is passed over for the next number.
            *passed_over, directory = working_directories(run)
            self.assertEqual(run.entered_directories[0], directory)
            self.assertNotIn(unix_path(directory), leftovers)
            for name in passed_over:
                self.assertIn(unix_path(name), leftovers)
            self.assertEqual(self.recorded(after)["module_path"], directory + PAYLOAD_NAME)
            self.assertFalse(os.path.exists(unix_path(directory)), "working directory left behind")
            for path, state in leftovers.items():
                self.assertEqual(tree_state(path), state, f"left-over {path} was disturbed")

            # Release the orphaned payload, if any, and wait until it is gone. A kill in the
            # middle of the launch can leave the payload's process created but never
            # resumed; it never ran, and only a kill ends it.
            open(release, "w").close()
            if left:
                folder = [windows_path_in_temp(left)]
                orphans = lambda: wine_processes(lambda arguments: starts_in(arguments, folder))  # noqa: E731
                if not wait_until(lambda: not orphans(), 5):
                    self.assertFalse(os.path.exists(record), f"released payload did not end: {orphans()}")
                    for orphan in orphans():
                        kill_wine_process(orphan)
                    evidence += ", its payload never started"
            print(f"kill {number + 1:2} aimed at {aim:38} found {evidence}; next run: exit {run.exit_code} "
                  f"in {directory}" + (f", {len(passed_over)} name(s) passed over" if passed_over else ""), flush=True)

        print("kills by what they interrupted: "
              + ", ".join(f"{what}: {seen.count(what)}" for what in sorted(set(seen))), flush=True)
        # These two are reached by watching the run, not by timing, so each must occur.
        self.assertIn("while extracting", seen)
        self.assertIn("while the payload ran", seen)

    def wait_for_phase(self, phase, rng, known, record, release):
        """Waits until the run reaches the point to kill it at and says which point that is."""
        def new_directory():
            return next((d for d in self.new_working_directories() if d not in known), None)

        def extracting_share():
            directory = new_directory()
            if not directory or os.path.exists(os.path.join(directory, BULK_NAME)) or os.path.exists(record):
                return 1.0 if directory else 0.0
            sizes = [os.path.getsize(os.path.join(directory, n)) for n in os.listdir(directory)
                     if n.startswith("~extracting")]
            return max(sizes, default=0) / BULK_SIZE

        if phase == "starting":
            # The process is seen as soon as the loader runs; its working directory follows
            # within a few milliseconds.
            delay = rng.uniform(0, 0.012)
            time.sleep(delay)
            return f"starting, {delay * 1000:.0f} ms after the process"
        if phase == "extracting":
            share = rng.uniform(0.05, 0.9)
            self.assertTrue(wait_until(lambda: extracting_share() >= share, 120), "extraction never began")
            return f"extracting, {share:.0%} of the large file"
        if phase == "extracted":
            self.assertTrue(wait_until(lambda: (new_directory() and os.path.exists(os.path.join(
                new_directory(), PAYLOAD_NAME))) or os.path.exists(record), 120), "payload never extracted")
            return "payload under its name"
        self.assertTrue(wait_until(lambda: os.path.exists(record), 120), "payload never started")
        if phase == "payload ended":
            open(release, "w").close()
        delay = rng.uniform(0, 0.5 if phase == "payload running" else 0.08)
        time.sleep(delay)
        return f"{phase}, {delay * 1000:.0f} ms later"

    def evidence(self, left, record, was_running, released):
        """What the killed run had done, judged from what it left."""
        ran = os.path.exists(record)
        if not was_running:
            return "after the run ended"
        if not left:
            return "after the cleanup, before the exit" if ran else "before the working directory"
        names = sorted(os.listdir(left))
        partial = [n for n in names if n.startswith("~extracting")]
        if partial:
            size = os.path.getsize(os.path.join(left, partial[0]))
            return f"while extracting ({size / MiB:.0f} MiB written)"
        if ran:
            return "after the payload was released" if released else "while the payload ran"
        if PAYLOAD_NAME in names:
            payload = wine_processes(lambda arguments: starts_in(arguments, [windows_path_in_temp(left)]))
            return "during the launch" if payload else "before the launch"
        return "between the stored files" if names else "before the extraction"


class SimultaneousRuns(HardeningRun):
    """Twenty Reader.exe started at once on one installer: one runs the payload, the rest
    stop at the lock."""

    RUNS = 20
    ROUNDS = 3

    def test_exactly_one_of_twenty_runs_the_payload(self):
        installer = self.build_installer("simultaneous.exe")
        for round_number in range(self.ROUNDS):
            with self.subTest(round=round_number):
                release = os.path.join(self.scratch, f"release-{round_number}")
                records = [self.record_of(f"simultaneous-{round_number}-{k}.txt") for k in range(self.RUNS)]
                runs = [self.start(installer, "/wait:" + windows_path(release),
                                   env={"SAMPLE_SETUP_RECORD": windows_path(record)}) for record in records]

                def settled():
                    done = sum(run.finished() for run in runs)
                    return done == self.RUNS or (done == self.RUNS - 1 and any(map(os.path.exists, records)))

                self.assertTrue(wait_until(settled, 240, interval=0.1), "the runs did not settle")
                launched = [k for k, record in enumerate(records) if os.path.exists(record)]
                self.assertEqual(len(launched), 1, launched)
                [winner] = launched
                for k, run in enumerate(runs):
                    if k == winner:
                        continue
                    result = run.finish()
                    self.assertEqual(result.exit_code, 1, result.output)
                    self.assertEqual(boxes(result), [ALREADY_RUNNING])
                    self.assertEqual(result.created_directories, [])

                self.assertFalse(runs[winner].finished())
                open(release, "w").close()
                result = runs[winner].finish()
                self.assertEqual(result.exit_code, PAYLOAD_EXIT_CODE, result.output)
                self.assertEqual(boxes(result), [])
                [directory] = working_directories(result)
                self.assertEqual(self.recorded(records[winner])["module_path"], directory + PAYLOAD_NAME)
                self.assertFalse(os.path.exists(unix_path(directory)))
                print(f"\nround {round_number + 1}: run {winner + 1} of {self.RUNS} ran the payload, "
                      f"{self.RUNS - 1} ended with \"Already Running\"", flush=True)


class FailedWrites(HardeningRun):
    """A stored file that cannot be written: the run says which file and why, launches
    nothing, and leaves nothing under the payload's name."""

    DISK_SIZE = 4 * MiB

    def mount_small_disk(self, name, options):
        """A tmpfs mounted in the scratch folder with `options`, or None where mounting is not allowed."""
        disk = os.path.join(self.scratch, name)
        os.mkdir(disk)
        try:
            done = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", disk], capture_output=True,
                                  timeout=60)
        except OSError:
            return None
        if done.returncode != 0:
            return None
        self.addCleanup(self.unmount, disk)
        return disk

    def unmount(self, disk):
        # Whatever still runs may hold a file there; the scratch folder is removed after this.
        self.remove_leftovers()
        if subprocess.run(["umount", disk], capture_output=True, timeout=60).returncode != 0:
            subprocess.run(["umount", "-l", disk], capture_output=True, timeout=60)

    def cases(self):
        """(description, installer, stored file that fails, tmpfs options)."""
        large_payload = self.scratch_file("large-payload.exe", 2 * self.DISK_SIZE, read(SAMPLE_SETUP_EXE))
        bulk = self.scratch_file("bulk-source.bin", 2 * self.DISK_SIZE)
        space = f"size={self.DISK_SIZE}"
        return [
            ("payload larger than the free space", self.build_installer("large.exe", payload=large_payload),
             PAYLOAD_NAME, space),
            ("a file read before the payload fills the disk",
             self.build_installer("bulk.exe", files=[("bulk", bulk, BULK_NAME)]), BULK_NAME, space),
            # The disk's own folder and the working directory take the only two inodes, so
            # not even the payload's temporary copy can be created.
            ("no room for another file", self.build_installer("small.exe"), PAYLOAD_NAME, space + ",nr_inodes=2"),
        ]

    def test_failed_write_launches_nothing_and_leaves_nothing(self):
        for number, (description, installer, failing, options) in enumerate(self.cases()):
            with self.subTest(description):
                disk = self.mount_small_disk(f"disk-{number}", options)
                if not disk:
                    self.skipTest("no tmpfs can be mounted here")
                parent = windows_path(disk) + "\\"
                record = self.record_of(f"failed-write-{number}.txt")
                started = self.start(installer, env={"SAMPLE_SETUP_RECORD": windows_path(record)},
                                     temp_folder=parent)
                seen = names_seen_while(started, disk)
                run = started.finish()
                self.assertEqual(run.exit_code, 1, run.output)
                self.assertNotIn(failing, seen, "a part of the file stood under its own name")
                self.assertFalse(os.path.exists(record), "the payload ran")
                [directory] = working_directories(run, parent)
                self.assertEqual(os.listdir(disk), [], "working directory or a part of a file left behind")

                # The file that failed with the system's reason, then the launch of a payload
                # that is not there.
                self.assertEqual(len(run.message_boxes), 2, boxes(run))
                first = run.message_boxes[0]
                self.assertEqual(first.caption, "Failed to extract file!")
                prefix = f"File: {directory}{failing}\rError: "
                self.assertTrue(first.text.startswith(prefix), first.text)
                self.assertIn("disk", first.text[len(prefix):].lower())
                self.assertEqual(boxes(run)[1], SPAWN_FAILED)


class DamagedInstaller(HardeningRun):
    """One byte of the payload's data record changed after the tool built the installer:
    the payload never runs and its working directory goes."""

    def test_damaged_payload_record_is_never_launched(self):
        installer = self.build_installer("intact.exe")
        data = read(installer)
        sample = read(SAMPLE_SETUP_EXE)
        start = data.index(sample)
        end = start + len(sample)  # the length field follows, then the digest
        invalid = [INVALID_ARCHIVE, INVALID_ARCHIVE]  # from the reader at the bad digest, then from the run
        places = [
            ("first data byte", start, 0x01, invalid),
            ("middle data byte", start + len(sample) // 2, 0x01, invalid),
            ("last data byte", end - 1, 0x01, invalid),
            ("lowest byte of the length", end, 0x01, invalid),
            ("a byte of the digest", end + 4 + 7, 0x01, invalid),
            # The length now reaches before the start of the file: the chain ends there
            # without a message, the archive still counts as valid, and the launch finds no
            # payload to start.
            ("highest byte of the length", end + 3, 0x10, [SPAWN_FAILED]),
        ]
        for description, offset, change, expected in places:
            damaged = bytearray(data)
            damaged[offset] ^= change
            path = os.path.join(self.scratch, "damaged.exe")
            with open(path, "wb") as f:
                f.write(damaged)
            for silent in (False, True):
                with self.subTest(description, silent=silent):
                    record = self.record_of("damaged.txt")
                    run = run_windows_program(path, *(["/s"] if silent else []),
                                              env={"SAMPLE_SETUP_RECORD": windows_path(record)})
                    self.assertEqual(run.exit_code, 1, run.output)
                    self.assertFalse(os.path.exists(record), "the damaged payload ran")
                    self.assertEqual(boxes(run), [] if silent else expected)
                    [directory] = working_directories(run)
                    self.assertFalse(os.path.exists(unix_path(directory)), "working directory left behind")


if __name__ == "__main__":
    unittest.main()
