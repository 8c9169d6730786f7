#!/usr/bin/python3
"""Serves the page's folder on the loopback address only, as a web host would:
WebAssembly under its own type, and every file gzip-compressed for a browser
that accepts it.

    serve.py FOLDER [PORT]

PORT 0 takes a free port. The first line on standard output is the address.
"""
import functools
import gzip
import http.server
import io
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}
    compressed = {}  # path -> (modification time, gzip bytes)

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        if "gzip" not in self.headers.get("Accept-Encoding", "") or not os.path.isfile(path):
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

    def log_message(self, format, *args):
        pass  # a quiet server: the page's own console says what matters


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8000
    handler = functools.partial(Handler, directory=sys.argv[1])
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
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
