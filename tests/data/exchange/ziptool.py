# Another zip writer and reader for the archive tests, built on python3's zipfile.
#   ziptool.py make ARCHIVE ENTRIES.json [ok|badcrc|half|tail|garbled|comment|baddir|dircomment|nul]
#   ziptool.py list ARCHIVE    -> [[name, [y, m, d, h, min, s], method, size], ...]
#   ziptool.py names ARCHIVE   -> one name a line
#   ziptool.py shared ARCHIVE COUNT SIZE  -> COUNT entries "e0000.bin"... whose directory records
#                                            all point at one deflated body of SIZE zero bytes
# ENTRIES is a list of {"name", "data", "repeat", "method": "stored"|"deflated"|"lzma",
# "symlink"}, or a plain string written as the whole file. "badcrc" spoils every entry's checksum, "half"
# keeps half of the archive, "tail" drops the last ten bytes of its end record, "garbled" turns
# the first deflated block of every entry into one of a reserved type and "comment" adds an
# archive comment of the most bytes a zip comment can hold (65535); "baddir" spoils the
# signature of the first directory record, "dircomment" gives the last one a comment of 65535
# bytes that the file does not hold, "nul" turns every byte "#" into a NUL (zipfile cuts a name
# at a NUL, so names get theirs afterwards).
import json, struct, sys, zipfile, zlib


def make(path, entries, mode):
    if isinstance(entries, str):
        open(path, "wb").write(entries.encode())
        return
    crcs = []
    with zipfile.ZipFile(path, "w") as z:
        for e in entries:
            info = zipfile.ZipInfo(e["name"], (2020, 1, 2, 3, 4, 6))
            info.compress_type = {"deflated": zipfile.ZIP_DEFLATED,
                                  "lzma": zipfile.ZIP_LZMA}.get(e.get("method"),
                                                                  zipfile.ZIP_STORED)
            if e.get("symlink"):
                info.create_system = 3
                info.external_attr = 0o120777 << 16
            data = (e.get("data", "") * e.get("repeat", 1)).encode()
            crcs.append(zlib.crc32(data))
            z.writestr(info, data)
        if mode == "comment":
            z.comment = b"c" * 65535
        starts = [i.header_offset + 30 + len(i.filename.encode()) + len(i.extra)
                  for i in z.infolist()]
    raw = open(path, "rb").read()
    if mode == "badcrc":
        for c in crcs:
            raw = raw.replace(struct.pack("<I", c), struct.pack("<I", c ^ 0x5A5A5A5A))
    elif mode == "half":
        raw = raw[: len(raw) // 2]
    elif mode == "tail":
        raw = raw[:-10]
    elif mode == "baddir":
        raw = raw.replace(b"PK\x01\x02", b"PK\x01\x00", 1)
    elif mode == "dircomment":
        at = raw.rindex(b"PK\x01\x02") + 32
        raw = raw[:at] + struct.pack("<H", 0xFFFF) + raw[at + 2:]
    elif mode == "nul":
        raw = raw.replace(b"#", b"\0")
    elif mode == "garbled":
        raw = bytearray(raw)
        for start in starts:
            raw[start] = 0x07
        raw = bytes(raw)
    open(path, "wb").write(raw)


def infos(path):
    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            sys.exit(2)
        return z.infolist()


def shared(path, count, size):
    body = zlib.compressobj(9, zlib.DEFLATED, -15)
    data = body.compress(bytes(size)) + body.flush()
    crc = zlib.crc32(bytes(size))
    name = b"e0000.bin"
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x21, crc, len(data), size,
                        len(name), 0) + name + data
    central = b""
    for i in range(count):
        entry = b"e%04d.bin" % i
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0x21, crc,
                               len(data), size, len(entry), 0, 0, 0, 0, 0, 0) + entry
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(central), len(local), 0)
    open(path, "wb").write(local + central + end)


sys.stdout.reconfigure(encoding="utf-8")
command, path = sys.argv[1], sys.argv[2]
if command == "make":
    make(path, json.load(open(sys.argv[3], encoding="utf-8")), sys.argv[4])
elif command == "shared":
    shared(path, int(sys.argv[3]), int(sys.argv[4]))
elif command == "list":
    print(json.dumps([[i.filename, list(i.date_time), i.compress_type, i.file_size]
                      for i in infos(path)]))
else:
    print("".join(i.filename + "\n" for i in infos(path)), end="")
