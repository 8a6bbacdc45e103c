"""A run's picture: inline in a notebook, and the bytes of each format the program writes."""
import os

from ._citysize import Error


class Picture:
    """The picture at the end of a run. .png() with no size holds the bytes `--picture x.png` writes."""

    def __init__(self, native):
        self._native = native

    @property
    def size(self):
        """(width, height) in pixels at scale 1."""
        return (self._native.width, self._native.height)

    def png(self, size=None, scale=None):
        """PNG bytes: at `scale` times 600 x 600 (default 1), or exactly size=(w, h) pixels with
        the picture as large as fits, centred."""
        if size is not None:
            if scale is not None:
                raise Error("give size= or scale=, not both")
            w, h = size
            return self._native.png_sized(int(w), int(h))
        return self._native.png(1.0 if scale is None else float(scale))

    def svg(self, scale=1.0):
        return self._native.svg(float(scale))

    def pdf(self):
        return self._native.pdf()

    def save(self, path, **options):
        """Writes .png, .svg or .pdf by the file's suffix; options as png() or svg()."""
        suffix = os.path.splitext(os.fspath(path))[1].lower()
        writers = {".png": self.png, ".svg": self.svg, ".pdf": self.pdf}
        if suffix not in writers:
            raise Error(f'Unknown picture format "{suffix.lstrip(".")}": use .png, .svg or .pdf')
        data = writers[suffix](**options)
        with open(path, "wb") as f:
            f.write(data)

    def _repr_png_(self):
        return self.png()

    def _repr_svg_(self):
        return self.svg().decode("utf-8")
