"""Serves the files of a folder as calendar feeds on 127.0.0.1 with ETags and Last-Modified,
answering conditional requests with 304. The word in FOLDER/mode, if any, spoils every answer:
"missing" (404), "cut" (the connection breaks off halfway), "redirectN" (N redirects first).
Each answer is logged to FOLDER/log as "STATUS PATH".
Usage: feed_server.py PORT FOLDER"""
import hashlib
import http.server
import os
import sys
import urllib.parse

folder = sys.argv[2]


def read(name):
    path = os.path.join(folder, name)
    return open(path, "rb").read() if os.path.isfile(path) else None


class Feeds(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, status, headers=(), body=b"", length=None):
        with open(os.path.join(folder, "log"), "a") as log:
            log.write("%d %s\n" % (status, self.path))
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        mode = (read("mode") or b"").decode().strip()
        name = url.path.strip("/")
        body = read(name) if name not in ("mode", "log") else None
        hop = int(urllib.parse.parse_qs(url.query).get("hop", ["0"])[0])
        if mode.startswith("redirect") and hop < int(mode[8:]):
            return self.answer(302, [("Location", "%s?hop=%d" % (url.path, hop + 1))])
        if body is None or mode == "missing":
            return self.answer(404)
        if mode == "cut":
            self.answer(200, body=body[: len(body) // 2], length=len(body))
            self.wfile.flush()
            self.connection.close()
            return
        etag = '"%s"' % hashlib.md5(body).hexdigest()
        if self.headers.get("If-None-Match") == etag:
            return self.answer(304, [("ETag", etag)])
        modified = self.date_time_string(int(os.path.getmtime(os.path.join(folder, name))))
        self.answer(200, [("ETag", etag), ("Last-Modified", modified), ("Content-Type", "text/calendar")], body)


http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Feeds).serve_forever()
