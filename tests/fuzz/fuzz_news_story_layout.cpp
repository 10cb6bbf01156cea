// Fuzzes the story window's layout and run cutting over any text (tabs, very long words, stops) and
// breaking width: the layout ends with lines in order inside the text, and every run and piece lies
// within its line.
#include "news/NewsStoryLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    qv::NewsCharWidths widths{};
    for (size_t c = 0; c < widths.size(); ++c)
        widths[c] = uint8_t(3 + c % 9);
    const int32_t width = int32_t(data[0]) * 4;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t length = text.size();
    const std::vector<qv::NewsFoundWord> found = qv::FindNewsStoryWords(text, text.substr(0, 12));
    std::vector<int32_t> boundaries;
    for (const qv::NewsFoundWord& w : found) {
        if (w.start >= w.end || w.end > int32_t(length) || (!boundaries.empty() && w.start < boundaries.back()))
            std::abort();
        boundaries.push_back(w.start);
        boundaries.push_back(w.end);
    }
    const std::vector<qv::NewsStoryLine> lines = qv::LayOutNewsStory(text, widths, width);
    if (text.size() != length || lines.empty())
        std::abort();
    size_t boundary = 0;
    const qv::NewsFoundWord* current = found.empty() ? nullptr : &found[found.size() / 2];
    for (size_t i = 1; i < lines.size(); ++i) {
        const qv::NewsStoryLine& line = lines[i];
        if (line.start > line.end || line.end > int32_t(length) || line.start < lines[i - 1].start)
            std::abort();
        for (const qv::NewsLineRun& run : qv::NewsBodyLineRuns(text, line)) {
            if (run.start < line.start || run.end > line.end || run.start > run.end)
                std::abort();
            for (const qv::NewsRunPiece& piece : qv::CutNewsStoryRun(run.start, run.end, boundaries, boundary, current))
                if (piece.start < run.start || piece.end > run.end || piece.start > piece.end)
                    std::abort();
        }
    }
    return 0;
}
