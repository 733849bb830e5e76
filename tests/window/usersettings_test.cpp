// The per-user settings file as a parent or another program may leave it: every setting takes
// only its own words, and nothing stored in the file is decoded on the way.
#include "app/childmode.h"
#include "app/options.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
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
        // <folder>/Pictaro/pictaro.ini: the folder this process had goes back afterwards.
        previous = QFileInfo(QFileInfo(UserSettings().fileName()).absolutePath()).absolutePath();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        qRegisterMetaType<Probe>();
    }
    void TearDown() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, previous);
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
    // What a new window reads: child mode, whether outlines stay, the kind Save offers first.
    std::tuple<bool, bool, QString> windowReads() {
        std::tuple<bool, bool, QString> read;
        {
            Harness h; // it has settings of its own: this test's file is put back
            QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
            MainWindow& f = h.make(false);
            f.onSaveClicked();
            read = {probe::childMode(f)->enabled(),
                    probe::optionsDialog(f)->outlinesStayCheck->isChecked(),
                    h.dialogs.saved.at(0).defaultSuffix};
        }
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        return read;
    }
    QTemporaryDir dir;
    QString previous;
};
} // namespace

TEST_F(UserSettingsFile, SettingsTakeOnlyTheirOwnWordsAndAnythingElseIsTheDefault) {
    const QByteArray longLine = "childMode=" + QByteArray(5000, 'x') + "\n";
    const QString png = QStringLiteral("png"), bmp = QStringLiteral("bmp");
    struct Case {
        QByteArray text;
        std::tuple<bool, bool, QString> read; // off, on and PNG by default
    } cases[] = {
        {"childMode=off\nOutlinesStay=No\nsaveType=BMP\n", {false, false, bmp}},
        {"[General]\nchildMode = ON ; a parent's note\nOutlinesStay=\"0\"\nsaveType=\"bmp\"\n",
         {true, false, bmp}},
        {"childMode=yes\n[Other]\nchildMode=no\nOutlinesStay=false\nsaveType=bmp\n",
         {true, true, png}},
        // Cut off mid-way, with the file or within a quote.
        {"saveType=bm\nOutlinesStay=fals", {false, true, png}},
        {"childMode=tr\nOutlinesStay=\"fa", {false, true, png}},
        {"childMode=@Variant(\\0\\0\\0\\x1\\x1)\nOutlinesStay=@Variant(\\0\\0\\0\\x1\\0)\n"
         "saveType=@ByteArray(bmp)\n",
         {false, true, png}},
        // The last line of a key counts, even when it is too long to be a setting.
        {"childMode=true\n" + longLine + "OutlinesStay=1\nOutlinesStay=0", {false, false, png}},
    };
    for (const Case& c : cases) {
        write({}, c.text);
        EXPECT_EQ(windowReads(), c.read) << c.text.left(80).toStdString();
    }
}

TEST_F(UserSettingsFile, AStoredObjectBesideTheSettingsIsNeverDecoded) {
    write({{QStringLiteral("picture"), QVariant::fromValue(Probe{7})}},
          "childMode=Yes\r\nOutlinesStay=0\r\nsaveType=bmp\r\n");
    probeLoads = 0;
    EXPECT_EQ(windowReads(), std::make_tuple(true, false, QStringLiteral("bmp")));
    EXPECT_EQ(probeLoads, 0);
    // Switching an option still leaves the stored object in the file.
    {
        Harness h;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        probe::optionsDialog(h.make(false))->outlinesStayCheck->setChecked(true);
    }
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    EXPECT_EQ(UserSettings().value(QStringLiteral("picture")).value<Probe>().n, 7);
    EXPECT_EQ(windowReads(), std::make_tuple(true, true, QStringLiteral("bmp")));
}
