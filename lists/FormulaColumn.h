// Formula columns: a token expression evaluated for one row on a small typed value stack.
//
// Tokens (the expression starts at byte 28 of a formula column record and ends with 0xFF):
//   0xFF end (the top cell is the result); 0xFE open; 0xFD evaluate the innermost open operation;
//   0x80-0xDF and 0xF0-0xFC operator markers; 0x40-0x7F constants (type = token & 3, 4 value bytes,
//   or with bit 3 an index into the parameter table); 0x3F results figure (next byte: year nibble, item
//   nibble); 0x38 / 0x39 another field column's value as integer / real; 0xE0 today; 0xE1 the latest
//   close; 0xE4-0xE9 figures of the price sub-record (FormulaPriceFigure); 0xE2 nothing; 0xE3 main line
//   only; 0xEA / 0xEB price / results conversion off; 0x01-0x3E field n of the list's field table.
// Any fault (unknown token, wrong type, division by zero, a failed guard, a stack overflow or
// underflow, an operand past the expression's end, a missing 0xFF) is an evaluation error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

struct ShareList;

enum FormulaType : uint32_t {
    kFormulaInteger = 1,
    kFormulaReal = 2,
    kFormulaBoolean = 3,
};

// The result of the last evaluation (program-wide, read by the cell code right after the call).
struct FormulaResult {
    uint32_t bits = 0; // an integer, a float's bits, or 0 / 1
    uint32_t type = 0;
    float real() const;
    int32_t integer() const { return int32_t(bits); }
};
FormulaResult& LastFormulaResult();

// Tokens with names.
namespace FormulaToken {
constexpr uint8_t End = 0xFF, Open = 0xFE, Close = 0xFD;
constexpr uint8_t Add = 0x80, Subtract = 0x81, Multiply = 0x82, Divide = 0x83;
constexpr uint8_t Greater = 0x84, GreaterEqual = 0x85, Less = 0x87, LessEqual = 0x88;
constexpr uint8_t And = 0x89, Or = 0x8A, DaysApart = 0x8B, Blend = 0x8C, BlendPositive = 0x8D;
constexpr uint8_t Complement = 0xC0, Ln = 0xC1, Exp = 0xC2, RatioToChange = 0xC3, Percent = 0xC4,
                  PositiveGuard = 0xC5;
constexpr uint8_t Results = 0x3F, FieldInteger = 0x38, FieldReal = 0x39;
constexpr uint8_t Today = 0xE0, Price = 0xE1, Nothing = 0xE2, MainLineOnly = 0xE3;
constexpr uint8_t PeriodHigh = 0xE4, PeriodLow = 0xE5, PriceChange = 0xE6;
constexpr uint8_t IssueFigure = 0xE7, MarketValue = 0xE8, LastVolume = 0xE9;
constexpr uint8_t PriceConversionOff = 0xEA, ResultsConversionOff = 0xEB;
constexpr uint8_t ConstantInteger = 0x41, ConstantReal = 0x42, Parameter = 0x48;
} // namespace FormulaToken

// The value stack: 80 words, each a value, a type or a marker, with a tag per word so that every pop
// can check what it takes.
struct FormulaStack {
    static constexpr size_t kWords = 80;
    enum Tag : uint8_t { Value, Type, OpenMark, OperatorMark };
    uint32_t words[kWords] = {};
    Tag tags[kWords] = {};
    size_t top = 0; // words in use

    bool pushCell(uint32_t value, uint32_t type);
    bool pushMarker(Tag tag, uint32_t token);
};

// The parameter table that constants with bit 3 read: entry 0 the dividend gross-up percentage of
// the list options (100, 111 or 125).
constexpr size_t kFormulaParameters = 8;
int32_t (&FormulaParameters())[kFormulaParameters];

// Runs the expression (bytes from the first token to the end of the column record) for one row and
// leaves the result in LastFormulaResult. 0 on success, 1 on an error. The list gives the field table
// and the family (the share database's without one).
int EvaluateFormulaColumn(std::span<const uint8_t> expression, uint8_t* record, uint32_t extra, const ShareList* list);

// Evaluates the innermost open operation at the top of the stack (token 0xFD) and replaces it by its
// result cell. 0 on success, 1 on an error.
int ApplyFormulaOperator(FormulaStack& stack);

} // namespace qv
