#!/usr/bin/env python3
"""Makes the installer's fonts from open-licensed Debian font files and
writes the resource script that compiles them in as RT_FONT.

    make_fonts.py FONTS_TSV FONT_ROOT OUT_DIR RC_FILE

Each font is cut down to the letters of the installer's sixteen interface
languages, given TrueType outlines (GDI draws those everywhere), renamed to
the family the window asks for with its weight class, and keeps its
copyright and licence in its name table. Letters its face lacks (Kazakh
Cyrillic in the geometric face) are taken from the fallback face, scaled to
its em. Time stamps come from the source file, so builds are repeatable.
"""

import os
import sys

from fontTools import subset
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable

# Latin with the letters of Czech, German, French, Spanish, Italian,
# Portuguese, Turkish and Uzbek; Cyrillic with Ukrainian, Belarusian and
# Kazakh letters; the punctuation, currency and symbols the texts use.
# Chinese and Japanese come from the system's own fonts through font linking.
UNICODES = (
    list(range(0x20, 0x7F)) + list(range(0xA0, 0x149)) + list(range(0x14A, 0x180))
    + [0x18F, 0x192, 0x218, 0x219, 0x21A, 0x21B, 0x259, 0x2BB, 0x2BC, 0x2C6, 0x2C7,
       0x2D8, 0x2D9, 0x2DA, 0x2DB, 0x2DC, 0x2DD]
    + list(range(0x400, 0x460))
    + [0x490, 0x491, 0x492, 0x493, 0x496, 0x497, 0x49A, 0x49B, 0x4A2, 0x4A3, 0x4AE, 0x4AF,
       0x4B0, 0x4B1, 0x4B2, 0x4B3, 0x4BA, 0x4BB, 0x4D8, 0x4D9, 0x4E8, 0x4E9]
    + list(range(0x2010, 0x2028)) + [0x2030, 0x2039, 0x203A, 0x2044, 0x20AC, 0x20B8, 0x20BA,
                                     0x20BD, 0x2116, 0x2122, 0x2212]
)

MAX_ERROR = 1.0  # font units allowed between a cubic curve and its quadratics


def quadratic_glyph(glyph_set, name, scale=1.0):
    """A glyph's outline as TrueType quadratics, optionally scaled."""
    tt_pen = TTGlyphPen(glyph_set)
    # TrueType outlines run the other way round from PostScript ones.
    pen = Cu2QuPen(tt_pen, MAX_ERROR, reverse_direction=True)
    if scale != 1.0:
        pen = TransformPen(pen, (scale, 0, 0, scale, 0, 0))
    glyph_set[name].draw(pen)
    return tt_pen.glyph()


def to_truetype(font):
    """Replaces CFF outlines with glyf outlines."""
    order = font.getGlyphOrder()
    glyph_set = font.getGlyphSet()
    glyf = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = {name: quadratic_glyph(glyph_set, name) for name in order}
    del font["CFF "]
    font["loca"] = newTable("loca")
    font["glyf"] = glyf
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        width = font["hmtx"][name][0]
        font["hmtx"][name] = (width, getattr(glyph, "xMin", 0))
    maxp = newTable("maxp")
    maxp.tableVersion = 0x00010000
    maxp.maxZones = 1
    for field in ("maxTwilightPoints", "maxStorage", "maxFunctionDefs", "maxInstructionDefs",
                  "maxStackElements", "maxSizeOfInstructions", "maxComponentElements"):
        setattr(maxp, field, 0)
    font["maxp"] = maxp
    font["head"].glyphDataFormat = 0
    font["post"].formatType = 3.0
    font.sfntVersion = "\x00\x01\x00\x00"


