"""Takes the picture of the page that README.md shows: the demo day's printer
(run scripts/demo first) on ecf-server's page in a headless Chromium.
Usage: demo_screenshot.py BIN_DIR DEMO_DIR OUT.png"""
import os
import shutil
import sys
import tempfile

import webdriver
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "bridge"))
from bridge_env import EcfServer  # noqa: E402


class DemoMachine:
    """The demo's folders, with a throw-away host folder for the service."""

    def __init__(self, demo):
        self.root = tempfile.mkdtemp(prefix="kvr-page-")
        self.system_dir = os.path.join(demo, "windows", "system32")
        self.exe_dir = self.root
        self.drive_c = os.path.join(demo, "c")

    def environment(self):
        return dict(os.environ)


def main(bin_dir, demo, out):
    machine = DemoMachine(demo)
    server = EcfServer(machine, [os.path.join(bin_dir, "ecf-server")])
    try:
        with webdriver.Browser() as browser:
            browser.get("http://127.0.0.1:%d/" % server.port)
            browser.type(browser.find("#token-input"), server.token)
            browser.click(browser.find("#token-save"))
            browser.wait_for("return document.body.dataset.connected === '1'", 15, "the first view")
            shot = browser.screenshot()
        with open(out, "wb") as f:
            f.write(shot)
    finally:
        server.stop()
        shutil.rmtree(machine.root, ignore_errors=True)


if __name__ == "__main__":
    main(*sys.argv[1:4])
