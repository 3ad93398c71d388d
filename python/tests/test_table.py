"""compute() and read_table(): the rules of a table and the errors of a bad file."""
import numpy as np
import pandas as pd
import pytest

import umbrix
from conftest import FREIBURG

HEADER = ("Umbrix 0.1.0\nUmbrix - human-biometeorology in urban structures\n\n"
          "date      \tday of\ttime\tTa\tRH\tUTCI\t\nd.m.yyyy   \tyear\th:mm\t°C\t%\t°C\t\n")


def test_read_table_reads_missing_values_and_names_a_bad_cell(tmp_path):
    good = tmp_path / "good.txt"
    good.write_text(HEADER + "1.7.2025 \t182\t13:30\t25.0\t50.0\t9999.0\t\n")
    t = umbrix.read_table(good)
    assert list(t.columns) == ["time", "doy", "Ta", "RH", "UTCI"]
    assert t["time"][0] == pd.Timestamp("2025-07-01 13:30") and np.isnan(t["UTCI"][0])
    bad = tmp_path / "bad.txt"
    bad.write_text(HEADER + "1.7.2025 \t182\t13:30\t25.0\t50.0\t1.0\t\n"
                   "2.7.2025 \t183\t13:30\t2x.0\t50.0\t1.0\t\n")
    with pytest.raises(ValueError, match=r"bad\.txt, line 7, column 4 \(Ta\).*'2x\.0'"):
        umbrix.read_table(bad)
    (tmp_path / "none.txt").write_text("just words\n")
    with pytest.raises(ValueError, match="none.txt"):
        umbrix.read_table(tmp_path / "none.txt")
    with pytest.raises(OSError):
        umbrix.read_table(tmp_path / "absent.txt")


def weather(**more):
    return pd.DataFrame({"time": pd.date_range("2025-07-01 06:00", periods=4, freq="3h"),
                         "Ta": [18.0, 24.0, 29.0, 27.0], "RH": [80.0, 60.0, 40.0, 45.0],
                         "v": [1.0, 2.0, 3.0, 2.0], **more})


def test_compute_rows_with_a_missing_value_keep_sun_and_day():
    df = weather(G=[100.0, np.nan, 800.0, 600.0])
    r = umbrix.compute(df, site=FREIBURG, indices=["UTCI", "PET"])
    assert list(r.index) == list(df.index) and "PMV" not in r.columns
    assert np.isnan(r.loc[1, ["Tmrt", "UTCI", "PET"]].to_numpy(float)).all()
    assert np.isfinite(r.loc[1, ["elevation", "SDmax"]].to_numpy(float)).all()
    assert np.isfinite(r.loc[[0, 2, 3], ["Tmrt", "UTCI", "PET"]].to_numpy(float)).all()
    assert r.loc[2, "G"] == pytest.approx(800, abs=0.01)


def test_compute_takes_the_time_in_any_of_its_forms_and_per_row_columns():
    df = weather()
    base = umbrix.compute(df, site=FREIBURG)
    by_day = df.drop(columns="time").assign(doy=182, hour=[6.0, 9.0, 12.0, 15.0])
    by_date = df.drop(columns="time").assign(date=pd.Timestamp("2025-07-01"),
                                             hour=[6.0, 9.0, 12.0, 15.0])
    aware = df.assign(time=df["time"].dt.tz_localize("Etc/GMT-1").dt.tz_convert("UTC"))
    for other in (by_day, by_date, aware):
        assert np.array_equal(umbrix.compute(other, site=FREIBURG)["Tmrt"], base["Tmrt"])
    clo = [0.5, 0.9, 1.5, 0.9]
    per_row = umbrix.compute(df.assign(clo=clo), site=FREIBURG)
    assert per_row["PMV"][0] < base["PMV"][0]  # lighter clothes on a cool morning
    assert per_row["PMV"].to_numpy() == pytest.approx(
        umbrix.pmv(Ta=df["Ta"], RH=df["RH"], v=df["v"], Tmrt=per_row["Tmrt"], clo=clo), abs=1e-5)
    site_cols = umbrix.compute(df.assign(**{k: v for k, v in FREIBURG.items()}))
    assert np.array_equal(site_cols["Tmrt"], base["Tmrt"])


@pytest.mark.parametrize("change,message", [
    (lambda df: df.drop(columns="RH"), "humidity"),
    (lambda df: df.drop(columns="time"), "time"),
    (lambda df: df.assign(D=1.0), "column D needs the column G"),
])
def test_compute_errors(change, message):
    with pytest.raises(ValueError, match=message):
        umbrix.compute(change(weather()), site=FREIBURG)
    with pytest.raises(ValueError, match="unknown index"):
        umbrix.compute(weather(), site=FREIBURG, indices=["WBGT"])
