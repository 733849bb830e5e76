// Child mode and the grown-ups' gate, the frames on chosen things, and page pictures.
#include "app/childmode.h"
#include "app/options.h"
#include "app/parentgate.h"
#include "app/selection.h"
#include "app/thumbnails.h"
#include "app/widgets.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
// The per-user settings file goes to a folder of the test's own.
struct UserSettingsFolder {
    QTemporaryDir dir;
    explicit UserSettingsFolder(bool childMode) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Pictaro", "pictaro")
            .setValue("childMode", childMode);
    }
    ~UserSettingsFolder() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
    bool stored() const {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "Pictaro", "pictaro")
            .value("childMode")
            .toBool();
    }
};

QPoint firstMenu(MainWindow& f) {
    return f.menuBar()->actionGeometry(f.menuBar()->actions().at(0)).center();
}

// Answers the real gate dialog by pressing its buttons.
bool answer(const GateQuestion& q, const std::vector<int>& presses) {
    TFm_ParentGate gate(q);
    gate.show();
    for (int d : presses) {
        if (!gate.isVisible())
            break;
        QTest::mouseClick(gate.digitButton(d), Qt::LeftButton);
    }
    return gate.result() == QDialog::Accepted;
}

int wrongDigit(const GateQuestion& q) {
    for (int d = 0; d < 10; ++d)
        if (std::find(q.digits.begin(), q.digits.end(), d) == q.digits.end())
            return d;
    return -1;
}
} // namespace

TEST(ChildMode, ParentsControlsWaitForTheGateAndStayOpenAMinute) {
    Harness h;
    UserSettingsFolder settings(true);
    MainWindow& f = h.make();
    ChildMode& cm = *probe::childMode(f);
    ASSERT_TRUE(cm.enabled());
    EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
    qint64 now = 0;
    cm.lock.now = [&now] { return now; };
    int asked = 0;
    bool pass = false;
    std::vector<QString> questions;
    cm.askGate = [&](const GateQuestion& q) {
        ++asked;
        questions.push_back(q.words());
        return pass ? answer(q, {q.digits[0], q.digits[1], q.digits[2]})
                    : answer(q, {q.digits[0], wrongDigit(q), wrongDigit(q), wrongDigit(q),
                                 q.digits[1], q.digits[2]});
    };

    // Locked: the menu does not open, Statistics does not show, the window stays.
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {}, firstMenu(f));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::mouseClick(probe::ui(f).statisticsButton, Qt::LeftButton);
    EXPECT_TRUE(probe::ui(f).statisticsPanel->isHidden());
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(std::set<QString>(questions.begin(), questions.end()).size(), 3u)
        << "a fresh question each time";

    // Passed: Statistics opens, and for a minute nothing asks again.
    pass = true;
    QTest::mouseClick(probe::ui(f).statisticsButton, Qt::LeftButton);
    EXPECT_FALSE(probe::ui(f).statisticsPanel->isHidden());
    EXPECT_EQ(asked, 4);
    now += 59'000;
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {}, firstMenu(f));
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_NE(popup, nullptr);
    if (popup)
        popup->close();
    EXPECT_EQ(asked, 4);
    // After the minute the gate is back; a failed gate keeps the window open.
    now += 1'000;
    pass = false;
    EXPECT_FALSE(f.close());
    EXPECT_EQ(asked, 5);
    pass = true;
    EXPECT_TRUE(f.close());
}

