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
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "msvcrt.dll",
                "ole32.dll", "shell32.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
LANG_JAPANESE = 1041


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        self.signature = data[pe:pe + 4]
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if struct.unpack_from("<H", data, opt)[0] == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = [struct.unpack_from("<8sIIII", data, opt + optional_size + 40 * i)[1:]
                         for i in range(sections)]

    def at(self, rva):
        for vsize, vaddr, rsize, raddr in self.sections:
            if vaddr <= rva < vaddr + max(vsize, rsize):
                return rva - vaddr + raddr
        raise ValueError(f"address {rva:#x} in no section")

    def imported_dlls(self):
        names, rva = [], self.directories[1][0]
        while (name := struct.unpack_from("<IIIII", self.data, self.at(rva))[3]) != 0:
            start = self.at(name)
            names.append(self.data[start:self.data.index(b"\0", start)].decode("ascii").lower())
            rva += 20
        return names

    def resources(self):
        """{(type, name, language): bytes}"""
        base, found = self.at(self.directories[2][0]), {}

        def walk(at, path):
            named, ids = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                key = path + (ident if ident < 0x80000000 else f"name@{ident:#x}",)
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), key)
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    found[key] = self.data[self.at(rva):self.at(rva) + size]

        walk(base, ())
        return found


def problems(pe, arch):
    yield pe.signature == b"PE\0\0", "no PE signature"
    yield pe.machine == MACHINES[arch], f"machine {pe.machine:#x}, not {arch}"
    yield pe.subsystem == 2, f"subsystem {pe.subsystem}, not the GUI (2)"
    extra = set(pe.imported_dlls()) - WINDOWS_DLLS
    yield not extra, f"needs DLLs that Windows does not have: {sorted(extra)}"
    res = pe.resources()
    groups = {k: v for k, v in res.items() if k[0] == RT_GROUP_ICON}
    yield list(groups) == [(RT_GROUP_ICON, 107, LANG_JAPANESE)], \
        f"icon groups {list(groups)}, not one of 107 in language {LANG_JAPANESE}"
    for group in groups.values():
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        yield kind == 1 and count == 1, f"icon group of {count} images"
        width, height, colours, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        yield (width, height, colours, bits) == (32, 32, 16, 4), \
            f"icon {width}x{height}, {colours} colours, {bits} bits"
        image = res.get((RT_ICON, icon_id, LANG_JAPANESE))
        yield image is not None and len(image) == size, "the icon's image is missing"
        header = image and struct.unpack_from("<IiiHH", image, 0)
        yield not image or header == (40, 32, 64, 1, 4), f"icon image header {header}"
    version = [v for k, v in res.items() if k[0] == RT_VERSION]
    yield len(version) == 1 and "mowa.exe".encode("utf-16-le") in version[0], \
        "no version resource naming mowa.exe"
    manifest = [v for k, v in res.items() if k[0] == RT_MANIFEST and k[1] == 1]
    yield len(manifest) == 1 and b"PerMonitorV2" in manifest[0], \
        "no manifest declaring per-monitor DPI awareness"


if __name__ == "__main__":
    path, arch = sys.argv[1], sys.argv[2]
    found = [what for ok, what in problems(Pe(open(path, "rb").read()), arch) if not ok]
    if found:
        sys.exit("\n  ".join([f"{path}:"] + found))
    print(f"{path}: {arch}, GUI, Windows' own DLLs, icon 107 (1041), version, manifest")
