"""t.places and t.populations hold the table as read; from_frame reads a DataFrame by the
same rules as the same table in a file."""
import csv

import numpy as np
import pandas as pd
import pytest

import citysize
from conftest import PLACES, US, run_cli


def test_populations_of_usdata_are_the_files_numbers():
    # Checked against the file itself through the csv module: a quoted name, then one count
    # per census 1790-2000 (every tenth year), 0 where the city was not counted.
    with open(US, newline="") as f:
        rows = [r for r in csv.reader(f) if r]
    t = citysize.open(US)
    assert list(t.places["name"]) == [r[0] for r in rows]
    assert list(t.populations.columns) == list(range(1790, 2001, 10))
    expected = np.array([[float(v) if float(v) > 0 else np.nan for v in r[1:23]] for r in rows])
    np.testing.assert_array_equal(t.populations.to_numpy(), expected)
    assert t.places[["group", "id", "lat", "lon"]].isna().all().all()


def test_places_of_us_places_are_those_written_by_places(tmp_path):
    status, _, stderr = run_cli(["--data", PLACES, "ReadData", "--places", str(tmp_path / "p.csv")], cwd=tmp_path)
    assert status == 0, stderr
    written = pd.read_csv(tmp_path / "p.csv", keep_default_na=False, dtype={"name": str, "group": str, "id": str})
    t = citysize.open(PLACES)
    assert list(t.places["name"]) == list(written["name"])
    assert list(t.places["group"]) == list(written["group"])
    assert t.places.loc[t.places["name"] == "Houston, TX", "lat"].iloc[0] == pytest.approx(29.76, abs=0.05)
    # Absent populations are NaN, never 0: the file writes them empty.
    assert (t.populations.fillna(1) > 0).all().all()
    assert t.populations.isna().to_numpy().sum() == (written.iloc[:, 5:] == "").to_numpy().sum()


SMALL = pd.DataFrame({
    "town": ["Aton", "Beeville", "Ceeburg", "Deeport", "Eton", "Ffield", "Geton", "Hamlet", "Iville", "Jtown",
             "Kay", "Elle"],
    "region": ["N", "N", "N", "S", "S", "S", "S", "N", "S", "N", "S", "N"],
    "code": list(range(101, 113)),
    "y1900": [5000, 1200, 800, 3000, 450, None, 210, 90, 700, 1500, 60, 330],
    "y1950": [9000, 2500, 1100, 7000, 400, 200, 260, None, 900, 1700, 120, 410],
    "y2000": [12000, 4000, 900, 15000, 380, 640, 300, 70, 1500, 2100, 150, 500],
    "note": ["a"] * 12,
})
KEYWORDS = dict(name="town", group="region", id="code", dates=["y1900", "y1950", "y2000"])
FLAGS = ["--name", "town", "--group", "region", "--id", "code", "--dates", "y1900,y1950,y2000"]


@pytest.mark.parametrize("controls", [["ReadData", "DataProperties"], ["ReadData", "Zipf"], ["ReadData", "Mobility"],
                                      ["ReadData", "PopStats"]])
def test_a_frame_gives_the_command_lines_tables_of_its_csv(tmp_path, controls):
    SMALL.to_csv(tmp_path / "small.csv", index=False)
    status, _, stderr = run_cli(["--data", str(tmp_path / "small.csv"), *FLAGS, *controls, "--csv", str(tmp_path / "t.csv")],
                                cwd=tmp_path)
    assert status == 0, stderr
    res = citysize.from_frame(SMALL, **KEYWORDS).run(*controls)
    pd.testing.assert_frame_equal(res.tables[0], pd.read_csv(tmp_path / "t.csv"))


def test_a_frame_reads_as_its_file():
    frame = pd.read_csv(PLACES, low_memory=False)
    ours = citysize.from_frame(frame, name="CityST", group="ST")
    theirs = citysize.open(PLACES, name="CityST", group="ST")
    pd.testing.assert_frame_equal(ours.places, theirs.places)
    pd.testing.assert_frame_equal(ours.populations, theirs.populations)
    for shortcut in ("zipf", "data_properties", "mobility"):
        pd.testing.assert_frame_equal(getattr(ours, shortcut)(), getattr(theirs, shortcut)())
    pd.testing.assert_frame_equal(ours.by_group(replicates=0), theirs.by_group(replicates=0))


def test_a_named_index_is_a_column_and_absence_is_nan():
    indexed = SMALL.set_index("town")
    t = citysize.from_frame(indexed, **KEYWORDS)
    assert list(t.places["name"]) == list(SMALL["town"])
    assert list(t.places["group"]) == list(SMALL["region"])
    assert list(t.places["id"]) == [str(c) for c in SMALL["code"]]
    expected = SMALL[["y1900", "y1950", "y2000"]].to_numpy(dtype=float)
    np.testing.assert_array_equal(t.populations.to_numpy(), expected)
    assert list(t.populations.columns) == [1900, 1950, 2000]


def test_unit_and_top_apply_to_a_frame():
    t = citysize.from_frame(SMALL, unit=1000, top=3, **KEYWORDS)
    # The places among the 3 largest at one or more dates: Aton, Beeville, Deeport, Jtown.
    assert sorted(t.places["name"]) == ["Aton", "Beeville", "Deeport", "Jtown"]
    assert t.populations.loc[t.places["name"] == "Aton", 1900].iloc[0] == 5_000_000
