#include "app/mainwindow.h"

#include "app/application.h"
#include "app/childmode.h"
#include "app/options.h"
#include "app/selection.h"
#include "app/splash.h"
#include "app/thumbnails.h"
#include "app/voice.h"
#include "app/widgets.h"
#include "base/windowidle.h"
#include "library/picturestore.h"
#include "paint/pixelpool.h"
#include "palette/swatches.h"
#include "share/autosave.h" // the writer the window owns

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

const QString kInterfaceLanguage = QStringLiteral("En");

namespace {
// Tells the workers when a child's press or key arrives: a long job under way steps aside
// until the window has shown what it did.
class InputWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::TouchBegin:
            windowidle::markBusy();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

MainWindow::MainWindow(const Platform& platform_, const ProgramPaths& paths_, SplashScreen* splash_,
                       QWidget* parent)
    : QMainWindow(parent), platform(platform_), paths(paths_),
      siteBase(QStringLiteral(PICTARO_SITE_BASE)), splash(splash_) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Pictaro"));
    stats.statFilePath = QStringLiteral("stat.dat");
    // A page, its mask, the undo mirror and a copy made on write: two spare pages ready
    // cover a tap's needs without memory fresh from the system.
    keepPooledBlocksReady(2);
    // The work a tap hands off (its undo step, the picture it left) starts once the window
    // has shown the tap.
    if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance(thread())) {
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this,
                [] { windowidle::markIdle(); });
        windowidle::enable();
        qApp->installEventFilter(new InputWatch(this));
    }
    buildControls();
    buildMenus();
    optionsDialog = new OptionsDialog(this);
    ui.loadingBlinkTimer = new QTimer(this);
    ui.loadingBlinkTimer->setObjectName(QStringLiteral("loadingBlinkTimer"));
    ui.loadingBlinkTimer->setInterval(100);
    connect(ui.loadingBlinkTimer, &QTimer::timeout, this, guarded(&MainWindow::onLoadingBlink));
    ui.loadingBlinkTimer->start();
    if (platform.shell) {
        QPointer<MainWindow> self(this);
        platform.shell->failed = [self](const QString& target) {
            if (self)
                self->reportShellFailure(target);
        };
    }
    initialize();
    childMode = new ChildMode(this);
    selectionLook = new SelectionLook(this);
    thumbnails = new CatalogueThumbnails(this);
    thumbnails->start();
}

void MainWindow::showAtStart() {
    childMode->showWindow();
}

void MainWindow::openInShell(const QString& urlOrPath) {
    if (!platform.shell->open(urlOrPath))
        reportShellFailure(urlOrPath);
}

void MainWindow::reportShellFailure(const QString& urlOrPath) {
    const bool web = urlOrPath.contains(QStringLiteral("://"));
    showErrorReport(
        platform.messages,
        web ? QStringLiteral("Cannot open \"%1\": no web browser could be started.").arg(urlOrPath)
            : QStringLiteral("Cannot open the folder \"%1\": no file manager could "
                             "be started.")
                  .arg(urlOrPath));
}

MainWindow::~MainWindow() {
    // The worker reads the tool state: it must be done before the state goes.
    if (toolSoundThread)
        toolSoundThread->wait();
    // The shelf's reader holds the store.
    shelfReaderStop = true;
    if (shelfReader.joinable())
        shelfReader.join();
    // Child mode filters this window's events: it goes first, or the window's last events
    // (children being removed while it is half destroyed) would reach into what is gone.
    delete childMode;
    childMode = nullptr;
}

void MainWindow::runGuarded(const std::function<void()>& handler) {
    reportErrors(platform.messages, handler);
}

void MainWindow::progressStep() {
    if (splash)
        splash->step();
}

void MainWindow::setRightPanelWidth(int w) {
    ui.rightPanel->setFixedWidth(w);
}

void MainWindow::closeSidePanels() {
    const bool wasOpen = !ui.cataloguePanel->isHidden() || !ui.statisticsPanel->isHidden();
    ui.cataloguePanel->setVisible(false);
    ui.statisticsPanel->setVisible(false);
    setRightPanelWidth(kClosedRightPanelWidth);
    // However a panel closes, the area is its full size at once: an untouched page is laid
    // out again for it (through the area's resize), before anything draws.
    if (wasOpen && centralWidget() && centralWidget()->layout())
        centralWidget()->layout()->activate();
}

