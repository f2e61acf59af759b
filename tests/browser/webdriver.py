"""A headless Chromium driven over the W3C WebDriver protocol: chromedriver on
a free port of this machine, spoken to with urllib and json. Python standard
library only."""
import base64
import json
import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import urllib.error
import urllib.request

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"  # the key of an element reference


def missing():
    """Why the browser cannot run here, or None."""
    absent = [path for path in (CHROMIUM, CHROMEDRIVER) if not os.access(path, os.X_OK)]
    if absent:
        return ("%s missing: install the Debian packages chromium and chromium-driver "
                "(scripts/setup does)" % " and ".join(absent))
    return None


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WebDriverError(RuntimeError):
    pass


class Browser:
    """A browser session; `with Browser() as browser:` ends chromedriver and
    Chromium and removes their folder even when the body fails."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="kvr-browser-")
        self.profile = os.path.join(self.root, "profile")
        self.session = None
        # Chromium writes under the home and cache folders: those of the test, not the user's.
        env = dict(os.environ, HOME=self.root, XDG_CONFIG_HOME=os.path.join(self.root, "config"),
                   XDG_CACHE_HOME=os.path.join(self.root, "cache"))
        self.port = free_port()
        self.log = open(os.path.join(self.root, "chromedriver.log"), "wb")
        self.driver = subprocess.Popen([CHROMEDRIVER, "--port=%d" % self.port], stdout=self.log,
                                       stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, env=env,
                                       start_new_session=True)
        try:
            self.wait(lambda: self.send("GET", "/status", prefix=False).get("ready"), 20, "chromedriver to start")
            args = ["--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,1000",
                    "--user-data-dir=" + self.profile, "--no-first-run", "--lang=en-US"]
            created = self.send("POST", "/session", {"capabilities": {"alwaysMatch": {
                "browserName": "chrome", "goog:chromeOptions": {"binary": CHROMIUM, "args": args}}}}, prefix=False)
            self.session = created["sessionId"]
        except Exception as error:
            self.log.flush()
            with open(self.log.name, "rb") as f:
                log = f.read()[-2000:].decode("utf-8", "replace")
            self.quit()
            raise WebDriverError("the browser did not start: %s\nchromedriver said:\n%s" % (error, log)) from None
        except BaseException:
            self.quit()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *error):
        self.quit()

    def send(self, method, path, body=None, prefix=True, timeout=60):
        """The value of a WebDriver command; its error raises WebDriverError."""
        url = "http://127.0.0.1:%d%s%s" % (self.port, "/session/" + self.session if prefix else "", path)
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(url, data=data, method=method,
                                         headers={"Content-Type": "application/json; charset=utf-8"})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as response:
                return json.loads(response.read().decode("utf-8"))["value"]
        except urllib.error.HTTPError as error:
            value = json.loads(error.read().decode("utf-8") or "{}").get("value", {})
            raise WebDriverError("%s %s: %s: %s" % (method, path, value.get("error"), value.get("message"))) from None

    @staticmethod
    def wait(condition, seconds, what):
        """The first true value of condition(), tried every 0.1 s for `seconds`."""
        deadline = time.monotonic() + seconds
        while True:
            try:
                value = condition()
            except (OSError, WebDriverError):
                value = None
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError("waited %g s for %s" % (seconds, what))
            time.sleep(0.1)

    def get(self, url):
        self.send("POST", "/url", {"url": url})

    def execute(self, script, *args):
        return self.send("POST", "/execute/sync", {"script": script, "args": list(args)})

    def wait_for(self, script, seconds, what, *args):
        """The first true value the script returns, run every 0.1 s for `seconds`."""
        return self.wait(lambda: self.execute(script, *args), seconds, what)

    def find(self, selector):
        return self.send("POST", "/element", {"using": "css selector", "value": selector})[ELEMENT]

    def click(self, element):
        self.send("POST", "/element/%s/click" % element, {})

    def type(self, element, text):
        self.send("POST", "/element/%s/value" % element, {"text": text})

    def screenshot(self):
        """The viewport as PNG bytes."""
        return base64.b64decode(self.send("GET", "/screenshot"))

    def quit(self):
        try:
            if self.session:
                self.send("DELETE", "", timeout=15)
        except (OSError, WebDriverError):
            pass
        self.session = None
        if self.driver.poll() is None:
            self.driver.terminate()
            try:
                self.driver.wait(10)
            except subprocess.TimeoutExpired:
                self.driver.kill()
                self.driver.wait()
        self.kill_leftovers()
        self.log.close()
        shutil.rmtree(self.root, ignore_errors=True)

    def kill_leftovers(self):
        """Kills any Chromium process still running on this session's profile folder."""
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    command = f.read()
            except OSError:
                continue
            if ("--user-data-dir=" + self.profile).encode() in command:
                try:
                    os.kill(int(pid), signal.SIGKILL)
                except OSError:
                    pass
