// Scripted portfolios for the capital gains tests: rows in list order, built into a transaction list.
#pragma once

#include "core/DateText.h"
#include "platform/ByteOrder.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/Transaction.h"

#include <memory>
#include <string>
#include <vector>

namespace qv::test {

struct CgtRow {
    const char* date; // "d/m/yyyy"
    int type;         // 1 buy, 2 sell, 5 other reduction, 13 split, 15 'Latest'
    double shares;
    double price;     // per share, or the whole amount for no shares
    double charges = 0;
    uint8_t flags = 0;
    uint16_t share = 1;
    float value1965 = 0;
    float value1982 = 0;
    uint8_t base = 0;
    float extra = 0; // split ratio, ignored amount or a 'Latest' row's value
};

class CgtScript {
public:
    explicit CgtScript(std::vector<CgtRow> rows)
    {
        Transaction** tail = &head_;
        for (const CgtRow& row : rows) {
            TransactionFields f;
            f.date = ParseDate(row.date);
            f.type = uint8_t(row.type);
            f.shareId = row.share;
            f.flags = row.flags;
            f.shares = float(row.shares);
            f.price = float(row.price);
            f.charges = float(row.charges);
            f.value1965 = row.value1965;
            f.value1982 = row.value1982;
            f.gainsBase = row.base;
            f.splitRatio = row.type == 13 || row.type == 14 ? row.extra : 0;
            f.ignoredAmount = (row.flags & TransactionFlag::IgnorePounds) ? row.extra : 0;
            f.consideration = row.type == kLatestRowType ? row.extra : kNotComputed;
            f.gainBeforeLosses = f.gainAfterLosses = kNotComputed;
            f.texts[0] = row.share == 1 ? "ALPHA" : "BETA";
            auto t = std::make_unique<Transaction>();
            t->bytes = *EncodeTransaction(f);
            *tail = t.get();
            tail = &t->next;
            rows_.push_back(std::move(t));
        }
        inputs.transactions = head_;
        inputs.manualLosses.fill(-1);
        inputs.today = ParseDate("10/12/2026");
    }

    CgtPassResult Run(CgtReportFilter filter = {}) { return CapitalGainsReport(inputs, filter, true); }
    float Before(size_t row) const { return LoadF32(rows_[row]->bytes.data() + TransactionLayout::GainBeforeLosses); }
    float After(size_t row) const { return LoadF32(rows_[row]->bytes.data() + TransactionLayout::GainAfterLosses); }

    CgtInputs inputs;

private:
    Transaction* head_ = nullptr;
    std::vector<std::unique_ptr<Transaction>> rows_;
};

} // namespace qv::test
