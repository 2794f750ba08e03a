"""Preview mode: GLFW attached to a host's window. In-process, where Wine
lets a window's procedure be replaced and a context be put on it, with a test
program that runs the real attachment and the real application code; and
across processes, with the real executable started by a host of ours."""
import os
import re
import time
import unittest

import bench


def setUpModule():
    bench.skip_unless_this_build_runs()


def facts(output):
    found = {}
    for line in output.splitlines():
        m = re.match(r"^(\w+)\.(\w+)=(.*)$", line.rstrip("\r"))
        if m:
            found.setdefault(m.group(1), {})[m.group(2)] = m.group(3)
    return found


class WithAttachProbe:
    """One virtual screen for the class, and the in-process test program."""

    @classmethod
    def setUpClass(cls):
        cls.bench = bench.Bench(320, 240).start()
        cls.probe = os.environ["ZEPHYRINE_ATTACH_PROBE"]

    @classmethod
    def tearDownClass(cls):
        cls.bench.stop()


class Attachment(WithAttachProbe, unittest.TestCase):
    def test_attributes_property_procedure_callbacks_and_detach(self):
        code, out = self.bench.run_helper(self.probe, "facts", timeout=120)
        self.assertEqual(code, 0, out)
        self.assertIn("done", out)
        found = facts(out)
        attached = {"attached": "1", "property": "1", "glfw_procedure": "1", "key_callback": "1",
                    "alive_after_destroy": "1", "visible_after_destroy": "1",
                    "own_procedure_after_destroy": "1", "property_after_destroy": "0"}
        styles = {
            # case: resizable, decorated, floating, iconified
            "child": ("0", "0", "0", "0"),
            "caption": ("0", "1", "0", "0"),
            "thick_frame": ("1", "1", "0", "0"),
            "topmost": ("0", "0", "1", "0"),
            "minimised": ("1", "1", "0", "1"),
        }
        for case, (resizable, decorated, floating, iconified) in styles.items():
            with self.subTest(case=case):
                expected = dict(attached, resizable=resizable, decorated=decorated, floating=floating,
                                iconified=iconified)
                if iconified == "0":
                    expected["size_callback"] = "1"
                actual = {key: found.get(case, {}).get(key) for key in expected}
                self.assertEqual(actual, expected)

    def test_failures_leave_the_window_as_it_was(self):
        code, out = self.bench.run_helper(self.probe, "facts", timeout=120)
        found = facts(out)
        cases = {
            "not_initialized": ("0x10001", "The GLFW library is not initialized"),
            "invalid_hints": ("0x10004", "Invalid OpenGL version 0.0"),
            "version_unavailable": (None, "WGL: "),
        }
        for case, (error_code, error) in cases.items():
            with self.subTest(case=case):
                f = found.get(case, {})
                self.assertEqual(f.get("attached"), "0")
                if error_code:
                    self.assertEqual(f.get("error_code"), error_code)
                self.assertTrue(f.get("error", "").startswith(error), f.get("error"))
                self.assertEqual((f.get("alive"), f.get("own_procedure"), f.get("property")), ("1", "1", "0"))
        for case in ("null_handle", "stale_handle"):
            with self.subTest(case=case):
                f = found.get(case, {})
                self.assertEqual(f.get("attached"), "0")
                self.assertEqual(f.get("error"), "Win32: Invalid host window handle")

    def test_rendering_shows_in_the_attached_window(self):
        run = self.bench.launch(self.probe, "draw")
        try:
            self.assertTrue(bench.wait_until(lambda: "drawing" in run.output(), 60), run.output())
            width, _, rgb = self.bench.screenshot()

            def pixel(x, y):
                i = (y * width + x) * 3
                return tuple(rgb[i:i + 3])

            for x, y in ((41, 41), (120, 100), (198, 158)):
                self.assertEqual(pixel(x, y), (0, 255, 0), (x, y))
            for x, y in ((20, 20), (210, 100), (100, 180)):
                self.assertNotEqual(pixel(x, y), (0, 255, 0), (x, y))
        finally:
            run.popen.kill()
            run.wait(10)


