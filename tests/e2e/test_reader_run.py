"""Reader.exe without a container, seen from outside under Wine: the invalid-archive
path, silent mode, and the working directory it makes, enters and removes."""
import os
import re
import time
import unittest

from reader_harness import WineTestCase, run_windows_program, temp_folder, unix_path

INVALID_ARCHIVE_TEXT = (
    "We are sorry, but your installation / update did not complete due to unexpected download errors.\r\n"
    "Please download full version of the program"
)


class NoContainer(WineTestCase):
    def working_directories(self, run):
        """The QZV directories the run created under the temporary folder."""
        pattern = re.compile(re.escape(temp_folder()) + r"QZV-?\d+\\$")
        return [d for d in run.created_directories if pattern.match(d)]

    def test_reports_invalid_archive_and_removes_its_directory(self):
        before = int(time.time())
        run = run_windows_program(self.copy_reader())
        after = int(time.time())

        self.assertEqual(run.exit_code, 1)
        # The reader may already have shown the same box for a record of the image that
        # failed its digest; the run shows it (again) in any case.
        self.assertIn(len(run.message_boxes), (1, 2))
        for box in run.message_boxes:
            self.assertEqual((box.caption, box.text, box.style, box.owner), ("Invalid Archive!", INVALID_ARCHIVE_TEXT, 0, 0))

        [directory] = self.working_directories(run)
        number = int(re.search(r"QZV(-?\d+)\\$", directory).group(1))
        self.assertTrue(before <= number <= after + 1, (before, number, after))
        # Entered for the run, then left for the temporary folder itself before removal.
        self.assertEqual(run.entered_directories, [directory, temp_folder().rstrip("\\")])
        self.assertFalse(os.path.exists(unix_path(directory)))

    def test_silent_switch_shows_nothing_and_ends_the_same(self):
        for command_text in ("/s", "/silent", "C:/setup"):
            with self.subTest(command_text=command_text):
                run = run_windows_program(self.copy_reader(), command_text)
                self.assertEqual(run.exit_code, 1)
                self.assertEqual(run.message_boxes, [])
                [directory] = self.working_directories(run)
                self.assertFalse(os.path.exists(unix_path(directory)))

    def test_capital_s_is_not_silent(self):
        run = run_windows_program(self.copy_reader(), "/S")
        self.assertEqual(run.exit_code, 1)
        self.assertTrue(run.message_boxes)
        self.assertEqual({b.caption for b in run.message_boxes}, {"Invalid Archive!"})

    def test_directory_made_beforehand_is_never_used(self):
        temp = unix_path(temp_folder())
        now = int(time.time())
        planted = []
        for number in range(now - 2, now + 30):
            path = os.path.join(temp, f"QZV{number}")
            os.makedirs(path, exist_ok=True)
            with open(os.path.join(path, "planted.txt"), "w") as f:
                f.write("left by someone else")
            planted.append(path)
        try:
            run = run_windows_program(self.copy_reader(), "/s")
            self.assertEqual(run.exit_code, 1)
            directory = run.entered_directories[0]
            self.assertEqual(self.working_directories(run)[-1], directory)
            self.assertNotIn(unix_path(directory).rstrip("/"), planted)
            self.assertFalse(os.path.exists(unix_path(directory)))
            for path in planted:
                with open(os.path.join(path, "planted.txt")) as f:
                    self.assertEqual(f.read(), "left by someone else")
        finally:
            for path in planted:
                os.remove(os.path.join(path, "planted.txt"))
                os.rmdir(path)


if __name__ == "__main__":
    unittest.main()
