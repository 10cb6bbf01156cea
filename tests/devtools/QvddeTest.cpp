// The qvdde client run as a user would, against a server on a test database.
#include "devtools/lib/TempFolder.h"
#include "platform/MessageDispatch.h"
#include "shell/DdeFixture.h"
#include "shell/DdeService.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>

using namespace qv;

namespace {

class QvddeTest : public test::DdeFixture {
protected:
    QvddeTest() : service(Hooks()) { EXPECT_TRUE(service.start(path, nullptr)); }

    // Runs qvdde with the arguments while this thread answers for the server; its output and code.
    std::pair<std::string, int> Qvdde(const std::string& arguments)
    {
        std::string command =
            std::string(QV_BINARY_DIR) + "/devtools/qvdde --socket " + path + " " + arguments + " 2>&1";
        auto run = std::async(std::launch::async, [command] {
            std::string out;
            FILE* pipe = ::popen(command.c_str(), "r");
            if (!pipe)
                return std::make_pair(out, -1);
            char buffer[256];
            while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
                out.append(buffer, n);
            return std::make_pair(out, ::pclose(pipe));
        });
        while (run.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
            DeliverPostedMessages();
        return run.get();
    }

    dev::TempFolder folder{"qvdde"};
    std::string path = (folder / "dde.sock").string();
    DdeService service;
};

TEST_F(QvddeTest, RequestsAndRefusals)
{
    EXPECT_EQ(Qvdde("ALM request price"), std::make_pair(std::string("257.75\n"), 0));
    EXPECT_EQ(Qvdde("lse_alm request name"), std::make_pair(std::string("Alpha Mining\n"), 0));
    EXPECT_EQ(Qvdde("NYSE_BET request epic"), std::make_pair(std::string("NYSE:BET\n"), 0));
    EXPECT_EQ(Qvdde("ALM request high XlTable").first, "1000040001000100010008000000000000647040\n");
    auto [refused, code] = Qvdde("XYZ request price");
    EXPECT_NE(code, 0);
    EXPECT_NE(refused.find("refused"), std::string::npos);
    EXPECT_NE(Qvdde("System request price").second, 0);
    EXPECT_NE(Qvdde("ALM request nosuch").second, 0);
    EXPECT_NE(Qvdde("").second, 0);
}

TEST_F(QvddeTest, AdviseWaitsForTheRefresh)
{
    std::string command = std::string(QV_BINARY_DIR) + "/devtools/qvdde --socket " + path + " ALM advise price CF_TEXT 2";
    auto run = std::async(std::launch::async, [command] {
        std::string out;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return out;
        char buffer[256];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
        return out;
    });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60); // a hang guard
    while (service.linkCount() == 0 && std::chrono::steady_clock::now() < deadline)
        DeliverPostedMessages();
    ASSERT_EQ(service.linkCount(), 1u);
    for (float close : {260.0f, 261.5f}) {
        service.server().DetachItems();
        Share(0x4002).close = close;
        Reload();
        service.server().OnRefresh();
    }
    while (run.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        DeliverPostedMessages();
    EXPECT_EQ(run.get(), "260\n261.5\n");
}

} // namespace
