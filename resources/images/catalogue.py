"""Every picture the installer carries: its resource id, its size in logical
pixels, the scale it is rendered at (1 or 2), its file format and its source.

JPEG is for the soft gradients of the large backgrounds; PNG for flat art and
for anything with transparency.
"""

import backgrounds as bg
import controls as c
import palette as p
from shadows import Shadow


class Picture:
    def __init__(self, ident, width, height, scale, fmt, svg, crop=None):
        self.ident = ident
        self.width = width        # logical size of the picture itself
        self.height = height
        self.scale = scale
        self.fmt = fmt            # "png" or "jpg"
        self.svg = svg            # callable giving the SVG source
        self.crop = crop          # (x, y) of the picture inside the source, logical


def _variants(ids, width, height, fmt, svg, crop=None):
    """The 1x picture and, when a second id is given, its 2x twin."""
    return [Picture(ident, width, height, scale, fmt, svg, crop)
            for ident, scale in zip(ids, (1, 2))]


def _shadow_pieces(shadow, corners, edges=None):
    """corners and edges: (1x ids, 2x ids or None) in resource order; a
    family without edges of its own shares another's."""
    result = []
    pieces = shadow.pieces() if edges else shadow.pieces()[:4]
    for index, (name, x, y, w, h) in enumerate(pieces):
        ids_1x, ids_2x = corners if index < 4 else edges
        ids = [ids_1x[index % 4]] + ([ids_2x[index % 4]] if ids_2x else [])
        result += _variants(ids, w, h, "png", shadow.svg, (x, y))
    return result


def _range(first, count=4):
    return list(range(first, first + count))


