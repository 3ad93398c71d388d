"""Horizons from pictures and obstacles, as the command line composes them."""
import pickle
import subprocess

import numpy as np
import pytest

import umbrix
from conftest import PROGRAM, SOURCE

COURTYARD = f"{SOURCE}/examples/courtyard.obs"


def read_bmp(path):
    """A 24-bit bottom-up BMP as height x width x 3 RGB bytes."""
    data = open(path, "rb").read()
    offset, width, height = (int.from_bytes(data[k:k + 4], "little", signed=True)
                             for k in (10, 18, 22))
    assert int.from_bytes(data[28:30], "little") == 24
    stride = (width * 3 + 3) // 4 * 4
    rows = np.frombuffer(data, np.uint8, stride * height, offset).reshape(height, stride)
    return rows[::-1, :width * 3].reshape(height, width, 3)[..., ::-1]


def test_obstacles_give_the_command_lines_fisheye_and_sky_view_factor(tmp_path):
    subprocess.run([PROGRAM, "--obstacles", COURTYARD, "--output", str(tmp_path / "t.txt"),
                    "--new", "--fisheye", str(tmp_path / "f.bmp")], check=True, cwd=tmp_path,
                   stdout=subprocess.DEVNULL)
    image = umbrix.horizon_from_obstacles(COURTYARD)
    assert image.shape == (481, 481, 3) and image.dtype == np.uint8
    assert np.array_equal(image, read_bmp(tmp_path / "f.bmp"))
    svf = umbrix.read_table(tmp_path / "t.txt")["SVF"][0]
    horizon = image.horizon
    assert umbrix.sky_view_factors(image).SVF == pytest.approx(svf, abs=5e-4) and 0.2 < svf < 0.9
    # the image alone, as the horizon drawing takes it
    subprocess.run([PROGRAM, "--horizon", str(tmp_path / "f.bmp"), "--output",
                    str(tmp_path / "d.txt")], check=True, cwd=tmp_path, stdout=subprocess.DEVNULL)
    drawn = umbrix.read_table(tmp_path / "d.txt")["SVF"][0]
    assert umbrix.sky_view_factors(np.array(image)).SVF == pytest.approx(drawn, abs=5e-4)
    changed = image.copy()
    changed[:240] = 255  # the northern half cleared: the kept horizon no longer holds
    assert umbrix.sky_view_factors(changed).SVF > svf + 0.1
    # the same obstacles as lines and as objects
    lines = [line for line in open(COURTYARD) if line[:1] in "gln"]
    assert umbrix.horizon_from_obstacles(lines).horizon.svf == horizon.svf
    assert umbrix.horizon_from_obstacles(umbrix.read_obstacles(COURTYARD),
                                         location=(0, 0)).horizon.svf == horizon.svf
    assert umbrix.horizon_from_obstacles(COURTYARD, location=(0, 30)).horizon.svf != horizon.svf
    # pickled (as Dask sends it) with the horizon it keeps
    copy = pickle.loads(pickle.dumps(image))
    assert np.array_equal(copy, image) and copy.horizon.svf_cos == horizon.svf_cos


def test_sky_view_factors_of_masks():
    free = np.ones((481, 481), bool)
    assert tuple(umbrix.sky_view_factors(free)) == (1.0, 1.0)
    assert tuple(umbrix.sky_view_factors(~free)) == (0.0, 0.0)
    half = free.copy()
    half[:, :240] = False  # the western half blocked
    svf, svf_cos = umbrix.sky_view_factors(half)
    assert svf == pytest.approx(0.5, abs=0.01) and svf_cos == pytest.approx(0.5, abs=0.01)
    rgb = np.where(half[..., None], 255, 0).astype(np.uint8) * np.ones(3, np.uint8)
    assert umbrix.sky_view_factors(rgb) == (svf, svf_cos)


def test_horizon_errors(tmp_path):
    with pytest.raises(ValueError, match="481 x 481"):
        umbrix.sky_view_factors(np.ones((100, 100), bool))
    bad = tmp_path / "bad.obs"
    bad.write_text("# Umbrix obstacle file #\ng 1 2 three\n")
    with pytest.raises(ValueError, match=r"bad\.obs.*line 2"):
        umbrix.horizon_from_obstacles(bad)
    with pytest.raises(OSError, match="nothing.obs"):
        umbrix.horizon_from_obstacles(tmp_path / "nothing.obs")
    with pytest.raises(ValueError, match="obstacle 1"):
        umbrix.horizon_from_obstacles(["x 1 2 3"])
