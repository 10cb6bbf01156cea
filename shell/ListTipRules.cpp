// The list cell tip's rules.
#include "shell/ListTipRules.h"

#include "core/StringPrintf.h"
#include "shell/ColumnFormatter.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv {
namespace {

constexpr std::array<std::pair<const char*, int>, 11> kRecommendations = {{
    {"Strong Buy", 875},
    {"Buy", 858},
    {"Keep Buying", 863},
    {"Attractive", 867},
    {"Good Value", 869},
    {"Hold", 871},
    {"Fairly Priced", 873},
    {"High Enough", 877},
    {"Avoid", 879},
    {"Sell", 860},
    {"Bid Situation", 865},
}};

constexpr const char* kVgBody = "VG View on %s at %s\nIssue %s, page %s\n\nDouble click entry to view full text of "
                                "article on web (subscription)";
constexpr const char* kVgNotice = "\n\nVG views are copyright %d the Vantley Gazette.";
constexpr const char* kDisclaimer =
    "The VG views come directly from the Vantley Gazette and do not reflect the opinions of Quorvantis or "
    "Pelmor Information.\n\nThey are general information only and must not be relied on for investment "
    "decisions; neither company accepts liability for any loss arising from their use.";

void AddExtraInformation(TipContent& tip, TipListKind kind, uint32_t field, const RecordCursor& share)
{
    bool plain = kind == TipListKind::PlainList;
    if (plain && field == ColumnField::Epic) {
        tip.body = FormatShareField(share, ColumnField::Name);
        return;
    }
    if (plain && field == ColumnField::PreviousNames) {
        std::string names = FormatShareField(share, ColumnField::PreviousNames);
        size_t bar = names.find('|');
        if (bar == std::string::npos)
            return;
        tip.subtitle = "Other previous names:";
        tip.body = names.substr(bar + 1);
        std::replace(tip.body.begin(), tip.body.end(), '|', '\n');
        return;
    }
    bool inPortfolio = kind == TipListKind::Portfolio || kind == TipListKind::Transactions;
    if ((plain && field == ColumnField::Name) || (inPortfolio && field == ColumnField::PortfolioName)) {
        std::string epic = FormatShareField(share, ColumnField::Epic);
        tip.body = "EPIC: " + (epic.empty() ? std::string("none") : epic);
    }
}

void AddVgView(TipContent& tip, const ListTipView& view, int row, const RecordCursor& share)
{
    PackedDate date = 0;
    std::string when = view.vgItem(row, 1, &date);
    if (date == 0)
        return;
    tip.subtitle = FormatShareField(share, ColumnField::Name);
    std::string price = view.vgItem(row, 2, nullptr);
    std::string issue = view.vgItem(row, 3, nullptr);
    std::string page = view.vgItem(row, 4, nullptr);
    tip.bitmap = RecommendationBitmap(view.vgItem(row, 0, nullptr));
    tip.body = StringPrintf(kVgBody, when.c_str(), price.c_str(), issue.c_str(), page.c_str()) +
               StringPrintf(kVgNotice, FullYear(date));
}

} // namespace

int RecommendationBitmap(const std::string& word)
{
    for (const auto& [text, bitmap] : kRecommendations)
        if (word == text)
            return bitmap;
    return 0;
}

TipContent ComposeListTip(const ListTipView& view, const TipState& state, int row, const TipColumn& column,
                          int cellWidth)
{
    TipContent tip;
    if (state.busy || !view.hasEntries())
        return tip;
    if (row == kTipHeaderRow) {
        if (column.kind == kVgViewsColumnKind && state.tipOption) {
            tip.subtitle = "Disclaimer";
            tip.body = kDisclaimer;
        }
        return tip;
    }
    RecordCursor share = view.rowShare(row);
    std::string text = FormatShareField(share, column.field);
    int margin = state.halveMargin ? view.cellMargin() / 2 : view.cellMargin();
    if (view.textWidth(text) + 2 * margin > cellWidth)
        tip.title = text;
    if (column.kind == kVgViewsColumnKind) {
        AddVgView(tip, view, row, share);
        return tip;
    }
    if (state.tipOption)
        AddExtraInformation(tip, view.listKind(), column.field, share);
    return tip;
}

TipRect PlaceListTip(const TipMeasures& m, bool hasTitle, bool hasBody, int cellLeft, int cellTop, int cursorX,
                     int cursorY, int rightLimit)
{
    TipRect rect;
    rect.width = std::max({m.titleWidth, m.subtitleWidth, m.bodyWidth}) + 2 * kTipMargin;
    int verticalMargins = hasTitle && hasBody ? 4 : 2;
    rect.height = m.titleHeight + m.subtitleHeight + m.bodyHeight + verticalMargins * kTipMargin;
    rect.left = hasTitle ? cellLeft : cursorX;
    rect.top = hasTitle ? cellTop : cursorY + kTipBelowCursor;
    int overflow = rect.left + rect.width - rightLimit;
    if (overflow > 0)
        rect.left -= overflow;
    return rect;
}

} // namespace qv
