#pragma once
// A hostile HTTP server on 127.0.0.1: every request gets a body that never ends, either
// trickled a byte at a time or sent as fast as the client takes it.
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class EndlessServer {
  public:
    enum class Pace { Trickle, Flood };
    explicit EndlessServer(Pace pace) : pace_(pace) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            ::listen(fd_, 8) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len))
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~EndlessServer() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0)
            ::close(fd_);
    }
    quint16 port() const { return port_; }
    // Body bytes the clients took, over all requests.
    long long sent() const { return sent_; }
    int requests() const { return requests_; }

  private:
    bool readable(int fd, int ms) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }
    void run() {
        while (!stop_) {
            if (!readable(fd_, 50))
                continue;
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                continue;
            ++requests_;
            serve(c);
            ::close(c);
        }
    }
    void serve(int c) {
        const char head[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
        if (::send(c, head, sizeof head - 1, MSG_NOSIGNAL) < 0)
            return;
        const std::vector<char> chunk(64 * 1024, 'x');
        // Bounded so that a client that never gives up still lets the test end.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(40);
        char in[4096];
        while (!stop_ && std::chrono::steady_clock::now() < until) {
            while (readable(c, 0)) { // the request and any upload are read and dropped
                const ssize_t n = ::recv(c, in, sizeof in, 0);
                if (n <= 0)
                    return;
            }
            pollfd out{c, POLLOUT, 0};
            if (::poll(&out, 1, 50) <= 0)
                continue; // the client is not reading now
            const size_t want = pace_ == Pace::Trickle ? 1 : chunk.size();
            const ssize_t n = ::send(c, chunk.data(), want, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno == EAGAIN)
                continue;
            if (n <= 0)
                return;
            sent_ += n;
            if (pace_ == Pace::Trickle)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    Pace pace_;
    int fd_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> sent_{0};
    std::atomic<int> requests_{0};
};
