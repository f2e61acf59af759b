#include "hostrt/format.h"
#include "platform/latin1.h"

namespace hostrt {

namespace {

std::vector<std::string> Latin1List(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(platform::L1(s));
  return out;
}

FormatSettings& Current() {
  static FormatSettings settings = BrazilianFormatSettings();
  return settings;
}

}  // namespace

FormatSettings BrazilianFormatSettings() {
  FormatSettings fs;  // separators, date and currency forms default to Brazilian Portuguese
  fs.ShortMonthNames = Latin1List({"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"});
  fs.LongMonthNames = Latin1List({"janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho", "agosto",
                                  "setembro", "outubro", "novembro", "dezembro"});
  fs.ShortDayNames = Latin1List({"dom", "seg", "ter", "qua", "qui", "sex", "sáb"});
  fs.LongDayNames = Latin1List({"domingo", "segunda-feira", "terça-feira", "quarta-feira", "quinta-feira",
                                "sexta-feira", "sábado"});
  return fs;
}

const FormatSettings& CurrentFormatSettings() { return Current(); }

void SetFormatSettings(const FormatSettings& settings) { Current() = settings; }

}  // namespace hostrt
