#pragma once
// The page being colored, without a widget: its picture, the lines it came with, its steps back
// and forward, and what has changed since the picture was last kept. Every change of the page
// goes through here, so each is recorded once for undo and once for keeping.
#include "paint/history.h"
#include "paint/outline.h"
#include "paint/pagebitmap.h"

#include <QRegion>
#include <QString>
#include <memory>
#include <optional>

// Where the picture on the page came from.
struct PageOrigin {
    int pageIndex = 0;  // the catalogue page
    QString openedFile; // the file it was opened from by hand; empty for a catalogue page
};

class PageSession {
  public:
    // Null before the first page.
    PageBitmapCanvas* canvas() const { return canvas_.get(); }
    const OutlineMask& outline() const { return outline_; }
    const PageOrigin& origin() const { return origin_; }
    PageOrigin& origin() { return origin_; }
    const PageHistory& history() const { return history_; }
    PageHistory& history() { return history_; }
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }

    // A tool is about to draw: opens the step its gesture goes into (once per gesture).
    void beginEdit();
    // Something drew inside r (a null rect: anywhere). Kept for the open step and for the next
    // keep; with putLinesBack the page's lines are drawn again inside r.
    void changed(const QRect& r, bool putLinesBack);
    // Closes the open step; true when it changed a pixel.
    bool endEdit();

    // Another picture on the page. With record, the one shown becomes one step back.
    void replace(std::unique_ptr<PageBitmapCanvas> next, OutlineMask lines, PageOrigin origin,
                 bool record);
    // The picture turned half round, lines too, as one step.
    void halfTurn();
    // One step back or forward: the changed rectangle (null: all of it), nothing when there
    // was no step. An allocation failing half way leaves the picture shown and a new history.
    std::optional<QRect> undo() { return step(true); }
    std::optional<QRect> redo() { return step(false); }
    void clearHistory() { history_.clear(); }
    // The window closes: no page any more.
    void drop() { canvas_.reset(); }

    // What changed since the last take: the whole page when it was replaced meanwhile.
    QRegion takeChanged();
    void markAllChanged() { wholeChanged_ = true; }

  private:
    std::optional<QRect> step(bool back);
    std::unique_ptr<PageBitmapCanvas> canvas_;
    OutlineMask outline_;
    PageOrigin origin_;
    PageHistory history_;
    QRegion changed_;
    bool wholeChanged_ = true;
};
