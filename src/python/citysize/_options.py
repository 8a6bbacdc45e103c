"""Keywords into the command line's options, so the command line's parser judges them."""
import os

from ._citysize import Error

# Options that name a file the command line would write; from Python the result is returned
# (res.tables, res.text, res.picture.save) instead.
_WRITTEN = {"picture", "csv", "text", "places", "animate", "frames", "frame_ms", "scale"}
# Keywords whose command-line name differs: `in` is a Python word.
_RENAMED = {"in_group": "in", "data": None}


def to_args(options):
    """The arguments after `citysize run` for these keywords (controls not included)."""
    args = []
    for key, value in options.items():
        if value is None:
            continue
        if key in _WRITTEN:
            raise Error(f"{key}= writes a file on the command line; use the result's tables, text or picture")
        if key in _RENAMED and _RENAMED[key] is None:
            raise Error(f"{key}= is not a keyword here: pass the table to citysize.open")
        flag = "--" + _RENAMED.get(key, key.replace("_", "-"))
        if key == "dates":
            values = [",".join(str(d) for d in _as_list(value))]
        elif key == "select":
            values = [";".join(str(v) for v in _as_list(value))]
        elif key == "outline":
            values = [os.fspath(v) for v in _as_list(value)]
        else:
            values = [_text(value)]
        for v in values:
            args += [flag, v]
    return args


def _as_list(value):
    return [value] if isinstance(value, (str, bytes, os.PathLike)) else list(value)


def _text(value):
    if isinstance(value, bool):
        raise Error(f"{value!r} is not a value the command line takes")
    if isinstance(value, float) and value.is_integer():
        return str(int(value))
    return os.fspath(value) if isinstance(value, os.PathLike) else str(value)
