// The number and money format of list cells: pence or pounds, currency symbols, fractions, decimals,
// significant figures, k/m/b scaling, grouping and export mode. Writes into the caller's buffer and
// allocates nothing, since every visible cell of every repaint comes through it.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>

namespace qv {

// The program-wide settings that cell texts read: the export writer's while it writes a file, and the
// display options.
struct CellSettings {
    bool exportMode = false;         // set by the export writer while it writes a file
    bool exportKeepsPence = false;   // export money in pence (6 decimals) rather than pounds (4)
    int exportFormat = 0;            // 1: commas in texts become ";"; 3: texts cut to 12 characters
    char exportSeparator = ',';      // the export's field separator
    int exportDateStyle = 0;         // FormatDateStyled flags for dates in export mode
    char exportDateSeparator = '/';
    bool showClassLetters = false;   // "A - " before names of lines of class 0-10
};
CellSettings& CurrentCellSettings();

// Format bytes of a column record that the number format reads.
namespace CellFormatBits {
constexpr uint8_t ZeroStyle = 0x03;    // byte 4: 0 empty, 1 "0", 2 "-"
constexpr uint8_t MoneyUnit = 0x0C;    // byte 4: 0 automatic, 4 pounds, 8 pence
constexpr uint8_t MoneyPounds = 0x04;
constexpr uint8_t MoneyPence = 0x08;
constexpr uint8_t AutoDecimals = 0x10; // byte 4
constexpr uint8_t Decimals = 0x0F;     // byte 5
constexpr uint8_t Fractions = 0x10;
constexpr uint8_t Plus = 0x20;
constexpr uint8_t Scale = 0x40;
constexpr uint8_t Significant = 0x80;
} // namespace CellFormatBits

// How one numeric cell is written.
struct CellNumberFormat {
    uint8_t formatA = 0;  // column byte 4
    uint8_t formatB = 0;  // column byte 5
    uint8_t code = 0;     // field code (70 never goes to pence; 12 takes significant figures as money)
    bool money = false;   // a money amount in pence (or cents) of the unit below
    int unit = 2;         // currency unit 0-7; plain numbers use 2 (none)
    bool clamp = true;    // false for packed dealing numbers
    bool exact = false;   // the value is not in quarters (an imported item): decimals in place of glyphs
};

constexpr float kCellNoValue = 3.4028235e38f;

// Writes the text of `value` into out (capacity bytes with the NUL) and returns its length; FLT_MAX
// and not-a-number are empty. The text is cut to the capacity.
size_t FormatCellNumber(char* out, size_t capacity, float value, const CellNumberFormat& format);

// A bounded text under construction in a caller's buffer: appends stop at the capacity, and the text
// always ends with a NUL.
class CellText {
public:
    CellText(char* out, size_t capacity) : out_(out), capacity_(capacity) { clear(); }
    void clear()
    {
        length_ = 0;
        if (capacity_)
            out_[0] = 0;
    }
    void append(const char* text);
    void append(const char* text, size_t n);
    void append(char c) { append(&c, 1); }
    // printf into what is left; the result is cut to the capacity.
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    size_t size() const { return length_; }
    // Where the next text goes and how many bytes it may take with its NUL; adopt() takes n bytes
    // written there into the text.
    char* tail() { return out_ + length_; }
    size_t room() const { return capacity_ - length_; }
    void adopt(size_t n)
    {
        length_ = std::min(capacity_ - 1, length_ + n);
        out_[length_] = 0;
    }
    const char* c_str() const { return out_; }
    char* data() { return out_; }
    size_t capacity() const { return capacity_; }
    void truncate(size_t n)
    {
        if (n < length_) {
            length_ = n;
            out_[n] = 0;
        }
    }

private:
    char* out_;
    size_t capacity_;
    size_t length_ = 0;
};

} // namespace qv
