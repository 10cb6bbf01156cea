// The one road by which a transaction is made or changed: finding the share, preparing and running
// the record dialog, and storing its answer with an undo step.
#pragma once

#include <cstdint>

class QWidget;

namespace qv {

struct Portfolio;
struct Transaction;

constexpr int kEditTransaction = 99;
constexpr uint32_t kUndoStepRecordTransaction = 12;
constexpr uint32_t kUndoStepDeleteTransaction = 13;

// Type 99 edits `current`; else a new record of the type for the share and line (share 0: the share
// chooser opens with the typed character). True when a record was stored.
bool RecordTransaction(Portfolio* portfolio, int type, uint16_t shareId, uint8_t line, uint32_t character,
                       Transaction* current, QWidget* parent);

// Deletes the record (in a group, also the member's own record), with an undo step; no question.
void DeleteTransaction(Portfolio& portfolio, Transaction* record);

} // namespace qv
