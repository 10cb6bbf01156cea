// The ticker's drawing.
#include "realtime/ui/TickerComposer.h"

#include "core/ConfigDefaults.h"
#include "core/FormatValue.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "core/SystemServices.h"
#include "core/ui/LogFontQt.h"
#include "platform/ByteOrder.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QPainter>

namespace qv {
namespace {

constexpr int kDefaultFontHeight = 20;
constexpr int kScreenDpi = 96;
constexpr uint16_t kTime = 0x100, kEpic = 0x02, kName = 0x01, kPrice = 0x04, kVolume = 0x80, kOpenChange = 0x08,
                   kOpenPercent = 0x20, kCloseChange = 0x10, kClosePercent = 0x40;

QColor FromColourRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

std::string PriceText(float value, uint8_t unit)
{
    ValueTextRequest req;
    req.value = value;
    req.zeroMode = 1;
    FormatPriceText(req, GetCurrencyUnitSymbols(unit), 0, false, false);
    return req.out;
}

// A change since the open or the close: always in the share's minor unit (pence) with its sign, so that
// rises and falls, small and large, read alike ("+13p", "-2.31p").
std::string ChangeText(float change, uint8_t unit)
{
    ValueTextRequest req;
    req.value = change;
    req.zeroMode = 1;
    req.autoDecimals = 1;
    req.style = kStylePlusSign;
    FormatValueText(req);
    const char minor = GetCurrencyUnitSymbols(unit).minor;
    return minor && !req.out.empty() ? req.out + minor : req.out;
}

std::string ValueText(float value, uint8_t style)
{
    ValueTextRequest req;
    req.value = value;
    req.style = style;
    req.zeroMode = 1;
    FormatValueText(req);
    return req.suffix ? req.out + req.suffix : req.out;
}

QColor Direction(float price, float against, QColor up, QColor same, QColor down)
{
    return price > against ? up : price < against ? down : same;
}

} // namespace

TickerComposer::TickerComposer(const TickerSetting& settings, const LogFont& font)
    : settings_(settings), design_(ReadTickerDesign(settings))
{
    LogFont described = font;
    if (described.height == 0)
        described.height = -kDefaultFontHeight;
    font_ = FontFromLogFont(described, kScreenDpi);
    if (font_.family().isEmpty())
        TraceMessage("Failed to create ticker font (1)");
    timeFont_ = font_;
    timeFont_.setPixelSize(std::max(QFontInfo(font_).pixelSize() - 2, 1));
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    height_ = metrics.height();
    timeDrop_ = metrics.ascent() - QFontMetrics(timeFont_).ascent();
    cell_ = TickerCharacterCell(metrics.horizontalAdvance(QLatin1Char('2')), metrics.height(), design_.whiteSpace);
}

QColor TickerComposer::Colour(size_t offset) const { return FromColourRef(LoadU32(settings_.data() + offset)); }

std::vector<TickerField> TickerComposer::Fields(const TickerItem& item, bool first) const
{
    using namespace TickerLayout;
    const RecentTrade& t = item.trade;
    const uint8_t* record = FindShareRecord(t.share);
    RecordCursor cursor{const_cast<uint8_t*>(record), 0};
    const uint8_t unit = record ? uint8_t(GetShareFieldType(&cursor, 0)) : uint8_t(7);
    const float scale = unit == 3 || unit == 6 ? 100.0f : 1.0f;
    const QColor text = Colour(CategoryText + 4 * item.category);
    const QColor up = Colour(UpColour), same = Colour(SameColour), down = Colour(DownColour);
    const bool vertical = design_.vertical();
    const bool index = item.category == 0;
    const uint8_t percentStyle = index ? 0x02 : 0x42;
    const int w = cell_.width;

    std::vector<TickerField> all;
    auto add = [&](uint16_t bit, std::string value, QColor colour, int reserve, bool time = false) {
        if (design_.fields & bit)
            all.push_back(TickerField{FromCp1252(value), colour, vertical ? reserve : 0, time, bit == kName ? 3 : 1});
    };
    add(kTime, StringPrintf("%2.2d:%2.2d:%2.2d", int(t.time / 3600), int(t.time / 60 % 60), int(t.time % 60)), text,
        QFontMetrics(timeFont_).horizontalAdvance(QStringLiteral("22:22:22")), true);
    std::string epic;
    if (record)
        GetShareFileCode(cursor, epic, false);
    add(kEpic, epic.substr(0, 4), text, 3 * w);
    add(kName, record ? std::string(GetRecordName(record)) : std::string(), text, 0);
    add(kPrice, PriceText(t.price * scale, unit), text, 4 * w);
    add(kVolume, index ? std::string() : ValueText(t.volume, 0x50), text, 3 * w);
    const QColor openColour = Direction(t.price, t.open, up, same, down);
    add(kOpenChange, ChangeText((t.price - t.open) * scale, unit), openColour, 0);
    if (t.open != 0)
        add(kOpenPercent, ValueText((t.price - t.open) * 100 / t.open, percentStyle) + "%", openColour, 0);
    const QColor closeColour = Direction(t.price, t.last, up, same, down);
    add(kCloseChange, "(" + ChangeText((t.price - t.last) * scale, unit) + ")", closeColour, 0);
    if (t.last != 0)
        add(kClosePercent, "(" + ValueText((t.price - t.last) * 100 / t.last, percentStyle) + "%)", closeColour, 0);

    // The first line takes fields until its budget is spent (Name costs 3).
    int budget = TickerFieldsOnFirstLine(design_.layout, design_.fields);
    size_t split = 0;
    for (; split < all.size() && budget > 0; ++split)
        budget -= all[split].cost;
    if (first)
        all.resize(split);
    else
        all.erase(all.begin(), all.begin() + long(split));
    return all;
}

int TickerComposer::LineWidth(const std::vector<TickerField>& fields) const
{
    const QFontMetrics metrics(font_), small(timeFont_);
    int width = 0;
    for (const TickerField& f : fields)
        width += std::max(f.reserve, (f.time ? small : metrics).horizontalAdvance(f.text)) + cell_.width;
    return width;
}

int TickerComposer::Measure(const TickerItem& item) const
{
    const int first = LineWidth(Fields(item, true));
    if (design_.layout == 0)
        return first;
    return std::max(first, LineWidth(Fields(item, false)));
}

void TickerComposer::DrawLine(QPainter& painter, const std::vector<TickerField>& fields, int x, int baseline) const
{
    const QFontMetrics metrics(font_), small(timeFont_);
    for (const TickerField& f : fields) {
        painter.setPen(f.colour);
        painter.setFont(f.time ? timeFont_ : font_);
        painter.drawText(x, baseline, f.text);
        x += std::max(f.reserve, (f.time ? small : metrics).horizontalAdvance(f.text)) + cell_.width;
    }
    painter.setFont(font_);
}

void TickerComposer::DrawItem(QPainter& painter, const TickerItem& item, const TickerTape& tape, int rowHeight) const
{
    using namespace TickerLayout;
    const QColor background = tape.excess() ? Colour(ExcessBackground) : Colour(CategoryBackground + 4 * item.category);
    const int layout = design_.layout;
    const int middle = (rowHeight + ascent_ - (height_ - ascent_)) / 2;
    if (design_.vertical()) {
        painter.fillRect(QRect(0, item.position, painter.device()->width(), item.length), background);
        const int baseline = item.position + (rowHeight + ascent_ - (height_ - ascent_)) / 2;
        DrawLine(painter, Fields(item, true), cell_.width / 2, baseline);
        if (layout == 4)
            DrawLine(painter, Fields(item, false), cell_.width / 2, baseline + rowHeight);
        return;
    }
    const int top = layout == 2 && item.upper == 0 ? 2 * rowHeight + 5 : 0;
    const int rows = layout == 0 ? 1 : 2;
    painter.fillRect(QRect(item.position, top, item.length, rows * rowHeight), background);
    DrawLine(painter, Fields(item, true), item.position, top + middle);
    if (layout != 0)
        DrawLine(painter, Fields(item, false), item.position, top + middle + rowHeight);
}

void TickerComposer::Compose(QImage& image, const TickerTape& tape) const
{
    using namespace TickerLayout;
    if (image.isNull())
        return;
    QPainter painter(&image);
    painter.setFont(font_);
    painter.fillRect(image.rect(), Colour(NoDataBackground));
    const int row = cell_.height;
    if (tape.state() == kTapeDisconnected || tape.awaiting()) {
        painter.setPen(Colour(CategoryText));
        const int top = design_.layout == 0 ? row - height_ : row / 2;
        painter.drawText(row / 2, top + ascent_,
                         tape.state() == kTapeDisconnected ? QStringLiteral("Disconnected")
                                                           : QStringLiteral("Connected, awaiting latest data"));
        return;
    }
    for (const TickerItem& item : tape.items()) {
        if (!item.placed())
            continue;
        if (item.position + item.length <= tape.visibleStart() || item.position >= tape.visibleEnd())
            continue;
        DrawItem(painter, item, tape, row);
    }
}

} // namespace qv
