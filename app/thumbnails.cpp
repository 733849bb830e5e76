#include "app/thumbnails.h"

#include "app/mainwindow.h"
#include "base/lowpriority.h"
#include "library/pageload.h"
#include "library/thumbnail.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

namespace {
constexpr int kArchiveImage = 1;
constexpr int kPageImage = 2;
constexpr int kStartDelayMs = 300;

int imageOf(const QTreeWidgetItem* item) {
    return item->data(0, Qt::UserRole).toInt();
}

// A cached picture is good while it is at least as new as its page and is what this
// program writes there.
QImage cachedOrMade(const QString& page, const QString& thumb) {
    const QFileInfo p(page), t(thumb);
    if (t.isFile() && t.lastModified() >= p.lastModified()) {
        const QImage img = readThumbnailFile(thumb);
        if (!img.isNull())
            return img;
    }
    // The parents' own pages may be of any common kind; the bundled ones are bitmaps.
    const QImage made = makeThumbnail(readPictureFile(page, QSize(1920, 1080)));
    if (made.isNull())
        return {};
    // Written aside and moved in: a run stopped half-way leaves no broken picture.
    const QString part = thumb + QStringLiteral(".part");
    if (made.save(part, "PNG")) {
        QFile::remove(thumb);
        if (!QFile::rename(part, thumb))
            QFile::remove(part);
    }
    return made;
}
} // namespace

CatalogueThumbnails::CatalogueThumbnails(MainWindow* form) : QObject(form), form_(form) {
    setObjectName(QStringLiteral("CatalogueThumbnails"));
    // A child opens a shelf with one touch on its picture, not on the small arrow.
    connect(form->ui.catalogueTree, &QTreeWidget::itemClicked, this, [](QTreeWidgetItem* item) {
        if (item && imageOf(item) == kArchiveImage)
            item->setExpanded(!item->isExpanded());
    });
}

CatalogueThumbnails::~CatalogueThumbnails() {
    stop();
}

void CatalogueThumbnails::stop() {
    stop_ = true;
    if (worker_) {
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
    }
}

QString CatalogueThumbnails::thumbnailPath(const QString& cacheFolder, const QString& pageName) {
    return ::thumbnailPath(cacheFolder, pageName);
}

void CatalogueThumbnails::start() {
    stop();
    stop_ = false;
    jobs_.clear();
    shown_ = 0;
    if (!enabled)
        return;
    MainWindow& f = *form_;
    f.ui.catalogueTree->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    static const QRegularExpression caption(QStringLiteral("^(.*) \\((\\d+)\\)$"));
    QTreeWidgetItem* archive = nullptr;
    for (int i = 0; i < int(f.catalogue.catalogueNodes.size()); ++i) {
        QTreeWidgetItem* node = f.catalogue.catalogueNodes[size_t(i)];
        if (imageOf(node) == kArchiveImage) {
            archive = node;
            const auto m = caption.match(node->text(0));
            if (m.hasMatch()) {
                node->setToolTip(0, m.captured(1));
                node->setText(0, friendlyArchiveName(m.captured(1)) + QStringLiteral(" (") +
                                     m.captured(2) + QStringLiteral(")"));
            }
            continue;
        }
        if (imageOf(node) != kPageImage)
            continue;
        // The parents' own pages may share a name with a bundled one: theirs are kept apart.
        const QVariant own = node->data(0, catalogue::FileRole);
        const QString thumbName = own.isValid()
                                      ? QStringLiteral("my-") + QFileInfo(own.toString()).fileName()
                                      : node->text(0);
        Job job{f.pagePath(i), thumbnailPath(f.folders.cacheFolder, thumbName), {node}};
        if (archive && archive->childCount() > 0 && archive->child(0) == node)
            job.nodes.push_back(archive);
        jobs_.push_back(std::move(job));
    }
    expected_ = int(jobs_.size());
    if (jobs_.empty())
        return;
    QDir().mkpath(f.folders.cacheFolder + QStringLiteral("/thumbs"));
    std::vector<std::pair<QString, QString>> files;
    for (const Job& j : jobs_)
        files.emplace_back(j.page, j.thumb);
    // A moment after the window is up and at a lower priority (nice 10, never starved: the
    // window waits for the picture in hand when it closes), so the pictures never slow the start.
    QTimer::singleShot(
        kStartDelayMs, this, [this, files = std::move(files), generation = ++generation_] {
            if (generation != generation_ || stop_)
                return; // started again meanwhile
            worker_ = QThread::create([this, files] {
                lowerThisThreadsPriority();
                for (size_t i = 0; i < files.size() && !stop_; ++i) {
                    const QImage img = cachedOrMade(files[i].first, files[i].second);
                    // Handed to the window's thread, where pictures become icons.
                    QMetaObject::invokeMethod(
                        this, [this, i, img] { deliver(i, img); }, Qt::QueuedConnection);
                }
            });
            worker_->start();
        });
}

void CatalogueThumbnails::deliver(size_t job, const QImage& picture) {
    ++shown_;
    if (picture.isNull() || job >= jobs_.size())
        return;
    const QIcon icon(QPixmap::fromImage(picture));
    for (QTreeWidgetItem* node : jobs_[job].nodes)
        node->setIcon(0, icon);
}

void CatalogueThumbnails::waitForAll() {
    while (shown_ < expected_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}
