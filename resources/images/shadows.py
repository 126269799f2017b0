"""Soft shadows around borderless windows.

One shadow is rendered around a small stand-in window; the corner and edge
pieces are cut from that one picture, so they join without seams however far
the edges are stretched. The window sits `spread` pixels inside the picture
on every side; a corner piece reaches `inset` pixels (plus the window's
rounding) into the window, an edge piece `inset` pixels.
"""

from svg import blur, document, rect

STAND_IN = 96      # the stand-in window's width and height
EDGE_LENGTH = 16   # the length of an edge piece along its edge


class Shadow:
    def __init__(self, radius, inset, corner_extra=0, opacity=0.22, deviation=2.7, drop=1,
                 spread=8, colour="#000000"):
        self.radius = radius
        self.inset = inset
        self.spread = spread
        self.corner = 2 * spread + inset + corner_extra
        self.thickness = spread + inset
        self.opacity = opacity
        self.deviation = deviation
        self.drop = drop
        self.colour = colour

    def size(self):
        return STAND_IN + 2 * self.spread

    def svg(self):
        """The whole shadow; nothing is drawn where the window covers it."""
        d, n = self.spread, STAND_IN
        defs = (blur("soft", self.deviation)
                + '<mask id="outside">%s%s</mask>'
                % (rect(0, 0, self.size(), self.size(), "#fff"),
                   rect(d, d, n, n, "#000", self.radius)))
        body = '<g mask="url(#outside)">%s</g>' % rect(
            d, d + self.drop, n, n, self.colour, self.radius,
            'fill-opacity="%s" filter="url(#soft)"' % self.opacity)
        return document(self.size(), self.size(), body, defs)

    def pieces(self):
        """(name, x, y, width, height) of the eight pieces in logical pixels,
        in resource order: corners top-left, top-right, bottom-right,
        bottom-left, then edges left, top, right, bottom."""
        s, c, t = self.size(), self.corner, self.thickness
        middle = (s - EDGE_LENGTH) // 2
        return [
            ("top-left", 0, 0, c, c),
            ("top-right", s - c, 0, c, c),
            ("bottom-right", s - c, s - c, c, c),
            ("bottom-left", 0, s - c, c, c),
            ("left", 0, middle, t, EDGE_LENGTH),
            ("top", middle, 0, EDGE_LENGTH, t),
            ("right", s - t, middle, t, EDGE_LENGTH),
            ("bottom", middle, s - t, EDGE_LENGTH, t),
        ]
