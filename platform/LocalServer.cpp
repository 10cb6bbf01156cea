// The Unix-domain socket server behind local services, with its poll loop.
#include "platform/LocalServer.h"

#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <optional>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qv {
namespace {

constexpr size_t kReadChunk = 4096;
constexpr size_t kCompactAfter = 64 * 1024;

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// True when a server accepts connections at the path.
bool SomeoneListens(const sockaddr_un& address)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answered;
}

bool Fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Clears a socket left by a server that has gone; refuses anything else at the path.
bool ClearStalePath(const std::string& path, const sockaddr_un& address, std::string* error)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || Fail(error, SystemError("cannot inspect the socket path"));
    if (!S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid())
        return Fail(error, "the socket path is taken by something else: " + path);
    if (SomeoneListens(address))
        return Fail(error, "another server is running at " + path);
    if (::unlink(path.c_str()) != 0)
        return Fail(error, SystemError("cannot remove the old socket"));
    return true;
}

} // namespace

bool LineFramer::feed(const char* data, size_t size, std::vector<std::string>& out)
{
    if (failed_)
        return false;
    const char* end = data + size;
    while (data < end) {
        const char* newline = static_cast<const char*>(std::memchr(data, '\n', size_t(end - data)));
        const char* stop = newline ? newline : end;
        if (partial_.size() + size_t(stop - data) > max_) {
            failed_ = true;
            partial_.clear();
            return false;
        }
        partial_.append(data, stop);
        if (!newline)
            break;
        if (!partial_.empty() && partial_.back() == '\r')
            partial_.pop_back();
        out.push_back(std::move(partial_));
        partial_.clear();
        data = newline + 1;
    }
    return true;
}

LocalServer::LocalServer(LocalServerLimits limits, std::function<void()> notify)
    : limits_(limits), notify_(std::move(notify))
{
}

LocalServer::~LocalServer() { stop(); }

bool LocalServer::start(const std::string& path, std::string* error)
{
    if (running())
        return Fail(error, "the server is already running");
    sockaddr_un address;
    if (!FillAddress(path, address))
        return Fail(error, "the socket path is empty or too long: " + path);
    if (!ClearStalePath(path, address, error))
        return false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Fail(error, SystemError("cannot make a socket"));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::string reason = SystemError("cannot bind the socket");
        ::close(fd);
        return Fail(error, reason);
    }
    int pipeFds[2];
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 64) != 0 || ::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
        std::string reason = SystemError("cannot listen");
        ::close(fd);
        ::unlink(path.c_str());
        return Fail(error, reason);
    }
    listenFd_ = fd;
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    path_ = path;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void LocalServer::stop()
{
    if (!running())
        return;
    stopping_ = true;
    wake();
    thread_.join();
    std::lock_guard lock(mutex_);
    for (auto& [id, client] : clients_)
        ::close(client.fd);
    clients_.clear();
    events_.clear();
    notifyDue_ = false;
    for (int* fd : {&listenFd_, &wakeRead_, &wakeWrite_}) {
        ::close(*fd);
        *fd = -1;
    }
    ::unlink(path_.c_str());
}

std::vector<LocalServerEvent> LocalServer::takeEvents()
{
    std::vector<LocalServerEvent> taken;
    bool resume = false;
    {
        std::lock_guard lock(mutex_);
        taken.assign(std::make_move_iterator(events_.begin()), std::make_move_iterator(events_.end()));
        events_.clear();
        notifyDue_ = false;
        for (const LocalServerEvent& e : taken) {
            if (e.kind != LocalServerEvent::Line)
                continue;
            auto it = clients_.find(e.client);
            if (it != clients_.end() && it->second.queuedLines > 0) {
                --it->second.queuedLines;
                resume = true;
            }
        }
    }
    // A client paused at its line limit is read again.
    if (resume)
        wake();
    return taken;
}

void LocalServer::send(uint64_t id, std::string_view bytes)
{
    {
        std::lock_guard lock(mutex_);
        auto it = clients_.find(id);
        if (it == clients_.end() || it->second.closing || it->second.dead)
            return;
        Client& client = it->second;
        if (client.out.size() - client.outSent + bytes.size() > limits_.maxOutput) {
            client.dead = true;
            client.out.clear();
            client.outSent = 0;
        } else {
            client.out.append(bytes);
        }
    }
    wake();
}

void LocalServer::closeAfterSending(uint64_t id)
{
    {
        std::lock_guard lock(mutex_);
        auto it = clients_.find(id);
        if (it == clients_.end())
            return;
        it->second.closing = true;
    }
    wake();
}

size_t LocalServer::clientCount() const
{
    std::lock_guard lock(mutex_);
    return clients_.size();
}

size_t LocalServer::queuedEventCount() const
{
    std::lock_guard lock(mutex_);
    return events_.size();
}

void LocalServer::wake()
{
    if (wakeWrite_ < 0)
        return;
    char byte = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = ::write(wakeWrite_, &byte, 1);
}

void LocalServer::pushEvent(LocalServerEvent event)
{
    if (events_.empty())
        notifyDue_ = true;
    events_.push_back(std::move(event));
}

