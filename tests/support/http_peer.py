#!/usr/bin/python3
"""A web server for the tests on 127.0.0.1: serves the files of a folder and writes every request's
header lines to a log, one JSON object per line. Paths below /__ answer in special ways:
  /__status/N          status N with a short body
  /__slow/N            a body of N bytes with its length announced, 1000 bytes every 0.2 s
  /__nolength/N        a body of N bytes without Content-Length
  /__silent/N          N > 0: a status line announcing 2N bytes and N of them, then nothing;
                       N = 0: no answer at all. The connection stays open until the client leaves.
usage: http_peer.py ROOT PORT_FILE LOG_FILE   (the chosen port is written to PORT_FILE)"""

import http.server
import json
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        with open(self.server.log_file, "a") as log:
            log.write(json.dumps({"path": self.path, "request_line": self.requestline,
                                  "headers": [[k, v] for k, v in self.headers.items()]}) + "\n")
        if self.path.startswith("http://"):  # asked as a proxy would be
            self.path = "/" + self.path.split("/", 3)[3]
        parts = self.path.split("/")
        if len(parts) >= 4 and parts[1] == "__status":
            body = b"status page"
            self.send_response(int(parts[2]))
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        elif len(parts) >= 3 and parts[1] == "__slow":
            size = int(parts[2])
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            sent = 0
            try:
                while sent < size:
                    chunk = min(1000, size - sent)
                    self.wfile.write(b"x" * chunk)
                    self.wfile.flush()
                    sent += chunk
                    time.sleep(0.2)
            except (BrokenPipeError, ConnectionResetError):
                pass
        elif len(parts) >= 3 and parts[1] == "__silent":
            size = int(parts[2])
            if size > 0:
                self.send_response(200)
                self.send_header("Content-Length", str(2 * size))
                self.end_headers()
                self.wfile.write(b"s" * size)
                self.wfile.flush()
            # Waits for the client to give up: its end of the connection closes.
            try:
                self.connection.recv(1)
            except ConnectionResetError:
                pass
            self.close_connection = True
        elif len(parts) >= 3 and parts[1] == "__nolength":
            self.send_response(200)
            self.end_headers()
            self.wfile.write(b"y" * int(parts[2]))
        else:
            super().do_GET()


def main():
    root, port_file, log_file = sys.argv[1:4]
    os.chdir(root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.log_file = log_file
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(port_file + ".tmp", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
