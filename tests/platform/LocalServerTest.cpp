// The local socket server: line framing, ordering per client, limits, clients that vanish, and the
// socket path's life.
#include "platform/LocalServer.h"

#include "devtools/lib/DdeClient.h"
#include "devtools/lib/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <fstream>
#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qv;
using dev::DdeClient;
using dev::DdeReply;

namespace {

TEST(LineFramer, SplitsLinesAcrossChunks)
{
    LineFramer framer(8);
    std::vector<std::string> lines;
    EXPECT_TRUE(framer.feed("ab", 2, lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(framer.pending(), 2u);
    EXPECT_TRUE(framer.feed("c\r\n\nxy\nz", 8, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"abc", "", "xy"}));
    EXPECT_EQ(framer.pending(), 1u);
}

TEST(LineFramer, ALineOverTheLimitFailsForGood)
{
    LineFramer exact(4);
    std::vector<std::string> lines;
    EXPECT_TRUE(exact.feed("abcd\n", 5, lines));
    EXPECT_EQ(lines.size(), 1u);

    LineFramer framer(4);
    lines.clear();
    EXPECT_TRUE(framer.feed("ok\nabc", 6, lines));
    EXPECT_FALSE(framer.feed("de\nfine\n", 8, lines));
    EXPECT_TRUE(framer.failed());
    EXPECT_EQ(framer.pending(), 0u);
    EXPECT_FALSE(framer.feed("a\n", 2, lines));
    EXPECT_EQ(lines, std::vector<std::string>{"ok"});
}

std::string Tag(int client, int n)
{
    char text[32];
    std::snprintf(text, sizeof text, "c%d n%d", client, n);
    return text;
}

// Owns a server and answers every line with "ERR <line>", which the DDE client reads as an error
// reply carrying the line back.
class LocalServerTest : public ::testing::Test {
protected:
    void Start(LocalServerLimits limits = {})
    {
        server = std::make_unique<LocalServer>(limits, [this] {
            std::lock_guard lock(mutex);
            woken = true;
            cv.notify_all();
        });
        std::string error;
        ASSERT_TRUE(server->start(path, &error)) << error;
    }

    // Takes events until `done` holds (or a minute passes: a hang guard); lines are echoed unless `echo` is off.
    template <typename Done>
    bool Pump(Done done, bool echo = true)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            {
                std::unique_lock lock(mutex);
                cv.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)),
                              [this] { return woken; });
                woken = false;
            }
            for (LocalServerEvent& e : server->takeEvents()) {
                if (e.kind == LocalServerEvent::Line && echo)
                    server->send(e.client, "ERR " + e.line + "\n");
                if (e.kind == LocalServerEvent::Ended)
                    server->closeAfterSending(e.client);
                events.push_back(std::move(e));
            }
            if (std::chrono::steady_clock::now() > deadline)
                return done();
        }
        return true;
    }

    size_t Count(LocalServerEvent::Kind kind) const
    {
        size_t n = 0;
        for (const LocalServerEvent& e : events)
            n += e.kind == kind;
        return n;
    }

    std::string Echo(DdeClient& client, const std::string& line)
    {
        client.sendRaw(line + "\n");
        DdeReply reply;
        std::thread reader([&] { reply = client.readReply(60000); });
        Pump([&] { return Count(LocalServerEvent::Line) > 0 && reply.kind != DdeReply::Closed; });
        reader.join();
        return reply.kind == DdeReply::Error ? reply.text : "<no reply>";
    }

    dev::TempFolder folder{"qvsock"};
    std::string path = (folder / "test.sock").string();
    std::unique_ptr<LocalServer> server;
    std::mutex mutex;
    std::condition_variable cv;
    bool woken = false;
    std::vector<LocalServerEvent> events;
};

