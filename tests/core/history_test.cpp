// The undo history on its own: packing, the three kinds of step, the budget.
#include "paint/history.h"

#include "base/windowidle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <thread>

namespace {
// Runs, single words and noise: every kind of token the packer writes.
QImage mixed(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = y % 3 == 0  ? qRgb(255, 255, 255)
                     : x % 7 < 2 ? QRgb(rng()) | 0xFF000000u
                                 : qRgb(x / 7, y, 9);
    }
    return img;
}

TEST(PackPixels, RoundTripsAndXorsExactlyInAnyRectangle) {
    const QImage a = mixed(97, 61, 1), b = mixed(97, 61, 2);
    for (const QRect r : {a.rect(), QRect(0, 0, 1, 1), QRect(13, 5, 40, 1), QRect(96, 0, 1, 61),
                          QRect(10, 20, 55, 33)}) {
        SCOPED_TRACE(r.x() * 1000 + r.y());
        QImage out(a.size(), QImage::Format_RGB32);
        out.fill(0);
        ASSERT_TRUE(unpackPixels(out, r, packPixels(a, r), false));
        EXPECT_EQ(out.copy(r), a.copy(r));
        // The difference turns a into b inside r and back again; outside r nothing moves.
        QImage c = a;
        const QByteArray diff = packPixels(b, r, &a);
        ASSERT_TRUE(unpackPixels(c, r, diff, true));
        EXPECT_EQ(c.copy(r), b.copy(r));
        if (r != a.rect()) {
            const QPoint outside(r.right() == 96 ? 0 : 96, 0);
            EXPECT_EQ(c.pixel(outside), a.pixel(outside));
        }
        ASSERT_TRUE(unpackPixels(c, r, diff, true));
        EXPECT_EQ(c, a);
    }
}

TEST(PackPixels, BytesThatDoNotFitAreRefused) {
    const QImage a = mixed(40, 30, 3);
    const QByteArray packed = packPixels(a, a.rect());
    QImage out(40, 30, QImage::Format_RGB32);
    EXPECT_FALSE(unpackPixels(out, QRect(0, 0, 40, 29), packed, false)); // too many pixels
    EXPECT_FALSE(unpackPixels(out, QRect(0, 0, 40, 31), packed, false)); // outside the image
    EXPECT_FALSE(unpackPixels(out, a.rect(), packed.left(packed.size() / 2), false));
    EXPECT_FALSE(unpackPixels(out, a.rect(), QByteArray("not packed at all"), false));
    // Fewer pixels than the rectangle holds, at every size short of it.
    for (int h = 1; h < 30; h += 7)
        EXPECT_FALSE(unpackPixels(out, a.rect(), packPixels(a, QRect(0, 0, 40, h)), false)) << h;
    EXPECT_TRUE(packPixels(a, QRect(0, 0, 41, 30)).isEmpty());
}

// A zstd frame whose header declares `declared` bytes, holding a few raw ones.
QByteArray frameDeclaring(quint64 declared) {
    QByteArray f("\x28\xB5\x2F\xFD\xE0", 5); // magic; an 8-byte content size, one segment
    for (int i = 0; i < 8; ++i)
        f.append(char(declared >> (8 * i)));
    const int body = 16;
    const quint32 block = quint32(body) << 3 | 1; // raw, last
    f.append(char(block)).append(char(block >> 8)).append(char(block >> 16));
    return f.append(QByteArray(body, '\x01'));
}

long peakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

