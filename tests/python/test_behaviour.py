"""Errors carry the command line's message; a fit leaves other threads running and stops on
Ctrl-C; an installed copy imports and finds its data."""
import hashlib
import os
import signal
import subprocess
import sys
import threading
import time

import pytest

import citysize
from conftest import PLACES, US, run_cli

# (what Python does, the same on the command line)
ERRORS = [
    (lambda: citysize.open("missing.csv"), ["--data", "missing.csv", "ReadData"]),
    (lambda: citysize.open(US).run("ReadData", "Bogus"), ["--data", US, "ReadData", "Bogus"]),
    (lambda: citysize.open(US).run("TailFit"), ["--data", US, "TailFit"]),
    (lambda: citysize.open(US).run("ReadData", "Foo=Bar"), ["--data", US, "ReadData", "Foo=Bar"]),
    (lambda: citysize.open(US).run("ReadData", "Zipf", "Dates=1234"), ["--data", US, "ReadData", "Zipf", "Dates=1234"]),
    (lambda: citysize.open(US, unit=-1), ["--data", US, "--unit", "-1", "ReadData"]),
    (lambda: citysize.open(US, top=2.5), ["--data", US, "--top", "2.5", "ReadData"]),
    (lambda: citysize.open(US, layout="diagonal"), ["--data", US, "--layout", "diagonal", "ReadData"]),
    (lambda: citysize.open(US, colour="red"), ["--data", US, "--colour", "red", "ReadData"]),
    (lambda: citysize.open(US).run("ReadData", replicates="many"), ["--data", US, "--replicates", "many", "ReadData"]),
    (lambda: citysize.open(US).run("ReadData", "RankSpirel1", pin="Atlantis, ZZ"),
     ["--data", US, "--pin", "Atlantis, ZZ", "ReadData", "RankSpirel1"]),
    (lambda: citysize.open(PLACES, in_group="ZZ"), ["--data", PLACES, "--in", "ZZ", "ReadData"]),
    (lambda: citysize.open(PLACES, name="Nowhere"), ["--data", PLACES, "--name", "Nowhere", "ReadData"]),
]


@pytest.mark.parametrize("call,flags", ERRORS, ids=[" ".join(e[1][2:]) for e in ERRORS])
def test_errors_raise_with_the_command_lines_message(tmp_path, call, flags):
    status, _, stderr = run_cli(flags, cwd=tmp_path)
    assert status in (1, 2)
    message = stderr.strip().splitlines()[-1]
    assert message.startswith("citysize: ")
    with pytest.raises(citysize.Error) as caught:
        call()
    assert isinstance(caught.value, ValueError)
    assert str(caught.value) == message[len("citysize: "):]


@pytest.mark.parametrize("call,fragment", [
    (lambda: citysize.open(US, picture="x.png"), "picture= writes a file"),
    (lambda: citysize.open(US).run("ReadData", csv="x.csv"), "csv= writes a file"),
    (lambda: citysize.open(US).run(), "run needs at least one control"),
    (lambda: citysize.open(US, data="x.csv"), "pass the table to citysize.open"),
    (lambda: citysize.open(US).run("ReadData", "Rank", select=["Atlantis, ZZ"]), "Atlantis"),
])
def test_keywords_the_module_refuses(call, fragment):
    with pytest.raises(citysize.Error, match=fragment):
        call()


def test_a_long_fit_lets_other_threads_run():
    t = citysize.open(PLACES)
    ticks = 0
    stop = threading.Event()

    def count():
        nonlocal ticks
        while not stop.is_set():
            ticks += 1

    counter = threading.Thread(target=count)
    counter.start()
    try:
        start_ticks = ticks
        started = time.monotonic()
        t.run("ReadData", "TailFit", replicates=30)
        took = time.monotonic() - started
        during = ticks - start_ticks
    finally:
        stop.set()
        counter.join()
    assert took > 0.5, "the fit was too short to tell"
    # Holding the lock, the fit would let the counter run only between Python steps of this
    # thread (none while the fit runs): it counts on freely when the lock is released.
    assert during > 100_000 * took


@pytest.mark.skipif(threading.current_thread() is not threading.main_thread(), reason="signals reach the main thread")
def test_ctrl_c_stops_a_long_fit():
    t = citysize.open(PLACES)
    timer = threading.Timer(0.5, lambda: os.kill(os.getpid(), signal.SIGINT))
    started = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        t.run("ReadData", "TailFit", replicates=2000)  # minutes if it ran to the end
    assert time.monotonic() - started < 10
    # The module is still usable afterwards.
    assert len(t.run("ReadData", "Zipf").tables) == 1


def test_an_installed_copy_imports_and_finds_its_data(tmp_path):
    build = os.environ.get("CITYSIZE_BUILD_DIR")
    if not build:
        pytest.skip("needs the build folder (run through ctest)")
    prefix = tmp_path / "prefix"
    subprocess.run(["cmake", "--install", build, "--prefix", str(prefix)], check=True, capture_output=True, timeout=300)
    site = prefix / "lib" / f"python{sys.version_info.major}.{sys.version_info.minor}" / "site-packages"
    assert (site / "citysize" / "__init__.py").is_file()
    # The installed copy reads the data installed beside it (USData.csv by default) and draws
    # the installed outlines on its map: the same picture as the copy in the build folder.
    script = ("import citysize, hashlib, sys, warnings\n"
              "warnings.simplefilter('ignore')\n"
              "assert citysize.__file__.startswith(sys.argv[1]), citysize.__file__\n"
              "assert citysize.data_path().startswith(sys.argv[2]), citysize.data_path()\n"
              "assert len(citysize.open().places) == 266\n"
              "t = citysize.open(citysize.data_path('us-places-1790-2010.csv'))\n"
              "print(hashlib.sha256(t.run('ReadData', 'Map', 'Dates=1900').picture.png()).hexdigest())\n")
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONPATH"] = str(site)
    p = subprocess.run([sys.executable, "-c", script, str(site), str(prefix / "share" / "citysize" / "data")], cwd=tmp_path,
                       env=env, capture_output=True, text=True, timeout=120)
    assert p.returncode == 0, p.stderr
    here = citysize.open(PLACES).run("ReadData", "Map", "Dates=1900").picture.png()
    assert p.stdout == hashlib.sha256(here).hexdigest() + "\n"
