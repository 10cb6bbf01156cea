// The DDE price server spoken to over its socket as a user's script would: requests, advise links,
// refusals, and clients that misbehave, vanish or come fifty at once while refreshes run.
#include "shell/DdeService.h"

#include "devtools/lib/DdeClient.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/DdeFixture.h"
#include "shell/ViewGroups.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <thread>

using namespace qv;
using dev::DdeClient;
using dev::DdeReply;
using dev::DdeText;

namespace {

class DdeServiceTest : public test::DdeFixture {
protected:
    DdeServiceTest() : service(Hooks())
    {
        std::string error;
        started = service.start(path, &error);
        EXPECT_TRUE(started) << error;
    }
    ~DdeServiceTest() override { service.stop(); }

    // Delivers the server's messages on this thread, as the user interface would, until the
    // client work running on another thread is done.
    template <typename Work>
    auto Run(Work work)
    {
        auto done = std::async(std::launch::async, work);
        while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
            DeliverPostedMessages();
        return done.get();
    }

    void PumpFor(int ms)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            DeliverPostedMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    template <typename Done>
    bool PumpUntil(Done done)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60); // a hang guard
        while (!done()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            DeliverPostedMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // Opens a conversation on the topic; the reply to CONNECT is checked.
    std::unique_ptr<DdeClient> Connect(const std::string& topic)
    {
        auto client = std::make_unique<DdeClient>();
        EXPECT_TRUE(client->open(path));
        DdeReply reply = Run([&] { return client->call("CONNECT QuorvantisDDE " + topic); });
        EXPECT_EQ(reply.kind, DdeReply::Ok) << topic;
        return client;
    }

    DdeReply Call(DdeClient& client, const std::string& line)
    {
        return Run([&] { return client.call(line); });
    }

    std::string Value(DdeClient& client, const std::string& request)
    {
        DdeReply reply = Call(client, request);
        if (reply.kind != DdeReply::Data)
            return "<" + std::to_string(int(reply.kind)) + " " + reply.text + ">";
        return DdeText(reply.data);
    }

    // Joins a client thread while delivering the server's messages it may wait for.
    void JoinPumping(std::thread& thread)
    {
        Run([&] { thread.join(); });
    }

    // A database reload that gives the share a new last close, as the program runs one.
    void Reprice(uint16_t id, float close)
    {
        service.server().DetachItems();
        Share(id).close = close;
        Reload();
    }

    void Refresh() { service.server().onProgramMessage(WM_COMMAND, ID_REFRESH, 0); }

    dev::TempFolder folder{"qvdde"};
    std::string path = (folder / "dde.sock").string();
    DdeService service;
    bool started = false;
};

TEST_F(DdeServiceTest, RequestsAnswerTheShareValues)
{
    auto client = Connect("alm");
    EXPECT_EQ(Value(*client, "REQUEST price"), "257.75");
    EXPECT_EQ(Value(*client, "request NAME CF_TEXT"), "Alpha Mining");
    EXPECT_EQ(Value(*client, "REQUEST epic"), "LSE:ALM");
    EXPECT_EQ(Value(*client, "REQUEST high"), "262.25");

    DdeReply number = Call(*client, "REQUEST price XlTable");
    ASSERT_EQ(number.kind, DdeReply::Data);
    ASSERT_EQ(number.data.size(), 20u);
    EXPECT_EQ(LoadF64(reinterpret_cast<const uint8_t*>(number.data.data()) + 12), 257.75);
    DdeReply rtf = Call(*client, "REQUEST name Rich Text Format");
    EXPECT_EQ(rtf.data, "{\\rtf1\\ansi{Alpha Mining}}");

    auto nyse = Connect("NYSE_BET");
    EXPECT_EQ(Value(*nyse, "REQUEST name"), "Beta Corp");
}

TEST_F(DdeServiceTest, RefusalsAreAnswered)
{
    DdeClient client;
    ASSERT_TRUE(client.open(path));
    EXPECT_EQ(Call(client, "REQUEST price").kind, DdeReply::Error);
    // The service name counts its case; any topic opens a conversation.
    EXPECT_EQ(Call(client, "CONNECT quorvantisdde ALM").kind, DdeReply::No);
    EXPECT_EQ(Call(client, "CONNECT QuorvantisDDE System").kind, DdeReply::Ok);
    EXPECT_EQ(Call(client, "CONNECT QuorvantisDDE ALM").kind, DdeReply::Error);
    EXPECT_EQ(Call(client, "REQUEST price").kind, DdeReply::No);
    EXPECT_EQ(Call(client, "ADVSTART price").kind, DdeReply::No);

    auto unknown = Connect("NOSUCH");
    EXPECT_EQ(Call(*unknown, "REQUEST price").kind, DdeReply::No);
    EXPECT_EQ(Call(*unknown, "ADVSTART price").kind, DdeReply::No);

    auto alm = Connect("ALM");
    for (const char* line : {"REQUEST nosuch", "REQUEST price_high", "REQUEST mid", "REQUEST price CF_BITMAP",
                             "ADVSTART price xltable", "ADVSTOP price", "EXECUTE [Open()]", "POKE price 5"})
        EXPECT_EQ(Call(*alm, line).kind, DdeReply::No) << line;
    realTime = true;
    EXPECT_EQ(Call(*alm, "REQUEST mid").kind, DdeReply::Data);
}

TEST_F(DdeServiceTest, AnAdviseLinkReceivesTheValueAfterARefresh)
{
    auto client = Connect("ALM");
    ASSERT_EQ(Call(*client, "ADVSTART price").kind, DdeReply::Ok);
    ASSERT_EQ(Call(*client, "ADVSTART name XlTable").kind, DdeReply::Ok);
    EXPECT_EQ(Call(*client, "ADVSTART PRICE").kind, DdeReply::No);
    auto other = Connect("lse_alm");
    ASSERT_EQ(Call(*other, "ADVSTART price").kind, DdeReply::Ok);
    EXPECT_EQ(service.server().topics()[0].items[0].links, 2);

    Reprice(0x4002, 263.5f);
    Refresh();
    auto first = Run([&] { return client->waitAdvise(); });
    auto second = Run([&] { return client->waitAdvise(); });
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->item, "price");
    EXPECT_EQ(first->format, "CF_TEXT");
    EXPECT_EQ(DdeText(first->data), "263.5");
    EXPECT_EQ(second->format, "XlTable");
    EXPECT_EQ(second->data, XlTableTextBlock("Alpha Mining"));
    auto otherValue = Run([&] { return other->waitAdvise(); });
    ASSERT_TRUE(otherValue);
    EXPECT_EQ(DdeText(otherValue->data), "263.5");