def fill_missing(font, fallback_path, unicodes):
    """Adds the letters the font lacks from the fallback face; returns them."""
    fallback = TTFont(fallback_path)
    fallback_cmap = fallback.getBestCmap()
    cmap = font.getBestCmap()
    missing = [u for u in unicodes if u not in cmap and u in fallback_cmap]
    if not missing:
        return []
    scale = font["head"].unitsPerEm / fallback["head"].unitsPerEm
    glyph_set = fallback.getGlyphSet()
    order = font.getGlyphOrder()
    glyf = font["glyf"]
    for u in missing:
        name = "uni%04X.fill" % u
        glyph = quadratic_glyph(glyph_set, fallback_cmap[u], scale)
        glyph.recalcBounds(glyf)
        order.append(name)
        glyf.glyphs[name] = glyph
        width = round(fallback["hmtx"][fallback_cmap[u]][0] * scale)
        font["hmtx"][name] = (width, getattr(glyph, "xMin", 0))
        for table in font["cmap"].tables:
            if table.isUnicode():
                table.cmap[u] = name
    font.setGlyphOrder(order)
    glyf.glyphOrder = order
    return missing


def rename(font, family, style, weight, typographic_family, typographic_style, source_name):
    names = font["name"]
    kept = {0: names.getDebugName(0), 13: names.getDebugName(13), 14: names.getDebugName(14)}
    version = font["head"].fontRevision
    full = "%s %s" % (typographic_family, typographic_style)
    postscript = "%s-%s" % (typographic_family.replace(" ", ""), typographic_style)
    names.names = []
    for ident, text in sorted({
        0: kept[0], 1: family, 2: style, 3: "%s;%.3f;Tolvar" % (postscript, version), 4: full,
        5: "Version %.3f" % version, 6: postscript,
        10: "Made for the Tolvar installer from %s: renamed and cut down to the letters "
            "it needs." % source_name,
        13: kept[13], 14: kept[14], 16: typographic_family, 17: typographic_style,
    }.items()):
        names.setName(text, ident, 3, 1, 0x409)
    os2 = font["OS/2"]
    os2.usWeightClass = weight
    bold = weight >= 700
    regular = style == "Regular"
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | (0x20 if bold else 0) | (0x40 if regular else 0)
    font["head"].macStyle = 1 if bold else 0


def make_font(row, font_root, out_dir):
    ident, family, style, weight, typo_family, typo_style, source, fallback = row
    path = os.path.join(font_root, source)
    font = TTFont(path, recalcTimestamp=False)
    source_name = font["name"].getDebugName(4)
    if fallback != "-":
        fill_missing(font, os.path.join(font_root, fallback), UNICODES)
    options = subset.Options()
    options.layout_features = []     # GDI draws these scripts without OpenType layout
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    options.hinting = "glyf" in font  # the geometric face's own hints stay
    options.desubroutinize = True
    options.drop_tables += ["DSIG", "GDEF", "GPOS", "GSUB", "meta", "STAT"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=UNICODES)
    subsetter.subset(font)
    if "CFF " in font:
        to_truetype(font)
    rename(font, family, style, int(weight), typo_family, typo_style, source_name)
    out = os.path.join(out_dir, "%s.ttf" % ident)
    font.save(out)
    # The table checksums and the recalculated bounds settle on a second pass.
    font = TTFont(out, recalcTimestamp=False)
    missing = [u for u in UNICODES if u not in font.getBestCmap()]
    font.save(out)
    return int(ident), out, missing


def main():
    table, font_root, out_dir, rc_file = sys.argv[1:5]
    os.makedirs(out_dir, exist_ok=True)
    rows = [line.rstrip("\n").split("\t") for line in open(table, encoding="utf-8")
            if line.strip() and not line.startswith("#")]
    lines = ["// Fonts of the installer window, made at build time (resources/fonts).",
             "#pragma code_page(65001)", ""]
    for row in rows:
        ident, out, missing = make_font(row, font_root, out_dir)
        if missing:
            sys.exit("make_fonts: %d: no glyph for %s"
                     % (ident, " ".join("U+%04X" % u for u in missing)))
        lines.append('%d FONT "%s"' % (ident, out))
    with open(rc_file, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
