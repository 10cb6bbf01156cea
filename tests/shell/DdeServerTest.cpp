// The DDE server's model over a small database: topics, values, link counts, detaching and the
// pushes after refreshes and intraday changes.
#include "shell/DdeServer.h"

#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/DdeFixture.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class FakeFeed : public DdeIntradayFeed {
public:
    int connectionState() const override { return state; }
    std::optional<uint32_t> changeMarks(uint32_t key) override
    {
        auto it = marks.find(key);
        return it == marks.end() ? std::nullopt : std::optional(it->second);
    }
    void clearChangeMarks(uint32_t key) override { marks[key] &= ~3u; }
    int decodeColumnFlags(uint8_t field, uint32_t) override { return field == changedField ? 1 : 0; }
    DdeValue columnValue(uint32_t, uint8_t, uint32_t) override
    {
        DdeValue v;
        v.type = kDdeNumber;
        v.number = 258.5;
        return v;
    }
    void setWatchList(const std::vector<uint32_t>& keys) override
    {
        watched = keys;
        ++rebuilds;
    }

    int state = kFeedConnected;
    std::map<uint32_t, uint32_t> marks;
    uint8_t changedField = 75;
    std::vector<uint32_t> watched;
    int rebuilds = 0;
};

class DdeServerTest : public test::DdeFixture {
protected:
    DdeServerTest()
        : server(Hooks(), [this](std::string_view topic, std::string_view item) {
              posts.emplace_back(std::string(topic), std::string(item));
          })
    {
        server.hooks().feed = &feed;
    }

    std::string Text(std::string_view topic, std::string_view item)
    {
        std::optional<std::string> data = server.RenderDdeItem(topic, item, 0);
        return data ? data->substr(0, data->find('\0')) : "<refused>";
    }

    FakeFeed feed;
    std::vector<std::pair<std::string, std::string>> posts;
    CDDEServer server;
};

TEST_F(DdeServerTest, TopicsNameTheCurrentShare)
{
    // The share whose prices stopped years ago is passed by for the current one of the same code.
    for (const char* topic : {"ALM", "alm", "lse_alm", "LSE_ALM"}) {
        std::optional<RecordCursor> share = server.FindDdeTopicShare(topic);
        ASSERT_TRUE(share) << topic;
        EXPECT_EQ(RecordId(share->record), 0x4002) << topic;
    }
    EXPECT_EQ(RecordId(server.FindDdeTopicShare("nyse_bet")->record), 0x4003);
    // Classes outside the exchange table are London shares.
    EXPECT_EQ(RecordId(server.FindDdeTopicShare("ODD")->record), 0x4004);
    EXPECT_EQ(RecordId(server.FindDdeTopicShare("DOL")->record), 0x4005);
    for (const char* topic : {"BET", "LSE_BET", "NYSE_ALM", "XYZ", "", "System"})
        EXPECT_FALSE(server.FindDdeTopicShare(topic)) << topic;

    // 36 days without a price is too old as well.
    Share(0x4002).lastDate = PackDate(3, 11, 2026);
    Reload();
    EXPECT_FALSE(server.FindDdeTopicShare("ALM"));
}

TEST_F(DdeServerTest, ItemsAnswerTheShareValues)
{
    EXPECT_EQ(Text("ALM", "price"), "257.75");
    EXPECT_EQ(Text("ALM", "PRICE"), "257.75");
    EXPECT_EQ(Text("ALM", "close"), "257.75");
    EXPECT_EQ(Text("ALM", "open"), "251.5");
    EXPECT_EQ(Text("ALM", "high"), "262.25");
    EXPECT_EQ(Text("ALM", "low"), "249");
    EXPECT_EQ(Text("ALM", "volume"), "125000");
    EXPECT_EQ(Text("ALM", "name"), "Alpha Mining");
    EXPECT_EQ(Text("alm", "epic"), "LSE:ALM");
    EXPECT_EQ(Text("NYSE_BET", "epic"), "NYSE:BET");
    EXPECT_EQ(Text("ALM", "currency"), "p");
    EXPECT_EQ(Text("DOL", "currency"), "c");

    server.hooks().typePrefix = true;
    EXPECT_EQ(Text("ALM", "name"), "O - Alpha Mining");
    EXPECT_EQ(Text("DOL", "name"), "I - Dollar {Trust}\\");

    std::optional<DdeValue> close = server.GetDdeItemValue("ALM", "close");
    ASSERT_TRUE(close);
    EXPECT_EQ(close->type, kDdeFloat);
    EXPECT_EQ(close->number, server.GetDdeItemValue("ALM", "price")->number);
}

