// Note sets in the setting-record store.
#include "core/ShareNotes.h"

#include "core/SettingRecordStore.h"

namespace qv {

uint8_t NoteSettingId(int note)
{
    constexpr uint8_t kFirstNoteId = 128;
    return uint8_t(kFirstNoteId + (note < 1 || note > kNoteSets ? 0 : note - 1));
}

bool NoteSetHasNotes(int note)
{
    return HasSettingRecord(NoteSettingId(note));
}

void DeleteNoteSet(int note)
{
    DeleteSettingAll(NoteSettingId(note));
}

} // namespace qv
