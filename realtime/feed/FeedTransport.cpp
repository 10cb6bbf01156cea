// The feed's TCP transport over POSIX sockets.
#include "realtime/feed/FeedTransport.h"

#include "core/RegistrySettings.h"
#include "platform/DebugOutput.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qv {

FeedTransport::FeedTransport()
{
    if (pipe(stopPipe_) == 0) {
        fcntl(stopPipe_[0], F_SETFL, O_NONBLOCK);
        fcntl(stopPipe_[1], F_SETFL, O_NONBLOCK);
    }
}

FeedTransport::~FeedTransport()
{
    Disconnect();
    for (int fd : stopPipe_)
        if (fd >= 0)
            close(fd);
}

bool FeedTransport::Connect(const std::string& host, int port)
{
    Disconnect();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (port <= 0 || port > 65535 || getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    for (addrinfo* a = found; a; a = a->ai_next) {
        int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            socket_ = fd;
            break;
        }
        close(fd);
    }
    freeaddrinfo(found);
    connected_ = socket_ >= 0;
    return connected_;
}

int FeedTransport::SendFeedRequest(std::span<const uint8_t> data, uint8_t code)
{
    std::lock_guard guard(sendMutex_);
    if (socket_ < 0 || !connected_)
        return -1;
    std::vector<uint8_t> frame = EncodeFeedFrame(kFeedRequest, code, data);
    size_t sent = 0;
    while (sent < frame.size()) {
        ssize_t n = send(socket_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        sent += size_t(n);
    }
    return int(sent);
}

void FeedTransport::Close()
{
    connected_ = false;
    if (socket_ >= 0)
        shutdown(socket_, SHUT_RDWR);
}

void FeedTransport::Disconnect()
{
    std::lock_guard guard(sendMutex_);
    connected_ = false;
    if (socket_ >= 0)
        close(socket_);
    socket_ = -1;
}

bool FeedTransport::WaitForData(int timeoutMs)
{
    pollfd fds[2] = {{socket_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    int n = poll(fds, 2, timeoutMs);
    if (n < 0 && errno == EINTR)
        return connected_;
    bool ok = !stop_ && connected_ && n >= 0 && !(fds[0].revents & (POLLERR | POLLNVAL));
    if (!ok && !stop_)
        OutputDebugText("Wait for data fail");
    return ok;
}

bool FeedTransport::Receive(FeedFrameReader& reader)
{
    uint8_t buffer[65536];
    ssize_t n = recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return true;
    if (n <= 0)
        return false;
    reader.Add(std::span(buffer, size_t(n)));
    return true;
}

void FeedTransport::SetStopEvent()
{
    stop_ = true;
    uint8_t one = 1;
    if (stopPipe_[1] >= 0 && write(stopPipe_[1], &one, 1) < 0) {
        // The pipe is full: the event is set already.
    }
}

void FeedTransport::ResetStopEvent()
{
    stop_ = false;
    uint8_t drain[64];
    while (stopPipe_[0] >= 0 && read(stopPipe_[0], drain, sizeof drain) > 0) {
    }
}

FeedServer ChosenFeedServer()
{
    if (const char* env = std::getenv("QV_FEED_SERVER")) {
        std::string text(env);
        size_t colon = text.rfind(':');
        if (colon != std::string::npos)
            return {text.substr(0, colon), PortFromText(text.substr(colon + 1))};
        return {text, RealTimeServers::kDefaultPort};
    }
    RealTimeServers servers = LoadRealTimeServers();
    return {servers.addresses[0], servers.ports[0]};
}

} // namespace qv
