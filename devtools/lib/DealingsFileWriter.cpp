// The dealings file writer.
#include "devtools/lib/DealingsFileWriter.h"

#include "devtools/lib/TextCoder.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qv::dev {
namespace {

constexpr int kGroups = 4;
constexpr int kFixedBytes = 7; // the length byte and data bytes 1-6

const std::vector<std::string> kDealTypeWords = {"Exercise", "Transfer",        "Sale",     "Purchase",
                                                 "Award",    "Scrip dividend", "Sale at placing"};

uint16_t EncodeCoded(double value, int lowExponent, int highExponent, int maxMantissa, int exponentShift)
{
    if (value <= 0)
        return 0;
    for (int e = lowExponent; e <= highExponent; ++e) {
        const double mantissa = std::round(value / std::pow(10.0, e));
        if (mantissa <= maxMantissa)
            return uint16_t(((e - lowExponent) << exponentShift) | int(mantissa));
    }
    return uint16_t(((highExponent - lowExponent) << exponentShift) | maxMantissa);
}

void PutBits(BitWriter& out, uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        out.put((value >> i) & 1);
}

TextCoder Coder(const std::vector<std::string>& texts, const std::vector<std::string>& words)
{
    TextCoderInput input;
    input.texts = texts;
    input.words = words;
    auto coder = TextCoder::Build(input);
    if (!coder)
        throw std::invalid_argument("dealings texts have no coding tree");
    return *coder;
}

struct Coders {
    TextCoder names, types, shareTexts, roles;

    void install(CodingTables& tables) const
    {
        names.install(tables, 0);
        types.install(tables, 3);
        shareTexts.install(tables, 6);
        roles.install(tables, 9);
    }
};

Coders BuildCoders(const std::vector<DealingItemSpec>& items)
{
    std::vector<std::string> names, types, shareTexts, roles;
    for (const auto& item : items) {
        if (item.head)
            names.push_back(item.investor);
        shareTexts.push_back(item.shareText);
        if (item.flags & 0x80)
            continue;
        types.push_back(item.dealType);
        roles.push_back(item.role);
    }
    return {Coder(names, {}), Coder(types, kDealTypeWords), Coder(shareTexts, {}), Coder(roles, {})};
}

void PutText(BitWriter& out, const TextCoder& coder, const std::string& text)
{
    if (!coder.encode(text, out))
        throw std::invalid_argument("no coding for the text '" + text + "'");
}

std::vector<uint8_t> EncodeItem(const DealingItemSpec& item, const DealingsFileSpec& spec, const Coders& coders)
{
    BitWriter bits;
    PutBits(bits, 0, spec.codedStart & 7);
    PutText(bits, coders.shareTexts, item.shareText);
    if (!(item.flags & 0x80)) {
        const int yearOffset = (item.date >> 9) - spec.baseYear;
        if (yearOffset < 0 || yearOffset > 7)
            throw std::invalid_argument("deal date outside the file's eight years");
        PutBits(bits, uint32_t(yearOffset << 9 | (item.date & 0x1FF)), 12);
        const uint16_t value = EncodeCoded14(item.value);
        PutBits(bits, value ? 1 : 0, 1);
        if (value)
            PutBits(bits, value, 14);
        PutText(bits, coders.types, item.dealType);
        PutText(bits, coders.roles, item.role);
        PutBits(bits, uint32_t(EncodeCoded14(item.dealSize)) << 10 | EncodeCoded10(item.dealFraction), 24);
    }
    if (item.head)
        PutText(bits, coders.names, item.investor);

    const int startByte = spec.codedStart >> 3;
    std::vector<uint8_t> bytes(size_t(startByte > kFixedBytes ? startByte : kFixedBytes), 0);
    const uint32_t sizes = uint32_t(EncodeCoded14(item.holdSize)) << 10 | EncodeCoded10(item.holdFraction);
    const uint32_t share = uint32_t(item.flags & 0xF0) << 16 | uint32_t(item.shareId & 0x7FFF) << 5;
    for (int i = 0; i < 3; ++i) {
        bytes[size_t(1 + i)] = uint8_t(sizes >> (16 - 8 * i));
        bytes[size_t(4 + i)] = uint8_t(share >> (16 - 8 * i));
    }
    bytes.insert(bytes.end(), bits.bytes().begin(), bits.bytes().end());
    if (bytes.size() > 127)
        throw std::invalid_argument("dealings item longer than 127 bytes");
    bytes[0] = uint8_t(bytes.size() | (item.head ? 0x80 : 0));
    return bytes;
}

} // namespace

uint16_t EncodeCoded14(double value) { return EncodeCoded(value, -3, 12, 0x3FF, 10); }
uint16_t EncodeCoded10(double value) { return EncodeCoded(value, -8, -1, 0x7F, 7); }

CodingTables BuildDealingsTables(const std::vector<DealingItemSpec>& items)
{
    CodingTables tables;
    BuildCoders(items).install(tables);
    return tables;
}

DealingsFileBytes WriteDealingsFile(const DealingsFileSpec& spec)
{
    const Coders coders = BuildCoders(spec.items);
    CodingTables tables;
    coders.install(tables);

    DealingsFileBytes file;
    std::vector<uint8_t> body;
    std::vector<size_t> bodyOffsets;
    for (const auto& item : spec.items) {
        std::vector<uint8_t> bytes = EncodeItem(item, spec, coders);
        bodyOffsets.push_back(body.size());
        body.insert(body.end(), bytes.begin(), bytes.end());
    }
    body.push_back(0);
    std::vector<uint8_t> table = StoreCodingTables(tables, kGroups);
    std::vector<uint8_t>& out = file.bytes;
    out.assign(32, 0);
    std::copy_n("ZQDB", 4, out.begin());
    out[4] = spec.version;
    out[6] = spec.baseYear;
    out[7] = kGroups;
    StoreU32(out.data() + 8, uint32_t(spec.headerItemCount < 0 ? int32_t(spec.items.size()) : spec.headerItemCount));
    StoreU32(out.data() + 12, uint32_t(body.size()));
    StoreU16(out.data() + 18, spec.date);
    out[20] = spec.codedStart;
    out.insert(out.end(), table.begin(), table.end());
    file.bodyOffset = out.size();
    for (size_t offset : bodyOffsets)
        file.itemOffsets.push_back(file.bodyOffset + offset);
    out.insert(out.end(), body.begin(), body.end());
    return file;
}

} // namespace qv::dev
