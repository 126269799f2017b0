#!/usr/bin/env python3
"""Static checks of a built lite_installer.exe.

    check_installer_pe.py EXE --machine i386|amd64 --version A.B.C.D [--test-build]

With --test-build EXE is the end-to-end variant and only its version block
is checked: it must say that it is a test build.

Reads the PE/COFF headers, the section table and the resource tree of EXE
with nothing but the standard library, and prints one "ok: ..." or
"FAIL: ..." line per check followed by "N passed, M failed".  Exits 0 when
every check passed and 1 otherwise.  Nothing in the file is trusted: every
offset, count and length is bounds-checked, so a truncated or damaged file
gives FAIL lines rather than a traceback.
"""

import argparse
import base64
import binascii
import json
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

MACHINES = {
    # --machine value: (COFF machine, optional header magic, magic name)
    "i386": (0x014C, 0x010B, "PE32"),
    "amd64": (0x8664, 0x020B, "PE32+"),
}

IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_SCN_MEM_SHARED = 0x10000000
IMAGE_SCN_MEM_READ = 0x40000000
IMAGE_SCN_MEM_WRITE = 0x80000000
MAX_FILE_SIZE = 3 * 1024 * 1024
DELAYED_PARAMS_SIZE = 0xED4  # the parameter block handed to the elevated copy
IMAGE_DIRECTORY_ENTRY_IMPORT = 1
IMAGE_DIRECTORY_ENTRY_RESOURCE = 2
IMAGE_DIRECTORY_ENTRY_IAT = 12
IMAGE_SCN_MEM_EXECUTE = 0x20000000

RT_ICON = 3
RT_STRING = 6
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

RT_BIN = "BIN"  # the installer's own resource type for packages and data files

MANIFEST_ID = 1  # CREATEPROCESS_MANIFEST_RESOURCE_ID
ICON_GROUP_ID = 900
LANG_EN_US = 0x0409

VS_FF_PRIVATEBUILD = 0x08
VS_FF_SPECIALBUILD = 0x20
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD
VS_FIXEDFILEINFO_SIZE = 52

NS = {
    "v1": "urn:schemas-microsoft-com:asm.v1",
    "v2": "urn:schemas-microsoft-com:asm.v2",
    "v3": "urn:schemas-microsoft-com:asm.v3",
    "compat": "urn:schemas-microsoft-com:compatibility.v1",
    "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
}

