// TNews.dat: the 88-byte title records of every story, kept in ascending byte order of their text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct NewsTitleRecord {
    static constexpr size_t kSize = 88;
    static constexpr size_t kTextField = 84;
    static constexpr size_t kMaxText = 80;

    uint32_t story = 0;
    std::string text; // at most 80 characters

    bool operator<(const NewsTitleRecord& other) const;
};

// Reads every record; a file whose size is no whole number of records yields nothing with ok false.
bool ReadNewsTitles(const std::filesystem::path& file, std::vector<NewsTitleRecord>& out);

// Merges the sorted new titles into the file through "tempTNews.dat" beside it, 2000 records at a
// time, then puts the result in place. False (the file unchanged) when a step fails.
bool AddNewsTitles(const std::filesystem::path& file, std::vector<NewsTitleRecord> titles);

// Copies the file record by record through "tempTNews.dat", 2000 at a time, giving each record the
// number newNumber[story] holds and leaving out those it marks UINT32_MAX (or that lie beyond it).
// False (the file unchanged) when a step fails.
bool RenumberNewsTitles(const std::filesystem::path& file, const std::vector<uint32_t>& newNumber);

// Writes the records whole, in order, through the temporary file.
bool WriteNewsTitles(const std::filesystem::path& file, const std::vector<NewsTitleRecord>& titles);

} // namespace qv
