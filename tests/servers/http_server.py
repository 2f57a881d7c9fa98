#!/usr/bin/env python3
"""A loopback HTTP server for the tests: ordinary, odd and hostile pages by path.

Listens on 127.0.0.1 only, prints its port on the first line of standard output (and
writes it to --port-file when given) and exits after --lifetime seconds or on /quit.

Paths:
  /web201105/download.shtml  the official download page (GBK, the live version's markers)
  /                          the maker's page (the release and experience version markers)
  /gbk                       a GBK page, "text/html; charset=gbk"
  /utf8                      a UTF-8 page, charset only in its <meta>, "text/html"
  /utf8-charset              the same page, "text/html; charset=utf-8"
  /chunked                   the GBK page in chunked transfer encoding
  /redirect                  302 to /gbk (or to the address given as ?to=...)
  /huge                      a 5 MiB page that starts with "BEGIN" and ends with "END"
  /delay/MS                  the GBK page after MS milliseconds
  /slow                      headers at once, then one body byte a second, never ending
  /blackhole                 reads the request and never answers
  /status/NNN                answers with status NNN and a short body
  /quit                      answers, then stops the server
"""
import argparse
import http.server
import os
import socketserver
import sys
import threading
import urllib.parse

GBK_TEXT = "<html><body>穿越火线（CrossFire）v1.2.3完整客户端:</body></html>"
UTF8_TEXT = '<html><head><meta charset="utf-8"></head><body>体验服 cfv2.0.1vvvv</body></html>'
HUGE_SIZE = 5 * 1024 * 1024


def download_page(live_version):
    return ("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head>"
            f"<body><p>穿越火线（CrossFire）v{live_version}完整客户端:下载</p></body></html>")


def maker_page(release, test_version):
    return f"<html><body><p>最新版本 cfs{release}iii</p><p>体验服 cfv{test_version}vvvv</p></body></html>"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VorlaneTest/1.0"

    def log_message(self, format, *args):
        if self.server.verbose:
            super().log_message(format, *args)

    def send_body(self, body, content_type, status=200):
        self.send_response(status)
        if content_type:
            self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        path = url.path
        options = self.server.options
        if path == "/web201105/download.shtml":
            self.send_body(download_page(options.live_version).encode("gbk"), "text/html")
        elif path == "/":
            page = maker_page(options.release, options.test_version)
            if options.maker_encoding == "utf-8":
                self.send_body(page.encode("utf-8"), "text/html; charset=utf-8")
            else:
                self.send_body(page.encode("gbk"), "text/html")
        elif path == "/gbk":
            self.send_body(GBK_TEXT.encode("gbk"), "text/html; charset=gbk")
        elif path == "/utf8":
            self.send_body(UTF8_TEXT.encode("utf-8"), "text/html")
        elif path == "/utf8-charset":
            self.send_body(UTF8_TEXT.encode("utf-8"), "text/html; charset=utf-8")
        elif path == "/chunked":
            self.chunked(GBK_TEXT.encode("gbk"))
        elif path == "/redirect":
            target = urllib.parse.parse_qs(url.query).get("to", ["/gbk"])[0]
            self.send_response(302)
            self.send_header("Location", target)
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif path == "/huge":
            body = b"BEGIN" + b"x" * (HUGE_SIZE - 8) + b"END"
            self.send_body(body, "text/plain")
        elif path.startswith("/delay/") and path[7:].isdigit():
            if not self.server.stopped.wait(int(path[7:]) / 1000):
                self.send_body(GBK_TEXT.encode("gbk"), "text/html; charset=gbk")
        elif path == "/slow":
            self.slow()
        elif path == "/blackhole":
            self.server.stopped.wait()
            self.close_connection = True
        elif path.startswith("/status/") and path[8:].isdigit():
            self.send_body(b"status page", "text/plain", int(path[8:]))
        elif path == "/quit":
            self.send_body(b"bye", "text/plain")
            self.server.stop()
        else:
            self.send_body(b"not found", "text/plain", 404)

    def chunked(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        for start in range(0, len(body), 7):
            piece = body[start:start + 7]
            self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.flush()
        self.wfile.write(b"0\r\n\r\n")

    def slow(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(HUGE_SIZE))
        self.end_headers()
        try:
            while not self.server.stopped.wait(1.0):
                self.wfile.write(b"s")
                self.wfile.flush()
        except OSError:
            pass
        self.close_connection = True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options):
        super().__init__(("127.0.0.1", options.port), Handler)
        self.options = options
        self.verbose = options.verbose
        self.stopped = threading.Event()

    def stop(self):
        self.stopped.set()
        threading.Thread(target=self.shutdown, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description="Loopback HTTP server for the tests.")
    parser.add_argument("--port", type=int, default=0, help="port to listen on (default: any free port)")
    parser.add_argument("--port-file", help="also write the port to this file")
    parser.add_argument("--lifetime", type=float, default=300, help="seconds before the server exits by itself")
    parser.add_argument("--live-version", default="1.0.0.1", help="version on the official download page")
    parser.add_argument("--release", default="1.0", help="release of the utility on the maker's page")
    parser.add_argument("--test-version", default="2.0.1", help="experience version on the maker's page")
    parser.add_argument("--maker-encoding", choices=["gbk", "utf-8"], default="gbk",
                        help="encoding of the maker's page")
    parser.add_argument("--verbose", action="store_true", help="log every request to standard error")
    options = parser.parse_args()

    server = Server(options)
    port = server.server_address[1]
    if options.port_file:
        with open(options.port_file + ".tmp", "w") as f:
            f.write(f"{port}\n")
        # Renamed into place so a reader never sees a half-written file.
        os.replace(options.port_file + ".tmp", options.port_file)
    print(port, flush=True)

    timer = threading.Timer(options.lifetime, server.stop)
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
