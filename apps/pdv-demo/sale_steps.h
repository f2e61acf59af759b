// The demo's sales, each printed with ImpressaoVenda from the host's datasets
// as a host prints them: an ordinary sale with an untaxed item, a sale paid
// partly with meal tickets, a sale of exempt items only, a sale charged to a
// consumer account, the drawer, and a last sale whose coupon is cancelled.
#pragma once
#include <string>

namespace pdv_demo {

void RunSaleSteps(void* driver, const std::string& serial);
void RunFirstSaleOfTheDay(void* driver);

}  // namespace pdv_demo
