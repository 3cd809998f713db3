#!/usr/bin/env python3
# Checks what Windows reads of mowa.exe before running it: the machine, the
# GUI subsystem, that only Windows' own DLLs are imported, and the resources
# (icon group 107 of one 32x32 16-colour image in Japanese, 1041; a version;
# a manifest declaring per-monitor DPI awareness).
#
# usage: check_program_file.py MOWA.EXE x86_64|i686   (Debian's python3-pefile)

import struct
import sys

import pefile

MACHINES = {"x86_64": 0x8664, "i686": 0x014C}
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "msvcrt.dll",
                "ole32.dll", "shell32.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
LANG_JAPANESE = 1041


def resources(pe):
    """{(type, name, language): bytes}; a named entry's name is None."""
    return {(kind.id, name.id, lang.id): pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
            for kind in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", pefile.ResourceDirData(entries=[])).entries
            for name in kind.directory.entries for lang in name.directory.entries}


def problems(pe, arch):
    yield pe.FILE_HEADER.Machine == MACHINES[arch], f"machine {pe.FILE_HEADER.Machine:#x}, not {arch}"
    yield pe.OPTIONAL_HEADER.Subsystem == 2, f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, not the GUI (2)"
    extra = {entry.dll.decode("ascii").lower() for entry in pe.DIRECTORY_ENTRY_IMPORT} - WINDOWS_DLLS
    yield not extra, f"needs DLLs that Windows does not have: {sorted(extra)}"
    res = resources(pe)
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
    found = [what for ok, what in problems(pefile.PE(path), arch) if not ok]
    if found:
        sys.exit("\n  ".join([f"{path}:"] + found))
    print(f"{path}: {arch}, GUI, Windows' own DLLs, icon 107 (1041), version, manifest")
