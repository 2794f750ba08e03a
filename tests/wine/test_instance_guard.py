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
        self.bench.key(third_window, "a")
        self.assertEqual(screensaver.wait(30), 0)

        # The first window lost the focus to the second full-screen window and
        # GLFW iconified it, so it is ended by a close request.
        self.assertTrue(self.bench.close_request(TITLE))
        self.assertEqual(first.wait(30), 0)

        # Once the holder has ended, a guarded start is granted again.
        again = self.bench.run_scr()
        window = self.bench.wait_window(TITLE, 60)
        self.assertIsNotNone(window, again.output())
        self.bench.key(window, "a")
        self.assertEqual(again.wait(30), 0)


if __name__ == "__main__":
    unittest.main()
