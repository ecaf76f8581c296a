#!/usr/bin/env python3
"""A packet TNC in command mode on a pseudo-terminal, for tests: prints "cmd:" prompts, answers
"c <call>" with a connection, and then relays a cluster node's spot lines ended by CR alone (a TNC
without auto-linefeed). Ctrl+C (0x03) returns to command mode.

Usage: tnc_simulator.py <device>   (the far end of a socat pty pair)
"""
import os
import sys
import time


def spot(spotter, khz, call, comment, utc):
    return ("DX de %-9s%9s  %-13s%-31s%s" % (spotter, khz, call, comment, utc)).encode("latin-1")


def main():
    fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
    buffer = b""
    os.write(fd, b"\rKPC-3 simulator\rcmd:")
    connected = False
    while True:
        data = os.read(fd, 256)
        if not data:
            return 0
        for byte in data:
            if byte == 0x03:
                connected = False
                os.write(fd, b"\rcmd:")
                buffer = b""
                continue
            if byte in (0x0D, 0x0A):
                line = buffer.decode("latin-1").strip()
                buffer = b""
                if not line:
                    continue
                if connected:
                    os.write(fd, ("%s de K1TTT-5 >\r" % line).encode("latin-1"))
                elif line.lower().startswith("c "):
                    node = line[2:].strip().upper()
                    connected = True
                    os.write(fd, ("*** CONNECTED to %s\r" % node).encode("latin-1"))
                    time.sleep(0.05)
                    first = spot("K1TTT:", "14025.0", "JA1ABC", "CQ", "1830Z") + b"\r"
                    os.write(fd, first[:30])
                    time.sleep(0.05)
                    os.write(fd, first[30:] + spot("K1TTT:", "7003.5", "DL1XYZ", "599", "1831Z") + b"\r")
                else:
                    os.write(fd, b"?EH\rcmd:")
            else:
                buffer += bytes([byte])


if __name__ == "__main__":
    sys.exit(main())
