// The DDE socket client: line and byte reads over a non-blocking socket with deadlines.
#include "devtools/lib/DdeClient.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace qv::dev {
namespace {

constexpr size_t kMaxValueBytes = 1 << 20;

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : int(left.count());
}

std::chrono::steady_clock::time_point After(int timeoutMs)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

bool ParseCount(std::string_view text, size_t& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    out = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + size_t(c - '0');
    }
    return out <= kMaxValueBytes;
}

} // namespace

DdeClient::~DdeClient() { close(); }

bool DdeClient::open(const std::string& path, std::string* error)
{
    close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        if (error)
            *error = "socket path too long";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (error)
            *error = std::string("cannot connect to ") + path + ": " + std::strerror(errno);
        close();
        return false;
    }
    return true;
}

void DdeClient::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    in_.clear();
    advises_.clear();
}

bool DdeClient::sendRaw(std::string_view bytes)
{
    while (fd_ >= 0 && !bytes.empty()) {
        ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(size_t(n));
    }
    return fd_ >= 0;
}

void DdeClient::finishSending()
{
    if (fd_ >= 0)
        ::shutdown(fd_, SHUT_WR);
}

bool DdeClient::fill(Deadline deadline)
{
    if (fd_ < 0)
        return false;
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
    if (ready == 0) {
        timedOut_ = true;
        return false;
    }
    if (ready < 0)
        return false;
    char buffer[4096];
    ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    in_.append(buffer, size_t(n));
    return true;
}

bool DdeClient::readLine(std::string& line, Deadline deadline)
{
    for (;;) {
        size_t newline = in_.find('\n');
        if (newline != std::string::npos) {
            line = in_.substr(0, newline);
            in_.erase(0, newline + 1);
            return true;
        }
        if (!fill(deadline))
            return false;
    }
}

bool DdeClient::readBytes(size_t n, std::string& out, Deadline deadline)
{
    while (in_.size() < n) {
        if (!fill(deadline))
            return false;
    }
    out = in_.substr(0, n);
    in_.erase(0, n);
    return true;
}

DdeReply DdeClient::readMessage(Deadline deadline)
{
    timedOut_ = false;
    DdeReply reply;
    std::string line;
    if (!readLine(line, deadline)) {
        reply.kind = timedOut_ ? DdeReply::Timeout : DdeReply::Closed;
        return reply;
    }
    if (line == "OK" || line == "NO") {
        reply.kind = line == "OK" ? DdeReply::Ok : DdeReply::No;
        return reply;
    }
    if (line.rfind("ERR ", 0) == 0) {
        reply.kind = DdeReply::Error;
        reply.text = line.substr(4);
        return reply;
    }
    size_t count = 0;
    if (line.rfind("DATA ", 0) == 0 && ParseCount(std::string_view(line).substr(5), count)) {
        reply.kind = readBytes(count, reply.data, deadline) ? DdeReply::Data : DdeReply::Closed;
        return reply;
    }
    if (line.rfind("ADVISE ", 0) == 0) {
        std::string_view rest = std::string_view(line).substr(7);
        size_t space = rest.find(' ');
        size_t itemEnd = space == std::string_view::npos ? space : rest.find(' ', space + 1);
        if (space != std::string_view::npos && itemEnd != std::string_view::npos &&
            ParseCount(rest.substr(0, space), count)) {
            DdeAdvise advise{std::string(rest.substr(space + 1, itemEnd - space - 1)), std::string(rest.substr(itemEnd + 1)),
                             {}};
            if (!readBytes(count, advise.data, deadline)) {
                reply.kind = DdeReply::Closed;
                return reply;
            }
            advises_.push_back(std::move(advise));
            reply.kind = DdeReply::Data;
            reply.text = "ADVISE";
            return reply;
        }
    }
    reply.kind = DdeReply::Garbled;
    reply.text = line;
    return reply;
}

DdeReply DdeClient::readReply(int timeoutMs)
{
    Deadline deadline = After(timeoutMs);
    for (;;) {
        DdeReply reply = readMessage(deadline);
        if (!(reply.kind == DdeReply::Data && reply.text == "ADVISE"))
            return reply;
    }
}

DdeReply DdeClient::call(std::string_view line, int timeoutMs)
{
    std::string request(line);
    request += '\n';
    if (!sendRaw(request))
        return DdeReply{};
    return readReply(timeoutMs);
}

std::optional<DdeAdvise> DdeClient::waitAdvise(int timeoutMs)
{
    Deadline deadline = After(timeoutMs);
    while (advises_.empty()) {
        DdeReply reply = readMessage(deadline);
        if (!(reply.kind == DdeReply::Data && reply.text == "ADVISE"))
            return std::nullopt;
    }
    DdeAdvise advise = std::move(advises_.front());
    advises_.pop_front();
    return advise;
}

std::string DdeText(const std::string& data)
{
    return data.substr(0, data.find('\0'));
}

} // namespace qv::dev
