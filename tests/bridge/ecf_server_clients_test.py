"""ecf-server under several clients: two tills selling at once each keep their
own coupon, slow clients do not keep another waiting, a body slower than the
deadline and requests over the limits are refused while the service goes on,
and an address off this machine needs the explicit option. Python standard
library only. Usage: ecf_server_clients_test.py BIN_DIR [WINE_LOADER]: with a
Wine loader, the Windows build's ecf-server.exe runs under it."""
import json
import os
import select
import socket
import subprocess
import sys
import threading
import time
import unittest

from bridge_client_test import closing_slots, item, movements
from bridge_env import EcfServer, Machine, start_params

BIN_DIR = None
WINE_LOADER = None
MAX_REQUEST = 65536
DEADLINE = 2


def program_path(path):
    """A path as the server is given it: under Wine, on the drive Z: that Wine maps to /."""
    return "Z:" + path.replace("/", "\\") if WINE_LOADER else path


def program():
    """The command that runs ecf-server."""
    if WINE_LOADER:
        return [WINE_LOADER, os.path.join(BIN_DIR, "ecf-server.exe")]
    return [os.path.join(BIN_DIR, "ecf-server")]


def coupon_with(tape, name):
    """The lines of the coupon on the tape that sold the item `name`."""
    lines = tape.split("\r\n")
    at = max(i for i, line in enumerate(lines) if name in line)
    start = max(i for i in range(at) if lines[i].strip() == "CUPOM FISCAL")
    end = next(i for i in range(at, len(lines)) if lines[i] and set(lines[i]) == {"~"})  # the cut
    return lines[start:end + 1]


class EcfServerClientsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.machine = Machine(program_path)
        cls.server = EcfServer(cls.machine, program(),
                               ["--max-request-bytes", str(MAX_REQUEST), "--timeout", str(DEADLINE)], program_path)
        status, started = cls.server.call({"operation": "StartImpFiscal", "arguments": [start_params()]})
        if status != 200 or not started["result"]:
            raise RuntimeError("the driver did not start: %s" % started)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.machine.remove()

    def sell(self, name, opened=None, busy=None):
        """One coupon of one item named `name` on a connection of its own, each
        step retried while the printer is busy; `opened` is set once the coupon
        is open, the busy answers are added to `busy`. The replies of the steps."""
        connection = self.server.connection()
        slots = closing_slots()
        slots[13] = movements([("E", "001", 3.0, 1)])
        steps = [("AbreCupom", [{"ESQUEMACOR": "001", "IDUTILTEF": "N", "UTILTEF": False}]),
                 ("VendaItem", [item("7", name, 3.0, 1.0, 0.0, "FF")]),
                 ("FechaCupom", [slots, None, [None] * 10])]
        replies = []
        for operation, arguments in steps:
            while True:
                status, reply = self.server.post(connection, {"operation": operation, "arguments": arguments})
                if status != 503:
                    break
                busy.append(reply)
                time.sleep(0.05)
            replies.append(reply)
            if opened and operation == "AbreCupom":
                opened.set()
        connection.close()
        return replies

    def test_two_tills_selling_at_once_each_keep_their_own_coupon(self):
        opened, busy, replies = threading.Event(), [], {}
        first = threading.Thread(target=lambda: replies.update(A=self.sell("AGUA DO CAIXA A", opened, busy)))
        first.start()
        opened.wait(30)
        second = threading.Thread(target=lambda: replies.update(B=self.sell("SUCO DO CAIXA B", None, busy)))
        second.start()
        first.join(60)
        second.join(60)
        for till in "AB":
            self.assertEqual([True] * 3, [r.get("result") for r in replies[till]], replies[till])
        tape = self.machine.tape()
        for mine, other in (("AGUA DO CAIXA A", "SUCO DO CAIXA B"), ("SUCO DO CAIXA B", "AGUA DO CAIXA A")):
            coupon = coupon_with(tape, mine)
            self.assertFalse([line for line in coupon if other in line], coupon)
            self.assertTrue([line for line in coupon if line.startswith("TOTAL R$") and "3,00" in line], coupon)
        for answer in busy:
            self.assertEqual("busy", answer["error"]["code"])
            self.assertIn("a fiscal coupon is open", answer["error"]["message"])
            self.assertIn('"connection 127.0.0.1:', answer["error"]["message"])

    def test_ten_slow_clients_do_not_keep_an_eleventh_waiting(self):
        slow = []
        try:
            for i in range(10):
                s = socket.create_connection(("127.0.0.1", self.server.port))
                if i % 2:
                    s.sendall(b"POST /call HTTP/1.1\r\nHost: x\r\n")  # headers never finished
                else:
                    s.sendall(b"POST /call HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n{\"oper")
                slow.append(s)
            time.sleep(0.2)
            began = time.monotonic()
            status, reply = self.server.call({"operation": "Data_Imp", "arguments": ["001", ""]})
            self.assertLess(time.monotonic() - began, 1.0)
            self.assertEqual((200, True), (status, reply["result"]), reply)
        finally:
            for s in slow:
                s.close()

    def test_a_request_trickling_in_past_the_deadline_from_its_first_byte_is_refused(self):
        body = b'{"operation": "Data_Imp", "arguments": ["001", ""]}'
        request = (b"POST /call HTTP/1.1\r\nHost: x\r\nAuthorization: Bearer " + self.server.token.encode() +
                   b"\r\nContent-Length: " + str(len(body)).encode() + b"\r\n\r\n" + body)
        s = socket.create_connection(("127.0.0.1", self.server.port), timeout=DEADLINE + 10)
        answer = b""
        try:
            began = time.monotonic()
            for byte in request:  # a byte every 0.1 s: the headers alone take longer than the deadline
                try:
                    s.sendall(bytes([byte]))
                except OSError:
                    break  # the server answered and closed
                if select.select([s], [], [], 0.1)[0]:
                    break  # the answer came
            while True:
                data = s.recv(4096)
                if not data:
                    break
                answer += data
        finally:
            s.close()
        self.assertTrue(answer.startswith(b"HTTP/1.1 408"), answer)
        self.assertLess(time.monotonic() - began, DEADLINE + 3)
        self.assertEqual("timeout", json.loads(answer.split(b"\r\n\r\n", 1)[1])["error"]["code"])

    def test_requests_over_the_limits_are_refused_and_the_service_goes_on(self):
        connection = self.server.connection()
        chunks = (b"[" + b" " * 1000 for _ in range(MAX_REQUEST // 1000 + 2))
        connection.request("POST", "/call", chunks, self.server.headers(), encode_chunked=True)
        response = connection.getresponse()
        self.assertEqual(413, response.status)
        self.assertEqual("too_large", json.loads(response.read())["error"]["code"])
        connection.close()

        connection = self.server.connection()
        connection.request("GET", "/health", headers={"X-Filler-%d" % i: "x" * 1000 for i in range(20)})
        response = connection.getresponse()
        self.assertEqual((431, "too_large"), (response.status, json.loads(response.read())["error"]["code"]))
        connection.close()

        wide = {"fields": [{"name": "F%d" % f, "type": "string"} for f in range(1000)], "rows": [[]] * 201}
        status, reply = self.server.call({
            "operation": "ExportRedZ", "arguments": ["", "001", "EMU0001", 1, wide, None, None, None, None]})
        self.assertEqual((400, "too_large"), (status, reply["error"]["code"]))

        status, reply = self.server.call({"operation": "Data_Imp", "arguments": ["001", ""]})
        self.assertEqual((200, True), (status, reply["result"]))

    def test_an_address_off_this_machine_needs_the_explicit_option(self):
        # Each start makes a token file of its own: Wine keeps no owner-only
        # access list on a file for the next process to find.
        starts = iter(range(10))
        server = lambda: program() + [
            "--port", "0", "--exe-dir", program_path(self.machine.exe_dir),
            "--token-file", program_path(os.path.join(self.machine.root, "token-%d" % next(starts)))]
        refused = subprocess.run(server() + ["--host", "0.0.0.0"], capture_output=True, text=True, timeout=30,
                                 env=self.machine.environment())
        self.assertEqual(2, refused.returncode)
        self.assertIn("--allow-plain-http-on-network", refused.stderr)
        # Wine's sockets take no other loopback address and resolve no name to one.
        for loopback in ("127.0.0.1",) if WINE_LOADER else ("127.0.0.1", "127.1.2.3", "localhost"):
            started = subprocess.Popen(server() + ["--host", loopback], stdout=subprocess.PIPE,
                                       stderr=subprocess.PIPE, text=True, env=self.machine.environment())
            self.assertIn("listening on http://" + loopback, started.stdout.readline())
            started.terminate()
            started.communicate(timeout=10)
        allowed = subprocess.Popen(server() + ["--host", "0.0.0.0", "--allow-plain-http-on-network"],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                   env=self.machine.environment())
        banner = allowed.stdout.readline()
        allowed.terminate()
        _, errors = allowed.communicate(timeout=10)
        self.assertIn("listening on http://0.0.0.0:", banner, errors)
        self.assertIn("warning", errors)
        self.assertIn("unencrypted", errors)


if __name__ == "__main__":
    BIN_DIR = sys.argv.pop(1)
    if len(sys.argv) > 1:
        WINE_LOADER = sys.argv.pop(1)
    unittest.main()
