#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made seed corpus: small dumps of each layout, A-scan replies, settings files,
kept downloads and scripted conversations for fuzz_protocol."""
import hashlib
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    with open(os.path.join(here, 'corpus', target, name), 'wb') as f:
        f.write(data)


def layout1(records):
    blocks = [records[i:i + 32] for i in range(0, len(records), 32)]
    out = b'ORBEX\x02\x06\x00\x04\x01' + bytes([len(blocks)])
    for block in blocks:
        raw = b''.join(bytes([g, c, v & 0xFF, (v >> 8) | (0x80 if tenths else 0), 0, kind, 0, 0])
                       for g, c, v, tenths, kind in block)
        out += raw.ljust(256, b'\0') + b'\0'
    return out


def m47_record(g, c, v, fine, inch):
    return struct.pack('<HHHBB', g, c, v, fine, inch)


def layout2(records):
    blocks = [records[i:i + 32] for i in range(0, len(records), 32)]
    out = b'ORBEXM47T' + struct.pack('>H', len(blocks))
    for block in blocks:
        out += b''.join(m47_record(*r) for r in block).ljust(256, b'\0')
    return out


def layout3(records):
    out = b'ORBEXM47T' + struct.pack('>H', (len(records) * 32 + 255) // 256)
    for g, c, v, fine, inch, ascan in records:
        out += (m47_record(g, c, v, fine, inch) + bytes(7) + bytes([ascan])).ljust(32, b'\0')
    return out


def ascan_reply(peak):
    samples = bytes(min(255, max(0, 120 - abs(i - peak) * 3)) for i in range(240))
    params = bytes([40, 60, 90, 30, 0, 1, 20, 200, 50]) + (150).to_bytes(3, 'little') \
        + (2500).to_bytes(3, 'little')
    return samples + params.ljust(144, b'\0')


def kept(dump, ascans, protocol=b'standard', version=1):
    """A kept download: signature, version, description, dump, A-scans, SHA-256 trailer."""
    meta = (b'time=2026-12-06T14:15:03.000+01:00\nport=COM3\nprotocol=' + protocol +
            b'\noutcome=completed\nprogram=4.2\n')
    out = b'CLXD\r\n\x1a\n' + struct.pack('<HHI', version, 0, len(meta)) + meta
    out += struct.pack('<I', len(dump)) + dump + struct.pack('<I', len(ascans))
    for g, c, reply in ascans:
        out += struct.pack('<HH', g, c) + reply
    return out + hashlib.sha256(out).digest()


class Steps:
    """Input for FuzzedDataProvider: strings from the front, numbers from the back."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()

    def integer(self, lo, hi, value, bits=32):
        span, n = hi - lo, 0
        while n * 8 < bits and (span >> (n * 8)) > 0:
            n += 1
        self.back += (value - lo).to_bytes(n, 'big')
        return self

    def flag(self, value):
        self.back.append(1 if value else 0)
        return self

    def text(self, data):
        self.front += data.replace(b'\\', b'\\\\') + b'\\x'
        return self

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


ARRIVE, FILL, POLL, START, FINISH, FIND, ASCAN, LAST = range(8)


def step(s, kind):
    return s.integer(0, LAST - 1, kind)


small2 = layout2([(1, c, 100 + c, c % 2, 0) for c in range(1, 40)] + [(3, 1, 5, 0, 1)])
small3 = layout3([(1, 1, 123, 1, 0, 1), (1, 2, 456, 0, 0, 0), (2, 1, 789, 0, 1, 1)])

put('fuzz_dump', 'layout1', layout1([(1, c, 50 * c, c % 2, c % 3) for c in range(1, 40)]))
put('fuzz_dump', 'layout2', small2)
put('fuzz_dump', 'layout3', small3)
put('fuzz_dump', 'layout2-group300', layout2([(300, 1, 16, 0, 0)]))
put('fuzz_ascanreply', 'reply', ascan_reply(60))
put('fuzz_ascanreply', 'reply-short', ascan_reply(60)[:200])
put('fuzz_kept', 'layout2', kept(small2, []))
put('fuzz_kept', 'layout3-ascans',
    kept(small3, [(1, 1, ascan_reply(40)), (2, 1, ascan_reply(90))], b'extended'))
put('fuzz_kept', 'newer-version', kept(small2, [], version=2))
put('fuzz_kept', 'bare-layout1', layout1([(2, c, 7 * c, 0, 1) for c in range(1, 9)]))
put('fuzz_settings', 'full',
    b'Collatrix Settings File\r\nLanguage:Rus\r\nVersion:4.2\r\nCOMSpeed:9600\r\n'
    b'COMPort:COM4\r\nDataPath:/tmp/Data/\r\n')
put('fuzz_settings', 'short-lf', b'Collatrix Settings File\nLanguage:Eng\nVersion:4.2\nCOMSpeed:-1\n')

# Search, transfer of a layout-2 dump in two chunks, then an A-scan request.
s = Steps().flag(False)
step(s, FIND).text(b'Tarn Qellix')
step(s, START).flag(False).text(small2[:300])
step(s, POLL).integer(1, 1300, 1)
step(s, ARRIVE).text(small2[300:])
step(s, POLL).integer(1, 1300, 4)
step(s, FINISH)
step(s, ASCAN).flag(False).text(ascan_reply(30)).integer(0, 300, 1).integer(0, 70000, 2)
put('fuzz_protocol', 'search-transfer-ascan', s.bytes())

# Extended transfer with garbage before the header, then a reply cut short.
s = Steps().flag(True)
step(s, START).flag(False).text(b'\x00\xffnoise')
step(s, POLL).integer(1, 1300, 1)
step(s, ARRIVE).text(small3)
step(s, POLL).integer(1, 1300, 3)
step(s, FINISH)
step(s, ASCAN).flag(False).text(ascan_reply(80)[:300]).integer(0, 300, 2).integer(0, 70000, 1)
put('fuzz_protocol', 'garbage-then-extended', s.bytes())
