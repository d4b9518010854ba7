"""A throwaway RFC 3161 time-stamp authority on the loopback, for the
signing tests: each query POSTed to it is answered by `openssl ts -reply`
with the authority tests/install/throwaway_cert.sh made in FOLDER. Prints
its port, then serves until it is killed. Usage: timestamp_server.py FOLDER"""
import http.server
import subprocess
import sys

FOLDER = sys.argv[1]


class Answer(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", f"{FOLDER}/tsa.cnf", "-queryfile", "/dev/stdin",
             "-signer", f"{FOLDER}/tsa.pem", "-inkey", f"{FOLDER}/tsa.key", "-out", "/dev/stdout"],
            input=query, capture_output=True, check=False).stdout
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Answer)
print(server.server_address[1], flush=True)
server.serve_forever()