TEST_F(LocalServerTest, RepliesReachTheClientThatAsked)
{
    Start();
    constexpr int kClients = 8;
    std::vector<std::unique_ptr<DdeClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<DdeClient>());
        ASSERT_TRUE(clients.back()->open(path));
    }
    std::vector<std::string> answers(kClients);
    std::vector<std::thread> threads;
    for (int i = 0; i < kClients; ++i) {
        threads.emplace_back([&, i] {
            std::string got;
            for (int n = 0; n < 20; ++n) {
                DdeReply r = clients[size_t(i)]->call(Tag(i, n));
                got.append(r.text).push_back(';');
            }
            answers[size_t(i)] = got;
        });
    }
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Line) == kClients * 20; }));
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < kClients; ++i) {
        std::string expected;
        for (int n = 0; n < 20; ++n)
            expected.append(Tag(i, n)).push_back(';');
        EXPECT_EQ(answers[size_t(i)], expected);
    }
    EXPECT_EQ(Count(LocalServerEvent::Connected), size_t(kClients));
}

TEST_F(LocalServerTest, AClientThatStopsSendingStillGetsItsAnswers)
{
    Start();
    DdeClient client;
    ASSERT_TRUE(client.open(path));
    // Two whole lines and half of a third, then the client shuts its sending side.
    client.sendRaw("one\ntwo\nthr");
    client.finishSending();
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Closed) == 1; }));
    EXPECT_EQ(Count(LocalServerEvent::Line), 2u);
    EXPECT_EQ(client.readReply(60000).text, "one");
    EXPECT_EQ(client.readReply(60000).text, "two");
    EXPECT_EQ(client.readReply(60000).kind, DdeReply::Closed);
}

TEST_F(LocalServerTest, HalfFinishedLinesAreDroppedWhenTheClientGoes)
{
    Start();
    {
        DdeClient client;
        ASSERT_TRUE(client.open(path));
        client.sendRaw("whole\nhalf a requ");
    }
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Closed) == 1; }, false));
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, LocalServerEvent::Connected);
    EXPECT_EQ(events[1].line, "whole");
    EXPECT_EQ(events[2].kind, LocalServerEvent::Ended);
    EXPECT_EQ(events[3].kind, LocalServerEvent::Closed);
    EXPECT_EQ(server->clientCount(), 0u);
}

TEST_F(LocalServerTest, ALongLineIsReportedAndNothingAfterIt)
{
    LocalServerLimits limits;
    limits.maxLine = 16;
    Start(limits);
    DdeClient client;
    ASSERT_TRUE(client.open(path));
    client.sendRaw("short\n" + std::string(5000, 'x') + "\nlater\n");
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::LineTooLong) == 1; }, false));
    auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    Pump([&] { return std::chrono::steady_clock::now() > settle; }, false);
    EXPECT_EQ(Count(LocalServerEvent::Line), 1u);
    server->closeAfterSending(events.back().client);
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Closed) == 1; }, false));
}

TEST_F(LocalServerTest, ClientsBeyondTheLimitAreTurnedAway)
{
    LocalServerLimits limits;
    limits.maxClients = 2;
    Start(limits);
    // Both places are taken by clients that have spoken (silent ones would give way).
    DdeClient a, b, c;
    ASSERT_TRUE(a.open(path) && b.open(path));
    EXPECT_EQ(Echo(a, "one"), "one");
    EXPECT_EQ(Echo(b, "two"), "two");
    ASSERT_TRUE(c.open(path));
    EXPECT_EQ(c.call("anyone?", 60000).kind, DdeReply::Closed);
    EXPECT_EQ(server->clientCount(), 2u);
}

// Connections that never send a request keep no one out: the oldest silent one gives way to a
// newcomer, also when the server is full, while clients that have spoken stay.
TEST_F(LocalServerTest, SilentConnectionsGiveWayToNewcomers)
{
    LocalServerLimits limits;
    limits.maxClients = 3;
    limits.maxSilent = 2;
    Start(limits);
    DdeClient talker;
    ASSERT_TRUE(talker.open(path));
    EXPECT_EQ(Echo(talker, "hello"), "hello");
    DdeClient a, b, c, d;
    ASSERT_TRUE(a.open(path) && b.open(path));
    ASSERT_TRUE(Pump([&] { return Count(LocalServerEvent::Connected) == 3; }));
    ASSERT_TRUE(c.open(path));
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Connected) == 4 && Count(LocalServerEvent::Closed) == 1; }));
    EXPECT_EQ(a.readReply(5000).kind, DdeReply::Closed) << "the oldest silent connection went";
    ASSERT_TRUE(d.open(path));
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Connected) == 5 && Count(LocalServerEvent::Closed) == 2; }));
    EXPECT_EQ(b.readReply(5000).kind, DdeReply::Closed);
    EXPECT_EQ(Echo(talker, "still here"), "still here");
    EXPECT_EQ(server->clientCount(), 3u);
}

