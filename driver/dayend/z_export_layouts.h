// The four datasets of the Z export: the layouts in which the host stores a
// day's reduction.
#pragma once
#include "hostrt/dataset.h"

namespace kvr {

// Each re-creates the dataset empty with its layout:
// cdsReducaoZ: one record per reduction (NRECFREDZ .. DTGRAVSBECF);
void CreateReducaoZ(hostrt::ClientDataSet& ds);
// cdsFormPgtoRedZ: one record per host payment type;
void CreateFormPgtoRedZ(hostrt::ClientDataSet& ds);
// cdsImpostoRedZ: one record per tax rate;
void CreateImpostoRedZ(hostrt::ClientDataSet& ds);
// cdsTotNFiscRedZ: one record per non-fiscal totalizer.
void CreateTotNFiscRedZ(hostrt::ClientDataSet& ds);

}  // namespace kvr
