#include "paint/history.h"

#include "base/windowidle.h"
#include "paint/pagebitmap.h"
#include "paint/pixelpool.h"
#include "paint/rotate.h"

#include <zstd.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {
// A token is a header word: with the top bit set, a run of (header & kCount) copies of the
// word after it; otherwise that many words follow as they are.
constexpr quint32 kRun = 0x80000000u;
constexpr quint32 kCount = 0x7FFFFFFFu;
constexpr quint32 kMinRun = 3; // shorter runs cost less as words
// A fast level: the worker keeps up with a child's taps, and undo waits for it. Past the runs,
// a step is mostly repeats of a texture's tile, which any level finds.
constexpr int kZstdLevel = 1;

// One context of each kind a thread, kept: a fresh one allocates its tables and window for
// every step packed or unpacked.
struct ZstdContexts {
    ZSTD_CCtx* c = ZSTD_createCCtx();
    ZSTD_DCtx* d = ZSTD_createDCtx();
    ~ZstdContexts() {
        ZSTD_freeCCtx(c);
        ZSTD_freeDCtx(d);
    }
};
ZstdContexts& zstd() {
    thread_local ZstdContexts contexts;
    return contexts;
}

QByteArray compress(const std::vector<quint32>& words) {
    const std::size_t size = words.size() * sizeof(quint32);
    if (!zstd().c)
        return {};
    QByteArray out(qsizetype(ZSTD_compressBound(size)), Qt::Uninitialized);
    const std::size_t n = ZSTD_compressCCtx(zstd().c, out.data(), std::size_t(out.size()),
                                            words.data(), size, kZstdLevel);
    if (ZSTD_isError(n))
        return {};
    out.truncate(qsizetype(n));
    return out;
}

// The words again, or nothing when the bytes are not a whole frame of ours of at most
// maxWords words. The size the frame declares is checked before anything is allocated.
std::optional<std::vector<quint32>> decompress(const QByteArray& packed, std::size_t maxWords) {
    const unsigned long long size =
        ZSTD_getFrameContentSize(packed.constData(), std::size_t(packed.size()));
    if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR ||
        size % sizeof(quint32) != 0 || size / sizeof(quint32) > maxWords || !zstd().d)
        return std::nullopt;
    std::vector<quint32> words(std::size_t(size / sizeof(quint32)));
    const std::size_t n = ZSTD_decompressDCtx(zstd().d, words.data(), std::size_t(size),
                                              packed.constData(), std::size_t(packed.size()));
    if (ZSTD_isError(n) || n != size)
        return std::nullopt;
    return words;
}

class RunWriter {
  public:
    // Room for what a picture of that many words packs to at most, short of a worst case.
    explicit RunWriter(std::size_t words) { out.reserve(words + words / 8 + 16); }
    void feed(const quint32* w, int n) {
        int i = 0;
        while (i < n) {
            if (runLength > 0 && w[i] == runValue) {
                int j = i + 1;
                while (j < n && w[j] == runValue)
                    ++j;
                runLength += quint32(j - i);
                i = j;
                continue;
            }
            flushRun();
            // Up to the next three equal words the words go as they are; the row's last word
            // may begin a run that goes on in the next row.
            int k = i;
            while (k + 2 < n && !(w[k] == w[k + 1] && w[k] == w[k + 2]))
                ++k;
            if (k + 2 >= n)
                k = n - 1;
            appendLiterals(w + i, k - i);
            runValue = w[k];
            runLength = 1;
            i = k + 1;
        }
    }
    std::vector<quint32> finish() {
        flushRun();
        flushLiterals();
        return std::move(out);
    }

  private:
    void appendLiterals(const quint32* w, int n) {
        if (n <= 0)
            return;
        if (literalHeader == npos) {
            literalHeader = out.size();
            out.push_back(0);
        }
        out.insert(out.end(), w, w + n);
    }
    void flushRun() {
        if (runLength == 0)
            return;
        if (runLength >= kMinRun) {
            flushLiterals();
            out.push_back(kRun | runLength);
            out.push_back(runValue);
        } else {
            for (quint32 k = 0; k < runLength; ++k)
                appendLiterals(&runValue, 1);
        }
        runLength = 0;
    }
    void flushLiterals() {
        if (literalHeader == npos)
            return;
        out[literalHeader] = quint32(out.size() - literalHeader - 1);
        literalHeader = npos;
    }
    static constexpr std::size_t npos = std::size_t(-1);
    quint32 runValue = 0;
    quint32 runLength = 0;            // rows of a 4K page stay far below kCount
    std::size_t literalHeader = npos; // where the open block of literal words has its header
    std::vector<quint32> out;
};

bool fourBytesPerPixel(const QImage& image) {
    return image.depth() == 32;
}

