// A local stream server on a Unix-domain socket: clients send lines, the owner answers with bytes.
// A poll loop on its own thread does all socket work; the owner takes events on its own thread
// (woken by a callback) and queues replies, so no socket call ever blocks the user interface.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qv {

// Splits a byte stream into lines ended by "\n" (a "\r" before it is dropped). A line longer than
// the limit fails the framer for good: nothing after it can be trusted to start a line.
class LineFramer {
public:
    explicit LineFramer(size_t maxLine) : max_(maxLine) {}
    // Appends bytes and moves complete lines to `out`; false once a line is too long.
    bool feed(const char* data, size_t size, std::vector<std::string>& out);
    bool failed() const { return failed_; }
    // Bytes of the line not yet ended.
    size_t pending() const { return partial_.size(); }

private:
    std::string partial_;
    size_t max_;
    bool failed_ = false;
};

// Bounds that keep one client from taking more than its share of memory.
struct LocalServerLimits {
    size_t maxLine = 1024;               // bytes of one request line
    size_t maxClients = 256;             // further connections are closed at once
    size_t maxQueuedLines = 64;          // lines read but not yet taken; reading pauses there
    size_t maxOutput = 1024 * 1024;      // unsent reply bytes; a client that reads nothing is dropped
    // Connections that have not yet sent a whole line: past this many the oldest gives way to a
    // newcomer, and each is closed once silent this long after connecting, so that idle
    // connections never keep a client out.
    size_t maxSilent = 16;
    std::chrono::milliseconds silentTimeout{30000};
};

// Ended: the client sends nothing more; the owner answers the lines before it and then closes the
// connection (closeAfterSending), as only it knows when its answers are all queued.
struct LocalServerEvent {
    enum Kind { Connected, Line, LineTooLong, Ended, Closed };
    Kind kind = Connected;
    uint64_t client = 0; // never reused while the server lives
    std::string line;
};

class LocalServer {
public:
    // `notify` runs on the server's thread when events arrive in an empty queue.
    LocalServer(LocalServerLimits limits, std::function<void()> notify);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Binds and listens at `path` (mode 0600) and starts the thread. A socket left behind by a server
    // that has gone is replaced; false, with the reason, when another server answers there, when
    // the path is not a socket of this user, or when the system refuses.
    bool start(const std::string& path, std::string* error);
    // Closes every connection, removes the socket and joins the thread.
    void stop();
    bool running() const { return thread_.joinable(); }

    // Takes every waiting event, in the order they happened for each client.
    std::vector<LocalServerEvent> takeEvents();
    // Queues bytes for a client; dropped when it has gone. A client whose unsent bytes would pass
    // the limit is disconnected.
    void send(uint64_t client, std::string_view bytes);
    // Closes the connection once its queued bytes are sent; it reads nothing more.
    void closeAfterSending(uint64_t client);

    size_t clientCount() const;
    size_t queuedEventCount() const;

private:
    struct Client {
        Client(int socket, size_t maxLine) : fd(socket), framer(maxLine) {}
        int fd;
        std::chrono::steady_clock::time_point connected = std::chrono::steady_clock::now();
        bool spoke = false;   // a whole line has come
        LineFramer framer;
        std::string out;
        size_t outSent = 0;
        size_t queuedLines = 0;
        bool eof = false;     // the peer sends nothing more
        bool closing = false; // close once the output is sent
        bool dead = false;    // close now
    };

    void run();
    void acceptClients();
    // Makes room for a newcomer among the silent connections; false when the server is full of
    // clients that have spoken.
    bool makeRoom();
    bool roomFor() const;
    // Closes silent connections past their time; the poll's wait until the next one is due (-1: none).
    int closeSilent();
    void readClient(uint64_t id, Client& client);
    void writeClient(Client& client);
    bool finished(const Client& client) const;
    void pushEvent(LocalServerEvent event);
    void wake();

    LocalServerLimits limits_;
    std::function<void()> notify_;
    mutable std::mutex mutex_;
    std::map<uint64_t, Client> clients_;
    std::deque<LocalServerEvent> events_;
    bool notifyDue_ = false;
    uint64_t nextId_ = 1;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string path_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// The socket path of a local service: the name in the user's own runtime folder
// (PrivateRuntimeFolder); empty, so that no server starts, when there is none.
std::string LocalServerPath(std::string_view name);

} // namespace qv
