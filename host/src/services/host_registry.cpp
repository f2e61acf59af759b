#include "hostrt/services.h"

namespace hostrt {

namespace {

std::shared_ptr<HostServices>& Installed() {
  static std::shared_ptr<HostServices> installed;
  return installed;
}

HostServices& DefaultHost() {
  static ConsoleHost host(false);
  return host;
}

}  // namespace

// Installing nullptr goes back to the default non-interactive console host.
void InstallHostServices(std::shared_ptr<HostServices> services) { Installed() = std::move(services); }

HostServices& Host() { return Installed() ? *Installed() : DefaultHost(); }

bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
              int kind, const std::string& text6, const std::string& colour_scheme, int number,
              ClientDataSet* dataset) {
  return Host().Mensagem(text, text2, text3, form, kind, text6, colour_scheme, number, dataset);
}

}  // namespace hostrt
