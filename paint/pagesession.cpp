#include "paint/pagesession.h"

#include "paint/rotate.h"

void PageSession::beginEdit() {
    if (canvas_ && !history_.editOpen())
        history_.begin(canvas_->image);
}

void PageSession::changed(const QRect& r, bool putLinesBack) {
    if (!canvas_)
        return;
    if (r.isNull()) {
        wholeChanged_ = true;
        return;
    }
    history_.touch(r);
    if (putLinesBack)
        outline_.restore(canvas_->image, r);
    changed_ |= r;
}

bool PageSession::endEdit() {
    if (!history_.editOpen())
        return false;
    return history_.end(canvas_ ? canvas_->image : QImage());
}

void PageSession::replace(std::unique_ptr<PageBitmapCanvas> next, OutlineMask lines,
                          PageOrigin origin, bool record) {
    if (canvas_ && record) {
        endEdit();
        history_.recordReplace({canvas_->image, outline_, origin_.pageIndex, origin_.openedFile});
    }
    canvas_ = std::move(next);
    outline_ = std::move(lines);
    origin_ = std::move(origin);
    wholeChanged_ = true;
    if (canvas_)
        history_.mirrorAhead(canvas_->image);
}

void PageSession::halfTurn() {
    if (!canvas_)
        return;
    endEdit();
    // An exact half turn: -180 would take the general path, which shifts the picture by a
    // pixel and whitens an edge row and column at every press.
    RotateBitmap(canvas_->image, clWhite, 180);
    outline_.halfTurn();
    history_.recordHalfTurn();
    wholeChanged_ = true;
}

std::optional<QRect> PageSession::step(bool back) {
    if (!canvas_)
        return std::nullopt;
    endEdit();
    // Moved, not shared: a shared picture would be copied whole by the first pixel undone.
    PageState page{std::move(canvas_->image), std::move(outline_), origin_.pageIndex,
                   origin_.openedFile};
    std::optional<QRect> changed;
    try {
        changed = back ? history_.undo(page) : history_.redo(page);
    } catch (...) {
        // The picture goes back on the page whatever the history lost, and the history, no
        // longer whole, starts again from here.
        canvas_->image = std::move(page.picture);
        outline_ = std::move(page.outline);
        history_.clear();
        throw;
    }
    canvas_->image = std::move(page.picture);
    outline_ = std::move(page.outline);
    if (changed) {
        origin_ = {page.pageIndex, page.openedFile};
        if (changed->isNull())
            wholeChanged_ = true;
        else
            changed_ |= *changed;
    }
    return changed;
}

QRegion PageSession::takeChanged() {
    QRegion r = wholeChanged_ && canvas_ ? QRegion(canvas_->image.rect()) : changed_;
    changed_ = QRegion();
    wholeChanged_ = false;
    return r;
}
