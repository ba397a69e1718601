"""The bootstrapper built without its string table, run under Wine: configuration start-up
fails at the brand string, and the run's outer handler reports it and ends the run before
any working directory exists."""
import os
import unittest

from reader_harness import run_windows_program, temp_folder

READER_WITHOUT_STRINGS_EXE = os.environ.get("READER_WITHOUT_STRINGS_EXE", "")


class MissingStringTable(unittest.TestCase):
    def test_ends_with_unhandled_exception_and_no_working_directory(self):
        run = run_windows_program(READER_WITHOUT_STRINGS_EXE)

        self.assertEqual(run.exit_code, 1)
        self.assertEqual(
            [(box.caption, box.text, box.style, box.owner) for box in run.message_boxes],
            [("[resource string 2001 is not found]", "Unhandled Exception", 0, 0)],
        )
        made_under_temp = [d for d in run.created_directories if d.lower().startswith(temp_folder().lower())]
        self.assertEqual(made_under_temp, [])
        self.assertEqual(run.entered_directories, [])

    def test_silent_mode_shows_nothing_and_still_fails(self):
        run = run_windows_program(READER_WITHOUT_STRINGS_EXE, "/s")

        self.assertEqual(run.exit_code, 1)
        self.assertEqual(run.message_boxes, [])
        self.assertEqual(run.entered_directories, [])


if __name__ == "__main__":
    unittest.main()
