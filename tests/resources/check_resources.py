#!/usr/bin/env python3
"""Checks a built setup.exe: its dialog, icon, version block, payload and PE header.

Usage: check_resources.py --exe setup.exe --arch win32|win64 --payload payload.bin

Prints one line per check and, for every mismatch, the field with the expected
and the actual value. Exits 0 when all checks pass, 1 otherwise.
"""

import argparse
import os
import struct
import sys

import peimage
from peimage import PEFormatError, PEImage
from resource_formats import (ResourceFormatError, parse_bitmap_header, parse_dialog_ex,
                              parse_fixed_file_info, parse_group_icon, parse_version)

LANG_EN_US = 0x0409

IDD_SETUP = 102
IDI_SETUP = 128
IDR_PAYLOAD = 129
VERSION_ID = 1

BUTTON, EDIT, STATIC = 0x0080, 0x0081, 0x0082

EXPECTED_DIALOG = {
    'version': 1, 'signature': 0xFFFF, 'help_id': 0, 'ex_style': 0x00040000,
    'style': 0x90C800C0, 'x': 0, 'y': 0, 'cx': 185, 'cy': 92,
    'menu': None, 'window_class': None, 'caption': 'Setup Tessaly for Text',
    'point_size': 8, 'weight': 0, 'italic': 0, 'charset': 1, 'typeface': 'MS Sans Serif',
}

# id, class atom, text, x, y, cx, cy, style -- in template (and tab) order.
EXPECTED_CONTROLS = [
    (1, BUTTON, 'OK', 129, 54, 50, 14, 0x50010001),
    (2, BUTTON, 'Cancel', 129, 74, 50, 14, 0x50010000),
    (1001, EDIT, '', 57, 8, 122, 14, 0x50810080),
    (1002, STATIC, '', 7, 26, 171, 26, 0x50020200),
    (1003, STATIC, 'Setup Directory:', 6, 11, 51, 8, 0x50020000),
]

# width and height, icon id.
EXPECTED_ICONS = [(32, 1), (16, 2)]

EXPECTED_FIXED_INFO = {
    'signature': 0xFEEF04BD, 'file_version': '3.0.0.26', 'product_version': '3.4.0.0',
    'flags_mask': 0x3F, 'flags': 0, 'os': 0x4, 'type': 1, 'subtype': 0, 'date': 0,
}

STRING_TABLE = '040904b0'
ANY_TEXT = object()
EXPECTED_STRINGS = [
    ('Comments', 'Pentium - Windows 95, 98 or NT4.0'),
    ('CompanyName', ANY_TEXT),
    ('FileDescription', 'Self extracting compressed file of Tessaly'),
    ('FileVersion', '3, 0, 0, 26'),
    ('InternalName', 'Setup'),
    ('LegalCopyright', ANY_TEXT),
    ('LegalTrademarks', ''),
    ('OriginalFilename', 'setup.exe'),
    ('PrivateBuild', ''),
    ('ProductName', 'Setup of Tessaly'),
    ('ProductVersion', '3, 4, 0, 0'),
    ('SpecialBuild', ''),
]
EXPECTED_TRANSLATION = [0x0409, 0x04B0]

EXPECTED_MACHINE = {
    'win32': (peimage.MACHINE_I386, peimage.MAGIC_PE32),
    'win64': (peimage.MACHINE_AMD64, peimage.MAGIC_PE32_PLUS),
}

# DLLs that every supported Windows ships; anything else would have to travel with setup.exe.
SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'ole32.dll',
               'oleaut32.dll', 'shell32.dll', 'comctl32.dll', 'comdlg32.dll', 'msvcrt.dll',
               'lz32.dll'}
SYSTEM_DLL_PREFIXES = ('api-ms-win-crt-',)


def show(value):
    if isinstance(value, bool) or value is None:
        return repr(value)
    if isinstance(value, int):
        return '%d (0x%X)' % (value, value) if value > 9 else str(value)
    if isinstance(value, bytes):
        return value.hex() or "''"
    return repr(value)