TEST(ChildMode, OffByDefaultNothingIsGatedAndTheOptionIsStoredPerUser) {
    Harness h;
    UserSettingsFolder settings(false);
    MainWindow& f = h.make();
    ChildMode& cm = *probe::childMode(f);
    int asked = 0;
    cm.askGate = [&](const GateQuestion&) { return ++asked, false; };
    EXPECT_FALSE(cm.enabled());
    EXPECT_FALSE(f.windowFlags() & Qt::FramelessWindowHint);
    QTest::mouseClick(probe::ui(f).statisticsButton, Qt::LeftButton);
    EXPECT_FALSE(probe::ui(f).statisticsPanel->isHidden());

    QCheckBox* box = probe::optionsDialog(f)->findChild<QCheckBox*>("childModeCheck");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(probe::optionsDialog(f)->rect().contains(
        box->mapTo(probe::optionsDialog(f), box->rect().bottomRight())));
    probe::optionsDialog(f)->show();
    box->setChecked(true);
    EXPECT_TRUE(cm.enabled());
    EXPECT_TRUE(settings.stored());
    EXPECT_TRUE(f.isFullScreen());
    // The grown-up who switched it on finishes in the options window; once it closes, the
    // child has the window and Alt+F4 asks the gate.
    EXPECT_FALSE(cm.locked());
    probe::optionsDialog(f)->reject();
    EXPECT_TRUE(cm.locked());
    EXPECT_FALSE(f.close());
    EXPECT_EQ(asked, 1);
    // Switched off again: nothing is asked any more.
    probe::optionsDialog(f)->show();
    box->setChecked(false);
    probe::optionsDialog(f)->reject();
    EXPECT_FALSE(cm.locked());
    EXPECT_TRUE(f.close());
    EXPECT_EQ(asked, 1);
    // config.ini keeps its four keys.
    QFile ini(h.programDir() + "/config.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ini.readAll().contains("hild"));
}

TEST(ParentGateDialog, WordsOverShuffledButtonsAndThreeWrongPressesClose) {
    std::mt19937 rng(3);
    const GateQuestion q = GateQuestion::random(rng);
    TFm_ParentGate gate(q);
    EXPECT_TRUE(gate.Label_Question->text().contains(q.words()));
    for (int d = 0; d < 10; ++d)
        ASSERT_NE(gate.digitButton(d), nullptr);
    EXPECT_FALSE(answer(
        q, {q.digits[0], q.digits[1], wrongDigit(q), wrongDigit(q), wrongDigit(q), q.digits[2]}));
    EXPECT_TRUE(answer(q, {q.digits[0], wrongDigit(q), q.digits[1], q.digits[2]}));
    EXPECT_FALSE(answer(q, {q.digits[2], q.digits[1], q.digits[0]}));
}

namespace {
void click(QWidget* w, QPoint at = QPoint()) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at.isNull() ? w->rect().center() : at);
    QApplication::processEvents();
}
bool framed(const QImage& pic) {
    return !pic.isNull() && pic.pixel(1, 1) == qRgb(255, 0, 0);
}
} // namespace

TEST(SelectionLook, EveryChoiceShowsItsFrameWhicheverWayItIsMade) {
    Harness h;
    UserSettingsFolder settings(false);
    h.addArchive("a.pak", {{"p1.bmp", bmpBytes(outlinePage(60, 40))},
                           {"p2.bmp", bmpBytes(outlinePage(60, 40))}});
    MainWindow& f = h.make(true, QSize(500, 300));
    QApplication::processEvents();
    SelectionLook& s = *probe::selectionLook(f);
    // The first show: blue watering can, pen 25, snow stamps.
    EXPECT_EQ(s.marked("Blot"), probe::ui(f).blueBlot);
    EXPECT_EQ(s.marked("Tool"), probe::ui(f).fillButton);
    EXPECT_EQ(s.marked("Pen"), probe::ui(f).littlePenButton);
    EXPECT_EQ(s.marked("Stamp"), probe::ui(f).snowflakesButton);
    EXPECT_EQ(s.marked("FillStyle"), nullptr);

    click(probe::ui(f).redBlot);
    EXPECT_EQ(s.marked("Blot"), probe::ui(f).redBlot);
    // The hover swap changes the blot's picture, not the frame.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(probe::ui(f).redBlot, &leave);
    EXPECT_EQ(s.marked("Blot"), probe::ui(f).redBlot);
    click(probe::ui(f).rainbowBlot);
    EXPECT_EQ(s.marked("Blot"), probe::ui(f).rainbowBlot);
    EXPECT_EQ(s.marked("Chart"), probe::ui(f).kidsRainbowBlot);
    // A chart color that no blot has: the chart cell is framed, no blot is.
    click(probe::ui(f).colorChart, QPoint(probe::ui(f).colorChart->width() * 3 / 60,
                                          probe::ui(f).colorChart->height() * 5 / 8));
    EXPECT_EQ(s.marked("Blot"), nullptr);
    EXPECT_EQ(s.marked("Chart"), probe::ui(f).colorChart);
    EXPECT_TRUE(s.marker("Chart")->geometry().contains(QPoint(
        probe::ui(f).colorChart->width() * 3 / 60, probe::ui(f).colorChart->height() * 5 / 8)));

    click(probe::ui(f).brushButton);
    EXPECT_EQ(s.marked("Tool"), probe::ui(f).brushButton);
    click(probe::ui(f).hugePenButton);
    EXPECT_EQ(s.marked("Pen"), probe::ui(f).hugePenButton);
    click(probe::ui(f).bigPenButton); // the same width: the button pressed is the one framed
    EXPECT_EQ(s.marked("Pen"), probe::ui(f).bigPenButton);
    click(probe::ui(f).tinyPenButton);
    EXPECT_EQ(s.marked("Pen"), probe::ui(f).tinyPenButton);
    click(probe::ui(f).lineButton);
    EXPECT_EQ(s.marked("Shape"), probe::ui(f).lineButton);
    EXPECT_EQ(s.marked("Tool"),
              probe::ui(f).shapesButton); // a shape button picks the shapes tool too
    click(probe::ui(f).heartsButton);
    EXPECT_EQ(s.marked("Stamp"), probe::ui(f).heartsButton);

    // Special fill is on until a texture (or Clear) replaces it.
    click(probe::ui(f).fillButton);
    click(probe::ui(f).fillToLinesButton);
    EXPECT_TRUE(probe::ui(f).fillToLinesButton->isChecked());
    EXPECT_EQ(s.marked("FillStyle"), probe::ui(f).fillToLinesButton);
    click(probe::ui(f).textureBoxes[1]);
    EXPECT_FALSE(probe::ui(f).fillToLinesButton->isChecked());
    EXPECT_EQ(s.marked("FillStyle"), nullptr);
    EXPECT_TRUE(framed(probe::ui(f).textureBoxes[1]->picture()));
    // Clear and Random leave no frame on a texture that no longer applies.
    click(probe::ui(f).clearButton);
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
    EXPECT_FALSE(framed(probe::ui(f).textureBoxes[1]->picture()));
    click(probe::ui(f).textureBoxes[2]);
    EXPECT_TRUE(framed(probe::ui(f).textureBoxes[2]->picture()));
    click(probe::ui(f).randomPageButton);
    EXPECT_FALSE(framed(probe::ui(f).textureBoxes[2]->picture()));
    click(probe::ui(f).fillToLinesButton);
    click(probe::ui(f).clearButton);
    EXPECT_FALSE(probe::ui(f).fillToLinesButton->isChecked());
}

