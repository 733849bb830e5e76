// The per-user settings file as a parent or another program may leave it: every switch takes
// only its own words, and nothing stored in the file is decoded on the way.
#include "app/childmode.h"
#include "app/options.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
int probeLoads = 0;

// A stored object that counts how often it is decoded.
struct Probe {
    int n = 0;
};
QDataStream& operator<<(QDataStream& s, const Probe& p) {
    return s << p.n;
}
QDataStream& operator>>(QDataStream& s, Probe& p) {
    ++probeLoads;
    return s >> p.n;
}

class UserSettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        qRegisterMetaType<Probe>();
    }
    void TearDown() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
    // The file holds what QSettings wrote of values, then text.
    void write(const QVariantMap& values, const QByteArray& text) {
        QFile::remove(UserSettings().fileName());
        {
            QSettings s = UserSettings();
            for (auto it = values.begin(); it != values.end(); ++it)
                s.setValue(it.key(), it.value());
        }
        QFile f(UserSettings().fileName());
        QDir().mkpath(QFileInfo(f).absolutePath());
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(text);
    }
    // What a new window reads: child mode, and whether outlines stay.
    std::pair<bool, bool> windowReads() {
        Harness h;
        TForm1& f = h.make(false);
        return {f.childMode->enabled(), f.Fm_Options->CheckBox_Outlines->isChecked()};
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(UserSettingsFile, SwitchesTakeOnlyTheirOwnWordsAndAnythingElseIsTheDefault) {
    const QByteArray longLine = "childMode=" + QByteArray(5000, 'x') + "\n";
    struct Case {
        QByteArray text;
        std::pair<bool, bool> read; // child mode, outlines stay (off and on by default)
    } cases[] = {
        {"childMode=off\nOutlinesStay=No\n", {false, false}},
        {"[General]\nchildMode = ON ; a parent's note\nOutlinesStay=\"0\"\n", {true, false}},
        {"childMode=yes\n[Other]\nchildMode=no\nOutlinesStay=false\n", {true, true}},
        // Cut off mid-way, with the file or within a quote.
        {"OutlinesStay=fals", {false, true}},
        {"childMode=tr\nOutlinesStay=\"fa", {false, true}},
        {"childMode=@Variant(\\0\\0\\0\\x1\\x1)\nOutlinesStay=@Variant(\\0\\0\\0\\x1\\0)\n",
         {false, true}},
        // The last line of a key counts, even when it is too long to be a setting.
        {"childMode=true\n" + longLine + "OutlinesStay=1\nOutlinesStay=0", {false, false}},
    };
    for (const Case& c : cases) {
        write({}, c.text);
        EXPECT_EQ(windowReads(), c.read) << c.text.left(80).toStdString();
    }
}

TEST_F(UserSettingsFile, AStoredObjectBesideTheSwitchesIsNeverDecoded) {
    write({{QStringLiteral("picture"), QVariant::fromValue(Probe{7})}},
          "childMode=Yes\r\nOutlinesStay=0\r\n");
    probeLoads = 0;
    EXPECT_EQ(windowReads(), std::make_pair(true, false));
    EXPECT_EQ(probeLoads, 0);
    // Switching an option still leaves the stored object in the file.
    {
        Harness h;
        h.make(false).Fm_Options->CheckBox_Outlines->setChecked(true);
    }
    EXPECT_EQ(UserSettings().value(QStringLiteral("picture")).value<Probe>().n, 7);
    EXPECT_EQ(windowReads(), std::make_pair(true, true));
}
