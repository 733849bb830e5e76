// config.ini on any bytes, Windows-1251 text included: reading never fails on a readable
// file, what the program then writes reads back unchanged, and nothing after the keys it
// wrote can override them.
#include "fuzz_support.h"

#include "base/cp1251.h"
#include "base/inifile.h"

namespace {
bool same(const ConfigValues& x, const ConfigValues& y) {
    return x.interfaceName == y.interfaceName && x.mouseOut == y.mouseOut &&
           x.screenAll == y.screenAll && x.soundOff == y.soundOff;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    // Every byte but the one the code page leaves undefined survives a round trip.
    QByteArray back = bytes;
    back.replace('\x98', '?');
    FUZZ_CHECK(toCp1251(fromCp1251(bytes)) == back);

    const ConfigValues read = configValues(bytes);

    // What the close writes from those values: the tab chosen by the exact name, the flags.
    ConfigValues written = read;
    written.interfaceName =
        read.interfaceName == kToddlerInterface ? kToddlerInterface : kKidsInterface;
    const QByteArray file = configFileBytes(written);
    FUZZ_CHECK(same(configValues(file), written));

    // The first occurrence of a key wins, whatever follows it.
    const IniFile ini = IniFile::parse(file + bytes);
    FUZZ_CHECK(ini.readString(kSettingsSection, QStringLiteral("Интерфейс"), {}) ==
               written.interfaceName);
    FUZZ_CHECK(ini.readBool(kSettingsSection, QStringLiteral("Мышка"), !written.mouseOut) ==
               written.mouseOut);
    FUZZ_CHECK(ini.readBool(kSettingsSection, QStringLiteral("Экран"), !written.screenAll) ==
               written.screenAll);
    FUZZ_CHECK(ini.readBool(kSettingsSection, QStringLiteral("Звук"), !written.soundOff) ==
               written.soundOff);
    return 0;
}
