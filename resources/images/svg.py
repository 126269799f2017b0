"""Small helpers for writing the pictures as SVG text.

Every picture is an SVG document in logical pixels; the renderer draws it at
1x and 2x. Text is never left to the renderer's fonts: words are turned into
outline paths from a font file, so a machine without that font draws the
same picture.
"""

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

# Debian's fonts-manrope: the geometric face of the wordmark.
WORDMARK_FONT = "/usr/share/fonts/truetype/manrope/Manrope-Bold.ttf"


def num(value):
    """A coordinate without trailing zeros, so the SVG text stays stable."""
    text = "%.3f" % value
    return text.rstrip("0").rstrip(".") if "." in text else text


def document(width, height, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" '
            'viewBox="0 0 %s %s">%s%s</svg>\n'
            % (num(width), num(height), num(width), num(height),
               "<defs>%s</defs>" % defs if defs else "", body))


def rect(x, y, w, h, fill, rx=0, extra=""):
    return ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" %s/>'
            % (num(x), num(y), num(w), num(h), num(rx), fill, extra))


def circle(cx, cy, r, fill, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" fill="%s" %s/>' % (num(cx), num(cy), num(r), fill, extra)


def linear(ident, stops, x1=0, y1=0, x2=0, y2=1):
    """A gradient over the filled shape's box; stops are (offset, colour, opacity)."""
    parts = "".join('<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (num(o), c, num(a))
                    for o, c, a in stops)
    return ('<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
            % (ident, num(x1), num(y1), num(x2), num(y2), parts))


def radial_glow(ident, colour, opacity):
    """A colour that fades from the centre of a circle to nothing at its rim."""
    return ('<radialGradient id="%s"><stop offset="0" stop-color="%s" stop-opacity="%s"/>'
            '<stop offset="1" stop-color="%s" stop-opacity="0"/></radialGradient>'
            % (ident, colour, num(opacity), colour))


def blur(ident, deviation):
    return ('<filter id="%s" x="-50%%" y="-50%%" width="200%%" height="200%%">'
            '<feGaussianBlur stdDeviation="%s"/></filter>' % (ident, num(deviation)))


def strip(frame_width, height, frames):
    """Frames side by side: each frame is SVG drawn at the origin and moved
    to its place in the strip."""
    body = "".join('<g transform="translate(%s 0)">%s</g>' % (num(i * frame_width), frame)
                   for i, frame in enumerate(frames))
    return document(frame_width * len(frames), height, body)


class Wordmark:
    """A word set in the wordmark face, as one outline path."""

    # Pairs that look loose at display sizes, tightened by a share of the em.
    KERNING = {("T", "o"): -0.07, ("Т", "о"): -0.07, ("T", "a"): -0.05}

    def __init__(self, text, cap_height, tracking=0.0):
        font = TTFont(WORDMARK_FONT)
        glyphs = font.getGlyphSet()
        cmap = font.getBestCmap()
        self.size = cap_height / font["OS/2"].sCapHeight * font["head"].unitsPerEm
        scale = self.size / font["head"].unitsPerEm
        self._commands = []
        pen_x = 0.0
        previous = None
        for char in text:
            pen_x += self.KERNING.get((previous, char), 0.0) * self.size
            glyph = glyphs[cmap[ord(char)]]
            pen = SVGPathPen(glyphs, ntos=num)
            glyph.draw(TransformPen(pen, (scale, 0, 0, -scale, pen_x, 0)))
            self._commands.append(pen.getCommands())
            pen_x += glyph.width * scale + tracking
            previous = char
        self.width = pen_x - tracking

    def path(self, x, baseline, fill):
        return ('<path transform="translate(%s %s)" fill="%s" d="%s"/>'
                % (num(x), num(baseline), fill, " ".join(self._commands)))
