"""A read-only view of a PE file (PE32 or PE32+): headers, sections, resources, imports."""

import struct

MACHINE_I386 = 0x014C
MACHINE_AMD64 = 0x8664
MAGIC_PE32 = 0x10B
MAGIC_PE32_PLUS = 0x20B
SUBSYSTEM_WINDOWS_GUI = 2

DIRECTORY_IMPORT = 1
DIRECTORY_RESOURCE = 2
DIRECTORY_DELAY_IMPORT = 13

RT_ICON = 3
RT_DIALOG = 5
RT_RCDATA = 10
RT_GROUP_ICON = 14
RT_VERSION = 16


class PEFormatError(Exception):
    pass


class Section:
    def __init__(self, name, virtual_address, virtual_size, raw_offset, raw_size):
        self.name = name
        self.virtual_address = virtual_address
        self.virtual_size = virtual_size
        self.raw_offset = raw_offset
        self.raw_size = raw_size

    def holds(self, rva):
        extent = max(self.virtual_size, self.raw_size)
        return self.virtual_address <= rva < self.virtual_address + extent


class PEImage:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b'MZ':
            raise PEFormatError('no MZ header')
        pe_offset = self._u32(0x3C)
        if data[pe_offset:pe_offset + 4] != b'PE\0\0':
            raise PEFormatError('no PE signature at 0x%X' % pe_offset)
        coff = pe_offset + 4
        (self.machine, section_count, _, _, _, optional_size,
         self.characteristics) = self._unpack('HHIIIHH', coff)
        optional = coff + 20
        self.magic = self._u16(optional)
        if self.magic == MAGIC_PE32:
            directories_at = optional + 96
        elif self.magic == MAGIC_PE32_PLUS:
            directories_at = optional + 112
        else:
            raise PEFormatError('unknown optional header magic 0x%X' % self.magic)
        self.subsystem = self._u16(optional + 68)
        directory_count = self._u32(directories_at - 4)
        self.directories = [self._unpack('II', directories_at + 8 * i)
                            for i in range(min(directory_count, 16))]
        self.sections = []
        for i in range(section_count):
            at = optional + optional_size + 40 * i
            name, vsize, vaddr, rsize, roffset = self._unpack('8sIIII', at)
            self.sections.append(Section(name.rstrip(b'\0').decode('latin-1'),
                                         vaddr, vsize, roffset, rsize))

    def _unpack(self, fmt, offset):
        try:
            return struct.unpack_from('<' + fmt, self.data, offset)
        except struct.error:
            raise PEFormatError('file ends before offset 0x%X' % offset) from None

    def _u16(self, offset):
        return self._unpack('H', offset)[0]

    def _u32(self, offset):
        return self._unpack('I', offset)[0]

    def directory(self, index):
        """(rva, size) of a data directory; (0, 0) when the file has none."""
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset_of(self, rva):
        for section in self.sections:
            if section.holds(rva):
                return rva - section.virtual_address + section.raw_offset
        raise PEFormatError('RVA 0x%X lies in no section' % rva)

    def read(self, rva, size):
        offset = self.offset_of(rva)
        if offset + size > len(self.data):
            raise PEFormatError('%d bytes at RVA 0x%X run past the end of the file' % (size, rva))
        return self.data[offset:offset + size]

    def read_ascii(self, rva):
        offset = self.offset_of(rva)
        end = self.data.find(b'\0', offset)
        if end < 0:
            raise PEFormatError('unterminated name at RVA 0x%X' % rva)
        return self.data[offset:end].decode('latin-1')

    # Resources

    def resources(self):
        """All resources as {(type, name, language): bytes}; string names are upper-case str."""
        rva, size = self.directory(DIRECTORY_RESOURCE)
        if not rva or not size:
            return {}
        base = self.offset_of(rva)
        found = {}
        for type_id, type_dir in self._resource_entries(base, 0):
            for name_id, name_dir in self._resource_entries(base, type_dir):
                for lang_id, leaf in self._resource_entries(base, name_dir):
                    if leaf & 0x80000000:
                        raise PEFormatError('resource tree deeper than three levels')
                    data_rva, data_size, _, _ = self._unpack('IIII', base + leaf)
                    found[(type_id, name_id, lang_id)] = self.read(data_rva, data_size)
        return found

    def _resource_entries(self, base, directory):
        """(id or name, offset) pairs of one resource directory; offsets are tree-relative."""
        directory &= 0x7FFFFFFF
        named, numbered = self._unpack('HH', base + directory + 12)
        entries = []
        for i in range(named + numbered):
            name, target = self._unpack('II', base + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = self._u16(at)
                name = self.data[at + 2:at + 2 + 2 * length].decode('utf-16-le').upper()
            entries.append((name, target))
        return entries

    # Imports

    def imported_dlls(self):
        """Names of all DLLs in the import and delay-import tables, as spelled in the file."""
        names = []
        rva, _ = self.directory(DIRECTORY_IMPORT)
        while rva:
            descriptor = struct.unpack('<IIIII', self.read(rva, 20))
            original_thunk, _, _, name_rva, first_thunk = descriptor
            if not (original_thunk or name_rva or first_thunk):
                break
            names.append(self.read_ascii(name_rva))
            rva += 20
        rva, _ = self.directory(DIRECTORY_DELAY_IMPORT)
        while rva:
            fields = struct.unpack('<8I', self.read(rva, 32))
            if not any(fields):
                break
            names.append(self.read_ascii(fields[1]))
            rva += 32
        return names
