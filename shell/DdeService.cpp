// Conversations of the DDE price server over its local socket, and the program's one server.
#include "shell/DdeService.h"

#include "platform/DebugOutput.h"
#include "resources/MessageIds.h"
#include "shell/DdeRequest.h"

#include <memory>

namespace qv {
namespace {

// Posted by the transport's thread when requests wait.
constexpr uint32_t MSG_DDE_TRANSPORT = WM_USER + 400;
// Links one conversation may hold; each costs a push on every refresh.
constexpr size_t kMaxLinksPerConversation = 256;

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = char(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

std::unique_ptr<DdeService>& Running()
{
    static std::unique_ptr<DdeService> service;
    return service;
}

} // namespace

DdeService::DdeService(DdeHooks hooks, LocalServerLimits limits)
    : server_(std::move(hooks), [this](std::string_view topic, std::string_view item) { PostDdeAdvise(topic, item); }),
      transport_(limits, [this] { PostProgramMessage(*this, MSG_DDE_TRANSPORT); })
{
    if (DdeIntradayFeed* feed = server_.hooks().feed)
        feed->attachTarget(server_.targetId());
}

DdeService::~DdeService() { stop(); }

bool DdeService::start(const std::string& path, std::string* error) { return transport_.start(path, error); }

void DdeService::stop()
{
    transport_.stop();
    std::vector<uint64_t> clients;
    for (const auto& [client, conversation] : conversations_)
        clients.push_back(client);
    for (uint64_t client : clients)
        endConversation(client);
}

intptr_t DdeService::onProgramMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message == MSG_DDE_TRANSPORT)
        processTransport();
    return 0;
}

void DdeService::processTransport()
{
    for (LocalServerEvent& event : transport_.takeEvents()) {
        switch (event.kind) {
        case LocalServerEvent::Connected:
            conversations_[event.client];
            break;
        case LocalServerEvent::Line:
            handleLine(event.client, event.line);
            break;
        case LocalServerEvent::Ended:
            // The answers to its last requests are queued by now; the conversation ends with the
            // connection.
            transport_.closeAfterSending(event.client);
            break;
        case LocalServerEvent::LineTooLong:
            transport_.send(event.client, DdeReplyError("request too long"));
            transport_.closeAfterSending(event.client);
            break;
        case LocalServerEvent::Closed:
            endConversation(event.client);
            break;
        }
    }
}

size_t DdeService::linkCount() const
{
    size_t n = 0;
    for (const auto& [client, conversation] : conversations_)
        n += conversation.links.size();
    return n;
}

void DdeService::handleLine(uint64_t client, const std::string& line)
{
    auto it = conversations_.find(client);
    if (it == conversations_.end())
        return;
    std::string reply = answer(it->second, client, line);
    if (!reply.empty())
        transport_.send(client, reply);
}

std::string DdeService::answer(Conversation& conversation, uint64_t client, const std::string& line)
{
    DdeRequest request;
    std::string error;
    if (!ParseDdeRequest(line, request, error))
        return DdeReplyError(error);
    if (request.verb == DdeVerb::Connect) {
        if (conversation.connected)
            return DdeReplyError("already connected");
        // The service name is compared exactly; any topic starts a conversation.
        if (request.service != kDdeServiceName)
            return DdeReplyNo();
        conversation.connected = true;
        conversation.topic = request.topic;
        return DdeReplyOk();
    }
    if (request.verb == DdeVerb::Disconnect) {
        // The conversation stays, empty, until the transport reports the connection closed.
        endConversation(client);
        conversations_[client];
        transport_.send(client, DdeReplyOk());
        transport_.closeAfterSending(client);
        return {};
    }
    if (!conversation.connected)
        return DdeReplyError("not connected");
    int kind = GetDdeFormatKind(request.format);
    switch (request.verb) {
    case DdeVerb::Request: {
        std::optional<std::string> data = server_.RenderDdeItem(conversation.topic, request.item, kind);
        return data ? DdeReplyData(*data) : DdeReplyNo();
    }
    case DdeVerb::AdviseStart: {
        if (kind < 0 || conversation.links.size() >= kMaxLinksPerConversation)
            return DdeReplyNo();
        for (const Link& link : conversation.links) {
            if (SameText(link.item, request.item) && link.format == request.format)
                return DdeReplyNo();
        }
        std::optional<DdeLinkKey> key = server_.AddAdviseLink(conversation.topic, request.item);
        if (!key)
            return DdeReplyNo();
        conversation.links.push_back(Link{request.item, request.format, kind, *key});
        return DdeReplyOk();
    }
    case DdeVerb::AdviseStop:
        for (auto link = conversation.links.begin(); link != conversation.links.end(); ++link) {
            if (SameText(link->item, request.item) && link->format == request.format) {
                server_.RemoveAdviseLink(link->key);
                conversation.links.erase(link);
                return DdeReplyOk();
            }
        }
        return DdeReplyNo();
    default: // executes and pokes are not served
        return DdeReplyNo();
    }
}

void DdeService::endConversation(uint64_t client)
{
    auto it = conversations_.find(client);
    if (it == conversations_.end())
        return;
    for (const Link& link : it->second.links)
        server_.RemoveAdviseLink(link.key);
    conversations_.erase(it);
}

void DdeService::PostDdeAdvise(std::string_view topic, std::string_view item)
{
    for (auto& [client, conversation] : conversations_) {
        if (!conversation.connected || !SameText(conversation.topic, topic))
            continue;
        for (const Link& link : conversation.links) {
            if (!SameText(link.item, item))
                continue;
            std::optional<std::string> data = server_.RenderDdeItem(conversation.topic, link.item, link.formatKind);
            if (data)
                transport_.send(client, DdeAdviseMessage(link.item, link.format, *data));
        }
    }
}

bool StartDdeServer(DdeHooks hooks)
{
    auto& running = Running();
    if (running)
        return true;
    auto service = std::make_unique<DdeService>(std::move(hooks));
    std::string error;
    if (!service->start(LocalServerPath(kDdeServiceName), &error)) {
        OutputDebugText("DDE server not started: " + error);
        return false;
    }
    running = std::move(service);
    return true;
}

void StopDdeServer() { Running().reset(); }

DdeService* RunningDdeService() { return Running().get(); }

void NotifyDdeRefresh()
{
    if (DdeService* service = RunningDdeService())
        service->server().OnRefresh();
}

void NotifyDdeReload()
{
    if (DdeService* service = RunningDdeService())
        service->server().DetachItems();
}

} // namespace qv
