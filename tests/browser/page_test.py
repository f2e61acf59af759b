"""The emulated printer's page of ecf-server in a headless Chromium: the token
form, the paper tape following a sale without a reload, a fault button that
switches the printer off and the refused sale after it, the strip drawn on
screen; and the page's fault and view requests over plain HTTP. Python
standard library, Debian's chromium and chromedriver.
Usage: page_test.py BIN_DIR. With KVR_PAGE_SCREENSHOT set, the screenshot
is also written to that path."""
import itertools
import json
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "bridge"))

import png  # noqa: E402
import webdriver  # noqa: E402
from bridge_client_test import closing_slots, item, movements  # noqa: E402
from bridge_env import EcfServer, Machine, start_params  # noqa: E402

BIN_DIR = None
CUT = "~" * 48
ITEM = "CAFE COADO DA CASA"
FAULT_BUTTONS = {"paper-low", "paper-out", "paper-ok", "paper-ends-after", "power-off", "power-on", "port-refused",
                 "port-ok", "clock-move", "clock-real", "script", "clear-scripts"}
STATE_KEYS = {"Dia", "Documento", "FaseCupom", "COO", "CCF", "GNF", "CRZ", "GT", "Papel", "Ligada", "Relogio",
              "HorarioVerao"}
OPEN_COUPON = ("AbreCupom", [{"ESQUEMACOR": "001", "IDUTILTEF": "N", "UTILTEF": False}])

STRIPS = "return [...document.querySelectorAll('#tape div.strip')].map(s => s.querySelector('pre.paper').textContent)"
LAST_STRIP = """
  const strips = document.querySelectorAll('#tape div.strip');
  return strips.length ? strips[strips.length - 1].querySelector('pre.paper').textContent : '';"""
POWER_OFF_SHOWN = """
  const faults = [...document.querySelectorAll('#faults li.fault')];
  const power = document.querySelector('#state dd[data-key=Ligada]').textContent.trim();
  return faults.length === 1 && faults[0].classList.contains('in-effect') && power === 'desligada'
      ? faults[0].textContent : null;"""
# The list is #journal itself or inside it.
JOURNAL = "return [...document.querySelectorAll('#journal ol > li, ol#journal > li')].map(li => li.textContent)"
LAST_STRIP_ON_SCREEN = """
  const strips = document.querySelectorAll('#tape div.strip');
  const strip = strips[strips.length - 1];
  strip.scrollIntoView({block: 'start'});
  const r = strip.getBoundingClientRect();
  return [r.left, r.top, r.right, Math.min(r.bottom, window.innerHeight), window.devicePixelRatio];"""


def lines_of(text):
    """The lines of a text, CRLF or LF, without the empty ones at its end."""
    lines = text.replace("\r\n", "\n").split("\n")
    while lines and not lines[-1]:
        lines.pop()
    return lines


def documents(tape):
    """The documents on the paper, each its lines, split at the cut lines."""
    found, current = [], []
    for line in lines_of(tape):
        if line == CUT:
            found.append(current)
            current = []
        else:
            current.append(line)
    return found + ([current] if current else [])


