#pragma once
// The page's own lines, kept aside so that paint never covers them.
#include <QImage>
#include <QRect>
#include <memory>
#include <vector>

class OutlineMask {
  public:
    enum class Ink {
        Dark,      // a prepared page: its ink (isInk()), antialiased edges included
        PureBlack, // a picture opened by hand: only 0,0,0 (the palette's black is not)
    };
    OutlineMask() = default;
    OutlineMask(const QImage& page, Ink ink);

    // A mask kept aside by the undo history: the lines image as linesImage() gave it.
    static OutlineMask fromLines(const QImage& lines);
    // The page as taken where it has a line, transparent elsewhere (ARGB32). A pure black
    // mask keeps only its bits and draws this when asked: off the window thread, as the
    // history asks.
    QImage linesImage() const;

    bool isEmpty() const { return lines.isNull() && !pureBlack; }
    // Every line pixel opaque black, kept as one bit a pixel.
    bool keepsBitsOnly() const { return pureBlack; }
    std::size_t bitsBytes() const { return marked ? marked->size() * sizeof(quint64) : 0; }
    QSize size() const { return pureBlack ? pureSize : lines.size(); }
    // Puts the kept line pixels back inside r, as they were when the page was taken.
    void restore(QImage& page, const QRect& r) const;
    // Follows the page's half turn.
    void halfTurn();
    // The same lines on a larger page that keeps the old one at its top left.
    OutlineMask grownTo(const QSize& size) const;

  private:
    void markAll(); // `marked` from `lines`
    quint64* rowBits(int y) { return marked->data() + std::size_t(y) * std::size_t(wordsPerRow); }
    const quint64* rowBits(int y) const {
        return marked->data() + std::size_t(y) * std::size_t(wordsPerRow);
    }

    // linesImage(), kept as it was taken; null for a pure black mask.
    QImage lines;
    // Every line pixel is opaque black: the bits alone say where (a kept picture opens
    // without writing a second page-sized image).
    bool pureBlack = false;
    QSize pureSize;
    // A bit a pixel, set where `lines` holds one, rows in whole 64-bit words: restore() reads
    // 1 MB of these for a 4K page where it read the 33 MB of `lines`. Shared by copies.
    std::shared_ptr<std::vector<quint64>> marked;
    int wordsPerRow = 0;
};
