"""Shared by the module's tests: the module, the command line it is compared with, the data."""
import os
import subprocess

import pytest

# Outside ctest (no CITYSIZE_MODULE_BUILT) a missing module skips; under ctest it fails.
try:
    import citysize  # noqa: F401
except ImportError:
    if os.environ.get("CITYSIZE_MODULE_BUILT") == "1":
        raise
    pytest.skip("the citysize module is not built", allow_module_level=True)

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.environ.get("CITYSIZE_REAL_DATA", os.path.join(HERE, "..", "..", "data"))
US = os.path.join(DATA, "USData.csv")
PLACES = os.path.join(DATA, "us-places-1790-2010.csv")
BINARY = os.environ.get("CITYSIZE_BINARY", os.path.join(HERE, "..", "..", "build", "citysize"))


def run_cli(args, cwd):
    """`citysize run ARGS` as a user runs it; (status, stdout, stderr)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    p = subprocess.run([BINARY, "run", *args], cwd=cwd, env=env, capture_output=True, text=True, timeout=300)
    return p.returncode, p.stdout, p.stderr


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


@pytest.fixture(autouse=True)
def _own_folder(tmp_path, monkeypatch):
    # The module, like the command line, looks in the current folder first: keep it empty.
    monkeypatch.chdir(tmp_path)
