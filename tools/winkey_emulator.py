#!/usr/bin/env python3
"""A WinKeyer on a pseudo-terminal, for testing the logger's WinKey link without the device.

Starts a socat pseudo-terminal pair, gives the host end the name --link and plays the keyer on
the other end: answers the echo test and host open, takes the settings, "sends" the buffered
text at the set speed (reporting busy while it does), raises XOFF when its buffer fills, honours
clear buffer and backspace, and logs every byte the host sends. Like the chip it reads the line
at the line rate (1200 baud, 8N2: 9.2 ms a byte), so bytes the host writes faster wait in the
line and reach the buffer only as they are read; text that finds the buffer full is lost and
logged as OVERFLOW. --vanish-after N makes the device disappear (the pseudo-terminal closes, as
a USB keyer that is unplugged) after N text bytes.

    winkey_emulator.py --link /tmp/wk/port --log /tmp/wk/host.log [--version 23] [--silent]
                       [--wrong-echo] [--no-version] [--buffer 128] [--xoff-at 85]
                       [--baud 1200] [--vanish-after N]

Prints "ready <link>" once the host end can be opened. Python 3 standard library and socat.
"""
import argparse
import os
import select
import signal
import subprocess
import sys
import termios
import time
import tty

# Morse length in units (elements, gaps inside, and the 3-unit gap after), as the keyer times it.
MORSE = {
    "A": ".-", "B": "-...", "C": "-.-.", "D": "-..", "E": ".", "F": "..-.", "G": "--.", "H": "....",
    "I": "..", "J": ".---", "K": "-.-", "L": ".-..", "M": "--", "N": "-.", "O": "---", "P": ".--.",
    "Q": "--.-", "R": ".-.", "S": "...", "T": "-", "U": "..-", "V": "...-", "W": ".--", "X": "-..-",
    "Y": "-.--", "Z": "--..", "0": "-----", "1": ".----", "2": "..---", "3": "...--", "4": "....-",
    "5": ".....", "6": "-....", "7": "--...", "8": "---..", "9": "----.", ".": ".-.-.-", ",": "--..--",
    "?": "..--..", "/": "-..-.", "=": "-...-",
}

# Bytes of parameters that follow each immediate command (0x16 takes one more for its mode 3).
PARAMETERS = {
    0x01: 1, 0x02: 1, 0x03: 1, 0x04: 2, 0x05: 3, 0x06: 1, 0x07: 0, 0x08: 0, 0x09: 1, 0x0A: 0,
    0x0B: 1, 0x0C: 1, 0x0D: 1, 0x0E: 1, 0x0F: 15, 0x10: 1, 0x11: 1, 0x12: 1, 0x13: 0, 0x14: 1,
    0x15: 0, 0x16: 1, 0x17: 1, 0x18: 1, 0x19: 1, 0x1A: 1, 0x1B: 2, 0x1C: 1, 0x1D: 1, 0x1E: 0,
    0x1F: 0,
}
ADMIN_PARAMETERS = {0x00: 1, 0x04: 1, 0x0E: 1}
BITS_PER_BYTE = 11  # start, eight data bits, two stop bits


def units_of(text):
    if text == " ":
        return 4  # with the 3 after the last character: a 7-unit word gap
    total = 0
    for letter in text:
        code = MORSE.get(letter, "..")
        total += sum(3 if e == "-" else 1 for e in code) + len(code) - 1 + 3
    return total


