#!/usr/bin/env python3
"""Serves the web page's folder on this machine only, with Python's own HTTP
server (web/serve.sh builds the page and runs this); every file asked for is
logged on standard error.

  python3 web/serve.py SITE_DIR PORT
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    # Connections kept open between files, as any web server keeps them: the
    # page loads some twenty files, and a connection for each (HTTP/1.0)
    # delays its first odds.
    protocol_version = 'HTTP/1.1'
    # A file's headers and body go out in separate writes: with Nagle's
    # algorithm the body would wait for the browser's delayed
    # acknowledgement, some 40 ms a file on an open connection.
    disable_nagle_algorithm = True
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{'.wasm': 'application/wasm',
                             '.js': 'text/javascript'})


def main():
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        print('usage: python3 web/serve.py SITE_DIR PORT', file=sys.stderr)
        return 2
    handler = functools.partial(Handler, directory=sys.argv[1])
    with http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[2])), handler) as httpd:
        try:
            httpd.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == '__main__':
    sys.exit(main())
