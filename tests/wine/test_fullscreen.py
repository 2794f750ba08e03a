"""Full-screen runs of the real screensaver: the window, its icon, and every
way a user ends it."""
import time
import unittest

import bench

TITLE = "ZephyrineScreensaver"


def setUpModule():
    bench.skip_unless_this_build_runs()


class FullScreenAtSize:
    """The window at one virtual screen size; subclasses pick the size."""

    WIDTH = HEIGHT = None

    @classmethod
    def setUpClass(cls):
        cls.bench = bench.Bench(cls.WIDTH, cls.HEIGHT).start()

    @classmethod
    def tearDownClass(cls):
        cls.bench.stop()

    def start(self, *args):
        run = self.bench.run_scr(*args)
        window = self.bench.wait_window(TITLE, 60)
        self.assertIsNotNone(window, f"no window titled {TITLE}: {run.output()}")
        return run, window

    def end_with_key(self, run, window):
        self.assertEqual(self.bench.end_with_key(run, window), 0)
        self.assertIsNotNone(bench.wait_until(lambda: not self.bench.windows_named(TITLE), 15))

    def test_switch_s_and_no_switch_open_one_window_covering_the_screen(self):
        for args in (["/s"], []):
            with self.subTest(args=args):
                run, window = self.start(*args)
                self.assertEqual(len(self.bench.windows_named(TITLE)), 1)
                self.assertEqual(self.bench.geometry(window), (0, 0, self.WIDTH, self.HEIGHT))
                self.end_with_key(run, window)


class FullScreen320x240(FullScreenAtSize, unittest.TestCase):
    WIDTH, HEIGHT = 320, 240

    def test_configure_opens_no_screensaver_window(self):
        run = self.bench.run_scr("/c")
        seen = bench.wait_until(lambda: self.bench.windows_named(TITLE) or not run.running(), 8)
        self.assertEqual(self.bench.windows_named(TITLE), [])
        if run.running():
            # The About window: close it the way a user would.
            self.bench.close_request("About")
        self.assertEqual(run.wait(30), 0)
        del seen

    def test_mouse_moves_keep_it_running_and_a_button_ends_it(self):
        run, window = self.start("/s")
        for x, y in ((10, 10), (300, 220), (160, 120), (0, 239), (319, 0)):
            self.bench.move_mouse(x, y)
            time.sleep(0.3)
        time.sleep(2)
        self.assertTrue(run.running(), "a mouse move ended the screensaver")
        self.bench.move_mouse(100, 100)
        self.bench.click(1)
        self.assertEqual(run.wait(30), 0)

    def test_key_ends_it_with_exit_code_zero(self):
        for key in ("a", "Escape", "space"):
            with self.subTest(key=key):
                run, window = self.start("/s")
                self.assertEqual(self.bench.end_with_key(run, window, key), 0)
                bench.wait_until(lambda: not self.bench.windows_named(TITLE), 15)

    def test_close_request_ends_it_with_exit_code_zero(self):
        run, window = self.start("/s")
        self.assertTrue(self.bench.close_request(TITLE))
        self.assertEqual(run.wait(30), 0)

    def test_window_icon_is_the_upright_monitor(self):
        run, window = self.start("/s")
        icons = self.bench.icons(window)
        self.end_with_key(run, window)
        sizes = [(w, h) for w, h, _ in icons]
        self.assertIn((64, 64), sizes)
        _, _, argb = next(icon for icon in icons if icon[:2] == (64, 64))

        def pixel(x, y):
            v = argb[y * 64 + x]
            return (v >> 16) & 255, (v >> 8) & 255, v & 255, (v >> 24) & 255

        def close_to(actual, expected):
            return actual[3] == 255 and all(abs(a - e) <= 3 for a, e in zip(actual[:3], expected))

        expected = {
            "red top left": ((18, 18), (255, 72, 72)),
            "green top right": ((45, 18), (0, 217, 70)),
            "blue bottom left": ((18, 36), (72, 72, 255)),
            "yellow bottom right": ((45, 36), (240, 240, 0)),
            "stand's neck": ((32, 49), (72, 194, 255)),
            "stand's foot": ((32, 56), (72, 194, 255)),
        }
        for name, ((x, y), colour) in expected.items():
            self.assertTrue(close_to(pixel(x, y), colour), f"{name}: {pixel(x, y)} at {(x, y)}")
        for x, y in ((0, 0), (63, 63), (5, 55), (58, 55)):
            self.assertEqual(pixel(x, y)[3], 0, f"transparent at {(x, y)}")


class FullScreen400x300(FullScreenAtSize, unittest.TestCase):
    WIDTH, HEIGHT = 400, 300


if __name__ == "__main__":
    unittest.main()
