"""Strips and small pictures of the controls: buttons in three states
(normal, hot, pressed), check boxes in six (unchecked and checked, each
normal, hot, pressed), window glyphs, progress bars and the logos."""

import palette as p
from svg import Wordmark, circle, document, num, rect, strip


def button_strip(frame_width, height, radius, colours, border=None):
    """A solid rounded button; colours are the normal, hot and pressed fills."""
    frames = []
    for fill in colours:
        stroke = ('stroke="%s" stroke-width="1"' % border) if border else ""
        inset = 0.5 if border else 0
        frames.append(rect(inset, inset, frame_width - 2 * inset, height - 2 * inset, fill,
                           radius, stroke))
    return strip(frame_width, height, frames)


def _cross(size, half, colour, opacity, width):
    c = size / 2.0
    return ('<path d="M%s %sL%s %sM%s %sL%s %s" stroke="%s" stroke-opacity="%s" '
            'stroke-width="%s" stroke-linecap="round"/>'
            % (num(c - half), num(c - half), num(c + half), num(c + half),
               num(c + half), num(c - half), num(c - half), num(c + half),
               colour, num(opacity), num(width)))


def _bar(size, half, colour, opacity, width):
    c = size / 2.0
    return ('<path d="M%s %sL%s %s" stroke="%s" stroke-opacity="%s" stroke-width="%s" '
            'stroke-linecap="round"/>' % (num(c - half), num(c), num(c + half), num(c),
                                          colour, num(opacity), num(width)))


def glyph_strip(size, glyph, colour, half, width, hover=None):
    """Close or minimise glyph: resting, hot (darker, on a soft disc), pressed."""
    draw = _cross if glyph == "close" else _bar
    hover = hover or colour
    disc = lambda a: circle(size / 2.0, size / 2.0, size / 2.0, hover, 'fill-opacity="%s"' % num(a))
    frames = [
        draw(size, half, colour, 0.62, width),
        disc(0.08) + draw(size, half, colour, 1.0, width),
        disc(0.15) + draw(size, half, colour, 1.0, width),
    ]
    return strip(size, size, frames)


def dimmed_minimise():
    """The minimise glyph of the welcome screen, where it does nothing yet."""
    return document(20, 20, _bar(20, 5, p.INK, 0.22, 1.5))


def check_box_strip(border, border_hot, fill_checked, fill_checked_hot, fill_checked_pressed,
                    box_fill="#ffffff", box_pressed="#eceef2", tick="#ffffff", box_opacity=1,
                    pressed_opacity=1):
    def box(fill, stroke, opacity=1):
        return rect(1.5, 1.5, 13, 13, fill, 3, 'fill-opacity="%s" stroke="%s" stroke-width="1"'
                    % (num(opacity), stroke))

    tick_path = ('<path d="M4.6 8.3L7 10.7L11.5 5.7" fill="none" stroke="%s" stroke-width="1.8" '
                 'stroke-linecap="round" stroke-linejoin="round"/>' % tick)
    frames = [
        box(box_fill, border, box_opacity),
        box(box_fill, border_hot, box_opacity),
        box(box_pressed, border_hot, pressed_opacity),
        box(fill_checked, fill_checked) + tick_path,
        box(fill_checked_hot, fill_checked_hot) + tick_path,
        box(fill_checked_pressed, fill_checked_pressed) + tick_path,
    ]
    return strip(16, 16, frames)


def progress_part(width, colour):
    return document(width, 4, rect(0, 0, width, 4, colour, 2))


def mark(x, y, size, background, foreground):
    """Tolvar's mark: a rounded square holding a T whose stem rises from a
    rounded bar, drawn with round caps so that it stays legible when small."""
    s = size / 32.0
    stroke = 'stroke="%s" stroke-width="4.2" stroke-linecap="round" fill="none"' % foreground
    return ('<g transform="translate(%s %s) scale(%s)">%s'
            '<path d="M9 10.5H23M16 10.5V23.5" %s/></g>'
            % (num(x), num(y), num(s), rect(0, 0, 32, 32, background, 9), stroke))


def logo(width, height, text, ink, mark_background, mark_foreground):
    """The mark and the wordmark, fitted into the picture's height."""
    mark_size = height * 0.84
    top = (height - mark_size) / 2.0
    gap = mark_size * 0.32
    word = Wordmark(text, cap_height=mark_size * 0.6)
    room = width - mark_size - gap
    if word.width > room:
        word = Wordmark(text, cap_height=mark_size * 0.6 * room / word.width)
    baseline = top + mark_size / 2.0 + mark_size * 0.3
    return document(width, height,
                    mark(0, top, mark_size, mark_background, mark_foreground)
                    + word.path(mark_size + gap, baseline, ink))
