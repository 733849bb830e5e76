#pragma once
// Helpers shared by the fuzz targets: a private scratch folder and invariant checks that
// stop the run, so that libFuzzer keeps the input.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// One folder per process, removed at exit; in memory (tmpfs) where the system has it, since
// a target that needs a file rewrites it for every input.
inline const QString& scratchDir() {
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm")
                                    : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/pictaro-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a scratch folder\n");
        std::abort();
    }
    static const QString path = dir.path();
    return path;
}

inline QString writeFile(const QString& name, const uint8_t* data, size_t size) {
    const QString path = scratchDir() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline quint32 crc32(const uint8_t* p, size_t n) {
    quint32 c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

// Gives every whole chunk of the first PNG in data the checksum of its bytes.
inline void fixPngChecksums(uint8_t* data, size_t size) {
    static const uint8_t magic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const uint8_t* start = std::search(data, data + size, magic, magic + sizeof magic);
    size_t pos = size_t(start - data) + sizeof magic;
    while (pos <= size && size - pos >= 12) {
        const size_t len = size_t(data[pos]) << 24 | size_t(data[pos + 1]) << 16 |
                           size_t(data[pos + 2]) << 8 | data[pos + 3];
        if (len > size - pos - 12)
            break;
        const quint32 crc = crc32(data + pos + 4, len + 4);
        for (int i = 0; i < 4; ++i)
            data[pos + 8 + len + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
        pos += 12 + len;
    }
}

} // namespace fuzz

// A smaller quarantine than ASan's 256 MB: freed memory comes back while it is still mapped
// and in the cache, where cycling through the whole quarantine page-faults on most large
// allocations (a third of the page target's time). Use after free is still caught for the
// last 16 MB freed. No call stack kept for each allocation: unwinding and storing one for
// every malloc and free took a fifth to a third of the time of the targets that allocate
// small strings. Errors are caught all the same; replay an input with
// ASAN_OPTIONS=malloc_context_size=30 to see where its memory was allocated and freed.
// ASAN_OPTIONS in the environment overrides these.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16:malloc_context_size=0";
}

namespace fuzz {
// Qt's warnings about damaged files (libpng's complaints, palette indexes out of range, seeks
// past the end), a few for most inputs, each formatted and written to stderr: up to a tenth
// of a run's time, and nothing the targets check. Set FUZZ_QT_MESSAGES to see them when
// replaying an input.
inline const bool quietQt = [] {
    if (!qEnvironmentVariableIsSet("FUZZ_QT_MESSAGES")) {
        QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    return true;
}();
} // namespace fuzz

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace fuzz {
// libFuzzer's mutations, then the PNG's checksums made right again in three mutations of
// four: a mutated PNG would otherwise stop at its first checksum, before the decoder and
// the program's checks behind it.
inline size_t mutateKeepingPngChecksums(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 4 != 0)
        fixPngChecksums(data, size);
    return size;
}

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\n*** invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzz

// Unlike assert(), stays in release builds.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            fuzz::fail(#cond, __FILE__, __LINE__);                                                 \
    } while (0)
