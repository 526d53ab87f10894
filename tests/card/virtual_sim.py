#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""A SIM card for tests, behind a real pcscd: a GSM SIM (class A0 commands),
a UICC with a USIM (class 00: FCP, EF DIR, ADF.USIM, EF ARR, key
references), or a card that answers both.

The rig starts pcscd in the foreground with a reader of Debian's vpcd driver
(vsmartcard-vpcd), which gives two slots, "<name> 00 00" and "<name> 00 01",
each waiting for a card on its own TCP port. A card is a JSON image: files,
access conditions, PIN counters and faults to play. Every change the card
makes is written back to its image, so a test reads what the card holds
without trusting the code under test.

    virtual_sim.py rig            prints one JSON line, then reads commands:
                                  insert SLOT IMAGE | remove SLOT | quit
    The first line is {"socket": PATH, "readers": [A, B]} or {"skip": WHY}.

An image's "classes" lists what the card answers: ["A0"] (the default), ["00"]
(a UICC without the 2G mode) or both. In class 00 the ADF.USIM is the folder
"3F00/7FFF" of the image (also reached by its AID, "aid"); a file's "arr"
names its EF ARR record (8B), else its access rule is sent expanded (AB).
PIN1 and PIN2 are "chv" 1 and 2 in both classes (key references 01 and 81).
A file with "invalidated" true is deactivated: its SELECT says so and reading
or writing it is refused.

