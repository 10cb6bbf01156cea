// The indicator table (type codes 0-61 with their long names, names and abbreviations) and the display
// name of an indicator line built from its settings record.
#pragma once

#include "core/RecordCursor.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <span>
#include <string_view>

namespace qv {

struct IndicatorRecord;

struct IndicatorTexts {
    const char* longName;     // the add-indicator dialog's list only
    const char* name;         // everywhere else
    const char* abbreviation;
};

constexpr int kIndicatorTypes = 62;
extern const std::array<IndicatorTexts, kIndicatorTypes> IndicatorTable;

// Type codes the calculators and the naming pick out.
namespace IndicatorType {
constexpr uint8_t RSI = 2;
constexpr uint8_t Ticks = 3;
constexpr uint8_t Momentum = 5;
constexpr uint8_t Correlation = 6;
constexpr uint8_t MACD = 8;
constexpr uint8_t PriceOscillator = 11;
constexpr uint8_t Stochastic = 12;
constexpr uint8_t PointAndFigure = 15;
constexpr uint8_t Beta = 16;
constexpr uint8_t FirstBreadth = 18;
constexpr uint8_t LastBreadth = 30;
constexpr uint8_t EquiVolume = 41;
constexpr uint8_t OnBalanceVolume = 48;
constexpr uint8_t CCI = 52;
constexpr uint8_t WilliamsR = 53;
constexpr uint8_t ADM = 54;
constexpr uint8_t Kagi = 55;
constexpr uint8_t PivotPoints = 56;
constexpr uint8_t ATR = 57;
constexpr uint8_t Volume = 58;
constexpr uint8_t RelativeTo = 59;
} // namespace IndicatorType

// The longest display name: 256 characters with the terminator.
constexpr size_t kMaxIndicatorName = 255;

// The display name of an indicator line, at most kMaxIndicatorName characters. `breadthSource` names
// the market or portfolio of the breadth types 18-30 and is used by no other type.
// The menu command that adds each indicator window type the chart draws.
struct IndicatorAddCommand {
    uint32_t command;
    uint8_t type;
};
std::span<const IndicatorAddCommand> IndicatorAddCommands();

std::string GetIndicatorName(const IndicatorRecord& record, std::string_view breadthSource = {});

// The name of another share (correlation, beta, relative-to) and its description: the text of field
// 7, after the text of field 17 and ": " unless the cursor's sub-record is of kind 1. Empty texts for
// a cursor that finds no record.
void GetOtherShareName(const RecordCursor& cursor, std::string& name, std::string& description);

// The cell text of a share's field, as the list columns show it. Until the list columns serve it,
// the field's stored company-data text; tests and the columns may install their own.
using ShareFieldText = std::function<std::string(const RecordCursor& cursor, uint32_t fieldCode)>;
void SetShareFieldText(ShareFieldText source);

} // namespace qv
