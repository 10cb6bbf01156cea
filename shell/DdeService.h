// The DDE price server on its local socket: each connection is one conversation with a topic; its
// requests are answered by the server model on the user-interface thread, and its advise links
// receive the values the model posts. Also the program-wide server that start-up starts.
#pragma once

#include "platform/LocalServer.h"
#include "platform/MessageDispatch.h"
#include "shell/DdeServer.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

constexpr std::string_view kDdeServiceName = "QuorvantisDDE";

class DdeService : public MessageTarget {
public:
    explicit DdeService(DdeHooks hooks, LocalServerLimits limits = {});
    ~DdeService() override;

    bool start(const std::string& path, std::string* error);
    // Ends every conversation, dropping its links, and closes the socket.
    void stop();

    // The transport's wake-up: answers every waiting request (user-interface thread).
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void processTransport();

    // Sends the item's value to every link whose conversation topic and item match the texts
    // (without regard to case), rendered in the link's format.
    void PostDdeAdvise(std::string_view topic, std::string_view item);

    CDDEServer& server() { return server_; }
    LocalServer& transport() { return transport_; }
    size_t conversationCount() const { return conversations_.size(); }
    size_t linkCount() const;

private:
    struct Link {
        std::string item;
        std::string format;
        int formatKind = 0;
        DdeLinkKey key;
    };
    struct Conversation {
        bool connected = false;
        std::string topic;
        std::vector<Link> links;
    };

    void handleLine(uint64_t client, const std::string& line);
    std::string answer(Conversation& conversation, uint64_t client, const std::string& line);
    void endConversation(uint64_t client);

    CDDEServer server_;
    std::map<uint64_t, Conversation> conversations_;
    LocalServer transport_;
};

// The program's server at the user's socket path for "QuorvantisDDE". False when it cannot start
// (another copy serves there, or the system refuses); nothing is shown to the user.
bool StartDdeServer(DdeHooks hooks = DefaultDdeHooks());
void StopDdeServer();
// The running server, or null.
DdeService* RunningDdeService();
// The refresh path calls these: after each refresh of the views, and before a database reload.
void NotifyDdeRefresh();
void NotifyDdeReload();

} // namespace qv
