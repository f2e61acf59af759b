// The closing's work datasets in the data module: loaded from the host's
// dataset data on every call, and the payment rows to send, merged in TEF mode.
#pragma once
#include <string>

#include "coupon/closing_args.h"
#include "hostrt/dataset.h"

class TdtmBematech12;

namespace kvr {

// The two indexes of the payment rows.
inline constexpr const char* kIdxNrOrdTroco = "idxNRORDTROCO";  // NRORDTROCO;DTHRINCMOV (time descending): the default
inline constexpr const char* kIdxDtHrIncMov = "idxDTHRINCMOV";  // DTHRINCMOV: oldest first

// Loads cdsMovCaixa, cdsMovCaixaTef (same structure and indexes, no rows),
// cdsRecebAux and the three balance datasets. Data that is not a data packet
// closes its dataset; a damaged packet raises hostrt::DataSetError.
void LoadClosingDatasets(TdtmBematech12& dm, const ClosingArgs& args);

// Copies the payment rows of cdsMovCaixa, in its default order, into
// cdsMovCaixaTef. In TEF mode an "E" or "T" row joins the "E" row of the same
// payment type already copied (its amount added), or becomes a new row.
void CollectPaymentRows(TdtmBematech12& dm, bool tef_mode);

// A text field of the current row, "" when the dataset has no such field.
std::string OptionalText(hostrt::ClientDataSet& ds, const char* field);

// The dataset holds at least one row (a closed dataset holds none).
inline bool HasRows(const hostrt::ClientDataSet& ds) { return ds.Active() && !ds.IsEmpty(); }

}  // namespace kvr