    // After a stop the link is gone; the other conversation's stays.
    ASSERT_EQ(Call(*client, "ADVSTOP price").kind, DdeReply::Ok);
    EXPECT_EQ(service.server().topics()[0].items[0].links, 1);
    Reprice(0x4002, 270);
    Refresh();
    auto name = Run([&] { return client->waitAdvise(); });
    ASSERT_TRUE(name);
    EXPECT_EQ(name->item, "name");
    EXPECT_FALSE(Run([&] { return client->waitAdvise(200); }));
    EXPECT_EQ(DdeText(Run([&] { return other->waitAdvise(); })->data), "270");
}

TEST_F(DdeServiceTest, ItemsDetachWhileAReloadRuns)
{
    auto client = Connect("ALM");
    ASSERT_EQ(Call(*client, "ADVSTART price").kind, DdeReply::Ok);
    Reprice(0x4002, 280);
    EXPECT_EQ(Call(*client, "REQUEST price").kind, DdeReply::No);
    EXPECT_EQ(Call(*client, "ADVSTART high").kind, DdeReply::No);
    Refresh();
    EXPECT_EQ(DdeText(Run([&] { return client->waitAdvise(); })->data), "280");
    EXPECT_EQ(Value(*client, "REQUEST price"), "280");
}

TEST_F(DdeServiceTest, MalformedRequestsGetAnErrorAndTheConversationGoesOn)
{
    auto client = Connect("ALM");
    const std::string bad[] = {"", "   ", "HELLO", "REQUEST", "CONNECT", std::string("REQUEST pr\0ice", 13),
                               "REQUEST \x01price", "DISCONNECT now", "REQUEST " + std::string(300, 'p')};
    for (const std::string& line : bad)
        EXPECT_EQ(Call(*client, line).kind, DdeReply::Error) << line;
    EXPECT_EQ(Value(*client, "REQUEST price"), "257.75");
    EXPECT_EQ(Call(*client, "DISCONNECT").kind, DdeReply::Ok);
    EXPECT_EQ(Run([&] { return client->readReply(60000); }).kind, DdeReply::Closed);
}