void MainWindow::initialize() {
    setAttribute(Qt::WA_NoSystemBackground, false); // double buffering is Qt's own
    progressStep();
    folders.programFolder = QDir::cleanPath(paths.programFolder);
    folders.pakFolder = folders.programFolder + QStringLiteral("/pak/");
    folders.cacheFolder = paths.tempFolder + QStringLiteral("raskraska");
    folders.saveFolder = folders.programFolder + QStringLiteral("/save/");
    folders.staleFile = folders.programFolder + QStringLiteral("/temp");
    folders.uploadFolder = folders.programFolder + QStringLiteral("/upload");
    folders.saveDialogFolder = folders.saveFolder;
    folders.openDialogFolder = folders.saveFolder;

    if (QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect work = scr->availableGeometry();
        // Restored size: as wide as the work area reaches; the height of the work area so
        // that a desktop without a window manager still shows the whole window.
        resize(work.x() + work.width(), work.height());
    }
    readConfig();
    progressStep();

    QFileInfo stale(folders.staleFile);
    if (stale.isFile())
        QFile::remove(folders.staleFile);
    progressStep();

    for (size_t i = 0; i < stats.colorCounts.size(); ++i)
        stats.colorCounts[i].Name = QString::fromLatin1(kPaletteColors[i].statName);
    tools.penSize = 25;

    closeSidePanels();
    progressStep();
    reportErrors(platform.messages, [this] { loadCatalogue(); });
    if (!paths.picturesFolder.isEmpty()) {
        pictures = std::make_unique<PictureStore>(paths.picturesFolder);
        buildMyPicturesShelf();
    }
    rememberColoringSwitch();
    progressStep();
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    limitToScreen();
    if (!firstShowDone) {
        firstShowDone = true;
        inFirstShow = true;
        onFirstShow();
        inFirstShow = false;
        // A close request that came while the first show ran is served now that it is over.
        if (closeDuringShow)
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::onFirstShow() {
    ui.loadingLabel->setVisible(false);
    QApplication::processEvents();
    reportErrors(platform.messages, [this] { onRandomPageClicked(); });
    restoreAutosave();
    // The page the child starts on is where undo stops.
    session.clearHistory();
    updateUndoControls();
    tools.toolValue = tool::Fill;
    ui.loadingBlinkTimer->stop();
    applyChoice(QStringLiteral("Синий"), clBlue, 0);
    tools.stampKind = stampkind::Snow;
    tools.fillStyle = fillstyle::Normal;
    ui.toolOptionPages->setCurrentWidget(ui.fillOptions);
    loadTexturePreviews();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (inFirstShow) {
        closeDuringShow = true;
        e->ignore();
        return;
    }
    // A second close request (one more click while the first close showed a message) must
    // not append a second record.
    if (!closeDone) {
        closeDone = true;
        finishClosing();
    }
    QMainWindow::closeEvent(e);
}

namespace {
// At logout nobody answers a message box: the report goes to the log instead.
struct LogMessages : IMessageBox {
    void show(const QString& title, const QString& text, MessageIcon) override {
        qWarning("%s: %s", qUtf8Printable(title), qUtf8Printable(text));
    }
};
} // namespace

void MainWindow::closeForSessionEnd() {
    if (endingSession)
        return;
    endingSession = true;
    static LogMessages log;
    platform.messages = &log;
    if (auto* app = dynamic_cast<PictaroApplication*>(QCoreApplication::instance()))
        app->setMessageBox(&log);
    // Open dialogs give way, each answered as its Cancel answers it.
    for (int i = 0; i < 8; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == this)
            break;
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }
    if (inFirstShow) {
        closeDuringShow = true;
        return;
    }
    close();
    QCoreApplication::exit(0);
}

void MainWindow::followAreaSize() {
    // The page is laid out again at the area's new size while nothing has touched it since
    // it was placed: a press, a rotation or another page changes the page's key.
    if (shown.startPageSource.isNull() || !session.canvas() ||
        session.canvas()->image.cacheKey() != shown.placedPageKey)
        return;
    if (session.canvas()->image.size() == ui.drawingArea->size() ||
        !ui.cataloguePanel->isHidden() || !ui.statisticsPanel->isHidden())
        return;
    const QScopedValueRollback relayout(shown.relayingOutPage, true);
    if (shown.startPageRestored) {
        const bool stored = session.canvas()->image.cacheKey() == shown.storedPictureKey;
        placeKeptPicture(shown.startPageSource, session.origin(), false);
        if (stored) // kept as it was, not at this size
            shown.storedPictureKey = session.canvas()->image.cacheKey();
    } else
        placePage(shown.startPageSource, session.origin().openedFile);
}

void MainWindow::growPageToArea() {
    if (!session.canvas())
        return;
    const QSize area = ui.drawingArea->size();
    const QSize now = session.canvas()->image.size();
    if (area.isEmpty() || (now.width() >= area.width() && now.height() >= area.height()))
        return;
    // The picture stays where it is on the screen; the rest is new paper. The smaller picture
    // is one step back, which keeps every older step exact.
    auto grown = std::make_unique<PageBitmapCanvas>(std::max(now.width(), area.width()),
                                                    std::max(now.height(), area.height()));
    grown->draw(0, 0, session.canvas()->image);
    OutlineMask lines = session.outline().grownTo(grown->image.size());
    session.replace(std::move(grown), std::move(lines), session.origin(),
                    session.canUndo() || session.canRedo());
    notePagePlaced(true);
    shown.startPageSource = QImage();
    updateUndoControls();
    showPage();
}

void MainWindow::finishClosing() {
    // The history is saved first; a failure there is reported and the settings are still
    // written, so neither is lost to the other.
    reportErrors(platform.messages, [this] { saveStatistics(); });
    autosaveNow();
    keeping.autosaver.reset(); // writes what is still waiting
    keepLeavingPicture();
    shelfReaderStop = true;
    if (shelfReader.joinable())
        shelfReader.join();
    pictures.reset(); // likewise
    session.drop();
    writeConfig();
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::onExitClicked() {
    QApplication::exit(0);
}

void MainWindow::limitToScreen() {
    // The window may never grow beyond the screen plus its own frame.
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!scr)
        return;
    setMaximumSize(scr->geometry().size());
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (ui.loadingLabel->isVisible())
        ui.loadingLabel->move(ui.drawingArea->width() / 4, ui.loadingLabel->y());
}

void MainWindow::onOptionsClicked() {
    optionsDialog->exec();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui.drawingArea && event->type() == QEvent::Resize)
        followAreaSize();
    if (watched == ui.fillOptions && event->type() == QEvent::Resize)
        fitTextureStrip();
    if (watched == ui.siteLinkLabel && event->type() == QEvent::MouseButtonPress) {
        openInShell(siteBase);
        return true;
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        auto* w = qobject_cast<PictureBox*>(watched);
        if (w && w->parentWidget() == ui.toddlerTab) {
            // The control's own handling first, then the hover picture.
            const bool handled = static_cast<QObject*>(w)->event(event);
            onBlotHover(watched, event->type() == QEvent::Enter);
            return handled;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
