// One window of a window layout: the record's fields, link tidying, default layouts, creation order
// and renumbering.
#include "shell/LayoutWindow.h"

#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <algorithm>

namespace qv {

LayoutWindow DecodeLayoutWindow(const LayoutWindowRecord& record)
{
    const uint8_t* r = record.data();
    LayoutWindow w;
    w.shareId = LoadU32(r + 0);
    w.shareSub = LoadU32(r + 4);
    w.reserved8 = LoadU32(r + 8);
    w.ownGroup = LoadI32(r + 12);
    w.linkGroup = LoadI32(r + 16);
    w.kind = LoadI32(r + 20);
    w.listTable = LoadI32(r + 24);
    w.setting = LoadI32(r + 28);
    w.graphSetting = LoadI32(r + 32);
    w.providerKind = LoadI32(r + 36);
    w.word40 = LoadI32(r + 40);
    for (size_t i = 0; i < w.listWords.size(); ++i)
        w.listWords[i] = LoadI32(r + 44 + 4 * i);
    w.portfolio = LoadI32(r + 64);
    w.displayByte = r[68];
    w.maximised = r[69];
    w.left = LoadI32(r + 72);
    w.top = LoadI32(r + 76);
    w.right = LoadI32(r + 80);
    w.bottom = LoadI32(r + 84);
    w.signedSortColumn = LoadI32(r + 88);
    w.dealingsOption = r[92];
    w.active = r[100];
    w.tradeListMode = r[101];
    w.tradeFilter = LoadU16(r + 102);
    w.cashAccount = LoadU32(r + 104);
    w.chartOption = LoadU32(r + 108);
    w.filterIndex = LoadU32(r + 112);
    w.listOptionA = LoadU32(r + 116);
    w.listOptionB = LoadU32(r + 120);
    w.newsMode = LoadU32(r + 124);
    return w;
}

void EncodeLayoutWindow(const LayoutWindow& w, LayoutWindowRecord& record)
{
    uint8_t* r = record.data();
    StoreU32(r + 0, w.shareId);
    StoreU32(r + 4, w.shareSub);
    StoreI32(r + 12, w.ownGroup);
    StoreI32(r + 16, w.linkGroup);
    StoreI32(r + 20, w.kind);
    StoreI32(r + 24, w.listTable);
    StoreI32(r + 28, w.setting);
    StoreI32(r + 32, w.graphSetting);
    StoreI32(r + 36, w.providerKind);
    StoreI32(r + 40, w.word40);
    for (size_t i = 0; i < w.listWords.size(); ++i)
        StoreI32(r + 44 + 4 * i, w.listWords[i]);
    StoreI32(r + 64, w.portfolio);
    r[68] = w.displayByte;
    r[69] = w.maximised;
    StoreI32(r + 72, w.left);
    StoreI32(r + 76, w.top);
    StoreI32(r + 80, w.right);
    StoreI32(r + 84, w.bottom);
    StoreI32(r + 88, w.signedSortColumn);
    r[92] = w.dealingsOption;
    r[100] = w.active;
    r[101] = w.tradeListMode;
    StoreU16(r + 102, w.tradeFilter);
    StoreU32(r + 104, w.cashAccount);
    StoreU32(r + 108, w.chartOption);
    StoreU32(r + 112, w.filterIndex);
    StoreU32(r + 116, w.listOptionA);
    StoreU32(r + 120, w.listOptionB);
    StoreU32(r + 124, w.newsMode);
}

namespace {

bool OwnedBySomeRecord(const std::vector<LayoutWindow>& windows, int32_t number)
{
    return std::any_of(windows.begin(), windows.end(), [&](const LayoutWindow& w) { return w.ownGroup == number; });
}

// The record that takes over an unowned link: a table kind first, then a shares-family kind, then
// the first linked one.
int PickLinkOwner(const std::vector<LayoutWindow>& windows, int32_t link)
{
    int firstShares = -1;
    int first = -1;
    for (size_t i = 0; i < windows.size(); ++i) {
        const LayoutWindow& w = windows[i];
        if (w.linkGroup != link)
            continue;
        if (IsTableViewKind(w.kind))
            return int(i);
        if (firstShares < 0 && GetViewKindFamily(w.kind) == kFamilyShares)
            firstShares = int(i);
        if (first < 0)
            first = int(i);
    }
    return firstShares >= 0 ? firstShares : first;
}

} // namespace

void NormaliseLayoutLinks(std::vector<LayoutWindow>& windows)
{
    for (const LayoutWindow& w : windows) {
        int32_t link = w.linkGroup;
        if (link <= 0 || OwnedBySomeRecord(windows, link))
            continue;
        int owner = PickLinkOwner(windows, link);
        windows[size_t(owner)].ownGroup = link;
        windows[size_t(owner)].linkGroup = -1;
    }
    for (LayoutWindow& w : windows) {
        if (w.ownGroup < 0 && w.linkGroup > 0)
            w.ownGroup = w.linkGroup;
        if (w.kind == kViewTicker)
            w.ownGroup = w.linkGroup = -1;
    }
}

namespace {

// Every default record starts with link -1, portfolio -1 and the other fields 0.
LayoutWindow DefaultRecord(int32_t kind, int32_t own, int32_t provider)
{
    LayoutWindow w;
    w.kind = kind;
    w.ownGroup = own;
    w.linkGroup = -1;
    w.providerKind = provider;
    w.word40 = 0;
    w.displayByte = 0;
    w.portfolio = -1;
    return w;
}

void Place(LayoutWindow& w, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    w.left = left;
    w.top = top;
    w.right = right;
    w.bottom = bottom;
}

void MarkLeading(LayoutWindow& w)
{
    w.word40 = -1;
    w.listWords[0] = -1;
    w.listWords[1] = 2025;
}

std::vector<LayoutWindow> MainLayout(const AreaRect& a)
{
    int32_t L = a.left, T = a.top, R = a.right, B = a.bottom;
    int32_t S = R > 900 ? R - R / 5 : R - 4 * R / 17;
    std::vector<LayoutWindow> v;
    LayoutWindow list = DefaultRecord(kViewList, 1001, 1);
    list.listTable = 4;
    list.shareId = DefaultLayoutShareId(kDefaultLayoutShares[0]);
    list.signedSortColumn = 2;
    list.active = 1;
    Place(list, L, T, S, B / 2);
    v.push_back(list);
    LayoutWindow intraday = DefaultRecord(kViewIntradayChart, 1001, 1);
    intraday.linkGroup = 1001;
    intraday.listTable = 4;
    Place(intraday, L, B / 2, R / 2, B);
    v.push_back(intraday);
    LayoutWindow daily = DefaultRecord(kViewDailyChart, 1001, 1);
    daily.linkGroup = 1001;
    daily.listTable = 4;
    Place(daily, R / 2, B / 2, R, B);
    v.push_back(daily);
    const int32_t ownNumbers[2] = {1004, 1005};
    for (int i = 0; i < 2; ++i) {
        LayoutWindow w = DefaultRecord(kViewIntradayChart, ownNumbers[i], 1);
        w.graphSetting = 11;
        w.shareId = kLayoutIndexShares[size_t(i)];
        Place(w, S, i == 0 ? T : B / 4, R, i == 0 ? B / 4 : B / 2);
        v.push_back(w);
    }
    return v;
}

std::vector<LayoutWindow> NineGraphs(const AreaRect& a)
{
    int32_t w3 = (a.right - a.left) / 3, h3 = (a.bottom - a.top) / 3;
    std::vector<LayoutWindow> v;
    for (int i = 0; i < 9; ++i) {
        int row = i / 3, column = i % 3;
        LayoutWindow w = DefaultRecord(kViewIntradayChart, 1000 + i, 1);
        w.listTable = 4;
        w.setting = 11;
        w.shareId = DefaultLayoutShareId(kDefaultLayoutShares[size_t(i) + 1]);
        w.active = i == 0;
        int32_t left = a.left + column * w3, top = a.top + row * h3;
        Place(w, left, top, column == 2 ? a.right : left + w3, row == 2 ? a.bottom : top + h3);
        v.push_back(w);
    }
    return v;
}

std::vector<LayoutWindow> OneShare(const AreaRect& a)
{
    int32_t L = a.left, T = a.top, R = a.right, B = a.bottom, h3 = (B - T) / 3;
    std::vector<LayoutWindow> v;
    LayoutWindow intraday = DefaultRecord(kViewIntradayChart, 1001, 1);
    intraday.shareId = DefaultLayoutShareId(kDefaultLayoutShares[2]);
    intraday.active = 1;
    Place(intraday, L, T, L + R / 2, T + h3);
    v.push_back(intraday);
    LayoutWindow daily = DefaultRecord(kViewDailyChart, 1001, 1);
    daily.graphSetting = 2;
    Place(daily, L + R / 2, T, R, T + h3);
    v.push_back(daily);
    LayoutWindow trades = DefaultRecord(kViewTradeList, 1001, 1);
    trades.signedSortColumn = 1;
    Place(trades, L, T + h3, L + R / 2, T + 2 * h3);
    v.push_back(trades);
    LayoutWindow dealings = DefaultRecord(kViewDealings, 1001, 1);
    dealings.signedSortColumn = 3;
    DisplayOptions options;
    options.threeWay = 2;
    dealings.dealingsOption = uint8_t(PackDisplayFlags(options) | 0x40);
    Place(dealings, L + R / 2, T + h3, R, T + 2 * h3);
    v.push_back(dealings);
    LayoutWindow news = DefaultRecord(kViewNews, 1001, 1);
    news.signedSortColumn = 2;
    Place(news, L, T + 2 * h3, R, B);
    v.push_back(news);
    for (size_t i = 1; i < v.size(); ++i)
        v[i].linkGroup = 1001;
    return v;
}

std::vector<LayoutWindow> PortfolioLayout(const AreaRect& a)
{
    int32_t h3 = (a.bottom - a.top) / 3;
    const int32_t kinds[3] = {kViewPortfolio, kViewTransactions, kViewCash};
    std::vector<LayoutWindow> v;
    for (int i = 0; i < 3; ++i) {
        LayoutWindow w = DefaultRecord(kinds[i], 1001 + i, -1);
        w.portfolio = 0;
        w.active = i == 0;
        MarkLeading(w);
        Place(w, a.left, a.top + i * h3, a.right, i == 2 ? a.bottom : a.top + (i + 1) * h3);
        v.push_back(w);
    }
    v[2].cashAccount = 1;
    return v;
}

LayoutWindow WholeArea(int32_t kind, int32_t own, const AreaRect& a)
{
    LayoutWindow w = DefaultRecord(kind, own, 1);
    w.active = 1;
    Place(w, a.left, a.top, a.right, a.bottom);
    return w;
}

} // namespace

std::vector<LayoutWindow> BuildDefaultLayout(int index, const AreaRect& area)
{
    std::vector<LayoutWindow> v;
    switch (index) {
    case 0: v = MainLayout(area); break;
    case 1: v = NineGraphs(area); break;
    case 2: v = OneShare(area); break;
    case 3: return PortfolioLayout(area);
    case 4: v = {WholeArea(kViewDataMining, 1001, area)}; break;
    case kSingleWindowLayout:
        v = {WholeArea(kViewDailyChart, 1002, area)};
        v[0].linkGroup = 2;
        break;
    default: return v;
    }
    MarkLeading(v[0]);
    return v;
}

std::string ResetLayoutName(int slot)
{
    static const char* const kNames[] = {"Main layout", "9 Graphs", "One Share", "Portfolio", "Data Mining"};
    if (slot >= 0 && slot < 5)
        return kNames[slot];
    return "Layout " + std::to_string(slot + 1);
}

LayoutWindow NormaliseForCreation(LayoutWindow w, bool realTimeOn)
{
    if (!realTimeOn && w.kind > kViewNews)
        w.kind = w.kind == kViewIntradayChart ? kViewDailyChart : w.kind == kViewTradeList ? kViewList : -1;
    if (w.kind < 0) {
        w.kind = kViewList;
        w.listTable = 0;
        w.ownGroup = 0;
    }
    if (w.setting < 0 || w.setting > 12)
        w.setting = 0;
    if (w.graphSetting < 0 || w.graphSetting > 12)
        w.graphSetting = 0;
    return w;
}

namespace {

bool FirstPassRecord(const LayoutWindow& w)
{
    return w.linkGroup < 0 && w.ownGroup >= 0;
}

} // namespace

std::vector<int> CreationOrderWithoutMaximised(const std::vector<LayoutWindow>& windows)
{
    std::vector<int> order;
    for (int i = int(windows.size()) - 1; i >= 0; --i)
        if (FirstPassRecord(windows[size_t(i)]))
            order.push_back(i);
    for (int i = int(windows.size()) - 1; i >= 0; --i)
        if (!FirstPassRecord(windows[size_t(i)]))
            order.push_back(i);
    return order;
}

CreationPlan PlanLayoutCreation(const std::vector<LayoutWindow>& windows)
{
    CreationPlan plan;
    for (size_t i = 0; i < windows.size() && plan.maximised < 0; ++i)
        if (windows[i].maximised)
            plan.maximised = int(i);
    if (plan.maximised >= 0)
        plan.order = {plan.maximised};
    else
        plan.order = CreationOrderWithoutMaximised(windows);
    return plan;
}

void RenumberShareLists(ShareList* chain)
{
    constexpr int32_t kShift = 10000;
    for (ShareList* l = chain; l; l = l->next)
        if (l->number >= 0)
            l->number += kShift;
    int32_t next = 0;
    for (ShareList* l = chain; l; l = l->next) {
        if (l->number < kShift)
            continue;
        int32_t old = l->number;
        for (ShareList* m = l; m; m = m->next)
            if (m->number == old)
                m->number = next;
        ++next;
    }
}

GroupNumbers SavedGroupNumbers(int32_t ownNumber, int32_t ownFamily, bool linked, int32_t linkNumber,
                               int32_t linkFamily, bool isFirst)
{
    if (!linked)
        return {ownNumber, -1};
    if (linkFamily != ownFamily)
        return {ownNumber, linkNumber};
    if (isFirst)
        return {ownNumber, -1};
    return {-1, ownNumber};
}

} // namespace qv