// A burst of clients that each send a request as soon as they connect is accepted before any of
// their lines is read: none of them counts as silent, so none is closed, however many there are.
TEST_F(LocalServerTest, ABurstOfClientsThatSpeakAtOnceIsNotTakenForSilentOnes)
{
    LocalServerLimits limits;
    limits.maxSilent = 2;
    Start(limits);
    std::vector<std::unique_ptr<DdeClient>> clients;
    for (int i = 0; i < 6; ++i) {
        clients.push_back(std::make_unique<DdeClient>());
        ASSERT_TRUE(clients.back()->open(path));
        clients.back()->sendRaw(Tag(i, 0) + "\n");
    }
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Line) == 6; }));
    EXPECT_EQ(Count(LocalServerEvent::Closed), 0u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(clients[size_t(i)]->readReply(60000).text, Tag(i, 0)) << "client " << i;
}

TEST_F(LocalServerTest, ASilentConnectionIsClosedOnceItsTimeIsUp)
{
    LocalServerLimits limits;
    limits.silentTimeout = std::chrono::milliseconds(0);
    Start(limits);
    DdeClient idle;
    ASSERT_TRUE(idle.open(path));
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Closed) == 1; }));
    EXPECT_EQ(idle.readReply(5000).kind, DdeReply::Closed);
    EXPECT_EQ(server->clientCount(), 0u);
}

TEST_F(LocalServerTest, AClientThatReadsNothingIsDroppedAtTheOutputLimit)
{
    LocalServerLimits limits;
    limits.maxOutput = 64 * 1024;
    Start(limits);
    DdeClient client;
    ASSERT_TRUE(client.open(path));
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Connected) == 1; }));
    uint64_t id = events[0].client;
    std::string chunk(4096, 'v');
    for (int i = 0; i < 1000 && Count(LocalServerEvent::Closed) == 0; ++i) {
        server->send(id, chunk);
        Pump([] { return true; });
    }
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Closed) == 1; }));
    // Bytes for a client that has gone are dropped.
    server->send(id, "late");
    EXPECT_EQ(server->clientCount(), 0u);
}

TEST_F(LocalServerTest, ReadingPausesWhileLinesWait)
{
    LocalServerLimits limits;
    limits.maxQueuedLines = 4;
    Start(limits);
    DdeClient client;
    ASSERT_TRUE(client.open(path));
    // Sent one line at a time, so that each read finds little; the queue stays near its limit.
    for (int i = 0; i < 200; ++i)
        client.sendRaw("line" + std::to_string(i) + "\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(server->queuedEventCount(), 4u + 4096u / 6u + 1u);
    EXPECT_TRUE(Pump([&] { return Count(LocalServerEvent::Line) == 200; }, false));
    for (size_t i = 0; i < 200; ++i)
        EXPECT_EQ(events[i + 1].line, "line" + std::to_string(i));
}

TEST_F(LocalServerTest, TheSocketPathIsClaimedSafely)
{
    Start();
    server->stop();
    EXPECT_FALSE(std::filesystem::exists(path));

    // A socket left behind by a server that ended without cleaning up is replaced.
    int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    ASSERT_TRUE(std::filesystem::exists(path));
    Start();

    // A second server is refused while the first answers.
    std::string error;
    EXPECT_FALSE(LocalServer({}, nullptr).start(path, &error));
    EXPECT_NE(error.find("another server"), std::string::npos) << error;
    DdeClient client;
    EXPECT_TRUE(client.open(path));

    // Something else at the path is left alone.
    std::string other = (folder / "plain-file").string();
    std::ofstream(other) << "not a socket";
    EXPECT_FALSE(LocalServer({}, nullptr).start(other, &error));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_FALSE(LocalServer({}, nullptr).start("/tmp/" + std::string(200, 'p'), &error));
}

TEST(LocalServerPathTest, UsesTheRuntimeFolder)
{
    EXPECT_EQ(LocalServerPath("QuorvantisDDE").substr(0, 1), "/");
    EXPECT_NE(LocalServerPath("QuorvantisDDE").find("QuorvantisDDE"), std::string::npos);
}

} // namespace
