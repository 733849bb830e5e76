// The windows in every language: every text goes through the translations, each translation
// is whole, every text fits its control, and a change in Options takes effect at once.
#include "support/fakes.h"

#include "app/language.h"
#include "app/options.h"
#include "app/parentgate.h"
#include "app/splash.h"
#include "app/widgets.h"
#include "stats/statrecord.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <random>

namespace {
// Marks every text it is asked for, so a text shown without it never went through tr().
class MarkingTranslator : public QTranslator {
  public:
    QString translate(const char*, const char* source, const char*, int) const override {
        return QStringLiteral("«%1»").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};

// A shown text and where it was found.
struct Text {
    QString where, text;
};

std::vector<Text> textsOf(QWidget* top) {
    std::vector<Text> out;
    const auto add = [&](QObject* o, const char* what, const QString& t) {
        out.push_back({o->objectName() + QLatin1Char('.') + QLatin1String(what), t});
    };
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        if (w->isWindow())
            add(w, "windowTitle", w->windowTitle());
        add(w, "toolTip", w->toolTip());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(w, "text", b->text());
        if (auto* l = qobject_cast<QLabel*>(w))
            add(w, "text", l->text());
        if (auto* g = qobject_cast<QGroupBox*>(w))
            add(w, "title", g->title());
        if (auto* m = qobject_cast<QMenu*>(w))
            add(w, "title", m->title());
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(w, "tab", t->tabText(i));
        if (auto* t = qobject_cast<QTableWidget*>(w))
            for (int i = 0; i < t->columnCount(); ++i)
                if (t->horizontalHeaderItem(i))
                    add(w, "header", t->horizontalHeaderItem(i)->text());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(w, "item", c->itemText(i));
    }
    for (QAction* a : top->findChildren<QAction*>()) {
        add(a, "text", a->text());
        if (a->toolTip() !=
            QString(a->text()).remove(QLatin1Char('&')).remove(QStringLiteral("...")))
            add(a, "toolTip", a->toolTip());
    }
    return out;
}

// Names and figures that are the same in every language.
bool needsNoTranslation(const QString& t, const QString& site) {
    static const QRegularExpression figures(QStringLiteral("^[0-9\\s.,:()/-]*$"));
    if (t.isEmpty() || figures.match(t).hasMatch() || t == site)
        return true;
    if (t.startsWith(QLatin1String("Pictaro")) && figures.match(t.mid(7)).hasMatch())
        return true; // the program's name and version
    for (const Language& l : languages())
        if (t == QString::fromUtf8(l.nativeName))
            return true;
    return false;
}

class Languages : public ::testing::Test {
  protected:
    void TearDown() override {
        UserSettings().remove(kLanguageKey);
        installLanguage(QStringLiteral("en"));
        QCoreApplication::processEvents();
    }
    Harness h;
};
} // namespace

TEST_F(Languages, EveryShownTextOfEveryWindowGoesThroughTheTranslations) {
    MarkingTranslator marks;
    QCoreApplication::installTranslator(&marks);
    h.addArchive(QStringLiteral("Animals"), {{"CAT.BMP", bmpBytes(outlinePage(60, 40))}});
    MainWindow& f = h.make(true, QSize(1366, 700));
    QTest::mouseClick(probe::ui(f).statisticsButton, Qt::LeftButton);
    probe::stats(f).clickCount = 3;
    f.onStatisticsClicked();
    std::mt19937 rng(7);
    TFm_ParentGate gate(GateQuestion::random(rng));
    SplashScreen splash;
    f.onAboutClicked();
    h.input.answers = {QStringLiteral("Ann"), QStringLiteral("4")};
    try {
        f.onSendClicked(); // asks its questions before it reaches the (absent) site
    } catch (const std::exception&) {
    }

    std::vector<Text> texts = textsOf(&f);
    for (QWidget* w : {static_cast<QWidget*>(probe::optionsDialog(f)), static_cast<QWidget*>(&gate),
                       static_cast<QWidget*>(&splash)})
        for (const Text& t : textsOf(w))
            texts.push_back(t);
    for (const ShownMessage& m : h.messages.shown) {
        texts.push_back({QStringLiteral("message title"), m.title});
        texts.push_back({QStringLiteral("message"), m.text});
    }
    for (const QString& p : h.input.prompts)
        texts.push_back({QStringLiteral("question"), p});
    int checked = 0;
    for (const Text& t : texts) {
        if (needsNoTranslation(t.text, probe::siteBase(f)))
            continue;
        ++checked;
        EXPECT_TRUE(t.text.contains(QChar(0x00AB)))
            << t.where.toStdString() << ": \"" << t.text.toStdString() << '"';
    }
    EXPECT_GT(checked, 100); // the walk found the window's texts at all
    QCoreApplication::removeTranslator(&marks);
}