vpcd's socket protocol: each message is a 2-byte big-endian length and its
bytes; a one-byte message is a control (0 power off, 1 power on, 2 reset,
4 ATR wanted), anything longer a command APDU, answered by its response.
"""
import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

ACCESS = {"ALW": 0, "CHV1": 1, "CHV2": 2, "ADM": 4, "NEV": 15}
STRUCTURE = {"transparent": 0, "linear": 1, "cyclic": 3}
# Class 00: file descriptor bytes, key references of the PIN levels, security conditions.
DESCRIPTOR = {"transparent": 0x41, "linear": 0x42, "cyclic": 0x46}
KEY_LEVEL = {0x01: 1, 0x81: 2}
CONDITION = {"ALW": "9000", "CHV1": "A406830101950108", "CHV2": "A406830181950108",
             "ADM": "A40683010A950108", "NEV": "9700"}


def tlv(tag, value):
    return bytes([tag, len(value)]) + value


class Card:
    def __init__(self, path):
        self.path = path
        with open(path) as f:
            self.image = json.load(f)
        self.faults = self.image.get("faults", {})
        self.updates = 0
        self.verified = set()
        self.df = "3F00"
        self.ef = None
        self.record = 0
        self.pending = b""
        self.pulled = False
        self.uicc = False  # the class of the command in hand is 00

    def save(self):
        tmp = self.path + ".tmp"
        with open(tmp, "w") as f:
            json.dump(self.image, f, indent=1)
        os.replace(tmp, self.path)

    def files(self):
        return self.image["files"]

    def chv(self, n):
        return self.image["chv"].get(str(n))

    # --- selection --------------------------------------------------------
    def resolve(self, fid):
        files = self.files()
        parent = self.df.rsplit("/", 1)[0] if "/" in self.df else self.df
        for path in ("3F00" if fid == "3F00" else None, self.df + "/" + fid, "3F00/" + fid,
                     parent if parent.endswith(fid) else None, self.df if self.df.endswith(fid) else None):
            if path and path in files:
                return path
        return None

    def dir_response(self, path):
        node = self.files()[path]
        kind = 1 if path == "3F00" else 2
        children = [p for p in self.files() if p.rsplit("/", 1)[0] == path and p != path]
        dfs = sum(1 for p in children if "structure" not in self.files()[p])
        status = []
        for n in (1, 2):
            c = self.chv(n) or {}
            status.append((0x80 if c else 0) | (c.get("tries", 0) & 0x0F))
            status.append(0x8A)  # unblock code: initialised, ten tries
        chars = 0x80 if not (self.chv(1) or {}).get("enabled", True) else 0x00
        fid = bytes.fromhex(path[-4:])
        return bytes([0, 0, 0x10, 0x00]) + fid + bytes([kind, 0, 0, 0, 0, 0, 10, chars | node.get("characteristics", 0x01),
                                                           dfs, len(children) - dfs, 4, 0]) + bytes(status) + b"\x00"

    def ef_response(self, path):
        node = self.files()[path]
        structure = self.faults.get("structure", {}).get(path[-4:], node["structure"])
        size = self.ef_size(node)
        access = bytes([(ACCESS[node.get("read", "ALW")] << 4) | ACCESS[node.get("update", "ADM")], 0x44, 0x44])
        status = 0x00 if node.get("invalidated") else 0x01  # b1 clear: invalidated
        return bytes([0, 0]) + struct.pack(">H", size) + bytes.fromhex(path[-4:]) + bytes([4, 0]) + access + \
            bytes([status, 2, STRUCTURE[structure], node.get("record_length", 0)])

    @staticmethod
    def ef_size(node):
        if node["structure"] == "transparent":
            return len(bytes.fromhex(node["data"]))
        return len(node["records"]) * node["record_length"]

    # --- commands ---------------------------------------------------------
    def sw(self, gsm, uicc):
        """The status word of the class in use: a GSM SIM's or a UICC's."""
        return bytes.fromhex(uicc if self.uicc else gsm)

    def allowed(self, node, what):
        need = ACCESS[node.get(what, "ADM" if what == "update" else "ALW")]
        if need == 0:
            return True
        if need == 1 and not self.chv(1).get("enabled", True):
            return True
        return need in (1, 2) and need in self.verified

    def apdu(self, c):
        if len(c) < 4:
            return b"\x67\x00"
        cla, ins, p1, p2 = c[0], c[1], c[2], c[3]
        p3 = c[4] if len(c) > 4 else 0
        data = c[5:5 + p3]
        if "%02X" % cla not in self.image.get("classes", ["A0"]):
            return b"\x6e\x00"
        self.uicc = cla == 0x00
        if ins == 0xA4:
            return self.select_uicc(p1, p2, data) if self.uicc else self.select_gsm(data)
        if ins == 0xC0:
            return self.get_response(p3)
        if ins == 0x20:
            return self.verify(p2, None if self.uicc and len(c) <= 5 else data)
        if ins in (0xB0, 0xD6, 0xB2, 0xDC):
            return self.read_or_update(ins, p1, p2, p3, data)
        return b"\x6d\x00"

    def select(self, path):
        node = self.files()[path]
        if "structure" in node:
            self.ef, self.record = path, (1 if node["structure"] == "cyclic" else 0)
        else:
            self.df, self.ef = path, None
        return node

    def select_gsm(self, data):
        path = self.resolve(data.hex().upper())
        if not path:
            return b"\x94\x04"
        node = self.select(path)
        self.pending = self.ef_response(path) if "structure" in node else self.dir_response(path)
        return bytes([0x9F, len(self.pending)])

    def select_uicc(self, p1, p2, data):
        fid = data.hex().upper()
        if p1 == 0x04:  # by AID, or its first bytes
            path = "3F00/7FFF" if data and self.image.get("aid", "").startswith(fid) else None
        elif p1 == 0x00:
            path = "3F00/7FFF" if fid == "7FFF" and "3F00/7FFF" in self.files() else self.resolve(fid)
        else:
            return b"\x6a\x86"
        if not path:
            return b"\x6a\x82"
        node = self.select(path)
        self.pending = self.fcp(path)
        if p2 == 0x0C:
            self.pending = b""
            return b"\x90\x00"
        if node.get("invalidated"):
            return b"\x62\x83"
        return bytes([0x61, len(self.pending)])

    def get_response(self, p3):
        if not self.uicc:
            return self.pending[:p3] + b"\x90\x00"
        if not self.pending:
            return b"\x69\x85"
        if p3 == 0 or p3 > len(self.pending):
            return bytes([0x6C, len(self.pending)])
        answer, self.pending = self.pending[:p3], self.pending[p3:]
        return answer + (bytes([0x61, len(self.pending)]) if self.pending else b"\x90\x00")

    def verify(self, key, data):
        """Class A0 names the PIN by its number, class 00 by its key reference;
        there VERIFY without a PIN asks for the tries left."""
        level = KEY_LEVEL.get(key) if self.uicc else key
        c = self.chv(level) if level else None
        if not c or (not self.uicc and len(data) != 8):
            return self.sw("6B00", "6A88")
        if not self.uicc and level == 1 and not c.get("enabled", True):
            return b"\x98\x08"
        if c["tries"] == 0:
            return self.sw("9840", "6983")
        if data is None:
            if level in self.verified or (level == 1 and not c.get("enabled", True)):
                return b"\x90\x00"
            return bytes([0x63, 0xC0 | c["tries"]])
        if len(data) != 8:
            return b"\x67\x00"
        if data == c["code"].encode().ljust(8, b"\xff"):
            c["tries"] = c.get("max", 3)
            self.verified.add(level)
            self.save()
            return b"\x90\x00"
        c["tries"] -= 1
        self.save()
        if c["tries"] == 0:
            return self.sw("9840", "6983")
        return bytes([0x63, 0xC0 | c["tries"]]) if self.uicc else b"\x98\x04"

    def read_or_update(self, ins, p1, p2, p3, data):
        if not self.ef:
            return self.sw("9400", "6986")
        node = self.files()[self.ef]
        write = ins in (0xD6, 0xDC)
        if node.get("invalidated"):
            return self.sw("9810", "6985")
        if not self.allowed(node, "update" if write else "read"):
            return self.sw("9804", "6982")
        if not write and "read_sw" in self.faults:
            return bytes.fromhex(self.faults["read_sw"])
        if write and self.faults.get("remove_after_updates") is not None and \
                self.updates >= self.faults["remove_after_updates"]:
            self.pulled = True
            return None
        answer = (self.binary if ins in (0xB0, 0xD6) else self.records)(node, ins, p1, p2, p3, data)
        if write and answer[-2:] == b"\x90\x00":
            self.updates += 1
            self.save()
        return answer

    def binary(self, node, ins, p1, p2, p3, data):
        if node["structure"] != "transparent":
            return self.sw("9408", "6981")
        content = bytearray.fromhex(node["data"])
        offset = (p1 << 8) | p2
        if offset + p3 > len(content):
            left = max(0, len(content) - offset)
            return (b"\x6c" if self.uicc and ins == 0xB0 else b"\x67") + bytes([left])
        if ins == 0xB0:
            return bytes(content[offset:offset + p3]) + b"\x90\x00"
        content[offset:offset + p3] = data
        node["data"] = content.hex().upper()
        return b"\x90\x00"

    def records(self, node, ins, p1, p2, p3, data):
        if node["structure"] == "transparent":
            return self.sw("9408", "6981")
        records = node["records"]
        if p3 != node["record_length"]:
            return (b"\x6c" if self.uicc and ins == 0xB2 else b"\x67") + bytes([node["record_length"]])
        if ins == 0xDC and node["structure"] == "cyclic":
            if p2 != 0x03:
                return self.sw("9408", "6981")
            records.insert(0, records.pop())  # the oldest record becomes record 1
            records[0] = data.hex().upper()
            self.record = 1
            return b"\x90\x00"
        if p2 == 0x04:
            number = p1 or self.record
        elif p2 == 0x02:
            number = self.record + 1 if self.record else 1
        elif p2 == 0x03:
            number = self.record - 1 if self.record else len(records)
        else:
            return b"\x6b\x00"
        if not 1 <= number <= len(records):
            return self.sw("9402", "6A83")
        if p2 != 0x04 or p1 == 0:
            self.record = number
        if ins == 0xB2:
            return bytes.fromhex(records[number - 1]) + b"\x90\x00"
        records[number - 1] = data.hex().upper()
        return b"\x90\x00"

    def fcp(self, path):
        node = self.files()[path]
        fid = bytes.fromhex("7FFF" if path == "3F00/7FFF" else path[-4:])
        life = bytes([0x04 if node.get("invalidated") else 0x05])
        if "arr" in node:
            security = tlv(0x8B, bytes.fromhex(node.get("arr_file", "6F06")) + bytes([node["arr"]]))
        else:
            rule = b""
            for mode, what in ((0x01, "read"), (0x02, "update")):
                rule += tlv(0x80, bytes([mode])) + bytes.fromhex(CONDITION[node.get(what, "ADM" if what == "update" else "ALW")])
            security = tlv(0xAB, rule)
        if "structure" in node:
            structure = node["structure"]
            descriptor = bytes([DESCRIPTOR[structure], 0x21])
            if structure != "transparent":
                descriptor += bytes([0, node["record_length"], len(node["records"])])
            body = tlv(0x82, descriptor) + tlv(0x83, fid) + tlv(0x8A, life) + security + \
                tlv(0x80, struct.pack(">H", self.ef_size(node)))
        else:
            body = tlv(0x82, bytes([0x78, 0x21])) + tlv(0x83, fid)
            if path == "3F00/7FFF":
                body += tlv(0x84, bytes.fromhex(self.image["aid"]))
            pin1 = self.chv(1) or {}
            enabled = (0x80 if pin1.get("enabled", True) else 0) | 0x40
            body += tlv(0x8A, life) + security + \
                tlv(0xC6, tlv(0x90, bytes([enabled])) + tlv(0x83, b"\x01") + tlv(0x83, b"\x81"))
        return tlv(0x62, body)


def serve(port, card, stop):
    """Plays \a card on vpcd's slot at \a port until \a stop is set or the card is pulled."""
    sock = None
    deadline = time.time() + 10
    while sock is None and time.time() < deadline and not stop.is_set():
        try:
            sock = socket.create_connection(("127.0.0.1", port), timeout=1)
        except OSError:
            time.sleep(0.05)
    if sock is None:
        return
    sock.settimeout(0.2)
    # vpcd writes a command's length and its bytes apart; answered with delayed
    # acknowledgements, each command would wait about 40 ms for the second half.
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    atr = bytes.fromhex(card.image.get("atr", "3B00"))
    buffer = b""
    try:
        while not stop.is_set():
            try:
                chunk = sock.recv(4096)
                sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
            except socket.timeout:
                continue
            if not chunk:
                break
            buffer += chunk
            while len(buffer) >= 2 and len(buffer) >= 2 + (size := struct.unpack(">H", buffer[:2])[0]):
                message, buffer = buffer[2:2 + size], buffer[2 + size:]
                if len(message) == 1:
                    answer = atr if message[0] == 4 else None
                else:
                    answer = card.apdu(message)
                    if card.pulled:
                        return
                if answer is not None:
                    sock.sendall(struct.pack(">H", len(answer)) + answer)
    finally:
        sock.close()


