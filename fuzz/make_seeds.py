#!/usr/bin/env python3
"""Cuts the traffic that strace saw (fuzz/capture-seeds.sh) into the seed
corpora of the fuzz targets, each in the input layout of its harness."""
import hashlib
import os
import re
import struct
import sys

CALL = re.compile(r'^(\d+)\s+(recvfrom|sendto|read|write)\((\d+)<([^>]*)>, "((?:\\x[0-9a-f]{2})*)"')
RESULT = re.compile(r'= (-?\d+)')
WRITEV = re.compile(r'^(\d+)\s+writev\((\d+)<((?:\\x[0-9a-f]{2})*)>, \[')
IOV = re.compile(r'iov_base="((?:\\x[0-9a-f]{2})*)"')
MAX_SEEDS = 80
MAX_SEED = 16384


def parse(path, streams, files):
    """Appends the bytes of every socket and file call to its stream."""
    pending = {}
    with open(path, errors='replace') as trace:
        for line in trace:
            line = line.rstrip('\n')
            pid = line.split(' ', 1)[0]
            if line.endswith('<unfinished ...>'):
                pending[pid] = line[:-len('<unfinished ...>')]
                continue
            resumed = re.match(r'^(\d+)\s+<\.\.\. \w+ resumed>(.*)$', line)
            if resumed:
                line = pending.pop(pid, '') + resumed.group(2)
            vector = WRITEV.match(line)
            if vector:  # file writes of the C++ streams come as writev
                target = bytes.fromhex(vector.group(3).replace('\\x', '')).decode(errors='replace')
                data = b''.join(bytes.fromhex(part.replace('\\x', '')) for part in IOV.findall(line))
                files.setdefault(target, bytearray()).extend(data)
                continue
            call = CALL.match(line)
            result = RESULT.search(line[call.end():]) if call else None
            if not call or not result or int(result.group(1)) <= 0:
                continue
            _, name, _, target, text = call.groups()
            if target.startswith('\\x'):  # strace -xx escapes the path too
                target = bytes.fromhex(target.replace('\\x', '')).decode(errors='replace')
            data = bytes.fromhex(text.replace('\\x', ''))[:int(result.group(1))]
            if target.startswith('socket:'):
                way = 'out' if name in ('sendto', 'write') else 'in'
                streams.setdefault((path, target, way), bytearray()).extend(data)
            elif name == 'write':
                files.setdefault(target, bytearray()).extend(data)


def zltp_packets(stream):
    at = 0
    while len(stream) - at >= 16:
        length = struct.unpack_from('<I', stream, at + 4)[0]
        if stream[at + 2:at + 4] != b'\x10\x00' or at + 16 + length > len(stream):
            return
        yield bytes(stream[at:at + 16 + length])
        at += 16 + length


def frames(stream):
    """The frames of a cable stream (start marker and length), with their type."""
    at = 0
    while True:
        at = stream.find(b'\x10\x01', at)
        if at < 0 or at + 6 > len(stream):
            return
        kind, length = struct.unpack_from('<HH', stream, at + 2)
        if length > 2000:
            at += 2
            continue
        yield at, kind, bytes(stream[at + 6:at + 6 + length])
        at += 6 + length + 4


def chunks(data, size):
    """The harness layout of fed bytes: each chunk after its length - 1."""
    out = bytearray()
    for at in range(0, len(data), size):
        piece = data[at:at + size]
        out.append(len(piece) - 1)
        out.extend(piece)
    return bytes(out)


def groups(items, count):
    for at in range(0, len(items), count):
        yield b''.join(items[at:at + count])