TEST_F(Languages, EveryTranslationIsWholeAndEveryLanguageHasEveryPrompt) {
    const QString dir = QStringLiteral(PICTARO_SOURCE_DIR "/translations/");
    for (const Language& l : languages()) {
        const QString code = QString::fromLatin1(l.code);
        SCOPED_TRACE(l.code);
        QFile ts(dir + QStringLiteral("pictaro_%1.ts").arg(code));
        ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
        // Russian and Ukrainian count one, few, many; the others one and many.
        const int forms = code == QLatin1String("ru") || code == QLatin1String("uk") ? 3 : 2;
        const bool english = code == QLatin1String("en"); // holds its plurals only
        QXmlStreamReader xml(&ts);
        QString source;
        bool numerus = false;
        int messages = 0, formsSeen = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("message")) {
                numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                if (english && !numerus)
                    continue;
                ++messages;
                EXPECT_TRUE(type.isEmpty()) << type.toStdString() << ": " << source.toStdString();
                if (numerus) {
                    formsSeen = 0;
                    continue; // its forms follow
                }
                const QString text = xml.readElementText();
                EXPECT_FALSE(text.trimmed().isEmpty()) << source.toStdString();
                // A placeholder lost or invented shows the wrong value.
                for (const char* p : {"%1", "\n"})
                    EXPECT_EQ(source.count(QLatin1String(p)), text.count(QLatin1String(p)))
                        << source.toStdString() << " -> " << text.toStdString();
            } else if (xml.name() == QLatin1String("numerusform")) {
                const QString text = xml.readElementText();
                ++formsSeen;
                EXPECT_TRUE(text.contains(QLatin1String("%n"))) << text.toStdString();
                EXPECT_LE(formsSeen, forms) << source.toStdString();
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(messages, 0);
        if (!english) {
            EXPECT_TRUE(QTranslator().load(QStringLiteral(":/i18n/pictaro_%1.qm").arg(code)));
        }
    }

    QDirIterator english(QStringLiteral(":/sounds"), {QStringLiteral("en_*.wav")}, QDir::Files);
    int prompts = 0;
    while (english.hasNext()) {
        const QString name = QFileInfo(english.next()).fileName().mid(3);
        ++prompts;
        for (const Language& l : languages())
            if (QLatin1String(l.code) != QLatin1String("en")) {
                EXPECT_TRUE(QFileInfo::exists(
                    QStringLiteral(":/sounds/%1/%2").arg(QLatin1String(l.code), name)))
                    << l.code << '/' << name.toStdString();
            }
    }
    EXPECT_GT(prompts, 20);
}

TEST_F(Languages, EveryTextFitsItsControlInEveryLanguageAt1366x768And1920x1080) {
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)})
        for (const Language& l : languages()) {
            SCOPED_TRACE(l.code);
            SCOPED_TRACE(screen.width());
            installLanguage(QString::fromLatin1(l.code));
            QCoreApplication::processEvents();
            Harness each;
            MainWindow& f = each.make(true, screen);
            f.resize(screen);
            probe::stats(f).clickCount = 123456;
            f.onStatisticsClicked();
            std::mt19937 rng(3);
            TFm_ParentGate gate(GateQuestion::random(rng));
            OptionsDialog* options = probe::optionsDialog(f);
            options->show();
            gate.show();
            QCoreApplication::processEvents();
            for (QWidget* top : {static_cast<QWidget*>(&f), static_cast<QWidget*>(options),
                                 static_cast<QWidget*>(&gate)}) {
                for (QWidget* w : top->findChildren<QWidget*>()) {
                    if (!w->isVisibleTo(top))
                        continue;
                    QString text;
                    int room = w->contentsRect().width();
                    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                        text = b->text().remove(QLatin1Char('&'));
                        if (qobject_cast<QCheckBox*>(w))
                            room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                    w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
                        else
                            room -= 4; // the button's frame
                    } else if (auto* lab = qobject_cast<QLabel*>(w)) {
                        text = lab->text();
                    }
                    for (const QString& line : text.split(QLatin1Char('\n')))
                        EXPECT_LE(w->fontMetrics().horizontalAdvance(line), room)
                            << w->objectName().toStdString() << ": \"" << line.toStdString() << '"';
                }
            }
            // A heading wraps between its words, never inside one.
            QTableWidget* table = probe::ui(f).historyTable;
            for (int c = 0; c < table->columnCount(); ++c)
                for (const QString& word : table->horizontalHeaderItem(c)->text().split(u' '))
                    EXPECT_LE(table->horizontalHeader()->fontMetrics().horizontalAdvance(word) + 8,
                              table->columnWidth(c))
                        << word.toStdString();
            EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());
            QMenuBar* bar = f.menuBar();
            for (QAction* a : bar->actions()) {
                const QRect r = bar->actionGeometry(a);
                EXPECT_TRUE(bar->rect().contains(r)) << a->text().toStdString();
                EXPECT_LE(bar->fontMetrics().horizontalAdvance(a->text().remove(QLatin1Char('&'))),
                          r.width())
                    << a->text().toStdString();
            }
        }
}

