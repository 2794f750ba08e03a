"""Runs one test module of the Wine bench for CTest: exit 0 when it passed,
77 (CTest's skip code here) when every test in it was skipped, 1 otherwise."""
import sys
import unittest


def main(name):
    suite = unittest.defaultTestLoader.loadTestsFromName(name)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        return 1
    if result.skipped and result.testsRun <= len(result.skipped):
        return 77
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
