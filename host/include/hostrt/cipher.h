#pragma once
// The host's reversible text cipher. Uncripto(Cripto(t, s), s) == t for every
// Latin-1 text t and every selector s; the enciphered text is opaque Latin-1.
#include <string>
#include <string_view>

namespace hostrt {

std::string Cripto(std::string_view text, int selector);
std::string Uncripto(std::string_view text, int selector);

}  // namespace hostrt
