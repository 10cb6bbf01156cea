// TNews.dat: title records read, merged and written field by field.
#include "news/NewsTitles.h"

#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv {

namespace {

constexpr size_t kBatch = 2000;

std::array<uint8_t, NewsTitleRecord::kTextField> TextField(const std::string& text)
{
    std::array<uint8_t, NewsTitleRecord::kTextField> field{};
    std::memcpy(field.data(), text.data(), std::min(text.size(), NewsTitleRecord::kMaxText));
    return field;
}

void Write(ByteWriter& out, const NewsTitleRecord& record)
{
    out.u32(record.story);
    out.fixedText(record.text.substr(0, NewsTitleRecord::kMaxText), NewsTitleRecord::kTextField);
}

NewsTitleRecord Read(const uint8_t* p)
{
    NewsTitleRecord record;
    record.story = LoadU32(p);
    const char* text = reinterpret_cast<const char*>(p + 4);
    record.text.assign(text, strnlen(text, NewsTitleRecord::kMaxText));
    return record;
}

// Reads the next batch of whole records; false at the end or on a read failure.
bool ReadBatch(ExclusiveFile& in, std::vector<NewsTitleRecord>& batch, bool& failed)
{
    std::vector<uint8_t> bytes(kBatch * NewsTitleRecord::kSize);
    long long got = in.read(bytes.data(), bytes.size());
    batch.clear();
    if (got < 0 || got % NewsTitleRecord::kSize) {
        failed = true;
        return false;
    }
    for (long long at = 0; at < got; at += NewsTitleRecord::kSize)
        batch.push_back(Read(&bytes[size_t(at)]));
    return !batch.empty();
}

std::filesystem::path TemporaryOf(const std::filesystem::path& file) { return file.parent_path() / "tempTNews.dat"; }

bool Flush(ExclusiveFile& out, ByteWriter& pending)
{
    bool ok = out.write(pending.data().data(), pending.size());
    pending = ByteWriter();
    return ok;
}

} // namespace

bool NewsTitleRecord::operator<(const NewsTitleRecord& other) const
{
    return TextField(text) < TextField(other.text);
}

bool ReadNewsTitles(const std::filesystem::path& file, std::vector<NewsTitleRecord>& out)
{
    out.clear();
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(file);
    if (!bytes)
        return !std::filesystem::exists(file);
    if (bytes->size() % NewsTitleRecord::kSize)
        return false;
    for (size_t at = 0; at < bytes->size(); at += NewsTitleRecord::kSize)
        out.push_back(Read(&(*bytes)[at]));
    return true;
}

bool AddNewsTitles(const std::filesystem::path& file, std::vector<NewsTitleRecord> titles)
{
    std::stable_sort(titles.begin(), titles.end());
    std::filesystem::path temporary = TemporaryOf(file);
    ExclusiveFile in, out;
    bool hasOld = std::filesystem::exists(file);
    if ((hasOld && !in.open(file, ExclusiveFile::Mode::Read)) || !out.open(temporary, ExclusiveFile::Mode::Create))
        return false;
    ByteWriter pending;
    size_t next = 0;
    bool failed = false, ok = true;
    std::vector<NewsTitleRecord> batch;
    while (hasOld && ReadBatch(in, batch, failed)) {
        for (const NewsTitleRecord& old : batch) {
            while (next < titles.size() && titles[next] < old)
                Write(pending, titles[next++]);
            Write(pending, old);
        }
        ok = ok && Flush(out, pending);
    }
    for (; next < titles.size(); ++next)
        Write(pending, titles[next]);
    ok = ok && !failed && Flush(out, pending) && out.sync() && out.close();
    in.close();
    if (!ok || !RenameReplace(temporary, file)) {
        ForceDelete(temporary);
        return false;
    }
    return true;
}

bool RenumberNewsTitles(const std::filesystem::path& file, const std::vector<uint32_t>& newNumber)
{
    if (!std::filesystem::exists(file))
        return true;
    std::filesystem::path temporary = TemporaryOf(file);
    ExclusiveFile in, out;
    if (!in.open(file, ExclusiveFile::Mode::Read) || !out.open(temporary, ExclusiveFile::Mode::Create))
        return false;
    ByteWriter pending;
    bool failed = false, ok = true;
    std::vector<NewsTitleRecord> batch;
    while (ok && ReadBatch(in, batch, failed)) {
        for (NewsTitleRecord& record : batch) {
            if (record.story >= newNumber.size() || newNumber[record.story] == UINT32_MAX)
                continue;
            record.story = newNumber[record.story];
            Write(pending, record);
        }
        ok = Flush(out, pending);
    }
    ok = ok && !failed && out.sync() && out.close();
    in.close();
    if (!ok || !RenameReplace(temporary, file)) {
        ForceDelete(temporary);
        return false;
    }
    return true;
}

bool WriteNewsTitles(const std::filesystem::path& file, const std::vector<NewsTitleRecord>& titles)
{
    ByteWriter image;
    for (const NewsTitleRecord& title : titles)
        Write(image, title);
    std::filesystem::path temporary = TemporaryOf(file);
    if (!WriteFileBytes(temporary, image.data()) || !RenameReplace(temporary, file)) {
        ForceDelete(temporary);
        return false;
    }
    return true;
}

} // namespace qv
