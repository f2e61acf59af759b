// A vendor library that has every required entry point but the last one
// (the port closing), to show that a start then fails with every slot empty.
// Every entry point it has answers 1.
#include "kvr00102/entry_points.h"
#include "kvr00102/slot.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

// The last name of the table is exported under another name, so it is missing.
#define Bematech_FI_CierraPuertaSerial Bematech_FI_CierraPuertaSerial_Missing

#define EXPORT_ENTRY(name, result, args) \
  extern "C" VENDOR_EXPORT result VENDOR_CALL name args { return 1; }
KVR_BOUND_ENTRY_POINTS(EXPORT_ENTRY)
