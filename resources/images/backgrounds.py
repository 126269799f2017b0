"""Window and dialog backgrounds and the progress-screen pictures.

No words are baked into a background: texts are drawn by the window in the
interface language. The only word in these pictures is the browser's name in
the illustrated browser window of the progress screens, which is why those
exist in an international and a Russian variant.
"""

import palette as p
from svg import Wordmark, blur, circle, document, linear, num, radial_glow, rect

NAME = {"en": "Tolvar", "ru": "Толвар"}


def browser_card(x, y, w, h, lang, accent, hero, ink=p.INK):
    """An illustrated browser window: tab with the browser's name, address
    bar, a large tile and a row of small ones."""
    word = Wordmark(NAME[lang], cap_height=7)
    tab_w = word.width + 34
    shadow = rect(x, y + 6, w, h, "#1b1f3a", 14, 'fill-opacity="0.12" filter="url(#card-blur)"')
    parts = [
        shadow,
        rect(x, y, w, h, "#ffffff", 14),
        rect(x, y, w, 34, "#eef0f4", 14),
        rect(x, y + 20, w, 14, "#eef0f4"),
        circle(x + 16, y + 17, 4, "#ff6b6b"), circle(x + 29, y + 17, 4, p.SUN),
        circle(x + 42, y + 17, 4, p.MINT),
        rect(x + 58, y + 8, tab_w, 26, "#ffffff", 7),
        rect(x + 68, y + 16, 10, 10, accent, 3),
        word.path(x + 84, y + 24.5, ink),
        rect(x + 14, y + 44, w - 28, 16, "#f1f2f6", 8),
        circle(x + 24, y + 52, 3, accent),
        rect(x + 14, y + 72, w - 28, h * 0.36, "url(#hero)", 10),
    ]
    tile_y = y + 84 + h * 0.36
    tile_w = (w - 28 - 3 * 10) / 4.0
    tile_h = y + h - 14 - tile_y
    for i in range(4):
        parts.append(rect(x + 14 + i * (tile_w + 10), tile_y, tile_w, tile_h, "#f1f2f6", 8))
        parts.append(circle(x + 14 + i * (tile_w + 10) + tile_w / 2, tile_y + tile_h / 2 - 3,
                            min(tile_w, tile_h) * 0.18, [accent, p.CORAL, p.MINT, p.SUN][i]))
    defs = blur("card-blur", 10) + linear("hero", hero, 0, 0, 1, 1)
    return defs, "".join(parts)


def _rounded(width, height, radius, body, defs):
    """Clips a picture to the window's rounded outline; the soft edge it
    leaves is what shows through the window's hard-edged region."""
    if not radius:
        return document(width, height, body, defs)
    clip = '<clipPath id="outline">%s</clipPath>' % rect(0, 0, width, height, "#000", radius)
    return document(width, height, '<g clip-path="url(#outline)">%s</g>' % body, defs + clip)


def facetune_sky(width, height):
    defs = (linear("base", [(0, "#fbfbfc", 1), (1, "#edf0f5", 1)], 0, 0, 1, 1)
            + radial_glow("warm", "#ffe27a", 0.55) + radial_glow("cool", "#cfdcff", 0.6)
            + radial_glow("blush", "#ffd6de", 0.35))
    body = (rect(0, 0, width, height, "url(#base)")
            + circle(width - 110, -30, 340, "url(#warm)")
            + circle(width + 10, height + 40, 320, "url(#cool)")
            + circle(width * 0.62, height * 0.55, 170, "url(#blush)"))
    return defs, body


def facetune_background(width=802, height=430):
    defs, body = facetune_sky(width, height)
    # A few calm rings where the title's right side leaves room.
    rings = "".join(circle(660, 170, r, "none", 'stroke="#ffffff" stroke-opacity="%s" '
                           'stroke-width="1.5"' % num(o))
                    for r, o in ((70, 0.9), (105, 0.7), (140, 0.5)))
    sun = (circle(660, 170, 46, p.SUN, 'fill-opacity="0.9"')
           + circle(660, 170, 46, "none", 'stroke="#ffffff" stroke-width="2" stroke-opacity="0.8"'))
    return document(width, height, body + rings + sun, defs)


def facetune_progress(lang, width=802, height=430):
    defs, body = facetune_sky(width, height)
    card_defs, card = browser_card(490, 72, 262, 230, lang, p.VIOLET,
                                   [(0, "#ffe27a", 1), (1, p.SUN, 1)])
    return document(width, height, body + card, defs + card_defs)


