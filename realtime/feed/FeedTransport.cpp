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

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

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

namespace {

// A non-blocking connect, waited for on the socket and the stop pipe; true when it completed.
bool ConnectWithin(int fd, const addrinfo& a, int stopFd, int timeoutMs)
{
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    bool done = connect(fd, a.ai_addr, a.ai_addrlen) == 0;
    if (!done && errno == EINPROGRESS) {
        pollfd fds[2] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        int n;
        while ((n = poll(fds, stopFd >= 0 ? 2 : 1, timeoutMs)) < 0 && errno == EINTR) {
        }
        int error = 0;
        socklen_t length = sizeof error;
        done = n > 0 && (fds[0].revents & POLLOUT) && !(fds[1].revents & POLLIN) &&
               getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    fcntl(fd, F_SETFL, flags);
    return done;
}

} // namespace

bool FeedTransport::Connect(const std::string& host, int port, int timeoutMs)
{
    Disconnect();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (port <= 0 || port > 65535 || getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    int connectedFd = -1;
    for (addrinfo* a = found; a && !stop_; a = a->ai_next) {
        int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        if (ConnectWithin(fd, *a, stopPipe_[0], timeoutMs)) {
            int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            // A server that stops reading cannot hold a sender for long.
            timeval sendLimit{5, 0};
            setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
            connectedFd = fd;
            break;
        }
        close(fd);
    }
    freeaddrinfo(found);
    std::lock_guard guard(sendMutex_);
    socket_ = connectedFd;
    connected_ = socket_ >= 0 && !stop_;
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
    // Under the lock the feed thread's Connect and Disconnect take, so that the socket shut is the
    // one open now, never a number the system has since handed to another file.
    std::lock_guard guard(sendMutex_);
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

FeedServer ChosenFeedServer(int attempt)
{
    if (const char* env = std::getenv("QV_FEED_SERVER")) {
        std::string text(env);
        size_t colon = text.rfind(':');
        if (colon != std::string::npos)
            return {text.substr(0, colon), PortFromText(text.substr(colon + 1)), 0};
        return {text, RealTimeServers::kDefaultPort, 0};
    }
    RealTimeServers servers = LoadRealTimeServers();
    std::vector<int> set;
    for (int i = 0; i < 3; ++i)
        if (!servers.addresses[size_t(i)].empty())
            set.push_back(i);
    if (set.empty())
        return {servers.addresses[0], servers.ports[0], 0};
    const int i = set[size_t(std::max(attempt, 0)) % set.size()];
    return {servers.addresses[size_t(i)], servers.ports[size_t(i)], i};
}

} // namespace qv
