// The pictures store: exact pictures back, newest first, bounded, and never a damaged entry
// shown, whatever was killed or dropped into its folder.
#include "library/picturestore.h"

#include "library/thumbnail.h"
#include "share/autosave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>

namespace {
QImage picture(int seed, QSize size = QSize(97, 61)) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(
                x, y, qRgb((x * 37 + seed) & 255, (y * 11 + seed * 3) & 255, (x ^ y ^ seed) & 255));
    return img;
}

QStringList keysOf(const std::vector<PictureEntry>& entries) {
    QStringList out;
    for (const PictureEntry& e : entries)
        out << e.key;
    return out;
}

struct Store : ::testing::Test {
    QTemporaryDir dir;
    QStringList logged;
    QString folder() const { return dir.filePath(QStringLiteral("pictures")); }
    // Named as a caller may: with a trailing slash.
    std::unique_ptr<PictureStore> open() {
        return std::make_unique<PictureStore>(folder() + QLatin1Char('/'),
                                              [this](const QString& s) {
                                                  static std::mutex m;
                                                  std::lock_guard<std::mutex> l(m);
                                                  logged << s;
                                              });
    }
};
} // namespace

TEST_F(Store, GivesBackExactPicturesUnderAnyKeyBeforeAndAfterARestart) {
    const QString odd = QStringLiteral("file:/home/x/../a b/Мишка?*\n.png");
    {
        auto s = open();
        s->keep(odd, QStringLiteral("Мишка"), picture(1));
        s->keep(QStringLiteral("zoo.pak/cat"), QStringLiteral("cat"),
                picture(2).convertToFormat(QImage::Format_RGB888));
        EXPECT_EQ(s->load(odd).picture, picture(1)); // waiting or written: the same
        EXPECT_FALSE(s->load(QStringLiteral("never kept")).ok());
    }
    auto s = open();
    const PictureLoad a = s->load(odd);
    ASSERT_TRUE(a.ok()) << a.error.toStdString();
    EXPECT_EQ(a.picture, picture(1));
    EXPECT_EQ(a.picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(a.name, QStringLiteral("Мишка"));
    EXPECT_EQ(s->load(QStringLiteral("zoo.pak/cat")).picture, picture(2));
    // Every file is a plain name inside the folder.
    for (const QString& f : QDir(folder()).entryList(QDir::Files))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{40}\\.pic$")).match(f).hasMatch())
            << f.toStdString();
    const std::vector<PictureEntry> all = s->list();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].thumbnail(), makeThumbnail(picture(1)));
    EXPECT_TRUE(all[0].picture.isNull()); // the list reads no pixels
    EXPECT_TRUE(logged.isEmpty()) << logged.join('\n').toStdString();
}

TEST_F(Store, ListsNewestChangeFirstWhetherWrittenOrStillWaiting) {
    auto s = open();
    for (const char* k : {"a", "b", "c", "a"})
        s->keep(QString::fromLatin1(k), QString::fromLatin1(k), picture(k[0]));
    const QStringList want{"a", "c", "b"};
    EXPECT_EQ(keysOf(s->list()), want);
    s->flush();
    EXPECT_EQ(keysOf(open()->list()), want);
    s->remove(QStringLiteral("c"));
    EXPECT_FALSE(s->contains(QStringLiteral("c")));
    EXPECT_FALSE(s->load(QStringLiteral("c")).ok());
    s->flush();
    EXPECT_EQ(keysOf(open()->list()), (QStringList{"a", "b"}));
}

TEST_F(Store, BoundsDropTheOldestChangedButNeverTheCurrentPicture) {
    auto s = open();
    s->setCurrent(QStringLiteral("p0"));
    s->setLimits(3, PictureStore::kDefaultMaxBytes);
    for (int i = 0; i < 6; ++i)
        s->keep(QStringLiteral("p%1").arg(i), QString(), picture(i));
    s->flush();
    EXPECT_EQ(keysOf(s->list()), (QStringList{"p5", "p4", "p0"}));

    const qint64 one = s->list().front().bytes;
    s->setLimits(100, 2 * one + one / 2);
    s->keep(QStringLiteral("p6"), QString(), picture(6));
    s->flush();
    EXPECT_EQ(keysOf(s->list()), (QStringList{"p6", "p0"}));
    // The marker outlives the store; removing the current picture clears it.
    EXPECT_EQ(open()->current(), QStringLiteral("p0"));
    s->remove(QStringLiteral("p0"));
    s->flush();
    EXPECT_EQ(open()->current(), QString());
}