def new_identity_shapes(width, height):
    defs = linear("base", [(0, "#ffffff", 1), (1, p.VIOLET_PALE, 1)])
    body = (rect(0, 0, width, height, "url(#base)")
            + circle(672, 180, 142, "none",
                     'stroke="%s" stroke-opacity="0.16" stroke-width="2"' % p.VIOLET)
            + circle(672, 180, 112, p.VIOLET)
            + circle(672, 180, 58, "#ffffff", 'fill-opacity="0.14"')
            + circle(536, 92, 18, p.MINT)
            + circle(566, 302, 10, p.CORAL))
    return defs, body


def new_identity_background(radius, border, width=802, height=430):
    defs, body = new_identity_shapes(width, height)
    if border:  # Windows 7: a square window keeps a crisp edge of its own.
        body += rect(0.5, 0.5, width - 1, height - 1, "none", 0,
                     'stroke="#d9d5ee" stroke-width="1"')
    return _rounded(width, height, radius, body, defs)


def new_identity_progress(lang, radius, border, width=802, height=430):
    defs = linear("base", [(0, "#ffffff", 1), (1, p.VIOLET_PALE, 1)])
    card_defs, card = browser_card(480, 74, 270, 236, lang, p.VIOLET,
                                   [(0, "#7a63ff", 1), (1, p.VIOLET, 1)])
    body = (rect(0, 0, width, height, "url(#base)")
            + circle(760, 330, 110, p.VIOLET, 'fill-opacity="0.10"')
            + circle(452, 292, 12, p.MINT) + card)
    if border:
        body += rect(0.5, 0.5, width - 1, height - 1, "none", 0,
                     'stroke="#d9d5ee" stroke-width="1"')
    return _rounded(width, height, radius, body, defs + card_defs)


def night_sky(width, height):
    defs = (linear("night", [(0, p.NIGHT_TOP, 1), (1, p.NIGHT_BOTTOM, 1)], 0, 0, 1, 1)
            + radial_glow("glow", "#6a4dff", 0.55) + radial_glow("sea", "#1fa2ff", 0.3))
    body = (rect(0, 0, width, height, "url(#night)")
            + circle(width * 0.8, 40, 380, "url(#glow)")
            + circle(60, height + 30, 320, "url(#sea)"))
    return defs, body


def origin_background(width=728, height=400):
    defs, body = night_sky(width, height)
    stars = "".join(circle(x, y, r, "#ffffff", 'fill-opacity="%s"' % num(a))
                    for x, y, r, a in ((120, 120, 1.2, 0.5), (310, 70, 0.9, 0.4),
                                       (540, 120, 1.4, 0.55), (660, 300, 1.0, 0.35),
                                       (220, 330, 1.1, 0.3), (470, 300, 0.8, 0.4)))
    return document(width, height, body + stars, defs)


def origin_progress(lang, width=728, height=400):
    """Light where the dark progress text stands; a night-sky tab under the
    logo, which the window draws in white."""
    sky_defs, sky = night_sky(330, 118)
    defs = (sky_defs + '<clipPath id="tab"><path d="M0 0H330V90Q330 118 302 118H0Z"/></clipPath>'
            + linear("base", [(0, "#f7f8fa", 1), (1, "#eceef4", 1)]))
    card_defs, card = browser_card(206, 150, 316, 226, lang, p.VIOLET,
                                   [(0, "#7a63ff", 1), (1, p.VIOLET, 1)])
    body = (rect(0, 0, width, height, "url(#base)")
            + '<g clip-path="url(#tab)">%s</g>' % sky + card)
    return document(width, height, body, defs + card_defs)


def dialog_background(width=460, height=234):
    """Stretched over a dialog of any size: a gradient along one axis only."""
    defs = linear("paper", [(0, "#ffffff", 1), (1, "#f4f5f8", 1)])
    return document(width, height, rect(0, 0, width, height, "url(#paper)"), defs)


def classic_dialog_background(width=410, height=186, left=7, top=4, right=6, bottom=8):
    """The classic dialog's panel with its own shadow in the margins around it."""
    inner_w, inner_h = width - left - right, height - top - bottom
    defs = blur("drop", 2.2) + linear("panel", [(0, "#ffffff", 1), (1, "#f3f4f7", 1)])
    body = (rect(left, top + 2, inner_w, inner_h, "#000000", 0,
                 'fill-opacity="0.28" filter="url(#drop)"')
            + rect(left, top, inner_w, inner_h, "url(#panel)")
            + rect(left + 0.5, top + 0.5, inner_w - 1, inner_h - 1, "none", 0,
                   'stroke="#c9cdd5" stroke-width="1"')
            + rect(left + 1, top + 1, inner_w - 2, 3, p.SUN))
    return document(width, height, body, defs)
