#pragma once
// The main window: its controls, the child's current choice, the page session and the run's
// counters, all private. Its members are defined under app/, one file per concern
// (mainwindow_<concern>.cpp); the window tests reach inside through WindowProbe only.
#include "app/choices.h"
#include "app/platform.h"
#include "app/windowcontrols.h"
#include "base/tcolor.h"
#include "paint/pagesession.h"
#include "paint/toolkind.h"
#include "paint/tools.h"
#include "stats/statrecord.h"

#include <QDateTime>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QHBoxLayout;
class QTimer;
class QToolButton;
class QTreeWidgetItem;
class QVBoxLayout;
class OptionsDialog;
class ChildMode;
class SelectionLook;
class CatalogueThumbnails;
class SplashScreen;
class PictureBox;
class DrawingArea;
class ToolSoundThread;
class AutosaveWriter;
class PictureStore;

extern const QString kInterfaceLanguage; // always "En"

// The kind of a catalogue node, kept in its Qt::UserRole data and naming its icon.
namespace catalogue {
inline constexpr int ArchiveNode = 1;
inline constexpr int PageNode = 2;
// A page of the parents' own: the path of its file (the bundled pages are in the cache).
inline constexpr int FileRole = Qt::UserRole + 1;
// A picture on the "My pictures" shelf: its key in the pictures store.
inline constexpr int PictureKeyRole = Qt::UserRole + 2;
} // namespace catalogue

// Where the program keeps its files. Tests point these at temporary folders.
struct ProgramPaths {
    QString programFolder;  // the executable's folder
    QString tempFolder;     // the user's temporary folder, with a trailing separator
    QString dataFolder;     // where the picture is kept between runs; empty: it is not kept
    QString pagesFolder;    // the parents' own pages ("My pages"); empty: none
    QString picturesFolder; // every page the child colored ("My pictures"); empty: none kept
};

struct ColorCount {
    int Count = 0;
    QString Name;
};
using PageCount = ColorCount;

// What computeFavorites chose: an index into colorCounts and into pageCounts, -1 for none.
struct Favorites {
    int color = -1;
    int page = -1;
};

// The child's current choice, and what the tools keep between presses.
struct ToolChoice {
    QString toolValue; // the tool, by its stored value
    TColor currentColor = clBlack;
    QString colorMode; // kMulticolorMode while the rainbow is chosen
    int penSize = 0;
    QString shapeKind;
    QString stampKind;
    QString fillStyle;
    int fillTexture = 0; // 0: plain paint
    bool strokeActive = false;
    QPoint shapeStart;
    QRect shapeOutlineRect; // the outline of the last drag step, for the next repaint
    std::unique_ptr<QImage> shapeSnapshot;
    bool magnifierOn = false;
    // The texture strip.
    std::vector<QImage> texturePreviews;
    int textureCount = 0;
    int stripSize = 6;
    int textureOffset = 0;
    // The stamp sets, loaded at the first stamp.
    std::vector<QImage> flowerStamps, heartStamps, snowflakeStamps, leafStamps;
    bool stampSetsLoaded = false;
};

// The child's statistics of this run and of the earlier ones.
struct RunStatistics {
    int clickCount = 0;
    std::array<ColorCount, 8> colorCounts; // in the order of kPaletteColors
    std::vector<PageCount> pageCounts;     // sized by the catalogue
    QString favoriteColorText, favoritePageText;
    std::vector<TStatRecord> statHistory;
    QString statFilePath; // "stat.dat" in the current folder
};

// The program's folders, set when the window is made.
struct ProgramFolders {
    QString programFolder, pakFolder, cacheFolder, saveFolder, staleFile, uploadFolder;
    QString saveDialogFolder, openDialogFolder;
};

// The catalogue's nodes in top-down order and the page chosen among them.
struct CatalogueState {
    std::vector<QTreeWidgetItem*> catalogueNodes;
    int currentPageIndex = 0;
    int pageIndexAtLastClear = 0; // Clear twice on one page gives the white sheet
};

// A page as it was laid out on the area, copied whole off the window thread once the child
// has looked at it untouched for a moment, so that Clear can put it back at once.
struct CleanPageCopy {
    qint64 sourceKey = 0; // the picture it was laid out from
    bool byHand = false;
    qint64 canvasKey = 0; // the page as placed: copied only while it is still so
    QSize area;
    OutlineMask lines; // never written in place: shared, not copied
    QImage page;
    bool started = false;
    std::atomic<bool> ready{false};
};

