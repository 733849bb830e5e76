// Keeping the child's picture across a crash, a kill or a careless close.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "library/pagefit.h"
#include "library/pageload.h"
#include "share/autosave.h"

#include <QDateTime>
#include <QTimer>
#include <QTreeWidgetItem>
#include <algorithm>

namespace {
constexpr qint64 kAutosaveGapMs = 1000;
constexpr int kPageNode = 2; // catalogue nodes that are pages
} // namespace

QString TForm1::AutosavePath() const {
    return paths.dataFolder.isEmpty() ? QString()
                                      : paths.dataFolder + QStringLiteral("/autosave.dat");
}

void TForm1::AutosaveChanged(const QRect& changed) {
    if (paths.dataFolder.isEmpty())
        return;
    if (changed.isNull())
        AutosaveWholePage = true;
    else
        AutosaveChangedArea |= changed;
    if (!AutosaveTimer) {
        AutosaveTimer = new QTimer(this);
        AutosaveTimer->setSingleShot(true);
        connect(AutosaveTimer, &QTimer::timeout, this, &TForm1::AutosaveNow);
    }
    // A timer already running will save this change too.
    if (AutosaveTimer->isActive())
        return;
    const qint64 since = QDateTime::currentMSecsSinceEpoch() - LastAutosaveMs;
    AutosaveTimer->start(int(std::clamp<qint64>(kAutosaveGapMs - since, 0, kAutosaveGapMs)));
}

void TForm1::AutosaveNow() {
    if (AutosaveTimer)
        AutosaveTimer->stop();
    if (paths.dataFolder.isEmpty() || !PageBitmap || !AutosaveRead)
        return;
    if (!Autosaver)
        Autosaver = std::make_unique<AutosaveWriter>(AutosavePath());
    // A page as it came from its file is laid out afresh next time (a repaired or upgraded
    // archive shows its new drawing); only what the child changed is kept.
    if (!PictureChanged()) {
        Autosaver->discard();
        AutosaveWholePage = true; // the writer's copy never saw this page
        AutosaveChangedArea = QRegion();
        LastAutosaveMs = QDateTime::currentMSecsSinceEpoch();
        return;
    }
    QString pageName;
    if (CurrentPageIndex > 0 && size_t(CurrentPageIndex) < TreeNodes.size())
        pageName = TreeNodes[size_t(CurrentPageIndex)]->text(0);
    // Only what changed since the last save is copied here; the writer encodes elsewhere.
    Autosaver->submit(PageBitmap->image,
                      AutosaveWholePage ? QRegion(PageBitmap->image.rect()) : AutosaveChangedArea,
                      pageName);
    AutosaveWholePage = false;
    AutosaveChangedArea = QRegion();
    LastAutosaveMs = QDateTime::currentMSecsSinceEpoch();
}

bool TForm1::PictureChanged() const {
    return PageBitmap && (PictureKeptAnyway || PageBitmap->image.cacheKey() != PlacedPageKey);
}

void TForm1::NotePagePlaced(bool changedAlready) {
    PlacedPageKey = PageBitmap ? PageBitmap->image.cacheKey() : 0;
    PictureKeptAnyway = changedAlready;
}

bool TForm1::RestoreAutosave() {
    if (paths.dataFolder.isEmpty())
        return false;
    // A damaged or foreign file reads as none: the start page stays, and is saved over it.
    std::optional<AutosaveData> d = ReadAutosave(AutosavePath());
    AutosaveRead = true;
    if (!d) {
        if (PageBitmap)
            AutosaveChanged();
        return false;
    }
    for (size_t i = 1; i < TreeNodes.size(); ++i)
        if (TreeNodes[i]->data(0, Qt::UserRole).toInt() == kPageNode &&
            TreeNodes[i]->text(0) == d->pageName && !d->pageName.isEmpty()) {
            CurrentPageIndex = int(i);
            if (i < PageCounts.size())
                PageCounts[i].Name = d->pageName;
            break;
        }
    PlaceRestoredPicture(d->picture);
    // Until it is touched it follows the area's size, as a start page does.
    StartPageSource = d->picture;
    StartPageRestored = true;
    return true;
}

void TForm1::PlaceRestoredPicture(const QImage& picture) {
    // Saved at another size of the area (another screen, full screen or not): the picture is
    // put in the middle as it was, and only reduced when it no longer fits.
    QSize area = PaintBox1->size();
    if (area.isEmpty())
        area = picture.size();
    auto page = std::make_unique<PageBitmapCanvas>(area.width(), area.height());
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    if (src.width() <= area.width() && src.height() <= area.height()) {
        page->draw((area.width() - src.width()) / 2, (area.height() - src.height()) / 2, src);
    } else {
        stretchKeepingInk(src, page->image, layoutPage(src.size(), area));
    }
    PageBitmap = std::move(page);
    PicturePageIndex = CurrentPageIndex;
    // The page's own file is not at hand: its pure black is taken as its lines.
    Outline = OutlineMask(PageBitmap->image, OutlineMask::Ink::PureBlack);
    // The child colored it in an earlier run: it stays kept even if this run leaves it be.
    NotePagePlaced(true);
    ShowPage();
}
