#include "base/cp1251.h"
#include "base/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString writeFile(QTemporaryDir& dir, const QByteArray& bytes) {
    const QString p = dir.filePath("config.ini");
    QFile f(p);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return p;
}
QByteArray cp(const char* utf8) {
    return toCp1251(QString::fromUtf8(utf8));
}
} // namespace

TEST(Config, MissingFileGivesTheDefaults) {
    QTemporaryDir dir;
    const ConfigValues v = readConfigFile(dir.filePath("config.ini"));
    EXPECT_EQ(v.interfaceName, QStringLiteral("Малыш"));
    EXPECT_FALSE(v.mouseOut);
    EXPECT_TRUE(v.screenAll);
    EXPECT_TRUE(v.soundOff);
}

TEST(Config, WrittenFileIsExactlyTheFourKeysInWindows1251) {
    ConfigValues v;
    v.interfaceName = QStringLiteral("Детский");
    v.mouseOut = true;
    v.screenAll = false;
    v.soundOff = false;
    const QByteArray expected =
        cp("[Настройки]\r\nИнтерфейс=Детский\r\nМышка=1\r\nЭкран=0\r\nЗвук=0\r\n");
    EXPECT_EQ(configFileBytes(v), expected);
    // The bytes really are single-byte Cyrillic: "Н" is 0xCD in Windows-1251.
    EXPECT_EQ(static_cast<unsigned char>(expected[1]), 0xCD);
}

TEST(Config, ReadsWhatItWrites) {
    QTemporaryDir dir;
    ConfigValues v;
    v.interfaceName = QStringLiteral("Детский");
    v.mouseOut = true;
    v.soundOff = false;
    const ConfigValues back = readConfigFile(writeFile(dir, configFileBytes(v)));
    EXPECT_EQ(back.interfaceName, v.interfaceName);
    EXPECT_EQ(back.mouseOut, true);
    EXPECT_EQ(back.screenAll, true);
    EXPECT_EQ(back.soundOff, false);
}

TEST(Config, ValuesAreReadAsTheWindowsFunctionsReadThem) {
    QTemporaryDir dir;
    // Keys and sections compare without case, values keep it; a non-number is the default;
    // any non-zero number is on; other sections are ignored.
    const QByteArray text = cp("[Other]\nЗвук=0\n[настройки]\n  интерфейс = малыш \nМЫШКА=7\n"
                               "Экран=yes\nЗвук=0\n");
    const ConfigValues v = readConfigFile(writeFile(dir, text));
    EXPECT_EQ(v.interfaceName, QStringLiteral("малыш")); // not "Малыш": selects Kids
    EXPECT_NE(v.interfaceName, kToddlerInterface);
    EXPECT_TRUE(v.mouseOut);
    EXPECT_TRUE(v.screenAll);
    EXPECT_FALSE(v.soundOff);
}

TEST(Config, ParserKeepsTheFirstKeyStripsQuotesAndSkipsWhatIsNoKey) {
    const IniFile ini = IniFile::parse(cp("a=1\r\n[S]\r\n; k=comment\r\n[broken\r\n"
                                          "k = \"quoted\" \r\nK=second\r\n=3\r\nq='x\r\n[T]\n"));
    EXPECT_FALSE(ini.value(QString(), QStringLiteral("a"))); // before any section
    EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("K")), QStringLiteral("quoted"));
    EXPECT_EQ(ini.value(QStringLiteral("S"), QStringLiteral("q")), QStringLiteral("'x"));
    EXPECT_FALSE(ini.value(QStringLiteral("S"), QString()));
    EXPECT_FALSE(ini.value(QStringLiteral("S"), QStringLiteral("; k")));
    EXPECT_FALSE(ini.value(QStringLiteral("T"), QStringLiteral("k")));
}

TEST(Config, UnreadableFileThrows) {
    QTemporaryDir dir;
    const QString p = dir.filePath("config.ini");
    QDir().mkpath(p); // a folder where the file should be
    EXPECT_THROW(readConfigFile(p), std::runtime_error);
}

TEST(Cp1251, RoundTripsCyrillicAndMarksTheRest) {
    const QString s = QStringLiteral("Ёлка ёж №5 Щука");
    EXPECT_EQ(fromCp1251(toCp1251(s)), s);
    EXPECT_EQ(toCp1251(QStringLiteral("日")), QByteArray("?"));
}

TEST(Cp1251, EveryByteButTheUndefinedOneRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QByteArray expected = all;
    expected[0x98] = '?'; // the code page leaves 0x98 undefined
    EXPECT_EQ(toCp1251(fromCp1251(all)), expected);
    // Characters of the table's edges, and just past its highest code point.
    EXPECT_EQ(toCp1251(QString::fromUtf16(u"\u0402\u2122\u0451\u2123\uFFFD\u0080")),
              QByteArray("\x80\x99\xB8???"));
}