def free_port_pair():
    for _ in range(50):
        with socket.socket() as s:
            s.bind(("0.0.0.0", 0))
            port = s.getsockname()[1]
        if port >= 65535:
            continue
        with socket.socket() as s:
            try:
                s.bind(("0.0.0.0", port + 1))
                return port
            except OSError:
                continue
    raise RuntimeError("no two free ports side by side")


def start_daemon(work):
    """pcscd in the foreground with only our reader, on a socket of its own."""
    pcscd = shutil.which("pcscd") or "/usr/sbin/pcscd"
    driver = "/usr/lib/pcsc/drivers/serial/libifdvpcd.so"
    if not os.path.exists(pcscd):
        return None, "pcscd is not installed (Debian package pcscd)"
    if not os.path.exists(driver):
        return None, "the vpcd reader driver is missing (Debian package vsmartcard-vpcd)"
    port = free_port_pair()
    conf = os.path.join(work, "reader.conf.d")
    run = os.path.join(work, "run")
    for folder in (conf, run):
        os.makedirs(folder)
    with open(os.path.join(conf, "kxsim-virtual"), "w") as f:
        f.write('FRIENDLYNAME "Kestrix Virtual"\nDEVICENAME /dev/null:0x%X\nLIBPATH %s\nCHANNELID 0x%X\n'
                % (port, driver, port))
    log = open(os.path.join(work, "pcscd.log"), "w")
    # pcscd always serves /run/pcscd/pcscd.comm: in a mount namespace of its
    # own our folder stands there, so a daemon of the machine is left alone.
    if os.path.isdir("/run/pcscd") or os.access("/run", os.W_OK):
        os.makedirs("/run/pcscd", exist_ok=True)
        cmd = ["unshare", "--mount", "--propagation", "private", "sh", "-c",
               'mount --bind "$0" /run/pcscd && exec "$1" --foreground -c "$2"', run, pcscd, conf]
        try:
            daemon = subprocess.Popen(cmd, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        except OSError as e:
            log.close()
            return None, "pcscd could not start in a mount namespace of its own: %s" % e
        socket_path = os.path.join(run, "pcscd.comm")
        deadline = time.time() + 10
        while time.time() < deadline and daemon.poll() is None and not os.path.exists(socket_path):
            time.sleep(0.05)
        if daemon.poll() is None and os.path.exists(socket_path):
            return (daemon, socket_path, port), None
        if daemon.poll() is None:
            daemon.kill()
        daemon.wait()
    log.close()
    with open(os.path.join(work, "pcscd.log")) as f:
        why = " ".join(f.read().split())[:300]
    return None, "pcscd could not start in a mount namespace of its own (needs root and unshare): " + why


def rig():
    work = tempfile.mkdtemp(prefix="kxsim-card-")
    started, why = start_daemon(work)
    if not started:
        print(json.dumps({"skip": why}), flush=True)
        shutil.rmtree(work, ignore_errors=True)
        return 0
    daemon, socket_path, port = started
    print(json.dumps({"socket": socket_path, "readers": ["Kestrix Virtual 00 00", "Kestrix Virtual 00 01"]}),
          flush=True)
    slots = {}

    def remove(slot):
        if slot in slots:
            stop, thread = slots.pop(slot)
            stop.set()
            thread.join()

    try:
        for line in sys.stdin:
            words = line.split()
            if not words or words[0] == "quit":
                break
            slot = int(words[1])
            remove(slot)
            if words[0] == "insert":
                stop = threading.Event()
                thread = threading.Thread(target=serve, args=(port + slot, Card(words[2]), stop), daemon=True)
                thread.start()
                slots[slot] = (stop, thread)
            print("ok", flush=True)
    finally:
        for slot in list(slots):
            remove(slot)
        daemon.terminate()
        try:
            daemon.wait(10)
        except subprocess.TimeoutExpired:
            daemon.kill()
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["rig"]:
        sys.exit(rig())
    print(__doc__, file=sys.stderr)
    sys.exit(2)
