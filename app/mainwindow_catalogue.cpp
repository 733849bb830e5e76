// The catalogue: page archives unpacked at start into the page cache and listed in the tree.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/splash.h"
#include "base/atomicfile.h"
#include "base/rng.h"
#include "library/pageload.h"
#include "library/pak.h"
#include "library/thumbnail.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTreeWidget>
#include <stdexcept>

namespace {
int imageOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

QIcon treeIcon(int image) {
    QIcon icon;
    const QString res = QStringLiteral(":/tree/tree%1.png").arg(image);
    if (QFileInfo::exists(res)) {
        icon.addFile(res);
        const QString hi = QStringLiteral(":/tree/tree%1@2x.png").arg(image);
        if (QFileInfo::exists(hi))
            icon.addFile(hi);
    }
    return icon;
}

void setImage(QTreeWidgetItem* item, int image) {
    item->setData(0, Qt::UserRole, image);
    // One icon per kind of node, shared by every node of that kind: a fresh icon per node
    // costs kilobytes, and catalogues run to tens of thousands of pages.
    static const QIcon archiveIcon = treeIcon(catalogue::ArchiveNode);
    static const QIcon pageIcon = treeIcon(catalogue::PageNode);
    const QIcon& icon = image == catalogue::ArchiveNode ? archiveIcon : pageIcon;
    if (!icon.isNull())
        item->setIcon(0, icon);
}
} // namespace

QString MainWindow::pagePath(int nodeIndex) const {
    const QVariant own = catalogue.catalogueNodes[size_t(nodeIndex)]->data(0, catalogue::FileRole);
    if (own.isValid())
        return own.toString();
    const QString base = folders.cacheFolder + QStringLiteral("/") +
                         catalogue.catalogueNodes[size_t(nodeIndex)]->text(0);
    const QString path = base + QStringLiteral(".bmp");
    if (QFileInfo(path).isFile())
        return path;
    // The archives come from a system that ignores letter case: "CAT.BMP" is the page "CAT".
    for (int mask = 1; mask < 8; ++mask) {
        QString ext = QStringLiteral(".bmp");
        for (int i = 0; i < 3; ++i)
            if (mask & (1 << i))
                ext[i + 1] = ext[i + 1].toUpper();
        if (QFileInfo(base + ext).isFile())
            return base + ext;
    }
    return path;
}

