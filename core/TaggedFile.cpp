// Tagged file headers: reading, writing, the loaders' tests and their messages.
#include "core/TaggedFile.h"

#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <string>

namespace qv {

bool TaggedFileHeader::read(ByteReader& in)
{
    if (in.remaining() < kSize) {
        in.fail();
        return false;
    }
    in.u32(tag);
    in.u8(version);
    in.u8(subVersion);
    in.u8(byte6);
    in.u8(byte7);
    in.u32(word8);
    in.u32(word12);
    return true;
}

void TaggedFileHeader::write(ByteWriter& out) const
{
    out.u32(tag);
    out.u8(version);
    out.u8(subVersion);
    out.u8(byte6);
    out.u8(byte7);
    out.u32(word8);
    out.u32(word12);
}

void TaggedFileHeader::writeOver(std::span<uint8_t> image) const
{
    if (image.size() < kSize)
        return;
    ByteWriter w;
    write(w);
    std::copy(w.data().begin(), w.data().end(), image.begin());
}

HeaderVerdict TestHeaderCombined(const TaggedFileHeader& header, uint32_t tag, uint8_t lowest, uint8_t highest)
{
    bool inRange = header.version >= lowest && header.version <= highest;
    if (header.tag == tag && inRange)
        return HeaderVerdict::Accepted;
    if (header.version < lowest)
        return HeaderVerdict::TooOld;
    if (header.version > highest)
        return HeaderVerdict::ProgramTooOld;
    return HeaderVerdict::BadlyFormatted;
}

HeaderVerdict TestHeaderVersionFirst(const TaggedFileHeader& header, uint32_t tag, uint8_t highest)
{
    if (header.version == 0)
        return HeaderVerdict::TooOld;
    if (header.version > highest)
        return HeaderVerdict::ProgramTooOld;
    if (header.tag != tag)
        return HeaderVerdict::BadlyFormatted;
    return HeaderVerdict::Accepted;
}

namespace {

struct MessageTexts {
    const char* tooOld;
    const char* programTooOld;
    const char* badlyFormatted;
};

const MessageTexts& TextsOf(TaggedFileKind kind)
{
    static const MessageTexts configuration{"Quorva.cfg is too old", "Quorvantis is too old to load Quorva.cfg",
                                            "Quorva.cfg is badly formatted"};
    static const MessageTexts portfolio{"Portfolio is too old", "Quorvantis is too old to load portfolio",
                                        "Portfolio is badly formatted"};
    static const MessageTexts cash{"Cash account file is too old",
                                   "Quorvantis is too old to load Cash account file",
                                   "Cash account file is badly formatted"};
    static const MessageTexts imports{"Imports.dat is too old", "Quorvantis is too old to load Imports.dat",
                                      "Imports.dat is badly formatted"};
    static const MessageTexts timeZones{nullptr, nullptr, "Time Zone file is badly formatted"};
    static const MessageTexts olderGraph{nullptr, "Quorvantis is too old to load Graph.cfg",
                                         "Graph.cfg is badly formatted"};
    switch (kind) {
    case TaggedFileKind::Configuration: return configuration;
    case TaggedFileKind::Portfolio: return portfolio;
    case TaggedFileKind::CashAccounts: return cash;
    case TaggedFileKind::Imports: return imports;
    case TaggedFileKind::TimeZones: return timeZones;
    case TaggedFileKind::OlderGraph: break;
    }
    return olderGraph;
}

} // namespace

const char* HeaderMessageText(TaggedFileKind kind, HeaderVerdict verdict)
{
    const MessageTexts& texts = TextsOf(kind);
    switch (verdict) {
    case HeaderVerdict::TooOld: return texts.tooOld;
    case HeaderVerdict::ProgramTooOld: return texts.programTooOld;
    case HeaderVerdict::BadlyFormatted: return texts.badlyFormatted;
    case HeaderVerdict::Accepted: break;
    }
    return nullptr;
}

void ShowHeaderMessage(TaggedFileKind kind, HeaderVerdict verdict)
{
    if (const char* text = HeaderMessageText(kind, verdict))
        ShowMessage(text, {}, MsgButtons::Ok);
}

std::optional<std::filesystem::path> SetRejectedFileAside(const std::filesystem::path& file)
{
    // Bounded: a folder full of earlier rejects must not keep the loader searching for ever.
    constexpr int kMostAsideNames = 1000;
    std::string stem = file.stem().string();
    for (int n = 0; n < kMostAsideNames; ++n) {
        auto aside = file.parent_path() / (stem + (n ? std::to_string(n) : std::string()) + ".bad");
        if (RenameNoReplace(file, aside))
            return aside;
        std::error_code ec;
        if (!std::filesystem::exists(aside, ec))
            return std::nullopt; // the rename failed for another reason: leave the file alone
    }
    return std::nullopt;
}

std::string KeptItemsText(size_t count, const std::string& singular, const std::string& plural)
{
    if (count == 0)
        return "none of its " + plural;
    if (count == 1)
        return "only the first " + singular;
    return "only the first " + std::to_string(count) + " " + plural;
}

std::optional<std::filesystem::path> SetDamagedFileAside(const std::filesystem::path& file, const std::string& kept)
{
    std::optional<std::filesystem::path> aside = SetRejectedFileAside(file);
    std::string text = file.filename().string() + " is damaged: Quorvantis could read " + kept + ".\n\n";
    if (aside)
        text += "The whole file has been kept unchanged as " + aside->filename().string() +
                "; the next save writes what was read.";
    else
        text += "The file could not be set aside, so the next save will replace it with what was read.";
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return aside;
}

} // namespace qv