class Keyer:
    def __init__(self, fd, args, log):
        self.fd = fd
        self.args = args
        self.log = log
        self.pending = bytearray()  # a command waiting for its parameters
        self.buffer = []  # characters (or merged pairs) not yet sent
        self.sending_until = None  # end of the character being keyed
        self.wpm = 20
        self.status = 0xC0
        self.text_bytes = 0
        self.host_open = False

    def write(self, data):
        os.write(self.fd, bytes(data))

    def note(self, line):
        self.log.write(line + "\n")
        self.log.flush()

    def report(self):
        busy = bool(self.buffer) or self.sending_until is not None
        xoff = len(self.buffer) >= self.args.xoff_at
        status = 0xC0 | (0x04 if busy else 0) | (0x01 if xoff else 0)
        if status != self.status:
            self.status = status
            self.write([status])
            self.note("STATUS %02X" % status)

    def take(self, data):
        self.note("HOST " + " ".join("%02X" % b for b in data))
        for byte in data:
            self.pending.append(byte)
            self.command()
        self.report()

    def command(self):
        p = self.pending
        if p[0] == 0x00:
            if len(p) < 2 or len(p) < 2 + ADMIN_PARAMETERS.get(p[1], 0):
                return
            self.admin(p[1], p[2:])
        elif p[0] < 0x20:
            if len(p) < 1 + PARAMETERS.get(p[0], 0):
                return
            self.immediate(p[0], p[1:])
        else:
            self.text(chr(p[0]))
        self.pending = bytearray()

    def admin(self, code, params):
        if code == 0x04 and not self.args.silent:
            self.write([params[0] ^ (0x01 if self.args.wrong_echo else 0)])
        elif code == 0x02:
            self.host_open = True
            if not self.args.silent and not self.args.no_version:
                self.write([self.args.version])
        elif code == 0x03:
            self.host_open = False
            self.buffer.clear()
            self.note("CLOSED")

    def immediate(self, code, params):
        if code == 0x02:
            self.wpm = params[0] if params[0] else 20
        elif code == 0x0A:
            self.buffer.clear()
            self.note("CLEARED")
        elif code == 0x08:
            if self.buffer:
                self.note("BACKSPACE " + self.buffer.pop())
        elif code == 0x1B:
            self.text(chr(params[0]) + chr(params[1]))
        elif code == 0x15:
            self.write([self.status])

    def text(self, letters):
        self.text_bytes += len(letters)
        if len(self.buffer) >= self.args.buffer:
            self.note("OVERFLOW " + letters)
        else:
            self.buffer.append(letters)
        self.report()  # an XOFF goes out before anything read after this byte is answered
        if self.args.vanish_after is not None and self.text_bytes >= self.args.vanish_after:
            self.note("VANISH")
            raise SystemExit(0)

    def tick(self, now):
        if self.sending_until is not None and now >= self.sending_until:
            self.sending_until = None
        if self.sending_until is None and self.buffer:
            letters = self.buffer.pop(0)
            self.note("SENT " + letters)
            self.sending_until = now + units_of(letters) * 1.2 / max(self.wpm, 5)
        self.report()


def raw(fd):
    tty.setraw(fd)
    attrs = termios.tcgetattr(fd)
    attrs[3] &= ~termios.ECHO
    termios.tcsetattr(fd, termios.TCSANOW, attrs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--link", required=True, help="name of the host end")
    parser.add_argument("--log", required=True, help="file for every host byte and event")
    parser.add_argument("--version", type=int, default=23)
    parser.add_argument("--silent", action="store_true", help="answer nothing (no device)")
    parser.add_argument("--wrong-echo", action="store_true")
    parser.add_argument("--no-version", action="store_true")
    parser.add_argument("--buffer", type=int, default=128, help="characters the text buffer holds")
    parser.add_argument("--xoff-at", type=int, default=85, help="buffered characters that raise XOFF")
    parser.add_argument("--baud", type=int, default=1200, help="line rate the device reads at; 0: at once")
    parser.add_argument("--vanish-after", type=int, default=None, help="text bytes before vanishing")
    args = parser.parse_args()

    device_end = args.link + ".device"
    for stale in (args.link, device_end):
        if os.path.lexists(stale):
            os.unlink(stale)
    socat = subprocess.Popen(["socat", "pty,raw,echo=0,link=" + args.link,
                              "pty,raw,echo=0,link=" + device_end],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(*_):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        deadline = time.monotonic() + 10
        while not (os.path.exists(args.link) and os.path.exists(device_end)):
            if socat.poll() is not None or time.monotonic() > deadline:
                print("socat did not start", flush=True)
                return 1
            time.sleep(0.02)
        fd = os.open(device_end, os.O_RDWR | os.O_NOCTTY)
        raw(fd)
        with open(args.log, "a", encoding="latin-1") as log:
            keyer = Keyer(fd, args, log)
            print("ready " + args.link, flush=True)
            byte_time = BITS_PER_BYTE / args.baud if args.baud > 0 else 0.0
            next_read = 0.0  # the line delivers the next byte no earlier than this
            while True:
                now = time.monotonic()
                waits = [0.5]
                if keyer.sending_until is not None:
                    waits.append(keyer.sending_until - now)
                can_read = now >= next_read
                if not can_read:
                    waits.append(next_read - now)
                readable, _, _ = select.select([fd] if can_read else [], [], [], max(0.0, min(waits)))
                if readable:
                    try:
                        data = os.read(fd, 1 if byte_time else 256)
                    except OSError:
                        data = b""
                    if data:
                        next_read = max(now, next_read) + len(data) * byte_time
                        keyer.take(data)
                    else:
                        time.sleep(0.05)  # the host end is closed for now
                keyer.tick(time.monotonic())
    finally:
        # Vanishing or stopping: the host end goes away with socat.
        socat.terminate()
        try:
            socat.wait(timeout=5)
        except subprocess.TimeoutExpired:
            socat.kill()


if __name__ == "__main__":
    sys.exit(main())
