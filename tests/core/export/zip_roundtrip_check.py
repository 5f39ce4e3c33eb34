#!/usr/bin/python3
"""Runs zip_roundtrip_gen, tests its archive with unzip and reads it back with Python's
zipfile: every entry must be there, in order, with its exact bytes and a matching CRC.

Usage: zip_roundtrip_check.py <zip_roundtrip_gen> <work folder>
"""
import json
import os
import subprocess
import sys
import zipfile


def main():
    gen, work = sys.argv[1:3]
    os.makedirs(work, exist_ok=True)
    subprocess.run([gen, work], check=True)
    path = os.path.join(work, "archive.zip")
    with open(os.path.join(work, "manifest.json"), encoding="ascii") as f:
        names = [bytes.fromhex(n).decode("utf-8") for n in json.load(f)]
    errors = []

    unzip = subprocess.run(["unzip", "-t", path], capture_output=True, encoding="utf-8",
                           errors="replace")
    if unzip.returncode != 0 or "No errors detected" not in unzip.stdout:
        errors.append("unzip -t failed:\n" + unzip.stdout + unzip.stderr)

    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            errors.append(f"bad CRC in {z.testzip()}")
        infos = z.infolist()
        if [i.filename for i in infos] != names:
            errors.append(f"names {[i.filename for i in infos]} != {names}")
        for index, info in enumerate(infos):
            with open(os.path.join(work, f"entry{index}.bin"), "rb") as f:
                want = f.read()
            if z.read(info) != want:
                errors.append(f"{info.filename}: content differs")
            if info.date_time != (2024, 5, 3, 14, 7, 8):
                errors.append(f"{info.filename}: time {info.date_time}")
            if info.compress_type not in (zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED):
                errors.append(f"{info.filename}: method {info.compress_type}")
            if info.compress_type == zipfile.ZIP_DEFLATED and info.compress_size >= len(want):
                errors.append(f"{info.filename}: deflated but not smaller")
            if not info.flag_bits & 0x800:
                errors.append(f"{info.filename}: UTF-8 flag missing")

    if errors:
        print("\n".join(errors))
        return 1
    print(f"{len(names)} entries read back intact")
    return 0


if __name__ == "__main__":
    sys.exit(main())
