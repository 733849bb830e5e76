// "My pictures": every page the child colored is kept, and coming back to it resumes it.
#include "app/application.h"
#include "app/childmode.h"
#include "app/mainwindow.h"
#include "app/options.h"
#include "base/lowpriority.h"
#include "library/picturestore.h"
#include "library/thumbnail.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <thread>

namespace {
// As large as the catalogue's page pictures beside them.
constexpr int kShelfIcon = kThumbnailSide;
constexpr int kShelfDelayMs = 300;
constexpr size_t kShelfBatch = 25;

// Any thread: the picture at the shelf's icon size.
QImage shelfIconImage(const QImage& picture) {
    if (picture.isNull())
        return {};
    // A whole page is first brought near the size quickly; the last step is smooth.
    const QImage near = picture.width() > 4 * kShelfIcon
                            ? picture.scaled(4 * kShelfIcon, 4 * kShelfIcon, Qt::KeepAspectRatio)
                            : picture;
    return near.scaled(kShelfIcon, kShelfIcon, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
} // namespace

bool MainWindow::pagesRememberColoring() const {
    return UserOptions::pagesRememberColoring();
}

void MainWindow::rememberColoringSwitch() {
    QCheckBox* box = optionsDialog->addSwitch(
        "rememberColoringCheck",
        QT_TRANSLATE_NOOP("OptionsDialog", "Pages remember their coloring"));
    box->setChecked(pagesRememberColoring());
    connect(box, &QCheckBox::toggled, this, &UserOptions::setPagesRememberColoring);
}

QString MainWindow::pageKey(int pageIndex, const QString& openedFile) const {
    if (!openedFile.isEmpty())
        return QStringLiteral("file:") + QFileInfo(openedFile).absoluteFilePath();
    const auto& nodes = catalogue.catalogueNodes;
    if (pageIndex <= 0 || size_t(pageIndex) >= nodes.size())
        return {};
    const QTreeWidgetItem* node = nodes[size_t(pageIndex)];
    const QVariant own = node->data(0, catalogue::FileRole);
    if (own.isValid())
        return QStringLiteral("file:") + QFileInfo(own.toString()).absoluteFilePath();
    // The page cache holds every archive's pages side by side: a page's name is unique.
    return QStringLiteral("page:") + node->text(0);
}

QString MainWindow::openedFileOfKey(const QString& key) {
    return key.startsWith(QStringLiteral("file:")) ? key.mid(5) : QString();
}

void MainWindow::keepLeavingPicture() {
    if (!pictures || !session.canvas() || !pictureChanged() ||
        session.canvas()->image.cacheKey() == shown.storedPictureKey)
        return;
    const PageOrigin& from = session.origin();
    const QString key = pageKey(from.pageIndex, from.openedFile);
    if (key.isEmpty())
        return;
    const QString name = from.openedFile.isEmpty()
                             ? catalogue.catalogueNodes[size_t(from.pageIndex)]->text(0)
                             : QFileInfo(from.openedFile).completeBaseName();
    // The picture is about to be replaced: shared, not copied; encoded on the store's thread.
    pictures->keep(key, name, session.canvas()->image);
    pictures->setCurrent(key);
    shown.storedPictureKey = session.canvas()->image.cacheKey();
    showOnShelf(key, name, session.canvas()->image);
}

bool MainWindow::resumeKeptPicture(const QString& key, const PageOrigin& origin, QString* why) {
    const PictureLoad kept = pictures->load(key);
    if (!kept.ok()) {
        *why = kept.error;
        return false;
    }
    placeKeptPicture(kept.picture, origin, true);
    // Left untouched, it is not written again nor moved up the shelf.
    shown.storedPictureKey = session.canvas()->image.cacheKey();
    playPrompt(QStringLiteral("S1"));
    return true;
}

void MainWindow::openPage(int pageIndex) {
    const QString key = pageKey(pageIndex, QString());
    QString why;
    if (pictures && pagesRememberColoring() && !key.isEmpty() && pictures->contains(key) &&
        resumeKeptPicture(key, {pageIndex, QString()}, &why))
        return;
    // A damaged entry was reported by the store: the page comes blank.
    loadPage(pagePath(pageIndex));
}

int MainWindow::pageIndexOfKey(const QString& key) const {
    for (size_t i = 1; i < catalogue.catalogueNodes.size(); ++i)
        if (pageKey(int(i), QString()) == key)
            return int(i);
    return 0;
}

void MainWindow::openKeptPicture(const QString& key) {
    if (!pictures)
        return;
    // A picture opened with File > Open, unless it is one of "My pages".
    PageOrigin origin{pageIndexOfKey(key), QString()};
    if (origin.pageIndex == 0)
        origin.openedFile = openedFileOfKey(key);
    const int wasPage = catalogue.currentPageIndex;
    if (origin.pageIndex > 0)
        catalogue.currentPageIndex = origin.pageIndex;
    QString why;
    if (!resumeKeptPicture(key, origin, &why)) {
        catalogue.currentPageIndex = wasPage;
        showErrorReport(platform.messages, tr("This picture cannot be read any more: %1").arg(why));
        return;
    }
    // The statistics count the page the picture came from, as if it was picked there.
    nameInStatistics(origin.pageIndex);
    tools.fillTexture = 0;
}

void MainWindow::deleteKeptPicture(const QString& key) {
    if (!pictures || !childMode->allowParents())
        return;
    pictures->remove(key);
    if (const int row = shelfRow(key); row >= 0) {
        delete myPicturesShelf->takeChild(row);
        updateShelfCaption();
    }
}

int MainWindow::shelfRow(const QString& key) const {
    if (myPicturesShelf)
        for (int i = 0; i < myPicturesShelf->childCount(); ++i)
            if (myPicturesShelf->child(i)->data(0, catalogue::PictureKeyRole).toString() == key)
                return i;
    return -1;
}

void MainWindow::showOnShelf(const QString& key, const QString& name, const QImage& picture,
                             bool newest) {
    if (!myPicturesShelf) {
        // Above the bundled shelves, outside the nodes the statistics count by position.
        myPicturesShelf = new QTreeWidgetItem(QStringList(tr("My pictures")));
        myPicturesShelf->setData(0, Qt::UserRole, catalogue::ArchiveNode);
        ui.catalogueTree->insertTopLevelItem(0, myPicturesShelf);
    }
    if (const int row = shelfRow(key); row >= 0)
        delete myPicturesShelf->takeChild(row); // one row a key
    auto* item = new QTreeWidgetItem(QStringList(name));
    item->setData(0, catalogue::PictureKeyRole, key);
    if (!picture.isNull())
        item->setIcon(0, QIcon(QPixmap::fromImage(shelfIconImage(picture))));
    myPicturesShelf->insertChild(newest ? 0 : myPicturesShelf->childCount(), item);
    updateShelfCaption();
}

void MainWindow::updateShelfCaption() {
    if (!myPicturesShelf)
        return;
    const int n = myPicturesShelf->childCount();
    myPicturesShelf->setText(0, tr("My pictures (%n)", nullptr, n));
    // The newest picture stands for the shelf, as a shelf's first page stands for it.
    myPicturesShelf->setIcon(0, n ? myPicturesShelf->child(0)->icon(0) : QIcon());
    myPicturesShelf->setExpanded(n > 0);
}

void MainWindow::buildMyPicturesShelf() {
    if (!pictures)
        return;
    ui.catalogueTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui.catalogueTree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { runGuarded([&] { onCatalogueMenu(at); }); });
    // A moment after the window is up, as the page pictures are: a shelf of hundreds of
    // pictures must not delay the first screen.
    QTimer::singleShot(kShelfDelayMs, this, [this] { startShelfReader(); });
}

void MainWindow::startShelfReader() {
    if (!pictures || shelfReader.joinable())
        return;
    // The store's headers and thumbnails are read off the window thread at a lower priority
    // and handed over a batch at a time, so that a tap meanwhile is not kept waiting.
    struct Found {
        QString key, name;
        QImage icon;
    };
    QPointer<MainWindow> self(this);
    PictureStore* store = pictures.get();
    const std::atomic<bool>* stop = &shelfReaderStop;
    shelfReader = std::thread([self, store, stop] {
        lowerThisThreadsPriority();
        std::vector<Found> batch;
        const auto handOver = [&] {
            QMetaObject::invokeMethod(
                qApp,
                [self, found = std::move(batch)] {
                    if (!self)
                        return;
                    // Below what this run kept meanwhile, which is newer.
                    for (const Found& f : found)
                        if (self->shelfRow(f.key) < 0)
                            self->showOnShelf(f.key, f.name, f.icon, false);
                },
                Qt::QueuedConnection);
            batch.clear();
        };
        for (const PictureEntry& e : store->list()) {
            if (*stop)
                return;
            batch.push_back({e.key, e.name, shelfIconImage(e.thumbnail())});
            if (batch.size() == kShelfBatch)
                handOver();
        }
        handOver();
    });
}

void MainWindow::onCatalogueMenu(const QPoint& at) {
    QTreeWidgetItem* item = ui.catalogueTree->itemAt(at);
    if (!item || !item->data(0, catalogue::PictureKeyRole).isValid())
        return;
    const QString key = item->data(0, catalogue::PictureKeyRole).toString();
    QMenu menu(this);
    menu.addAction(tr("Keep coloring")); // any choice but Delete opens the picture first
    QAction* save = menu.addAction(tr("Save..."));
    QAction* print = menu.addAction(tr("Print..."));
    QAction* send = menu.addAction(tr("Send to the gallery..."));
    menu.addSeparator();
    QAction* remove = menu.addAction(tr("Delete"));
    QAction* chosen = menu.exec(ui.catalogueTree->viewport()->mapToGlobal(at));
    if (chosen == remove)
        return deleteKeptPicture(key);
    if (!chosen)
        return;
    openKeptPicture(key);
    if (chosen == save)
        onSaveClicked();
    else if (chosen == print)
        onPrintClicked();
    else if (chosen == send)
        onSendClicked();
}
