"""The colours of the three designs, in one place so that pictures agree."""

INK = "#1c1d22"             # text-dark glyphs and the dark check box
INK_SOFT = "#5f636e"        # resting glyphs on light pictures
LINE = "#b3b8c2"            # borders of unchecked boxes
TRACK = "#e2e4ea"           # the empty part of a progress bar

# Tolvar's own violet: the NewIdentity accent and every progress fill.
VIOLET = "#5b3ff5"
VIOLET_HOT = "#6c53ff"
VIOLET_PRESSED = "#4a2fd9"
VIOLET_PALE = "#f4f2ff"

# Facetune's warm accent, which carries black text.
SUN = "#ffd43b"
SUN_HOT = "#ffdc5e"
SUN_PRESSED = "#f0c21d"

# Quiet buttons beside an accent one.
GREY = "#e8eaef"
GREY_HOT = "#eef0f4"
GREY_PRESSED = "#dcdfe6"

# Origin's night sky.
NIGHT_TOP = "#141839"
NIGHT_BOTTOM = "#2b1763"

MINT = "#2fcf9f"
CORAL = "#ff7a59"
