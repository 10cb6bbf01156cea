// Reading, writing and copying the items of "Quorva.cfg", and the column-chain helpers.
#include "core/ConfigItem.h"

#include <algorithm>

namespace qv {

namespace {

constexpr size_t kOlderColumnMinimum = 11;
constexpr size_t kWidenAt = 8;
constexpr size_t kMaxNameBytes = 255;

bool ReadHead(ByteReader& in, ConfigItemHead& head)
{
    in.u16(head.length);
    in.u8(head.type);
    in.u8(head.nameLength);
    return in.ok();
}

std::optional<std::string> NameFromBytes(std::span<const uint8_t> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    return std::string(bytes.begin(), end);
}

// Data length under the rule, or -1 when the length word cannot hold the name (and sort byte).
long DataLength(const ConfigItemHead& head, ItemLengthRule rule)
{
    switch (rule) {
    case ItemLengthRule::CountsSortByte:
        return long(head.length) - head.nameLength - 1;
    case ItemLengthRule::CountsFourNotName:
        return long(head.length) - 4;
    case ItemLengthRule::Current:
        break;
    }
    return long(head.length) - head.nameLength;
}

void WriteItem(ByteWriter& out, uint8_t type, std::span<const uint8_t> data,
               const std::optional<std::string>& name, const int8_t* sort)
{
    size_t nameBytes = name ? std::min(name->size() + 1, kMaxNameBytes) : 0;
    out.u16(uint16_t(nameBytes + data.size()));
    out.u8(type);
    out.u8(uint8_t(nameBytes));
    if (nameBytes) {
        out.bytes(name->data(), nameBytes - 1);
        out.u8(0);
    }
    if (sort)
        out.i8(*sort);
    out.bytes(data.data(), data.size());
}

void WriteChain(ByteWriter& out, uint8_t type, std::span<const uint8_t> chain,
                const std::optional<std::string>& name, const int8_t* sort)
{
    size_t length = ChainLength(chain);
    if (length == 0 && !name)
        return;
    WriteItem(out, type, chain.first(length), name, sort);
}

} // namespace

bool ReadConfigItem(ByteReader& in, bool hasSort, ItemLengthRule rule, ConfigItem& out)
{
    out = ConfigItem{};
    if (!ReadHead(in, out.head))
        return false;
    long dataLength = DataLength(out.head, rule);
    if (out.head.type >= kConfigSlots || dataLength < 0) {
        in.fail();
        return false;
    }
    auto name = in.take(out.head.nameLength);
    if (hasSort)
        in.i8(out.sort);
    out.data = in.take(size_t(dataLength));
    if (!in.ok())
        return false;
    out.name = NameFromBytes(name);
    return true;
}

bool ReadItemData(const ConfigItem& item, uint8_t* record, size_t recordSize)
{
    if (item.data.size() > recordSize)
        return false;
    std::copy(item.data.begin(), item.data.end(), record);
    return true;
}

void WriteConfigItem(ByteWriter& out, uint8_t type, std::span<const uint8_t> data,
                     const std::optional<std::string>& name)
{
    WriteItem(out, type, data, name, nullptr);
}

void WriteConfigItemWithSort(ByteWriter& out, uint8_t type, std::span<const uint8_t> data,
                             const std::optional<std::string>& name, int8_t sort)
{
    WriteItem(out, type, data, name, &sort);
}

void WriteChainItem(ByteWriter& out, uint8_t type, std::span<const uint8_t> chain,
                    const std::optional<std::string>& name)
{
    WriteChain(out, type, chain, name, nullptr);
}

void WriteChainItemWithSort(ByteWriter& out, uint8_t type, std::span<const uint8_t> chain,
                            const std::optional<std::string>& name, int8_t sort)
{
    WriteChain(out, type, chain, name, &sort);
}

bool CopyConfigItem(ByteReader& source, ByteWriter& target, int skipType, bool keep, bool hasSort)
{
    size_t start = source.position();
    ConfigItem item;
    if (!ReadConfigItem(source, hasSort, ItemLengthRule::Current, item))
        return false;
    if (item.head.type == skipType && !keep)
        return true;
    size_t end = source.position();
    source.seek(start);
    auto raw = source.take(end - start);
    target.bytes(raw.data(), raw.size());
    return source.ok();
}

size_t ChainLength(std::span<const uint8_t> chain)
{
    size_t pos = 0;
    while (pos < chain.size()) {
        uint8_t length = chain[pos];
        if (length == 0)
            return pos + 1;
        pos += length;
    }
    return 0;
}

std::optional<std::vector<uint8_t>> WidenColumnChain(std::span<const uint8_t> chain)
{
    std::vector<uint8_t> wide;
    size_t pos = 0;
    while (pos < chain.size()) {
        size_t length = chain[pos];
        if (length == 0) {
            wide.push_back(0);
            return wide;
        }
        if (length < kOlderColumnMinimum || length + kWidenedColumnBytes > 255 ||
            chain.size() - pos < length)
            return std::nullopt;
        auto record = chain.subspan(pos, length);
        size_t at = wide.size();
        wide.insert(wide.end(), record.begin(), record.begin() + kWidenAt);
        wide.insert(wide.end(), kWidenedColumnBytes, 0);
        wide.insert(wide.end(), record.begin() + kWidenAt, record.end());
        wide[at] = uint8_t(length + kWidenedColumnBytes);
        if (wide[at + 1] != 0)
            wide[at + 1] = uint8_t(wide[at + 1] + kWidenedColumnBytes);
        wide[at + 7] = 0;
        pos += length;
    }
    return std::nullopt;
}

} // namespace qv