TEST_F(Store, DamagedCutOrForeignFilesAreSkippedAndReported) {
    const QByteArray bytes =
        encodePictureEntry({QStringLiteral("k"), QStringLiteral("n"), 5, {}, picture(3), {}, 0});
    ASSERT_TRUE(decodePictureEntry(bytes, true));
    for (qsizetype n = 0; n < bytes.size(); n += 1 + n / 7)
        EXPECT_FALSE(decodePictureEntry(bytes.left(n), true)) << n;
    QByteArray huge = bytes; // a width and height whose product overflows 64 bits signed
    huge.replace(26, 8, QByteArray(8, char(0xff)));
    EXPECT_FALSE(decodePictureEntry(huge, false));
    for (qsizetype at = 0; at < bytes.size(); at += 1 + at / 5) {
        QByteArray bad = bytes;
        bad[at] = char(bad[at] ^ 0x10);
        EXPECT_FALSE(decodePictureEntry(bad, true)) << at;
    }

    auto s = open();
    for (const char* k : {"good", "cut", "header", "pixels", "moved"})
        s->keep(QString::fromLatin1(k), QString(), picture(k[0]));
    s->flush();
    const auto rewrite = [&](const char* key, const std::function<void(QByteArray&)>& change) {
        QFile f(s->fileFor(QString::fromLatin1(key)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray b = f.readAll();
        change(b);
        f.resize(0);
        f.seek(0);
        f.write(b);
    };
    rewrite("cut", [](QByteArray& b) { b.chop(9); });
    rewrite("header", [](QByteArray& b) { b[55] = char(b[55] ^ 1); });
    rewrite("pixels", [](QByteArray& b) { b[b.size() - 30] = char(b[b.size() - 30] ^ 1); });
    ASSERT_TRUE(QFile::rename(s->fileFor(QStringLiteral("moved")),
                              s->fileFor(QStringLiteral("elsewhere"))));
    QFile foreign(folder() + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("a parent's notes");
    foreign.close();

    // The damaged pixels are seen only when read; the header still lists them.
    EXPECT_EQ(keysOf(open()->list()), (QStringList{"pixels", "good"}));
    for (const char* name : {"notes.txt", "another name", "cut short", "header is damaged"})
        EXPECT_TRUE(logged.join('\n').contains(QString::fromLatin1(name))) << name;
    const PictureLoad broken = open()->load(QStringLiteral("pixels"));
    EXPECT_FALSE(broken.ok());
    EXPECT_TRUE(broken.error.contains(QStringLiteral("damaged")));
    EXPECT_FALSE(open()->load(QStringLiteral("elsewhere")).ok());
    EXPECT_EQ(open()->load(QStringLiteral("good")).picture, picture('g'));
}

TEST_F(Store, ConcurrentKeepsOfOneKeyLeaveTheNewest) {
    auto s = open();
    const QSize big(640, 480); // slow enough to encode that keeps pile up behind a write
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 15; ++i)
                s->keep(QStringLiteral("page"), QString::number(t), picture(t * 100 + i, big));
        });
    for (std::thread& t : threads)
        t.join();
    s->keep(QStringLiteral("page"), QStringLiteral("last"), picture(999, big));
    s->flush();
    const PictureLoad back = open()->load(QStringLiteral("page"));
    EXPECT_EQ(back.name, QStringLiteral("last"));
    EXPECT_EQ(back.picture, picture(999, big));
    EXPECT_EQ(open()->list().size(), 1u);
}

TEST_F(Store, KeepChangedCopiesWhatChangedAndNeverSharesThePage) {
    auto s = open();
    QImage page = picture(1, QSize(300, 200));
    s->keepChanged(QStringLiteral("p"), QString(), page, page.rect());
    EXPECT_TRUE(page.isDetached());
    // Strokes while the thread is writing: each one's rectangle is all that is copied.
    for (int i = 0; i < 40; ++i) {
        const QRect r((i * 37) % 280, (i * 23) % 180, 20, 20);
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(page.scanLine(y)) + r.left(), r.width(),
                        qRgb(i, 255 - i, 7));
        s->keepChanged(QStringLiteral("p"), QString(), page, r);
        EXPECT_TRUE(page.isDetached()); // the next stroke copies nothing
    }
    s->flush();
    EXPECT_EQ(open()->load(QStringLiteral("p")).picture, page);

    // Another key starts from the whole page, whatever rectangle comes with it.
    page.setPixel(0, 0, qRgb(1, 2, 3));
    s->keepChanged(QStringLiteral("q"), QString(), page, QRect(100, 100, 1, 1));
    s->flush();
    EXPECT_EQ(open()->load(QStringLiteral("q")).picture, page);
}

