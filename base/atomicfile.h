#pragma once
// Writing a file whole without ever leaving it half written.
#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes: they go to a new file in the same folder, are flushed
// to the disk, and that file is then renamed over the old one. On any failure the old file
// stays as it was, the new one is removed, and std::runtime_error says why. An existing file
// that may not be written is refused, as an in-place rewrite would be.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
