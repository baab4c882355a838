#!/usr/bin/env python3
"""Writes the setup program's icon: a 16-colour .ico with a 32x32 and a 16x16 image.

The picture is a carton with a "T" on its front. Each image is drawn below as
text, one character a pixel; '.' is transparent.

Usage: mkicon.py [output.ico]            write the icon
       mkicon.py --verify [file.ico]    check that a file holds exactly this icon
The file defaults to the repository's resources/setup.ico.
"""

import os
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Picture character -> palette index.
COLOURS = {'K': 0, 'T': 6, 'N': 4, 'C': 14, 'W': 15}
TRANSPARENT = '.'

IMAGE_32 = [
    '................................',
    '................................',
    '........KKKKKKKKKKKKKKKKKKKKKK..',
    '.......KCCCCCCCCCCCCCCCCCCCCKK..',
    '......KCCCCCCCCCCCCCCCCCCCCKNK..',
    '.....KCCCCCCCCCCCCCCCCCCCCKNNK..',
    '....KCCCCCCCCCCCCCCCCCCCCKNNNK..',
    '...KCCCCCCCCCCCCCCCCCCCCKNNNNK..',
    '..KKKKKKKKKKKKKKKKKKKKKKNNNNNK..',
    '..KTTTTTTTTTTTTTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTTTTTTTTTTTTTKNNNNNK..',
    '..KTTWWWWWWWWWWWWWWWWTTKNNNNNK..',
    '..KTTWWWWWWWWWWWWWWWWTTKNNNNNK..',
    '..KTTWWWWWWWWWWWWWWWWTTKNNNNNK..',
    '..KTTWWWWWWWWWWWWWWWWTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNNK..',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNNK...',
    '..KTTTTTTTTWWWWTTTTTTTTKNNNK....',
    '..KTTTTTTTTWWWWTTTTTTTTKNNK.....',
    '..KTTTTTTTTTTTTTTTTTTTTKNK......',
    '..KTTTTTTTTTTTTTTTTTTTTKK.......',
    '..KKKKKKKKKKKKKKKKKKKKKK........',
    '................................',
    '................................',
]

IMAGE_16 = [
    '................',
    '....KKKKKKKKKKK.',
    '...KCCCCCCCCCKK.',
    '..KCCCCCCCCCKNK.',
    '.KKKKKKKKKKKNNK.',
    '.KTTTTTTTTTKNNK.',
    '.KTWWWWWWWTKNNK.',
    '.KTWWWWWWWTKNNK.',
    '.KTTTWWWTTTKNNK.',
    '.KTTTWWWTTTKNNK.',
    '.KTTTWWWTTTKNNK.',
    '.KTTTWWWTTTKNNK.',
    '.KTTTWWWTTTKNK..',
    '.KTTTTTTTTTKK...',
    '.KKKKKKKKKKK....',
    '................',
]


def row_bytes(bits_per_row):
    """Bytes in one bitmap row: rows are padded to a 32-bit boundary."""
    return (bits_per_row + 31) // 32 * 4


def pack_xor(picture):
    """The colour bitmap, 4 bits a pixel, bottom row first."""
    width = len(picture[0])
    data = bytearray()
    for line in reversed(picture):
        row = bytearray(row_bytes(width * 4))
        for x, ch in enumerate(line):
            index = 0 if ch == TRANSPARENT else COLOURS[ch]
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += row
    return bytes(data)


def pack_and(picture):
    """The transparency mask, 1 bit a pixel, set where the screen shows through."""
    width = len(picture[0])
    data = bytearray()
    for line in reversed(picture):
        row = bytearray(row_bytes(width))
        for x, ch in enumerate(line):
            if ch == TRANSPARENT:
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def pack_image(picture):
    """One icon image: BITMAPINFOHEADER, palette, colour bitmap, mask."""
    size = len(picture)
    if any(len(line) != size for line in picture):
        raise ValueError('picture of %d rows is not square' % size)
    xor, mask = pack_xor(picture), pack_and(picture)
    # An icon's header height counts the colour bitmap and the mask together.
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + xor + mask


def pack_icon(pictures):
    """The .ico file: directory, one entry per image, then the images."""
    images = [pack_image(p) for p in pictures]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for picture, image in zip(pictures, images):
        size = len(picture)
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return data + b''.join(images)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, '..', '..', 'resources', 'setup.ico'))
    verify = len(argv) > 1 and argv[1] == '--verify'
    args = argv[2:] if verify else argv[1:]
    path = args[0] if args else default
    icon = pack_icon([IMAGE_32, IMAGE_16])
    if verify:
        # The committed icon must be what this tool draws, so that a change goes through here.
        with open(path, 'rb') as f:
            same = f.read() == icon
        print('%s %s' % (path, 'matches the drawing' if same else 'differs from the drawing'))
        return 0 if same else 1
    with open(path, 'wb') as f:
        f.write(icon)
    print('wrote', path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