// A writer killed at random moments, again and again: every entry listed afterwards reads
// back as the picture its name says, and what the killed writes left behind is swept.
TEST_F(Store, AKillAtAnyMomentNeverLeavesADamagedEntryListed) {
    const QByteArray childDir = qgetenv("PICTARO_STORE_KILL_CHILD");
    if (!childDir.isEmpty()) {
        // Written one after the other, so that the kill most likely lands inside a write.
        std::vector<QImage> pictures;
        for (int i = 0; i < 8; ++i)
            pictures.push_back(picture(i, QSize(800, 600)));
        PictureStore s(QString::fromUtf8(childDir));
        for (int i = 0;; ++i) {
            s.keep(QStringLiteral("page%1").arg(i % 4), QString::number(i % 8), pictures[i % 8]);
            s.flush();
        }
    }
    for (int round = 0; round < 5; ++round) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PICTARO_STORE_KILL_CHILD"), folder());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The killed child cannot remove its own temporary folders: they go with ours.
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Store.AKillAtAnyMoment*")});
        ASSERT_TRUE(child.waitForStarted());
        // From its first entry on (a loaded machine may take a while to get there).
        for (int waited = 0; waited < 20000 && QDir(folder()).entryList({"*.pic"}).isEmpty();
             waited += 10)
            QThread::msleep(10);
        QThread::msleep(QRandomGenerator::global()->bounded(600));
        child.kill();
        child.waitForFinished();
        auto s = open();
        const std::vector<PictureEntry> all = s->list();
        EXPECT_FALSE(all.empty());
        for (const PictureEntry& e : all) {
            const PictureLoad back = s->load(e.key);
            ASSERT_TRUE(back.ok()) << back.error.toStdString();
            EXPECT_EQ(back.picture, picture(e.name.toInt(), QSize(800, 600)));
        }
    }
    EXPECT_TRUE(logged.isEmpty()) << logged.join('\n').toStdString();

    // A temporary file cut short is never listed, and goes with the next write.
    auto s = open();
    const QString tmp = folder() + QStringLiteral("/.%1.2147480000-0.tmp")
                                       .arg(QFileInfo(s->fileFor(QStringLiteral("x"))).fileName());
    QFile part(tmp);
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(encodePictureEntry({QStringLiteral("x"), {}, 1, {}, picture(1), {}, 0}).left(99));
    part.close();
    EXPECT_FALSE(s->contains(QStringLiteral("x")));
    s->keep(QStringLiteral("y"), QString(), picture(2));
    s->flush();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Hidden | QDir::Files).filter(".tmp"), QStringList());
}

TEST_F(Store, TakesOverAnAutosaveFileOnlyWhenItCanReadIt) {
    const QString path = dir.filePath(QStringLiteral("autosave.dat"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeAutosave({picture(7), QStringLiteral("Кот")}));
    f.close();
    {
        auto s = open();
        EXPECT_TRUE(s->adoptAutosave(
            path, [](const QString& page) { return QStringLiteral("animals.pak/") + page; }));
    }
    EXPECT_FALSE(QFile::exists(path));
    auto s = open();
    EXPECT_EQ(s->current(), QStringLiteral("animals.pak/Кот"));
    const PictureLoad back = s->load(s->current());
    EXPECT_EQ(back.picture, picture(7));
    EXPECT_EQ(back.name, QStringLiteral("Кот"));

    // Damaged: left where it is, reported, and nothing is made current.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PICTARO-AUTOSAVE-1\nbroken");
    f.close();
    auto other = std::make_unique<PictureStore>(dir.filePath(QStringLiteral("other")),
                                                [this](const QString& w) { logged << w; });
    EXPECT_FALSE(other->adoptAutosave(path));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(other->current(), QString());
    EXPECT_EQ(logged.size(), 1);
}

TEST_F(Store, TheLastPicturesWrittenOpenFromMemoryUntilRemovedOrPushedOut) {
    auto s = open();
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
    s->keep(a, QStringLiteral("A"), picture(1));
    s->flush();
    // Its file damaged behind the store's back: a read of it would fail, memory does not.
    const auto damage = [&](const QString& key) {
        QFile f(s->fileFor(key));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(64, '\x5A'));
    };
    damage(a);
    PictureLoad got = s->load(a);
    EXPECT_TRUE(got.ok());
    EXPECT_EQ(got.picture, picture(1));
    EXPECT_EQ(got.name, QStringLiteral("A"));

    // Two newer ones push it out: it is read from its file again, and found damaged.
    s->keep(b, QStringLiteral("B"), picture(2));
    s->keep(c, QStringLiteral("C"), picture(3));
    s->flush();
    EXPECT_FALSE(s->load(a).ok());
    EXPECT_EQ(s->load(b).picture, picture(2));

    // Removed: gone from memory at once, not only once the file is.
    s->remove(c);
    EXPECT_FALSE(s->load(c).ok());
    s->flush();
    EXPECT_FALSE(s->load(c).ok());
    EXPECT_FALSE(s->contains(c));
}
