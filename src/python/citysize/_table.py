"""Tables opened from a file or a DataFrame, and the runs of controls on them."""
import io
import os
import sys
import warnings

import pandas as pd

from . import _citysize, _paths
from ._citysize import Error
from ._options import to_args
from ._picture import Picture


def _outside_level():
    # The stack level of the first caller outside this package, so a warning names the user's line.
    here = os.path.dirname(os.path.abspath(__file__))
    frame, level = sys._getframe(1), 1
    while frame is not None and os.path.dirname(os.path.abspath(frame.f_code.co_filename)) == here:
        frame, level = frame.f_back, level + 1
    return level


class LoadWarning(UserWarning):
    """What a load said: columns ignored, places dropped, names made unique."""


def _folders():
    # As the command line: the current folder first, then the data that ships with citysize.
    data = _paths.DATA
    if _paths.DATA_RELATIVE:
        data = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), data))
    return [".", data]


def data_path(name="USData.csv"):
    """A data table that ships with citysize (USData.csv, us-places-1790-2010.csv, ...), where
    this copy of the package finds it."""
    for folder in _folders()[1:]:
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            return path
    raise Error(f"{name} is not among the data shipped with citysize ({_folders()[1]})")


class Result:
    """What a run leaves: the printed tables, the window's text and the picture."""

    def __init__(self, native):
        self.csv = list(native.tables)  # each table as `--csv` writes it
        self.tables = [pd.read_csv(io.StringIO(text)) for text in self.csv]
        self.text = native.text
        self.picture = Picture(native.picture)
        self.title = native.title

    def __repr__(self):
        return f"<citysize.Result {self.title!r}: {len(self.tables)} table(s)>"


class Table:
    """A city table as citysize reads it; runs click controls on it as `citysize run` does."""

    def __init__(self, source, options):
        self._source = source  # ("file", path) or ("bytes", data, name)
        self._options = dict(options)
        self._warned = set()
        self._places_csv = self._call(["ReadData"], {}).places

    def _call(self, controls, options):
        merged = {**self._options, **options}
        args = ["run"]
        if self._source[0] == "file":
            args += ["--data", self._source[1]]
        args += to_args(merged) + [str(c) for c in controls]
        try:
            if self._source[0] == "bytes":
                native = _citysize.run(args, self._source[1], self._source[2], _folders())
            else:
                native = _citysize.run(args, None, "", _folders())
        except Error as e:
            raise
        # Each run reads the table again; what its loads said is said once per table.
        for w in native.warnings:
            if w not in self._warned:
                self._warned.add(w)
                warnings.warn(w, LoadWarning, stacklevel=_outside_level())
        return native

    def run(self, *controls, **options):
        """Clicks the controls in order ("ReadData", "TailFit", "Dates=1950", ...) with the
        command line's options as keywords (replicates=, seed=, pin=, in_group=, ...)."""
        if not controls:
            raise Error("run needs at least one control, e.g. t.run(\"ReadData\", \"Rank\")")
        return Result(self._call(controls, options))

    @property
    def places(self):
        """One row per place: name, group, id, lat, lon (NaN where unknown)."""
        frame = self._places_frame()
        return frame.iloc[:, :5].rename(columns={"latitude": "lat", "longitude": "lon"})

    @property
    def populations(self):
        """Places (rows, as in .places) by dates (columns, years); NaN where a place is absent."""
        frame = self._places_frame().iloc[:, 5:]
        frame.columns = [int(c) for c in frame.columns]
        return frame

    def _places_frame(self):
        # Every cell as text first, so a place called "NA" stays a name; then the empty cells
        # (no group, no ID, no position, absent) become NaN and the numbers numbers.
        frame = pd.read_csv(io.StringIO(self._places_csv), dtype=str, keep_default_na=False)
        frame = frame.replace("", float("nan"))
        for column in frame.columns[3:]:
            frame[column] = pd.to_numeric(frame[column]).astype(float)
        return frame

    def _first_table(self, *controls, **options):
        return self.run("ReadData", *controls, **options).tables[0]

    # The analyses scripted most, each returning its table.
    def tail_fit(self, **options):
        return self._first_table("TailFit", **options)

    def by_group(self, **options):
        return self._first_table("ByGroup", **options)

    def growth(self, **options):
        return self._first_table("Growth", **options)

    def mobility(self, **options):
        return self._first_table("Mobility", **options)

    def zipf(self, **options):
        return self._first_table("Zipf", **options)

    def data_properties(self, **options):
        return self._first_table("DataProperties", **options)

    def __repr__(self):
        return f"<citysize.Table {self._source[-1] if self._source[0] == 'bytes' else self._source[1]!r}>"


def open(path=None, **options):
    """Opens a city table (a CSV file, a workbook, a GIS layer, or a folder holding USData.csv;
    default: the USData.csv that ships with citysize) with the command line's options as
    keywords: unit=, group=, name=, id=, sheet=, layer=, lat=, lon=, top=, layout=, dates=[...],
    in_group=, and the analyses' options (replicates=, seed=, ...). Raises citysize.Error when
    the table cannot be read."""
    if path is None:
        return Table(("file", ""), options)
    return Table(("file", os.fspath(path)), options)


def from_frame(df, name=None, group=None, id=None, dates=None, lat=None, lon=None, source="DataFrame", **options):
    """A table from a DataFrame: read by the same rules as the same table saved as CSV (a named
    index becomes a column). Columns as citysize.open's keywords."""
    frame = df.reset_index() if any(n is not None for n in df.index.names) else df
    data = frame.to_csv(index=False).encode("utf-8")
    return Table(("bytes", data, source), dict(name=name, group=group, id=id, dates=dates, lat=lat, lon=lon, **options))