// Whether r differs between two pages of one size; a real edit differs in its first rows.
bool differs(const QImage& a, const QImage& b, const QRect& r) {
    const std::size_t n = std::size_t(r.width()) * sizeof(quint32);
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (std::memcmp(reinterpret_cast<const quint32*>(a.constScanLine(y)) + r.left(),
                        reinterpret_cast<const quint32*>(b.constScanLine(y)) + r.left(), n) != 0)
            return true;
    return false;
}

QByteArray packPixelsChecked(const QImage& image, const QRect& r, const QImage* xorWith) {
    RunWriter w(std::size_t(std::max(0, r.width())) * std::size_t(std::max(0, r.height())));
    std::vector<quint32> row(std::size_t(std::max(0, r.width())));
    for (int y = r.top(); y <= r.bottom(); ++y) {
        // A page-sized step takes tens of milliseconds: the window's next tap goes first.
        if ((y - r.top()) % 64 == 0)
            windowidle::stepAside();
        const auto* a = reinterpret_cast<const quint32*>(image.constScanLine(y)) + r.left();
        if (xorWith) {
            const auto* b = reinterpret_cast<const quint32*>(xorWith->constScanLine(y)) + r.left();
            for (int x = 0; x < r.width(); ++x)
                row[std::size_t(x)] = a[x] ^ b[x];
            w.feed(row.data(), r.width());
        } else {
            w.feed(a, r.width());
        }
    }
    return compress(w.finish());
}
} // namespace

QByteArray packPixels(const QImage& image, const QRect& r, const QImage* xorWith) {
    if (!fourBytesPerPixel(image) || !image.rect().contains(r) ||
        (xorWith && (xorWith->size() != image.size() || !fourBytesPerPixel(*xorWith))))
        return {};
    return packPixelsChecked(image, r, xorWith);
}

bool unpackPixels(QImage& image, const QRect& r, const QByteArray& packed, bool xorInto) {
    if (!fourBytesPerPixel(image) || !image.rect().contains(r) || r.isEmpty())
        return false;
    // A packing of r is at most two words a pixel (each token packPixels writes covers a
    // pixel or more): a frame declaring more is refused before its words are allocated.
    const std::size_t pixels = std::size_t(r.width()) * std::size_t(r.height());
    const std::optional<std::vector<quint32>> raw = decompress(packed, 2 * pixels);
    if (!raw)
        return false;
    const quint32* in = raw->data();
    const quint32* end = in + raw->size();
    const int width = r.width();
    int x = 0, y = r.top();
    quint32* line = reinterpret_cast<quint32*>(image.scanLine(y)) + r.left();
    while (in < end) {
        const quint32 header = *in++;
        const bool run = header & kRun;
        quint32 count = header & kCount;
        if (run ? in >= end : quint32(end - in) < count)
            return false;
        const quint32 value = run ? *in++ : 0;
        while (count > 0) {
            if (y > r.bottom())
                return false;
            const int n = int(std::min<quint32>(count, quint32(width - x)));
            quint32* o = line + x;
            if (run) {
                if (!xorInto)
                    std::fill(o, o + n, value);
                else if (value != 0)
                    for (int k = 0; k < n; ++k)
                        o[k] ^= value;
            } else {
                if (!xorInto)
                    std::memcpy(o, in, std::size_t(n) * sizeof(quint32));
                else
                    for (int k = 0; k < n; ++k)
                        o[k] ^= in[k];
                in += n;
            }
            count -= quint32(n);
            x += n;
            if (x == width) {
                x = 0;
                if (++y <= r.bottom())
                    line = reinterpret_cast<quint32*>(image.scanLine(y)) + r.left();
            }
        }
    }
    return y == r.bottom() + 1 && x == 0;
}

// What the worker hands back for a step.
struct PageHistory::Packing {
    QByteArray pixels, lines;
    std::atomic<bool> done{false};
};

// One thread that packs steps in the order they came.
class PageHistory::Packer {
  public:
    Packer() : thread([this] { run(); }) {}
    ~Packer() {
        {
            std::lock_guard<std::mutex> l(m);
            stop = true;
        }
        wake.notify_all();
        windowidle::markIdle();
        thread.join(); // what was queued is packed first
    }
    void post(std::function<void()> job) {
        {
            std::lock_guard<std::mutex> l(m);
            jobs.push_back({std::move(job), windowidle::ticket()});
            ++busy;
        }
        wake.notify_one();
    }
    void waitIdle() {
        std::unique_lock<std::mutex> l(m);
        windowidle::waitForWorker(l, idle, [this] { return busy == 0; });
    }
    int pending() {
        std::lock_guard<std::mutex> l(m);
        return busy;
    }

