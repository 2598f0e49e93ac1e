#!/usr/bin/env python3
"""Packs and unpacks the portable Windows zip.

    windows-zip.py pack FOLDER ZIP     every file below FOLDER, named relative to it
    windows-zip.py unpack ZIP FOLDER

Names such as LANGUAGE/Français.lng are stored as UTF-8 with the zip's UTF-8 flag, which
Windows' own unpacker reads; Info-ZIP's zip sets it only under a UTF-8 locale. Entries are
sorted and dated 2026-01-01, so the same files give the same zip.
"""
import os
import sys
import zipfile
from pathlib import Path


def pack(folder, target):
    folder = Path(folder)
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in sorted(folder.rglob("*")):
            name = path.relative_to(folder).as_posix()
            if path.is_dir():
                name += "/"
            info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
            info.create_system = 0  # MS-DOS attributes, as a Windows packer writes them
            if path.is_dir():
                info.external_attr = 0x10
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes())


def unpack(source, folder):
    os.makedirs(folder, exist_ok=True)
    with zipfile.ZipFile(source) as archive:
        for info in archive.infolist():
            if info.flag_bits & 0x800 == 0 and not info.filename.isascii():
                sys.exit(f"windows-zip: {info.filename!r} is stored without the UTF-8 flag")
        archive.extractall(folder)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("pack", "unpack"):
        sys.exit(__doc__)
    (pack if sys.argv[1] == "pack" else unpack)(sys.argv[2], sys.argv[3])
