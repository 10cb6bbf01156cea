// A small dealings file for tests: a director with a sale and a holding, a major holder with a
// superseded purchase and a holding.
#pragma once

#include "devtools/lib/DealingsFileWriter.h"
#include "lists/DealingItem.h"

namespace qv::test {

inline dev::DealingsFileSpec DealingsSample()
{
    dev::DealingsFileSpec spec;
    spec.baseYear = 120; // 2020
    spec.date = PackDate(4, 12, 2026);
    dev::DealingItemSpec sale;
    sale.shareId = 0x4001;
    sale.shareText = "Ord 10p";
    sale.date = PackDate(3, 3, 2025);
    sale.value = 125000;
    sale.dealType = "Sale";
    sale.role = "Chairman";
    sale.dealSize = 50000;
    sale.dealFraction = 0.002;
    sale.holdSize = 1200000;
    sale.holdFraction = 0.05;
    sale.investor = "Margaret Oakley";
    dev::DealingItemSpec holding = sale;
    holding.head = false;
    holding.flags = kDealingHolding;
    dev::DealingItemSpec purchase = sale;
    purchase.flags = kDealingMajorHolder | kDealingSuperseded;
    purchase.shareId = 0x4002;
    purchase.dealType = "Purchase";
    purchase.investor = "Northgate Capital";
    purchase.value = 0;
    dev::DealingItemSpec majorHolding = purchase;
    majorHolding.head = false;
    majorHolding.flags = kDealingMajorHolder | kDealingHolding;
    spec.items = {sale, holding, purchase, majorHolding};
    return spec;
}

} // namespace qv::test
