#!/usr/bin/python3
"""Serves a folder (default: dist/web) on 127.0.0.1 at a free port, or at --port, with the types
the page needs (WebAssembly for .wasm, the web app manifest's) and asking the browser to check back
before it uses a copy it keeps, so that a new build is seen at once. Prints the page's address as
its first line, then serves until it is stopped."""

import argparse
import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml"}

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):  # quiet: only the address goes to standard output
        pass


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("folder", nargs="?", default=os.path.join(here, "..", "..", "dist", "web"))
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    handler = functools.partial(Handler, directory=os.path.abspath(args.folder))
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
