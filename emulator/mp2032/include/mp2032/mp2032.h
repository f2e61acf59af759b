#pragma once
// The non-fiscal receipt printer library (Mp2032.so / Mp2032.dll).
//
// One port is open at a time. Port names, after one trailing ':' is dropped:
//   "COMn" or a name that begins with "/dev/"   a serial port through the
//       platform layer (COMn maps to FISCAL_PORT_COMn or /dev/ttyS<n-1>),
//       9600 baud, 8 data bits, no parity, 1 stop bit;
//   a name that contains '/' or '\', or ends in ".txt" or ".prn" (any case)
//       a file (Windows paths mapped by the platform layer), created when
//       missing and appended to, each call's bytes written through at once;
//   anything else                               a serial port by that name
//       (which fails unless the platform layer knows it).
//
// Text attributes of FormataTX, sent before the text (and switched off after
// it, in reverse order; the letter type stays until changed):
//   letter type 1 condensed  SI          (0x0F)
//               2 normal     DC2         (0x12)
//               3 elite      ESC 'M'     (0x1B 0x4D)
//   italic      ESC '4' on   ESC '5' off (0x1B 0x34 / 0x1B 0x35)
//   underline   ESC '-' 1    ESC '-' 0   (0x1B 0x2D 0x01 / 0x1B 0x2D 0x00)
//   expanded    ESC 'W' 1    ESC 'W' 0   (0x1B 0x57 0x01 / 0x1B 0x57 0x00)
//   bold        ESC 'E'      ESC 'F'     (0x1B 0x45 / 0x1B 0x46)
// The text itself goes out unchanged (Latin-1, line breaks as given).
//
// Results: 1 success; 0 the port cannot be opened or written (or, for
// FechaPorta, no port was open); -1 no port open or a missing argument;
// -2 an attribute out of range (letter type 1-3, flags 0 or 1), nothing sent.
#include <vendor_api/vendor_api.h>

#ifdef __cplusplus
extern "C" {
#endif

// Opens the port, closing one left open first.
VENDOR_EXPORT int VENDOR_CALL IniciaPorta(const char* port);

// Prints text with the attributes.
VENDOR_EXPORT int VENDOR_CALL FormataTX(const char* text, int letter_type, int italic, int underline, int expanded,
                                        int bold);

// Sends count raw command bytes (zeros included).
VENDOR_EXPORT int VENDOR_CALL ComandoTX(const char* command, int count);

// Closes the port.
VENDOR_EXPORT int VENDOR_CALL FechaPorta(void);

#ifdef __cplusplus
}
#endif
