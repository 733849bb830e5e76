// The catalogue: page archives unpacked at start into the page cache and listed in the tree.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/splash.h"
#include "base/rng.h"
#include "library/pak.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
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
