#pragma once
// Pieces that the runtime's host implementations share.
#include <deque>
#include <string>

#include "hostrt/services.h"

namespace hostrt::detail {

// A yes/no question takes the next queued answer, then the default; a
// notice ("N" form) is acknowledged without using the queue.
bool NextAnswer(const std::string& form, std::deque<bool>& answers, bool default_answer);

// The host executable's directory in the platform's short form.
std::string ApplicationDirectoryShort();

// Wide record text (code points) as UTF-8, for terminals and the database.
std::string WideToUtf8(const std::wstring& text);

// "yyyy-mm-dd hh:nn:ss" whatever the process's format settings are.
std::string IsoDateTime(DateTime dt);

}  // namespace hostrt::detail
