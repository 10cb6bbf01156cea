// The eleven-step undo ring for changes to share-list portfolios and cash accounts.
#pragma once

#include "core/Portfolio.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

struct CashAccount;

enum UndoTarget : uint8_t { kUndoPortfolio = 0, kUndoCashAccount = 1 };

// Operation kinds whose steps the ring keeps when it overwrites its oldest step.
constexpr uint32_t kUndoKindKeptA = 10;
constexpr uint32_t kUndoKindKeptB = 11;
// Steps that name the portfolio or account they were given.
constexpr uint32_t kUndoKindNamedPortfolio = 14;
constexpr uint32_t kUndoKindNamedAccount = 19;

// Kinds of the steps the portfolio windows push.
constexpr uint32_t kUndoStepNewPortfolio = 1;
constexpr uint32_t kUndoStepRemoveShare = 6;
constexpr uint32_t kUndoStepRemoveShares = 7;
constexpr uint32_t kUndoStepRename = 8;
constexpr uint32_t kUndoStepMoveShare = 9;
constexpr uint32_t kUndoStepDeletePortfolio = 21;
// What a step applies: 0 takes a new record away, 1 swaps a changed record with its copy, 2 makes
// a deleted record again.
enum UndoMode : int32_t { kUndoNew = 0, kUndoChange = 1, kUndoDelete = 2 };

struct UndoSlot {
    UndoSlot();
    ~UndoSlot();
    UndoSlot(const UndoSlot&) = delete;
    UndoSlot& operator=(const UndoSlot&) = delete;

    uint8_t target = kUndoPortfolio;
    uint32_t operation = 0; // mode << 16 | kind
    uint32_t number = 0;    // the portfolio's or account's number when the step was pushed
    std::unique_ptr<Portfolio> portfolio;
    CashAccount* account = nullptr; // a copy with its own block
    std::string name;

    int32_t mode() const { return int32_t(operation >> 16); }
    uint32_t kind() const { return operation & 0xFFFF; }
};

class UndoRing {
public:
    static constexpr int kSlots = 11;

    // Records the mode and takes a copy of the portfolio (target 0) or account (target 1) for the
    // next step; with neither, mode 0.
    void prepare(uint32_t mode, const Portfolio* portfolio, const CashAccount* account);
    // Writes a step for the portfolio (the current share list's when null).
    void push(uint32_t kind, Portfolio* portfolio);
    // Applies the step at the done position and moves it back; false when it found nothing to act on.
    bool undo();
    // Moves the done position forward and applies that step the other way.
    bool redo();

    int writePosition() const { return write_; }
    int donePosition() const { return done_; }
    int oldestPosition() const { return oldest_; }
    const UndoSlot& slot(int i) const { return slots_[size_t(i)]; }
    // Empties the ring (a new run).
    void clear();

private:
    bool apply(UndoSlot& slot, int32_t operation);
    bool applyToPortfolio(UndoSlot& slot, int32_t operation);
    bool applyToAccount(UndoSlot& slot, int32_t operation);

    std::array<UndoSlot, kSlots> slots_;
    int write_ = 0;
    int done_ = 0;
    int oldest_ = 0;
    int32_t mode_ = -1;
    UndoSlot prepared_;
};

UndoRing& GetUndoRing();

void PushUndoStep(uint32_t kind, Portfolio* portfolio);
void PrepareUndoStep(uint32_t mode, const Portfolio* portfolio, const CashAccount* account);
void PrepareAndPushUndoStep(uint32_t kind, uint32_t mode, Portfolio* portfolio, const CashAccount* account);

} // namespace qv