TEST_F(DdeServerTest, FormatsAndRefusals)
{
    std::string number = *server.RenderDdeItem("ALM", "price", 1);
    ASSERT_EQ(number.size(), 20u);
    EXPECT_EQ(LoadF64(reinterpret_cast<const uint8_t*>(number.data()) + 12), 257.75);
    EXPECT_EQ(*server.RenderDdeItem("ALM", "name", 1), XlTableTextBlock("Alpha Mining"));
    EXPECT_EQ(*server.RenderDdeItem("DOL", "name", 2), "{\\rtf1\\ansi{Dollar \\{Trust\\}\\\\}}");

    EXPECT_FALSE(server.RenderDdeItem("ALM", "price", -1));
    EXPECT_FALSE(server.RenderDdeItem("System", "price", 0));
    EXPECT_FALSE(server.RenderDdeItem("XYZ", "price", 0));
    EXPECT_FALSE(server.RenderDdeItem("ALM", "price_high", 0));
    EXPECT_FALSE(server.RenderDdeItem("ALM", "mid", 0));
    realTime = true;
    EXPECT_EQ(Text("ALM", "mid"), "258.5");
    EXPECT_EQ(Text("ALM", "mid_high"), "258.5");
}

TEST_F(DdeServerTest, LinksAreCountedPerItem)
{
    std::optional<DdeLinkKey> first = server.AddAdviseLink("ALM", "price");
    std::optional<DdeLinkKey> second = server.AddAdviseLink("lse_alm", "PRICE");
    ASSERT_TRUE(first && second);
    ASSERT_EQ(server.topics().size(), 1u);
    ASSERT_EQ(server.topics()[0].items.size(), 1u);
    EXPECT_EQ(server.topics()[0].items[0].links, 2);
    EXPECT_EQ(feed.watched, std::vector<uint32_t>{0x4002});

    std::optional<DdeLinkKey> close = server.AddAdviseLink("ALM", "close");
    ASSERT_TRUE(close);
    EXPECT_EQ(server.topics()[0].items.size(), 2u);
    ASSERT_TRUE(server.AddAdviseLink("NYSE_BET", "high"));
    EXPECT_EQ(server.topics().size(), 2u);
    EXPECT_EQ(feed.watched, (std::vector<uint32_t>{0x4002, 0x4003}));

    EXPECT_FALSE(server.AddAdviseLink("XYZ", "price"));
    EXPECT_FALSE(server.AddAdviseLink("ALM", "nonsense"));

    // One stop leaves the link of the second advise in place.
    EXPECT_TRUE(server.RemoveAdviseLink(*first));
    EXPECT_EQ(server.topics()[0].items[0].links, 1);
    EXPECT_TRUE(server.RemoveAdviseLink(*second));
    EXPECT_EQ(server.topics()[0].items.size(), 1u);
    // The topic's last item leaves with its last link, and the topic with it.
    EXPECT_TRUE(server.RemoveAdviseLink(*close));
    EXPECT_EQ(server.topics().size(), 1u);
    EXPECT_EQ(feed.watched, std::vector<uint32_t>{0x4003});
    EXPECT_FALSE(server.RemoveAdviseLink(*first));
}

TEST_F(DdeServerTest, TheLinkCountNeverWraps)
{
    std::vector<DdeLinkKey> keys;
    for (int i = 0; i < 255; ++i)
        keys.push_back(*server.AddAdviseLink("ALM", "price"));
    EXPECT_FALSE(server.AddAdviseLink("ALM", "price"));
    EXPECT_EQ(server.topics()[0].items[0].links, 255);
    for (const DdeLinkKey& key : keys)
        EXPECT_TRUE(server.RemoveAdviseLink(key));
    EXPECT_TRUE(server.topics().empty());
}

TEST_F(DdeServerTest, RefreshPostsEveryEndOfDayItem)
{
    server.AddAdviseLink("ALM", "price");
    server.AddAdviseLink("NYSE_BET", "name");
    realTime = true;
    server.AddAdviseLink("ALM", "mid");
    server.onProgramMessage(WM_COMMAND, ID_REFRESH, 0);
    // London shares are posted under both names; intraday items wait for price changes.
    std::vector<std::pair<std::string, std::string>> expected{
        {"LSE_ALM", "price"}, {"ALM", "price"}, {"NYSE_BET", "name"}};
    EXPECT_EQ(posts, expected);
}