TEST_F(DdeServiceTest, AnOversizedRequestEndsTheConnection)
{
    auto client = Connect("ALM");
    ASSERT_EQ(Call(*client, "ADVSTART price").kind, DdeReply::Ok);
    DdeReply reply = Run([&] {
        client->sendRaw(std::string(100000, 'x'));
        return client->readReply();
    });
    EXPECT_EQ(reply.kind, DdeReply::Error);
    EXPECT_EQ(reply.text, "request too long");
    EXPECT_TRUE(PumpUntil([&] { return service.conversationCount() == 0; }));
    EXPECT_TRUE(service.server().topics().empty());
    auto next = Connect("ALM");
    EXPECT_EQ(Value(*next, "REQUEST price"), "257.75");
}

TEST_F(DdeServiceTest, ClientsThatVanishLeaveNothingBehind)
{
    for (int i = 0; i < 20; ++i) {
        auto client = Connect(i % 2 ? "ALM" : "NYSE_BET");
        ASSERT_EQ(Call(*client, "ADVSTART price").kind, DdeReply::Ok);
        // Half a request, then gone without a word.
        client->sendRaw("REQUEST na");
    }
    {
        DdeClient silent;
        ASSERT_TRUE(silent.open(path));
    }
    EXPECT_TRUE(PumpUntil([&] { return service.conversationCount() == 0 && service.transport().clientCount() == 0; }));
    EXPECT_EQ(service.linkCount(), 0u);
    EXPECT_TRUE(service.server().topics().empty());
    Refresh();
    auto client = Connect("ALM");
    EXPECT_EQ(Value(*client, "REQUEST price"), "257.75");
}

