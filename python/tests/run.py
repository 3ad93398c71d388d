"""Runs the Python package's tests with pytest; exits 77 (skipped) with a line naming what is
missing when a Python package they need is not installed.

Usage: run.py [pytest arguments]; the Dask test (test_dask.py) needs dask and distributed too.
"""
import importlib.util
import sys


def main():
    needed = ["pytest", "numpy", "pandas"]
    if any("test_dask" in a for a in sys.argv[1:]):
        needed += ["dask", "distributed"]
    missing = [m for m in needed if importlib.util.find_spec(m) is None]
    if missing:
        print(f"python: skipped: {sys.executable} has no {', '.join(missing)} "
              f"(Debian: {' '.join('python3-' + m for m in missing)})")
        return 77
    import pytest

    return pytest.main(["-q", "-p", "no:cacheprovider", "--rootdir", sys.path[0], *sys.argv[1:]])


# the Dask test's worker processes import this file again: only the first run starts pytest
if __name__ == "__main__":
    sys.exit(main())