class Check:
    """One named check: collects the mismatches of its fields."""

    def __init__(self, name):
        self.name = name
        self.failures = []

    def expect(self, field, expected, actual):
        if expected is ANY_TEXT:
            if not isinstance(actual, str) or not actual:
                self.failures.append('%s: expected non-empty text, actual %s'
                                     % (field, show(actual)))
        elif expected != actual:
            self.failures.append('%s: expected %s, actual %s'
                                 % (field, show(expected), show(actual)))

    def expect_sequence(self, field, expected, actual):
        """Compares two lists and names the first position where they part."""
        if expected == actual:
            return
        for position, (want, got) in enumerate(zip(expected, actual), 1):
            if want != got:
                self.failures.append('%s: expected %s at position %d, actual %s'
                                     % (field, show(want), position, show(got)))
                return
        if len(expected) > len(actual):
            self.failures.append('%s: expected %s at position %d, actual nothing'
                                 % (field, show(expected[len(actual)]), len(actual) + 1))
        else:
            self.failures.append('%s: expected nothing at position %d, actual %s'
                                 % (field, len(expected) + 1, show(actual[len(expected)])))

    def fail(self, message):
        self.failures.append(message)

    def print_result(self):
        if not self.failures:
            print('ok   %s' % self.name)
        for failure in self.failures:
            print('FAIL %s: %s' % (self.name, failure))


def find_resource(check, resources, kind, name):
    """The resource in English (United States), or None after recording where it was instead."""
    data = resources.get((kind, name, LANG_EN_US))
    if data is None:
        others = sorted(lang for (k, n, lang) in resources if (k, n) == (kind, name))
        where = ''
        if others:
            where = ', only in language ' + ', '.join('0x%04X' % lang for lang in others)
        check.fail('resource type %d id %d language 0x%04X not found%s'
                   % (kind, name, LANG_EN_US, where))
    return data


def check_dialog(check, resources):
    data = find_resource(check, resources, peimage.RT_DIALOG, IDD_SETUP)
    if data is None:
        return
    dialog = parse_dialog_ex(data)
    for field, expected in EXPECTED_DIALOG.items():
        check.expect(field, expected, getattr(dialog, field))
    check.expect('control count', len(EXPECTED_CONTROLS), len(dialog.controls))
    for number, (control, expected) in enumerate(zip(dialog.controls, EXPECTED_CONTROLS), 1):
        control_id, window_class, text, x, y, cx, cy, style = expected
        prefix = 'control %d (id %d) ' % (number, control_id)
        check.expect(prefix + 'id', control_id, control.id)
        check.expect(prefix + 'class', window_class, control.window_class)
        # An empty title is stored as a bare terminator, which decodes as "no title".
        check.expect(prefix + 'text', text, '' if control.text is None else control.text)
        check.expect(prefix + 'position', (x, y), (control.x, control.y))
        check.expect(prefix + 'size', (cx, cy), (control.cx, control.cy))
        check.expect(prefix + 'style', style, control.style)
        check.expect(prefix + 'ex_style', 0, control.ex_style)
        check.expect(prefix + 'help_id', 0, control.help_id)
        check.expect(prefix + 'creation data', b'', control.extra)


def check_icon(check, resources):
    data = find_resource(check, resources, peimage.RT_GROUP_ICON, IDI_SETUP)
    if data is None:
        return
    entries = parse_group_icon(data)
    check.expect('image count', len(EXPECTED_ICONS), len(entries))
    for entry, (size, icon_id) in zip(entries, EXPECTED_ICONS):
        prefix = 'image %d ' % icon_id
        check.expect(prefix + 'id', icon_id, entry.id)
        check.expect(prefix + 'size', (size, size), (entry.width, entry.height))
        check.expect(prefix + 'colours', 16, entry.colours)
        check.expect(prefix + 'planes', 1, entry.planes)
        check.expect(prefix + 'bits per pixel', 4, entry.bit_count)
        image = find_resource(check, resources, peimage.RT_ICON, entry.id)
        if image is None:
            continue
        check.expect(prefix + 'byte count', entry.size, len(image))
        header = parse_bitmap_header(image)
        check.expect(prefix + 'header size', 40, header.size)
        # An icon image's height covers the colour bitmap and the mask.
        check.expect(prefix + 'bitmap size', (size, 2 * size), (header.width, header.height))
        check.expect(prefix + 'bitmap planes', 1, header.planes)
        check.expect(prefix + 'bitmap bits per pixel', 4, header.bit_count)
        check.expect(prefix + 'bitmap compression', 0, header.compression)


