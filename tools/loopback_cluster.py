#!/usr/bin/env python3
"""A DX cluster node on loopback for tests: a login prompt without a line end, spot lines split
across sends and batched several to a send, a BEL, and a node that drops the link on request.

Usage: loopback_cluster.py [--port N]   (0 picks a free port; the port is printed as "PORT n")
Commands after login: "sh/dx" sends three spots in one send; "drop" closes the link.
"""
import argparse
import socket
import sys
import time


def spot(spotter, khz, call, comment, utc):
    return ("DX de %-9s%9s  %-13s%-31s%s" % (spotter, khz, call, comment, utc)).encode("latin-1")


SCRIPT = [
    spot("W3LPL:", "14025.0", "JA1ABC", "CQ CQ", "1830Z"),
    spot("K1TTT:", "7003.5", "DL1XYZ", "599", "1831Z"),
    spot("VE7CC-1:", "21074.0", "VK2ABC", "FT8", "1832Z"),
]
SHOW_DX = [
    spot("EA5WU-#:", "3505.0", "OH2BH", "CW    18 dB  23 WPM  CQ", "1834Z"),
    spot("K8SMC:", "28025.0", "ZS6ABC", "cw", "1835Z"),
    spot("G4ABC:", "144300.0", "F6XYZ", "JO01<ES>JN18", "1836Z"),
]


def read_line(conn, buffer):
    while b"\n" not in buffer and b"\r" not in buffer:
        data = conn.recv(1024)
        if not data:
            return None, b""
        buffer += data
    for end in (b"\r\n", b"\n", b"\r"):
        if end in buffer:
            line, _, rest = buffer.partition(end)
            return line.decode("latin-1").strip(), rest
    return None, b""


def serve(conn):
    conn.sendall(b"Welcome to the loopback cluster\r\n\r\nlogin: ")
    buffer = b""
    call, buffer = read_line(conn, buffer)
    if call is None:
        return
    conn.sendall(("Hello %s, this is LOOP\r\n%s de LOOP >\r\n" % (call, call)).encode("latin-1"))
    time.sleep(0.05)
    # The first spot arrives in two sends; the other two share one send with a bell between.
    first = SCRIPT[0] + b"\r\n"
    conn.sendall(first[:23])
    time.sleep(0.1)
    conn.sendall(first[23:] + SCRIPT[1] + b"\a\r\n" + SCRIPT[2] + b"\r\n")
    while True:
        line, buffer = read_line(conn, buffer)
        if line is None:
            return
        if line.lower() == "sh/dx":
            conn.sendall(b"".join(s + b"\r\n" for s in SHOW_DX))
        elif line.lower() == "drop":
            conn.sendall(b"73 de LOOP\r\n")
            return
        else:
            conn.sendall(("%s de LOOP >\r\n" % call).encode("latin-1"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", args.port))
    server.listen(1)
    print("PORT %d" % server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        try:
            serve(conn)
        except OSError:
            pass
        finally:
            conn.close()


if __name__ == "__main__":
    sys.exit(main())
