"""res.picture holds the bytes `citysize run --picture` writes, in each format, at each
scale, pinned or not; sized PNGs are as large as fits, centred on the background."""
import io
import re
import struct
import subprocess

import pytest
from PIL import Image

import citysize
from conftest import PLACES, US, read_bytes, run_cli

# (data, keywords, the same as options, controls, file the command line writes, how Python writes it)
CASES = [
    (US, {}, [], ["ReadData", "BackMap=Black", "Rank"], "p.png", lambda p: p.png()),
    (US, {}, ["--scale", "2"], ["ReadData", "Zipf"], "p.png", lambda p: p.png(scale=2)),
    (US, {}, ["--scale", "0.5"], ["ReadData", "Zipf"], "p.png", lambda p: p.png(size=(300, 300))),
    (US, {}, [], ["ReadData", "RankSpirel1"], "p.svg", lambda p: p.svg()),
    (US, {}, ["--scale", "1.5"], ["ReadData", "InfoSpirel"], "p.svg", lambda p: p.svg(scale=1.5)),
    (US, {"pin": "Chicago, IL"}, ["--pin", "Chicago, IL"], ["ReadData", "RankSpirel1"], "p.png", lambda p: p.png()),
    (US, {"pin": "Chicago, IL"}, ["--pin", "Chicago, IL"], ["ReadData", "RankSpirel1"], "p.svg", lambda p: p.svg()),
    (PLACES, {}, [], ["ReadData", "Map", "Dates=1900"], "p.png", lambda p: p.png()),
    (PLACES, {"replicates": 0}, ["--replicates", "0"], ["ReadData", "Growth", "Dates=1990", "GrowthPlot"], "p.png",
     lambda p: p.png()),
    (US, {}, [], ["ReadData", "Rank"], "p.pdf", lambda p: p.pdf()),
    (US, {"select": ["Boston, MA", "Chicago, IL"]}, ["--select", "Boston, MA;Chicago, IL"], ["ReadData", "RankSpirel1"],
     "p.png", lambda p: p.png()),
    (PLACES, {"select": ["Houston, TX", "Dallas, TX"]}, ["--select", "Houston, TX;Dallas, TX"],
     ["ReadData", "Map", "Dates=2010"], "p.png", lambda p: p.png()),
    (PLACES, {"pin": "Houston, TX"}, ["--pin", "Houston, TX"], ["ReadData", "Map", "Dates=2010"], "p.pdf",
     lambda p: p.pdf()),
]


def _same_pdf_pages(ours, theirs, folder):
    # A PDF names the second it was written, and Qt subsets its fonts by what the process drew
    # before, so two PDFs of one picture differ in bytes: both are rasterised by ghostscript.
    pages = []
    for name, data in [("ours", ours), ("theirs", theirs)]:
        (folder / f"{name}.pdf").write_bytes(data)
        subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r72",
                        f"-sOutputFile={folder / name}.png", str(folder / f"{name}.pdf")], check=True, timeout=120)
        pages.append(Image.open(folder / f"{name}.png").convert("RGB").tobytes())
    return pages[0] == pages[1]


@pytest.mark.parametrize("data,keywords,flags,controls,name,write", CASES,
                         ids=[f"{'+'.join(c[3][1:])}{''.join(c[2])}:{c[4]}" for c in CASES])
def test_picture_bytes_are_the_command_lines(tmp_path, data, keywords, flags, controls, name, write):
    status, _, stderr = run_cli(["--data", data, *flags, *controls, "--picture", str(tmp_path / name)], cwd=tmp_path)
    assert status == 0, stderr
    ours = write(citysize.open(data).run(*controls, **keywords).picture)
    if name.endswith(".pdf"):
        assert ours.startswith(b"%PDF") and _same_pdf_pages(ours, read_bytes(tmp_path / name), tmp_path)
    else:
        assert ours == read_bytes(tmp_path / name)


def test_pin_changes_the_picture():
    # Guards the case above against a pin that both sides ignore.
    t = citysize.open(US)
    assert t.run("ReadData", "RankSpirel1", pin="Chicago, IL").picture.png() != t.run("ReadData", "RankSpirel1").picture.png()


@pytest.mark.parametrize("size", [(400, 300), (300, 450), (2, 40), (1200, 1200)])
def test_a_sized_png_is_that_size_with_the_picture_centred(size):
    picture = citysize.open(US).run("ReadData", "Rank").picture
    image = Image.open(io.BytesIO(picture.png(size=size))).convert("RGB")
    assert image.size == size
    # The square picture fills the shorter side; the margins of the longer one are background.
    background = Image.open(io.BytesIO(picture.png())).convert("RGB").getpixel((0, 0))
    w, h = size
    side = min(w, h)
    margin_w, margin_h = (w - side) // 2, (h - side) // 2
    margins = [(0, 0), (w - 1, h - 1)] + ([(margin_w - 1, h // 2)] if margin_w else []) + ([(w // 2, margin_h - 1)] if margin_h else [])
    for x, y in margins:
        assert image.getpixel((x, y)) == background
    if side >= 300:  # the curves themselves reach into the middle of the square
        colours = {image.getpixel((x, y)) for x in range(margin_w, margin_w + side, 7) for y in range(margin_h, margin_h + side, 7)}
        assert len(colours) > 2


def test_inline_reprs_and_save(tmp_path):
    picture = citysize.open(US).run("ReadData", "RankSpirel1").picture
    assert picture.size == (600, 600)
    assert picture._repr_png_() == picture.png()
    assert picture._repr_svg_() == picture.svg().decode("utf-8")
    assert struct.unpack(">II", picture.png()[16:24]) == (600, 600)  # the IHDR's width and height
    for suffix, expected in [(".png", picture.png()), (".svg", picture.svg())]:
        picture.save(tmp_path / ("p" + suffix))
        assert read_bytes(tmp_path / ("p" + suffix)) == expected
    picture.save(tmp_path / "p2.png", scale=2)
    assert Image.open(tmp_path / "p2.png").size == (1200, 1200)
    assert read_bytes(tmp_path / "p.png")[:8] == b"\x89PNG\r\n\x1a\n"
    picture.save(tmp_path / "p.pdf")
    assert read_bytes(tmp_path / "p.pdf").startswith(b"%PDF")


@pytest.mark.parametrize("call,message", [
    (lambda p: p.save("p.gif"), 'Unknown picture format "gif"'),
    (lambda p: p.png(scale=0), "scale takes a number from 0 to 16"),
    (lambda p: p.png(scale=17), "scale takes a number from 0 to 16"),
    (lambda p: p.png(size=(0, 10)), "size takes a width and a height"),
    (lambda p: p.png(size=(10, 10), scale=2), "size= or scale="),
])
def test_bad_picture_requests_raise(call, message):
    picture = citysize.open(US).run("ReadData", "Rank").picture
    with pytest.raises(citysize.Error, match=re.escape(message)):
        call(picture)