void MainWindow::loadCatalogue() {
    // The page counters fit the tree as far as it got, also when the build stops on an error.
    struct SizeCounters {
        MainWindow* form;
        ~SizeCounters() {
            form->stats.pageCounts.assign(form->catalogue.catalogueNodes.size() + 1, PageCount{});
        }
    } sizeCounters{this};
    QDir pakDir(folders.pakFolder);
    const QStringList entries = pakDir.entryList(
        {QStringLiteral("*.pak")},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    if (splash)
        splash->raiseMaximum(int(entries.size()));
    if (!QDir().mkpath(folders.cacheFolder))
        throw std::runtime_error("Cannot create folder \"" + folders.cacheFolder.toStdString() +
                                 "\"");
    // The scratch file sits in the page cache: the move out of it then stays on one file
    // system, and the current folder may not be writable.
    const QString scratch = folders.cacheFolder + QStringLiteral("/Bitmap.tmp");
    QStringList damaged;
    for (const QString& name : entries) {
        progressStep();
        const QString path = pakDir.filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        auto* node = new QTreeWidgetItem(ui.catalogueTree);
        catalogue.catalogueNodes.push_back(node);
        const UnpackResult r =
            unpackArchive(path, folders.cacheFolder, scratch, [&](const QString& page) {
                auto* child = new QTreeWidgetItem(node, {page});
                setImage(child, catalogue::PageNode);
                catalogue.catalogueNodes.push_back(child);
            });
        node->setText(0, name + QStringLiteral(" (") + QString::number(r.entries) +
                             QStringLiteral(")"));
        setImage(node, catalogue::ArchiveNode);
        if (!r.error.isEmpty())
            damaged.append(r.error);
        QApplication::processEvents();
    }
    QFile::remove(scratch);
    // After every bundled shelf, so the positions the statistics count never move.
    loadMyPages();
    // A damaged archive keeps the pages it does hold; the rest are named once, at the end.
    if (!damaged.isEmpty())
        throw std::runtime_error(damaged.join(QLatin1Char('\n')).toStdString());
}

void MainWindow::onCatalogueItemClicked() {
    QTreeWidgetItem* item = ui.catalogueTree->currentItem();
    if (item && item->data(0, catalogue::PictureKeyRole).isValid())
        return openKeptPicture(item->data(0, catalogue::PictureKeyRole).toString());
    if (catalogue.catalogueNodes.empty())
        return;
    if (imageOf(item) != catalogue::PageNode)
        return;
    const auto it =
        std::find(catalogue.catalogueNodes.begin(), catalogue.catalogueNodes.end(), item);
    if (it == catalogue.catalogueNodes.end())
        return;
    catalogue.currentPageIndex = int(it - catalogue.catalogueNodes.begin());
    openPage(catalogue.currentPageIndex);
    nameInStatistics(catalogue.currentPageIndex);
}

void MainWindow::onRandomPageClicked() {
    if (catalogue.catalogueNodes.empty()) {
        loadPage(QString());
        ui.noPagesLabel->setVisible(true);
        ui.siteLinkLabel->setVisible(true);
        ui.noPagesLabel->move(ui.noPagesLabel->x(), 115);
        ui.siteLinkLabel->move(ui.siteLinkLabel->x(), 115 + ui.noPagesLabel->height() + 6);
    } else {
        rng::Randomize();
        const int previous = catalogue.currentPageIndex;
        std::vector<int> candidates;
        for (int i = 0; i < int(catalogue.catalogueNodes.size()); ++i)
            if (imageOf(catalogue.catalogueNodes[size_t(i)]) == catalogue::PageNode &&
                i != previous)
                candidates.push_back(i);
        if (candidates.empty()) {
            // Nothing new to draw: keep the page shown, or a white sheet when there is none.
            if (previous > 0)
                openPage(previous);
            else
                loadPage(QString());
        } else {
            // Drawing among the allowed nodes equals drawing again until one is allowed.
            catalogue.currentPageIndex = candidates[size_t(rng::Random(int(candidates.size())))];
            openPage(catalogue.currentPageIndex);
            nameInStatistics(catalogue.currentPageIndex);
        }
    }
    tools.fillTexture = 0;
}

void MainWindow::onCatalogueButtonClicked() {
    ui.statisticsPanel->setVisible(false);
    ui.cataloguePanel->setVisible(true);
    setRightPanelWidth(430);
    ui.cataloguePanel->setFixedWidth(300 - 2);
}

void MainWindow::onOpenFolderClicked() {
    if (QFileInfo(folders.saveFolder).isDir())
        openInShell(folders.saveFolder);
    else
        platform.messages->show(tr("Information"), tr("No coloring book!"),
                                MessageIcon::Information);
}

// --- the parents' own pages

namespace {
constexpr qint64 kMaxPageFileBytes = qint64(100) << 20;

// Drawn as large as a page is shown on a big screen: an SVG has no size of its own.
constexpr QSize kOwnPageArea(1920, 1080);

// "cat.png" in a folder holding it already: "cat (2).png", "cat (3).png", ...
QString freeNameIn(const QDir& dir, const QFileInfo& file) {
    QString name = file.fileName();
    for (int k = 2; QFileInfo::exists(dir.filePath(name)); ++k)
        name = file.completeBaseName() + QStringLiteral(" (%1)").arg(k) +
               (file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix());
    return dir.filePath(name);
}
} // namespace

QTreeWidgetItem* MainWindow::myPagesShelf() {
    for (QTreeWidgetItem* node : catalogue.catalogueNodes)
        if (node->data(0, catalogue::FileRole).toString() == paths.pagesFolder &&
            imageOf(node) == catalogue::ArchiveNode)
            return node;
    auto* shelf = new QTreeWidgetItem(ui.catalogueTree);
    setImage(shelf, catalogue::ArchiveNode);
    shelf->setData(0, catalogue::FileRole, paths.pagesFolder);
    catalogue.catalogueNodes.push_back(shelf);
    return shelf;
}

QTreeWidgetItem* MainWindow::addMyPageNode(const QString& file) {
    QTreeWidgetItem* shelf = myPagesShelf();
    auto* page = new QTreeWidgetItem(shelf, {QFileInfo(file).completeBaseName()});
    setImage(page, catalogue::PageNode);
    page->setData(0, catalogue::FileRole, file);
    catalogue.catalogueNodes.push_back(page);
    shelf->setText(0, myPagesCaption(shelf->childCount()));
    if (stats.pageCounts.size() < catalogue.catalogueNodes.size() + 1)
        stats.pageCounts.resize(catalogue.catalogueNodes.size() + 1);
    return page;
}

void MainWindow::loadMyPages() {
    if (paths.pagesFolder.isEmpty())
        return;
    // Oldest first: a page added last is at the end of the shelf, as it was when added.
    const QFileInfoList files =
        QDir(paths.pagesFolder).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& f : files)
        if (!f.fileName().endsWith(QStringLiteral(".part")))
            addMyPageNode(f.filePath());
}

