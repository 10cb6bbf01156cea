// Training marks, the shares that may be drawn and the next and previous steps while training.
#include "chartmodel/TrainingMode.h"

#include "core/PriceLookups.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace qv {

TrainingMarks& TrainingMarkTable()
{
    static TrainingMarks table;
    return table;
}

int32_t CountTrainingMarks(TrainingMarks& table)
{
    int32_t n = 0;
    while (n < kTrainingMarkSlots && table.marks[size_t(n)] >= 1 && table.marks[size_t(n)] <= kTrainingMarkMax)
        ++n;
    for (int32_t i = n; i < kTrainingMarkSlots; ++i)
        table.marks[size_t(i)] = 0;
    table.count = n;
    return n;
}

void ClearTrainingMarks(TrainingMarks& table)
{
    table.marks.fill(0);
    table.count = 0;
}

int32_t HitTrainingMark(const TrainingMarks& table, std::span<const int32_t> markX, int32_t cursorX, int32_t paneTop,
                        int32_t x, int32_t y)
{
    const int64_t dy = int64_t(y) - paneTop - 1;
    auto near = [dy, x](int32_t at) {
        const int64_t dx = int64_t(x) - at;
        return at != kNoMarkX && dx * dx + dy * dy < 64;
    };
    const int32_t count = std::clamp(table.count, 0, kTrainingMarkSlots);
    for (int32_t i = 0; i < count && size_t(i) < markX.size(); ++i)
        if (near(markX[size_t(i)]))
            return i;
    if (count >= kTrainingMarkSlots)
        return -1;
    return near(cursorX) ? count : -1;
}

void SortTrainingMarks(TrainingMarks& table, int32_t& current)
{
    const int32_t count = std::clamp(table.count, 0, kTrainingMarkSlots);
    const int32_t currentDate = current >= 0 && current < count ? table.marks[size_t(current)] : 0;
    std::sort(table.marks.begin(), table.marks.begin() + count);
    if (currentDate != 0)
        current = int32_t(std::find(table.marks.begin(), table.marks.begin() + count, currentDate) - table.marks.begin());
}

bool PlaceTrainingMark(TrainingMarks& table, int32_t index, int32_t date, int32_t& current)
{
    if (date < 1 || date > kTrainingMarkMax || index < 0 || index > table.count || index >= kTrainingMarkSlots)
        return false;
    if (index == table.count)
        ++table.count;
    table.marks[size_t(index)] = date;
    SortTrainingMarks(table, current);
    return true;
}

void RemoveTrainingMark(TrainingMarks& table, int32_t index, int32_t& current)
{
    if (index < 0 || index >= table.count)
        return;
    std::copy(table.marks.begin() + index + 1, table.marks.begin() + table.count, table.marks.begin() + index);
    table.marks[size_t(--table.count)] = 0;
    if (index < current)
        --current;
    if (current >= table.count)
        current = table.count - 1;
}

int32_t ClampTrainingMark(const TrainingMarks& table, int32_t current, int32_t firstShown, int32_t shownEnd)
{
    int32_t first = -1, last = -1;
    for (int32_t i = 0; i < table.count; ++i) {
        const int32_t date = table.marks[size_t(i)];
        if (date >= firstShown && date <= shownEnd) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (current >= 0 && (current < first || current > last))
        return first;
    return current;
}

std::vector<bool> EligibleShares(ShareList* list)
{
    std::vector<bool> eligible;
    if (!list || !list->entries)
        return eligible;
    for (int32_t i = 0; i < list->capacity && list->entries[i].record; ++i) {
        RecordCursor& entry = list->entries[i];
        SubRecordSpan span = SubRecordOf(entry.record, entry.count);
        const uint16_t first = span ? LoadU16(span.sub + SubRecordLayout::FirstDate) : 0;
        const uint16_t last = first ? GetLastPriceDate(entry.record, entry.count) : 0;
        eligible.push_back(first != 0 && last != 0 && first < last);
    }
    return eligible;
}

int32_t DrawTrainingShare(const std::vector<bool>& eligible, uint32_t random)
{
    // Drawing among the eligible entries only: a draw over the whole list repeated until an eligible
    // entry comes up never ends when none is.
    int32_t count = 0;
    for (bool e : eligible)
        count += e;
    if (count == 0)
        return -1;
    int32_t pick = int32_t(random % uint32_t(count));
    for (size_t i = 0; i < eligible.size(); ++i)
        if (eligible[i] && pick-- == 0)
            return int32_t(i);
    return -1;
}

TrainingStep TrainingNextStep(TrainingState& state, int32_t markCount)
{
    if (state.cursor < 0)
        return TrainingStep::Draw;
    ++state.cursor;
    if (state.cursor >= markCount)
        state.cursor = -1;
    return TrainingStep::Repaint;
}

TrainingStep TrainingPreviousStep(TrainingState& state, int32_t markCount)
{
    if (state.cursor < 0 && markCount > 0) {
        state.cursor = markCount - 1;
        return TrainingStep::Repaint;
    }
    if (state.cursor > 0) {
        --state.cursor;
        return TrainingStep::Repaint;
    }
    return state.remembered >= 0 ? TrainingStep::ReturnToRemembered : TrainingStep::Draw;
}

namespace {

void MakeCurrent(ShareList* list, int32_t index)
{
    list->current = index;
    list->currentId = EntryRecordId(list->entries[index]);
    list->currentSub = list->entries[index].count;
}

} // namespace

bool DrawNextTrainingShare(ShareList* list, TrainingState& state, uint32_t random, int32_t markCount)
{
    if (!ShareListHasEntries(list))
        return false;
    int32_t r = DrawTrainingShare(state.eligible, random);
    if (r < 0)
        return false;
    if (r >= list->capacity || !list->entries[r].record)
        r = 0;
    state.remembered = list->current;
    state.cursor = markCount > 0 ? 0 : -1;
    MakeCurrent(list, r);
    return true;
}

bool ReturnToRememberedShare(ShareList* list, TrainingState& state)
{
    if (!ShareListHasEntries(list) || state.remembered < 0 || state.remembered >= list->capacity ||
        !list->entries[state.remembered].record) {
        state.remembered = -1;
        return false;
    }
    MakeCurrent(list, state.remembered);
    state.remembered = -1;
    state.cursor = -1;
    return true;
}

SuppressibleInfoBox& SuppressibleInfo()
{
    static SuppressibleInfoBox box = [](const std::string& text) {
        ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Information);
        return false;
    };
    return box;
}

} // namespace qv
