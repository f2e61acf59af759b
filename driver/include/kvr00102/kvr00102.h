// The driver module Kvr00102: the operations and globals that a host resolves
// by their plain names. Host and driver share one toolchain, so parameters use
// the host runtime's C++ types under C linkage.
#pragma once
#include <string>
#include <vector>

#include "hostrt/dataset.h"
#include "hostrt/datetime.h"
#include "hostrt/variant.h"
#include "kvr00102/entry_points.h"
#include "kvr00102/slot.h"

#if defined(_WIN32)
#define KVR_EXPORT __declspec(dllexport)
#else
#define KVR_EXPORT __attribute__((visibility("default")))
#endif

class TdtmBematech12;

namespace kvr {
// The selector the driver passes to the host cipher for every value it keeps
// enciphered (the grand-total record).
inline constexpr int kCipherSelector = 7;
}  // namespace kvr

#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

extern "C" {

// ---- Process-wide state ----------------------------------------------------
KVR_EXPORT extern void* ImpFisDLLHandle;        // the vendor library, kept once loaded
KVR_EXPORT extern bool boImpFiscalOK;           // set by a successful start, for the host
KVR_EXPORT extern bool boComando;               // a raw command is in progress
KVR_EXPORT extern TdtmBematech12* dtmBematech12;  // the data module, created on first use
KVR_EXPORT extern std::string stAliquotaIss;
KVR_EXPORT extern std::string stDataCat;
KVR_EXPORT extern hostrt::ClientDataSet* cdsAuxExtSimp;

// ---- Entry-point slots, named as the vendor's entry points -------------------
#define KVR_DECLARE_SLOT(name, result, args) KVR_EXPORT extern kvr::Slot<result args> name;
KVR_BOUND_ENTRY_POINTS(KVR_DECLARE_SLOT)
KVR_OPTIONAL_ENTRY_POINTS(KVR_DECLARE_SLOT)
#undef KVR_DECLARE_SLOT

// ---- The regulatory libraries' slots and handles ------------------------------
// The signing library's entry points (bound for each signing, emptied after),
// the MFD tool library's (bound by geraRegistroTipoE), and each library's
// handle (loaded once, kept).
KVR_EXPORT extern kvr::Slot<int(int)> Bematech_setLibType;
KVR_EXPORT extern kvr::Slot<int(char*, char*)> Bematech_genkkey;
KVR_EXPORT extern kvr::Slot<int(const char*, const char*, const char*, char*, int)> Bematech_generateEAD;
KVR_EXPORT extern kvr::Slot<int(const char*, const char*)> Bematech_validateFile;
KVR_EXPORT extern void* SignBemaDLLHandle;
KVR_EXPORT extern kvr::Slot<int(const char*, const char*, int, int, int)> Bematech_GeraTxtPorCOO;
KVR_EXPORT extern kvr::Slot<int(const char*, const char*, const char*, const char*, const char*, const char*,
                                const char*, const char*, const char*, const char*, const char*, const char*,
                                const char*, const char*, const char*, const char*, const char*, const char*,
                                const char*, const char*, const char*)>
    Bematech_GeraRegistrosTipoE;

// ---- The operations ----------------------------------------------------------
#define KVR_OPERATION(result, name, params) KVR_EXPORT result name params;
#include "kvr00102/operations.h"
#undef KVR_OPERATION

}  // extern "C"

#if defined(__clang__)
#pragma clang diagnostic pop
#endif
