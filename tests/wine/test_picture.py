"""The picture of the real screensaver, photographed under Wine: black at
the start, then the glowing bands, whose green is half their red wherever the
red is not clamped."""
import time
import unittest

import bench

TITLE = "ZephyrineScreensaver"


def setUpModule():
    bench.skip_unless_this_build_runs()


class Picture(unittest.TestCase):
    def test_black_at_first_then_the_picture(self):
        with bench.Bench(320, 240) as b:
            started = time.monotonic()
            run = b.run_scr("/s")
            window = b.wait_window(TITLE, 60)
            window_at = time.monotonic()
            self.assertIsNotNone(window, run.output())
            _, _, first = b.screenshot()
            first_at = time.monotonic() - started
            # The clock starts before the window exists, so the first
            # photograph is taken at most this long into the run.
            self.assertLess(first_at, 7.0)
            brightest = max(first)
            if first_at < 2.0:
                self.assertEqual(brightest, 0, "not black in the first two seconds")
            else:
                # The fade-in from black has begun: still very dark.
                self.assertLess(brightest, 128)

            # GLFW's clock started before the window appeared, so eight
            # seconds after that the fade-in is over, however long Wine took
            # to start the process.
            time.sleep(max(0.0, 8.0 - (time.monotonic() - window_at)))
            _, _, rgb = b.screenshot()
            self.assertEqual(b.end_with_key(run, window), 0)

        pixels = [tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)]
        off = [(r, g, bl) for r, g, bl in pixels if r < 255 and abs(g - r / 2) > 1.0]
        self.assertEqual(off[:5], [], f"{len(off)} pixels whose green is not half their red")
        reds = sorted(r for r, _, _ in pixels)
        self.assertGreater(len(set(pixels)), 50, "the picture is flat")
        self.assertGreater(reds[-1] - reds[0], 100, "the picture is flat")


if __name__ == "__main__":
    unittest.main()
