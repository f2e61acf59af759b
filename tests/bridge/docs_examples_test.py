"""The examples of docs/bridge.md run as written. Each is the fenced block just
after a line `<!-- example: NAME -->`, read from the document itself, and runs
in a throw-away machine: a temp folder laid out as the top of the source tree
(driver/ and build/bin linked in), where the reader would run them, and
KVR_HOME beside it, on the real library, emulated printer and ecf-server. Python standard library only.
Usage: docs_examples_test.py BIN_DIR SOURCE_DIR [C_COMPILER]"""
import ast
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

BIN_DIR = None
SOURCE_DIR = None
C_COMPILER = None

EXAMPLE = re.compile(r"^<!-- example: ([\w-]+) -->\n```(\w+)\n(.*?)^```$", re.M | re.S)
NAMES = {"machine": "sh", "whole-sale-http": "sh", "cancel-last-coupon": "sh", "x-reading-c": "c",
         "x-reading-c-build": "sh", "x-reading-python": "python", "ecf-server": "sh", "x-reading-http": "sh"}
# Variables of the caller's shell that would steer the examples elsewhere.
FOREIGN = ("KVR_HOME", "KVR_BIN", "PORT", "CC", "FISCAL_SYSTEM_DIR", "FISCAL_EXE_DIR", "FISCAL_DRIVE_C")


def examples():
    """Each marked block of docs/bridge.md by name, checked to be there once, in its language."""
    with open(os.path.join(SOURCE_DIR, "docs", "bridge.md"), encoding="utf-8") as f:
        found = EXAMPLE.findall(f.read())
    names = [name for name, _, _ in found]
    if sorted(names) != sorted(NAMES):
        raise AssertionError("docs/bridge.md marks the examples %s, not %s" % (names, sorted(NAMES)))
    for name, language, _ in found:
        if NAMES[name] != language:
            raise AssertionError("the example %s is in %s, not %s" % (name, language, NAMES[name]))
    return {name: text for name, _, text in found}


def replies(output, parse=json.loads):
    """The replies an example printed, one a line."""
    return [parse(line) for line in output.splitlines() if line.startswith("{")]


def documents(tape):
    """The documents on the paper, each as its stripped lines (each ends with a line of ~)."""
    docs, lines = [], []
    for line in tape.splitlines():
        if line and set(line) == {"~"}:
            docs.append(lines)
            lines = []
        else:
            lines.append(line.strip())
    return docs


class Reader:
    """A reader's working folder and shell: the examples run here, with
    KVR_HOME in it and no folder of the caller's own."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="kvr-docs-")
        self.top = os.path.join(self.root, "top")
        os.makedirs(os.path.join(self.top, "build"))
        os.symlink(os.path.join(SOURCE_DIR, "driver"), os.path.join(self.top, "driver"))
        os.symlink(BIN_DIR, os.path.join(self.top, "build", "bin"))
        self.home = os.path.join(self.root, "kvr-demo")
        self.env = {k: v for k, v in os.environ.items() if k not in FOREIGN}
        self.env.update(KVR_HOME=self.home, HOME=os.path.join(self.root, "user"))
        if C_COMPILER:
            self.env["CC"] = C_COMPILER
        self.server = None

    def run(self, command, stdin_text=None, loads_driver=False):
        """Runs a command; one that loads the driver library itself gets the
        sanitizer runtime first in the sanitizer build (curl cannot run with it)."""
        env = self.env
        if loads_driver and os.environ.get("KVR_SANITIZER_PRELOAD"):
            env = dict(env, LD_PRELOAD=os.environ["KVR_SANITIZER_PRELOAD"])
        done = subprocess.run(command, cwd=self.top, env=env, input=stdin_text or "",
                              capture_output=True, text=True, timeout=120)
        if done.returncode != 0:
            raise AssertionError("%s failed (%d):\n%s\n%s" % (command[:2], done.returncode, done.stdout, done.stderr))
        return done.stdout

    def sh(self, *blocks, loads_driver=False):
        return self.run(["sh", "-c", "\n".join(blocks)], loads_driver=loads_driver)

    def start_server(self, text):
        """Runs the server block with PORT=0 and lets the later blocks use the port it took."""
        self.server = subprocess.Popen(["sh", "-c", text], cwd=self.top, env=dict(self.env, PORT="0"),
                                       stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True,
                                       start_new_session=True)
        banner = self.server.stdout.readline()
        found = re.search(r"listening on http://127\.0\.0\.1:(\d+)/", banner)
        if not found:
            self.stop_server()
            raise AssertionError("ecf-server did not start: " + banner)
        self.env["PORT"] = found.group(1)

    def stop_server(self):
        if self.server:
            os.killpg(self.server.pid, signal.SIGTERM)  # the shell and the server it runs
            self.server.wait(timeout=10)
            self.server.stdout.close()
            self.server = None

    def tape(self):
        path = os.path.join(self.home, "printer", "Bobina.txt")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("latin-1")

    def debug_log(self):
        """Every debug log in KVR_HOME/exe, the writable folder given as the host's."""
        folder = os.path.join(self.home, "exe")
        text = ""
        for name in sorted(os.listdir(folder)):
            if name.lower().startswith("impdebug"):
                with open(os.path.join(folder, name), "rb") as f:
                    text += f.read().decode("latin-1")
        return text

    def remove(self):
        self.stop_server()
        shutil.rmtree(self.root, ignore_errors=True)