def eventually(read, done, seconds=15):
    """The first value of read() that is done(), or its last one after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = read()
        if done(value) or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


class EmulatorPageTest(unittest.TestCase):
    def setUp(self):
        problem = webdriver.missing()
        if problem:
            self.fail(problem)
        self.machine = Machine()
        self.addCleanup(self.machine.remove)
        self.server = EcfServer(self.machine, [os.path.join(BIN_DIR, "ecf-server")])
        self.addCleanup(self.server.stop)
        status, reply = self.server.call({"operation": "StartImpFiscal", "arguments": [start_params()]})
        self.assertEqual((200, True), (status, reply.get("result")), reply)

    def request(self, method, path, body=None, token=True):
        """(status, content type, reply: parsed when JSON) of a request of its own."""
        connection = self.server.connection()
        try:
            data = body if body is None or isinstance(body, str) else json.dumps(body)
            connection.request(method, path, body=data, headers=self.server.headers(token))
            response = connection.getresponse()
            kind, reply = response.getheader("Content-Type", ""), response.read().decode("utf-8")
            return response.status, kind, json.loads(reply) if kind.startswith("application/json") else reply
        finally:
            connection.close()

    def view(self):
        status, _, view = self.request("GET", "/page/view")
        self.assertEqual(200, status, view)
        return view

    def sell(self, name):
        """One coupon of one item, on one connection: the coupon's client holds the printer."""
        slots = closing_slots()
        slots[13] = movements([("E", "001", 3.0, 1)])
        connection = self.server.connection()
        try:
            for operation, arguments in (OPEN_COUPON, ("VendaItem", [item("7", name, 3.0, 1.0, 0.0, "FF")]),
                                         ("FechaCupom", [slots, None, [None] * 10])):
                status, reply = self.server.post(connection, {"operation": operation, "arguments": arguments})
                self.assertEqual((200, True), (status, reply.get("result")), reply)
        finally:
            connection.close()

    def test_page_follows_a_sale_switches_the_printer_off_and_draws_the_paper(self):
        with webdriver.Browser() as browser:
            browser.get("http://127.0.0.1:%d/" % self.server.port)
            browser.type(browser.find("#token-form input#token-input"), self.server.token)
            browser.click(browser.find("#token-form button#token-save"))
            browser.wait_for("return document.body.dataset.connected === '1'", 15, "the first view")
            href, form_hidden, stored, titles, keys = browser.execute("""return [location.href,
                document.querySelector('#token-form').hidden, Object.values(sessionStorage),
                Object.fromEntries([...document.querySelectorAll('button[data-fault]')].map(b => [b.dataset.fault, b.title])),
                [...document.querySelectorAll('#state dd[data-key]')].map(d => d.dataset.key)]""")
            self.assertNotIn(self.server.token, href)
            self.assertTrue(form_hidden)
            self.assertTrue([value for value in stored if self.server.token in value], stored)
            self.assertLessEqual(FAULT_BUTTONS, set(titles))
            self.assertEqual([], [name for name in FAULT_BUTTONS if not titles[name].strip()], "buttons without a title")
            self.assertLessEqual(STATE_KEYS, set(keys))

            # The sale reaches the open page by itself: the page is not reloaded.
            browser.execute("window.__kept = 42")
            self.sell(ITEM)
            tape = self.view()["tape"]
            self.assertEqual(self.machine.tape(), tape)
            last = eventually(lambda: browser.execute(LAST_STRIP), lambda text: ITEM in text and "TOTAL R$" in text)
            self.assertIn(ITEM, last)
            self.assertIn("TOTAL R$", last)
            self.assertEqual(42, browser.execute("return window.__kept"))
            self.assertTrue(browser.execute("return document.querySelector('#tape').dataset.version").isdigit())
            strips = eventually(lambda: browser.execute(STRIPS), lambda texts: documents(tape) == list(map(lines_of, texts)))
            self.assertEqual(documents(tape), [lines_of(text) for text in strips])
            self.assertEqual([], [line for text in strips for line in lines_of(text) if len(line) > 48])

            # The power-off button switches the printer off; the next sale is refused and prints nothing.
            browser.click(browser.find("button[data-fault=power-off]"))
            fault = browser.wait_for(POWER_OFF_SHOWN, 15, "the power-off fault in effect").lower()
            self.assertIn("power", fault)
            self.assertIn("off", fault)
            self.assertIn("in effect", fault)
            status, refused = self.server.call({"operation": OPEN_COUPON[0], "arguments": OPEN_COUPON[1]})
            self.assertFalse(status == 200 and refused.get("ok") and refused.get("result") is True, refused)
            view = self.view()
            self.assertEqual(len(strips), len(documents(view["tape"])))
            # The printer's calls of the refused sale: the failures at the journal's end.
            failed = list(itertools.takewhile(lambda entry: entry["result"] != 1, reversed(view["journal"])))
            self.assertTrue(failed, view["journal"])
            shown = lambda journal, entry: [li for li in journal if entry["name"] in li and str(entry["result"]) in li]
            journal = eventually(lambda: browser.execute(JOURNAL), lambda lis: all(shown(lis, e) for e in failed))
            for entry in failed:
                self.assertTrue(shown(journal, entry), (entry, journal))
            self.assertEqual(strips, browser.execute(STRIPS))

            # The last strip is drawn: paper-coloured pixels with dark text on them.
            left, top, right, bottom, ratio = browser.execute(LAST_STRIP_ON_SCREEN)
            shot = browser.screenshot()
        with open(os.path.join(self.machine.root, "page.png"), "wb") as f:
            f.write(shot)
        if os.environ.get("KVR_PAGE_SCREENSHOT"):
            with open(os.environ["KVR_PAGE_SCREENSHOT"], "wb") as f:
                f.write(shot)
        image = png.decode(shot)
        box = [int(round(v * ratio)) for v in (left, top, right, bottom)]
        xs, ys = range(max(box[0], 0), min(box[2], image.width)), range(max(box[1], 0), min(box[3], image.height))
        light = dark = 0
        for y in ys:
            for x in xs:
                r, g, b = image.rgb(x, y)
                light += min(r, g, b) >= 200
                dark += 0.299 * r + 0.587 * g + 0.114 * b < 110
        area = len(xs) * len(ys)
        self.assertGreater(area, 10000 * ratio * ratio, "the last strip is not on screen: %s" % box)
        self.assertGreater(light, area * 0.3, "paper-coloured pixels in %s" % box)
        self.assertGreater(dark, 300 * ratio * ratio, "dark text pixels in %s" % box)

    def test_fault_requests_are_checked_and_a_scripted_answer_is_spent(self):
        for path, kind in (("/", "text/html"), ("/page.css", "text/css"), ("/page.js", "javascript")):
            status, content, _ = self.request("GET", path, token=False)
            self.assertEqual((200, True), (status, kind in content), path)
        for method, path, body in (("POST", "/page/fault", {"command": "power", "args": ["off"]}),
                                   ("GET", "/page/view", None)):
            status, _, reply = self.request(method, path, body, token=False)
            self.assertEqual((401, "unauthorized"), (status, reply["error"]["code"]), path)

        for body, named in (({"command": "power", "args": ["sideways"]}, "on or off"),
                            ({"command": "paper-ends-after", "args": ["many"]}, "many"),
                            ({"command": "launch"}, "launch"), ("not json", "")):
            status, _, reply = self.request("POST", "/page/fault", body)
            self.assertEqual((400, False, "bad_request"), (status, reply["ok"], reply["error"]["code"]), body)
            self.assertIn(named, reply["error"]["message"])
        status, _, reply = self.request("GET", "/page/view?since=abc")
        self.assertEqual((400, False, "bad_request"), (status, reply["ok"], reply["error"]["code"]))
        view = self.view()
        self.assertEqual(([], "1"), (view["faults"], view["state"]["Ligada"]))  # the refused ones did nothing
        # A page that has the tape already is not sent it again.
        status, _, again = self.request("GET", "/page/view?tape=%d" % view["tape_version"])
        self.assertEqual((200, None, view["tape_version"]), (status, again["tape"], again["tape_version"]))
        status, _, reply = self.request("GET", "/page/view?since=1&tape=-3")
        self.assertEqual((400, "bad_request"), (status, reply["error"]["code"]))

        # The next call of any entry answers 0 once; the coupon's opening spends it.
        status, _, reply = self.request("POST", "/page/fault", {
            "command": "script", "args": ["*", "0", "0", "0", "0", "1", "execute"]})
        self.assertEqual((200, True, "armed"), (status, reply["ok"], reply["fault"]["status"]), reply)
        self.server.call({"operation": OPEN_COUPON[0], "arguments": OPEN_COUPON[1]})
        self.assertEqual([(reply["fault"]["id"], "spent")], [(f["id"], f["status"]) for f in self.view()["faults"]])


if __name__ == "__main__":
    BIN_DIR = sys.argv.pop(1)
    unittest.main()
