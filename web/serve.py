#!/usr/bin/python3
"""Serves the page's folder on the loopback address only, as a web host would:
each regular file under its own type (WebAssembly, the manifest, the worker's
script), gzip-compressed for a browser that accepts it, and no folder listed.

    serve.py FOLDER [PORT]

PORT (0 to 65535, default 8000) 0 takes a free port. The first line on
standard output is the address.
"""
import functools
import gzip
import http
import http.server
import io
import os
import sys


def accepts_gzip(header):
    """Whether an Accept-Encoding header takes gzip: named, or by '*', with a
    weight above 0 (gzip;q=0 refuses it)."""
    weights = {}
    for part in header.split(","):
        name, _, parameters = part.partition(";")
        weight = 1.0
        for parameter in parameters.split(";"):
            key, _, value = parameter.strip().partition("=")
            if key.lower() == "q":
                try:
                    weight = float(value)
                except ValueError:
                    weight = 0.0
        weights[name.strip().lower()] = weight
    return weights.get("gzip", weights.get("x-gzip", weights.get("*", 0.0))) > 0


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".mjs": "text/javascript", ".json": "application/json",
                      ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml",
                      ".png": "image/png", ".ttf": "font/ttf", ".otf": "font/otf",
                      ".wav": "audio/wav", ".txt": "text/plain", "": "application/octet-stream"}
    compressed = {}  # path -> (modification time, gzip bytes)

    def send_head(self):
        path = self.translate_path(self.path)
        if "\0" in path:
            self.send_error(http.HTTPStatus.BAD_REQUEST, "No NUL in a path")
            return None
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        if not os.path.isdir(path) and not os.path.isfile(path):
            # Nothing there, or a FIFO or device that a read would wait on.
            self.send_error(http.HTTPStatus.NOT_FOUND, "File not found")
            return None
        if not accepts_gzip(self.headers.get("Accept-Encoding", "")) or not os.path.isfile(path):
            return super().send_head()
        stamp = os.stat(path).st_mtime
        cached = self.compressed.get(path)
        if cached is None or cached[0] != stamp:
            with open(path, "rb") as original:
                cached = (stamp, gzip.compress(original.read(), 9))
            self.compressed[path] = cached
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(cached[1])))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        return io.BytesIO(cached[1])

    def end_headers(self):
        # Caches keep the gzip answer apart from the plain one.
        self.send_header("Vary", "Accept-Encoding")
        super().end_headers()

    def list_directory(self, path):
        self.send_error(http.HTTPStatus.NOT_FOUND, "File not found")
        return None

    def log_message(self, format, *args):
        pass  # a quiet server: the page's own console says what matters


def usage(why):
    sys.exit(f"vtrak web: {why}\nusage: serve.py FOLDER [PORT]")


def main():
    if len(sys.argv) not in (2, 3):
        usage("give the page's folder, and a port if not 8000")
    folder = sys.argv[1]
    port = sys.argv[2] if len(sys.argv) == 3 else "8000"
    if not port.isascii() or not port.isdigit() or int(port) > 65535:
        usage(f"the port is a number from 0 to 65535, not '{port}'")
    if not os.path.isdir(folder):
        usage(f"{folder} is not a folder; build the page first (bash scripts/web.sh --build-only)")
    handler = functools.partial(Handler, directory=folder)
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", int(port)), handler)
    except OSError as error:
        sys.exit(f"vtrak web: cannot serve on 127.0.0.1:{port}: {error.strerror}; "
                 "is another server using that port?")
    print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