TEST(CatalogueThumbnails, PagesAndArchivesShowPicturesMadeOnceAndCached) {
    Harness h;
    UserSettingsFolder settings(false);
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::white);
    for (int x = 0; x < 400; ++x)
        wide.setPixel(x, 100, qRgb(0, 0, 0)); // one thin line across
    h.addArchive("fairy_tales.pak",
                 {{"line.bmp", bmpBytes(wide)}, {"boxes.bmp", bmpBytes(outlinePage(90, 120))}});
    MainWindow& f = h.make();
    probe::thumbnails(f)->waitForAll();
    ASSERT_EQ(f.catalogueNodeCount(), 3);
    QTreeWidgetItem* archive = probe::catalogue(f).catalogueNodes[0];
    EXPECT_EQ(archive->text(0), QString("Fairy tales (2)"));
    EXPECT_GE(probe::ui(f).catalogueTree->iconSize().width(), 96);
    for (QTreeWidgetItem* n : probe::catalogue(f).catalogueNodes) {
        const QList<QSize> sizes = n->icon(0).availableSizes();
        ASSERT_FALSE(sizes.isEmpty()) << n->text(0).toStdString();
        EXPECT_GE(std::max(sizes[0].width(), sizes[0].height()), 96);
    }
    const QString thumb = CatalogueThumbnails::thumbnailPath(probe::folders(f).cacheFolder, "line");
    const QImage cached(thumb);
    ASSERT_FALSE(cached.isNull());
    int black = 0;
    for (int x = 0; x < cached.width(); ++x)
        black += (cached.pixel(x, cached.height() / 2) & 0xFFFFFF) == 0;
    EXPECT_EQ(black, cached.width()) << "the thin line survives the reduction";
    // The archive shows its first page.
    EXPECT_EQ(archive->icon(0).pixmap(96).toImage().convertToFormat(QImage::Format_RGB32),
              cached.convertToFormat(QImage::Format_RGB32));

    // Made once: a later start reads the cached picture rather than making it again.
    QImage marked = cached;
    marked.setPixel(0, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(marked.save(thumb, "PNG"));
    probe::thumbnails(f)->start();
    probe::thumbnails(f)->waitForAll();
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[1]->icon(0).pixmap(96).toImage().pixel(0, 0),
              qRgb(255, 0, 0));
    // Clicks and counts stay as they were.
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[2]);
    f.onCatalogueItemClicked();
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 2);
    EXPECT_EQ(probe::stats(f).pageCounts[2].Name, QString("boxes"));
}

// The window may go while the parents' controls are locked (the minute ran out during the
// close): its last events must not reach into the half-destroyed window.
TEST(ChildMode, TheWindowCanBeDestroyedWhileLocked) {
    Harness h;
    UserSettingsFolder settings(true);
    MainWindow& f = h.make();
    probe::childMode(f)->lock.close();
    ASSERT_TRUE(probe::childMode(f)->locked());
    h.form.reset(); // crashed here when the filter asked the going window for its menu bar
    EXPECT_FALSE(h.form);
}