TEST(PackPixels, FramesDeclaringMoreThanTheRectangleAreRefusedBeforeAllocating) {
    QImage out(16, 16, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QImage before = out;
    for (quint64 declared : {quint64(1) << 30, quint64(1) << 34, quint64(1) << 40}) {
        const long peak = peakKilobytes();
        EXPECT_FALSE(unpackPixels(out, out.rect(), frameDeclaring(declared), false)) << declared;
        // Allocating what the frame declares would raise the peak by a gigabyte or more.
        ASSERT_LT(peakKilobytes() - peak, 64 * 1024) << declared;
    }
    EXPECT_EQ(out, before);
}

PageState state(int w, int h, unsigned seed, int index) {
    QImage lines(w, h, QImage::Format_RGB32);
    lines.fill(Qt::white);
    for (int x = 0; x < w; ++x)
        lines.setPixel(x, h / 2, qRgb(0, 0, 0));
    QImage picture = mixed(w, h, seed);
    for (int x = 0; x < w; ++x)
        picture.setPixel(x, h / 2, qRgb(0, 0, 0));
    return {picture, OutlineMask(lines, OutlineMask::Ink::PureBlack), index, {}};
}

TEST(PageHistory, EditsReplacementsAndTurnsGoBothWays) {
    PageHistory history;
    PageState page = state(50, 40, 4, 3);
    const PageState first = page;

    // An edit: only what the tool wrote.
    history.begin(page.picture);
    for (int x = 5; x < 20; ++x)
        page.picture.setPixel(x, 7, qRgb(1, 2, 3));
    history.touch(QRect(5, 7, 15, 1));
    ASSERT_TRUE(history.end(page.picture));
    const QImage edited = page.picture.copy();

    // A new page of another size, with its own lines and catalogue page.
    history.recordReplace(page);
    page = state(30, 60, 5, 7);
    const PageState second = page;

    // A half turn.
    history.recordHalfTurn();
    page.picture = page.picture.mirrored(true, true);
    page.outline.halfTurn();
    const QImage turned = page.picture.copy();
    ASSERT_EQ(history.undoCount(), 3u);

    ASSERT_TRUE(history.undo(page));
    EXPECT_EQ(page.picture, second.picture);
    ASSERT_EQ(history.undo(page), QRect());
    EXPECT_EQ(page.picture, edited);
    EXPECT_EQ(page.pageIndex, 3);
    EXPECT_EQ(page.outline.linesImage(), first.outline.linesImage());
    EXPECT_EQ(history.undo(page), QRect(5, 7, 15, 1));
    EXPECT_EQ(page.picture, first.picture);
    EXPECT_FALSE(history.undo(page));

    ASSERT_TRUE(history.redo(page));
    EXPECT_EQ(page.picture, edited);
    ASSERT_TRUE(history.redo(page));
    EXPECT_EQ(page.picture, second.picture);
    EXPECT_EQ(page.pageIndex, 7);
    EXPECT_EQ(page.outline.linesImage(), second.outline.linesImage());
    ASSERT_TRUE(history.redo(page));
    EXPECT_EQ(page.picture, turned);
    EXPECT_FALSE(history.redo(page));
}

TEST(PageHistory, AnUntouchedOrUnchangedEditIsNoStep) {
    PageHistory history;
    QImage page = mixed(20, 20, 6);
    history.begin(page);
    history.touch(QRect(0, 0, 5, 5));
    EXPECT_FALSE(history.end(page)); // never written
    history.begin(page);
    page.setPixel(2, 2, page.pixel(2, 2)); // written, same value
    history.touch(QRect(2, 2, 1, 1));
    EXPECT_FALSE(history.end(page));
    EXPECT_FALSE(history.canUndo());
}

// The window's tests hold the budget over many steps; here, its edge: a step bigger than the
// whole budget still stays, so the child's last change is always undoable.
TEST(PageHistory, TheNewestStepStaysWhateverItCosts) {
    QImage page = mixed(64, 64, 7);
    PageHistory tiny(1);
    for (unsigned i = 0; i < 3; ++i) {
        tiny.begin(page);
        page = mixed(64, 64, 100 + i);
        tiny.touch(page.rect());
        ASSERT_TRUE(tiny.end(page));
    }
    EXPECT_EQ(tiny.undoCount(), 1u);
    PageState state{page, {}, 0, {}};
    ASSERT_TRUE(tiny.undo(state));
    EXPECT_EQ(state.picture, mixed(64, 64, 101));
}

TEST(PageHistory, AStepThatNoLongerFitsThePageEndsTheHistory) {
    PageHistory history;
    QImage page = mixed(40, 40, 8);
    history.begin(page);
    page.setPixel(30, 30, 0);
    history.touch(QRect(30, 30, 1, 1));
    ASSERT_TRUE(history.end(page));
    PageState smaller{mixed(20, 20, 9), {}, 0, {}};
    const QImage kept = smaller.picture.copy();
    EXPECT_FALSE(history.undo(smaller));
    EXPECT_EQ(smaller.picture, kept);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.bytes(), 0u);
}

// Packing runs behind the page: the page is written again, the history moved, another edit
// made before the worker is done, and every step still goes back exactly.
TEST(PageHistory, StepsStillBeingPackedAreExact) {
    const int w = 1280, h = 720;
    QImage page = mixed(w, h, 10);
    const QImage start = page.copy();
    PageHistory history;
    // An edit of every pixel, and another of a band at once, on the same page.
    history.begin(page);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] ^= QRgb(x * 31 + y * 17) & 0xFFFFFF;
    }
    history.touch(page.rect());
    ASSERT_TRUE(history.end(page));
    const QImage first = page.copy();
    history.begin(page);
    for (int y = 100; y < 300; ++y)
        for (int x = 0; x < w; ++x)
            page.setPixel(x, y, qRgb(1, 2, y));
    history.touch(QRect(0, 100, w, 200));
    ASSERT_TRUE(history.end(page));
    const QImage second = page.copy();
    // A new page over it, packed whole behind the page too.
    history.recordReplace({page, {}, 4, {}});
    PageState state{mixed(w, h, 11), {}, 5, {}};
    const QImage replaced = state.picture.copy();

    PageHistory moved(std::move(history));
    EXPECT_FALSE(history.canUndo());
    ASSERT_EQ(moved.undo(state), QRect());
    EXPECT_EQ(state.picture, second);
    EXPECT_EQ(state.pageIndex, 4);
    ASSERT_TRUE(moved.undo(state));
    EXPECT_EQ(state.picture, first);
    ASSERT_TRUE(moved.undo(state));
    EXPECT_EQ(state.picture, start);
    for (const QImage* want : {&first, &second, &replaced}) {
        ASSERT_TRUE(moved.redo(state));
        EXPECT_EQ(state.picture, *want);
    }
    EXPECT_EQ(moved.undoCount(), 3u);
    EXPECT_GT(moved.bytes(), 0u);
}

