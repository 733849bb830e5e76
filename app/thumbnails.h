#pragma once
// Page pictures in the catalogue. Each page's thumbnail is made once, when its archive has
// been unpacked, and kept beside the pages in the cache ("thumbs/<page>.png"); a worker
// thread reads or makes them so the window comes up as fast as before, and the pictures
// appear as they are ready. Archives get friendly captions and the picture of their first
// page; the archive's file name stays in the node's tooltip.
#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <vector>

class QThread;
class QTreeWidgetItem;
class MainWindow;

class CatalogueThumbnails : public QObject {
    Q_OBJECT
  public:
    explicit CatalogueThumbnails(MainWindow* form);
    ~CatalogueThumbnails() override;
    // Starts on the catalogue as it stands.
    void start();
    // Blocks until every picture is made and shown; for tests and measurements.
    void waitForAll();
    int shown() const { return shown_; }
    // Off: the catalogue as it was, with no pictures; the start-up benchmark compares both.
    static inline bool enabled = true;
    static QString thumbnailPath(const QString& cacheFolder, const QString& pageName);

  private:
    struct Job {
        QString page, thumb;
        std::vector<QTreeWidgetItem*> nodes; // the page, and its archive when it comes first
    };
    void deliver(size_t job, const QImage& picture);
    void stop();
    MainWindow* form_;
    std::vector<Job> jobs_;
    QThread* worker_ = nullptr;
    std::atomic<bool> stop_{false};
    int shown_ = 0;
    int generation_ = 0;
    int expected_ = 0;
};
