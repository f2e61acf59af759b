"""ecf-server over loopback: an X reading and a Z export through POST /call,
the paper and state through GET /tape and /state, and the requests it must
refuse (no token 401, too large 413, not JSON 400). Python standard library
only. Usage: ecf_server_test.py BIN_DIR [WINE_LOADER]: with a Wine loader,
the Windows build's ecf-server.exe runs under it and is given Windows paths."""
import json
import os
import stat
import sys
import unittest

from bridge_env import EcfServer, Machine, start_params

BIN_DIR = None
WINE_LOADER = None
MAX_REQUEST = 65536


def program_path(path):
    """A path as the server is given it: under Wine, on the drive Z: that Wine maps to /."""
    return "Z:" + path.replace("/", "\\") if WINE_LOADER else path


class EcfServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.machine = Machine(program_path)
        server = [WINE_LOADER, os.path.join(BIN_DIR, "ecf-server.exe")] if WINE_LOADER else [os.path.join(BIN_DIR, "ecf-server")]
        cls.server = EcfServer(cls.machine, server, ["--max-request-bytes", str(MAX_REQUEST), "--timeout", "20"],
                               program_path)
        cls.port, cls.token, cls.token_file = cls.server.port, cls.server.token, cls.server.token_file

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.machine.remove()

    def request(self, method, path, body=None, token=True, headers=None):
        connection = self.server.connection()
        all_headers = self.server.headers(token)
        all_headers.update(headers or {})
        connection.request(method, path, body=body, headers=all_headers)
        response = connection.getresponse()
        data = response.read().decode("utf-8")
        connection.close()
        return response.status, data

    def call(self, operation, *arguments):
        status, data = self.request("POST", "/call", json.dumps({"operation": operation, "arguments": list(arguments)}))
        self.assertEqual(200, status, data)
        reply = json.loads(data)
        self.assertTrue(reply["ok"], reply)
        return reply

    def test_1_the_token_file_is_the_owners_only(self):
        if not WINE_LOADER:  # on Windows the file's access list keeps others out, not its mode bits
            mode = stat.S_IMODE(os.stat(self.token_file).st_mode)
            self.assertEqual(0o600, mode)
        self.assertGreaterEqual(len(self.token), 32)

    def test_2_x_reading_and_z_export_over_http(self):
        self.assertEqual((200, '{"ok":true}'), self.request("GET", "/health", token=False))
        self.assertTrue(self.call("StartImpFiscal", start_params())["result"])
        reading = self.call("Leitura_X_Imp", "", "001", "")
        self.assertTrue(reading["result"])
        self.assertTrue(reading["log"])
        status, tape = self.request("GET", "/tape")
        self.assertEqual(200, status)
        self.assertIn("LECTURA X", tape)

        types = {"fields": [{"name": "CDTIPORECE", "type": "string", "size": 3},
                            {"name": "NMTIPORECE", "type": "string", "size": 40},
                            {"name": "IDTIPORECE", "type": "string", "size": 1}],
                 "rows": [["001", "Dinheiro", "1"], ["002", "Cartao Debito", "1"]]}
        export = self.call("ExportRedZ", "", "001", "EMU0001", 1, types, None, None, None, None)
        self.assertTrue(export["result"])
        reduction = export["arguments"]["cdsReducaoZAux"]
        self.assertIsNotNone(reduction, export)
        self.assertEqual(1, len(reduction["rows"]))
        self.assertIn("cdsFormPgtoZAux", export["arguments"])

        status, state = self.request("GET", "/state")
        self.assertEqual(200, status)
        self.assertIn("COO", json.loads(state))

    def test_3_refused_requests(self):
        good = json.dumps({"operation": "Leitura_X_Imp", "arguments": ["", "001", ""]})
        self.assertEqual(401, self.request("POST", "/call", good, token=False)[0])
        self.assertEqual(401, self.request("POST", "/call", good, headers={"Authorization": "Bearer nope"})[0])
        self.assertEqual(401, self.request("GET", "/tape", token=False)[0])
        self.assertEqual(413, self.request("POST", "/call", "[" + " " * MAX_REQUEST + "]")[0])
        status, data = self.request("POST", "/call", '{"operation": "Leitura_X_Imp", ')
        self.assertEqual(400, status)
        self.assertEqual("bad_json", json.loads(data)["error"]["code"])
        status, data = self.request("POST", "/call", json.dumps({"operation": "Leitura_X_Imp", "arguments": [1]}))
        self.assertEqual(400, status)
        self.assertEqual("wrong_argument_count", json.loads(data)["error"]["code"])


if __name__ == "__main__":
    BIN_DIR = sys.argv.pop(1)
    if len(sys.argv) > 1:
        WINE_LOADER = sys.argv.pop(1)
    unittest.main()
