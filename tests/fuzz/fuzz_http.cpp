// The gallery client's handling of what a server answers. Every connection libcurl opens,
// redirects included, is handed a socket whose other end already holds the next reply of
// the input and then ends, so no input can reach the network or wait for it. A request
// ends in an answer or in std::runtime_error (what the window reports), never in a crash,
// a hang or another exception, and every request sent carries the program's headers.
//
// Input: one byte choosing the announce GET (even) or the upload POST (odd), then the
// replies of successive connections separated by kNext.
#include "fuzz_support.h"

#include "share/core/gallery.h"
#include "share/core/http.h"

#include <cstring>
#include <curl/curl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr char kNext[] = "\r\n--next-connection--\r\n";

struct Server {
    std::vector<QByteArray> replies;
    size_t next = 0;
    std::vector<int> peers; // our ends, read afterwards for the requests
};

curl_socket_t openSocket(void* user, curlsocktype, curl_sockaddr*) {
    auto* server = static_cast<Server*>(user);
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return CURL_SOCKET_BAD;
    if (server->next < server->replies.size()) {
        const QByteArray& reply = server->replies[server->next];
        // Socket buffers hold far more than an input: a short write only cuts the reply.
        qsizetype off = 0;
        while (off < reply.size()) {
            const ssize_t n = ::send(sv[1], reply.constData() + off, size_t(reply.size() - off),
                                     MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n <= 0)
                break;
            off += n;
        }
    }
    ++server->next;
    ::shutdown(sv[1], SHUT_WR);
    server->peers.push_back(sv[1]);
    return sv[0];
}

int alreadyConnected(void*, curl_socket_t, curlsocktype) {
    return CURL_SOCKOPT_ALREADY_CONNECTED;
}

QByteArray drain(int fd) {
    QByteArray got;
    char buf[4096];
    ssize_t n;
    while ((n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT)) > 0)
        got.append(buf, n);
    return got;
}

void route(HttpClient& client, Server& server) {
    CURL* c = static_cast<CURL*>(client.handle());
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, openSocket);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &server);
    curl_easy_setopt(c, CURLOPT_SOCKOPTFUNCTION, alreadyConnected);
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    // Every host a redirect names resolves to the loopback address without a DNS query;
    // the socket above stands in for the connection.
    static curl_slist* anyHost = curl_slist_append(nullptr, "::127.0.0.1:");
    curl_easy_setopt(c, CURLOPT_CONNECT_TO, anyHost);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool post = data[0] & 1;
    Server server;
    const char* p = reinterpret_cast<const char*>(data + 1);
    const char* end = reinterpret_cast<const char*>(data + size);
    const size_t sepLen = sizeof kNext - 1;
    for (;;) {
        const void* hit = ::memmem(p, size_t(end - p), kNext, sepLen);
        const char* stop = hit ? static_cast<const char*>(hit) : end;
        server.replies.emplace_back(p, stop - p);
        if (!hit)
            break;
        p = stop + sepLen;
    }

    static const QString jpeg = [] {
        const uint8_t bytes[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 0xFF, 0xD9};
        return fuzz::writeFile(QStringLiteral("AbCdEfGhIj.jpg"), bytes, sizeof bytes);
    }();
    const QString base = QStringLiteral("http://127.0.0.1:8080");
    try {
        HttpClient client;
        route(client, server);
        if (post) {
            UploadFile file(jpeg);
            client.postFile(UploadUrl(base), "filename", file, jpeg, "image/jpeg");
        } else {
            client.get(AnnounceUrl(base, QStringLiteral("AbCdEfGhIj.jpg"),
                                   QStringLiteral("Маша & Co"), QStringLiteral("5")));
        }
    } catch (const std::runtime_error&) {
        // A failed request is reported to the user; it only must not be anything else.
    }

    const QByteArray agent = QByteArray("User-Agent: ") + HttpClient::kUserAgent + "\r\n";
    for (int fd : server.peers) {
        const QByteArray request = drain(fd);
        ::close(fd);
        // Nothing sent, or a TLS handshake after a redirect to https: no headers to see.
        if (request.isEmpty() || request.startsWith('\x16'))
            continue;
        FUZZ_CHECK(request.startsWith("GET ") || request.startsWith("POST "));
        const qsizetype headEnd = request.indexOf("\r\n\r\n");
        if (headEnd < 0)
            continue; // cut short: the connection ended while it was being sent
        const QByteArray head = request.left(headEnd + 2);
        FUZZ_CHECK(head.contains(agent));
        FUZZ_CHECK(head.contains("Accept-Language: ru\r\n"));
    }
    return 0;
}
