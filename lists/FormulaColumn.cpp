// The formula machine: token reading, operand pushes and the operators.
#include "lists/FormulaColumn.h"

#include "core/ColumnDef.h"
#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/ShareStatistics.h"
#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/FieldValue.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"

#include <cmath>
#include <cstring>

namespace qv {
namespace {

using namespace FormulaToken;

constexpr uint32_t kNoValueBits = 0x7F7FFFFF; // FLT_MAX
constexpr float kNoValueReal = 3.4028235e38f;
constexpr int kDaysInYear = 365;
constexpr int kCurrencyDollar = 3, kCurrencyEuro = 6;

uint32_t Bits(float f)
{
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

float Real(uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// A cell as the operators see it.
struct Cell {
    uint32_t bits = 0;
    uint32_t type = 0;
    float real() const { return type == kFormulaInteger ? float(int32_t(bits)) : Real(bits); }
};

bool PopCell(FormulaStack& s, Cell& c)
{
    if (s.top < 2 || s.tags[s.top - 1] != FormulaStack::Type || s.tags[s.top - 2] != FormulaStack::Value)
        return false;
    c.type = s.words[s.top - 1];
    c.bits = s.words[s.top - 2];
    s.top -= 2;
    return c.type >= kFormulaInteger && c.type <= kFormulaBoolean;
}

bool PopMarker(FormulaStack& s, FormulaStack::Tag tag, uint32_t& token)
{
    if (s.top < 1 || s.tags[s.top - 1] != tag)
        return false;
    token = s.words[--s.top];
    return true;
}

bool PushReal(FormulaStack& s, float v) { return s.pushCell(Bits(v), kFormulaReal); }
bool PushInteger(FormulaStack& s, int32_t v) { return s.pushCell(uint32_t(v), kFormulaInteger); }
bool PushBoolean(FormulaStack& s, bool v) { return s.pushCell(v ? 1 : 0, kFormulaBoolean); }

bool ApplyUnary(FormulaStack& s, uint32_t op, const Cell& b)
{
    if (op == Complement)
        return s.pushCell(~b.bits, kFormulaBoolean);
    if (b.type == kFormulaBoolean)
        return false;
    const bool realOnly = op == RatioToChange || op == Percent;
    if (realOnly && b.type != kFormulaReal)
        return false;
    const float v = b.real();
    if (v == kNoValueReal && op != PositiveGuard)
        return PushReal(s, kNoValueReal);
    switch (op) {
    case Ln: return v > 0 && PushReal(s, std::log(v));
    case Exp: return PushReal(s, std::exp(v));
    case RatioToChange: return PushReal(s, (v - 1) * 100);
    case Percent: return PushReal(s, v * 100);
    case PositiveGuard: return v > 0 && PushReal(s, v);
    default: return false;
    }
}

bool ApplyIntegers(FormulaStack& s, uint32_t op, int32_t a, int32_t b)
{
    if (uint32_t(a) == kNoValueBits || uint32_t(b) == kNoValueBits)
        return PushInteger(s, 0);
    switch (op) {
    case Add: return PushInteger(s, int32_t(uint32_t(a) + uint32_t(b)));
    case Subtract: return PushInteger(s, int32_t(uint32_t(a) - uint32_t(b)));
    case Multiply: return PushInteger(s, int32_t(uint32_t(a) * uint32_t(b)));
    case Divide: return b != 0 && PushReal(s, float(a) / float(b));
    case Greater: return PushBoolean(s, a > b);
    case GreaterEqual: return PushBoolean(s, a >= b);
    case Less: return PushBoolean(s, a < b);
    case LessEqual: return PushBoolean(s, a <= b);
    case DaysApart:
        return PushInteger(s, a == 0 || b == 0 ? 0 : qv::DaysBetween(PackedDate(b), PackedDate(a)));
    default: return false;
    }
}

bool ApplyReals(FormulaStack& s, uint32_t op, float a, float b)
{
    const bool missing = a == kNoValueReal || b == kNoValueReal;
    switch (op) {
    case Add: return PushReal(s, missing ? kNoValueReal : a + b);
    case Subtract: return !missing && PushReal(s, a - b);
    case Multiply: return PushReal(s, missing ? kNoValueReal : a * b);
    case Divide: return b != 0 && b != kNoValueReal && PushReal(s, a == kNoValueReal ? kNoValueReal : a / b);
    case Greater: return PushBoolean(s, a > b);
    case GreaterEqual: return PushBoolean(s, a >= b);
    case Less: return PushBoolean(s, a < b);
    case LessEqual: return PushBoolean(s, a <= b);
    default: return false;
    }
}

bool ApplyBooleans(FormulaStack& s, uint32_t op, uint32_t a, uint32_t b)
{
    switch (op) {
    case And: return PushBoolean(s, a != 0 && b != 0);
    case Or: return PushBoolean(s, a != 0 || b != 0);
    default: return false;
    }
}

// The blend of a year's value into the next by the days since the last year end: b the latest
// year, a the next, c the year after; past a year, a blends into c.
bool ApplyBlend(FormulaStack& s, uint32_t op, const Cell& b)
{
    Cell a, c, d;
    uint32_t open = 0;
    if (!PopCell(s, a) || !PopCell(s, c) || !PopCell(s, d) || !PopMarker(s, FormulaStack::OpenMark, open))
        return false;
    if (d.type != kFormulaInteger || a.type != kFormulaReal || b.type != kFormulaReal || c.type != kFormulaReal)
        return false;
    const int32_t days = int32_t(d.bits);
    const float va = a.real(), vb = b.real(), vc = c.real();
    if (va == kNoValueReal || vb == kNoValueReal)
        return PushReal(s, kNoValueReal);
    if (op == BlendPositive && (va <= 0 || vb <= 0))
        return PushReal(s, kNoValueReal);
    if (days < kDaysInYear + 1)
        return PushReal(s, (float(kDaysInYear - days) * vb + float(days) * va) / kDaysInYear);
    if (vc == kNoValueReal || (op == BlendPositive && vc <= 0))
        return PushReal(s, kNoValueReal);
    const float e = float(days - kDaysInYear);
    return PushReal(s, ((kDaysInYear - e) * va + e * vc) / kDaysInYear);
}

// The state of one evaluation.
struct Machine {
    uint8_t* record = nullptr;
    uint32_t extra = 0;
    const ShareList* list = nullptr;
    int priceUnit = 0;
    bool convertPrices = true;
    bool convertResults = true;
    bool databaseRow = true; // the record is a database record (shares and ticker rows)
    FormulaStack stack;

    float convertPrice(float v) const
    {
        if (!convertPrices || v == kNoValueReal)
            return v;
        const ExchangeRates& rates = GetExchangeRates();
        double rate = priceUnit == kCurrencyEuro ? rates.euro : priceUnit == kCurrencyDollar ? rates.usDollar : 1.0;
        return rate > 0 ? float(v / rate) : v;
    }

    bool pushSubRecordFigure(uint32_t offset, bool convert)
    {
        if (!databaseRow)
            return false;
        float v = 0;
        if (!ReadF32(RowSubRecord(record, extra), offset, v))
            return false;
        return PushReal(stack, convert ? convertPrice(v) : v);
    }

    bool pushResults(uint8_t code)
    {
        if (!databaseRow)
            return false;
        int nibble = code >> 4;
        int year = nibble < 8 ? nibble : 7 - nibble;
        int item = code & 15;
        float v = convertResults ? GetResultsFigureConverted(year, item, record, extra)
                                 : GetResultsFigure(year, item, record, extra);
        if (item == kResultsDate)
            return PushInteger(stack, v == kNoValueReal ? int32_t(kNoValueBits) : int32_t(v));
        return PushReal(stack, v);
    }

    bool pushFieldColumn(uint8_t code, uint32_t type)
    {
        uint8_t column[kColumnDefBytes] = {};
        column[ColumnDefLayout::Length] = kColumnDefBytes;
        column[ColumnDefLayout::Kind] = kColumnField;
        column[ColumnDefLayout::FieldCode] = code;
        char text[kCellTextBytes];
        FormatColumnValue(record, extra, column, text, sizeof text, 0, list, 0);
        float v = LastCellValue().value;
        return type == kFormulaInteger ? PushInteger(stack, int32_t(v)) : PushReal(stack, v);
    }

    bool pushField(int code)
    {
        if (!record)
            return false;
        if (ListFamily(list) == kFamilyTransactions && (code == 26 || code == 27)) {
            float v = TransactionSharePrice(record, code == 27);
            return PushReal(stack, v);
        }
        auto entry = FieldTableEntryOf(ListFieldTable(list), code);
        if (!entry)
            return false;
        std::span<const uint8_t> bytes = FieldBytes(*entry, record, extra, code);
        uint32_t u = 0;
        float f = 0;
        switch (entry->type) {
        case 0: return ReadU8(bytes, 0, u) && PushInteger(stack, int32_t(u));
        case 1:
            if (!ReadU16(bytes, 0, u))
                return false;
            if (entry->divide && entry->scale != 0)
                return PushReal(stack, float(u) / float(entry->scale));
            return PushInteger(stack, int32_t(entry->multiply ? u * entry->scale : u));
        case 2:
        case 6: return ReadU32(bytes, 0, u) && PushInteger(stack, int32_t(u));
        case 34:
        case 35: return ReadF32(bytes, 0, f) && PushReal(stack, f);
        case 11: return ReadU16(bytes, 0, u) && PushBoolean(stack, (u & entry->scale) != 0);
        default: return false;
        }
    }

    // Runs the tokens; false on any error.
    bool run(std::span<const uint8_t> e)
    {
        size_t i = 0;
        while (i < e.size()) {
            const uint8_t t = e[i++];
            if (t == End) {
                Cell result;
                if (!PopCell(stack, result) || stack.top != 0)
                    return false;
                LastFormulaResult() = {result.bits, result.type};
                return true;
            }
            if (!step(t, e, i))
                return false;
        }
        return false; // no end token before the record's end
    }

    bool step(uint8_t t, std::span<const uint8_t> e, size_t& i)
    {
        if (t == Open)
            return stack.pushMarker(FormulaStack::OpenMark, t);
        if (t == Close)
            return ApplyFormulaOperator(stack) == 0;
        if ((t >= 0x80 && t <= 0xDF) || (t >= 0xF0 && t <= 0xFC))
            return stack.pushMarker(FormulaStack::OperatorMark, t);
        if (t >= 0x40 && t <= 0x7F)
            return pushConstant(t, e, i);
        if (t == Results || t == FieldInteger || t == FieldReal) {
            if (i >= e.size())
                return false;
            uint8_t operand = e[i++];
            if (t == Results)
                return pushResults(operand);
            return pushFieldColumn(operand, t == FieldInteger ? kFormulaInteger : kFormulaReal);
        }
        switch (t) {
        case Today: return PushInteger(stack, TodayPackedDate());
        case Price: return pushSubRecordFigure(kStatLastClose, true);
        case Nothing: return true;
        case MainLineOnly: return extra == 0;
        case PeriodHigh: return pushSubRecordFigure(kStatPeriodHigh, true);
        case PeriodLow: return pushSubRecordFigure(kStatPeriodLow, true);
        case PriceChange: return pushSubRecordFigure(kStatChange, true);
        case IssueFigure: return pushSubRecordFigure(SubRecordLayout::IssueFigure, false);
        case MarketValue: return pushSubRecordFigure(kStatMarketValue, false);
        case LastVolume: return pushSubRecordFigure(kStatLastVolume, false);
        case PriceConversionOff: convertPrices = false; return true;
        case ResultsConversionOff: convertResults = false; return true;
        default: return t >= 0x01 && t < Results && pushField(t);
        }
    }

    bool pushConstant(uint8_t t, std::span<const uint8_t> e, size_t& i)
    {
        if (e.size() - i < 4)
            return false;
        uint32_t value = LoadU32(e.data() + i);
        i += 4;
        uint32_t type = t & 3;
        if (type == 0)
            return false;
        if (t & 0x08) {
            if (value >= kFormulaParameters)
                return false;
            int32_t entry = FormulaParameters()[value];
            value = type == kFormulaReal ? Bits(float(entry)) : uint32_t(entry);
        }
        return stack.pushCell(type == kFormulaBoolean ? (value != 0 ? 1 : 0) : value, type);
    }
};

} // namespace

float FormulaResult::real() const { return type == kFormulaInteger ? float(int32_t(bits)) : Real(bits); }

FormulaResult& LastFormulaResult()
{
    static FormulaResult result;
    return result;
}

int32_t (&FormulaParameters())[kFormulaParameters]
{
    static int32_t parameters[kFormulaParameters] = {100};
    return parameters;
}

bool FormulaStack::pushCell(uint32_t value, uint32_t type)
{
    if (kWords - top < 2)
        return false;
    words[top] = value;
    tags[top++] = Value;
    words[top] = type;
    tags[top++] = Type;
    return true;
}

bool FormulaStack::pushMarker(Tag tag, uint32_t token)
{
    if (top >= kWords)
        return false;
    words[top] = token;
    tags[top++] = tag;
    return true;
}

int ApplyFormulaOperator(FormulaStack& s)
{
    Cell b;
    uint32_t op = 0;
    if (!PopCell(s, b) || !PopMarker(s, FormulaStack::OperatorMark, op))
        return 1;
    if ((op & 0xC0) == 0xC0) {
        uint32_t open = 0;
        return PopMarker(s, FormulaStack::OpenMark, open) && ApplyUnary(s, op, b) ? 0 : 1;
    }
    if (op == Blend || op == BlendPositive)
        return ApplyBlend(s, op, b) ? 0 : 1;
    Cell a;
    uint32_t open = 0;
    if (!PopCell(s, a) || !PopMarker(s, FormulaStack::OpenMark, open))
        return 1;
    bool ok;
    if (a.type == kFormulaBoolean || b.type == kFormulaBoolean)
        ok = a.type == b.type && ApplyBooleans(s, op, a.bits, b.bits);
    else if (a.type == kFormulaInteger && b.type == kFormulaInteger)
        ok = ApplyIntegers(s, op, int32_t(a.bits), int32_t(b.bits));
    else
        ok = op != DaysApart && ApplyReals(s, op, a.real(), b.real());
    return ok ? 0 : 1;
}

int EvaluateFormulaColumn(std::span<const uint8_t> expression, uint8_t* record, uint32_t extra, const ShareList* list)
{
    Machine m;
    m.record = record;
    m.extra = extra;
    m.list = list;
    RecordCursor cursor{record, extra};
    const int family = ListFamily(list);
    m.databaseRow = record && (family == kFamilyShares || family == kFamilyTicker);
    m.priceUnit = m.databaseRow ? int(GetShareFieldType(&cursor, 0)) : 0;
    return m.run(expression) ? 0 : 1;
}

} // namespace qv
