// Listings of "Quorva.cfg" and of keyed item stores.
#include "devtools/lib/SettingsFileText.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/KeyedItemStore.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"

#include <cstdio>
#include <vector>

namespace qv::dev {

namespace {

std::string Tag(std::span<const uint8_t> image)
{
    std::string tag;
    for (size_t i = 0; i < 4 && i < image.size(); ++i)
        tag += image[i] >= 32 && image[i] < 127 ? char(image[i]) : '?';
    return tag;
}

const char* VerdictText(HeaderVerdict verdict)
{
    switch (verdict) {
    case HeaderVerdict::Accepted: return "accepted";
    case HeaderVerdict::TooOld: return "file too old";
    case HeaderVerdict::ProgramTooOld: return "program too old";
    case HeaderVerdict::BadlyFormatted: return "badly formatted";
    }
    return "";
}

} // namespace

std::string DescribeConfigImage(std::span<const uint8_t> image)
{
    std::string out;
    auto verdict = TestConfigHeader(image);
    if (image.size() >= TaggedFileHeader::kSize)
        AppendPrintf(out, "header %s version %u.%u words %04X %04X length %u (file %zu bytes): %s\n",
               Tag(image).c_str(), image[4], image[5], LoadU16(image.data() + 8),
               LoadU16(image.data() + 10), LoadU32(image.data() + 12), image.size(), VerdictText(verdict));
    else
        AppendPrintf(out, "header: short file of %zu bytes\n", image.size());
    if (verdict != HeaderVerdict::Accepted)
        return out;
    std::string section;
    auto scratch = std::make_unique<ConfigState>();
    auto result = ReadConfigImage(*scratch, image, kWholeConfig, [&](const ConfigPartSeen& part) {
        if (part.section != section) {
            section = part.section;
            AppendPrintf(out, "%s\n", section.c_str());
        }
        if (part.type < 0)
            AppendPrintf(out, "  @%-6zu %zu bytes\n", part.offset, part.size);
        else
            AppendPrintf(out, "  @%-6zu slot %-2d %5zu bytes  %s\n", part.offset, part.type, part.size,
                   part.name ? ("\"" + *part.name + "\"").c_str() : "(no name)");
    });
    if (result.failed)
        AppendPrintf(out, "read failed after %s%s\n", section.c_str(),
               result.corrupted ? " (corrupted column chain)" : "");
    else
        out += "read complete\n";
    return out;
}

std::string DescribeKeyedStoreImage(std::span<const uint8_t> image)
{
    std::string out;
    KeyedItemStore store;
    auto header = store.ReadImage(image);
    if (image.size() >= KeyedItemStore::kHeaderSize)
        AppendPrintf(out, "header %s version %u.%u\n", Tag(image).c_str(), image[4], image[5]);
    if (header == KeyedStoreHeader::OlderGraphFile) {
        out += "older graph settings file: no items\n";
        return out;
    }
    if (header == KeyedStoreHeader::Corrupted) {
        out += "corrupted header\n";
        return out;
    }
    std::vector<std::string> lines;
    store.ForEachItem([&](const KeyedItemKey& key, const uint8_t* blob) {
        std::string line;
        AppendPrintf(line, "share %08X kind %-3u sub-key %08X  %u bytes\n", key.share, key.kind, key.subKey,
               BlobLength(blob));
        lines.push_back(line);
    });
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        out += *it;
    AppendPrintf(out, "%zu items\n", lines.size());
    return out;
}

} // namespace qv::dev
