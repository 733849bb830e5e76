#include "base/atomicfile.h"
#include "support/filelimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
QByteArray readAll(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(AtomicFile, ReplacesTheFileAndKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString p = dir.filePath("config.ini");
    writeFileAtomically(p, "first");
    EXPECT_EQ(readAll(p), "first");
    QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ReadGroup);
    writeFileAtomically(p, "second, longer");
    EXPECT_EQ(readAll(p), "second, longer");
    const auto modeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                          QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(p) & modeBits,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndNoLeftovers) {
    QTemporaryDir dir;
    const QString p = dir.filePath("config.ini");
    const QByteArray old(100, 'o');
    writeFileAtomically(p, old);
    {
        FileSizeLimit full(10); // the disk fills up after 10 bytes
        EXPECT_THROW(writeFileAtomically(p, QByteArray(100, 'n')), std::runtime_error);
    }
    EXPECT_EQ(readAll(p), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("config.ini")});
    // A folder in the way, or a missing folder, is a failure too.
    QDir().mkpath(dir.filePath("taken"));
    EXPECT_THROW(writeFileAtomically(dir.filePath("taken"), "x"), std::runtime_error);
    EXPECT_THROW(writeFileAtomically(dir.filePath("nowhere/file"), "x"), std::runtime_error);
}