TEST_F(Languages, ChoosingALanguageInOptionsChangesTextsAndPromptsAtOnce) {
    MainWindow& f = h.make(true, QSize(1200, 500));
    OptionsDialog* options = probe::optionsDialog(f);
    options->silentCheck->setChecked(false);
    QComboBox* combo = options->languageCombo;
    const auto choose = [&](const char* code) {
        const int i = combo->findData(QString::fromLatin1(code));
        ASSERT_GE(i, 0);
        combo->setCurrentIndex(i);
        emit combo->activated(i);
        QCoreApplication::processEvents();
    };
    const QString englishTip = probe::ui(f).fillButton->toolTip();
    ASSERT_EQ(probe::ui(f).fileMenu->title(), QStringLiteral("File"));

    choose("de");
    EXPECT_EQ(probe::ui(f).fileMenu->title(), QStringLiteral("Datei"));
    // Qt's own buttons and file dialogs too, where the system has their translation.
    if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                          QStringLiteral("/qtbase_de.qm"))) {
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QStringLiteral("Abbrechen"));
    }
    EXPECT_NE(probe::ui(f).fillButton->toolTip(), englishTip);
    EXPECT_EQ(options->windowTitle(), QStringLiteral("Programmeinstellungen"));
    EXPECT_EQ(UserSettingText(kLanguageKey), QStringLiteral("de"));
    h.sound.events.clear();
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(h.sound.played(), std::vector<QString>{QStringLiteral("de/red")});

    // The folder's name keeps its case: "pt_BR", not "pt_br".
    choose("pt_BR");
    EXPECT_EQ(probe::ui(f).fileMenu->title(), QStringLiteral("Arquivo"));
    h.sound.events.clear();
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(h.sound.played(), std::vector<QString>{QStringLiteral("pt_BR/red")});

    choose("en");
    EXPECT_EQ(probe::ui(f).fileMenu->title(), QStringLiteral("File"));
    EXPECT_EQ(probe::ui(f).fillButton->toolTip(), englishTip);
    h.sound.events.clear();
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(h.sound.played(), std::vector<QString>{QStringLiteral("en_red")});
}

TEST_F(Languages, StoredColourNamesAreShownInTheLanguageAndKeptAsStored) {
    const QString stat = h.dir.filePath(QStringLiteral("stat.dat"));
    for (const char* color : {"Синий", "Green", "Lila"}) { // an older record, ours, unknown
        TStatRecord r;
        r.Clicks = 1;
        r.Date = QStringLiteral("day");
        r.FavoriteColor = QString::fromUtf8(color);
        appendStatRecord(stat, r);
    }
    QFile before(stat);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray stored = before.readAll();
    installLanguage(QStringLiteral("de"));
    QCoreApplication::processEvents();
    MainWindow& f = h.make();
    probe::tools(f).currentColor = clBlue;
    f.countClick();
    f.onStatisticsClicked();
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Lieblingsfarbe: Blau"));
    QStringList shown;
    for (int row = 0; row < probe::ui(f).historyTable->rowCount(); ++row)
        shown << probe::ui(f).historyTable->item(row, 3)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Blau"), QStringLiteral("Blau"),
                                  QString::fromUtf8("Grün"), QStringLiteral("Lila")}));
    QFile after(stat);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), stored);
    f.close(); // this run's record names its colour as every run before
    std::vector<TStatRecord> runs;
    readStatFile(stat, runs);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs.back().FavoriteColor, QStringLiteral("Blue"));
}

TEST(DesktopLanguage, FollowsLanguageThenLcAllThenLcMessagesThenLang) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<QByteArray> kept;
    for (const char* n : names)
        kept.push_back(qgetenv(n));
    struct Case {
        const char *language, *lcAll, *lcMessages, *lang, *expected;
    } cases[] = {
        {"", "", "", "ru_RU.UTF-8", "ru"},
        {"", "", "", "pt_BR.UTF-8", "pt_BR"},
        {"", "", "", "pt_PT.UTF-8", "pt_BR"}, // the nearest we have
        {"", "", "", "de_AT.UTF-8@euro", "de"},
        {"", "", "", "zh_CN.UTF-8", "en"},
        {"", "", "", "C.UTF-8", "en"},
        {"", "", "fr_FR.UTF-8", "de_DE.UTF-8", "fr"},
        {"", "es_ES.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8", "es"},
        {"uk:ru", "", "", "ru_RU.UTF-8", "uk"},
        {"zh:de", "", "", "ru_RU.UTF-8", "de"},
        {"en_GB:ru", "", "", "ru_RU.UTF-8", "en"},
        {"de", "", "", "C", "en"}, // a C locale has no messages
    };
    for (const Case& c : cases) {
        const char* values[] = {c.language, c.lcAll, c.lcMessages, c.lang};
        for (int i = 0; i < 4; ++i)
            qputenv(names[i], values[i]);
        EXPECT_EQ(desktopLanguage(), QString::fromLatin1(c.expected))
            << c.language << '|' << c.lcAll << '|' << c.lcMessages << '|' << c.lang;
    }
    for (int i = 0; i < 4; ++i)
        kept[size_t(i)].isNull() ? qunsetenv(names[i]) : qputenv(names[i], kept[size_t(i)]);
}
