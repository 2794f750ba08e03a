"""A one-minute soak of the full-screen run (tests/wine/soak.py runs the long
one): frames keep changing and resident memory stays flat."""
import os
import unittest

import bench
import soak


def setUpModule():
    bench.skip_unless_this_build_runs()


class Soak(unittest.TestCase):
    def test_frames_keep_changing_and_memory_stays_flat(self):
        soak.soak(float(os.environ.get("ZEPHYRINE_SOAK_SECONDS", "60")))


if __name__ == "__main__":
    unittest.main()
