#pragma once
// The MFD tools library (BemaMFD2.so / BemaMFD2.dll): turns an MFD download
// file (written by the fiscal printer's Bematech_FI_DownloadMFD) into the
// readable mirror text of a COO range and into the type E register file.
//
// Result codes: 1 success; 0 a file cannot be read or written; -1 a missing
// or invalid argument (null name, bad date, a range that ends before it
// starts, a user number below 1); -2 the download file is damaged; -3 no
// document in the COO range (no file is written); -4 the user number is not
// the download's; -5 a value does not fit its field of the register file.
// An output file is written whole or not at all.
#include <vendor_api/vendor_api.h>

#ifdef __cplusplus
extern "C" {
#endif

// Writes the mirror of the documents whose COO lies in first_coo..last_coo.
// After its empty lines are removed, line 7 (counted from 0) begins with the
// first document's date "dd/mm/yyyy", and the second-to-last line holds the
// last document's date in characters 20-29 (counted from 1).
VENDOR_EXPORT int VENDOR_CALL BemaGeraTxtPorCOO(const char* mfd_file, const char* text_file, int user_number,
                                                int first_coo, int last_coo);

// Writes the type E register file (E01, E02, E12, E13, E14, E15, E16, E21)
// for the documents issued from start_date to end_date (inclusive; dates as
// "dd/mm/yyyy", "ddmmyyyy", "dd/mm/yy" or "ddmmyy"). legal_name and address
// fill the user's record E02; command fills E01's generation command field
// (blank when empty). reserved and reserved1..reserved13 are accepted and
// not used; they may be null.
VENDOR_EXPORT int VENDOR_CALL BemaGeraRegistrosTipoE(
    const char* mfd_file, const char* output_file, const char* start_date, const char* end_date,
    const char* legal_name, const char* address, const char* reserved, const char* command,
    const char* reserved1, const char* reserved2, const char* reserved3, const char* reserved4,
    const char* reserved5, const char* reserved6, const char* reserved7, const char* reserved8,
    const char* reserved9, const char* reserved10, const char* reserved11, const char* reserved12,
    const char* reserved13);

#ifdef __cplusplus
}
#endif
