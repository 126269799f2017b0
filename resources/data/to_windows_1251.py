#!/usr/bin/env python3
"""Re-encodes an XML document from UTF-8 to windows-1251.

    to_windows_1251.py INPUT.xml OUTPUT.xml

The input must begin with an XML declaration naming encoding="UTF-8"; the
output names encoding="windows-1251" instead.  A character that windows-1251
cannot hold is an error, never a silent substitution, and the output is
parsed back before it is written, so a broken document fails the build.
"""

import re
import sys
import xml.etree.ElementTree as ET

DECLARATION = re.compile(r'^(<\?xml[^>]*\bencoding=")UTF-8("[^>]*\?>)', re.IGNORECASE)


def convert(text):
    converted, count = DECLARATION.subn(r"\1windows-1251\2", text, count=1)
    if count != 1:
        raise ValueError('the document does not begin with <?xml ... encoding="UTF-8"?>')
    try:
        encoded = converted.encode("cp1251")
    except UnicodeEncodeError as error:
        raise ValueError("character %r at offset %d has no windows-1251 form"
                         % (error.object[error.start], error.start))
    ET.fromstring(encoded)  # the parser decodes by the new declaration
    return encoded


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    source, target = argv
    try:
        with open(source, encoding="utf-8") as stream:
            encoded = convert(stream.read())
    except (OSError, UnicodeDecodeError, ValueError, ET.ParseError) as error:
        print("to_windows_1251.py: %s: %s" % (source, error), file=sys.stderr)
        return 1
    with open(target, "wb") as stream:
        stream.write(encoded)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
