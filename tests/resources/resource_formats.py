"""Decoders for the binary resource formats the setup program carries."""

import struct
from collections import namedtuple

DS_SETFONT = 0x40
DS_SHELLFONT = 0x48

# An sz_Or_Ord field: an ordinal as int, a string as str, nothing as None.
Dialog = namedtuple('Dialog', 'version signature help_id ex_style style x y cx cy '
                              'menu window_class caption point_size weight italic charset '
                              'typeface controls')
Control = namedtuple('Control', 'help_id ex_style style x y cx cy id window_class text extra')
GroupIconEntry = namedtuple('GroupIconEntry', 'width height colours reserved planes bit_count '
                                              'size id')
BitmapHeader = namedtuple('BitmapHeader', 'size width height planes bit_count compression')
FixedFileInfo = namedtuple('FixedFileInfo', 'signature struct_version file_version '
                                            'product_version flags_mask flags os type subtype '
                                            'date')
# One node of a version block: key, type (1 text, 0 binary), value (str or bytes), children.
VersionNode = namedtuple('VersionNode', 'key type value children')


class ResourceFormatError(Exception):
    pass


class Reader:
    """Sequential little-endian reads with the alignment rules of resource formats."""

    def __init__(self, data, offset=0):
        self.data = data
        self.offset = offset

    def unpack(self, fmt):
        try:
            values = struct.unpack_from('<' + fmt, self.data, self.offset)
        except struct.error:
            raise ResourceFormatError('data ends at offset %d' % self.offset) from None
        self.offset += struct.calcsize('<' + fmt)
        return values

    def word(self):
        return self.unpack('H')[0]

    def string(self):
        """A NUL-terminated UTF-16 string."""
        end = self.offset
        while True:
            if end + 2 > len(self.data):
                raise ResourceFormatError('unterminated string at offset %d' % self.offset)
            if self.data[end:end + 2] == b'\0\0':
                break
            end += 2
        text = self.data[self.offset:end].decode('utf-16-le')
        self.offset = end + 2
        return text

    def string_or_ordinal(self):
        first = self.word()
        if first == 0x0000:
            return None
        if first == 0xFFFF:
            return self.word()
        self.offset -= 2
        return self.string()

    def align(self, base=0):
        """Move to the next 32-bit boundary, counted from base."""
        self.offset += (-(self.offset - base)) % 4


def parse_dialog_ex(data):
    r = Reader(data)
    version, signature, help_id, ex_style, style, count, x, y, cx, cy = r.unpack('HHIIIHhhhh')
    if version != 1 or signature != 0xFFFF:
        raise ResourceFormatError('not an extended dialog template (version %d, signature 0x%04X)'
                                  % (version, signature))
    menu = r.string_or_ordinal()
    window_class = r.string_or_ordinal()
    caption = r.string()
    point_size = weight = italic = charset = typeface = None
    if style & DS_SETFONT or (style & DS_SHELLFONT) == DS_SHELLFONT:
        point_size, weight, italic, charset = r.unpack('HHBB')
        typeface = r.string()
    controls = []
    for _ in range(count):
        r.align()
        c_help, c_ex, c_style, c_x, c_y, c_cx, c_cy, c_id = r.unpack('IIIhhhhI')
        c_class = r.string_or_ordinal()
        c_text = r.string_or_ordinal()
        extra_size = r.word()
        extra = data[r.offset:r.offset + extra_size]
        r.offset += extra_size
        controls.append(Control(c_help, c_ex, c_style, c_x, c_y, c_cx, c_cy, c_id,
                                c_class, c_text, extra))
    return Dialog(version, signature, help_id, ex_style, style, x, y, cx, cy, menu, window_class,
                  caption, point_size, weight, italic, charset, typeface, controls)


def parse_group_icon(data):
    r = Reader(data)
    reserved, kind, count = r.unpack('HHH')
    if reserved != 0 or kind != 1:
        raise ResourceFormatError('not an icon group (reserved %d, type %d)' % (reserved, kind))
    return [GroupIconEntry(*r.unpack('BBBBHHIH')) for _ in range(count)]


def parse_bitmap_header(data):
    size, width, height, planes, bit_count, compression = Reader(data).unpack('IiiHHI')
    return BitmapHeader(size, width, height, planes, bit_count, compression)


def parse_version(data):
    """The whole version block as a tree of VersionNode; the root's value is its raw bytes."""
    node, _ = _parse_version_node(data, 0)
    return node


def _parse_version_node(data, start):
    r = Reader(data, start)
    length, value_length, kind = r.unpack('HHH')
    end = start + length
    if length < 6 or end > len(data):
        raise ResourceFormatError('version node at %d has length %d' % (start, length))
    key = r.string()
    r.align()
    if kind == 1:
        # Text values count their length in characters, including the terminating NUL.
        raw = data[r.offset:min(r.offset + 2 * value_length, end)]
        value = raw.decode('utf-16-le').split('\0', 1)[0]
        r.offset += 2 * value_length
    else:
        value = data[r.offset:r.offset + value_length]
        r.offset += value_length
    children = []
    r.align()
    while r.offset < end:
        child, child_end = _parse_version_node(data, r.offset)
        children.append(child)
        r.offset = child_end
        r.align()
    return VersionNode(key, kind, value, children), end


def parse_fixed_file_info(value):
    if len(value) < 52:
        raise ResourceFormatError('fixed file info of %d bytes' % len(value))
    (signature, struct_version, file_ms, file_ls, product_ms, product_ls, flags_mask, flags, os,
     kind, subtype, date_ms, date_ls) = struct.unpack_from('<13I', value)
    return FixedFileInfo(signature, struct_version, _dotted(file_ms, file_ls),
                         _dotted(product_ms, product_ls), flags_mask, flags, os, kind, subtype,
                         (date_ms << 32) | date_ls)


def _dotted(ms, ls):
    return '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
