// The InfoCentre document window's sizes, placement, Next label and defer times.
#include "infocentre/InCDocLayout.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kRootTwo = 1.4142135;

int MmToPixels(double mm, int pixels, int millimetres)
{
    return millimetres > 0 ? int(std::lround(mm * pixels / millimetres)) : int(std::lround(mm * 96 / 25.4));
}

} // namespace

PaperMm PaperSize(uint32_t n, uint32_t orientation)
{
    const double exponent = n <= 3 ? (2.0 * n + 9) / 4 : (n + 1.0) / 2;
    const double shortSide = 1000 * std::pow(2.0, -exponent);
    const double longSide = shortSide * kRootTwo;
    return orientation == 1 ? PaperMm{longSide, shortSide} : PaperMm{shortSide, longSide};
}

PixelSize DocumentPageSize(uint8_t mode, uint16_t value1, uint16_t value2, const ScreenMetrics& screen)
{
    switch (mode) {
    case 2: return {value1 ? value1 : 400, value2 ? value2 : 500};
    case 3: {
        const int w = value1 ? value1 : 50, h = value2 ? value2 : 67;
        return {screen.widthPixels * w / 100, screen.heightPixels * h / 100};
    }
    default: break;
    }
    const PaperMm paper = mode == 1 ? PaperSize(value1, value2) : PaperSize(2, 0);
    return {MmToPixels(paper.width, screen.widthPixels, screen.widthMm),
            MmToPixels(paper.height, screen.heightPixels, screen.heightMm)};
}

std::optional<int> PlaceAlong(char letter, int windowLength, int screenLength, bool horizontal)
{
    const char start = horizontal ? 'L' : 'T', end = horizontal ? 'R' : 'B';
    if (letter == start || windowLength >= screenLength)
        return 0;
    if (letter == 'C')
        return (screenLength - windowLength) / 2;
    if (letter == end)
        return screenLength - windowLength;
    return std::nullopt;
}

std::string NextButtonLabel(bool autoView, const std::string& subCategory, const std::string& category)
{
    if (autoView)
        return "Next Autoview";
    std::string type = subCategory.empty() ? category : subCategory;
    if (!type.empty() && type.back() == 's')
        type.pop_back();
    return "Next " + type;
}

DeferForm DeferDefaults(int nowMinutes, uint16_t remembered)
{
    DeferForm form;
    form.advanced = remembered & 0x100;
    const uint8_t choice = uint8_t(remembered & 0xFF);
    form.choice = choice <= uint8_t(DeferChoice::Finished) ? DeferChoice(choice) : DeferChoice::Tomorrow;
    if (!form.advanced && form.choice != DeferChoice::Finished)
        form.choice = DeferChoice::Tomorrow;
    form.todayMinutes = std::min(nowMinutes + 3 * 60, 23 * 60 + 59);
    form.tomorrowMinutes = form.advanced ? 10 * 60 : 8 * 60;
    return form;
}

uint16_t DeferSettingsWord(const DeferForm& form)
{
    return uint16_t(uint16_t(form.choice) | (form.advanced ? 0x100 : 0));
}

std::optional<int64_t> DeferDueTime(const DeferForm& form, int64_t now, int64_t todayMidnight)
{
    switch (form.choice) {
    case DeferChoice::InHours: return now + int64_t(std::clamp(form.hours, 1, 24)) * 3600;
    case DeferChoice::Today: return todayMidnight + int64_t(form.todayMinutes) * 60;
    case DeferChoice::Tomorrow: return todayMidnight + 86400 + int64_t(form.tomorrowMinutes) * 60;
    case DeferChoice::OnDay: return todayMidnight + int64_t(form.dayOffset) * 86400 + int64_t(form.dayMinutes) * 60;
    case DeferChoice::Finished: return std::nullopt;
    }
    return std::nullopt;
}

uint16_t NextOfType(const std::vector<InCDocumentItem>& list, uint16_t current,
                    const std::function<bool(uint16_t)>& openElsewhere)
{
    auto at = std::find_if(list.begin(), list.end(), [current](const InCDocumentItem& d) { return d.number == current; });
    size_t start = at == list.end() ? list.size() - 1 : size_t(at - list.begin());
    for (size_t step = 1; step < list.size() + (at == list.end() ? 1 : 0); ++step) {
        const InCDocumentItem& item = list[(start + step) % list.size()];
        if (!item.done && item.number != current && !openElsewhere(item.number))
            return item.number;
    }
    return 0;
}

bool TypeHasNext(const std::vector<InCDocumentItem>& list)
{
    return std::count_if(list.begin(), list.end(), [](const InCDocumentItem& d) { return !d.done; }) > 1;
}

} // namespace qv
