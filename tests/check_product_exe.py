#!/usr/bin/env python3
"""Checks the built installer as Windows will see it: a 32-bit GUI PE importing only system
DLLs, with the version block, the program icon and an asInvoker manifest.
Usage: check_product_exe.py INSTALLER.exe OBJDUMP"""
import struct
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll", "oleaut32.dll",
               "shell32.dll", "shlwapi.dll", "advapi32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message)
    if not condition:
        failures.append(message)


def sections(data, pe):
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    first = pe + 24 + optional_size
    for i in range(count):
        name, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, first + 40 * i)
        yield name.rstrip(b"\0"), vaddr, max(vsize, rsize), raddr


def resources(data, pe):
    """{type: {name: [bytes of each language]}} from the .rsrc section."""
    rsrc = next((s for s in sections(data, pe) if s[0] == b".rsrc"), None)
    if not rsrc:
        return {}
    _, vaddr, _, raddr = rsrc

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, raddr + offset + 12)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", data, raddr + offset + 16 + 8 * i)
            yield key, target

    result = {}
    for type_id, type_dir in entries(0):
        for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
            for _, leaf in entries(name_dir & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, raddr + leaf)
                blob = data[raddr + rva - vaddr: raddr + rva - vaddr + size]
                result.setdefault(type_id, {}).setdefault(name_id, []).append(blob)
    return result


def version_strings(blob):
    text = blob.decode("utf-16-le", errors="replace")
    keys = ["Comments", "CompanyName", "FileDescription", "LegalCopyright", "ProductName"]
    values = {}
    for key in keys:
        at = text.find(key + "\0")
        if at >= 0:
            rest = text[at + len(key) + 1:].lstrip("\0")
            values[key] = rest.split("\0", 1)[0]
    return values


def main():
    path, objdump = sys.argv[1], sys.argv[2]
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    check(data[pe:pe + 4] == b"PE\0\0", "PE signature")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    check(machine == 0x14C, "machine is i386 (0x%x)" % machine)
    magic, = struct.unpack_from("<H", data, pe + 24)
    check(magic == 0x10B, "PE32 optional header (0x%x)" % magic)
    subsystem, = struct.unpack_from("<H", data, pe + 24 + 68)
    check(subsystem == 2, "Windows GUI subsystem (%d)" % subsystem)

    dump = subprocess.run([objdump, "-p", path], capture_output=True, text=True, check=True).stdout
    dlls = {line.split("DLL Name:")[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
    check(dlls and dlls <= SYSTEM_DLLS, "imports only system DLLs: %s" % sorted(dlls))

    res = resources(data, pe)
    version = res.get(RT_VERSION, {}).get(1, [b""])[0]
    fixed = version.find(struct.pack("<I", 0xFEEF04BD))
    if fixed >= 0:
        ms, ls, pms, pls = struct.unpack_from("<IIII", version, fixed + 8)
        check((ms, ls) == (0x60000, 0), "file version 6.0.0.0")
        check((pms, pls) == (0x60000, 0), "product version 6.0.0.0")
    else:
        check(False, "version block present")
    strings = version_strings(version)
    check(len(strings) == 5 and all(v == "安装程序" for v in strings.values()),
          "every version text reads 安装程序: %s" % strings)
    check("080404b0" in version.decode("utf-16-le", errors="replace"), "version strings in Chinese (PRC)")

    groups = res.get(RT_GROUP_ICON, {})
    icon_group = None
    for name, blobs in groups.items():
        icon_group = blobs[0]
    if icon_group:
        count, = struct.unpack_from("<H", icon_group, 4)
        sizes = sorted((icon_group[6 + 14 * i] or 256) for i in range(count))
        bits = {struct.unpack_from("<H", icon_group, 6 + 14 * i + 6)[0] for i in range(count)}
        check(count == 8 and sizes[0] == 16 and sizes[-1] == 128 and bits == {32},
              "program icon: eight 32-bit images from 16 to 128 px (%s, %s bits)" % (sizes, bits))
    else:
        check(False, "program icon group present")
    manifest = b"".join(b for blobs in res.get(RT_MANIFEST, {}).values() for b in blobs)
    check(b'level="asInvoker"' in manifest, "manifest asks for no elevation (asInvoker)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
