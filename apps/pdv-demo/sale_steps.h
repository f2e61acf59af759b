// The demo's sale: a coupon with three items (one with an item discount, one
// untaxed), closed with a coupon discount and two payments, the drawer
// opened, and a second coupon that is sold and then cancelled.
#pragma once
#include <string>

namespace pdv_demo {

void RunSaleSteps(void* driver, const std::string& serial);

}  // namespace pdv_demo
