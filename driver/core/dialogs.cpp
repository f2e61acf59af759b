#include "core/dialogs.h"

namespace kvr {
namespace {

bool Show(const std::string& text, const char* form, int kind, const std::string& stEsquemaCor) {
  return hostrt::Mensagem(text, "", "N", form, kind, "", stEsquemaCor, 0, nullptr);
}

}  // namespace

void Notice(const std::string& text, int kind, const std::string& stEsquemaCor) {
  Show(text, "N", kind, stEsquemaCor);
}

bool Ask(const std::string& text, int kind, const std::string& stEsquemaCor) {
  return Show(text, "S", kind, stEsquemaCor);
}

}  // namespace kvr
