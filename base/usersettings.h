#pragma once
// The text of the per-user settings file (QSettings' INI format), read without QSettings:
// QSettings decodes every stored object of the file when it reads any key.
#include <QString>
#include <optional>

class QIODevice;

// A top-level key's value as the file holds it (unquoted, trimmed), or nothing: no such key,
// or a stored object (@Variant, @ByteArray...), a quote left open or a line too long to be
// one of ours. A later line of the same key wins, as in QSettings. Reads from where in is.
std::optional<QString> readUserSettingText(QIODevice& in, const QString& key);

// A switch's text: true/false, on/off, yes/no or 1/0 in any case; nothing for anything else.
std::optional<bool> switchValue(const QString& text);
