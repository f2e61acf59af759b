#pragma once
// The EAD signing library (sign_bema.so / sign_bema.dll).
//
// The EAD of a file: the MD5 of the file from its first byte up to and
// including the line break before the EAD record, in a 128-byte block (byte
// 0x10, the 16 hash bytes, 111 zero bytes), raised to the private exponent
// modulo the 1024-bit modulus (raw RSA, no other padding), written as "EAD"
// followed by 256 upper-case hexadecimal digits as the file's last record.
//
// Key texts are exactly 256 hexadecimal digits (either case):
//   public key  = the modulus n, big-endian;
//   private key = the private exponent d, big-endian, zero-filled on the left.
// The public exponent is always 65537.
//
// Result codes: 1 success; 0 the file cannot be read or written;
// -1 a missing argument; -2 a key text that is not a usable key;
// -3 (validateFile) no EAD record at the end of the file;
// -4 (validateFile) the EAD does not match the file; -5 (setLibType) an
// unknown library type.
#include <vendor_api/vendor_api.h>

#ifdef __cplusplus
extern "C" {
#endif

// Selects the library type. 0 and 1 are accepted and behave alike (there is
// one signing scheme); anything else gives -5.
VENDOR_EXPORT int VENDOR_CALL setLibType(int type);

// Makes a new key pair. Each buffer must hold 257 bytes: 256 upper-case hex
// digits and a terminating zero.
VENDOR_EXPORT int VENDOR_CALL genkkey(char* public_key, char* private_key);

// Signs a file in place. With write_record 1 the file is rewritten atomically
// with the EAD record (CR LF or LF as the file's own line breaks, CR LF for a
// file with none) as its last line; a file that already ends in an EAD record
// has that record replaced, so signing twice gives one valid record. A file
// whose last line has no line break gets one before the EAD record. With
// write_record 0 the file is left alone. In both cases ead, when given, is
// filled with the 256 digits and a terminating zero (257 bytes needed). Both
// keys are required: the public key carries the modulus.
VENDOR_EXPORT int VENDOR_CALL generateEAD(const char* file_name, const char* public_key,
                                          const char* private_key, char* ead, int write_record);

// Checks the file's EAD with the public key: hex digits of either case, the
// last line with or without its line break. Returns 1 when it matches.
VENDOR_EXPORT int VENDOR_CALL validateFile(const char* file_name, const char* public_key);

#ifdef __cplusplus
}
#endif
