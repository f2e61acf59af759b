// The demo's customer-account steps: the printer's totalizers and
// daylight-saving state, a sale on a consumer account, a purchase of credit
// and its cancellation, a balance query and a statement.
#pragma once
#include <string>

namespace pdv_demo {

void RunAccountSteps(void* driver, const std::string& serial);

}  // namespace pdv_demo
