// The gallery client's handling of what a server answers. Every connection libcurl makes,
// redirects included, goes to a local listener of this process, which puts the next
// reply of the input on it and ends it, so no input can reach the network or wait for it. A request
// ends in an answer or in std::runtime_error (what the window reports), never in a crash,
// a hang or another exception, and every request sent carries the program's headers.
//
// Input: one byte choosing the announce GET (even) or the upload POST (odd), then the
// replies of successive connections separated by kNext.
#include "fuzz_support.h"

#include "share/gallery.h"
#include "share/http.h"

#include <cstddef>
#include <cstring>
#include <curl/curl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr char kNext[] = "\r\n--next-connection--\r\n";

struct Server {
    std::vector<QByteArray> replies;
    size_t next = 0;
    std::vector<int> peers; // our ends, read afterwards for the requests
};

// A listener on a Unix socket of the abstract namespace that only this process connects to:
// no file, and none of the TCP handshake a loopback connection costs for every input.
const QByteArray& listenerName() {
    static const QByteArray name = "pictaro-fuzz-http-" + QByteArray::number(::getpid());
    return name;
}

int listener() {
    static const int fd = [] {
        const int l = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::memcpy(a.sun_path + 1, listenerName().constData(), size_t(listenerName().size()));
        const auto len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + listenerName().size());
        if (l < 0 || ::bind(l, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(l, 64) != 0) {
            std::perror("listener");
            std::abort();
        }
        return l;
    }();
    return fd;
}

// Accepts the connections libcurl has made so far and puts the next reply on each.
void serve(Server& server) {
    int peer;
    while ((peer = ::accept4(listener(), nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        if (server.next < server.replies.size()) {
            const QByteArray& reply = server.replies[server.next];
            // Socket buffers hold far more than an input: a short write only cuts the reply.
            qsizetype off = 0;
            while (off < reply.size()) {
                const ssize_t n = ::send(peer, reply.constData() + off, size_t(reply.size() - off),
                                         MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                off += n;
            }
        }
        ++server.next;
        ::shutdown(peer, SHUT_WR);
        server.peers.push_back(peer);
    }
}

// libcurl calls this once a connection is made and before the request goes out, so the
// reply is in place before it waits for one.
int beforeRequest(void* user, char*, char*, int, int) {
    serve(*static_cast<Server*>(user));
    return CURL_PREREQFUNC_OK;
}

// A redirect to https connects and then sets up TLS, waiting for the server's hello before
// the request: the reply (whatever its bytes) goes out when the TLS context is made.
CURLcode beforeTls(CURL*, void*, void* user) {
    serve(*static_cast<Server*>(user));
    return CURLE_OK;
}

int onDebug(CURL*, curl_infotype, char* text, size_t size, void*) {
    std::fwrite(text, 1, size, stderr);
    return 0;
}

void route(HttpClient& client, Server& server) {
    CURL* c = static_cast<CURL*>(client.handle());
    if (qEnvironmentVariableIsSet("FUZZ_HTTP_VERBOSE")) {
        curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, onDebug);
    }
    curl_easy_setopt(c, CURLOPT_PREREQFUNCTION, beforeRequest);
    curl_easy_setopt(c, CURLOPT_PREREQDATA, &server);
    curl_easy_setopt(c, CURLOPT_SSL_CTX_FUNCTION, beforeTls);
    curl_easy_setopt(c, CURLOPT_SSL_CTX_DATA, &server);
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    // Every host and port a redirect names goes to the listener, without a DNS query.
    listener();
    curl_easy_setopt(c, CURLOPT_ABSTRACT_UNIX_SOCKET, listenerName().constData());
}
QByteArray drain(int fd) {
    QByteArray got;
    char buf[4096];
    ssize_t n;
    while ((n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT)) > 0)
        got.append(buf, n);
    return got;
}
} // namespace

extern "C" void* __libc_malloc(size_t);
extern "C" void __libc_free(void*);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_calloc(size_t, size_t);

// libcurl is not instrumented, and ASan's allocator made up a third of each input's time
// in its many small allocations: it gets the C library's own, and a count of what it holds
// instead, which must fall back to where it was once the client is gone (a leaked form,
// header list or handle).
namespace {
long curlBlocks = 0;

void* curlMalloc(size_t n) {
    void* p = __libc_malloc(n);
    curlBlocks += p != nullptr;
    return p;
}
void curlFree(void* p) {
    curlBlocks -= p != nullptr;
    __libc_free(p);
}
void* curlRealloc(void* p, size_t n) {
    void* q = __libc_realloc(p, n);
    if (!p)
        curlBlocks += q != nullptr;
    else if (n == 0 && !q)
        --curlBlocks; // freed
    return q;
}
void* curlCalloc(size_t count, size_t n) {
    void* p = __libc_calloc(count, n);
    curlBlocks += p != nullptr;
    return p;
}
char* curlStrdup(const char* s) {
    const size_t n = std::strlen(s) + 1;
    auto* copy = static_cast<char*>(curlMalloc(n));
    if (copy)
        std::memcpy(copy, s, n);
    return copy;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    curl_global_init_mem(CURL_GLOBAL_DEFAULT, curlMalloc, curlFree, curlRealloc, curlStrdup,
                         curlCalloc);
    return 0;
}

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
    const long blocksBefore = curlBlocks;
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

    serve(server); // connections made but never reported: closed below with the rest
    FUZZ_CHECK(curlBlocks == blocksBefore);
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
