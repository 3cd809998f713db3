#!/usr/bin/env python3
"""Checks what Windows reads of mowa.exe before running it: the machine, the
GUI subsystem, that only Windows' own DLLs are imported, and the resources
(icon group 107 of one 32x32 16-colour image in Japanese, 1041; a version;
a manifest declaring per-monitor DPI awareness).

usage: check_program_file.py MOWA.EXE x86_64|i686
"""
import struct
import sys

MACHINES = {"x86_64": 0x8664, "i686": 0x014C}
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
LANG_JAPANESE = 1041

problems = []


def check(ok, what):
    if not ok:
        problems.append(what)


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        check(data[pe:pe + 4] == b"PE\0\0", "no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        table = opt + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError(f"address {rva:#x} in no section")

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        rva = self.directories[1][0]
        names = []
        while True:
            entry = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if entry[3] == 0:
                return names
            names.append(self.string(entry[3]).lower())
            rva += 20

    def resources(self):
        """{(type, name, language): bytes}"""
        base_rva = self.directories[2][0]
        base = self.offset(base_rva)
        found = {}

        def walk(at, path):
            named, ids = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                key = path + (ident if ident < 0x80000000 else f"name@{ident:#x}",)
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), key)
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    found[key] = self.data[self.offset(rva):self.offset(rva) + size]

        walk(base, ())
        return found


def main():
    path, arch = sys.argv[1], sys.argv[2]
    pe = Pe(open(path, "rb").read())
    check(pe.machine == MACHINES[arch], f"machine {pe.machine:#x}, not {arch}")
    check(pe.subsystem == 2, f"subsystem {pe.subsystem}, not the GUI (2)")
    extra = set(pe.imported_dlls()) - WINDOWS_DLLS
    check(not extra, f"needs DLLs that Windows does not have: {sorted(extra)}")

    res = pe.resources()
    groups = {k: v for k, v in res.items() if k[0] == RT_GROUP_ICON}
    check(list(groups) == [(RT_GROUP_ICON, 107, LANG_JAPANESE)],
          f"icon groups {list(groups)}, not one of 107 in language {LANG_JAPANESE}")
    for group in groups.values():
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        check(kind == 1 and count == 1, f"icon group of {count} images")
        width, height, colours, _, _, bits, size, icon_id = struct.unpack_from(
            "<BBBBHHIH", group, 6)
        check((width, height, colours, bits) == (32, 32, 16, 4),
              f"icon {width}x{height}, {colours} colours, {bits} bits")
        image = res.get((RT_ICON, icon_id, LANG_JAPANESE))
        check(image is not None and len(image) == size, "the icon's image is missing")
        if image:
            header = struct.unpack_from("<IiiHH", image, 0)
            check(header == (40, 32, 64, 1, 4), f"icon image header {header}")
    version = [v for k, v in res.items() if k[0] == RT_VERSION]
    check(len(version) == 1 and "mowa.exe".encode("utf-16-le") in version[0],
          "no version resource naming mowa.exe")
    manifest = [v for k, v in res.items() if k[0] == RT_MANIFEST and k[1] == 1]
    check(len(manifest) == 1 and b"PerMonitorV2" in manifest[0],
          "no manifest declaring per-monitor DPI awareness")
    if problems:
        print(f"{path}:", *problems, sep="\n  ")
        sys.exit(1)
    print(f"{path}: {arch}, GUI, Windows' own DLLs, icon 107 (1041), version, manifest")


if __name__ == "__main__":
    main()
