"""Every command that prints a table gives, from Python, exactly what `citysize run --csv`
writes for the same clicks: the CSV text byte for byte, the DataFrame as pandas reads that
file, the window's text as --text writes it and the picture as --picture writes it. The
command line is the independent reference: it is a separate process parsing its own
arguments."""
import glob
import os

import pandas as pd
import pytest

import citysize
from conftest import PLACES, US, read_bytes, run_cli

# (data, keywords, the same as command-line options, controls)
CASES = [
    (US, {}, [], ["ReadData", "DataProperties"]),
    (US, {}, [], ["ReadData", "Zipf"]),
    (US, {}, [], ["ReadData", "RankSpirel1", "Cities=New York City, NY", "PlotCity", "Cities=Chicago, IL", "PlotCity"]),
    (US, {}, [], ["ReadData", "RankSpirel1", "DistancePlot"]),
    (US, {}, [], ["ReadData", "InfoStats", "NextInfo", "NextLastInfo"]),
    (US, {}, [], ["ReadData", "PopStats", "NextPop"]),
    (US, {}, [], ["ReadData", "Mobility", "NextMobility"]),
    (US, {"replicates": 40, "seed": 7}, ["--replicates", "40", "--seed", "7"], ["ReadData", "TailFit"]),
    (US, {"replicates": 0, "min_tail": 15}, ["--replicates", "0", "--min-tail", "15"], ["ReadData", "TailFit"]),
    (US, {"replicates": 0}, ["--replicates", "0"], ["ReadData", "Growth"]),
    (PLACES, {}, [], ["ReadData", "DataProperties"]),
    (PLACES, {}, [], ["ReadData", "Zipf"]),
    (PLACES, {}, [], ["ReadData", "InfoStats", "NextInfo"]),
    (PLACES, {}, [], ["ReadData", "PopStats"]),
    (PLACES, {}, [], ["ReadData", "Mobility", "NextMobility"]),
    (PLACES, {"replicates": 0}, ["--replicates", "0"], ["ReadData", "TailFit"]),
    (PLACES, {"replicates": 0, "bandwidth": 0.4}, ["--replicates", "0", "--bandwidth", "0.4"], ["ReadData", "Growth"]),
    (PLACES, {"replicates": 0, "min_places": 30}, ["--replicates", "0", "--min-places", "30"], ["ReadData", "ByGroup"]),
    (PLACES, {"in_group": "TX", "top": 400}, ["--in", "TX", "--top", "400"], ["ReadData", "Zipf"]),
    (PLACES, {"group": "-", "unit": 0.001}, ["--group", "-", "--unit", "0.001"], ["ReadData", "DataProperties"]),
]


def _id(case):
    return os.path.basename(case[0]).split("-")[0].split(".")[0] + ":" + "+".join(case[3][1:]) + "".join(case[2])


@pytest.mark.parametrize("data,keywords,flags,controls", CASES, ids=[_id(c) for c in CASES])
def test_tables_text_and_picture_are_the_command_lines(tmp_path, data, keywords, flags, controls):
    out = tmp_path / "cli"
    out.mkdir()
    status, stdout, stderr = run_cli(["--data", data, *flags, *controls, "--csv", str(out / "t.csv"),
                                      "--text", str(out / "t.txt"), "--picture", str(out / "p.png")], cwd=out)
    assert status == 0, stderr
    files = sorted(glob.glob(str(out / "t*.csv")), key=lambda f: (len(f), f))  # t.csv, t-2.csv, ...
    assert files, "the command line wrote no table: the case tests nothing"

    res = citysize.open(data, **keywords).run(*controls)
    assert res.csv == [read_bytes(f).decode("utf-8") for f in files]
    assert len(res.tables) == len(files)
    for frame, f in zip(res.tables, files):
        pd.testing.assert_frame_equal(frame, pd.read_csv(f))
    assert res.text == read_bytes(out / "t.txt").decode("utf-8")
    assert res.picture.png() == read_bytes(out / "p.png")


# The shortcuts return the first table of ReadData and their command.
SHORTCUTS = [
    ("tail_fit", "TailFit"),
    ("by_group", "ByGroup"),
    ("growth", "Growth"),
    ("mobility", "Mobility"),
    ("zipf", "Zipf"),
    ("data_properties", "DataProperties"),
]


@pytest.mark.parametrize("method,control", SHORTCUTS)
def test_shortcuts_return_the_commands_table(tmp_path, method, control):
    status, _, stderr = run_cli(["--data", PLACES, "--replicates", "0", "ReadData", control,
                                 "--csv", str(tmp_path / "t.csv")], cwd=tmp_path)
    assert status == 0, stderr
    t = citysize.open(PLACES)
    pd.testing.assert_frame_equal(getattr(t, method)(replicates=0), pd.read_csv(tmp_path / "t.csv"))


def test_load_warnings_are_python_warnings_with_the_command_lines_text(tmp_path):
    _, _, stderr = run_cli(["--data", PLACES, "ReadData"], cwd=tmp_path)
    expected = [line[len("citysize: "):] for line in stderr.splitlines()]
    assert len(expected) >= 3  # the ignored columns, the names made unique, unknown positions
    with pytest.warns(citysize.LoadWarning) as caught:
        citysize.open(PLACES)
    assert [str(w.message) for w in caught if w.category is citysize.LoadWarning] == expected


def test_nothing_is_printed_on_stdout(capfd):
    t = citysize.open(US)
    res = t.run("ReadData", "InfoStats", replicates=0)
    res.picture.png()
    res.picture.svg()
    out, _ = capfd.readouterr()
    assert out == ""
