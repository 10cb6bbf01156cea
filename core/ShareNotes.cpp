// Note sets in the setting-record store.
#include "core/ShareNotes.h"

#include "core/SettingRecordStore.h"

#include <cstring>

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

std::string ShareNote(uint16_t shareId, uint8_t line, int note)
{
    const uint8_t* data = GetSettingRecord(shareId, line, NoteSettingId(note));
    if (!data)
        return {};
    const char* text = reinterpret_cast<const char*>(data);
    return std::string(text, strnlen(text, SettingDataSize(data)));
}

bool SetShareNote(uint16_t shareId, uint8_t line, int note, std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (text.empty()) {
        DeleteSettingRecord(shareId, line, NoteSettingId(note));
        return true;
    }
    std::string stored(text);
    return SetSettingRecord(shareId, line, NoteSettingId(note), stored.c_str(), uint32_t(stored.size() + 1));
}

} // namespace qv