SUPPORTED_OS = [
    ("Windows Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"),
    ("Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"),
    ("Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"),
    ("Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"),
    ("Windows 10", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
]
MAX_VERSION_TESTED = "10.0.18362.0"

ICON_SIZES = (16, 32, 48, 256)

# String id -> exact text, or None when the string only has to be present.
EXPECTED_STRINGS = {
    481: "Tolvar\u00a0Browser Installation",
    482: None,
    483: "Your processor does not support SSE2.",
    484: None,
}

# Brand and partner packages: resource -> the one member the cabinet holds.
PACKAGES = {
    319: "brand_config",
    "BRAND_TOLVAR": "brand_config",
    "BRAND_UA_UK": "brand_config",
    "BRAND_UA_RU": "brand_config",
    "BRAND_TB": "brand_config",
}
PARTNER_PACKAGE = (320, "partner_config")  # checked only when present
SIGNATURE_LINE = re.compile(rb"//([A-Za-z0-9+/]{170}[A-Za-z0-9+/=]{2})\r?\n")
SIGNATURE_BYTES = 128

MASTER_PREFERENCES_ID = 305
CLIDS_ID = 306
WEBSITE_ICON_ID = 323
ABT_CONFIG_NAME = "ABT_CONFIG"
ABT_CONFIG_KEYS = {"variations_seed_base64", "variations_seed_signature",
                   "variations_last_modified_time", "variations_country"}


# Functions that Windows XP does not have, by DLL. The installer starts on
# XP to install the legacy build there, so not even a delay-loaded import may
# name one: the first call would end the process.
XP_MISSING = {
    "advapi32.dll": {"RegGetValueW", "RegGetValueA", "RegSetKeyValueW", "RegDeleteTreeW",
                     "RegDeleteKeyValueW", "RegLoadMUIStringW", "RegCopyTreeW"},
}


class Malformed(Exception):
    """The file does not hold what its own headers claim."""


# kernel32 functions that Windows 7 does not have (added in Windows 8 or 8.1).
WINDOWS8_KERNEL32 = {
    "GetSystemTimePreciseAsFileTime", "CreateFile2", "GetCurrentThreadStackLimits",
    "SetThreadInformation", "GetThreadInformation", "GetProcessInformation",
    "SetProcessInformation", "PrefetchVirtualMemory", "CopyFile2",
    "CreateFileMappingFromApp", "MapViewOfFileFromApp", "GetOverlappedResultEx",
    "CreateThreadpoolWaitEx", "AddDllDirectoryForApp", "ResolveLocaleName",
    "GetFirmwareType", "SetProcessMitigationPolicy", "GetProcessMitigationPolicy",
    "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll",
}


def unpack_at(data, fmt, offset, what):
    """struct.unpack_from that refuses to read outside `data`."""
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise Malformed("%s at offset %#x needs %d bytes but only %d are there"
                        % (what, offset, size, max(0, len(data) - offset)))
    return struct.unpack_from(fmt, data, offset)


def align4(value):
    return (value + 3) & ~3


def show(text):
    """Quote a string for output with non-ASCII characters escaped."""
    return ascii(text)


def show_key(key):
    return str(key) if isinstance(key, int) else show(key)


# --------------------------------------------------------------------------
# PE headers and sections

class Section:
    def __init__(self, raw):
        (name, self.virtual_size, self.virtual_address, self.raw_size,
         self.raw_pointer, _, _, _, _, self.characteristics) = raw
        self.name = name.rstrip(b"\0").decode("utf-8", "replace")


class PeImage:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise Malformed("no MZ header")
        (pe_offset,) = unpack_at(data, "<I", 0x3C, "e_lfanew")
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise Malformed("no PE\\0\\0 signature at e_lfanew %#x" % pe_offset)
        (self.machine, section_count, _, _, _, optional_size,
         _) = unpack_at(data, "<HHIIIHH", pe_offset + 4, "COFF file header")

        optional = pe_offset + 24
        if optional_size < 2:
            raise Malformed("optional header is missing")
        (self.magic,) = unpack_at(data, "<H", optional, "optional header magic")
        # The two layouts differ only in the width of the image base and the
        # stack/heap sizes, which moves the data directory array.
        if self.magic == 0x010B:
            count_at, directories_at = 92, 96
            (self.image_base,) = unpack_at(data, "<I", optional + 28, "ImageBase")
        elif self.magic == 0x020B:
            count_at, directories_at = 108, 112
            (self.image_base,) = unpack_at(data, "<Q", optional + 24, "ImageBase")
        else:
            raise Malformed("optional header magic %#x is neither PE32 nor PE32+"
                            % self.magic)
        if optional_size < directories_at:
            raise Malformed("optional header is %d bytes, too small for its magic %#x"
                            % (optional_size, self.magic))
        (self.subsystem,) = unpack_at(data, "<H", optional + 68, "Subsystem")
        (declared,) = unpack_at(data, "<I", optional + count_at, "NumberOfRvaAndSizes")
        # Only the directories the header both declares and has room for.
        count = min(declared, (optional_size - directories_at) // 8)
        self.directories = [
            unpack_at(data, "<II", optional + directories_at + 8 * i,
                      "data directory %d" % i)
            for i in range(count)]

        table = optional + optional_size
        self.sections = [
            Section(unpack_at(data, "<8sIIIIIIHHI", table + 40 * i,
                              "section header %d" % i))
            for i in range(section_count)]

    def read_rva(self, rva, length, what):
        """Return `length` file bytes mapped at `rva`, via the section table."""
        for section in self.sections:
            mapped = section.virtual_size or section.raw_size
            if not section.virtual_address <= rva < section.virtual_address + mapped:
                continue
            delta = rva - section.virtual_address
            # Bytes past SizeOfRawData are zero fill, not file data.
            backed = min(mapped, section.raw_size)
            if delta + length > backed:
                raise Malformed("%s (RVA %#x, %d bytes) runs past the file data of "
                                "section %s" % (what, rva, length, show(section.name)))
            start = section.raw_pointer + delta
            if start + length > len(self.data):
                raise Malformed("%s (RVA %#x, %d bytes) lies past the end of the "
                                "file (%d bytes)" % (what, rva, length, len(self.data)))
            return self.data[start:start + length]
        raise Malformed("%s (RVA %#x) is not inside any section" % (what, rva))


    def imports(self):
        """{dll name (lower case): [function names]} of the import directory."""
        if len(self.directories) < 2 or self.directories[1][0] == 0:
            return {}
        rva, _ = self.directories[1]
        thunk_size, ordinal_flag = (8, 1 << 63) if self.magic == 0x020B else (4, 1 << 31)
        thunk_format = "<Q" if thunk_size == 8 else "<I"
        result = {}
        for index in range(4096):
            (lookup, _, _, name_rva, first_thunk) = struct.unpack(
                "<IIIII", self.read_rva(rva + 20 * index, 20, "import descriptor"))
            if name_rva == 0:
                return result
            dll = self.read_c_string(name_rva, "import DLL name").lower()
            names = result.setdefault(dll, [])
            thunks = lookup or first_thunk
            for slot in range(65536):
                (entry,) = struct.unpack(thunk_format, self.read_rva(
                    thunks + thunk_size * slot, thunk_size, "import thunk"))
                if entry == 0:
                    break
                if not entry & ordinal_flag:
                    names.append(self.read_c_string((entry & 0x7FFFFFFF) + 2, "import name"))
        raise Malformed("import directory has no terminating descriptor")

    def slot_format(self):
        return ("<Q", 8) if self.magic == 0x020B else ("<I", 4)

    def import_address_slots(self):
        """[(RVA, value)] of every slot of the import address table."""
        if len(self.directories) <= IMAGE_DIRECTORY_ENTRY_IAT:
            return []
        rva, size = self.directories[IMAGE_DIRECTORY_ENTRY_IAT]
        fmt, width = self.slot_format()
        data = self.read_rva(rva, size, "import address table") if size else b""
        return [(rva + offset, struct.unpack_from(fmt, data, offset)[0])
                for offset in range(0, size - size % width, width)]

    def bound_slot_rvas(self):
        """RVAs of the slots the loader fills: each import descriptor's
        FirstThunk array with its terminating zero."""
        if len(self.directories) <= IMAGE_DIRECTORY_ENTRY_IMPORT or \
                self.directories[IMAGE_DIRECTORY_ENTRY_IMPORT][0] == 0:
            return set()
        rva, _ = self.directories[IMAGE_DIRECTORY_ENTRY_IMPORT]
        fmt, width = self.slot_format()
        bound = set()
        for index in range(4096):
            (_, _, _, name_rva, first_thunk) = struct.unpack(
                "<IIIII", self.read_rva(rva + 20 * index, 20, "import descriptor"))
            if name_rva == 0:
                return bound
            for slot in range(65536):
                slot_rva = first_thunk + width * slot
                bound.add(slot_rva)
                (entry,) = struct.unpack(fmt, self.read_rva(slot_rva, width, "import slot"))
                if entry == 0:
                    break
        raise Malformed("import directory has no terminating descriptor")

    def is_executable_address(self, address):
        rva = address - self.image_base
        return any(s.characteristics & IMAGE_SCN_MEM_EXECUTE and
                   s.virtual_address <= rva < s.virtual_address + (s.virtual_size or s.raw_size)
                   for s in self.sections)

    def read_c_string(self, rva, what):
        text = b""
        while len(text) < 512:
            byte = self.read_rva(rva + len(text), 1, what)
            if byte == b"\0":
                return text.decode("ascii", "replace")
            text += byte
        raise Malformed("%s at RVA %#x is not terminated" % (what, rva))


# --------------------------------------------------------------------------
# Resource tree

class Resource:
    def __init__(self, rtype, name, lang, rva, size):
        self.rtype, self.name, self.lang = rtype, name, lang
        self.rva, self.size = rva, size

    def describe(self):
        return "type %s name %s lang %#06x" % (
            show_key(self.rtype), show_key(self.name), self.lang
            if isinstance(self.lang, int) else 0)


class ResourceTree:
    """The three-level resource directory: type -> name -> language -> data."""

    def __init__(self, pe):
        self.pe = pe
        if (len(pe.directories) <= IMAGE_DIRECTORY_ENTRY_RESOURCE
                or pe.directories[IMAGE_DIRECTORY_ENTRY_RESOURCE][0] == 0):
            raise Malformed("the image has no resource data directory")
        self.base, self.size = pe.directories[IMAGE_DIRECTORY_ENTRY_RESOURCE]
        self.visited = set()
        self.resources = []
        for rtype, type_dir in self._directory(0, 0):
            for name, name_dir in self._directory(type_dir, 1):
                for lang, entry in self._directory(name_dir, 2):
                    rva, size, _, _ = self._read(entry, "<IIII", "resource data entry")
                    self.resources.append(Resource(rtype, name, lang, rva, size))

    def _read(self, offset, fmt, what):
        length = struct.calcsize(fmt)
        if offset + length > self.size:
            raise Malformed("%s at resource offset %#x lies outside the resource "
                            "directory (%d bytes)" % (what, offset, self.size))
        return struct.unpack(fmt, self.pe.read_rva(self.base + offset, length, what))

    def _name(self, offset):
        (length,) = self._read(offset, "<H", "resource name length")
        raw = self.pe.read_rva(self.base + offset + 2, 2 * length, "resource name")
        if offset + 2 + 2 * length > self.size:
            raise Malformed("resource name at %#x runs outside the resource directory"
                            % offset)
        try:
            return raw.decode("utf-16le")
        except UnicodeDecodeError as error:
            raise Malformed("resource name at %#x is not UTF-16: %s" % (offset, error))

    def _directory(self, offset, level):
        """Yield (key, target offset) for one directory table."""
        if offset in self.visited:
            raise Malformed("resource directory at %#x is referenced twice" % offset)
        self.visited.add(offset)
        _, _, _, _, named, numbered = self._read(offset, "<IIHHHH",
                                                 "resource directory table")
        entries = []
        previous_id = -1
        for i in range(named + numbered):
            name_field, target = self._read(offset + 16 + 8 * i, "<II",
                                            "resource directory entry")
            is_named = bool(name_field & 0x80000000)
            if is_named != (i < named):
                raise Malformed("resource directory at %#x: named entries must come "
                                "before id entries" % offset)
            if is_named:
                key = self._name(name_field & 0x7FFFFFFF)
            else:
                key = name_field
                # The loader binary-searches id entries.
                if key <= previous_id:
                    raise Malformed("resource directory at %#x: id entries are not in "
                                    "ascending order" % offset)
                previous_id = key
            is_directory = bool(target & 0x80000000)
            if is_directory != (level < 2):
                raise Malformed("resource directory at %#x: entry %s should point to a "
                                "%s" % (offset, show_key(key),
                                        "subdirectory" if level < 2 else "data entry"))
            entries.append((key, target & 0x7FFFFFFF))
        return entries

    def find(self, rtype, name=None):
        return [r for r in self.resources
                if r.rtype == rtype and (name is None or r.name == name)]

    def data(self, resource):
        return self.pe.read_rva(resource.rva, resource.size,
                                "data of resource " + resource.describe())


# --------------------------------------------------------------------------
# Cabinet files

CAB_FLAG_PREVIOUS = 0x0001
CAB_FLAG_NEXT = 0x0002
CAB_FLAG_RESERVE = 0x0004
CAB_COMPRESS_MSZIP = 1
MSZIP_BLOCK = 32768


def cab_checksum(data, seed):
    """The CFDATA checksum: 32-bit little-endian words XORed, the trailing
    one to three bytes packed with the first byte highest."""
    whole = len(data) // 4 * 4
    total = seed
    for (word,) in struct.iter_unpack("<I", data[:whole]):
        total ^= word
    tail = 0
    for byte in data[whole:]:
        tail = (tail << 8) | byte
    return total ^ tail


def read_cabinet(data):
    """[(name, bytes), ...] of a single-cabinet, single-folder MSZIP file,
    with every size, offset and checksum verified."""
    (signature, _, cabinet_size, _, files_at, _, minor, major, folder_count,
     file_count, flags, _, _) = unpack_at(data, "<4sIIIIIBBHHHHH", 0, "CFHEADER")
    if signature != b"MSCF":
        raise Malformed("no MSCF signature")
    if cabinet_size != len(data):
        raise Malformed("cbCabinet is %d, the resource is %d bytes" % (cabinet_size, len(data)))
    if (major, minor) != (1, 3):
        raise Malformed("format version %d.%d" % (major, minor))
    if flags & (CAB_FLAG_PREVIOUS | CAB_FLAG_NEXT):
        raise Malformed("the cabinet is part of a set (flags %#x)" % flags)
    if folder_count != 1 or file_count != 1:
        raise Malformed("%d folders and %d files, expected one of each"
                        % (folder_count, file_count))
    at = 36
    data_reserve = 0
    if flags & CAB_FLAG_RESERVE:
        header_reserve, _, data_reserve = unpack_at(data, "<HBB", at, "reserve sizes")
        at += 4 + header_reserve
    blocks_at, block_count, compression = unpack_at(data, "<IHH", at, "CFFOLDER")
    if compression & 0x000F != CAB_COMPRESS_MSZIP:
        raise Malformed("folder compression is %#x, not MSZIP" % compression)

    size, offset, folder, _, _, _ = unpack_at(data, "<IIHHHH", files_at, "CFFILE")
    name_end = data.find(b"\0", files_at + 16)
    if name_end < 0:
        raise Malformed("CFFILE name is not terminated")
    name = data[files_at + 16:name_end].decode("utf-8", "replace")
    if folder != 0:
        raise Malformed("member %s is in folder %d" % (show(name), folder))

    stream = b""
    at = blocks_at
    for index in range(block_count):
        checksum, packed, unpacked = unpack_at(data, "<IHH", at, "CFDATA %d" % index)
        body = at + 8 + data_reserve
        if body + packed > len(data):
            raise Malformed("CFDATA %d runs past the end of the cabinet" % index)
        block = data[body:body + packed]
        if checksum and checksum != cab_checksum(data[at + 4:body], cab_checksum(block, 0)):
            raise Malformed("CFDATA %d has a wrong checksum" % index)
        if unpacked > MSZIP_BLOCK or block[:2] != b"CK":
            raise Malformed("CFDATA %d is not an MSZIP block (%d bytes, starts %r)"
                            % (index, unpacked, block[:2]))
        # MSZIP keeps the history window from one block to the next.
        inflater = zlib.decompressobj(-15, zdict=stream[-MSZIP_BLOCK:])
        try:
            output = inflater.decompress(block[2:])
        except zlib.error as error:
            raise Malformed("CFDATA %d does not inflate: %s" % (index, error))
        if not inflater.eof or inflater.unused_data or len(output) != unpacked:
            raise Malformed("CFDATA %d inflates to %d bytes, says %d"
                            % (index, len(output), unpacked))
        stream += output
        at = body + packed
    if offset + size > len(stream):
        raise Malformed("member %s needs %d bytes of a %d-byte folder"
                        % (show(name), offset + size, len(stream)))
    return [(name, stream[offset:offset + size])]


# --------------------------------------------------------------------------
# VS_VERSIONINFO

class VersionNode:
    def __init__(self, key, value_type, value, children):
        self.key, self.value_type, self.value = key, value_type, value
        self.children = children

    def text(self):
        try:
            return self.value.decode("utf-16le").split("\0", 1)[0]
        except UnicodeDecodeError as error:
            raise Malformed("value of %s is not UTF-16: %s" % (show(self.key), error))


def parse_version_node(data, offset, limit, depth=0):
    """Parse one wLength/wValueLength/wType/szKey block and its children.

    Offsets are relative to the start of the resource data, which the loader
    places on a 32-bit boundary, so padding is computed from there.
    """
    if depth > 4:
        raise Malformed("version info is nested too deeply")
    length, value_length, value_type = unpack_at(data[:limit], "<HHH", offset,
                                                 "version info block header")
    end = offset + length
    if length < 6 or end > limit:
        raise Malformed("version info block at %#x has wLength %d which does not fit "
                        "in its parent" % (offset, length))
    key_start = offset + 6
    key_end = key_start
    while True:
        if key_end + 2 > end:
            raise Malformed("szKey of version info block at %#x is not terminated"
                            % offset)
        if data[key_end:key_end + 2] == b"\0\0":
            break
        key_end += 2
    try:
        key = data[key_start:key_end].decode("utf-16le")
    except UnicodeDecodeError as error:
        raise Malformed("szKey at %#x is not UTF-16: %s" % (key_start, error))

    value_start = align4(key_end + 2)
    if value_type == 1:
        value_bytes = 2 * value_length  # text values count WCHARs
    elif value_type == 0:
        value_bytes = value_length
    else:
        raise Malformed("version info block %s has wType %d" % (show(key), value_type))
    if value_bytes and value_start + value_bytes > end:
        raise Malformed("value of version info block %s runs past its wLength"
                        % show(key))
    value = data[value_start:value_start + value_bytes]

    children = []
    child = align4(value_start + value_bytes)
    while child < end:
        node, child_end = parse_version_node(data, child, end, depth + 1)
        children.append(node)
        child = align4(child_end)
    return VersionNode(key, value_type, value, children), end


def split_version(ms, ls):
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def dotted(parts):
    return ".".join(str(p) for p in parts)


# --------------------------------------------------------------------------
# Checks

class Checker:
    def __init__(self, pe, machine, version_text, test_build=False):
        self.pe = pe
        self.test_build = test_build
        self.machine = machine
        self.version_text = version_text
        self.version = tuple(int(p) for p in version_text.split("."))
        self.passed = 0
        self.failed = 0
        self._tree = None
        self._tree_error = None
        self._manifest = None
        self._manifest_error = None
        self._version_info = None

    def report(self, good, message):
        if good:
            self.passed += 1
            print("ok: " + message)
        else:
            self.failed += 1
            print("FAIL: " + message)

    def check(self, label, function, *args):
        """Run one check.  It passes only if `function` returns exactly True;
        a string return value is the reason it failed."""
        try:
            verdict = function(*args)
        except Malformed as error:
            verdict = str(error)
        except Exception as error:  # keep one bad file from hiding the rest
            verdict = "checker error %s: %s" % (type(error).__name__, error)
        if verdict is True:
            self.report(True, label)
        else:
            self.report(False, "%s: %s" % (label, verdict or "no verdict"))

    # Shared, lazily built state.  Errors are remembered so every dependent
    # check fails with the same reason.

    def tree(self):
        if self._tree is None and self._tree_error is None:
            try:
                self._tree = ResourceTree(self.pe)
            except Malformed as error:
                self._tree_error = "resource tree unreadable: %s" % error
        if self._tree is None:
            raise Malformed(self._tree_error)
        return self._tree

    def manifest(self):
        if self._manifest is None and self._manifest_error is None:
            try:
                self._manifest = self._load_manifest()
            except Malformed as error:
                self._manifest_error = str(error)
        if self._manifest is None:
            raise Malformed("no usable manifest: " + self._manifest_error)
        return self._manifest

    def _load_manifest(self):
        found = self.tree().find(RT_MANIFEST, MANIFEST_ID)
        if not found:
            raise Malformed("no RT_MANIFEST resource with id %d" % MANIFEST_ID)
        raw = self.tree().data(found[0])
        try:
            raw.decode("utf-8")
        except UnicodeDecodeError as error:
            raise Malformed("manifest is not UTF-8: %s" % error)
        try:
            root = ET.fromstring(raw, parser=ET.XMLParser(encoding="utf-8"))
        except ET.ParseError as error:
            raise Malformed("manifest is not well-formed XML: %s" % error)
        if root.tag != "{%s}assembly" % NS["v1"]:
            raise Malformed("manifest root element is %s, not assembly in %s"
                            % (show(root.tag), NS["v1"]))
        return root

    def version_infos(self):
        if self._version_info is None:
            found = self.tree().find(RT_VERSION)
            if not found:
                raise Malformed("no RT_VERSION resource")
            infos = []
            for resource in found:
                data = self.tree().data(resource)
                root, _ = parse_version_node(data, 0, len(data))
                if root.key != "VS_VERSION_INFO":
                    raise Malformed("%s: root block key is %s"
                                    % (resource.describe(), show(root.key)))
                infos.append((resource, root))
            self._version_info = infos
        return self._version_info

    # 1-3: headers

    def check_machine(self):
        want_machine, want_magic, magic_name = MACHINES[self.machine]
        problems = []
        if self.pe.machine != want_machine:
            problems.append("machine is %#x, expected %#x" % (self.pe.machine, want_machine))
        if self.pe.magic != want_magic:
            problems.append("optional header magic is %#x, expected %#x (%s)"
                            % (self.pe.magic, want_magic, magic_name))
        return True if not problems else "; ".join(problems)

    def check_subsystem(self):
        if self.pe.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI:
            return True
        return "subsystem is %d" % self.pe.subsystem

    def check_file_complete(self):
        size = len(self.pe.data)
        for section in self.pe.sections:
            if section.raw_size and section.raw_pointer + section.raw_size > size:
                return ("section %s needs file bytes up to %#x but the file is %#x bytes"
                        % (show(section.name), section.raw_pointer + section.raw_size,
                           size))
        return True

    def check_download_size(self):
        """The whole installer, pictures, fonts and sixteen languages, is a
        small download."""
        size = len(self.pe.data)
        return True if size <= MAX_FILE_SIZE else "%d bytes, over %d" % (size, MAX_FILE_SIZE)

    def check_shared_section(self):
        shared = [s for s in self.pe.sections if s.name == "SHARED"]
        if len(shared) != 1:
            return "%d sections named SHARED" % len(shared)
        section = shared[0]
        problems = []
        if not section.characteristics & IMAGE_SCN_MEM_SHARED:
            problems.append("characteristics %#010x lack IMAGE_SCN_MEM_SHARED"
                            % section.characteristics)
        if section.virtual_size != 4:
            problems.append("virtual size is %d" % section.virtual_size)
        return True if not problems else "; ".join(problems)

    def check_delayed_params_section(self):
        found = [s for s in self.pe.sections if s.name == "Shared"]
        if len(found) != 1:
            return "%d sections named Shared" % len(found)
        section = found[0]
        problems = []
        wanted = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE
        if section.characteristics & wanted != wanted:
            problems.append("characteristics %#010x lack shared, read or write"
                            % section.characteristics)
        if section.virtual_size != DELAYED_PARAMS_SIZE:
            problems.append("virtual size is %#x" % section.virtual_size)
        elif self.pe.read_rva(section.virtual_address, DELAYED_PARAMS_SIZE,
                              "Shared section data").strip(b"\0"):
            problems.append("the block does not start out zero")
        return True if not problems else "; ".join(problems)

    # 4a: manifest

    def check_single_manifest(self):
        found = self.tree().find(RT_MANIFEST)
        if len(found) == 1:
            return True
        return "%d RT_MANIFEST resources (%s)" % (
            len(found), ", ".join(r.describe() for r in found) or "none")

    def check_manifest_parses(self):
        self.manifest()
        return True

    def check_execution_level(self):
        root = self.manifest()
        elements = []
        # trustInfo is accepted by Windows in either the v2 or the v3 namespace.
        for ns in ("v2", "v3"):
            path = "/".join("%s:%s" % (ns, tag) for tag in (
                "trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel"))
            elements += root.findall(path, NS)
        if len(elements) != 1:
            return "%d requestedExecutionLevel elements" % len(elements)
        level = elements[0].get("level")
        ui_access = elements[0].get("uiAccess")
        if level == "asInvoker" and ui_access == "false":
            return True
        return "level=%s uiAccess=%s" % (show(level), show(ui_access))

    def check_dpi_aware(self):
        root = self.manifest()
        elements = root.findall("v3:application/v3:windowsSettings/ws2005:dpiAware", NS)
        if not elements:
            return "no dpiAware element"
        values = [(e.text or "").strip() for e in elements]
        if all(v.lower() == "true" for v in values):
            return True
        return "dpiAware is " + ", ".join(show(v) for v in values)

    def check_common_controls(self):
        root = self.manifest()
        identities = root.findall(
            "v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", NS)
        for identity in identities:
            if (identity.get("name") == "Microsoft.Windows.Common-Controls"
                    and identity.get("version") == "6.0.0.0"):
                return True
        return "dependencies are: %s" % (", ".join(
            "%s %s" % (show(i.get("name")), show(i.get("version")))
            for i in identities) or "none")

    def _compat_elements(self, tag):
        return self.manifest().findall(
            "compat:compatibility/compat:application/compat:" + tag, NS)

    def check_supported_os(self, guid):
        ids = [(e.get("Id") or "").strip().lower()
               for e in self._compat_elements("supportedOS")]
        if guid.lower() in ids:
            return True
        return "supportedOS Ids present: %s" % (", ".join(ids) or "none")

    def check_max_version_tested(self):
        ids = [e.get("Id") for e in self._compat_elements("maxversiontested")]
        if MAX_VERSION_TESTED in ids:
            return True
        return "maxversiontested Ids present: %s" % (
            ", ".join(show(i) for i in ids) or "none")

    # 4b: version resource

    def check_fixed_version(self, which):
        problems = []
        for resource, root in self.version_infos():
            if root.value_type != 0 or len(root.value) != VS_FIXEDFILEINFO_SIZE:
                problems.append("%s: VS_FIXEDFILEINFO is %d bytes"
                                % (resource.describe(), len(root.value)))
                continue
            fields = struct.unpack("<13I", root.value)
            if fields[0] != VS_FIXEDFILEINFO_SIGNATURE:
                problems.append("%s: VS_FIXEDFILEINFO signature is %#x"
                                % (resource.describe(), fields[0]))
                continue
            ms, ls = (fields[2], fields[3]) if which == "FileVersion" else (fields[4], fields[5])
            got = split_version(ms, ls)
            if got != self.version:
                problems.append("%s is %s" % (which, dotted(got)))
        return True if not problems else "; ".join(problems)

    def check_string_file_version(self):
        values = []
        for _, root in self.version_infos():
            for block in root.children:
                if block.key != "StringFileInfo":
                    continue
                for table in block.children:
                    for string in table.children:
                        if string.key == "FileVersion":
                            values.append(string.text())
        if not values:
            return "no FileVersion string in StringFileInfo"
        if all(v == self.version_text for v in values):
            return True
        return "FileVersion string is " + ", ".join(show(v) for v in values)

    def check_build_marks(self):
        """The version block tells a test build from the product: private and
        special build flags, a PrivateBuild text and its own file name."""
        want_name = "lite_installer_e2e.exe" if self.test_build else "lite_installer.exe"
        problems = []
        for resource, root in self.version_infos():
            flags = struct.unpack("<13I", root.value)[7] if len(root.value) == 52 else 0
            marked = flags & (VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD)
            strings = {string.key: string.text()
                       for block in root.children if block.key == "StringFileInfo"
                       for table in block.children for string in table.children}
            if bool(marked) != self.test_build:
                problems.append("%s: FILEFLAGS %#x" % (resource.describe(), flags))
            if ("PrivateBuild" in strings) != self.test_build:
                problems.append("%s: PrivateBuild %s" % (
                    resource.describe(), show(strings.get("PrivateBuild", "missing"))))
            if strings.get("OriginalFilename") != want_name:
                problems.append("%s: OriginalFilename %s" % (
                    resource.describe(), show(strings.get("OriginalFilename", "missing"))))
        return True if not problems else "; ".join(problems)

    # 4c: icons

    def icon_groups(self):
        found = self.tree().find(RT_GROUP_ICON, ICON_GROUP_ID)
        if not found:
            raise Malformed("no RT_GROUP_ICON resource with id %d" % ICON_GROUP_ID)
        groups = []
        for resource in found:
            data = self.tree().data(resource)
            reserved, kind, count = unpack_at(data, "<HHH", 0, "GRPICONDIR")
            if reserved != 0 or kind != 1:
                raise Malformed("GRPICONDIR has idReserved %d idType %d" % (reserved, kind))
            entries = [unpack_at(data, "<BBBBHHIH", 6 + 14 * i, "GRPICONDIRENTRY %d" % i)
                       for i in range(count)]
            groups.append((resource, entries))
        return groups

    def check_icon_group(self):
        for resource, entries in self.icon_groups():
            if not entries:
                return "%s lists no images" % resource.describe()
        return True

    def check_icon_images(self):
        problems = []
        for _, entries in self.icon_groups():
            for width, height, _, _, _, _, size, icon_id in entries:
                width, height = width or 256, height or 256
                icons = self.tree().find(RT_ICON, icon_id)
                if not icons:
                    problems.append("RT_ICON %d is missing" % icon_id)
                    continue
                data = self.tree().data(icons[0])
                if len(data) != size:
                    problems.append("RT_ICON %d is %d bytes, the group says %d"
                                    % (icon_id, len(data), size))
                    continue
                actual = icon_dimensions(data)
                if actual is None:
                    problems.append("RT_ICON %d is neither PNG nor a DIB" % icon_id)
                elif actual != (width, height):
                    problems.append("RT_ICON %d is %dx%d, the group says %dx%d"
                                    % ((icon_id,) + actual + (width, height)))
        return True if not problems else "; ".join(problems)

    def check_icon_size(self, pixels):
        listed = set()
        for _, entries in self.icon_groups():
            listed.update((e[0] or 256, e[1] or 256) for e in entries)
        if (pixels, pixels) in listed:
            return True
        return "sizes listed: %s" % (", ".join(
            "%dx%d" % s for s in sorted(listed)) or "none")

    # 4d: string table

    def string_block(self, block_id):
        found = self.tree().find(RT_STRING, block_id)
        if not found:
            raise Malformed("no RT_STRING block %d" % block_id)
        chosen = [r for r in found if r.lang == LANG_EN_US]
        if not chosen:
            if len(found) != 1:
                raise Malformed("RT_STRING block %d has no en-US copy" % block_id)
            chosen = found
        data = self.tree().data(chosen[0])
        strings = []
        offset = 0
        for index in range(16):
            (count,) = unpack_at(data, "<H", offset, "length of string slot %d" % index)
            offset += 2
            if offset + 2 * count > len(data):
                raise Malformed("string slot %d of block %d runs past the resource"
                                % (index, block_id))
            try:
                strings.append(data[offset:offset + 2 * count].decode("utf-16le"))
            except UnicodeDecodeError as error:
                raise Malformed("string slot %d of block %d is not UTF-16: %s"
                                % (index, block_id, error))
            offset += 2 * count
        return strings

    def check_string(self, string_id, expected):
        text = self.string_block(string_id // 16 + 1)[string_id % 16]
        if not text:
            return "string %d is absent" % string_id
        if expected is not None and text != expected:
            return "string %d is %s" % (string_id, show(text))
        return True


    # 4e: configuration packages and data files

    def bin_data(self, name):
        found = self.tree().find(RT_BIN, name)
        if not found:
            raise Malformed("no %s resource %s" % (RT_BIN, show_key(name)))
        if len(found) > 1:
            raise Malformed("%d copies of %s %s" % (len(found), RT_BIN, show_key(name)))
        data = self.tree().data(found[0])
        if not data:
            raise Malformed("%s %s is empty" % (RT_BIN, show_key(name)))
        return data

    def check_bin_present(self, name):
        self.bin_data(name)
        return True

    def check_package_member(self, name, member):
        members = read_cabinet(self.bin_data(name))
        found = [m for m, _ in members]
        if found != [member]:
            return "members are %s" % ", ".join(show(m) for m in found)
        return True

    def check_package_signature_line(self, name, member):
        (_, text), = read_cabinet(self.bin_data(name))
        match = SIGNATURE_LINE.match(text)
        if not match:
            return "first line is %s" % show(text.split(b"\n", 1)[0][:200])
        try:
            signature = base64.b64decode(match.group(1), validate=True)
        except binascii.Error as error:
            return "signature is not base64: %s" % error
        if len(signature) != SIGNATURE_BYTES:
            return "signature is %d bytes" % len(signature)
        return True

    def check_package_json(self, name, member):
        (_, text), = read_cabinet(self.bin_data(name))
        body = text[SIGNATURE_LINE.match(text).end():] if SIGNATURE_LINE.match(text) else text
        return check_json_object(body)

    def check_master_preferences(self):
        return check_json_object(self.bin_data(MASTER_PREFERENCES_ID))

    def check_abt_config(self):
        verdict = check_json_object(self.bin_data(ABT_CONFIG_NAME))
        if verdict is not True:
            return verdict
        config = json.loads(self.bin_data(ABT_CONFIG_NAME))
        if set(config) != ABT_CONFIG_KEYS:
            return "keys are %s" % ", ".join(sorted(config))
        wrong = [k for k, v in sorted(config.items()) if not isinstance(v, str)]
        return True if not wrong else "not strings: " + ", ".join(wrong)

    def check_clids(self):
        data = self.bin_data(CLIDS_ID)
        if not re.match(rb'<\?xml[^>]*\bencoding="windows-1251"', data):
            return "no XML declaration naming windows-1251: %s" % show(data[:60])
        try:
            root = ET.fromstring(data)
        except ET.ParseError as error:
            return "not well-formed: %s" % error
        problems = []
        if root.tag != "vendor" or not root.get("name") or not root.get("setup"):
            problems.append("root is %s with attributes %s" % (show(root.tag), sorted(root.attrib)))
        if not len(root):
            problems.append("no clidN elements")
        for child in root:
            if not re.fullmatch(r"clid\d+", child.tag) or not re.fullmatch(
                    r"\d+", (child.text or "").strip()):
                problems.append("child %s holds %s" % (show(child.tag), show(child.text)))
        return True if not problems else "; ".join(problems)

    def check_website_icon(self):
        data = self.bin_data(WEBSITE_ICON_ID)
        reserved, kind, count = unpack_at(data, "<HHH", 0, "ICONDIR")
        if reserved != 0 or kind != 1 or count == 0:
            return "ICONDIR has idReserved %d idType %d idCount %d" % (reserved, kind, count)
        for i in range(count):
            width, height, _, _, _, _, size, offset = unpack_at(
                data, "<BBBBHHII", 6 + 16 * i, "ICONDIRENTRY %d" % i)
            image = data[offset:offset + size]
            if offset + size > len(data) or icon_dimensions(image) != (width or 256,
                                                                         height or 256):
                return "image %d (%dx%d, %d bytes at %#x) is not a matching PNG or DIB" % (
                    i, width or 256, height or 256, size, offset)
        return True

    def check_windows7_imports(self):
        """The installer must load on Windows 7: none of its static imports
        may be a function that came with Windows 8 or later."""
        late = sorted(set(self.pe.imports().get("kernel32.dll", [])) & WINDOWS8_KERNEL32)
        return True if not late else "imports %s" % ", ".join(late)

    def check_static_imports(self):
        """Only kernel32 and the C runtime are bound at load time; every other
        system DLL is delay-loaded after the DLL search order is hardened."""
        extra = sorted(set(self.pe.imports()) - {"kernel32.dll", "msvcrt.dll"})
        return True if not extra else "also imports %s" % ", ".join(extra)

    def check_xp_imports(self):
        """No import names a function that Windows XP lacks. The delay-import
        tables of this toolchain are not in the header's directory, so the
        image is searched for the name as an import entry spells it."""
        found = []
        imports = self.pe.imports()
        for dll, missing in XP_MISSING.items():
            for name in sorted(missing):
                if name in imports.get(dll, []) or \
                        b"\0" + name.encode("ascii") + b"\0" in self.pe.data:
                    found.append("%s!%s" % (dll, name))
        return True if not found else "imports %s" % ", ".join(found)

    def check_no_endpoint_override(self):
        """Only the end-to-end build may send its hosts elsewhere."""
        for name in ("TOLVAR_LITE_ENDPOINT_BASE", "TOLVAR_LITE_STATS_ENDPOINT_BASE"):
            for text in (name.encode("ascii"), name.encode("utf-16-le")):
                if text in self.pe.data:
                    return "the executable names " + name
        return True

    def check_import_address_table(self):
        """A slot the loader does not fill belongs to a delay-import table,
        and a call through it must reach the delay-load helper: a zero or
        foreign value there jumps to nowhere on the function's first call."""
        slots = self.pe.import_address_slots()
        if not slots:
            return "the image has no import address table"
        bound = self.pe.bound_slot_rvas()
        runs, run = [], []
        for rva, value in slots:
            if rva in bound:
                if run:
                    runs.append(run)
                run = []
                continue
            kind = "Z" if value == 0 else "T" if self.pe.is_executable_address(value) else "X"
            run.append((rva, value, kind))
        if run:
            runs.append(run)
        faults = []
        for run in runs:
            kinds = "".join(kind for _, _, kind in run)
            faults += [run[i] for i in delay_slot_faults(kinds)]
        if not faults:
            return True
        unbound = sum(len(run) for run in runs)
        rva, value, _ = faults[0]
        zeros = sum(1 for run in runs for _, value, _ in run if value == 0)
        return ("of %d slots outside the import descriptors (%d of them zero), %d break "
                "the layout of thunks between a zero head and tail; the first at RVA "
                "%#x holds %#x" % (unbound, zeros, len(faults), rva, value))

    def run(self):
        _, _, magic_name = MACHINES[self.machine]
        if self.test_build:
            self.check("version block marks a test build", self.check_build_marks)
            return
        self.check("version block marks no test build", self.check_build_marks)
        self.check("PE image for %s with a %s optional header" % (self.machine, magic_name),
                   self.check_machine)
        self.check("subsystem is Windows GUI", self.check_subsystem)
        self.check("no static import that Windows 7 lacks", self.check_windows7_imports)
        self.check("static imports only kernel32.dll and msvcrt.dll", self.check_static_imports)
        self.check("every delay-import slot starts at its thunk", self.check_import_address_table)
        self.check("no import that Windows XP lacks", self.check_xp_imports)
        self.check("no run-time redirection of the service hosts", self.check_no_endpoint_override)
        self.check("file holds the raw data of every section", self.check_file_complete)
        self.check("file is at most 3 MiB", self.check_download_size)
        self.check("SHARED section is IMAGE_SCN_MEM_SHARED with virtual size 4",
                   self.check_shared_section)
        self.check("Shared section is shared, readable and writable with virtual size %#x, "
                   "all zero" % DELAYED_PARAMS_SIZE, self.check_delayed_params_section)

        self.check("exactly one RT_MANIFEST resource", self.check_single_manifest)
        self.check("RT_MANIFEST %d is a UTF-8 assembly manifest" % MANIFEST_ID,
                   self.check_manifest_parses)
        self.check("manifest requests asInvoker without uiAccess",
                   self.check_execution_level)
        self.check("manifest declares dpiAware true", self.check_dpi_aware)
        self.check("manifest depends on Microsoft.Windows.Common-Controls 6.0.0.0",
                   self.check_common_controls)
        for name, guid in SUPPORTED_OS:
            self.check("manifest lists supportedOS %s %s" % (name, guid),
                       self.check_supported_os, guid)
        self.check("manifest has maxversiontested %s" % MAX_VERSION_TESTED,
                   self.check_max_version_tested)

        self.check("VS_FIXEDFILEINFO FileVersion is %s" % self.version_text,
                   self.check_fixed_version, "FileVersion")
        self.check("VS_FIXEDFILEINFO ProductVersion is %s" % self.version_text,
                   self.check_fixed_version, "ProductVersion")
        self.check("StringFileInfo FileVersion is %s" % show(self.version_text),
                   self.check_string_file_version)

        self.check("RT_GROUP_ICON %d lists at least one image" % ICON_GROUP_ID,
                   self.check_icon_group)
        self.check("every image of icon group %d is a matching RT_ICON" % ICON_GROUP_ID,
                   self.check_icon_images)
        for pixels in ICON_SIZES:
            self.check("icon group %d has a %dx%d image" % (ICON_GROUP_ID, pixels, pixels),
                       self.check_icon_size, pixels)

        for string_id, expected in sorted(EXPECTED_STRINGS.items()):
            label = "string %d" % string_id
            label += " is " + show(expected) if expected is not None else " exists"
            self.check(label, self.check_string, string_id, expected)

        for name, member in sorted(PACKAGES.items(), key=lambda item: show_key(item[0])):
            self.check_package(name, member)
        if self.tree().find(RT_BIN, PARTNER_PACKAGE[0]):
            self.check_package(*PARTNER_PACKAGE)
        for name, what in ((MASTER_PREFERENCES_ID, "master_preferences"),
                           (CLIDS_ID, "clids.xml"), (WEBSITE_ICON_ID, "website.ico"),
                           (ABT_CONFIG_NAME, "abt_config_resource")):
            self.check("%s %s (%s) is present" % (RT_BIN, show_key(name), what),
                       self.check_bin_present, name)
        self.check("%s %d is a JSON object" % (RT_BIN, MASTER_PREFERENCES_ID),
                   self.check_master_preferences)
        self.check("%s %d is windows-1251 XML: vendor with name, setup and numeric clidN"
                   % (RT_BIN, CLIDS_ID), self.check_clids)
        self.check("%s %d is an icon file whose images match its directory"
                   % (RT_BIN, WEBSITE_ICON_ID), self.check_website_icon)
        self.check("%s %s is a JSON object with the four variations keys"
                   % (RT_BIN, ABT_CONFIG_NAME), self.check_abt_config)

    def check_package(self, name, member):
        label = "%s %s" % (RT_BIN, show_key(name))
        self.check("%s is present" % label, self.check_bin_present, name)
        self.check("%s is a one-folder MSZIP cabinet whose only member is %s"
                   % (label, member), self.check_package_member, name, member)
        self.check("%s member begins with // and a 172-character base64 signature"
                   % label, self.check_package_signature_line, name, member)
        self.check("%s member continues with a JSON object" % label,
                   self.check_package_json, name, member)


DELAY_TABLE = re.compile("ZT+Z")


def delay_slot_faults(kinds):
    """Indexes of the slots that break the delay-import layout in |kinds|,
    one letter per slot of a run of import address table slots that no
    import descriptor covers: "T" for a pointer into an executable section,
    "Z" for zero, "X" for anything else. Each delay-import table is a zero
    head, its functions' slots, each pointing at its lazy-binding thunk
    until the first call binds it, and a zero tail."""
    faults = []
    index = 0
    while index < len(kinds):
        match = DELAY_TABLE.match(kinds, index)
        if match:
            index = match.end()
            continue
        if kinds[index] == "Z":
            end = index + 1
            while end < len(kinds) and kinds[end] == "T":
                end += 1
            index = min(end, len(kinds) - 1)
        faults.append(index)
        index += 1
    return faults


def check_json_object(data):
    """True when `data` is UTF-8 text of a JSON object (strict RFC 8259, as
    the browser may read it), else the reason."""
    try:
        value = json.loads(data.decode("utf-8"))
    except (UnicodeDecodeError, ValueError) as error:
        return "not JSON: %s" % error
    return True if isinstance(value, dict) else "root is a %s" % type(value).__name__


def icon_dimensions(data):
    """(width, height) of an RT_ICON image, which is a PNG or a headerless DIB
    whose height covers both the colour and the mask bitmap."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        if len(data) < 24 or data[12:16] != b"IHDR":
            return None
        return struct.unpack_from(">II", data, 16)
    if len(data) >= 12:
        header_size, width, height = struct.unpack_from("<Iii", data, 0)
        if header_size == 40:
            return (width, height // 2)
    return None


class Usage(Exception):
    pass


class Arguments(argparse.ArgumentParser):
    def error(self, message):
        raise Usage(message)


def finish(passed, failed):
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


def main(argv):
    try:
        sys.stdout.reconfigure(errors="backslashreplace")
    except AttributeError:
        pass
    parser = Arguments(description="Static checks of a built installer executable.")
    parser.add_argument("exe")
    parser.add_argument("--machine", required=True, choices=sorted(MACHINES))
    parser.add_argument("--version", required=True)
    parser.add_argument("--test-build", action="store_true")
    try:
        args = parser.parse_args(argv)
        if not re.fullmatch(r"\d+\.\d+\.\d+\.\d+", args.version, re.ASCII):
            raise Usage("--version must be four dot-separated numbers")
        if any(int(part) > 0xFFFF for part in args.version.split(".")):
            raise Usage("--version parts must fit in 16 bits")
    except Usage as error:
        parser.print_usage(sys.stderr)
        print("FAIL: bad arguments: %s" % error)
        return finish(0, 1)

    try:
        with open(args.exe, "rb") as stream:
            data = stream.read()
    except OSError as error:
        print("FAIL: cannot read %s: %s" % (args.exe, error.strerror or error))
        return finish(0, 1)
    try:
        pe = PeImage(data)
    except Malformed as error:
        print("FAIL: not a PE file: %s" % error)
        return finish(0, 1)

    checker = Checker(pe, args.machine, args.version, args.test_build)
    checker.run()
    return finish(checker.passed, checker.failed)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
