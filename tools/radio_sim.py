#!/usr/bin/env python3
"""A simulated transceiver on a serial device (one end of a socat pseudo-terminal pair).

It answers the logger's polls with the reply layout of the chosen radio type, applies the set
commands it receives and echoes CI-V frames as the shared bus does.

    tools/radio_sim.py --type Kenwood --port /tmp/x/radio [--freq 7.025] [--mode CW]
                       [--delay-ms 0] [--pieces 1] [--piece-gap-ms 0] [--silent] [--lag 0]

--lag N: a slow radio: after a set command it still answers N frequency polls with the state
from before the command (the mode replies beside them too).

Commands on stdin, one per line: "freq <MHz>", "mode <CW|USB|LSB|AM|FM>", "silent on|off",
"delay <ms>", "pieces <n>", "lag <n>", "quit". On stdout: "ready", then "set freq <Hz>" and
"set mode <mode>" for every set command the radio took, and for the FT-817 family "lock on" /
"lock off" when opcode 00 / 80 arrives (that radio's dial lock).
Python 3, standard library only.
"""
import argparse
import os
import select
import sys
import termios
import time
import tty

KENWOOD_MODES = {"LSB": 1, "USB": 2, "CW": 3, "FM": 4, "AM": 5}
# What Hamlib's Kenwood backend asks besides the dial: a TS-2000 that is switched on, no
# auto-information, the normal filter.
KENWOOD_FIXED = {"ID": "ID019;", "PS": "PS1;", "AI": "AI0;", "FW": "FW0000;"}
CIV_MODES = {"LSB": 0, "USB": 1, "AM": 2, "CW": 3, "FM": 5}
ORION_MODES = {"USB": 0, "LSB": 1, "CW": 2, "AM": 4, "FM": 5}
PANEL_MODES = {"AM": 0, "USB": 1, "LSB": 2, "CW": 3, "FM": 4}
FT817_MODES = {"LSB": 0, "USB": 1, "CW": 2, "AM": 4, "FM": 8}
STATUS_MODES = {"LSB": 0, "USB": 1, "CW": 2, "AM": 4, "FM": 6}
FT757_MODES = {"LSB": 0, "USB": 1, "CW": 2, "AM": 4, "FM": 5}
FT920_MODES = {"LSB": 0, "USB": 0, "CW": 1, "AM": 4, "FM": 6}
STATUS_LENGTH = {"Yaesu 757 GX II": 75, "Yaesu 890": 19, "Yaesu 920": 28, "Yaesu 990": 32,
                 "Yaesu 1000 D": 16, "Yaesu 1000": 16}

FAMILY = {
    "Elecraft": "kenwood", "Kenwood": "kenwood", "Kenwood 2": "kenwood",
    "Yaesu FTdx9000": "ftdx",
    "Icom": "civ", "Icom 735": "civ", "Ten Tec Omni VI": "civ",
    "Ten Tec Orion": "orion", "Ten Tec Fnt Pnl": "panel",
    "Yaesu": "ft817",
}


def bcd(value, digits):
    text = f"{value:0{digits}d}"[-digits:]
    return bytes(int(text[i:i + 2], 16) for i in range(0, digits, 2))


def from_bcd(data):
    return int("".join(f"{b:02X}" for b in data))


def reverse_mode(table, code):
    for name, value in table.items():
        if value == code:
            return name
    return None


