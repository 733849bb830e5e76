#pragma once
// Undo and redo of the page. A step keeps only what it needs to go both ways, packed:
// - an edit by a tool keeps the difference (XOR) of its changed rectangle, so the same bytes
//   undo and redo it;
// - a whole new page (another page, Clear, a picture opened) keeps the other picture, its
//   lines and its catalogue page, and swaps them with the shown ones each way;
// - a half turn keeps nothing: it is turned again.
// Steps past the memory budget go, oldest first.
// Packing runs on a worker thread of the history's own, so a tap never waits for it: a step is
// kept unpacked until the worker is done, and whatever needs the packed steps (undo, redo, the
// budget, the next edit's comparison) waits for the worker first. The worker finishes every
// step before the history goes.
#include "paint/outline.h"

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

// The page as undo sees it: the picture, its lines and the catalogue page it came from.
struct PageState {
    QImage picture; // Format_RGB32
    OutlineMask outline;
    int pageIndex = 0;
    QString openedFile; // the file it was opened from by hand; empty for a catalogue page
};

// Packing of 32-bit pixels: runs of equal words, then zstd. A difference packs to little
// where little changed, which is what keeps a brush stroke's step small.
QByteArray packPixels(const QImage& image, const QRect& r, const QImage* xorWith = nullptr);
// Writes packed pixels into r of image, or XORs them in. False (image untouched past what was
// written) when the bytes do not fit r; bytes declaring far more than r holds are refused
// before anything is allocated for them.
bool unpackPixels(QImage& image, const QRect& r, const QByteArray& packed, bool xorInto);

class PageHistory {
  public:
    static constexpr std::size_t kDefaultBudget = std::size_t(256) << 20;
    explicit PageHistory(std::size_t budgetBytes = kDefaultBudget);
    ~PageHistory();
    // Both sides' packing is over first; the worker stays with its history.
    PageHistory(PageHistory&& other) noexcept;
    PageHistory& operator=(PageHistory&& other) noexcept;

    // A tool's edit: begin() before it draws, touch() with every rectangle it changed, end()
    // when the gesture is over. The history keeps its own copy of the page as the last edit
    // left it, so an edit costs in proportion to what it changed, never a copy of the page;
    // the copy is taken again only when the page changed some other way (its cacheKey moved).
    void begin(const QImage& page);
    void touch(const QRect& r);
    bool editOpen() const { return open; }
    // Records the edit when it changed a pixel; true when it did. The page is packed later,
    // from a shared copy: the first write to it before that copies it.
    bool end(const QImage& page);

    // The shown page is about to be replaced: keeps it (packed) as one step.
    void recordReplace(const PageState& before);
    // A new page is shown: the worker copies it for the first edit's begin(), so that the
    // child's first tap on it does not wait for the copy. The page is shared meanwhile.
    void mirrorAhead(const QImage& page);
    void recordHalfTurn();

    bool canUndo() const { return !undos.empty(); }
    bool canRedo() const { return !redos.empty(); }
    // One step back or forward on the shown page. The changed rectangle, a null rectangle when
    // the whole page changed, nothing when there was no step to take.
    std::optional<QRect> undo(PageState& page) { return move(undos, redos, page); }
    std::optional<QRect> redo(PageState& page) { return move(redos, undos, page); }

    void clear();
    // These wait for the steps being packed, so that what they count is the budget's.
    std::size_t undoCount();
    std::size_t redoCount();
    std::size_t bytes(); // packed bytes held by every step
    // Waits until every step is packed.
    void settle() { collect(true); }

  private:
    struct Packing;
    class Packer;
    struct Step {
        enum Kind { Edit, Replace, HalfTurn } kind = Edit;
        QRect rect;          // Edit: where the difference lies
        QByteArray pixels;   // Edit: the packed difference; Replace: the other picture
        QSize size;          // Replace: the other picture's size
        QByteArray lines;    // Replace: the other picture's lines, packed (empty: none)
        OutlineMask outline; // Replace: the other picture's lines where they are bits alone
        int pageIndex = 0;   // Replace: the other picture's page
        QString openedFile;  // Replace: the file the other picture was opened from
        std::shared_ptr<Packing> packing; // until the worker is done: pixels and lines to be
        std::size_t cost() const {
            return std::size_t(pixels.size() + lines.size()) + outline.bitsBytes() + 64;
        }
    };
    std::optional<QRect> move(std::deque<Step>& from, std::deque<Step>& to, PageState& page);
    void push(Step s);
    void trim();
    Step packState(const PageState& s);
    static bool swapIn(Step& s, PageState& page, const Step& other);
    Packer& packer();
    // Takes in what the worker packed, every step when wait, else those it is done with.
    void collect(bool wait);
    void takeOver(PageHistory& other);

    std::size_t budget;
    std::size_t used = 0;
    std::deque<Step> undos, redos;
    bool open = false;
    std::unique_ptr<Packer> worker; // made with the first step to pack
    QImage mirror; // the page as the last edit left it; only the worker writes it after begin()
    qint64 mirrorKey = 0; // the page's cacheKey when the mirror was last equal to it
    qint64 aheadKey = 0;  // mirrorAhead()'s page, until an edit begins: the worker may copy it
    QRect touched;
};
