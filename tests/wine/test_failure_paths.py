"""Start-up failures of the real entry point and application code, built
with test resources that bind broken texts to the screensaver's ids: each
shows its message boxes in order and the process still exits with 0."""
import os
import unittest

import bench

TITLE = "ZephyrineScreensaver"


def setUpModule():
    bench.skip_unless_this_build_runs()


def variant(name):
    return os.path.join(os.environ["ZEPHYRINE_FAILURE_DIR"], f"failure_{name}.exe")


class FailurePaths(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bench = bench.Bench(320, 240).start()

    @classmethod
    def tearDownClass(cls):
        cls.bench.stop()

    def boxes_of(self, name):
        run = self.bench.launch(variant(name), "/s")
        shown = self.bench.collect_boxes(run)
        self.assertEqual(run.wait(30), 0, (name, shown, run.output()))
        self.assertEqual(self.bench.windows_named(TITLE), [], name)
        return shown

    def test_shader_that_does_not_compile_shows_its_log_then_the_stage(self):
        # The vertex variant carries a broken fragment program too: only the
        # vertex stage's two boxes may appear, since the fragment stage is
        # never compiled after it.
        cases = {
            "broken_vertex": ("Vertex shader compilation error", "syntax error"),
            "broken_fragment": ("Fragment shader compilation error", "undeclaredColour"),
        }
        for name, (failure, in_log) in cases.items():
            with self.subTest(variant=name):
                shown = self.boxes_of(name)
                self.assertEqual(len(shown), 2, shown)
                caption, log = shown[0]
                self.assertEqual(caption, "Debug")
                self.assertIn("error", log)
                self.assertIn(in_log, log)
                self.assertEqual(shown[1], ("Debug", failure))

    def test_mesh_that_does_not_load_shows_failed_to_load_mesh(self):
        for name in ("obj_without_face", "obj_unreadable_number", "obj_index_names_nothing", "obj_missing"):
            with self.subTest(variant=name):
                self.assertEqual(self.boxes_of(name), [("Debug", "Failed to load mesh")])


if __name__ == "__main__":
    unittest.main()
