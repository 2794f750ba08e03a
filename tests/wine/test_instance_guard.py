"""The single-instance guard of guarded (no switch, preview) runs."""
import unittest

import bench

TITLE = "ZephyrineScreensaver"


def setUpModule():
    bench.skip_unless_this_build_runs()


class InstanceGuard(unittest.TestCase):
    def setUp(self):
        self.bench = bench.Bench(320, 240).start()

    def tearDown(self):
        self.bench.stop()

    def test_second_guarded_start_is_refused_while_a_screensaver_start_goes_ahead(self):
        first = self.bench.run_scr()
        first_window = self.bench.wait_window(TITLE, 60)
        self.assertIsNotNone(first_window, first.output())

        second = self.bench.run_scr()
        self.assertEqual(second.wait(30), 0)
        self.assertEqual(self.bench.windows_named(TITLE), [first_window])

        screensaver = self.bench.run_scr("/s")
        both = bench.wait_until(lambda: len(self.bench.windows_named(TITLE)) == 2, 60)
        self.assertTrue(both, "a /s start was refused while a guarded run was going")
        self.assertTrue(first.running())
        third_window = next(w for w in self.bench.windows_named(TITLE) if w != first_window)
        self.assertEqual(self.bench.end_with_key(screensaver, third_window), 0)

        # The first window lost the focus to the second full-screen window and
        # GLFW iconified it, so it is ended by a close request.
        self.assertTrue(self.bench.close_request(TITLE))
        self.assertEqual(first.wait(30), 0)

        # Once the holder has ended, a guarded start is granted again.
        again = self.bench.run_scr()
        window = self.bench.wait_window(TITLE, 60)
        self.assertIsNotNone(window, again.output())
        self.assertEqual(self.bench.end_with_key(again, window), 0)


class StartsAtTheSameMoment(unittest.TestCase):
    """Copies started together by the Win32 helper: created suspended and let
    go one right after the other, so that their guards race."""

    def setUp(self):
        self.bench = bench.Bench(320, 240).start()

    def tearDown(self):
        self.bench.stop()

    def screensaver_windows(self):
        return [w for w in self.bench.win32_windows(hidden_too=True) if len(w) == 3 and w[2] == TITLE]

    def test_eight_guarded_starts_give_one_window_and_seven_exits_with_zero(self):
        race = self.bench.start_together(self.bench.scr, *[""] * 8)
        self.assertTrue(bench.wait_until(lambda: len(bench.ended_copies(race)) >= 7, 180), race.output())
        window = self.bench.wait_window(TITLE, 60)
        self.assertIsNotNone(window, race.output())
        ended = bench.ended_copies(race)
        self.assertEqual(len(ended), 7, race.output())
        self.assertEqual(set(ended.values()), {0}, race.output())
        self.assertEqual(len(self.screensaver_windows()), 1)

        # The one that was granted runs on and ends with 0 like any other.
        holder = (set(range(8)) - set(ended)).pop()
        self.bench.key(window, "a")
        self.assertTrue(bench.wait_until(lambda: holder in bench.ended_copies(race), 30), race.output())
        self.assertEqual(bench.ended_copies(race)[holder], 0)

    def test_screensaver_starts_among_guarded_ones_are_never_refused(self):
        # Copies 0 to 3 are guarded, 4 and 5 are "/s" runs.
        guarded = range(0, 4)
        race = self.bench.start_together(self.bench.scr, "", "", "", "", "/s", "/s")
        self.assertTrue(bench.wait_until(lambda: len(self.screensaver_windows()) >= 3 and
                                         len(bench.ended_copies(race)) >= 3, 180), race.output())
        ended = bench.ended_copies(race)
        self.assertEqual(len(ended), 3, race.output())
        self.assertTrue(set(ended) <= set(guarded), race.output())
        self.assertEqual(set(ended.values()), {0})
        self.assertEqual(len(self.screensaver_windows()), 3)

        self.assertEqual(self.bench.close_all(TITLE), 3)
        self.assertTrue(bench.wait_until(lambda: len(bench.ended_copies(race)) == 6, 60), race.output())
        self.assertEqual(set(bench.ended_copies(race).values()), {0}, race.output())


if __name__ == "__main__":
    unittest.main()
