// The company calendar on the demo: every share's calendar fields become events of their kinds, the
// check boxes and dates filter them, the date runs show their date once, a column head sorts, a
// double click makes the share current, and the list prints to PDF.
#include "tools/ui/CompCalendar.h"

#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/TempFolder.h"
#include "lists/ShareDates.h"
#include "shell/ui/DateEdit.h"
#include "support/DatabaseFixture.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QPrinter>

#include <chrono>
#include <set>

namespace qv {
namespace {

class CompCalendarTest : public test::DatabaseFixture {
protected:
    CompCalendarTest()
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        static const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), &comp);
        // The first twelve companies, the first of them twice.
        for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0 && entries_.size() < 12; r = NextRecord(r))
            if (!ReadShareDateFields({r, 0}).empty())
                entries_.push_back({r, 0});
        entries_.push_back(entries_.front());
        entries_.push_back({});
        list_.entries = entries_.data();
        list_.capacity = int32_t(entries_.size());
    }
    ~CompCalendarTest() override { CalendarBoxesTicked() = 0x7F; }

    std::vector<RecordCursor> entries_;
    ShareList list_{};
};

TEST_F(CompCalendarTest, EveryShareGivesItsEventsOnceFilteredByKindAndDate)
{
    ASSERT_EQ(entries_.size(), 14u);
    std::vector<CalendarEvent> events = CollectCalendarEvents(&list_);
    EXPECT_EQ(events.size(), 12u * 16) << "sixteen calendar fields a share, the repeated share skipped";
    std::multiset<int> kinds;
    for (const CalendarEvent& e : events)
        if (e.share.record == entries_[0].record)
            kinds.insert(e.kind);
    EXPECT_EQ(kinds.count(1), 2u) << "two announcement fields of one share give two rows";
    EXPECT_EQ(CalendarEventName(3), "Prelim. Results");

    struct Case {
        uint16_t ticked;
        std::set<int> kinds;
    } cases[] = {
        {0x7F, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {0x7F & ~(1u << 2), {0, 2, 4, 5, 6, 7, 8, 9, 10}}, // "Announcements" unticked
        {1u << 1, {2, 8}},
        {1u << 5, {6, 10}},
        {0, {}},
    };
    for (const Case& k : cases) {
        std::set<int> seen;
        for (const CalendarEvent& e : FilterCalendarEvents(events, 0, 0xFFFF, CalendarKindMask(k.ticked)))
            seen.insert(e.kind);
        EXPECT_EQ(seen, k.kinds) << k.ticked;
    }
    const PackedDate from = events[5].date, to = events[5].date;
    for (const CalendarEvent& e : FilterCalendarEvents(events, from, to, 0xFFFF))
        EXPECT_EQ(e.date, from);
}

TEST_F(CompCalendarTest, TheDialogShowsRunsSortsOpensAndPrints)
{
    CCompCalendar dialog(&list_);
    // The earliest day a two-digit year writes ("01/01/00" reads back as 2000): the float dates of the
    // companies with closes from 1998 lie before 2000.
    dialog.from()->date = PackDate(1, 1, 1950);
    dialog.from()->FormatDate(true);
    dialog.to()->date = 0xFFFE;
    dialog.to()->FormatDate(true);
    dialog.box(0)->toggle();
    dialog.box(0)->toggle(); // a refill with the new dates
    const std::vector<CalendarEvent>& shown = dialog.shown();
    ASSERT_EQ(shown.size(), 12u * 16);
    ASSERT_EQ(dialog.list()->topLevelItemCount(), int(shown.size()));
    for (size_t i = 1; i < shown.size(); ++i) {
        EXPECT_LE(shown[i - 1].date, shown[i].date);
        const bool sameDate = shown[i - 1].date == shown[i].date;
        EXPECT_EQ(dialog.list()->topLevelItem(int(i))->text(0).isEmpty(), sameDate) << i;
    }
    test::SaveRender(test::RenderWidget(dialog), "CompCalendar");

    dialog.SortBy(2);
    EXPECT_FALSE(dialog.list()->topLevelItem(1)->text(0).isEmpty()) << "by share, every row shows its date";
    dialog.SortBy(2);
    EXPECT_GE(GetRecordName(dialog.shown().front().share.record), GetRecordName(dialog.shown().back().share.record));

    dialog.box(2)->setChecked(false);
    for (const CalendarEvent& e : dialog.shown())
        EXPECT_TRUE(e.kind != 1 && e.kind != 3);

    const RecordCursor target = dialog.shown()[3].share;
    dialog.OpenRow(3);
    ASSERT_NE(CurrentEntry(&list_), nullptr);
    EXPECT_EQ(CurrentEntry(&list_)->record, target.record);

    dev::TempFolder folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString((folder.path() / "calendar.pdf").string());
    printer.setOutputFileName(pdf);
    EXPECT_TRUE(dialog.PrintTo(printer));
    EXPECT_GE(test::PdfPageCount(pdf), 2);

    dialog.reject();
    EXPECT_EQ(CalendarBoxesTicked(), 0x7F & ~(1u << 2)) << "the boxes are kept for the next opening";
}

} // namespace
} // namespace qv
