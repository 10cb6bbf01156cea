// Notes of share lines in the program's setting-record store.
#include "core/ShareNotes.h"

#include "core/SettingRecordStore.h"

#include <gtest/gtest.h>

using namespace qv;

// A note is kept per share, line and note number with its NUL; an empty text (or one that starts
// with a NUL) deletes it; the other notes stay.
TEST(ShareNotes, NotesAreStoredPerLineAndNumberAndEmptyDeletes)
{
    ASSERT_TRUE(SetShareNote(0x0101, 0, 3, "Watch"));
    ASSERT_TRUE(SetShareNote(0x0101, 1, 3, "Line two"));
    ASSERT_TRUE(SetShareNote(0x0101, 0, 4, std::string_view("Hold\0junk", 9)));
    EXPECT_EQ(ShareNote(0x0101, 0, 3), "Watch");
    EXPECT_EQ(ShareNote(0x0101, 1, 3), "Line two");
    EXPECT_EQ(ShareNote(0x0101, 0, 4), "Hold") << "cut at the NUL";
    EXPECT_EQ(SettingDataSize(GetSettingRecord(0x0101, 0, NoteSettingId(4))), 5u) << "stored with its NUL";
    EXPECT_EQ(ShareNote(0x0102, 0, 3), "");

    ASSERT_TRUE(SetShareNote(0x0101, 0, 3, ""));
    EXPECT_EQ(ShareNote(0x0101, 0, 3), "");
    EXPECT_TRUE(NoteSetHasNotes(3)) << "line 1's note stays";
    ASSERT_TRUE(SetShareNote(0x0101, 1, 3, std::string_view("\0x", 2)));
    EXPECT_FALSE(NoteSetHasNotes(3));
    DeleteNoteSet(4);
    EXPECT_FALSE(NoteSetHasNotes(4));
    CompactSettingRecords();
}
