#!/usr/bin/python3
"""Cuts the game's Japanese face down to the characters the game draws and
renames it, as the face's licence asks of a changed copy: no name of the
original in its names or its file name.

    subset_face.py ORIGINAL.ttf OUTPUT.ttf
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Every printable ASCII character (the head-up texts, the score, the button's
# "OK"), the two messages and the mark drawn for a character the face lacks.
TEXT = "".join(chr(c) for c in range(0x20, 0x7F)) + "多重起動ですよ！" + "認識？" + "\ufffd"
FAMILY = "V-TRAK PGothic"


def main(original, output):
    options = subset.Options()
    options.hinting = True  # the glyphs must come out pixel for pixel as from the original
    options.layout_features = []
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    font = TTFont(original)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=TEXT)
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in (1, 3, 4, 16):
            record.string = FAMILY
        elif record.nameID == 6:
            record.string = FAMILY.replace(" ", "-")
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