def write_corpus(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    unique = {}
    for seed in seeds:
        if 0 < len(seed) <= MAX_SEED:
            unique.setdefault(hashlib.sha1(seed).hexdigest(), seed)
    chosen = sorted(unique.items(), key=lambda item: (len(item[1]), item[0]))
    if len(chosen) > MAX_SEEDS:  # spread over the sizes
        step = len(chosen) / MAX_SEEDS
        chosen = [chosen[int(i * step)] for i in range(MAX_SEEDS)]
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    for digest, seed in chosen:
        with open(os.path.join(folder, digest), 'wb') as out:
            out.write(seed)
    print(f'{os.path.basename(folder)}: {len(chosen)} seeds')


def path_field(text, size=128):
    return text.encode().ljust(size, b'\0')


def command_blocks():
    """Parameter areas of the commands, laid out as the socket device makes
    them, with the paths and names the camera API tests use (command blocks
    live in shared memory, where strace sees nothing). Each seed is the index
    of its code in the harness's table, then the area."""
    progress = struct.pack('<III', 0, 1, 1)
    pid = struct.pack('<I', 4242)
    picture = '0:/DCIM/100LUMO01/LUMO0001.JPG'
    areas = [
        (0, b'127.0.0.1'.ljust(16, b'\0') + bytes(8)),                       # 273 open camera
        (1, b''),                                                             # 274 close camera
        (2, b'\x01'),                                                        # 289 format drive 1
        (3, pid + bytes(8)),                                                  # 290 drive list
        (4, b'\x00' + bytes(7)),                                             # 291 capacity
        (6, path_field('0:/DCIM/') + b'WORK'.ljust(13, b'\0')),               # 305 create directory
        (7, path_field('0:/WORK2/') + struct.pack('<I', 0x20000000) + bytes(132)),  # 306 erase directory
        (8, path_field('0:/WORK/') + b'WORK2'.ljust(16, b'\0') + struct.pack('<I', 0)),  # 307 rename
        (10, path_field('0:/WORK/') + path_field('1:/') + struct.pack('<I', 0)),  # 309 copy directory
        (12, pid + path_field('0:/DCIM/100LUMO01/') + b'\x03\0\0\0' + bytes(8)),  # 311 listing
        (14, path_field('0:/DCIM/100LUMO01/*') + struct.pack('<I', 1)),        # 321 erase file
        (20, pid + path_field(picture) + struct.pack('<H', 0) + bytes(2) + bytes(12) + bytes(8)),  # 337
        (20, pid + path_field(picture) + struct.pack('<H', 3) + bytes(2) + progress + bytes(8)),   # 337, dialog
        (22, pid + path_field(picture) + struct.pack('<H', 2) + bytes(2) + progress + bytes(8)),   # 339
        (23, bytes(64)),                                                      # 353 stamp sizes
        (25, pid + struct.pack("<H", 0) + bytes(2) + bytes(12) + bytes(8)),   # 369 get configuration
    ]
    body = b'Sent from the PC by the Lumo demo.\r\n'
    areas.append((21, path_field('1:/S2048.BIN') + struct.pack('<IH', len(body), 0) + bytes(2) + bytes(12) +
                  struct.pack('<I', 1) + body + bytes(4)))                     # 338 send file
    config = b'[ZL1]Quality=3'
    areas.append((26, struct.pack('<IH', len(config), 0) + bytes(2) + bytes(12) + config + bytes(136)))  # 370
    part = b'S' * 300
    areas.append((24, struct.pack('<H', 1) + b'LOGO'.ljust(18, b'\0') + struct.pack('<8I', len(part), 0, 0, 0, 0, 0, 0, 0) +
                  struct.pack('<H', 0) + bytes(2) + bytes(12) + part + bytes(4)))  # 354 send stamp
    return [bytes([index]) + area for index, area in areas]


def main(traces, corpus):
    streams, files = {}, {}
    for name in sorted(os.listdir(traces)):
        parse(os.path.join(traces, name), streams, files)
    seeds = {name: [] for name in ('zltp_packets_fuzz', 'camsim_request_fuzz', 'serial_link_fuzz',
                                   'http_request_fuzz', 'ftp_command_fuzz', 'shot_list_fuzz', 'exif_fuzz')}
    for (_, _, way), stream in streams.items():
        head = bytes(stream[:4])
        if head == b'\x00\x80\x10\x00':  # a camera's replies and data packets
            packets = list(zltp_packets(stream))
            maximum = 8192
            for packet in packets:
                if packet[8:12] == b'\x32\x00\x00\x00' and len(packet) >= 28:
                    maximum = struct.unpack_from('<I', packet, 24)[0]
            for group in groups(packets, 6):
                seeds['zltp_packets_fuzz'].append(struct.pack('<I', maximum) + group)
            for packet in packets:  # pictures that travel as data packets
                body = packet[25:]
                if packet[8:12] == b'\xa2\x00\x00\x00' or body[:2] == b'\xff\xd8':
                    if body[:3] == b'\xff\xd8\xff':
                        seeds['exif_fuzz'].append(body)
        elif head == b'\x00\x00\x10\x00':  # the link host's requests
            packets = [p for p in zltp_packets(stream) if len(p) - 16 <= 16 + 255 * 64]
            for group in groups(packets, 6):
                seeds['camsim_request_fuzz'].append(b'\xff' + chunks(group, 64))
        elif head[:2] == b'\x10\x01':
            found = list(frames(stream))
            if way == 'out':  # the camera's frames, as the PC receives them
                ackflow = bool(found) and len(found[0][2]) > 2
                mode = 3 if ackflow else 0
                starts = [at for at, _, _ in found] + [len(stream)]
                for first in range(0, len(starts) - 1, 3):
                    piece = bytes(stream[starts[first]:starts[min(first + 3, len(starts) - 1)]])
                    seeds['serial_link_fuzz'].append(bytes([mode, 0x1F]) + chunks(piece, 64))
            else:  # the PC's frames: the HTTP requests of its clients
                http = b''.join(payload for _, kind, payload in found if kind == 0x0500)
                for request in re.split(rb'(?<=\r\n\r\n)(?=[A-Z]{3,7} /)', http):
                    if request:
                        seeds['http_request_fuzz'].append(chunks(request, 256))
        elif head == b'USER' and way == 'out':  # the camera's FTP client
            lines = stream.split(b'\r\n')
            for root in (0, 1):
                seeds['ftp_command_fuzz'].append(bytes([root]) + b''.join(
                    bytes([len(l) + 1]) + l + b'\r\n' for l in lines if l and len(l) + 2 <= 128))
    for path, contents in files.items():
        lower = path.lower()
        if lower.endswith('.lst'):
            for locale in (0, 1):
                seeds['shot_list_fuzz'].append(bytes([locale]) + bytes(contents))
        elif lower.endswith(('.jpg', '.jpeg', '.jpe')) and contents[:2] == b'\xff\xd8':
            seeds['exif_fuzz'].append(bytes(contents))
    seeds['command_block_fuzz'] = command_blocks()
    for name, found in seeds.items():
        write_corpus(os.path.join(corpus, name), found)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