def check_version(check, resources):
    data = find_resource(check, resources, peimage.RT_VERSION, VERSION_ID)
    if data is None:
        return
    root = parse_version(data)
    check.expect('root key', 'VS_VERSION_INFO', root.key)
    fixed = parse_fixed_file_info(root.value)
    for field, expected in EXPECTED_FIXED_INFO.items():
        check.expect(field, expected, getattr(fixed, field))
    check.expect_sequence('blocks', ['StringFileInfo', 'VarFileInfo'],
                          sorted(c.key for c in root.children))
    for block in root.children:
        if block.key == 'StringFileInfo':
            check_string_tables(check, block)
        elif block.key == 'VarFileInfo':
            check.expect_sequence('VarFileInfo entries', ['Translation'],
                                  [c.key for c in block.children])
            if block.children:
                check.expect_sequence('Translation', EXPECTED_TRANSLATION,
                                      words(block.children[0].value))


def check_string_tables(check, block):
    check.expect_sequence('string tables', [STRING_TABLE], [table.key for table in block.children])
    if not block.children:
        return
    strings = block.children[0].children
    check.expect_sequence('string keys', [key for key, _ in EXPECTED_STRINGS],
                          [s.key for s in strings])
    values = {s.key: s for s in strings}
    for key, expected in EXPECTED_STRINGS:
        if key in values:
            check.expect(key + ' type', 1, values[key].type)
            check.expect(key, expected, values[key].value)


def words(value):
    return list(struct.unpack('<%dH' % (len(value) // 2), value[:len(value) // 2 * 2]))


def check_payload(check, resources, payload):
    data = find_resource(check, resources, peimage.RT_RCDATA, IDR_PAYLOAD)
    if data is None or data == payload:
        return
    differ = next((i for i, (a, b) in enumerate(zip(data, payload)) if a != b),
                  min(len(data), len(payload)))
    check.fail('payload: expected %d bytes as in the payload file, actual %d bytes, '
               'first difference at offset %d' % (len(payload), len(data), differ))


def check_pe(check, image, arch):
    machine, magic = EXPECTED_MACHINE[arch]
    check.expect('machine', machine, image.machine)
    check.expect('optional header magic', magic, image.magic)
    check.expect('subsystem', peimage.SUBSYSTEM_WINDOWS_GUI, image.subsystem)


def check_imports(check, image):
    dlls = image.imported_dlls()
    print('     imports: %s' % ', '.join(dlls))
    for dll in dlls:
        name = dll.lower()
        if name not in SYSTEM_DLLS and not name.startswith(SYSTEM_DLL_PREFIXES):
            check.fail('import: expected only DLLs that ship with Windows, actual %s' % dll)


def run_check(name, function, *args):
    check = Check(name)
    try:
        function(check, *args)
    except (ResourceFormatError, PEFormatError) as error:
        check.fail('unreadable: %s' % error)
    check.print_result()
    return not check.failures


def main(argv):
    parser = argparse.ArgumentParser(description='Check the resources and header of setup.exe.')
    parser.add_argument('--exe', required=True, help='the built setup.exe')
    parser.add_argument('--arch', required=True, choices=sorted(EXPECTED_MACHINE))
    parser.add_argument('--payload', required=True, help='the payload file linked as resource 129')
    args = parser.parse_args(argv[1:])

    with open(args.exe, 'rb') as f:
        data = f.read()
    with open(args.payload, 'rb') as f:
        payload = f.read()
    print('checking %s (%s)' % (args.exe, args.arch))
    try:
        image = PEImage(data)
        resources = image.resources()
    except PEFormatError as error:
        print('FAIL PE file: %s' % error)
        return 1

    results = [
        run_check('PE header', check_pe, image, args.arch),
        run_check('imports', check_imports, image),
        run_check('dialog %d' % IDD_SETUP, check_dialog, resources),
        run_check('icon group %d' % IDI_SETUP, check_icon, resources),
        run_check('version %d' % VERSION_ID, check_version, resources),
        run_check('payload %d' % IDR_PAYLOAD, check_payload, resources, payload),
    ]
    print('     stub size: %d bytes (%d bytes file - %d bytes payload)'
          % (len(data) - len(payload), len(data), len(payload)))
    failed = results.count(False)
    print('%s: %d of %d checks failed' % (os.path.basename(args.exe), failed, len(results))
          if failed else '%s: all %d checks passed' % (os.path.basename(args.exe), len(results)))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