class PreviewApplication(WithAttachProbe, unittest.TestCase):
    """The real application code in preview mode, in-process."""

    def run_app(self, action, ms):
        run = self.bench.launch(self.probe, "app", action, str(ms))
        code = run.wait(60)
        return code, run.output()

    def test_disabled_or_destroyed_host_ends_the_run_within_the_pass(self):
        for action in ("disable", "destroy"):
            with self.subTest(action=action):
                code, out = self.run_app(action, 1500)
                self.assertEqual(code, 0, out)
                self.assertIn("size at start=160x120", out)
                m = re.search(r"run returned (\d+) ms after the action", out)
                self.assertIsNotNone(m, out)
                self.assertLess(int(m.group(1)), 1000)

    def test_host_destroyed_by_its_own_thread_mid_frame_ends_the_process_within_a_second(self):
        # The host's thread destroys the preview window at moments that have
        # nothing to do with the main loop, so the window goes while a frame
        # is being drawn or presented.
        for ms in (700, 1013, 1500, 2222, 2999):
            with self.subTest(ms=ms):
                run = self.bench.launch(self.probe, "app", "close-from-host-thread", str(ms))
                bench.wait_until(lambda: "acted close" in run.output() or not run.running(), 60, interval=0.01)
                acted = time.monotonic()
                code = run.wait(30)
                ended = time.monotonic() - acted
                out = run.output()
                self.assertIn("acted close", out)
                self.assertEqual(code, 0, out)
                self.assertLess(ended, 1.0, out)
                m = re.search(r"run returned (\d+) ms after the action", out)
                self.assertIsNotNone(m, out)
                self.assertLess(int(m.group(1)), 1000)

    def test_resize_reaches_the_size_handler_and_the_next_frame(self):
        code, out = self.run_app("resize", 1500)
        self.assertEqual(code, 0, out)
        self.assertIn("size=200x100 viewport=0,0,200,100", out)
        self.assertIn("projection_matches=1", out)
        self.assertIn("uniform_viewportWidth=200 state_viewport=200x100", out)

    def test_the_picture_is_drawn_into_the_host_window(self):
        # The host window's own background is white; the screensaver starts
        # from black.
        run = self.bench.launch(self.probe, "app", "disable", "8000", "popup")
        try:
            self.assertTrue(bench.wait_until(lambda: "size at start" in run.output(), 60), run.output())
            time.sleep(1.5)
            width, _, rgb = self.bench.screenshot()
            for x, y in ((42, 42), (120, 100), (197, 157)):
                i = (y * width + x) * 3
                self.assertNotEqual(tuple(rgb[i:i + 3]), (255, 255, 255), (x, y))
            self.assertEqual(run.wait(60), 0)
        finally:
            if run.running():
                run.popen.kill()


class PreviewAcrossProcesses(unittest.TestCase):
    """The real executable started by a host of ours. Wine refuses to put an
    OpenGL context on another process's window, so the attachment fails:
    the run must fail cleanly, with GLFW's error, our message and exit 0."""

    def test_clean_failure_on_another_process_window(self):
        with bench.Bench(320, 240) as b:
            scr = b.scr
            run = b.launch(os.environ["ZEPHYRINE_ATTACH_PROBE"], "host", scr, "disable", "30000")
            self.assertTrue(bench.wait_until(lambda: "started" in run.output(), 60), run.output())
            boxes = b.collect_boxes(run=None, limit=2, timeout=60)
            self.assertEqual(len(boxes), 2, boxes)
            self.assertEqual(boxes[0][0], "Error")
            self.assertTrue(boxes[0][1].startswith("WGL: "), boxes[0])
            self.assertEqual(boxes[1], ("Debug", "Failed to open window"))
            self.assertEqual(run.wait(60), 0)
            self.assertRegex(run.output(), r"child ended before the action, exit=0")

    def test_bad_handles_fail_cleanly(self):
        with bench.Bench(320, 240) as b:
            for handle in ("0", "99999", "-5"):
                with self.subTest(handle=handle):
                    run = b.run_scr("/p", handle)
                    boxes = b.collect_boxes(run)
                    self.assertEqual(run.wait(30), 0)
                    self.assertEqual(boxes, [("Error", "Win32: Invalid host window handle"),
                                             ("Debug", "Failed to open window")])


if __name__ == "__main__":
    unittest.main()
