"""The entry-point table loaded on a real WGL context under Wine."""
import os
import re
import unittest

import bench


def setUpModule():
    bench.skip_unless_this_build_runs()


class GlEntryPoints(unittest.TestCase):
    def test_load_reports_3x_or_later_and_every_slot_we_call_is_filled(self):
        with bench.Bench(320, 240) as b:
            code, out = b.run_helper(os.environ["ZEPHYRINE_GL_PROBE"], timeout=120)
        self.assertEqual(code, 0, out)
        m = re.search(r"load=(-?\d+) version=(\d+)\.(\d+) filled=(\d+)", out)
        self.assertIsNotNone(m, out)
        self.assertEqual(int(m.group(1)), 0)
        self.assertGreaterEqual(int(m.group(2)), 3)
        # Mesa knows nearly every name of the list; the core 1.0 to 4.5 ones
        # alone are 653.
        self.assertGreaterEqual(int(m.group(4)), 653)
        self.assertRegex(out, r"missing=\s*(\r?\n|$)")


if __name__ == "__main__":
    unittest.main()
