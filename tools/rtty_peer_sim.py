#!/usr/bin/env python3
"""A stand-in for the RTTY terminal program on the logger's local-socket item link.

Listens on a Unix socket (--socket, else where the logger looks by default: DumoRTTY.frmDigitalDest
in $XDG_RUNTIME_DIR, or in velk-<uid> under $TMPDIR or /tmp, made owner-only) and speaks the line protocol documented in README.md: it answers
ADVISE with DATA (or NAK for refused items), records POKEs, and pushes DATA when an item
changes. It is driven by commands on stdin, one per line, and reports on stdout:

  commands                       effect
  click call|name|location TEXT  the operator clicks TEXT in the receive window
  set ITEM TEXT                  any item takes TEXT (pushed when advised)
  refuse ITEM                    ADVISE of ITEM is answered with NAK from now on
  accept ITEM                    undoes refuse
  silent on|off                  ADVISE gets no answer at all
  drop                           closes the connection to the logger
  raw TEXT                       sends TEXT as it is ("\\n" and "\\xHH" escapes allowed)
  bigline N                      sends a DATA line of N characters without end, then LF
  flood N                        sends N DATA lines for the call item, K0..K(N-1)
  quit                           ends the simulator

  reports: ready, connected, advise ITEM, poke ITEM VALUE (escaped as on the wire),
           disconnected, ok (after each command)
"""
import argparse
import os
import selectors
import socket
import sys

FIELDS = {"call": "txtSUrCall", "location": "txtSField2", "name": "txtSField4"}


def escape(value):
    return value.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "n":
                out.append("\n")
            elif n == "r":
                out.append("\r")
            elif n == "x" and i + 3 < len(text):
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 2
            else:
                out.append(n)
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


class Terminal:
    def __init__(self, path):
        self.path = path
        self.items = {}
        self.advised = set()
        self.refused = set()
        self.silent = False
        self.client = None
        self.buffer = b""
        self.sel = selectors.DefaultSelector()
        if os.path.exists(path):
            os.unlink(path)
        self.server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.server.bind(path)
        os.chmod(path, 0o600)  # only the operator's own programs may connect
        self.server.listen(4)
        self.sel.register(self.server, selectors.EVENT_READ, "server")
        self.sel.register(sys.stdin, selectors.EVENT_READ, "stdin")
        self.running = True

    def report(self, text):
        sys.stdout.write(text + "\n")
        sys.stdout.flush()

    def send(self, data):
        if self.client is None:
            return
        try:
            self.client.sendall(data)
        except OSError:
            self.close_client()

    def push(self, item):
        if item in self.advised:
            self.send(("DATA %s %s\n" % (item, escape(self.items.get(item, "")))).encode("latin-1"))

    def close_client(self):
        if self.client is not None:
            self.sel.unregister(self.client)
            self.client.close()
            self.client = None
            self.advised.clear()
            self.buffer = b""
            self.report("disconnected")

    def on_line(self, line):
        line = line.rstrip(b"\r").decode("latin-1")
        verb, _, rest = line.partition(" ")
        if verb == "ADVISE":
            item = rest
            self.report("advise " + item)
            if self.silent:
                return
            if item in self.refused:
                self.send(("NAK %s\n" % item).encode("latin-1"))
                return
            self.advised.add(item)
            self.push(item)
        elif verb == "POKE":
            item, _, value = rest.partition(" ")
            self.report("poke %s %s" % (item, value))
            self.items[item] = unescape(value)

    def on_command(self, line):
        words = line.strip().split(" ", 2)
        cmd = words[0] if words else ""
        arg1 = words[1] if len(words) > 1 else ""
        arg2 = words[2] if len(words) > 2 else ""
        if cmd == "click":
            item = FIELDS[arg1]
            self.items[item] = unescape(arg2)
            self.push(item)
        elif cmd == "set":
            self.items[arg1] = unescape(arg2)
            self.push(arg1)
        elif cmd == "refuse":
            self.refused.add(arg1)
        elif cmd == "accept":
            self.refused.discard(arg1)
        elif cmd == "silent":
            self.silent = arg1 == "on"
        elif cmd == "drop":
            self.close_client()
        elif cmd == "raw":
            self.send(unescape(line.strip()[4:]).encode("latin-1"))
        elif cmd == "bigline":
            self.send(b"DATA txtSUrCall " + b"B" * int(arg1) + b"\n")
        elif cmd == "flood":
            self.send(b"".join(b"DATA txtSUrCall K%d\n" % i for i in range(int(arg1))))
        elif cmd == "quit":
            self.running = False
        self.report("ok")

    def run(self):
        self.report("ready")
        while self.running:
            for key, _ in self.sel.select():
                if key.data == "server":
                    conn, _ = self.server.accept()
                    if self.client is not None:
                        conn.close()  # one logger at a time
                        continue
                    self.client = conn
                    self.sel.register(conn, selectors.EVENT_READ, "client")
                    self.report("connected")
                elif key.data == "client":
                    try:
                        data = self.client.recv(65536)
                    except OSError:
                        data = b""
                    if not data:
                        self.close_client()
                        continue
                    self.buffer += data
                    while b"\n" in self.buffer:
                        line, self.buffer = self.buffer.split(b"\n", 1)
                        self.on_line(line)
                elif key.data == "stdin":
                    line = sys.stdin.readline()
                    if not line:
                        self.running = False
                        break
                    self.on_command(line)
        if self.client is not None:
            self.client.close()
        self.server.close()
        if os.path.exists(self.path):
            os.unlink(self.path)


def default_socket():
    runtime = os.environ.get("XDG_RUNTIME_DIR", "")
    if not os.path.isabs(runtime):
        temp = os.environ.get("TMPDIR", "")
        runtime = os.path.join(temp if os.path.isabs(temp) else "/tmp", "velk-%d" % os.getuid())
        os.makedirs(runtime, mode=0o700, exist_ok=True)
    return os.path.join(runtime, "DumoRTTY.frmDigitalDest")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--socket", help="Unix socket path to listen on (default: where the logger looks)")
    args = parser.parse_args()
    Terminal(args.socket or default_socket()).run()


if __name__ == "__main__":
    main()
