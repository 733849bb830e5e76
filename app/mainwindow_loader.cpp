// Loading a page file onto the drawing area; Open and Clear.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "library/pagefit.h"
#include "library/pageload.h"
#include "paint/pixelpool.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>
#include <stdexcept>
#include <utility>

namespace {
// How long a page stays untouched before its clean copy is taken: longer than the window
// takes to settle at its size, and too short for a child to tap twice.
constexpr int kCleanPageCopyDelayMs = 250;
} // namespace

void MainWindow::loadPage(const QString& path) {
    QImage source;
    QString openedFile;
    const QFileInfo file(path);
    // A bitmap with no pixels is taken as no file at all: the white sheet.
    if (!path.isEmpty() && file.isFile() && !isEmptyBitmapFile(path)) {
        QString error;
        // The bundled pages are bitmaps; a picture opened by hand or one of the parents' own
        // pages may be any common kind.
        const bool ownPage = !paths.pagesFolder.isEmpty() &&
                             path.startsWith(QDir(paths.pagesFolder).path() + QLatin1Char('/'));
        const bool anyPicture = shown.openingByHand || ownPage;
        const QSize area = ui.drawingArea->size();
        ShownPage::FileRead& last = shown.lastFileRead;
        if (last.path == path && last.bytes == file.size() &&
            last.modified == file.lastModified() && last.anyPicture == anyPicture &&
            (!anyPicture || last.area == area)) {
            source = last.image;
        } else {
            source =
                anyPicture ? readPictureFile(path, area, &error) : readBitmapFile(path, &error);
            last = {path, file.size(), file.lastModified(), anyPicture, area, source};
            if (source.isNull())
                last = {};
        }
        // An unreadable file leaves the picture on the area as it was; with none there yet,
        // the child gets the white sheet rather than an area that draws nothing.
        if (source.isNull()) {
            if (!session.canvas())
                loadPage(QString());
            throw std::runtime_error(error.isEmpty() ? "Bitmap image is not valid"
                                                     : error.toStdString());
        }
    }
    if (source.isNull()) {
        // One sheet for every white page, so that its clean copy serves them all.
        static const QImage whiteSheet = [] {
            QImage sheet(100, 100, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            return sheet;
        }();
        source = whiteSheet;
    } else if (shown.openingByHand) {
        openedFile = path;
    }
    placePage(source, openedFile);
    shown.startPageSource = source;
    shown.startPageRestored = false;
    playPrompt(QStringLiteral("S1"));
}

void MainWindow::placePage(const QImage& source, const QString& openedFile) {
    const QSize area = ui.drawingArea->size();
    const bool byHand = shown.openingByHand || !openedFile.isEmpty();
    std::unique_ptr<PageBitmapCanvas> page;
    OutlineMask lines;
    const std::shared_ptr<CleanPageCopy> clean = std::exchange(shown.cleanPage, nullptr);
    if (clean && clean->ready.load(std::memory_order_acquire) &&
        clean->sourceKey == source.cacheKey() && clean->area == area && clean->byHand == byHand) {
        // Handed over, not shared: the child's first stroke must not copy the page.
        page = std::make_unique<PageBitmapCanvas>(std::exchange(clean->page, QImage()));
        lines = clean->lines;
    } else {
        page = std::make_unique<PageBitmapCanvas>(area.width(), area.height());
        const QSize size = page->image.size();
        stretchKeepingInk(source, page->image,
                          byHand ? layoutOpenedPicture(source.size(), size)
                                 : layoutPage(source.size(), size));
        lines =
            OutlineMask(page->image, byHand ? OutlineMask::Ink::PureBlack : OutlineMask::Ink::Dark);
    }
    // The picture it replaces is one step back, unless this is the same page laid out again
    // or nothing changes (Clear on an untouched page).
    const bool same =
        session.canvas() && session.origin().pageIndex == catalogue.currentPageIndex &&
        session.origin().openedFile == openedFile && session.canvas()->image == page->image;
    // Laid out again, it is still the picture it was.
    PageOrigin origin{catalogue.currentPageIndex,
                      shown.relayingOutPage ? session.origin().openedFile : openedFile};
    const bool anotherPicture = !shown.relayingOutPage && !same;
    if (anotherPicture)
        keepLeavingPicture();
    session.replace(std::move(page), std::move(lines), std::move(origin), anotherPicture);
    notePagePlaced(shown.relayingOutPage && shown.pictureKeptAnyway);
    updateUndoControls();
    showPage();
    scheduleCleanPageCopy(source.cacheKey(), byHand);
}

void MainWindow::scheduleCleanPageCopy(qint64 sourceKey, bool byHand) {
    auto clean = std::make_shared<CleanPageCopy>();
    clean->sourceKey = sourceKey;
    clean->byHand = byHand;
    clean->canvasKey = session.canvas()->image.cacheKey();
    shown.cleanPage = std::move(clean);
    // Not at once: the window lays a page out several times as it settles at its size, and a
    // tap while the copy is under way copies the page a second time, on this thread.
    if (!shown.cleanPageTimer) {
        shown.cleanPageTimer = new QTimer(this);
        shown.cleanPageTimer->setSingleShot(true);
        shown.cleanPageTimer->setInterval(kCleanPageCopyDelayMs);
        connect(shown.cleanPageTimer, &QTimer::timeout, this, [this] { startCleanPageCopy(); });
    }
    shown.cleanPageTimer->start();
}

void MainWindow::startCleanPageCopy() {
    const std::shared_ptr<CleanPageCopy> clean = shown.cleanPage;
    // Painted on, turned or replaced since: that page is not the clean one.
    if (!clean || clean->started || !session.canvas() ||
        session.canvas()->image.cacheKey() != clean->canvasKey)
        return;
    clean->started = true;
    clean->area = session.canvas()->image.size();
    clean->lines = session.outline();
    // The worker shares the page only while it copies it: a stroke in that moment copies
    // the page once on this thread, and neither copy sees the other's pixels.
    QThreadPool::globalInstance()->start([clean, shared = session.canvas()->image]() mutable {
        QImage copy = pooledCopy(shared);
        shared = QImage();
        clean->page = std::move(copy);
        clean->ready.store(true, std::memory_order_release);
    });
}

void MainWindow::onOpenClicked() {
    OpenDialogOptions o;
    o.title = tr("Open coloring book");
    o.filter = QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.webp *.svg);;"
                              "All files (*)");
    o.initialDir = folders.openDialogFolder;
    const auto chosen = platform.dialogs->openFile(o);
    if (!chosen)
        return;
    try {
        shown.openingByHand = true;
        loadPage(*chosen);
        shown.openingByHand = false;
    } catch (const std::exception& e) {
        // The picture on the area stays; the parent who chose the file is told why (too
        // large, not a picture), where it used to fail without a word.
        shown.openingByHand = false;
        platform.messages->show(tr("Open coloring book"),
                                QFileInfo(*chosen).fileName() + QStringLiteral("\n") +
                                    QString::fromUtf8(e.what()),
                                MessageIcon::Warning);
    }
}

void MainWindow::onClearClicked() {
    tools.fillStyle = fillstyle::Normal;
    const auto reload = [this](const QString& path, bool byHand) {
        const QScopedValueRollback opening(shown.openingByHand, byHand);
        try {
            loadPage(path);
        } catch (const std::exception&) {
            // A page that cannot be loaded: start again on the white sheet, and say why once.
            loadPage(QString());
            catalogue.pageIndexAtLastClear = catalogue.currentPageIndex;
            tools.fillTexture = 0;
            throw;
        }
    };
    if (catalogue.pageIndexAtLastClear == catalogue.currentPageIndex)
        loadPage(QString());
    else if (!session.origin().openedFile.isEmpty())
        // A picture opened by hand comes back clean from its own file, not the catalogue's.
        reload(session.origin().openedFile, true);
    else if (!catalogue.catalogueNodes.empty() &&
             size_t(catalogue.currentPageIndex) < catalogue.catalogueNodes.size())
        reload(pagePath(catalogue.currentPageIndex), false);
    catalogue.pageIndexAtLastClear = catalogue.currentPageIndex;
    tools.fillTexture = 0;
}
