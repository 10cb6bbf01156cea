// Fuzzes the InfoCentre index reader: the input gives slot offsets, table bits and the entry bytes of
// an index file, which is then walked, read by category and updated.
#include "infocentre/InCIndex.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    size_t slots = data[0] % 32;
    if (size < 9 + 6 * slots)
        return 0;
    const uint8_t* slotBytes = data + 9;
    const uint8_t* entries = slotBytes + 6 * slots;
    size_t entriesSize = size - 9 - 6 * slots;

    std::vector<uint8_t> file(qv::CInCIndex::kEntriesOffset, 0);
    file[0] = 'Z', file[1] = 'Q', file[2] = 'I', file[3] = 'D';
    std::copy(data + 1, data + 9, file.begin() + qv::CInCIndex::kTableOffset);
    std::vector<uint16_t> numbers;
    for (size_t i = 0; i < slots; ++i) {
        uint16_t number = qv::LoadU16(slotBytes + 6 * i);
        // Offsets land among the entries, in the tables or past the end.
        uint32_t offset = qv::LoadU32(slotBytes + 6 * i + 2) % uint32_t(entriesSize + 64) +
                          uint32_t(qv::CInCIndex::kEntriesOffset) - 32;
        qv::StoreU32(file.data() + qv::CInCIndex::kSlotBase + 4 * size_t(number ? number : 1), offset);
        numbers.push_back(number);
    }
    file.insert(file.end(), entries, entries + entriesSize);
    static const std::string path = "/tmp/fuzz_incindex." + std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { ::unlink(path.c_str()); }) == 0;
    (void)removedAtExit;
    if (!qv::WriteFileBytes(path, file))
        return 0;

    qv::CInCIndex index(path);
    qv::InCEntryHead head;
    std::string category;
    while (index.ReadNextEntry(head, &category)) {
    }
    std::map<std::string, qv::CInCCategory> categories;
    index.ReadCategories(categories);
    while (index.NextUsedId() != 0) {
    }
    for (uint16_t number : numbers) {
        index.ReadEntryHead(number, head);
        index.UpdateEntryFlags(number, uint8_t(number), int32_t(number) - 100);
    }
    index.Close();
    return 0;
}
