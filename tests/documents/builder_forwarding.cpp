// The printing steps that the document builder calls, forwarded to the driver
// loaded by the current test, so the builder's blocks reach the emulated
// printer through the real driver. (The steps' behaviour under faults is
// tested through the driver's own documents.)
#include "documents/document_builder.h"
#include "documents_fixture.h"

namespace kvr {

bool PrintBlock(const std::string& stEsquemaCor, DocumentProgress& progress, const std::string& block) {
  return !progress.stopped && KVR(*documents_test::CurrentDriver(), Usa_CompNFis)(stEsquemaCor, block);
}

bool EndDocument(const std::string& stEsquemaCor, DocumentProgress& /*progress*/, bool boMsg, bool boFechaCupom) {
  return KVR(*documents_test::CurrentDriver(), FechRelatGerenc)(stEsquemaCor, boMsg, boFechaCupom);
}

}  // namespace kvr
