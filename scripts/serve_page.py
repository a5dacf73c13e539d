"""Serves a folder on 127.0.0.1 as a web server set up for text does: gzip-compressed to browsers
that accept it, unless --plain. Usage: serve_page.py PORT FOLDER [--plain]"""
import gzip
import http.server
import pathlib
import sys

folder = pathlib.Path(sys.argv[2])
compress = "--plain" not in sys.argv


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = folder / self.path.split("?")[0].lstrip("/")
        if not path.is_file():
            self.send_error(404)
            return
        body = path.read_bytes()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        if compress and "gzip" in self.headers.get("Accept-Encoding", ""):
            body = gzip.compress(body, 9)
            self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler).serve_forever()