// A history that goes while its worker packs a whole page: the worker finishes and the
// memory goes with it (the sanitizer build sees a leak or a use after free).
TEST(PageHistory, GoesWhileAPageIsPacked) {
    auto history = std::make_unique<PageHistory>();
    QImage page = mixed(1920, 1080, 12);
    history->recordReplace({page, {}, 1, {}});
    history->begin(page);
    page.fill(Qt::red);
    history->touch(page.rect());
    EXPECT_TRUE(history->end(page));
    history.reset();
    EXPECT_EQ(page.pixel(0, 0), qRgb(255, 0, 0));
}
// Packing waits for the window's next idle turn, but the window never waits on it: a
// history used with no event loop turning (each edit waits for the last one's packing) takes
// no longer than without the waiting, and stays exact.
TEST(PageHistory, PackingWaitsForTheWindowToGoIdleButNeverHoldsItUp) {
    using namespace std::chrono;
    windowidle::enable(true);
    std::atomic<bool> started{false};
    const auto t0 = steady_clock::now();
    std::thread worker([&, ticket = windowidle::ticket()] {
        windowidle::waitAfter(ticket, 20000);
        started = true;
    });
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_FALSE(started.load());
    windowidle::markIdle();
    worker.join();
    EXPECT_LT(steady_clock::now() - t0, seconds(10)); // woken, not timed out

    QImage page = mixed(300, 200, 13);
    const QImage start = page.copy();
    PageHistory history;
    const auto t1 = steady_clock::now();
    for (int i = 0; i < 30; ++i) {
        history.begin(page);
        page.setPixel(i, i, qRgb(i, 0, 0));
        history.touch(QRect(i, i, 1, 1));
        ASSERT_TRUE(history.end(page));
    }
    EXPECT_EQ(history.undoCount(), 30u);
    // Each step held for the window's whole wait would take three seconds.
    EXPECT_LT(steady_clock::now() - t1, milliseconds(1500));
    PageState state{page, {}, 0, {}};
    while (history.undo(state))
        ;
    EXPECT_EQ(state.picture, start);
    windowidle::enable(false);
}
// A new page's copy is taken by the worker, held here until the window goes idle: an edit
// made before the copy, one on a page replaced again meanwhile, and one after a half turn
// that changed the page some other way are each recorded exactly.
TEST(PageHistory, AMirrorTakenAheadStillRecordsTheFirstEditExactly) {
    windowidle::enable(true);
    const auto edit = [](PageHistory& h, QImage& page, int seed) {
        h.begin(page);
        for (int y = 10; y < 60; ++y)
            for (int x = 5; x < 200; ++x)
                page.setPixel(x, y, qRgb(seed, x % 256, y));
        h.touch(QRect(5, 10, 195, 50));
        return h.end(page);
    };
    PageHistory history;
    QImage first = mixed(320, 90, 21), second = mixed(320, 90, 22);
    history.mirrorAhead(first);
    history.mirrorAhead(second); // replaced before the first copy was taken
    const QImage secondBefore = second.copy();
    ASSERT_TRUE(edit(history, second, 7)); // written while the worker still holds it
    const QImage secondAfter = second.copy();

    QImage third = mixed(320, 90, 23);
    history.mirrorAhead(third);
    const QImage thirdBefore = third.mirrored(true, true);
    third = third.mirrored(true, true); // changed without an edit: the mirror is stale
    ASSERT_TRUE(edit(history, third, 9));

    PageState shown{third, {}, 0, {}};
    ASSERT_TRUE(history.undo(shown));
    EXPECT_EQ(shown.picture, thirdBefore);
    shown.picture = secondAfter;
    ASSERT_TRUE(history.undo(shown));
    EXPECT_EQ(shown.picture, secondBefore);
    windowidle::enable(false);
}
} // namespace
