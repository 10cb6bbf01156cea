// Writes news update files as the news service would: the word lists, the decode trees and the
// story directory as compressed blocks, the stories' text as Huffman codes of the day's words.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

struct NewsUpdateStoryInput {
    PackedDate date = 0;
    uint16_t time = 0; // units of 2 seconds
    // The code prefix, a blank, the title, a line feed and the body.
    std::string text;
};

struct NewsUpdateInput {
    std::vector<NewsUpdateStoryInput> stories;
    int codeTables = 5; // 1-8; stories take them in turn
};

// The words of a text as the update carries them: runs of letters and digits, and every other
// character as a word of its own.
std::vector<std::string> NewsTextWords(const std::string& text);

// The update file's bytes; the date field is left 0 (the reader takes the date from the file name).
std::vector<uint8_t> WriteNewsUpdate(const NewsUpdateInput& input);

// "N" + yymmdd + ".UPD".
std::string NewsUpdateFileName(PackedDate date);

} // namespace qv::dev
