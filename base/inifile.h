#pragma once
// The settings file: one section of four keys, Windows-1251 bytes, read and written whole.
#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

// A parsed initialization file. Section and key names compare case-insensitively,
// values keep their case.
class IniFile {
  public:
    static IniFile parse(const QByteArray& bytes);
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // A value that is not a whole decimal number reads as the default.
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const {
        return readInteger(section, key, def ? 1 : 0) != 0;
    }

  private:
    std::map<QString, std::map<QString, QString>> sections_; // keys folded to lower case
};

struct ConfigValues {
    QString interfaceName = QStringLiteral("Малыш");
    bool mouseOut = false;
    bool screenAll = true;
    bool soundOff = true;
};

extern const QString kSettingsSection;
extern const QString kToddlerInterface;
extern const QString kKidsInterface;

// Missing file: defaults. Unreadable file: throws std::runtime_error.
ConfigValues readConfigFile(const QString& path);
// The values a file of these bytes holds, defaults for the keys it lacks.
ConfigValues configValues(const QByteArray& bytes);
// The whole file as it is written at close.
QByteArray configFileBytes(const ConfigValues& v);