class Radio:
    def __init__(self, kind, hz, mode, report, lag=0):
        self.kind = kind
        self.family = FAMILY.get(kind, "status" if kind in STATUS_LENGTH else "none")
        self.hz = hz
        self.mode = mode
        self.report = report
        self.buffer = b""
        self.lag = lag
        self.lag_left = 0
        self.old = (hz, mode)

    def set_freq(self, hz):
        self.start_lag()
        self.hz = hz
        self.report(f"set freq {hz}")

    def set_mode(self, mode):
        if mode:
            self.start_lag()
            self.mode = mode
            self.report(f"set mode {mode}")

    def start_lag(self):
        if self.lag and self.lag_left == 0:
            self.old = (self.hz, self.mode)
            self.lag_left = self.lag

    # The state a reply shows: the old one while the radio lags. A frequency poll uses one up.
    def shown(self, frequency_poll=True):
        if self.lag_left == 0:
            return self.hz, self.mode
        if frequency_poll:
            self.lag_left -= 1
        return self.old

    # Takes received bytes, returns the reply bytes of every whole command in them.
    def feed(self, data):
        self.buffer += data
        out = b""
        handler = getattr(self, "take_" + self.family)
        while True:
            taken, reply = handler()
            if taken == 0:
                break
            self.buffer = self.buffer[taken:]
            out += reply
        if len(self.buffer) > 4096:
            self.buffer = b""
        return out

    def take_none(self):
        return (len(self.buffer), b"") if self.buffer else (0, b"")

    def take_kenwood(self):
        end = self.buffer.find(b";")
        if end < 0:
            return 0, b""
        cmd = self.buffer[:end].decode("latin-1")
        if cmd == "FA" or cmd == "FB":
            return end + 1, f"{cmd}{self.shown()[0]:011d};".encode()
        if cmd == "MD":
            return end + 1, f"MD{KENWOOD_MODES.get(self.shown(False)[1], 2)};".encode()
        if cmd in KENWOOD_FIXED:
            return end + 1, KENWOOD_FIXED[cmd].encode()
        if cmd == "IF":
            hz, mode = self.shown()
            body = f"IF{hz:011d}" + " " * 15 + "0" + str(KENWOOD_MODES.get(mode, 2)) + "0" + "000000;"
            return end + 1, body.encode()
        if cmd.startswith(("FA", "FB")) and cmd[2:].isdigit():
            self.set_freq(int(cmd[2:]))
        elif cmd.startswith("MD") and cmd[2:].isdigit():
            self.set_mode(reverse_mode(KENWOOD_MODES, int(cmd[2:])))
        return end + 1, b""

    def take_ftdx(self):
        end = self.buffer.find(b";")
        if end < 0:
            return 0, b""
        cmd = self.buffer[:end].decode("latin-1")
        if cmd == "FA":
            return end + 1, f"FA{self.shown()[0]:08d};".encode()
        if cmd == "MD0":
            return end + 1, f"MD0{KENWOOD_MODES.get(self.shown(False)[1], 2)};".encode()
        if cmd.startswith("FA") and cmd[2:].isdigit():
            self.set_freq(int(cmd[2:]))
        elif cmd.startswith("MD0") and cmd[3:].isdigit():
            self.set_mode(reverse_mode(KENWOOD_MODES, int(cmd[3:])))
        return end + 1, b""

    def take_civ(self):
        start = self.buffer.find(b"\xfe\xfe")
        if start < 0:
            return (len(self.buffer), b"") if self.buffer else (0, b"")
        end = self.buffer.find(b"\xfd", start)
        if end < 0:
            return 0, b""
        frame = self.buffer[start:end + 1]
        echo = frame  # the shared bus hears the logger's own frame
        if len(frame) < 6:
            return end + 1, echo
        to, frm, cmd, data = frame[2], frame[3], frame[4], frame[5:-1]
        width = 4 if self.kind == "Icom 735" else 5
        head = bytes([0xFE, 0xFE, frm, to])
        if cmd == 0x03:
            return end + 1, echo + head + b"\x03" + bcd(self.shown()[0], width * 2)[::-1] + b"\xfd"
        if cmd == 0x04:
            return end + 1, echo + head + bytes([0x04, CIV_MODES.get(self.shown(False)[1], 1), 0x01, 0xFD])
        if cmd == 0x05 and len(data) in (4, 5):
            self.set_freq(from_bcd(data[::-1]))
            return end + 1, echo + head + b"\xfb\xfd"
        if cmd == 0x06 and data:
            self.set_mode(reverse_mode(CIV_MODES, data[0]))
            return end + 1, echo + head + b"\xfb\xfd"
        return end + 1, echo + head + b"\xfa\xfd"

    def take_orion(self):
        end = self.buffer.find(b"\r")
        if end < 0:
            return 0, b""
        cmd = self.buffer[:end].decode("latin-1")
        if cmd == "?AF":
            # The radio pads the field to eight places: "@AF 7150000" below 10 MHz.
            return end + 1, f"@AF{self.shown()[0]:8d}\r".encode()
        if cmd == "?RMM":
            return end + 1, f"@RMM{ORION_MODES.get(self.shown(False)[1], 0)}\r".encode()
        if cmd.startswith("*AF") and cmd[3:].isdigit():
            self.set_freq(int(cmd[3:]))
        return end + 1, b""

    def take_panel(self):
        if not self.buffer:
            return 0, b""
        if self.buffer[:1] == b"?":
            if len(self.buffer) < 3:
                return 0, b""
            what = self.buffer[1:2]
            if what == b"A":
                return 3, b"A" + self.shown()[0].to_bytes(4, "big") + b"\r"
            if what == b"M":
                code = PANEL_MODES.get(self.shown(False)[1], 1)
                return 3, b"M" + bytes([0x30 + code, 0x30 + code]) + b"\r"
            return 3, b""
        if self.buffer[:2] == b"*A":
            if len(self.buffer) < 7:
                return 0, b""
            self.set_freq(int.from_bytes(self.buffer[2:6], "big"))
            return 7, b""
        return 1, b""

    def take_ft817(self):
        if len(self.buffer) < 5:
            return 0, b""
        cmd = self.buffer[:5]
        op = cmd[4]
        if op == 0x03:
            hz, mode = self.shown()
            return 5, bcd(hz // 10, 8) + bytes([FT817_MODES.get(mode, 1)])
        if op in (0x00, 0x80):
            # On the FT-817/857/897 these lock and unlock the dial (CAT on/off on an FT-847).
            self.report("lock on" if op == 0x00 else "lock off")
        elif op == 0x01:
            self.set_freq(from_bcd(cmd[:4]) * 10)
        elif op == 0x07:
            self.set_mode(reverse_mode(FT817_MODES, cmd[0]))
        return 5, b""

    def status_block(self):
        block = bytearray(STATUS_LENGTH[self.kind])
        hz, mode = self.shown()
        tens = hz // 10
        if self.kind == "Yaesu 757 GX II":
            block[5:9] = bcd(tens, 8)[::-1]
            block[9] = FT757_MODES.get(mode, 1)
            return bytes(block)
        if self.kind == "Yaesu 920":
            block[1:5] = hz.to_bytes(4, "big")
            code = FT920_MODES.get(mode, 0)
        else:
            code = STATUS_MODES.get(mode, 1)
            if self.kind == "Yaesu 890":
                block[2:5] = tens.to_bytes(3, "big")
            elif self.kind == "Yaesu 1000":
                digits = f"{tens:06X}"
                text = "000" + digits + "0" * (2 * len(block) - 9)
                block = bytearray(bytes.fromhex(text))
            else:
                block[1:4] = tens.to_bytes(3, "big")
        block[7] = (block[7] & 0xF0) | code
        return bytes(block)

    def take_status(self):
        if len(self.buffer) < 5:
            return 0, b""
        cmd = self.buffer[:5]
        op = cmd[4]
        if op == 0x10:
            return 5, self.status_block()
        if op == 0x0A:
            self.set_freq(from_bcd(cmd[:4][::-1]) * 10)
        elif op == 0x0C:
            table = FT757_MODES if self.kind == "Yaesu 757 GX II" else STATUS_MODES
            self.set_mode(reverse_mode(table, cmd[3]))
        return 5, b""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--type", required=True)
    parser.add_argument("--port", required=True)
    parser.add_argument("--freq", type=float, default=7.025)
    parser.add_argument("--mode", default="CW")
    parser.add_argument("--delay-ms", type=int, default=0)
    parser.add_argument("--pieces", type=int, default=1)
    parser.add_argument("--piece-gap-ms", type=int, default=0)
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--lag", type=int, default=0)
    args = parser.parse_args()

    def report(line):
        print(line, flush=True)

    radio = Radio(args.type, int(round(args.freq * 1e6)), args.mode, report, max(0, args.lag))
    fd = os.open(args.port, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    attrs = termios.tcgetattr(fd)
    attrs[3] &= ~termios.ECHO
    termios.tcsetattr(fd, termios.TCSANOW, attrs)
    silent = args.silent
    delay = args.delay_ms
    pieces = max(1, args.pieces)
    pending = []  # (due time, bytes)
    report("ready")
    stdin_open = True
    while True:
        now = time.monotonic()
        timeout = max(0.0, min([due for due, _ in pending], default=now + 0.05) - now)
        watch = [fd] + ([sys.stdin] if stdin_open else [])
        readable, _, _ = select.select(watch, [], [], min(timeout, 0.05))
        if fd in readable:
            try:
                data = os.read(fd, 4096)
            except OSError:
                return
            reply = radio.feed(data)
            if reply and not silent:
                size = max(1, -(-len(reply) // pieces))
                due = time.monotonic() + delay / 1000.0
                for i in range(0, len(reply), size):
                    pending.append((due, reply[i:i + size]))
                    due += args.piece_gap_ms / 1000.0
        if stdin_open and sys.stdin in readable:
            line = sys.stdin.readline()
            if not line:
                # No controller: the radio keeps answering until its device goes away.
                stdin_open = False
                continue
            words = line.split()
            if not words:
                continue
            if words[0] == "quit":
                return
            if words[0] == "freq":
                radio.hz = int(round(float(words[1]) * 1e6))
            elif words[0] == "mode":
                radio.mode = words[1]
            elif words[0] == "silent":
                silent = words[1] == "on"
            elif words[0] == "delay":
                delay = int(words[1])
            elif words[0] == "pieces":
                pieces = max(1, int(words[1]))
            elif words[0] == "lag":
                radio.lag = max(0, int(words[1]))
            report("ok")
        now = time.monotonic()
        due_now = [item for item in pending if item[0] <= now]
        pending = [item for item in pending if item[0] > now]
        for _, chunk in due_now:
            os.write(fd, chunk)


if __name__ == "__main__":
    main()