bool LocalServer::finished(const Client& client) const
{
    if (client.dead)
        return true;
    return client.closing && client.outSent == client.out.size();
}

void LocalServer::run()
{
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    while (!stopping_) {
        fds.clear();
        ids.clear();
        fds.push_back({wakeRead_, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        int wait = -1;
        {
            std::lock_guard lock(mutex_);
            wait = closeSilent();
            for (auto& [id, client] : clients_) {
                short events = 0;
                if (!client.eof && !client.closing && !client.framer.failed() &&
                    client.queuedLines < limits_.maxQueuedLines)
                    events |= POLLIN;
                if (client.outSent < client.out.size())
                    events |= POLLOUT;
                // A socket polled for nothing would still report a hang-up at once, over and over.
                if (events == 0)
                    continue;
                fds.push_back({client.fd, events, 0});
                ids.push_back(id);
            }
        }
        if (::poll(fds.data(), fds.size(), wait) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            char drain[256];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (fds[1].revents & POLLIN)
            acceptClients();
        bool notify = false;
        {
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < ids.size(); ++i) {
                auto it = clients_.find(ids[i]);
                if (it == clients_.end())
                    continue;
                short revents = fds[i + 2].revents;
                if (revents & (POLLIN | POLLHUP | POLLERR))
                    readClient(ids[i], it->second);
                if (revents & POLLOUT)
                    writeClient(it->second);
            }
            for (auto it = clients_.begin(); it != clients_.end();) {
                if (!finished(it->second)) {
                    ++it;
                    continue;
                }
                ::close(it->second.fd);
                pushEvent({LocalServerEvent::Closed, it->first, {}});
                it = clients_.erase(it);
            }
            notify = notifyDue_;
            notifyDue_ = false;
        }
        if (notify && notify_)
            notify_();
    }
}

void LocalServer::acceptClients()
{
    for (;;) {
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        std::lock_guard lock(mutex_);
        if (!makeRoom()) {
            ::close(fd);
            continue;
        }
        uint64_t id = nextId_++;
        clients_.try_emplace(id, fd, limits_.maxLine);
        pushEvent({LocalServerEvent::Connected, id, {}});
    }
}

bool LocalServer::makeRoom()
{
    if (roomFor())
        return true;
    // A burst of connections is accepted before their first lines are read: a client whose line is
    // already waiting is no idle one, so the silent are read before the oldest of them gives way.
    for (auto& [id, client] : clients_)
        if (!client.dead && !client.spoke)
            readClient(id, client);
    if (roomFor())
        return true;
    for (auto& entry : clients_)
        if (!entry.second.dead && !entry.second.spoke) {
            entry.second.dead = true;
            return true;
        }
    return false;
}

bool LocalServer::roomFor() const
{
    size_t live = 0, silent = 0;
    for (const auto& entry : clients_) {
        if (entry.second.dead)
            continue;
        ++live;
        silent += entry.second.spoke ? 0 : 1;
    }
    return live < limits_.maxClients && silent < limits_.maxSilent;
}

int LocalServer::closeSilent()
{
    const auto now = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::time_point> next;
    bool closed = false;
    for (auto& [id, client] : clients_) {
        if (client.spoke || client.dead)
            continue;
        const auto due = client.connected + limits_.silentTimeout;
        if (due <= now)
            closed = client.dead = true;
        else if (!next || due < *next)
            next = due;
    }
    // A connection just closed is cleared after the poll, which must not wait for it.
    if (closed)
        return 0;
    if (!next)
        return -1;
    // Rounded up, so that the wait never ends just before the time.
    return int(std::chrono::ceil<std::chrono::milliseconds>(*next - now).count());
}

void LocalServer::readClient(uint64_t id, Client& client)
{
    if (client.eof || client.closing || client.framer.failed())
        return;
    char buffer[kReadChunk];
    ssize_t n = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            client.dead = true;
        return;
    }
    if (n == 0) {
        // What was left of an unfinished line is not a request.
        client.eof = true;
        pushEvent({LocalServerEvent::Ended, id, {}});
        return;
    }
    std::vector<std::string> lines;
    bool ok = client.framer.feed(buffer, size_t(n), lines);
    for (std::string& line : lines) {
        client.spoke = true;
        ++client.queuedLines;
        pushEvent({LocalServerEvent::Line, id, std::move(line)});
    }
    if (!ok)
        pushEvent({LocalServerEvent::LineTooLong, id, {}});
}

void LocalServer::writeClient(Client& client)
{
    while (client.outSent < client.out.size()) {
        ssize_t n = ::send(client.fd, client.out.data() + client.outSent, client.out.size() - client.outSent,
                           MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                client.dead = true;
            // What was sent is dropped from the front, so a slow reader's buffer never holds more
            // than the limit and one chunk.
            if (client.outSent >= kCompactAfter) {
                client.out.erase(0, client.outSent);
                client.outSent = 0;
            }
            return;
        }
        client.outSent += size_t(n);
    }
    client.out.clear();
    client.outSent = 0;
}

std::string LocalServerPath(std::string_view name)
{
    std::optional<std::filesystem::path> folder = PrivateRuntimeFolder();
    return folder ? (*folder / std::string(name)).string() : std::string();
}

} // namespace qv
