// Recording, editing and deleting a transaction.
#include "portfolio/ui/RecordTransaction.h"

#include "core/CashAccounts.h"
#include "core/ExtraRecords.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/SystemDate.h"
#include "core/TransactionTypes.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/TransactionRecording.h"
#include "portfolio/TransactionRows.h"
#include "portfolio/UndoRing.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/TransactionRecordDlg.h"
#include "resources/MessageIds.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/ModalDialog.h"

#include <algorithm>
#include <ctime>

namespace qv {
namespace {

constexpr int kPickMode = 9;
constexpr const char* kIntradayRefusal = "This release of Quorvantis Pro does not allow\ntransactions to be created for "
                                         "intraday only items.\nThis feature will be added in a future release.\n";

Portfolio* MemberOf(const Transaction& record)
{
    if (record.bytes.size() < TransactionLayout::FixedSize)
        return nullptr;
    return FindPortfolioByNumber(LoadU16(&record.bytes[TransactionLayout::MemberPortfolio]));
}

void AfterChange(Portfolio& portfolio)
{
    NotifyPortfolioChanged(&portfolio);
    RefreshListsOfPortfolio(&portfolio);
    SendMessageToKind(4, WM_COMMAND, ID_REFRESH);
    SendMessageToKind(7, WM_COMMAND, ID_REFRESH);
}

} // namespace

void DeleteTransaction(Portfolio& portfolio, Transaction* record)
{
    if (!record)
        return;
    if (portfolio.type == kGroupPortfolio) {
        if (Portfolio* member = MemberOf(*record)) {
            RemoveTransaction(*member, MemberRecordOf(*member, *record));
            member->changed = 1;
        }
    } else {
        PrepareUndoStep(kUndoChange, &portfolio, nullptr);
    }
    RemoveTransaction(portfolio, record);
    portfolio.changed = 1;
    if (portfolio.type != kGroupPortfolio)
        PushUndoStep(kUndoStepDeleteTransaction, &portfolio);
    AfterChange(portfolio);
}

bool RecordTransaction(Portfolio* portfolio, int type, uint16_t shareId, uint8_t line, uint32_t character,
                       Transaction* current, QWidget* parent)
{
    if (!portfolio)
        return false;
    std::optional<TransactionFields> old;
    if (type == kEditTransaction) {
        if (!current || current->type() == kLatestRowType || !(old = DecodeTransaction(current->bytes)))
            return false;
        type = old->type;
        shareId = old->shareId;
        line = old->line;
    }
    // Only the items kept in the extra-record list have no end-of-day data to value a holding by.
    if (IsMadeItemId(shareId) && ExtraRecordExists(shareId)) {
        ShowMessage(kIntradayRefusal);
        return false;
    }
    if (shareId == 0) {
        CFindShareDlg chooser(parent);
        if (character)
            chooser.setFirstKey(character);
        if (chooser.run() != QDialog::Accepted || !chooser.chosen().record)
            return false;
        shareId = RecordId(chooser.chosen().record);
        line = uint8_t(chooser.chosen().count);
    }
    uint8_t* share = FindShareRecord(shareId);
    std::string name;
    if (share) {
        name = std::string(GetRecordName(share));
    } else if (current && current->shareId() == shareId) {
        name = std::string(current->text(0)); // a lost share keeps its stored name
    } else {
        return false;
    }

    Portfolio* member = nullptr;
    if (portfolio->type == kGroupPortfolio) {
        member = old ? MemberOf(*current) : RunPortfolioChooser(kPickMode, false, parent, portfolio);
        if (!member)
            return false;
    }

    TransactionDialogSetup setup;
    setup.portfolioName = portfolio->name.str();
    setup.shareName = name;
    const uint32_t lines = share ? std::max<uint32_t>(SubRecordCount(share), 1) : 1;
    for (uint32_t n = 0; n < lines; ++n)
        setup.lines.push_back({share ? FormatShareTitle({share, n}) : name, LineShareType(share, n)});
    setup.line = line;
    setup.type = type;
    setup.editing = old.has_value();
    setup.today = GetTodayDate(0);
    const std::time_t now = std::time(nullptr);
    setup.date = old ? old->date : setup.today;
    setup.time = old ? old->time : SecondsOfDayFromTime(now);
    if (share && TranIsDebit(type))
        setup.latestPrice = ReadLineFigures(share, line).close / 100.0;
    setup.previousHolding = old ? PreviousHoldingOf(*old) : PreviousHoldingOf(*portfolio, shareId, line);
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->kind == -1 || a->kind == int32_t(portfolio->number) || (member && a->kind == int32_t(member->number)))
            setup.accounts.push_back({a->name, uint16_t(a->number)});
    setup.cashAccount = portfolio->cashAccount;
    setup.record = old;
    // In a group the member holds the shares; the edited record's own effect is left out.
    const Portfolio& holder = member ? *member : *portfolio;
    const Transaction* edited = !old ? nullptr : member ? MemberRecordOf(*member, *current) : current;
    setup.holdingOn = [&holder, edited, shareId](PackedDate date, int chosenLine) {
        return HoldingOnDate(holder, shareId, uint8_t(chosenLine), date, edited);
    };

    CTransactionRecord dialog(setup, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    const TransactionAnswer& answer = dialog.answer();
    portfolio->cashAccount = answer.cashAccount;

    if (portfolio->type != kGroupPortfolio)
        PrepareUndoStep(kUndoChange, portfolio, nullptr);
    if (!old && share) {
        AddPortfolioEntry(portfolio->type == kGroupPortfolio ? member : portfolio, {share, answer.line}, false);
    }
    TransactionFields fields = BuildTransactionFields(answer, shareId, name, portfolio->number, old ? &*old : nullptr);
    if (member) {
        TransactionFields own = fields;
        own.portfolioNumber = member->number;
        if (old)
            RemoveTransaction(*member, MemberRecordOf(*member, *current));
        StoreTransaction(*member, own, nullptr);
        fields.memberPortfolio = member->number;
        member->changed = 1;
    }
    if (!StoreTransaction(*portfolio, fields, old ? current : nullptr))
        return false;
    BuildHoldingRows(*portfolio);
    if (portfolio->type != kGroupPortfolio)
        PushUndoStep(kUndoStepRecordTransaction, portfolio);
    AfterChange(*portfolio);
    return true;
}

} // namespace qv