// How the picture shown was placed, beyond what the page session keeps.
struct ShownPage {
    bool openingByHand = false;     // File > Open is loading: only pure black is line
    bool relayingOutPage = false;   // the same page laid out again: not a change of its own
    qint64 placedPageKey = 0;       // the picture's cacheKey as it was placed
    bool pictureKeptAnyway = false; // restored, or brought back by undo
    qint64 storedPictureKey = 0;    // the picture as "My pictures" has it: leaving writes nothing
    // A page follows the drawing area's size until it is touched: the window manager sizes
    // the window only after the first show, and a side panel narrows the area while it is
    // open. The picture it was laid out from:
    QImage startPageSource;
    bool startPageRestored = false; // the start page is the last run's picture
    // The last page file read, as it was on disk: Clear and a page opened again take it
    // from here (decoding a large page took longer than a frame).
    struct FileRead {
        QString path;
        qint64 bytes = -1;
        QDateTime modified;
        bool anyPicture = false; // read as any picture, fitted to `area`, not as a bitmap
        QSize area;
        QImage image;
    } lastFileRead;
    std::shared_ptr<CleanPageCopy> cleanPage;
    QTimer* cleanPageTimer = nullptr;
};

// Keeping the picture between runs.
struct AutosaveState {
    std::unique_ptr<AutosaveWriter> autosaver;
    QTimer* autosaveTimer = nullptr;
    qint64 lastAutosaveMs = -1000000;
    bool autosaveRead = false; // the last run's file was looked at: it may be overwritten now
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(const Platform& platform, const ProgramPaths& paths, SplashScreen* splash = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Every tool and choice, and every paint blot: the rows the window is made from.
    static const std::vector<Choice>& choices();
    static const std::vector<ColorChoice>& colorChoices();
    static const Choice& choiceOf(QToolButton* WindowControls::*button);

    // Runs a handler; an exception becomes the standard error report here, before it can
    // unwind through Qt's frames. QApplication::notify stays the last net.
    void runGuarded(const std::function<void()>& handler);
    // A handler for connect() and addAction(), run through runGuarded.
    template <typename Fn> auto guarded(Fn fn) {
        return [this, fn] {
            if constexpr (std::is_member_function_pointer_v<Fn>)
                runGuarded([this, &fn] { (this->*fn)(); });
            else
                runGuarded([&fn] { fn(); });
        };
    }

    // Shown at start as child mode wants it: full screen or as a window.
    void showAtStart();
    // The splash screen is gone: start-up steps no longer advance it.
    void splashClosed() { splash = nullptr; }

    // --- what a press on a control does; the menus and the tests call them too
    // The desktop ends the program (logout, shutdown, a quit signal): the close button's
    // sequence, with no dialog to wait for; reports go to the log.
    void closeForSessionEnd();
    void onExitClicked();            // File > Exit
    void onOptionsClicked();         // File > Options
    void onAboutClicked();           // Help > About
    void onCatalogueItemClicked();   // a node of the catalogue
    void onRandomPageClicked();      // another page
    void onCatalogueButtonClicked(); // catalogue panel open/close
    void onOpenFolderClicked();      // File > Open folder coloring book
    void onOpenClicked();            // File > Open coloring book
    // File > Add pages...: the parents' pictures copied to their own folder, on "My pages".
    void onAddPagesClicked();
    void onClearClicked(); // the page blank again
    void onShapesToolClicked(const Choice& c);
    void onBrushToolClicked(const Choice& c);
    void onEraserToolClicked(const Choice& c);
    void onFillToolClicked(const Choice& c);
    void onStampToolClicked(const Choice& c); // the "magic wand"
    void onSprayToolClicked(const Choice& c);
    void onPenSizeClicked(const Choice& c);
    void onStampSetClicked(const Choice& c);
    void onShapeClicked(const Choice& c);
    void onFillToLinesClicked(); // fill up to the lines, no texture
    void onTexturesBackClicked();
    void onTexturesNextClicked();
    void onTextureClicked(PictureBox* box);
    void onRotateClicked(); // the page half round
    void onUndoClicked();
    void onRedoClicked();
    void onBlotClicked(const ColorChoice& c);
    void onRainbowClicked(); // the rainbow, on either tab
    void onChartPressed(int X, int Y);
    void onStatisticsClicked();  // statistics panel open/close
    void onSaveClicked();        // File > Save coloring book
    void onPrintClicked();       // File > Print coloring book
    void onSendClicked();        // Children's works > Send my coloring book
    void onViewGalleryClicked(); // Children's works > View works of children
    void onWriteToUsClicked();   // Help > Write to us

    // --- the drawing area's pointer, in the area's pixels
    void onAreaPress(Qt::MouseButton button, int X, int Y);
    void onAreaMove(int X, int Y); // with or without a button
    void onAreaRelease(Qt::MouseButton button, int X, int Y);

    // --- what the parts of the window ask of it
    int catalogueNodeCount() const { return int(catalogue.catalogueNodes.size()); }
    QString pagePath(int nodeIndex) const;
    void loadPage(const QString& path);
    // Repaints the area, all of it for a null rect; after a tool step the page's lines are put
    // back inside dirty first.
    void showPage(const QRect& dirty = QRect(), bool putLinesBack = true);
    // A choice made: the cursor and options page of the current tool, the choice's prompt.
    void applyChoice(const QString& name, TColor color, int speak);
    void playPrompt(const QString& name);
    bool soundDisabled() const;
    bool outlinesStay() const;
    QImage captureDrawingArea();
    // The drawing area's size with the side panels closed: what a saved picture covers.
    QSize fullAreaSize() const;
    static constexpr int kClosedRightPanelWidth = 145;
    QString autosavePath() const;
    void onLoadingBlink(); // colour blink of the loading label
    void countClick();
    QImage texturePattern(int texture) const;
    void loadStampSets();
    // Starts the spray or eraser loop through a ToolSoundThread; call it after the press has
    // set strokeActive (a start that arrives after the release is dropped).
    void startToolSound();
    void sprayPress(Qt::MouseButton button, int X, int Y);
    void sprayMove(int X, int Y);
    void stampPress(Qt::MouseButton button, int X, int Y);
    void shapePress(int X, int Y);
    void shapeDrag(int X, int Y);
    Favorites computeFavorites();
    void saveStatistics();
    void loadStatistics();
    void autosaveNow();
    bool restoreAutosave();

    // --- "My pictures" (mainwindow_pictures.cpp): every page the child colored is kept
    // The key a page's picture is kept under: a catalogue page by archive and name, a file
    // by its path; empty for the white sheet.
    QString pageKey(int pageIndex, const QString& openedFile) const;
    static QString openedFileOfKey(const QString& key); // the file of a "file:" key, or empty
    // A catalogue page, with the child's coloring when one is kept and pages remember it.
    void openPage(int pageIndex);
    void openKeptPicture(const QString& key);
    bool resumeKeptPicture(const QString& key, const PageOrigin& origin, QString* why);
    int pageIndexOfKey(const QString& key) const;
    // Behind the grown-ups' gate in child mode.
    void deleteKeptPicture(const QString& key);
    bool pagesRememberColoring() const;
    PictureStore* pictureStore() const { return pictures.get(); }

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend struct WindowProbe; // the window tests' one door
    friend class SelectionLook;
    friend class ChildMode;
    friend class CatalogueThumbnails;
    friend class DrawingArea;
    friend class ToolSoundThread;

    // Building (mainwindow_build.cpp), panel by panel.
    void buildControls();
    void buildToolColumn(QHBoxLayout* row);
    void buildCentre(QHBoxLayout* row);
    void buildOptionPages();
    void buildFillOptions();
    void buildDrawingArea(QVBoxLayout* column);
    void buildRightPanel(QHBoxLayout* row);
    void buildStatisticsPanel();
    void buildPalette(QVBoxLayout* column);
    void buildToddlerTab();
    void buildKidsTab();
    void buildChoiceButtons(Shelf shelf, QWidget* parent);
    void buildMenus();
    // Every text of the window in the current language, again after a language change.
    void retranslate();
    void showStatisticsTexts();

    // Lifecycle (mainwindow.cpp, settings.cpp).
    void initialize();
    void onFirstShow();
    void finishClosing();
    void limitToScreen();
    void readConfig();
    void writeConfig();
    void progressStep();
    void setRightPanelWidth(int w);
    void closeSidePanels();
    void reportShellFailure(const QString& urlOrPath);
    // Opens an address or a folder on the desktop; when nothing can show it, says so.
    void openInShell(const QString& urlOrPath);
    bool isOnline();

    // The catalogue and pages (mainwindow_catalogue.cpp, mainwindow_loader.cpp).
    void loadCatalogue();
    // Lays a page's picture out on a new canvas the size of the drawing area and shows it.
    // openedFile: the file a picture opened by hand came from; Clear goes back to it.
    void placePage(const QImage& source, const QString& openedFile = QString());
    // A copy of the page just laid out for Clear (CleanPageCopy): asked for, then taken.
    void scheduleCleanPageCopy(qint64 sourceKey, bool byHand);
    void startCleanPageCopy();
    QTreeWidgetItem* myPagesShelf(); // made when the first page comes
    static QString myPagesCaption(int pages);
    QTreeWidgetItem* addMyPageNode(const QString& file);
    void loadMyPages();
    void followAreaSize();
    // A touched page smaller than the drawing area grows to it (white) at the next press, so
    // the whole area takes paint.
    void growPageToArea();

    // Painting (mainwindow_pointer/tools/textures/spray_stamp_shapes.cpp).
    void pickColor(const QString& mode, TColor color);
    void moveMagnifier(int X, int Y);
    void onBlotHover(QObject* child, bool entered); // a blot under the pointer has a face
    void loadTexturePreviews();
    void fitTextureStrip(); // as many boxes as the room holds, the arrows beside them
    void frameTextureBox(PictureBox* box);
    ToolKind currentTool() const { return toolKind(tools.toolValue); }
    // The tool state as the tools see it; one press, move or release of the current tool.
    ToolState toolState(const std::vector<QImage>* stamps = nullptr);
    enum class ToolStep { Press, Move, Release };
    QRect toolStep(ToolStep step, int X, int Y, const std::vector<QImage>* stamps = nullptr);

    // Undo and redo (mainwindow_history.cpp).
    void stepHistory(bool back);
    // Closes the tool's edit that is open, recording it as one step.
    void endEdit();
    void updateUndoControls();

    // Keeping the picture (mainwindow_autosave.cpp).
    // Called after every change of the page: saves at once when the last save is a second
    // old, otherwise when the second is up.
    void scheduleAutosave();
    // True when the picture shown is not just a page as its file gave it: the child has
    // changed it, in this run or an earlier one. Only such a picture is kept between runs.
    bool pictureChanged() const;
    void notePagePlaced(bool changedAlready);
    void nameInStatistics(int pageIndex);
    // A picture kept earlier on the page, as it was or reduced to fit; with record, the one
    // shown is a step back.
    void placeKeptPicture(const QImage& picture, PageOrigin origin, bool record);
    // The picture shown goes to the store when the child changed it and it has a page.
    void keepLeavingPicture();
    void buildMyPicturesShelf();
    int shelfRow(const QString& key) const; // -1 when not on the shelf
    void updateShelfCaption();
    void rememberColoringSwitch();
    // Newest first: a picture kept now goes on top, those read from the store below.
    void showOnShelf(const QString& key, const QString& name, const QImage& thumbnail,
                     bool newest = true);
    void onCatalogueMenu(const QPoint& at);
    QTreeWidgetItem* myPicturesShelf = nullptr;
    std::unique_ptr<PictureStore> pictures;
    void startShelfReader();
    std::thread shelfReader; // reads the store's shelf at start
    std::atomic<bool> shelfReaderStop{false};

    Platform platform;
    ProgramPaths paths;
    QString siteBase;
    long httpTimeLimitMs = 30000; // every gallery request ends within this
    SplashScreen* splash;
    OptionsDialog* optionsDialog = nullptr;
    ChildMode* childMode = nullptr;            // the gate on the parents' controls
    SelectionLook* selectionLook = nullptr;    // the frames on the chosen things
    CatalogueThumbnails* thumbnails = nullptr; // the catalogue's page pictures

    WindowControls ui;
    ToolChoice tools;
    PageSession session;
    ShownPage shown;
    CatalogueState catalogue;
    RunStatistics stats;
    ProgramFolders folders;
    AutosaveState keeping;

    bool endingSession = false;
    bool firstShowDone = false;
    bool inFirstShow = false;      // the first show is running
    bool closeDuringShow = false;  // a close request came meanwhile; it is served afterwards
    bool closeDone = false;        // the close sequence ran: it runs once
    bool toolSoundStarted = false; // a tool sound was started at some time
    QPointer<ToolSoundThread> toolSoundThread; // the latest, while it has not deleted itself
};
