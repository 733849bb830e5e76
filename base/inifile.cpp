#include "base/inifile.h"

#include "base/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

const QString kSettingsSection = QStringLiteral("Настройки");
const QString kToddlerInterface = QStringLiteral("Малыш");
const QString kKidsInterface = QStringLiteral("Детский");

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    const QString text = fromCp1251(bytes);
    std::map<QString, QString>* keys = nullptr; // the section being read
    // Lines are looked at in place; only the names and values kept are copied.
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                continue;
            keys = &ini.sections_[line.mid(1, close - 1).trimmed().toString().toLower()];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!keys || eq <= 0)
            continue;
        QString key = line.left(eq).trimmed().toString().toLower();
        if (keys->count(key)) // the first occurrence wins, as with the Windows functions
            continue;
        QStringView val = line.mid(eq + 1).trimmed();
        if (val.size() >= 2 && val.front() == val.back() &&
            (val.front() == u'"' || val.front() == u'\''))
            val = val.mid(1, val.size() - 2);
        keys->emplace(std::move(key), val.toString());
    }
    return ini;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const auto s = sections_.find(section.toLower());
    if (s == sections_.end())
        return std::nullopt;
    const auto k = s->second.find(key.toLower());
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    return value(section, key).value_or(def);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    const auto v = value(section, key);
    if (!v)
        return def;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? n : def;
}

ConfigValues readConfigFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open " + path.toStdString());
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw std::runtime_error("cannot read " + path.toStdString());
    return configValues(bytes);
}

ConfigValues configValues(const QByteArray& bytes) {
    ConfigValues v;
    const IniFile ini = IniFile::parse(bytes);
    v.interfaceName =
        ini.readString(kSettingsSection, QStringLiteral("Интерфейс"), kToddlerInterface);
    v.mouseOut = ini.readBool(kSettingsSection, QStringLiteral("Мышка"), false);
    v.screenAll = ini.readBool(kSettingsSection, QStringLiteral("Экран"), true);
    v.soundOff = ini.readBool(kSettingsSection, QStringLiteral("Звук"), true);
    return v;
}

QByteArray configFileBytes(const ConfigValues& v) {
    auto b = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const QString text = QStringLiteral("[") + kSettingsSection + QStringLiteral("]\r\n") +
                         QStringLiteral("Интерфейс=") + v.interfaceName + QStringLiteral("\r\n") +
                         QStringLiteral("Мышка=") + b(v.mouseOut) + QStringLiteral("\r\n") +
                         QStringLiteral("Экран=") + b(v.screenAll) + QStringLiteral("\r\n") +
                         QStringLiteral("Звук=") + b(v.soundOff) + QStringLiteral("\r\n");
    return toCp1251(text);
}
