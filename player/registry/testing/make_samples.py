#!/usr/bin/env python3
"""Writes the sample backups of the player's settings that earlier, Windows
versions of the player made, byte for byte the way they made them:

- esportato_vecchio.reg: the registry text writer of those versions
  ("REGEDIT4", Windows-1252, CR LF). Names and texts are written as stored,
  with no escaping: a double quote or a backslash inside a text stays as it
  is; only a text that starts with a drive path ("C:\\...") has every
  backslash doubled. Blocks go depth first, subkeys in registry order
  (ignoring case), values in the order they were created.
- esportato_vecchio.zuv: the same subtree as a saved registry hive, the
  binary "regf" file that the registry's own save function writes (format
  1.3: a 4 KiB base block, then 4 KiB bins of cells; "lf" subkey lists with
  four-character name hints; one shared security cell; names in Latin-1
  where they fit; text as UTF-16LE with its closing zero; data of four bytes
  or less kept inside the value cell).

Both hold the same settings, so a test can import each and expect the same
store. Run from anywhere: python3 make_samples.py
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SUBTREE = "Software\\VB and VBA Program Settings\\ZUV MediaPlayer"

# The player's settings subtree: (name, [(value name, text)], [subkeys]).
TREE = ("ZUV MediaPlayer", [], [
    ("LIBRO", [], [
        ("CAP01.HTM", [
            ("1", "83"), ("1NOME", "Capitolo primo"), ("1NOMEAUDIO", "cap01.mp3"),
            ("2", "125"), ("2NOME", 'Il "Gattopardo", pagina 2'), ("2NOMEAUDIO", "cap01.mp3"),
            ("3", "7"), ("3NOME", "Perché no; più tardi"), ("3NOMEAUDIO", ""),
            ("4", "300"), ("4NOME", "Parte 1\\Scena 2"), ("4NOMEAUDIO", "cap01b.mp3"),
            ("5", "412"), ("5NOME", "fine\\"), ("5NOMEAUDIO", "cap01b.mp3"),
        ], []),
        ("CAP02.HTM", [
            ("1", "15"), ("1NOME", "Secondo capitolo, inizio"), ("1NOMEAUDIO", "cap02.mp3"),
            ("2", "96"), ("2NOME", "Dialogo \"a due\" nel giardino"), ("2NOMEAUDIO", "cap02.mp3"),
        ], []),
        ("CAP02.HTM#", [("1", "10"), ("1NOME", "dal vecchio elenco"), ("1NOMEAUDIO", "cap02.mp3")], []),
        # Enough bookmarks for the hive to need a second bin.
        ("CAP03.HTM", [(str(n) + suffix, text) for n in range(1, 13) for suffix, text in
                       (("", str(60 * n)), ("NOME", "Minuto %d del terzo capitolo" % n), ("NOMEAUDIO", "cap03.mp3"))],
         []),
        ("CITTÀ.HTM", [("1", "42"), ("1NOME", "La città è viva"), ("1NOMEAUDIO", "città.mp3")], []),
    ]),
    ("Player", [
        ("SavePos", "1"), ("StyleSheet", "2"), ("AvantiIndietro", "10"), ("Volume", "80"),
        ("Versione", "1"), ("AudioOff", "False"), ("Rate", "1,25"),
        ("Brano", "C:\\Libri\\Il Gattopardo\\LIBRO\\CAP01.HTM"), ("BranoPos", "83,5"), ("TempoSp", "3000"),
    ], []),
])


def registry_order(keys):
    return sorted(keys, key=lambda k: k[0].upper())


# The registry text writer of the earlier versions.

def old_text(text):
    drive = len(text) >= 3 and (text[0].isalpha() or text[0] == ",") and text[1:3] == ":\\"
    return text.replace("\\", "\\\\") if drive else text


def old_blocks(key, path, out):
    name, values, subkeys = key
    out.append("[HKEY_CURRENT_USER\\" + path + "]\r\n")
    for value_name, text in values:
        out.append('"' + value_name + '"="' + old_text(text) + '"\r\n')
    out.append("\r\n")
    for sub in registry_order(subkeys):
        old_blocks(sub, path + "\\" + sub[0], out)


def write_reg(path):
    out = ["REGEDIT4\r\n\r\n"]
    old_blocks(TREE, SUBTREE, out)
    with open(path, "wb") as f:
        f.write("".join(out).encode("cp1252"))


# The saved hive.

NONE = 0xFFFFFFFF
STAMP = 0x01C4B0A9D4E3C000  # a FILETIME of 2004
PAGE = 4096


class Bins:
    """Cells laid out in 4 KiB bins; offsets count from the first bin."""

    def __init__(self):
        self.data = bytearray()
        self.free = 0  # room left in the last bin

    def new_bin(self):
        start = len(self.data)
        header = b"hbin" + struct.pack("<IIIIQI", start, PAGE, 0, 0, STAMP if start == 0 else 0, 0)
        self.data += header + bytes(PAGE - len(header))
        self.free = PAGE - len(header)

    def alloc(self, payload_size):
        size = (4 + payload_size + 7) & ~7
        if size > self.free:
            self.close_bin()
            self.new_bin()
        at = len(self.data) - self.free
        struct.pack_into("<i", self.data, at, -size)
        self.free -= size
        return at

    def put(self, cell, offset, raw):
        self.data[cell + 4 + offset:cell + 4 + offset + len(raw)] = raw

    def close_bin(self):
        if self.free:  # the rest of the bin is one free cell
            struct.pack_into("<i", self.data, len(self.data) - self.free, self.free)
            self.free = 0


def hive_name(name):
    try:
        return name.encode("latin-1"), True
    except UnicodeEncodeError:
        return name.encode("utf-16-le"), False


def security_cell(bins):
    # Owner SYSTEM, a DACL that gives SYSTEM full access to the key.
    system = struct.pack("<BB6sI", 1, 1, b"\0\0\0\0\0\5", 18)
    ace = struct.pack("<BBHI", 0, 0, 8 + len(system), 0x000F003F) + system
    acl = struct.pack("<BBHHH", 2, 0, 8 + len(ace), 1, 0) + ace
    descriptor = struct.pack("<BBHIIII", 1, 0, 0x8004, 20, 0, 0, 20 + len(system)) + system + acl
    sk = bins.alloc(20 + len(descriptor))
    bins.put(sk, 0, b"sk" + struct.pack("<HIIII", 0, sk, sk, 0, len(descriptor)) + descriptor)
    return sk


def write_key(bins, key, parent, sk, root):
    name, values, subkeys = key
    raw_name, latin1 = hive_name(name)
    nk = bins.alloc(0x4C + len(raw_name))
    flags = (0x2C if root else 0) | (0x20 if latin1 else 0)
    bins.put(nk, 0, b"nk" + struct.pack("<HQII", flags, STAMP, 0, parent))

    children = []
    for sub in registry_order(subkeys):
        children.append((write_key(bins, sub, nk, sk, False), sub[0]))
    subkey_list = NONE
    if children:
        subkey_list = bins.alloc(4 + 8 * len(children))
        entries = b"".join(struct.pack("<I", cell) + hive_name(n)[0][:4].ljust(4, b"\0") for cell, n in children)
        bins.put(subkey_list, 0, b"lf" + struct.pack("<H", len(children)) + entries)

    value_cells = []
    max_value_name = max_data = 0
    for value_name, text in values:
        raw_value_name, latin1 = hive_name(value_name)
        data = (text + "\0").encode("utf-16-le")
        vk = bins.alloc(0x14 + len(raw_value_name))
        if len(data) <= 4:
            size, where = len(data) | 0x80000000, struct.unpack("<I", data.ljust(4, b"\0"))[0]
        else:
            where = bins.alloc(len(data))
            bins.put(where, 0, data)
            size = len(data)
        bins.put(vk, 0, b"vk" + struct.pack("<HIIIHH", len(raw_value_name), size, where, 1,
                                            1 if latin1 and raw_value_name else 0, 0) + raw_value_name)
        value_cells.append(vk)
        max_value_name = max(max_value_name, 2 * len(value_name))
        max_data = max(max_data, len(data))
    value_list = NONE
    if value_cells:
        value_list = bins.alloc(4 * len(value_cells))
        bins.put(value_list, 0, b"".join(struct.pack("<I", v) for v in value_cells))

    max_subkey_name = max((len(n) * 2 for _, n in children), default=0)
    bins.put(nk, 0x14, struct.pack("<IIIIIIIIIIII", len(children), 0, subkey_list, NONE, len(value_cells),
                                   value_list, sk, NONE, max_subkey_name, 0, max_value_name, max_data))
    bins.put(nk, 0x44, struct.pack("<IHH", 0, len(raw_name), 0) + raw_name)
    return nk


def write_zuv(path):
    bins = Bins()
    bins.new_bin()
    sk = security_cell(bins)
    root = write_key(bins, TREE, 0, sk, True)
    struct.pack_into("<I", bins.data, sk + 4 + 0x0C, count_keys(TREE))  # every key refers to it
    bins.close_bin()

    base = bytearray(PAGE)
    # Equal sequence numbers (saved whole), version 1.3, a primary file in
    # direct memory load format, the root cell, the bins' size, clustering 1.
    struct.pack_into("<4sIIQIIIIIII", base, 0, b"regf", 1, 1, STAMP, 1, 3, 0, 1, root, len(bins.data), 1)
    file_name = "\\ZUVPlayer_Backup.zuv".encode("utf-16-le")
    base[0x30:0x30 + len(file_name)] = file_name
    checksum = 0
    for at in range(0, 0x1FC, 4):
        checksum ^= struct.unpack_from("<I", base, at)[0]
    struct.pack_into("<I", base, 0x1FC, checksum)
    with open(path, "wb") as f:
        f.write(bytes(base) + bytes(bins.data))


def count_keys(key):
    return 1 + sum(count_keys(sub) for sub in key[2])


if __name__ == "__main__":
    write_reg(os.path.join(HERE, "esportato_vecchio.reg"))
    write_zuv(os.path.join(HERE, "esportato_vecchio.zuv"))
