// The grown-ups' gate, its one-minute lock, and the catalogue's page pictures.
#include "base/parentgate.h"
#include "library/thumbnail.h"

#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

TEST(ParentGate, QuestionsAreFreshWordsOverShuffledDigits) {
    std::mt19937 rng(7);
    std::set<QString> asked;
    std::set<std::array<int, 10>> orders;
    for (int i = 0; i < 40; ++i) {
        const GateQuestion q = GateQuestion::random(rng);
        std::array<int, 10> sorted = q.order;
        std::sort(sorted.begin(), sorted.end());
        for (int d = 0; d < 10; ++d)
            ASSERT_EQ(sorted[size_t(d)], d); // every digit has exactly one button
        EXPECT_EQ(std::set<int>(q.digits.begin(), q.digits.end()).size(), 3u);
        // Written in words only: no figure a child could match by sight.
        EXPECT_FALSE(q.words().contains(QRegularExpression(QStringLiteral("[0-9]"))));
        asked.insert(q.words());
        orders.insert(q.order);
    }
    EXPECT_GT(asked.size(), 30u);
    EXPECT_GT(orders.size(), 30u);
    GateQuestion q;
    q.digits = {7, 2, 9};
    EXPECT_EQ(q.words(), QStringLiteral("seven, two, nine"));
}

TEST(ParentGate, RightDigitsPassAndThirdWrongPressFails) {
    GateQuestion q;
    q.digits = {7, 2, 9};
    GateAttempt ok(q);
    EXPECT_EQ(ok.press(7), GateAttempt::State::Waiting);
    EXPECT_EQ(ok.press(3), GateAttempt::State::Waiting); // one slip is forgiven
    EXPECT_EQ(ok.press(2), GateAttempt::State::Waiting);
    EXPECT_EQ(ok.press(9), GateAttempt::State::Passed);
    EXPECT_EQ(ok.press(1), GateAttempt::State::Passed);

    GateAttempt mashing(q);
    EXPECT_EQ(mashing.press(2), GateAttempt::State::Waiting);
    EXPECT_EQ(mashing.press(2), GateAttempt::State::Waiting);
    EXPECT_EQ(mashing.press(7), GateAttempt::State::Waiting);
    EXPECT_EQ(mashing.press(7), GateAttempt::State::Failed);
    EXPECT_EQ(mashing.press(2), GateAttempt::State::Failed); // a closed gate stays closed
    EXPECT_EQ(mashing.press(9), GateAttempt::State::Failed);
}

TEST(ParentGate, LockStaysOpenForOneMinute) {
    ParentLock lock;
    qint64 t = 1000;
    lock.now = [&t] { return t; };
    EXPECT_FALSE(lock.isOpen());
    lock.open();
    t += 59'999;
    EXPECT_TRUE(lock.isOpen());
    t += 1;
    EXPECT_FALSE(lock.isOpen());
    lock.open();
    lock.close();
    EXPECT_FALSE(lock.isOpen());
}

TEST(Thumbnail, KeepsThinOutlinesAndFillsTheLongSide) {
    // A wide page with one-pixel outlines a plain reduction would drop.
    QImage page(1000, 700, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(100, 100, 300, 300);
    p.drawLine(0, 601, 999, 601);
    p.end();
    const QImage t = makeThumbnail(page);
    ASSERT_EQ(t.size(), QSize(kThumbnailSide, kThumbnailSide));
    // Left to right the page spans the whole square; it is centred top to bottom.
    auto black = [&](int x, int y) { return (t.pixel(x, y) & 0xFFFFFF) == 0; };
    int firstRow = -1, lastRow = -1;
    for (int y = 0; y < t.height(); ++y)
        if (black(0, y) || black(95, y)) {
            if (firstRow < 0)
                firstRow = y;
            lastRow = y;
        }
    ASSERT_GE(firstRow, 0) << "the long line reaches both ends";
    EXPECT_EQ(firstRow, lastRow);
    for (int x = 0; x < kThumbnailSide; ++x)
        EXPECT_TRUE(black(x, firstRow)) << x; // the line is unbroken
    // The square's outline stays closed: its left edge is black all the way down.
    const int left = 100 * 96 / 1000;
    int edge = 0;
    for (int y = 0; y < t.height(); ++y)
        edge += black(left, y);
    EXPECT_GE(edge, 300 * 96 / 1000);
    EXPECT_TRUE(makeThumbnail(QImage()).isNull());
}

TEST(Thumbnail, FriendlyArchiveNames) {
    EXPECT_EQ(friendlyArchiveName(QStringLiteral("animals.pak")), QStringLiteral("Animals"));
    EXPECT_EQ(friendlyArchiveName(QStringLiteral("sea_world.PAK")), QStringLiteral("Sea world"));
    EXPECT_EQ(friendlyArchiveName(QStringLiteral("my-toys.pak")), QStringLiteral("My toys"));
    EXPECT_EQ(friendlyArchiveName(QStringLiteral(".pak")), QStringLiteral(".pak"));
}
