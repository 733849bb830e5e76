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

QString TForm1::PagePath(int nodeIndex) const {
    const QVariant own = TreeNodes[size_t(nodeIndex)]->data(0, catalogue::FileRole);
    if (own.isValid())
        return own.toString();
    const QString base = CacheFolder + QStringLiteral("/") + TreeNodes[size_t(nodeIndex)]->text(0);
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

void TForm1::LoadTreeFile() {
    // The page counters fit the tree as far as it got, also when the build stops on an error.
    struct SizeCounters {
        TForm1* form;
        ~SizeCounters() { form->PageCounts.assign(form->TreeNodes.size() + 1, TRaskraskaCount{}); }
    } sizeCounters{this};
    QDir pakDir(PakFolder);
    const QStringList entries = pakDir.entryList(
        {QStringLiteral("*.pak")},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    if (splash)
        splash->raiseMaximum(int(entries.size()));
    if (!QDir().mkpath(CacheFolder))
        throw std::runtime_error("Cannot create folder \"" + CacheFolder.toStdString() + "\"");
    // The scratch file sits in the page cache: the move out of it then stays on one file
    // system, and the current folder may not be writable.
    const QString scratch = CacheFolder + QStringLiteral("/Bitmap.tmp");
    QStringList damaged;
    for (const QString& name : entries) {
        progressStep();
        const QString path = pakDir.filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        auto* node = new QTreeWidgetItem(TreeView1);
        TreeNodes.push_back(node);
        const UnpackResult r = unpackArchive(path, CacheFolder, scratch, [&](const QString& page) {
            auto* child = new QTreeWidgetItem(node, {page});
            setImage(child, catalogue::PageNode);
            TreeNodes.push_back(child);
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
    LoadMyPages();
    // A damaged archive keeps the pages it does hold; the rest are named once, at the end.
    if (!damaged.isEmpty())
        throw std::runtime_error(damaged.join(QLatin1Char('\n')).toStdString());
}

void TForm1::TreeView1Click() {
    if (TreeNodes.empty())
        return;
    QTreeWidgetItem* item = TreeView1->currentItem();
    if (imageOf(item) != catalogue::PageNode)
        return;
    const auto it = std::find(TreeNodes.begin(), TreeNodes.end(), item);
    if (it == TreeNodes.end())
        return;
    CurrentPageIndex = int(it - TreeNodes.begin());
    LoadKartinka(PagePath(CurrentPageIndex));
    if (size_t(CurrentPageIndex) < PageCounts.size())
        PageCounts[size_t(CurrentPageIndex)].Name = item->text(0);
}

void TForm1::Button_RndRaskraskaClick() {
    if (TreeNodes.empty()) {
        LoadKartinka(QString());
        Label_Error->setVisible(true);
        Label_Error2->setVisible(true);
        Label_Error->move(Label_Error->x(), 115);
        Label_Error2->move(Label_Error2->x(), 115 + Label_Error->height() + 6);
    } else {
        rng::Randomize();
        const int previous = CurrentPageIndex;
        std::vector<int> candidates;
        for (int i = 0; i < int(TreeNodes.size()); ++i)
            if (imageOf(TreeNodes[size_t(i)]) == catalogue::PageNode && i != previous)
                candidates.push_back(i);
        if (candidates.empty()) {
            // Nothing new to draw: keep the page shown, or a white sheet when there is none.
            if (previous > 0)
                LoadKartinka(PagePath(previous));
            else
                LoadKartinka(QString());
        } else {
            // Drawing among the allowed nodes equals drawing again until one is allowed.
            CurrentPageIndex = candidates[size_t(rng::Random(int(candidates.size())))];
            LoadKartinka(PagePath(CurrentPageIndex));
            if (size_t(CurrentPageIndex) < PageCounts.size())
                PageCounts[size_t(CurrentPageIndex)].Name =
                    TreeNodes[size_t(CurrentPageIndex)]->text(0);
        }
    }
    FillTexture = 0;
}

void TForm1::Button_FolderClick() {
    Panel_Stat->setVisible(false);
    Panel_Tree->setVisible(true);
    setRightPanelWidth(430);
    Panel_Tree->setFixedWidth(300 - 2);
}

void TForm1::menu_openfolderClick() {
    if (QFileInfo(SaveFolder).isDir())
        OpenInShell(SaveFolder);
    else
        platform.messages->show(QStringLiteral("Information"), QStringLiteral("No coloring book!"),
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

QTreeWidgetItem* TForm1::MyPagesShelf() {
    for (QTreeWidgetItem* node : TreeNodes)
        if (node->data(0, catalogue::FileRole).toString() == paths.pagesFolder &&
            imageOf(node) == catalogue::ArchiveNode)
            return node;
    auto* shelf = new QTreeWidgetItem(TreeView1);
    setImage(shelf, catalogue::ArchiveNode);
    shelf->setData(0, catalogue::FileRole, paths.pagesFolder);
    TreeNodes.push_back(shelf);
    return shelf;
}

QTreeWidgetItem* TForm1::AddMyPageNode(const QString& file) {
    QTreeWidgetItem* shelf = MyPagesShelf();
    auto* page = new QTreeWidgetItem(shelf, {QFileInfo(file).completeBaseName()});
    setImage(page, catalogue::PageNode);
    page->setData(0, catalogue::FileRole, file);
    TreeNodes.push_back(page);
    shelf->setText(0, tr("My pages") + QStringLiteral(" (%1)").arg(shelf->childCount()));
    if (PageCounts.size() < TreeNodes.size() + 1)
        PageCounts.resize(TreeNodes.size() + 1);
    return page;
}

void TForm1::LoadMyPages() {
    if (paths.pagesFolder.isEmpty())
        return;
    // Oldest first: a page added last is at the end of the shelf, as it was when added.
    const QFileInfoList files =
        QDir(paths.pagesFolder).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& f : files)
        if (!f.fileName().endsWith(QStringLiteral(".part")))
            AddMyPageNode(f.filePath());
}

void TForm1::AddPagesClick() {
    OpenDialogOptions o;
    o.title = tr("Add pages");
    o.filter =
        tr("Pictures") + QStringLiteral(" (*.png *.jpg *.jpeg *.bmp *.gif *.webp *.svg *.PNG *.JPG "
                                        "*.JPEG *.BMP *.GIF *.WEBP *.SVG)");
    o.initialDir = OpenDialogInitialDir;
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
        last = AddMyPageNode(target);
        const QImage thumb = makeThumbnail(picture);
        if (!thumb.isNull()) {
            last->setIcon(0, QIcon(QPixmap::fromImage(thumb)));
            if (last->parent() && last->parent()->child(0) == last)
                last->parent()->setIcon(0, last->icon(0));
        }
    }
    if (last) {
        // The shelf is shown open on the new pages.
        Button_FolderClick();
        last->parent()->setExpanded(true);
        TreeView1->scrollToItem(last);
    }
    if (!refused.isEmpty())
        platform.messages->show(tr("Add pages"),
                                tr("These pictures cannot be used as pages:") +
                                    QStringLiteral("\n") + refused.join(QLatin1Char('\n')),
                                MessageIcon::Warning);
}