  private:
    void run() {
        std::unique_lock<std::mutex> l(m);
        for (;;) {
            wake.wait(l, [this] { return stop || !jobs.empty(); });
            if (jobs.empty())
                return;
            std::function<void()> job = std::move(jobs.front().run);
            const std::uint64_t ticket = jobs.front().ticket;
            jobs.pop_front();
            l.unlock();
            // After the repaint of the tap that made the step.
            windowidle::waitAfter(ticket);
            try {
                job();
            } catch (...) {
                // Out of memory: the step keeps no pixels and undo stops there.
            }
            // The page it shared goes now, before anyone is told the worker is idle: a write
            // to the page after that copies nothing.
            job = nullptr;
            l.lock();
            if (--busy == 0)
                idle.notify_all();
        }
    }
    std::mutex m;
    std::condition_variable wake, idle;
    struct Job {
        std::function<void()> run;
        std::uint64_t ticket = 0;
    };
    std::deque<Job> jobs;
    int busy = 0; // queued or running
    bool stop = false;
    std::thread thread;
};

PageHistory::PageHistory(std::size_t budgetBytes) : budget(budgetBytes) {}

PageHistory::~PageHistory() {
    worker.reset();
}

PageHistory::PageHistory(PageHistory&& other) noexcept {
    takeOver(other);
}

PageHistory& PageHistory::operator=(PageHistory&& other) noexcept {
    if (this != &other)
        takeOver(other);
    return *this;
}

void PageHistory::takeOver(PageHistory& other) {
    settle();
    other.settle();
    budget = other.budget;
    used = std::exchange(other.used, 0);
    undos = std::move(other.undos);
    redos = std::move(other.redos);
    other.undos.clear();
    other.redos.clear();
    open = std::exchange(other.open, false);
    mirror = std::move(other.mirror);
    other.mirror = QImage();
    mirrorKey = std::exchange(other.mirrorKey, 0);
    aheadKey = std::exchange(other.aheadKey, 0);
    touched = std::exchange(other.touched, QRect());
}

PageHistory::Packer& PageHistory::packer() {
    if (!worker)
        worker = std::make_unique<Packer>();
    // A child faster than the worker: the pages waiting for it are bounded.
    else if (worker->pending() > 2)
        settle();
    return *worker;
}

void PageHistory::collect(bool wait) {
    if (!worker)
        return;
    if (wait)
        worker->waitIdle();
    bool any = false;
    for (std::deque<Step>* q : {&undos, &redos})
        for (Step& s : *q) {
            if (!s.packing || !s.packing->done.load(std::memory_order_acquire))
                continue;
            used -= s.cost();
            s.pixels = std::move(s.packing->pixels);
            s.lines = std::move(s.packing->lines);
            s.packing.reset();
            used += s.cost();
            any = true;
        }
    if (any)
        trim();
}

std::size_t PageHistory::undoCount() {
    settle();
    return undos.size();
}

std::size_t PageHistory::redoCount() {
    settle();
    return redos.size();
}

std::size_t PageHistory::bytes() {
    settle();
    return used;
}

void PageHistory::begin(const QImage& page) {
    open = true;
    touched = QRect();
    collect(false);
    if (aheadKey != 0) {
        // The mirror is, or soon will be, this page: end() waits for the worker.
        if (std::exchange(aheadKey, 0) == page.cacheKey() && mirrorKey == page.cacheKey())
            return;
        settle(); // the worker is done with the mirror
    }
    if (mirrorKey == 0 || page.cacheKey() != mirrorKey || mirror.size() != page.size() ||
        mirror.format() != page.format()) {
        settle(); // the worker is done with the mirror
        mirror = pooledCopy(page);
        mirrorKey = page.cacheKey();
    }
}

void PageHistory::touch(const QRect& r) {
    if (open && !r.isEmpty())
        touched |= r;
}

bool PageHistory::end(const QImage& page) {
    if (!open)
        return false;
    open = false;
    const QRect r = touched & page.rect();
    touched = QRect();
    // The last step's packing brings the mirror up to the page as it was before this edit;
    // between a child's taps it is long over.
    settle();
    if (mirror.size() != page.size() || mirror.format() != page.format() ||
        !fourBytesPerPixel(page)) {
        mirrorKey = 0;
        return false;
    }
    if (r.isEmpty()) {
        // Nothing said to have changed: the mirror still holds only if nothing was written.
        if (page.cacheKey() != mirrorKey)
            mirrorKey = 0;
        return false;
    }
    mirrorKey = page.cacheKey();
    if (!differs(page, mirror, r))
        return false;
    Step s;
    s.kind = Step::Edit;
    s.rect = r;
    s.packing = std::make_shared<Packing>();
    packer().post([this, out = s.packing, after = page, r] {
        out->pixels = packPixelsChecked(after, r, &mirror);
        copyPixels(mirror, after, r);
        out->done.store(true, std::memory_order_release);
    });
    push(std::move(s));
    return true;
}

