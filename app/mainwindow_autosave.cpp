// Keeping the child's picture across a crash, a kill or a careless close.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "library/pagefit.h"
#include "library/pageload.h"
#include "library/picturestore.h"
#include "paint/pixelpool.h"
#include "share/autosave.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>
#include <QTreeWidgetItem>
#include <algorithm>

namespace {
constexpr qint64 kAutosaveGapMs = 1000;
constexpr int kPageNode = 2; // catalogue nodes that are pages
} // namespace

QString MainWindow::autosavePath() const {
    return paths.dataFolder.isEmpty() ? QString()
                                      : paths.dataFolder + QStringLiteral("/autosave.dat");
}

void MainWindow::scheduleAutosave() {
    if (paths.dataFolder.isEmpty())
        return;
    if (!keeping.autosaveTimer) {
        keeping.autosaveTimer = new QTimer(this);
        keeping.autosaveTimer->setSingleShot(true);
        connect(keeping.autosaveTimer, &QTimer::timeout, this, &MainWindow::autosaveNow);
    }
    // A timer already running will save this change too.
    if (keeping.autosaveTimer->isActive())
        return;
    const qint64 since = QDateTime::currentMSecsSinceEpoch() - keeping.lastAutosaveMs;
    keeping.autosaveTimer->start(
        int(std::clamp<qint64>(kAutosaveGapMs - since, 0, kAutosaveGapMs)));
}

void MainWindow::autosaveNow() {
    if (keeping.autosaveTimer)
        keeping.autosaveTimer->stop();
    if (paths.dataFolder.isEmpty() || !session.canvas() || !keeping.autosaveRead)
        return;
    if (!keeping.autosaver)
        keeping.autosaver = std::make_unique<AutosaveWriter>(autosavePath());
    // A page as it came from its file is laid out afresh next time (a repaired or upgraded
    // archive shows its new drawing); only what the child changed is kept.
    if (!pictureChanged()) {
        keeping.autosaver->discard();
        session.takeChanged();
        session.markAllChanged(); // the writer's copy never saw this page
        keeping.lastAutosaveMs = QDateTime::currentMSecsSinceEpoch();
        return;
    }
    // What the picture comes back as after a kill: the page it came from, or the file of a
    // picture opened by hand ("file:" and its path, which no page's name starts with: names
    // come from file names). The page the catalogue was left on is not the picture's.
    const PageOrigin& origin = session.origin();
    QString pageName;
    if (!origin.openedFile.isEmpty())
        pageName = pageKey(0, origin.openedFile);
    else if (origin.pageIndex > 0 && size_t(origin.pageIndex) < catalogue.catalogueNodes.size())
        pageName = catalogue.catalogueNodes[size_t(origin.pageIndex)]->text(0);
    // Only what changed since the last save is copied here; the writer encodes elsewhere.
    keeping.autosaver->submit(session.canvas()->image, session.takeChanged(), pageName);
    keeping.lastAutosaveMs = QDateTime::currentMSecsSinceEpoch();
}

bool MainWindow::pictureChanged() const {
    return session.canvas() &&
           (shown.pictureKeptAnyway || session.canvas()->image.cacheKey() != shown.placedPageKey);
}

void MainWindow::notePagePlaced(bool changedAlready) {
    shown.placedPageKey = session.canvas() ? session.canvas()->image.cacheKey() : 0;
    shown.pictureKeptAnyway = changedAlready;
}

bool MainWindow::restoreAutosave() {
    if (paths.dataFolder.isEmpty())
        return false;
    // A damaged or foreign file reads as none: the start page stays, and is saved over it.
    std::optional<AutosaveData> d = ReadAutosave(autosavePath());
    keeping.autosaveRead = true;
    if (!d) {
        if (session.canvas()) {
            session.markAllChanged();
            scheduleAutosave();
        }
        return false;
    }
    // Kept under its own page or file only: a picture whose page is gone belongs to none, and
    // never to the page the program happened to start on.
    PageOrigin origin;
    QString name = d->pageName;
    if (const QString file = openedFileOfKey(d->pageName); !file.isEmpty()) {
        origin = {catalogue.currentPageIndex, file};
        name = QFileInfo(origin.openedFile).completeBaseName();
    } else {
        for (size_t i = 1; i < catalogue.catalogueNodes.size(); ++i)
            if (catalogue.catalogueNodes[i]->data(0, Qt::UserRole).toInt() == kPageNode &&
                catalogue.catalogueNodes[i]->text(0) == d->pageName && !d->pageName.isEmpty()) {
                catalogue.currentPageIndex = int(i);
                origin.pageIndex = int(i);
                if (i < stats.pageCounts.size())
                    stats.pageCounts[i].Name = d->pageName;
                break;
            }
    }
    placeKeptPicture(d->picture, origin, false);
    // On "My pictures" at once: a kill before the child leaves it must not lose it there.
    const QString key = pageKey(origin.pageIndex, origin.openedFile);
    if (pictures && !key.isEmpty()) {
        pictures->keepChanged(key, name, session.canvas()->image,
                              QRegion(session.canvas()->image.rect()));
        shown.storedPictureKey = session.canvas()->image.cacheKey();
        showOnShelf(key, name, d->picture);
    }
    return true;
}

void MainWindow::placeKeptPicture(const QImage& picture, PageOrigin origin, bool record) {
    // Kept at another size of the area (another screen, full screen or not): the picture is
    // put in the middle as it was, and only reduced when it no longer fits.
    QSize area = ui.drawingArea->size();
    if (area.isEmpty())
        area = picture.size();
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<PageBitmapCanvas> page;
    if (src.size() == area) {
        // The usual case: one copy, with no white sheet painted first.
        page = std::make_unique<PageBitmapCanvas>(pooledCopy(src));
    } else {
        page = std::make_unique<PageBitmapCanvas>(area.width(), area.height());
        if (src.width() <= area.width() && src.height() <= area.height())
            page->draw((area.width() - src.width()) / 2, (area.height() - src.height()) / 2, src);
        else
            stretchKeepingInk(src, page->image, layoutPage(src.size(), area));
    }
    // The page's own file is not at hand: its pure black is taken as its lines.
    OutlineMask lines(page->image, OutlineMask::Ink::PureBlack);
    if (record)
        keepLeavingPicture();
    session.replace(std::move(page), std::move(lines), std::move(origin), record);
    // The child colored it earlier: it stays kept even if the child now leaves it be.
    notePagePlaced(true);
    // Until it is touched it follows the area's size, as a start page does.
    shown.startPageSource = picture;
    shown.startPageRestored = true;
    updateUndoControls();
    showPage();
}