TEST_F(DdeServiceTest, FiftyClientsFollowRefreshesWhileOthersComeAndGo)
{
    constexpr int kClients = 50;
    constexpr int kRefreshes = 20;
    const std::vector<std::pair<std::string, uint16_t>> topics{
        {"ALM", 0x4002}, {"NYSE_BET", 0x4003}, {"odd", 0x4004}, {"DOL", 0x4005}};
    // Refresh k gives share s the close 1000 * (s + 1) + k, so a value shows whose it is and when.
    auto closeOf = [](size_t share, int k) { return float(1000 * (share + 1) + k); };

    std::atomic<int> linked{0};
    std::atomic<bool> stopChurn{false};
    std::vector<std::string> failures(kClients);
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            size_t share = size_t(c) % topics.size();
            DdeClient client;
            std::string& failure = failures[size_t(c)];
            if (!client.open(path) || client.call("CONNECT QuorvantisDDE " + topics[share].first).kind != DdeReply::Ok ||
                client.call("ADVSTART price").kind != DdeReply::Ok) {
                failure = "could not link";
                return;
            }
            ++linked;
            for (int k = 1; k <= kRefreshes; ++k) {
                std::optional<dev::DdeAdvise> advise = client.waitAdvise(60000);
                std::string expected = std::to_string(int(closeOf(share, k)));
                if (!advise || DdeText(advise->data) != expected) {
                    failure = "refresh " + std::to_string(k) + ": " + (advise ? DdeText(advise->data) : "nothing");
                    return;
                }
            }
            if (client.call("REQUEST name").kind != DdeReply::Data)
                failure = "no answer after the refreshes";
        });
    }
    std::vector<std::thread> churn;
    for (int t = 0; t < 4; ++t) {
        churn.emplace_back([&, t] {
            while (!stopChurn) {
                DdeClient client;
                if (!client.open(path))
                    continue;
                client.sendRaw("CONNECT QuorvantisDDE ALM\nADVSTART price\n");
                if (t % 2)
                    client.sendRaw("REQUEST pri");
                else
                    client.sendRaw(std::string(2000, '\x07') + "\n");
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }

    // Every thread is joined however the wait ends, so that a failure is reported, not aborted on.
    const bool allLinked = PumpUntil([&] { return linked == kClients; });
    EXPECT_TRUE(allLinked);
    for (int k = 1; allLinked && k <= kRefreshes; ++k) {
        service.server().DetachItems();
        for (size_t s = 0; s < topics.size(); ++s)
            Share(topics[s].second).close = closeOf(s, k);
        Reload();
        Refresh();
        PumpFor(5);
    }
    for (std::thread& t : clients)
        JoinPumping(t);
    stopChurn = true;
    for (std::thread& t : churn)
        JoinPumping(t);
    for (int c = 0; c < kClients; ++c)
        EXPECT_EQ(failures[size_t(c)], "") << "client " << c;

    // Everything the clients made is gone once they are.
    EXPECT_TRUE(PumpUntil([&] { return service.transport().clientCount() == 0 && service.conversationCount() == 0; }));
    EXPECT_EQ(service.linkCount(), 0u);
    EXPECT_TRUE(service.server().topics().empty());
    EXPECT_EQ(service.transport().queuedEventCount(), 0u);
}

TEST_F(DdeServiceTest, TheProgramsServerLivesInTheRuntimeFolder)
{
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = previous ? previous : "";
    ::setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
    ASSERT_TRUE(StartDdeServer(Hooks()));
    ASSERT_NE(RunningDdeService(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(folder / "QuorvantisDDE"));

    DdeClient client;
    ASSERT_TRUE(client.open((folder / "QuorvantisDDE").string()));
    ASSERT_EQ(Run([&] { return client.call("CONNECT QuorvantisDDE ALM"); }).kind, DdeReply::Ok);
    ASSERT_EQ(Run([&] { return client.call("ADVSTART price"); }).kind, DdeReply::Ok);
    NotifyDdeReload();
    Share(0x4002).close = 300;
    Reload();
    NotifyDdeRefresh();
    EXPECT_EQ(DdeText(Run([&] { return client.waitAdvise(); })->data), "300");

    // Every refresh of the view groups pushes; while a hold is on there is none, and the items detach
    // as soon as a request finds the hold.
    Share(0x4002).close = 301;
    Reload();
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    EXPECT_EQ(DdeText(Run([&] { return client.waitAdvise(); })->data), "301");
    {
        RefreshHold hold;
        held = true;
        UpdateAllViewGroups(-1, false, nullptr, false, false);
        EXPECT_EQ(Run([&] { return client.call("REQUEST price"); }).kind, DdeReply::No);
        EXPECT_TRUE(RunningDdeService()->server().detached());
        held = false;
    }
    EXPECT_FALSE(Run([&] { return client.waitAdvise(100); }));
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    EXPECT_EQ(DdeText(Run([&] { return client.waitAdvise(); })->data), "301");

    NotifyDdeReload();
    EXPECT_EQ(Run([&] { return client.call("REQUEST price"); }).kind, DdeReply::No);

    StopDdeServer();
    EXPECT_EQ(RunningDdeService(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder / "QuorvantisDDE"));
    NotifyDdeRefresh();
    if (previous)
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