PageHistory::Step PageHistory::packState(const PageState& state) {
    Step s;
    s.kind = Step::Replace;
    QImage picture = state.picture.format() == QImage::Format_RGB32
                         ? state.picture
                         : state.picture.convertToFormat(QImage::Format_RGB32);
    s.size = picture.size();
    s.pageIndex = state.pageIndex;
    s.openedFile = state.openedFile;
    s.packing = std::make_shared<Packing>();
    // Lines that are bits alone are kept as they are: smaller than packed, and nothing to draw.
    if (state.outline.keepsBitsOnly())
        s.outline = state.outline;
    // Shared copies: the page they came from is replaced, not written, so nothing is copied.
    packer().post([out = s.packing, picture = std::move(picture),
                   lines = s.outline.isEmpty() ? state.outline.linesImage() : QImage()] {
        if (!picture.isNull())
            out->pixels = packPixelsChecked(picture, picture.rect(), nullptr);
        if (!lines.isNull())
            out->lines = packPixelsChecked(lines, picture.rect(), nullptr);
        out->done.store(true, std::memory_order_release);
    });
    return s;
}

void PageHistory::recordReplace(const PageState& before) {
    push(packState(before));
}

void PageHistory::mirrorAhead(const QImage& page) {
    if (open || !fourBytesPerPixel(page))
        return;
    // Not waited for here: pages tapped through one after another (Random, Random) queue
    // their copies, and the last one written is this page's.
    mirrorKey = aheadKey = page.cacheKey();
    packer().post([this, page] { mirror = pooledCopy(page); });
}

void PageHistory::recordHalfTurn() {
    Step s;
    s.kind = Step::HalfTurn;
    push(std::move(s));
}

bool PageHistory::swapIn(Step& s, PageState& page, const Step& other) {
    QImage picture = pooledImage(s.size, QImage::Format_RGB32);
    if (s.size.isEmpty() || picture.isNull() ||
        !unpackPixels(picture, picture.rect(), s.pixels, false))
        return false;
    QImage lines;
    if (!s.lines.isEmpty()) {
        lines = pooledImage(s.size, QImage::Format_ARGB32);
        if (lines.isNull() || !unpackPixels(lines, lines.rect(), s.lines, false))
            return false;
    }
    page.picture = std::move(picture);
    page.outline = s.outline.isEmpty() ? OutlineMask::fromLines(lines) : s.outline;
    page.pageIndex = s.pageIndex;
    page.openedFile = s.openedFile;
    s = other;
    return true;
}

std::optional<QRect> PageHistory::move(std::deque<Step>& from, std::deque<Step>& to,
                                       PageState& page) {
    settle();
    if (from.empty())
        return std::nullopt;
    Step s = std::move(from.back());
    from.pop_back();
    used -= s.cost();
    std::optional<QRect> changed;
    switch (s.kind) {
    case Step::Edit:
        // The mirror is left behind: the next edit copies the page afresh, which costs less
        // than keeping the mirror in step here.
        if (page.picture.rect().contains(s.rect) &&
            unpackPixels(page.picture, s.rect, s.pixels, true))
            changed = s.rect;
        break;
    case Step::HalfTurn:
        if (!page.picture.isNull()) {
            RotateBitmap(page.picture, clWhite, 180);
            page.outline.halfTurn();
            changed = QRect();
        }
        break;
    case Step::Replace:
        if (swapIn(s, page, packState(page)))
            changed = QRect();
        break;
    }
    if (!changed) {
        // A step that no longer fits the page: the history is not to be trusted past here.
        clear();
        return std::nullopt;
    }
    used += s.cost();
    to.push_back(std::move(s));
    trim();
    return changed;
}

void PageHistory::push(Step s) {
    for (const Step& r : redos)
        used -= r.cost();
    redos.clear();
    used += s.cost();
    undos.push_back(std::move(s));
    trim();
}

void PageHistory::trim() {
    // The oldest undo goes first, then the farthest redo; the step just taken stays.
    while (used > budget && undos.size() + redos.size() > 1) {
        std::deque<Step>& q = undos.size() > 1 || redos.size() <= 1 ? undos : redos;
        used -= q.front().cost();
        q.pop_front();
    }
}

void PageHistory::clear() {
    settle(); // the worker is done with the mirror
    undos.clear();
    redos.clear();
    used = 0;
    open = false;
    touched = QRect();
    mirror = QImage();
    mirrorKey = 0;
    aheadKey = 0;
}