void MainWindow::onAddPagesClicked() {
    OpenDialogOptions o;
    o.title = tr("Add pages");
    o.filter =
        tr("Pictures") + QStringLiteral(" (*.png *.jpg *.jpeg *.bmp *.gif *.webp *.svg *.PNG *.JPG "
                                        "*.JPEG *.BMP *.GIF *.WEBP *.SVG)");
    o.initialDir = folders.openDialogFolder;
    const QStringList chosen = platform.dialogs->openFiles(o);
    if (chosen.isEmpty() || paths.pagesFolder.isEmpty())
        return;
    if (!QDir().mkpath(paths.pagesFolder))
        throw std::runtime_error("Cannot create folder \"" + paths.pagesFolder.toStdString() +
                                 "\"");
    const QDir dir(paths.pagesFolder);
    QStringList refused;
    QTreeWidgetItem* last = nullptr;
    for (const QString& path : chosen) {
        QString error;
        const QImage picture = readPictureFile(path, kOwnPageArea, &error);
        QFile in(path);
        if (picture.isNull() || !in.open(QIODevice::ReadOnly) || in.size() > kMaxPageFileBytes) {
            refused.append(QFileInfo(path).fileName() +
                           (error.isEmpty() ? QString() : QStringLiteral(": ") + error));
            continue;
        }
        const QString target = freeNameIn(dir, QFileInfo(path));
        writeFileAtomically(target, in.readAll());
        last = addMyPageNode(target);
        const QImage thumb = makeThumbnail(picture);
        if (!thumb.isNull()) {
            last->setIcon(0, QIcon(QPixmap::fromImage(thumb)));
            if (last->parent() && last->parent()->child(0) == last)
                last->parent()->setIcon(0, last->icon(0));
        }
    }
    if (last) {
        // The shelf is shown open on the new pages.
        onCatalogueButtonClicked();
        last->parent()->setExpanded(true);
        ui.catalogueTree->scrollToItem(last);
    }
    if (!refused.isEmpty())
        platform.messages->show(
            tr("Add pages"),
            tr("%n picture(s) cannot be used as pages:", nullptr, int(refused.size())) +
                QStringLiteral("\n") + refused.join(QLatin1Char('\n')),
            MessageIcon::Warning);
}
