// Writing and reading table library files.
#include "lists/TableFile.h"

#include "core/Base64.h"
#include "core/ColumnDef.h"
#include "core/Memory.h"

#include <cstring>
#include <memory>

namespace qv {

const char* const kTableFileFirstLine =
    "!***** Quorvantis Table (copy/paste from this line down) ***********************";
const char* const kTableFileLastLine =
    "!***** End (copy/paste up to and including this line) **************************";

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kRevision = "REV1";
constexpr size_t kFaceOffset = 132;
constexpr size_t kFaceSize = 32;

struct ProFreeDeleter {
    void operator()(char* p) const { ProFree(p); }
};

std::string Encode(const uint8_t* bytes, size_t count)
{
    std::unique_ptr<char, ProFreeDeleter> text(Base64Encode(bytes, uint32_t(count)));
    return text ? std::string(text.get()) : std::string();
}

std::optional<std::vector<uint8_t>> Decode(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    int32_t count = Base64Decode(buffer.data());
    if (count < 0)
        return std::nullopt;
    return std::vector<uint8_t>(buffer.begin(), buffer.begin() + count);
}

std::string_view TrimRight(std::string_view line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// Lines one at a time, without their line ends.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(std::string_view& line)
    {
        if (at_ >= text_.size())
            return false;
        size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(at_, end - at_);
        at_ = end + 1;
        return true;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

// The lines up to the next line that is exactly "!", joined; nothing when the text ends first.
std::optional<std::string> Block(LineReader& lines)
{
    std::string joined;
    std::string_view line;
    while (lines.next(line)) {
        line = TrimRight(line);
        if (line == "!")
            return joined;
        joined.append(line);
    }
    return std::nullopt;
}

std::string OneLine(std::string_view text, size_t limit)
{
    std::string line(text.substr(0, limit));
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return line;
}

bool SortInside(int8_t sort, const std::vector<uint8_t>& layout)
{
    if (sort == 0)
        return true;
    int column = (sort < 0 ? -int(sort) : int(sort)) - 1;
    return column < CountColumnDefs(layout.data());
}

} // namespace

void WriteBase64Lines(std::string& out, std::string_view text)
{
    for (size_t at = 0; at < text.size(); at += kBase64LineLength) {
        out.append(text.substr(at, kBase64LineLength));
        out.append(kLineEnd);
    }
}

std::string WriteTableFile(const TableDesign& design, std::string_view name, std::string_view description)
{
    std::string out;
    auto line = [&](std::string_view text) {
        out.append(text);
        out.append(kLineEnd);
    };
    line(kTableFileFirstLine);
    line("!" + OneLine(name, kTableFileNameLimit));
    line("!" + OneLine(description, kTableFileDescriptionLimit));
    line(kRevision);
    WriteBase64Lines(out, Encode(design.style.data(), design.style.size()));
    line("!");
    std::vector<uint8_t> definition;
    definition.push_back(uint8_t(design.sort));
    definition.insert(definition.end(), design.layout.begin(), design.layout.end());
    WriteBase64Lines(out, Encode(definition.data(), definition.size()));
    line("!");
    line(kTableFileLastLine);
    return out;
}

std::optional<TableDesign> ReadTableFile(std::string_view text)
{
    LineReader lines(text);
    std::string_view line;
    do {
        if (!lines.next(line))
            return std::nullopt;
    } while (!line.empty() && line.front() == '!');
    if (TrimRight(line) != kRevision)
        return std::nullopt;
    std::optional<std::string> styleText = Block(lines);
    std::optional<std::string> definitionText = styleText ? Block(lines) : std::nullopt;
    if (!definitionText)
        return std::nullopt;
    std::optional<std::vector<uint8_t>> style = Decode(*styleText);
    std::optional<std::vector<uint8_t>> definition = Decode(*definitionText);
    if (!style || !definition || style->size() != kTableStyleSize || definition->empty())
        return std::nullopt;
    if (std::memchr(style->data() + kFaceOffset, 0, kFaceSize) == nullptr)
        return std::nullopt;
    TableDesign design;
    std::memcpy(design.style.data(), style->data(), kTableStyleSize);
    design.sort = int8_t((*definition)[0]);
    design.layout.assign(definition->begin() + 1, definition->end());
    if (design.layout.empty() || ValidateColumnLayout(design.layout) != design.layout.size() ||
        !SortInside(design.sort, design.layout))
        return std::nullopt;
    return design;
}

std::optional<TableFileTitle> ReadTableFileTitle(std::string_view text)
{
    LineReader lines(text);
    std::string_view first, second, third;
    if (!lines.next(first) || !lines.next(second) || !lines.next(third))
        return std::nullopt;
    for (std::string_view l : {first, second, third})
        if (l.empty() || l.front() != '!')
            return std::nullopt;
    return TableFileTitle{std::string(TrimRight(second.substr(1))), std::string(TrimRight(third.substr(1)))};
}

} // namespace qv
