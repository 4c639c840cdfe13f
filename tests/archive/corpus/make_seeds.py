#!/usr/bin/env python3
# Writes the hand-made seed archives of the extractor's fuzz corpus next to
# this script. Each seed is small and reaches a different part of the decoder.
import hashlib, os, struct

HERE = os.path.dirname(os.path.abspath(__file__))
TAG = bytes([0x37, 0x6B, 0x53, 0x74, 0xA0, 0x31, 0x83, 0xD3, 0x8C, 0xB2, 0x28, 0xB0, 0xD3])
# A > 255; JF +1; HALT; OUT; HALT; 0  -- copies its input, ignores the end call.
COPY_PCOMP = bytes([0xEF, 0xFF, 0x2F, 0x01, 0x38, 0x39, 0x38, 0x00])


def header(level, comps=b"", n=0, hcomp=b"", hh=0, hm=0, ph=0, pm=0):
    body = bytes([hh, hm, ph, pm, n]) + comps + b"\0" + hcomp + b"\0"
    return b"zPQ" + bytes([level, 1]) + struct.pack("<H", len(body)) + body


def stored_block(name, comment, data, pcomp=None, tag=True, ph=0, pm=0):
    decoded = (b"\x01" + struct.pack("<H", len(pcomp)) + pcomp if pcomp else b"\x00") + data
    seg = b"\x01" + name + b"\0" + comment + b"\0" + b"\0"
    seg += struct.pack(">I", len(decoded)) + decoded + struct.pack(">I", 0)
    seg += b"\xfd" + hashlib.sha1(data).digest()
    return (TAG if tag else b"") + header(2, ph=ph, pm=pm) + seg + b"\xff"


def journal(files):
    """One transaction: c, one d block holding each file as one fragment, h, i."""
    date = b"20240101120000"
    frags = [content for _, content in files]
    d_data = b"".join(frags) + b"".join(struct.pack("<I", len(f)) for f in frags)
    d_data += struct.pack("<I", 0) + struct.pack("<I", len(frags))
    d = stored_block(b"jDC" + date + b"d0000000001", str(len(d_data)).encode() + b" jDC\x01",
                     d_data, pcomp=COPY_PCOMP, pm=4)
    h_data = struct.pack("<I", len(d))
    for f in frags:
        h_data += hashlib.sha1(f).digest() + struct.pack("<I", len(f))
    i_data = b""
    for k, (name, _) in enumerate(files):
        i_data += struct.pack("<Q", 20240101120000) + name + b"\0"
        i_data += struct.pack("<I", 3) + b"u\xa4\x81" + struct.pack("<II", 1, k + 1)
    c_data = struct.pack("<q", len(d))
    out = b""
    for kind, data in ((b"c", c_data), (b"d", None), (b"h", h_data), (b"i", i_data)):
        if data is None:
            out += d
            continue
        out += stored_block(b"jDC" + date + kind + b"0000000001",
                            str(len(data)).encode() + b" jDC\x01", data)
    return out


def all_components_block():
    comps = bytes([1, 200,            # CONST
                   2, 4, 10,          # CM
                   3, 4,              # ICM
                   4, 4, 8,           # MATCH
                   5, 0, 1, 100,      # AVG
                   6, 4, 1, 2, 20, 255,  # MIX2
                   7, 4, 0, 6, 24, 255,  # MIX
                   8, 4, 2,           # ISSE
                   9, 4, 7, 32, 255]) # SSE
    hcomp = bytes([0x3B, 0x70, 0x0A, 0x19, 0x38])  # HASH *D=A B-- D++ HALT
    data = bytes((k * 37 + 11) & 0xFF or 1 for k in range(64)) + b"\0\0\0\0"
    seg = b"\x01all.bin\x00\x00\x00" + data + b"\xfe"
    return header(1, comps, 9, hcomp, hh=4, hm=4) + seg + b"\xff"


seeds = {
    "journal-two-files.zpaq": journal([(b"dir/a.eds", b"[FileInfo]\r\n"), (b"b.txt", b"42")]),
    "journal-traversal.zpaq": journal([(b"../escape.txt", b"no"), (b"/abs/ok.txt", b"yes")]),
    "streaming-stored.zpaq": stored_block(b"s.txt", b"5", b"hello", tag=False)
                              + stored_block(b"", b"3", b"!!!", tag=False),
    "streaming-pcomp.zpaq": stored_block(b"p.txt", b"3", b"abc", pcomp=COPY_PCOMP, pm=2),
    "all-components.zpaq": all_components_block(),
    "not-zpaq.bin": bytes(range(48)),
}
for name, data in seeds.items():
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
