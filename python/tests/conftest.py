"""What the tests share: the command-line program and the example files."""
import os
import subprocess

import pytest

SOURCE = os.environ.get("UMBRIX_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
PROGRAM = os.environ.get("UMBRIX_PROGRAM", os.path.join(SOURCE, "build", "umbrix"))
FREIBURG = dict(lon=7.85, lat=48.0, alt=278, tz=1.0)


@pytest.fixture
def run_umbrix(tmp_path):
    """run_umbrix(rows, columns, *options) -> the table of the data file of rows (lists of texts)
    as umbrix.read_table reads it; the program run at Freiburg."""
    import umbrix

    def run(rows, columns, *options):
        data = tmp_path / "rows.txt"
        data.write_text("".join("\t".join(map(str, r)) + "\n" for r in rows))
        out = tmp_path / "table.txt"
        subprocess.run([PROGRAM, "--location", "Freiburg", "--datafile", str(data), "--columns",
                        ",".join(columns), *options, "--output", str(out)], check=True,
                       stdout=subprocess.DEVNULL, cwd=tmp_path)
        return umbrix.read_table(out)

    return run
