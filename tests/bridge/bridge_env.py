"""A throw-away machine for the bridge's Python tests: the system directory
with BemaFI32.ini, the printer's folder, the host executable's folder and the
folder that stands for C:, under one temp root. Python standard library only."""
import ctypes
import http.client
import json
import os
import shutil
import subprocess
import tempfile


class Machine:
    def __init__(self, program_path=lambda path: path):
        """program_path gives a folder as the program under test names it."""
        self.root = tempfile.mkdtemp(prefix="kvr-bridge-")
        self.system_dir = os.path.join(self.root, "system")
        self.printer_dir = os.path.join(self.root, "printer")
        self.exe_dir = os.path.join(self.root, "exe")
        self.drive_c = os.path.join(self.root, "drive_c")
        for folder in (self.system_dir, self.printer_dir, self.exe_dir, self.drive_c):
            os.makedirs(folder)
        with open(os.path.join(self.system_dir, "BemaFI32.ini"), "wb") as ini:
            ini.write(("[Sistema]\r\nImpressora=1\r\nPath=%s\r\n\r\n[Emulador]\r\n" % program_path(self.printer_dir)).encode())

    def environment(self):
        """The variables through which a program in this machine finds its folders."""
        env = dict(os.environ)
        env.update(FISCAL_SYSTEM_DIR=self.system_dir, FISCAL_EXE_DIR=self.exe_dir, FISCAL_DRIVE_C=self.drive_c)
        return env

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def tape(self):
        """The paper in the printer's folder, as another process printed it."""
        path = os.path.join(self.printer_dir, "Bobina.txt")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as tape:
            return tape.read().decode("latin-1")


def start_params():
    """The start's parameter record, as the C++ driver tests give it."""
    return {"CDFILIAL": "001", "CDCAIXA": "002", "NRSERIEIMP": "EMU0001", "NRSERIE": "EMU0001",
            "ESQUEMA": "001", "ESQUEMACOR": "001", "CDPORTAIMPFIS": "COM1", "PORTAIMPFIS": "COM1"}


def load_printer(bin_dir):
    """The emulated printer, the same instance the driver binds (same file)."""
    printer = ctypes.CDLL(os.path.join(bin_dir, "BemaFI32.so"))
    printer.Emu_SetClock.argtypes = [ctypes.c_char_p]
    printer.Emu_TapePath.argtypes = [ctypes.c_char_p, ctypes.c_int]
    printer.Bematech_FI_ProgramaFormaPagamentoMFD.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    return printer


def tape_of(printer):
    """The paper tape as text (Latin-1 on the paper)."""
    buffer = ctypes.create_string_buffer(4096)
    printer.Emu_TapePath(buffer, len(buffer))
    path = buffer.value.decode()
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as tape:
        return tape.read().decode("latin-1")


class EcfServer:
    """ecf-server on a free port of this machine, given the machine's folders
    and the extra options; program is the command that runs it (under Wine:
    the loader and the .exe), program_path how it names a path."""

    def __init__(self, machine, program, extra=(), program_path=lambda path: path):
        self.token_file = os.path.join(machine.root, "token")
        self.process = subprocess.Popen(
            program + ["--port", "0", "--token-file", program_path(self.token_file),
                       "--system-dir", program_path(machine.system_dir), "--exe-dir", program_path(machine.exe_dir),
                       "--drive-c", program_path(machine.drive_c),
                       "--record-store", program_path(os.path.join(machine.exe_dir, "rec.db"))] + list(extra),
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, env=machine.environment(), text=True)
        banner = self.process.stdout.readline()
        if "listening on http://127.0.0.1:" not in banner:
            self.process.kill()
            raise RuntimeError("ecf-server did not start: " + banner)
        self.port = int(banner.split("127.0.0.1:")[1].split("/")[0])
        with open(self.token_file) as f:
            self.token = f.read().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()

    def connection(self, timeout=30):
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)

    def headers(self, token=True):
        headers = {"Content-Type": "application/json"}
        if token:
            headers["Authorization"] = "Bearer " + self.token
        return headers

    def post(self, connection, request):
        """(status, reply) of a request on a kept-alive connection."""
        connection.request("POST", "/call", json.dumps(request), self.headers())
        response = connection.getresponse()
        return response.status, json.loads(response.read().decode("utf-8"))

    def call(self, request):
        """(status, reply) of a request on a connection of its own."""
        connection = self.connection()
        try:
            return self.post(connection, request)
        finally:
            connection.close()
