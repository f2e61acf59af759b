#include "services/host_common.h"

#include "hostrt/format.h"
#include "platform/paths.h"

namespace hostrt::detail {

bool NextAnswer(const std::string& form, std::deque<bool>& answers, bool default_answer) {
  if (form != "S" && form != "s") return true;
  if (answers.empty()) return default_answer;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::string ApplicationDirectoryShort() { return platform::short_path(platform::executable_directory()); }

std::string WideToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (const wchar_t wc : text) {
    auto c = static_cast<std::uint32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = '?';
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string IsoDateTime(DateTime dt) {
  FormatSettings fs = BrazilianFormatSettings();
  fs.TimeSeparator = ':';
  return FormatDateTime("yyyy-mm-dd hh:nn:ss", dt, fs);
}

}  // namespace hostrt::detail