def pictures():
    result = []
    add = result.extend

    # Facetune.
    add(_variants([2021, 2022], 802, 430, "jpg", bg.facetune_background))
    add(_variants([2023, 2024], 802, 430, "jpg", bg.facetune_background))
    add(_variants([2025, 2026], 802, 430, "jpg", lambda: bg.facetune_progress("en")))
    add(_variants([2027, 2028], 802, 430, "jpg", lambda: bg.facetune_progress("ru")))
    add(_variants([2029], 432, 48, "png",
                  lambda: c.button_strip(144, 48, 10, (p.SUN, p.SUN_HOT, p.SUN_PRESSED))))
    facetune = Shadow(radius=9, inset=1)
    facetune_square = Shadow(radius=0, inset=1)
    add(_shadow_pieces(facetune, (_range(2042), _range(2050)), (_range(2046), _range(2054))))
    add(_shadow_pieces(facetune_square, (_range(2058), _range(2062))))

    # NewIdentity.
    add(_variants([2264, 2265], 802, 430, "png", lambda: bg.new_identity_background(9, False)))
    add(_variants([2258, 2259], 802, 430, "jpg", lambda: bg.new_identity_background(0, True)))
    for ids, lang, radius, fmt in (([2266, 2267], "en", 9, "png"), ([2268, 2269], "ru", 9, "png"),
                                   ([2260, 2261], "en", 0, "jpg"), ([2262, 2263], "ru", 0, "jpg")):
        add(_variants(ids, 802, 430, fmt,
                      lambda lang=lang, radius=radius: bg.new_identity_progress(
                          lang, radius, border=not radius)))
    add(_variants([2270], 420, 48, "png",
                  lambda: c.button_strip(140, 48, 10, (p.VIOLET, p.VIOLET_HOT, p.VIOLET_PRESSED))))
    for ids, text in (([2271, 2272], "Tolvar"), ([2273, 2274], "Толвар")):
        add(_variants(ids, 160, 22, "png",
                      lambda text=text: c.logo(160, 22, text, p.INK, p.VIOLET, "#ffffff")))
    new_identity = Shadow(radius=9, inset=1, colour="#140c3c", opacity=0.24)
    new_identity_square = Shadow(radius=0, inset=1, colour="#140c3c", opacity=0.24)
    add(_shadow_pieces(new_identity, (_range(2275), _range(2283)), (_range(2279), _range(2287))))
    add(_shadow_pieces(new_identity_square, (_range(2291), _range(2295))))

    # Shared by Facetune and NewIdentity.
    tick_box = lambda **k: c.check_box_strip(p.LINE, "#7d828e", p.INK, "#34363d", "#000000", **k)
    add(_variants([2019, 2020], 96, 16, "png", tick_box))
    add(_variants([2256, 2257], 96, 16, "png",
                  lambda: c.check_box_strip("#cdd1d8", "#a4a9b3", "#6d717c", "#7c808a", "#5c606a")))
    add(_variants([2038, 2039], 393, 4, "png", lambda: c.progress_part(393, p.VIOLET)))
    add(_variants([2040, 2041], 393, 4, "png", lambda: c.progress_part(393, p.TRACK)))
    add(_variants([2030, 2031], 60, 20, "png", lambda: c.glyph_strip(20, "close", p.INK, 5, 1.5)))
    add(_variants([2034, 2035], 60, 20, "png", lambda: c.glyph_strip(20, "minimise", p.INK, 5, 1.5)))
    add(_variants([2036, 2037], 20, 20, "png", c.dimmed_minimise))

    # Origin.
    add(_variants([906], 728, 400, "jpg", bg.origin_background))
    add(_variants([904], 728, 400, "jpg", lambda: bg.origin_progress("en")))
    add(_variants([910], 728, 400, "jpg", lambda: bg.origin_progress("ru")))
    for ids, text in (([903, 915], "Tolvar"), ([911, 917], "Толвар")):
        add(_variants(ids, 212, 38, "png",
                      lambda text=text: c.logo(212, 38, text, "#ffffff", p.SUN, p.NIGHT_TOP)))
    add(_variants([902], 96, 16, "png",
                  lambda: c.check_box_strip("#ffffff", "#ffffff", "#ffffff", "#f1f1f6", "#d9dae3",
                                            box_opacity=0, pressed_opacity=0.2,
                                            tick=p.NIGHT_TOP)))
    add(_variants([907], 336, 32, "png",
                  lambda: c.button_strip(112, 32, 6, (p.SUN, p.SUN_HOT, p.SUN_PRESSED))))
    add(_variants([908], 292, 4, "png", lambda: c.progress_part(292, p.VIOLET)))
    add(_variants([909], 292, 4, "png", lambda: c.progress_part(292, "#d9dce4")))
    add(_variants([103], 36, 12, "png",
                  lambda: c.glyph_strip(12, "close", "#ffffff", 3.5, 1.4, hover="#ffffff")))
    origin = Shadow(radius=0, inset=0, opacity=0.32)
    add(_shadow_pieces(origin, (_range(225), None), (_range(229), None)))

    # The progress screen's Cancel button, over the light progress pictures.
    add(_variants([101], 36, 12, "png", lambda: c.glyph_strip(12, "close", p.INK, 3.5, 1.4)))

    # Redesigned dialogs.
    add(_variants([2233], 460, 234, "png", bg.dialog_background))
    add(_variants([2234, 2235], 300, 35, "png",
                  lambda: c.button_strip(100, 35, 8, (p.SUN, p.SUN_HOT, p.SUN_PRESSED))))
    add(_variants([2236, 2237], 300, 35, "png",
                  lambda: c.button_strip(100, 35, 8, (p.GREY, p.GREY_HOT, p.GREY_PRESSED))))
    add(_variants([2238, 2239], 60, 20, "png", lambda: c.glyph_strip(20, "close", p.INK, 5, 1.5)))
    dialog = Shadow(radius=16, inset=1, corner_extra=16)
    dialog_square = Shadow(radius=0, inset=1)
    add(_shadow_pieces(dialog, (_range(2240), None), (_range(2244), None)))
    add(_shadow_pieces(dialog_square, (_range(2248), None), (_range(2252), None)))

    # Classic dialogs.
    add(_variants([104], 410, 186, "png", bg.classic_dialog_background))
    add(_variants([105], 360, 28, "png",
                  lambda: c.button_strip(120, 28, 4, (p.SUN, p.SUN_HOT, p.SUN_PRESSED))))
    add(_variants([106], 360, 28, "png",
                  lambda: c.button_strip(120, 28, 4, (p.GREY, p.GREY_HOT, p.GREY_PRESSED),
                                         border="#c9cdd5")))
    return result