TEST_F(DdeServerTest, AReloadDetachesUntilTheNextRefresh)
{
    std::optional<DdeLinkKey> key = server.AddAdviseLink("ALM", "price");
    server.DetachItems();
    EXPECT_TRUE(server.detached());
    EXPECT_EQ(server.topics()[0].record, nullptr);
    EXPECT_EQ(server.topics()[0].shareId, 0x4002);
    EXPECT_FALSE(server.RenderDdeItem("ALM", "price", 0));
    EXPECT_FALSE(server.AddAdviseLink("ALM", "high"));

    Share(0x4002).close = 260;
    Reload();
    server.OnRefresh();
    EXPECT_FALSE(server.detached());
    ASSERT_NE(server.topics()[0].record, nullptr);
    EXPECT_EQ(RecordId(server.topics()[0].record), 0x4002);
    EXPECT_EQ(Text("ALM", "price"), "260");
    EXPECT_EQ(posts.size(), 2u);
    EXPECT_TRUE(server.RemoveAdviseLink(*key));
}

TEST_F(DdeServerTest, TheRefreshHoldDetaches)
{
    server.AddAdviseLink("ALM", "price");
    held = true;
    EXPECT_FALSE(server.RenderDdeItem("ALM", "price", 0));
    EXPECT_TRUE(server.detached());
    server.OnRefresh();
    EXPECT_TRUE(posts.empty());
    held = false;
    server.OnRefresh();
    EXPECT_EQ(posts.size(), 2u);
}

TEST_F(DdeServerTest, LinksCanBeDroppedWhileDetached)
{
    std::optional<DdeLinkKey> key = server.AddAdviseLink("NYSE_BET", "price");
    server.DetachItems();
    EXPECT_TRUE(server.RemoveAdviseLink(*key));
    EXPECT_TRUE(server.topics().empty());
}

TEST_F(DdeServerTest, AShareGoneAfterAReloadLosesItsEntry)
{
    server.AddAdviseLink("NYSE_BET", "price");
    server.AddAdviseLink("ALM", "price");
    server.DetachItems();
    std::erase_if(shares, [](const test::DdeShare& s) { return s.id == 0x4003; });
    Reload();
    server.OnRefresh();
    ASSERT_EQ(server.topics().size(), 1u);
    EXPECT_EQ(RecordId(server.topics()[0].record), 0x4002);
}

TEST_F(DdeServerTest, PriceChangesPostChangedIntradayItems)
{
    realTime = true;
    server.AddAdviseLink("ALM", "mid");
    server.AddAdviseLink("ALM", "bid");
    server.AddAdviseLink("ALM", "RTvolume");
    server.AddAdviseLink("ALM", "price");

    feed.marks[0x4002] = 0;
    server.onProgramMessage(MSG_DDE_PRICE_UPDATE, 0, 0);
    EXPECT_TRUE(posts.empty());

    feed.marks[0x4002] = 1;
    server.OnPriceUpdate();
    std::vector<std::pair<std::string, std::string>> expected{
        {"LSE_ALM", "mid"}, {"ALM", "mid"}, {"LSE_ALM", "RTvolume"}, {"ALM", "RTvolume"}};
    EXPECT_EQ(posts, expected);
    EXPECT_EQ(feed.marks[0x4002], 0u);

    posts.clear();
    feed.marks[0x4002] = 2;
    feed.state = 6;
    server.OnPriceUpdate();
    EXPECT_TRUE(posts.empty());
}

TEST_F(DdeServerTest, APriceChangeWhileDetachedWaitsForTheRefresh)
{
    realTime = true;
    server.AddAdviseLink("ALM", "mid");
    feed.marks[0x4002] = 1;
    server.DetachItems();
    DeliverPostedMessages();
    // Nothing is posted again and again: the update waits, and the refresh that re-attaches runs it.
    server.OnPriceUpdate();
    EXPECT_FALSE(HasPostedMessages());
    EXPECT_TRUE(posts.empty());
    server.OnRefresh();
    std::vector<std::pair<std::string, std::string>> expected{{"LSE_ALM", "mid"}, {"ALM", "mid"}};
    EXPECT_EQ(posts, expected);
}

} // namespace

namespace {

// A reload that nobody announced leaves no record pointer to be read: pushes find the records again.
TEST_F(DdeServerTest, AnUnannouncedReloadIsSafe)
{
    realTime = true;
    std::optional<DdeLinkKey> key = server.AddAdviseLink("ALM", "price");
    server.AddAdviseLink("ALM", "mid");
    Reload();
    feed.marks[0x4002] = 1;
    server.OnPriceUpdate();
    server.OnRefresh();
    EXPECT_EQ(posts.size(), 4u);
    EXPECT_EQ(server.AddAdviseLink("lse_alm", "price")->shareId, 0x4002);
    EXPECT_EQ(server.topics()[0].items[0].links, 2);
    EXPECT_TRUE(server.RemoveAdviseLink(*key));
}

} // namespace
