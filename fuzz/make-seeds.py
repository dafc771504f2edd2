#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/.

Usage: python3 fuzz/make-seeds.py build/tools/vardel-data
The personnel seeds are slices of a `vardel-data demo 3 --seed 7` file; the rest are made here byte by byte.
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def text(value, width):
    return value.encode("cp1252", errors="replace")[:width].ljust(width, b" ")


def blank_personnel():
    r = bytearray(b" " * 5000)
    for at in (0, 8, 282, 290, 298, 306):
        r[at:at + 8] = bytes(8)
    r[4871:4873] = bytes(2)
    r[4998:5000] = bytes(2)
    return bytes(r)


def user(first, last, password, level, comments, created=45000.25):
    return (struct.pack("<d", created) + text(first, 15) + text(last, 20) + text(password, 16) +
            struct.pack("<h", level) + text(comments, 439))


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([tool, "--data-dir", folder, "demo", "3", "--seed", "7"], check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(folder, "Vardel.Data"), "rb") as f:
            demo = f.read()
    slots = [demo[i * 5000:(i + 1) * 5000] for i in range(3)]

    for i, slot in enumerate(slots, 1):
        put("fuzz_personnel_record", "demo-slot-%d" % i, slot)
    put("fuzz_personnel_record", "blank", blank_personnel())
    put("fuzz_personnel_record", "cut-off", slots[0][:2600])
    odd = bytearray(slots[1])
    odd[0:8] = struct.pack("<d", float("nan"))
    odd[282:290] = struct.pack("<d", 1e300)
    odd[306:314] = struct.pack("<d", -1e300)
    odd[16:21] = b"\x81\x8d\x8f\x90\x9d"
    odd[354:358] = b"\r\n\x00\xff"
    put("fuzz_personnel_record", "odd-values", bytes(odd))
    put("fuzz_personnel_record", "all-ff", b"\xff" * 5000)

    put("fuzz_user_record", "valid", user("Siobh\u00e1n", "O'Brien", "a1b2c3d4", 4, "Records supervisor"))
    put("fuzz_user_record", "blank", user("", "", "", 0, "", 0.0))
    put("fuzz_user_record", "killed", user("$Killed$", "Smith", "x9y8", 1, "line 1\r\nline 2"))
    put("fuzz_user_record", "cut-off", user("Mei", "Chen", "Q1w2E3r4", 2, "x" * 439)[:260])
    put("fuzz_user_record", "odd-level", user("Zo\u00eb", "Kim", "1234", -32768, "", float("inf"))[:61] + b"\x81\x8d" * 219 + b"\x9d")

    put("fuzz_data_file", "empty", b"")
    put("fuzz_data_file", "three-slots", demo)
    put("fuzz_data_file", "cut-7600", demo[:7600])
    put("fuzz_data_file", "half-12500", demo[:12500])
    put("fuzz_data_file", "under-half-12400", demo[:12400])
    put("fuzz_data_file", "under-half-2499", demo[:2499])

    # Older 2000-byte records, made by `vardel-data make-old 3 --seed 7`.
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([tool, "--data-dir", folder, "make-old", "3", "--seed", "7"], check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(folder, "Vardel.Data"), "rb") as f:
            older = f.read()
    for i in range(3):
        put("fuzz_old_personnel_record", "old-slot-%d" % (i + 1), older[i * 2000:(i + 1) * 2000])
    put("fuzz_old_personnel_record", "cut-off", older[:1100])
    put("fuzz_old_personnel_record", "all-ff", b"\xff" * 2000)

    dates = ["3/7/2010", "03-07-2010", "3/7/10", "3/7/30", "March 7, 2010", "Mar 7 2010", "7-Mar-2010",
             "7 March 2010", "2010-03-07", "  2/29/2000 ", "2/29/1900", "13/1/2010", "", "12/31/9999",
             "1/1/100", "0/0/0", "Sept 31, 2020", "\u00e9t\u00e9 2010"]
    for i, d in enumerate(dates):
        put("fuzz_date_entry", "date-%02d" % i, d.encode("utf-8"))


if __name__ == "__main__":
    main()
