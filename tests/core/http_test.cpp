// The HTTP client against servers that never finish their answer.
#include "share/http.h"
#include "support/endless_server.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
QByteArray urlOf(const EndlessServer& s) {
    return "http://127.0.0.1:" + QByteArray::number(s.port()) + "/announce.php";
}
} // namespace

// A byte every 50 ms keeps any low-speed check content: only the total limit ends it.
TEST(Http, TrickledEndlessAnswerEndsAtTheTimeLimit) {
    EndlessServer server(EndlessServer::Pace::Trickle);
    ASSERT_NE(server.port(), 0);
    HttpClient client(1500);
    QElapsedTimer t;
    t.start();
    try {
        client.get(urlOf(server));
        ADD_FAILURE() << "an answer that never ends was taken as complete";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QByteArray(e.what()).contains("timed out")) << e.what();
    }
    EXPECT_LT(t.elapsed(), 1500 + 3000);
    EXPECT_GT(server.sent(), 0);
}

// A flood is read to the first megabyte only: that part is the answer, and the client
// hangs up instead of taking in gigabytes.
TEST(Http, FloodedAnswerStopsAtTheCap) {
    EndlessServer server(EndlessServer::Pace::Flood);
    ASSERT_NE(server.port(), 0);
    HttpClient client;
    const QByteArray answer = client.get(urlOf(server));
    EXPECT_EQ(answer.size(), 1 << 20);
    EXPECT_EQ(answer.count('x'), answer.size());
    EXPECT_LT(server.sent(), 32LL << 20); // the cap plus what the sockets buffered
}
