// The older graph settings file and the setting-record pruning before a save.
#include "chartmodel/OldGraphConfig.h"

#include "core/LinesAndTextFiles.h"
#include "core/SettingRecordStore.h"
#include "core/SettingRecordsV4.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

constexpr uint32_t kCurrentGraphTag = MakeFileTag("ZQAN");
constexpr uint8_t kNewestOldGraphVersion = 1;
constexpr size_t kBlockSlack = 100;
constexpr size_t kRecordHead = 5;
constexpr uint8_t kFirstRunTimeId = 144;
constexpr uint8_t kLastRunTimeId = 207;

} // namespace

void LoadGraphConfig()
{
    std::vector<uint8_t> image;
    {
        ExclusiveFile file;
        if (!file.open(AppPath("Graph.cfg"), ExclusiveFile::Mode::Read) || !file.readAll(image))
            return;
    }
    ByteReader in(image);
    TaggedFileHeader header;
    header.read(in);
    if (header.tag == kCurrentGraphTag)
        return;
    if (header.tag != file_tag::kOlderGraph || header.version > kNewestOldGraphVersion) {
        bool tooNew = header.tag == file_tag::kOlderGraph || header.version > kNewestOldGraphVersion;
        ShowHeaderMessage(TaggedFileKind::OlderGraph,
                          tooNew ? HeaderVerdict::ProgramTooOld : HeaderVerdict::BadlyFormatted);
        return;
    }
    if (header.word12 > kMaxOldGraphBody) {
        ShowMessage("Serious Error: Graph configuration file is corrupted", {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
        return;
    }
    // The block is zero-filled past what the file holds, so a short file ends the block early.
    std::vector<uint8_t> block(header.word12 + kBlockSlack, 0);
    size_t present = std::min<size_t>(header.word12, in.remaining());
    in.bytes(block.data(), present);
    RepairSettingRecords(block);
    SettingRecords().load(block);
    ConvertSettingRecordsV4();
}

void RepairSettingRecords(std::span<uint8_t> block)
{
    for (size_t r = 0; r + 2 <= block.size();) {
        size_t length = LoadU16(&block[r]);
        if (length == 0 || length > block.size() - r)
            return;
        size_t end = r + length;
        for (size_t s = r + kRecordHead; s + 2 <= end;) {
            size_t subLength = LoadU16(&block[s]);
            if (subLength == 0)
                break;
            if (s + subLength >= end) {
                StoreU16(&block[s], 0);
                break;
            }
            s += subLength;
        }
        r = end;
    }
}

void DeleteGraphSettingRecords()
{
    for (int id = kFirstRunTimeId; id <= kLastRunTimeId; ++id)
        DeleteSettingAll(uint8_t(id));
    LinesAndTextStore().StoreSettingRecords();
}

} // namespace qv
