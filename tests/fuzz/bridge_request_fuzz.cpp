// A libFuzzer target of the JSON bridge; its seeds are kvr_call requests (tests/fuzz/seeds/bridge_request).
//
// kvr_call with arbitrary request texts on a started driver over the emulated
// printer in a temp machine: every reply is one JSON object with "ok", and
// nothing crashes, hangs or leaks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "kvr00102/kvr_bridge.h"
#include "test_support/temp_environment.h"

namespace {

test_support::TempEnvironment* machine = nullptr;

void Start() {
  machine = new test_support::TempEnvironment();
  char* reply = kvr_call(R"({"operation":"StartImpFiscal","arguments":[{"ESQUEMACOR":"001","PORTAIMPFIS":"COM1",
                            "CDFILIAL":"001","CDCAIXA":"002","NRSERIEIMP":"EMU0001"}]})");
  kvr_free(reply);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!machine) Start();
  const std::string request(reinterpret_cast<const char*>(data), size);  // kvr_call reads up to the first NUL
  char* reply = kvr_call(request.c_str());
  if (!reply) std::abort();
  const auto parsed = nlohmann::json::parse(reply, nullptr, false);
  kvr_free(reply);
  if (parsed.is_discarded() || !parsed.is_object() || !parsed.contains("ok")) std::abort();
  return 0;
}