class DocsExamples(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.blocks = examples()

    def setUp(self):
        self.reader = Reader()
        self.reader.sh(self.blocks["machine"])

    def tearDown(self):
        self.reader.remove()

    def assertSucceeded(self, reply_list, count):
        self.assertEqual(count, len(reply_list), reply_list)
        for reply in reply_list:
            self.assertIs(True, reply["ok"], reply)
            self.assertIs(True, reply["result"], reply)
            self.assertEqual([], reply["dialogs"], reply)

    def assertXReading(self, reading):
        """The reading on the paper, and its printer calls in the debug log of KVR_HOME/exe."""
        self.assertIn("LECTURA X", "\n".join(self.paper()[-1]))
        self.assertTrue(reading["log"], reading)
        log = self.reader.debug_log()
        for line in reading["log"]:
            self.assertIn(line, log)

    def test_c_x_reading(self):
        if not C_COMPILER or not os.path.exists(C_COMPILER):
            self.skipTest("no C compiler")
        with open(os.path.join(self.reader.top, "x_reading.c"), "w", encoding="utf-8") as f:
            f.write(self.blocks["x-reading-c"])
        steps = replies(self.reader.sh(self.blocks["x-reading-c-build"], loads_driver=True))
        self.assertSucceeded(steps, 2)
        self.assertXReading(steps[1])

    def test_python_x_reading(self):
        output = self.reader.run([sys.executable, "-c", self.blocks["x-reading-python"]], loads_driver=True)
        steps = replies(output, ast.literal_eval)
        self.assertSucceeded(steps, 2)
        self.assertXReading(steps[1])

    def test_http_x_reading(self):
        self.reader.start_server(self.blocks["ecf-server"])
        lines = self.reader.sh(self.blocks["x-reading-http"]).splitlines()
        self.assertEqual({"ok": True}, json.loads(lines[0]))
        started, reading = json.loads(lines[1]), json.loads(lines[2])
        self.assertSucceeded([started, reading], 2)
        self.assertXReading(reading)
        paper, state = "\n".join(lines[3:-1]), json.loads(lines[-1])
        self.assertIn("LECTURA X", "\n".join(documents(paper)[-1]))
        self.assertIn("COO", state)

    def paper(self):
        """The documents on the paper in KVR_HOME/printer, the printer's folder the machine names."""
        docs = documents(self.reader.tape())
        self.assertTrue(docs, "nothing printed in " + os.path.join(self.reader.home, "printer"))
        return docs

    def assertSaleCoupon(self, coupon):
        """The sale's coupon as the doc tells it: two coffees at 4.50 with 18 % of tax, 10.62 paid in
        cash, operator MARIA, footer VOLTE SEMPRE."""
        self.assertIn("CUPOM FISCAL", coupon)
        self.assertTrue(any(re.match(r"001 +7891000100103 +CAFE EXPRESSO$", line) for line in coupon), coupon)
        for pattern in (r"TOTAL R\$ +10,62$", r"Dinheiro +10,62$", r"MARIA$", r"VOLTE SEMPRE$"):
            self.assertTrue(any(re.match(pattern, line) for line in coupon), (pattern, coupon))

    def test_whole_sale_over_http(self):
        self.reader.start_server(self.blocks["ecf-server"])
        steps = replies(self.reader.sh(self.blocks["whole-sale-http"]))
        self.assertSucceeded(steps, 4)
        self.assertSaleCoupon(self.paper()[-1])

    def test_cancelling_the_last_coupon_after_the_sale(self):
        self.reader.start_server(self.blocks["ecf-server"])
        steps = replies(self.reader.sh(self.blocks["whole-sale-http"], self.blocks["cancel-last-coupon"]))
        self.assertSucceeded(steps, 5)
        docs = self.paper()
        self.assertIn("CUPOM FISCAL CANCELADO", docs[-1])
        coupon = docs[-2]
        self.assertSaleCoupon(coupon)
        number = re.search(r"COO:(\d{6})", " ".join(coupon)).group(1)
        self.assertEqual(number, steps[4]["arguments"]["oleRetorno"][0])


if __name__ == "__main__":
    BIN_DIR, SOURCE_DIR = os.path.abspath(sys.argv.pop(1)), os.path.abspath(sys.argv.pop(1))
    if len(sys.argv) > 1:
        C_COMPILER = sys.argv.pop(1)
    unittest.main()
