#!/usr/bin/env python3
"""Loopback web server that misbehaves on purpose, for the network torture tests.

Listens on 127.0.0.1 only, writes its port to --port-file (renamed into place) and exits
after --lifetime seconds. Each path is one kind of bad server; with --every KIND every
path behaves as KIND (to stand in for all of the program's web addresses at once).

  /blackhole   reads the request and never answers
  /drip        headers at once, then one body byte a second
  /reset       half of the promised body, then a connection reset
  /huge        a 100 MB body, produced while it is sent
  /garbage     a status line that is not HTTP, then bytes
  /loop        a redirect to itself, for ever
  /gzip        a gzip-encoded page (Content-Encoding: gzip) though none was asked for
  /badchunk    a chunked body whose second chunk size is not a number
  /metaflood   4 MiB (all a fetch keeps) of "<meta" never closed, sent over about 1.5 s
  /hugemarker  4 MiB holding every marker pair of the program's pages around one value
               that fills the page, sent the same way
  /page        an ordinary page, to show the server is up
  /count/KIND  how many requests for /KIND arrived so far (a decimal number)

--stats FILE receives one JSON line per finished request: {"path", "sent"} (body bytes).
"""
import argparse
import gzip
import json
import os
import socket
import socketserver
import struct
import sys
import threading
import time

PAGE = "<html><body><p>最新版本 cfs1.0iii</p><p>穿越火线（CrossFire）v1.0.0.1完整客户端:</p></body></html>".encode("gbk")
HUGE_SIZE = 100 * 1000 * 1000
FETCH_LIMIT = 4 << 20
KINDS = ("blackhole", "drip", "reset", "huge", "garbage", "loop", "gzip", "badchunk", "metaflood", "hugemarker", "page")


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.sent = 0
        self.request.settimeout(self.server.lifetime)

    def read_request(self):
        data = b""
        while b"\r\n\r\n" not in data and len(data) < 65536:
            chunk = self.request.recv(4096)
            if not chunk:
                return None
            data += chunk
        line = data.split(b"\r\n", 1)[0].decode("latin-1").split()
        return line[1] if len(line) >= 2 else "/"

    def send(self, data, body=True):
        self.request.sendall(data)
        if body:
            self.sent += len(data)

    def headers(self, status="200 OK", extra=()):
        lines = [f"HTTP/1.1 {status}", "Content-Type: text/html", "Connection: close", *extra]
        self.send(("\r\n".join(lines) + "\r\n\r\n").encode(), body=False)

    def handle(self):
        try:
            path = self.read_request()
            if path is None:
                return
            kind = self.server.every or path.split("?")[0].strip("/")
            if kind.startswith("count/"):
                return self.serve_count(kind[6:])
            self.server.count(kind)
            getattr(self, "serve_" + (kind if kind in KINDS else "missing"))()
        except OSError:
            pass
        finally:
            self.server.record(path if "path" in locals() else None, self.sent)

    def serve_blackhole(self):
        self.server.stopped.wait()

    def serve_drip(self):
        self.headers(extra=[f"Content-Length: {HUGE_SIZE}"])
        while not self.server.stopped.wait(1.0):
            self.send(b"d")

    def serve_reset(self):
        body = PAGE * 2000
        self.headers(extra=[f"Content-Length: {len(body)}"])
        self.send(body[: len(body) // 2])
        # Long enough for the client to take in what came, so that the reset cuts the body
        # rather than discarding it unread.
        time.sleep(0.3)
        # SO_LINGER with a zero time-out turns the close into a reset.
        self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))

    def serve_huge(self):
        self.headers(extra=[f"Content-Length: {HUGE_SIZE}"])
        block = PAGE + b"x" * (65536 - len(PAGE))
        while self.sent < HUGE_SIZE and not self.server.stopped.is_set():
            self.send(block[: HUGE_SIZE - self.sent])

    def serve_garbage(self):
        self.send(b"\x16\x03\x01 NOT HTTP AT ALL \xff\xfe\r\nX\x00Y: ???\r\n\r\n", body=False)
        self.send(b"\x00\x01garbage " * 64)

    def serve_loop(self):
        self.headers("302 Found", ["Location: /loop", "Content-Length: 0"])

    def serve_gzip(self):
        body = gzip.compress(PAGE)
        self.headers(extra=["Content-Encoding: gzip", f"Content-Length: {len(body)}"])
        self.send(body)

    def serve_badchunk(self):
        self.headers(extra=["Transfer-Encoding: chunked"])
        self.send(b"%x\r\n%s\r\n" % (len(PAGE), PAGE))
        self.send(b"zz-not-a-size\r\nmore bytes that no chunk size announced\r\n0\r\n\r\n")

    def send_slowly(self, body, pieces=64, seconds=1.5):
        self.headers(extra=[f"Content-Length: {len(body)}"])
        for at in range(0, len(body), len(body) // pieces):
            self.send(body[at:at + len(body) // pieces])
            if self.server.stopped.wait(seconds / pieces):
                return

    def serve_metaflood(self):
        self.send_slowly(b"<meta" * (FETCH_LIMIT // 5))

    def serve_hugemarker(self):
        start, end = "cfs cfv 穿越火线（CrossFire）v".encode("gbk"), "完整客户端: vvvv iii".encode("gbk")
        self.send_slowly(start + b"1" * (FETCH_LIMIT - len(start) - len(end)) + end)

    def serve_page(self):
        self.headers(extra=[f"Content-Length: {len(PAGE)}"])
        self.send(PAGE)

    def serve_count(self, kind):
        body = str(self.server.counts.get(kind, 0)).encode()
        self.headers(extra=[f"Content-Length: {len(body)}"])
        self.send(body)

    def serve_missing(self):
        self.headers("404 Not Found", ["Content-Length: 0"])


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options):
        super().__init__(("127.0.0.1", options.port), Handler)
        self.every = options.every
        self.lifetime = options.lifetime
        self.stopped = threading.Event()
        self.stats = options.stats
        self.lock = threading.Lock()
        self.counts = {}

    def count(self, kind):
        with self.lock:
            self.counts[kind] = self.counts.get(kind, 0) + 1

    def record(self, path, sent):
        if self.stats and path is not None:
            with self.lock, open(self.stats, "a") as f:
                f.write(json.dumps({"path": path, "sent": sent}) + "\n")

    def handle_error(self, request, client_address):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--lifetime", type=float, default=120)
    parser.add_argument("--every", choices=KINDS)
    parser.add_argument("--stats")
    options = parser.parse_args()

    server = Server(options)
    if options.port_file:
        with open(options.port_file + ".tmp", "w") as f:
            f.write(f"{server.server_address[1]}\n")
        os.replace(options.port_file + ".tmp", options.port_file)

    def stop():
        server.stopped.set()
        server.shutdown()

    timer = threading.Timer(options.lifetime, stop)
    timer.daemon = True
    timer.start()
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.stopped.set()
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
