#!/usr/bin/env python3
"""A time-stamping authority on the loopback address, for testing timestamped signatures:
answers each RFC 3161 request (an HTTP POST) with OpenSSL's reply, signed by the given TSA
certificate and key.

    tsa_responder.py CONFIG PORT_FILE

CONFIG is an OpenSSL configuration with a [tsa] section; the port it listens on is written to
PORT_FILE. It serves until it is stopped."""
import http.server
import subprocess
import sys
import tempfile


class Handler(http.server.BaseHTTPRequestHandler):
    config = ""

    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.NamedTemporaryFile() as request, tempfile.NamedTemporaryFile() as reply:
            request.write(query)
            request.flush()
            made = subprocess.run(["openssl", "ts", "-reply", "-config", self.config,
                                   "-queryfile", request.name, "-out", reply.name],
                                  capture_output=True)
            answer = reply.read() if made.returncode == 0 else b""
        self.send_response(200 if answer else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(answer)))
        self.end_headers()
        self.wfile.write(answer)

    def log_message(self, *arguments):
        pass


def main(config, port_file):
    Handler.config = config
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    with open(port_file, "w") as out:
        out.write(str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
