"""Without OpenGL (an X server without GLX) no window can be opened: GLFW's
error is shown, then our own, and the process still exits with 0."""
import unittest

import bench

TITLE = "ZephyrineScreensaver"


def setUpModule():
    bench.skip_unless_this_build_runs()


class NoOpenGl(unittest.TestCase):
    def test_error_box_then_failed_to_open_window_then_exit_zero(self):
        with bench.Bench(320, 240, xvfb_args=["-extension", "GLX"]) as b:
            run = b.run_scr("/s")
            shown = b.collect_boxes(run)
            self.assertEqual(run.wait(30), 0)
            self.assertEqual(len(shown), 2, shown)
            caption, text = shown[0]
            self.assertEqual(caption, "Error")
            self.assertTrue(text.startswith("WGL: "), text)
            self.assertEqual(shown[1], ("Debug", "Failed to open window"))
            self.assertEqual(b.windows_named(TITLE), [])


if __name__ == "__main__":
    unittest.main()
