"""The Windows serial port under Wine against a pseudo-terminal that Wine maps
to a COM port (through its dosdevices folder): the bytes both ways, unchanged,
and the line settings the port was given, read from the terminal's side.
A pseudo-terminal always has 8 data bits and no parity (the kernel sets them),
so the rate and the stop bits tell whether the settings reached the line.
Usage: wine_serial_test.py WINE_LOADER PLATFORM_TESTS_EXE (WINEPREFIX set)."""
import os
import select
import subprocess
import sys
import termios

SENT = b"\x1b@\x00\r\n\xffECF"
REPLY = b"ok\x00\r\n\xfe"
PORT = "COM33"  # beyond the ports Wine maps by itself


def read_bytes(fd, count, seconds):
    data = b""
    while len(data) < count:
        ready, _, _ = select.select([fd], [], [], seconds)
        if not ready:
            break
        data += os.read(fd, count - len(data))
    return data


def main():
    loader, program = sys.argv[1:3]
    link = os.path.join(os.environ["WINEPREFIX"], "dosdevices", PORT.lower())
    master, slave = os.openpty()
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)
    failures = []
    try:
        windows = subprocess.Popen(
            [loader, program, "--gtest_also_run_disabled_tests",
             "--gtest_filter=WindowsPlatformTest.DISABLED_AComPortCarriesBytesBothWaysWithItsLineSettings"],
            env=dict(os.environ, KVR_WINE_COM_PORT=PORT), stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        received = read_bytes(master, len(SENT), 30)
        if received != SENT:
            failures.append("the terminal got %r, not %r" % (received, SENT))
        flags = termios.tcgetattr(slave)
        cflag, ispeed, ospeed = flags[2], flags[4], flags[5]
        if (ispeed, ospeed) != (termios.B19200, termios.B19200):
            failures.append("speed %r/%r, not 19200" % (ispeed, ospeed))
        if cflag & termios.CSIZE != termios.CS8:
            failures.append("not 8 data bits")
        if cflag & termios.PARENB:
            failures.append("parity on")
        if not cflag & termios.CSTOPB:
            failures.append("not two stop bits")
        os.write(master, REPLY)
        output, _ = windows.communicate(timeout=60)
        print(output.decode("latin-1"))
        if windows.returncode != 0:
            failures.append("the Windows side failed (exit %d)" % windows.returncode)
    finally:
        os.remove(link)
        os.close(slave)
        os.close(master)
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
