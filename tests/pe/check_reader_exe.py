#!/usr/bin/env python3
"""Checks a built Reader.exe from its bytes: machine, GUI subsystem, imports from Windows
system DLLs only, and the resources it must carry (manifest, icon group 101, version
record, brand strings 2001 and 2002).

usage: check_reader_exe.py Reader.exe i386|amd64
"""
import struct
import sys
import unittest

MACHINES = {"i386": 0x014C, "amd64": 0x8664}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll", "ole32.dll", "ws2_32.dll"}
RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 6, 14, 16, 24


class PeFile:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe : pe + 4] == b"PE\0\0", "no PE signature"
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8sIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for _, virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw_offset
        raise ValueError(f"RVA {rva:#x} is in no section")

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start : self.data.index(b"\0", start)].decode("ascii")

    def imported_dlls(self):
        rva, _ = self.directories[1]
        names, entry = [], self.offset(rva)
        while True:
            fields = struct.unpack_from("<IIIII", self.data, entry)
            if not any(fields):
                return names
            names.append(self.c_string(fields[3]))
            entry += 20

    def resources(self):
        """{(type, name): [data of each language]} for the resource tree's three levels."""
        root_rva, _ = self.directories[2]
        root = self.offset(root_rva)
        found = {}

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, directory + 16 + 8 * i)

        for type_id, type_offset in entries(root):
            for name_id, name_offset in entries(root + (type_offset & 0x7FFFFFFF)):
                for _, leaf in entries(root + (name_offset & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, root + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((type_id, name_id), []).append(self.data[start : start + size])
        return found


def string_table_entry(resources, string_id):
    block = resources[(RT_STRING, string_id // 16 + 1)][0]
    position = 0
    for index in range(16):
        length = struct.unpack_from("<H", block, position)[0]
        text = block[position + 2 : position + 2 + 2 * length].decode("utf-16-le")
        if index == string_id % 16:
            return text
        position += 2 + 2 * length


class ReaderExe(unittest.TestCase):
    path = ""
    machine = ""

    @classmethod
    def setUpClass(cls):
        with open(cls.path, "rb") as f:
            cls.pe = PeFile(f.read())
        cls.resources = cls.pe.resources()

    def test_machine_and_gui_subsystem(self):
        self.assertEqual(self.pe.machine, MACHINES[self.machine])
        self.assertEqual(self.pe.magic, 0x10B if self.machine == "i386" else 0x20B)
        self.assertEqual(self.pe.subsystem, 2)  # Windows GUI

    def test_imports_only_windows_system_dlls(self):
        dlls = {name.lower() for name in self.pe.imported_dlls()}
        self.assertTrue(dlls, "no imports found")
        self.assertLessEqual(dlls, SYSTEM_DLLS)

    def test_manifest_requires_administrator_and_names_windows_7(self):
        [manifest] = self.resources[(RT_MANIFEST, 1)]
        text = manifest.decode("utf-8")
        self.assertIn('level="requireAdministrator"', text)
        self.assertIn('uiAccess="false"', text)
        self.assertIn('<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>', text)
        self.assertEqual(text.count("supportedOS"), 1)

    def test_icon_group_101_names_icons_that_exist(self):
        [group] = self.resources[(RT_GROUP_ICON, 101)]
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual(kind, 1)
        self.assertGreaterEqual(count, 1)
        for i in range(count):
            icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            self.assertIn((RT_ICON, icon_id), self.resources)

    def test_version_record(self):
        [version] = self.resources[(RT_VERSION, 1)]
        self.assertIn("VS_VERSION_INFO".encode("utf-16-le"), version)
        for key in ("FileVersion", "ProductVersion", "FileDescription", "ProductName"):
            self.assertIn(key.encode("utf-16-le"), version)
        self.assertIn("Tallowmere".encode("utf-16-le"), version)

    def test_brand_strings(self):
        self.assertEqual(string_table_entry(self.resources, 2001), "Quorlin")
        self.assertEqual(string_table_entry(self.resources, 2002), "Tallowmere")


if __name__ == "__main__":
    ReaderExe.path, ReaderExe.machine = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
