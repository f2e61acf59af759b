"""A throw-away machine for the bridge's Python tests: the system directory
with BemaFI32.ini, the printer's folder, the host executable's folder and the
folder that stands for C:, under one temp root. Python standard library only."""
import ctypes
import os
import shutil
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
