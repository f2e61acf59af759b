// The two driver operations that the document builder calls, forwarded to the
// driver loaded by the current test, so the builder's blocks reach the
// emulated printer through the real driver.
#include "documents_fixture.h"

extern "C" {

bool Usa_CompNFis(const std::string& stEsquemaCor, const std::string& stParam1) {
  return KVR(*documents_test::CurrentDriver(), Usa_CompNFis)(stEsquemaCor, stParam1);
}

bool FechRelatGerenc(const std::string& stEsquemaCor, bool boParam1, bool boParam2) {
  return KVR(*documents_test::CurrentDriver(), FechRelatGerenc)(stEsquemaCor, boParam1, boParam2);
}

}  // extern "C"
