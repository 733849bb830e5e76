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
    QString section;
    bool inSection = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            if (close < 0)
                continue;
            section = line.mid(1, close - 1).trimmed().toLower();
            inSection = true;
            ini.sections_[section];
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toLower();
        QString val = line.mid(eq + 1).trimmed();
        if (val.size() >= 2 && val.front() == val.back() &&
            (val.front() == QLatin1Char('"') || val.front() == QLatin1Char('\'')))
            val = val.mid(1, val.size() - 2);
        auto& keys = ini.sections_[section];
        if (!keys.count(key)) // the first occurrence wins, as with the Windows functions
            keys[key] = val;
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
