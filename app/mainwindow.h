#pragma once
// The main window: it owns every control, the page bitmap, the tool state and the run's
// counters. Its handlers are defined in the folder of their subsystem.
#include "app/platform.h"
#include "base/tcolor.h"
#include "paint/history.h"
#include "paint/outline.h"
#include "paint/pagebitmap.h"
#include "paint/toolkind.h"
#include "paint/tools.h"
#include "stats/statrecord.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFm_Options;
class ChildMode;
class SelectionLook;
class CatalogueThumbnails;
class TFm_Splash;
class TImage;
class TPaintBox;
class TSpeakThread;
class AutosaveWriter;

extern const QString kInterfaceLanguage; // always "En"

// The kind of a catalogue node, kept in its Qt::UserRole data and naming its icon.
namespace catalogue {
inline constexpr int ArchiveNode = 1;
inline constexpr int PageNode = 2;
// A page of the parents' own: the path of its file (the bundled pages are in the cache).
inline constexpr int FileRole = Qt::UserRole + 1;
} // namespace catalogue

// Where the program keeps its files. Tests point these at temporary folders.
struct ProgramPaths {
    QString programFolder; // the executable's folder
    QString tempFolder;    // the user's temporary folder, with a trailing separator
    QString dataFolder;    // where the picture is kept between runs; empty: it is not kept
    QString pagesFolder;   // the parents' own pages ("My pages"); empty: none
};

struct TColorCount {
    int Count = 0;
    QString Name;
};
using TRaskraskaCount = TColorCount;

// What ComputeFavorites chose: an index into ColorCounts and into PageCounts, -1 for none.
struct TFavorites {
    int color = -1;
    int page = -1;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    TForm1(const Platform& platform, const ProgramPaths& paths, TFm_Splash* splash = nullptr,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // Runs a handler; an exception becomes the standard error report here, before it can
    // unwind through Qt's frames. QApplication::notify stays the last net.
    void runGuarded(const std::function<void()>& handler);
    // A handler for connect() and addAction(), run through runGuarded.
    template <typename Fn> auto guarded(Fn fn) {
        return [this, fn] {
            runGuarded([this, &fn] {
                if constexpr (std::is_member_function_pointer_v<Fn>)
                    (this->*fn)();
                else
                    fn();
            });
        };
    }

    // --- lifecycle (mainwindow.cpp, settings.cpp, about.cpp)
    void FormCreate();
    void FormShow();
    void FormClose();
    // The desktop ends the program (logout, shutdown, a quit signal): the close button's
    // sequence, with no dialog to wait for; reports go to the log.
    void CloseForSessionEnd();
    bool EndingSession = false;
    void menu_exitClick(); // File > Exit
    void WMGetMinMaxInfo();
    void menu_optionsClick(); // File > Options
    void ReadSettings();
    void WriteSettings();
    void Timer_ColorTimer(); // colour blink of the loading label
    void menu_aboutClick();  // Help > About

    // --- picture library (mainwindow_catalogue.cpp, mainwindow_loader.cpp)
    void LoadTreeFile();
    void TreeView1Click();           // a node of the catalogue
    void Button_RndRaskraskaClick(); // "Random" page
    void Button_FolderClick();       // catalogue panel open/close
    void menu_openfolderClick();     // File > Open folder coloring book
    void LoadKartinka(const QString& path);
    // Lays a page's picture out on a new PageBitmap the size of the drawing area and shows it.
    // openedFile: the file a picture opened by hand came from; Clear goes back to it.
    void PlacePage(const QImage& source, const QString& openedFile = QString());
    void menu_openClick(); // File > Open coloring book
    // File > Add pages...: the parents' pictures copied to their own folder, on "My pages".
    void AddPagesClick();
    QTreeWidgetItem* MyPagesShelf(); // made when the first page comes
    QTreeWidgetItem* AddMyPageNode(const QString& file);
    void LoadMyPages();
    QAction* menu_addpages;
    void Button_SterkaClick(); // "Clear" the page
    int TreeNodeCount() const { return int(TreeNodes.size()); }
    QString PagePath(int nodeIndex) const;

    // --- painting (mainwindow_pointer/tools/textures/spray_stamp_shapes/rotation.cpp)
    void PaintBox1MouseDown(Qt::MouseButton button, int X, int Y); // drawing area: press
    void PaintBox1MouseMove(int X, int Y); // drawing area: move, with or without a button
    void PaintBox1MouseUp(Qt::MouseButton button, int X, int Y); // drawing area: release
    // Repaints the area, all of it for a null rect; after a tool step the page's lines are put
    // back inside dirty first.
    void ShowPage(const QRect& dirty = QRect(), bool putLinesBack = true);
    void NewCursor(const QString& name, TColor color,
                   int speak);                         // a choice: cursor, options page, prompt
    void PickColor(const QString& mode, TColor color); // a swatch or chart cell chosen
    void But_PipetkaClick();                           // shapes tool (button BitBtn6)
    void But_kistClick();                              // brush tool
    void But_EraseClick();                             // eraser tool
    void But_KrasClick();                              // fill bucket tool
    void But_SnegClick();                              // stamp tool ("magic wand")
    void But_BolonchikClick();                         // spray can tool
    void BitBtn5Click();                               // pen size "huge" (70)
    void BitBtn7Click();                               // pen size "big" (70)
    void BitBtn8Click();                               // pen size "medium" (50)
    void BitBtn20Click();                              // pen size "little" (25)
    void BitBtn21Click();                              // pen size "tiny" (10)
    void BitBtn17Click();                              // fill up to the lines, no texture
    void Button_1Click();                              // texture strip: back
    void Button_2Click();                              // texture strip: on
    void Button_3Click();            // texture strip: load the previews (hidden button)
    void box_img2Click(TImage* box); // a texture in the strip
    void Button_RotateClick();       // turn the page half round
    void BitBtn18Click();            // stamp set: snowflakes
    void btn5Click();                // stamp set: leaves
    void BitBtn12Click();            // stamp set: flowers
    void BitBtn16Click();            // stamp set: hearts
    void btn1Click();                // shape: rectangle (square)
    void btn2Click();                // shape: circle
    void btn3Click();                // shape: line
    void btn4Click();                // shape: triangle
    void btn7Click();                // shape: hexagon (polygon)
    void btn8Click();                // shape: trapezium
    void btn13Click();               // shape: diamond
    void SprayPress(Qt::MouseButton button, int X, int Y);
    void SprayMove(int X, int Y);
    void StampPress(Qt::MouseButton button, int X, int Y);
    void ShapePress(int X, int Y);
    void ShapeDrag(int X, int Y);
    void LoadStampLists();
    // Starts the spray or eraser loop through a TSpeakThread; call it after the press has set
    // StrokeActive (a start that arrives after the release is dropped).
    void StartToolSound();
    QImage TexturePattern(int texture) const;
    // The tool state as the tools see it; one press, move or release of the current tool.
    ToolState toolState(const std::vector<QImage>* stamps = nullptr);
    enum class ToolStep { Press, Move, Release };
    QRect toolStep(ToolStep step, int X, int Y, const std::vector<QImage>* stamps = nullptr);

    // --- palette and voice (mainwindow_palette.cpp, mainwindow_voice.cpp)
    void PlayPrompt(const QString& name);
    void Image1_ColorMouseDown();              // red swatch
    void Image2_ColorMouseDown();              // yellow swatch
    void Image3_ColorMouseDown();              // orange swatch
    void Image4_ColorMouseDown();              // green swatch
    void Image5_ColorMouseDown();              // blue swatch
    void Image6_ColorMouseDown();              // light blue swatch
    void Image8_ColorMouseDown();              // black swatch
    void Image9_ColorMouseDown();              // white swatch (control Image7_Color)
    void Image10_ColorMouseDown();             // rainbow (multicolour) swatch, both tabs
    void Image2MouseDown(int X, int Y);        // the colour chart on the Kids tab
    void MyProc(QObject* child, bool entered); // swatch hover: picture with a face
    bool SoundDisabled() const;

    // --- statistics (mainwindow_stats.cpp)
    void CountClick();
    TFavorites ComputeFavorites();
    void Statsave();
    void Statload();
    void Button_StatClick(); // statistics panel open/close

    // --- output and sharing (mainwindow_save.cpp, mainwindow_send.cpp)
    void menu_SaveClick();         // File > Save coloring book
    void menu_printClick();        // File > Print coloring book
    void menu_ColroingSendClick(); // Children's works > Send my coloring book
    void menu_ColoringViewClick(); // Children's works > View works of children
    void menu_MailClick();         // Help > Write to us
    QImage CaptureDrawingArea();
    // The drawing area's size with the side panels closed: what a saved picture covers.
    QSize FullAreaSize() const;
    static constexpr int kClosedRightPanelWidth = 145;
    // Opens an address or a folder on the desktop; when nothing can show it, says so.
    void OpenInShell(const QString& urlOrPath);
    bool IsOnline();

    // --- services and settings
    Platform platform;
    ProgramPaths paths;
    QString SiteBase;
    long HttpTimeLimitMs = 30000; // every gallery request ends within this
    TFm_Splash* splash;
    TFm_Options* Fm_Options = nullptr;
    ChildMode* childMode = nullptr;            // the gate on the parents' controls
    SelectionLook* selectionLook = nullptr;    // the frames on the chosen things
    CatalogueThumbnails* thumbnails = nullptr; // the catalogue's page pictures

    // --- folders, computed in FormCreate
    QString ProgramFolder, PakFolder, CacheFolder, SaveFolder, StaleFile, UploadFolder;
    QString SaveDialogInitialDir, OpenDialogInitialDir;

    // --- the page and the tool state
    std::unique_ptr<PageBitmapCanvas> PageBitmap;
    std::unique_ptr<QImage> ShapeSnapshot;
    // The loaded page's lines, put back after every tool step while "Outlines stay" is on.
    OutlineMask Outline;
    bool OpeningByHand = false; // File > Open is loading: only pure black is line
    bool OutlinesStay() const;

    // --- undo and redo (mainwindow_history.cpp)
    void Button_UndoClick(); // one change back
    void Button_RedoClick(); // the change undone, again
    // Closes the tool's edit that is open, recording it as one step.
    void EndEdit();
    void UpdateUndoControls();
    PageHistory History;
    int PicturePageIndex = 0;     // the catalogue page the picture shown came from
    QString PictureOpenedFile;    // the file it was opened from by hand (File > Open), if so
    bool RelayingOutPage = false; // the same page laid out again: not a change of its own

    // --- autosave (mainwindow_autosave.cpp)
    QString AutosavePath() const;
    // Called after every change of the page (changed: where; a null rect: anywhere): saves at
    // once when the last save is a second old, otherwise when the second is up.
    void AutosaveChanged(const QRect& changed = QRect());
    // True when the picture shown is not just a page as its file gave it: the child has
    // changed it, in this run or an earlier one. Only such a picture is kept between runs.
    bool PictureChanged() const;
    void NotePagePlaced(bool changedAlready);
    qint64 PlacedPageKey = 0;       // the picture's cacheKey as it was placed
    bool PictureKeptAnyway = false; // restored, or brought back by undo
    void AutosaveNow();
    // Brings back the picture of the last run; false when there is none that reads.
    bool RestoreAutosave();
    void PlaceRestoredPicture(const QImage& picture);
    std::unique_ptr<AutosaveWriter> Autosaver;
    QTimer* AutosaveTimer = nullptr;
    qint64 LastAutosaveMs = -1000000;
    QRegion AutosaveChangedArea; // changed since the last save
    bool AutosaveWholePage = true;
    bool AutosaveRead = false; // the last run's file was looked at: it may be overwritten now
    QRect ShapeOutlineRect;    // the outline of the last drag step, for the next repaint
    QString CurrentTool;
    ToolKind currentTool() const { return toolKind(CurrentTool); }
    TColor CurrentColor = clBlack;
    QString ColorMode;
    int PenSize = 0;
    QString ShapeKind;
    QString StampKind;
    QString FillStyle;
    int FillTexture = 0;
    bool StrokeActive = false;
    QPoint ShapeStart;
    bool MagnifierOn = false;
    int StrokeSinceClear = 0;
    int CurrentPageIndex = 0;
    bool SpeakThreadStarted = false;    // a tool sound was started at some time
    QPointer<TSpeakThread> SpeakThread; // the latest, while it has not deleted itself
    bool FirstShowDone = false;
    bool InFormShow = false;      // the first show is running
    bool CloseDuringShow = false; // a close request came meanwhile; it is served afterwards
    bool CloseDone = false;       // the close sequence ran: it runs once
    // A page follows the drawing area's size until it is touched: the window manager sizes
    // the window only after the first show, and a side panel narrows the area while it is
    // open. The picture it was laid out from:
    QImage StartPageSource;
    bool StartPageRestored = false; // the start page is the last run's picture
    // A touched page smaller than the drawing area grows to it (white) at the next press, so
    // the whole area takes paint.
    void GrowPageToArea();

    // --- texture strip
    std::vector<QImage> Imagelist_tex;
    int TextureCount = 0;
    int StripSize = 6;
    void FitTextureStrip(); // as many boxes as the room holds, the arrows beside them
    void frameTextureBox(TImage* box);
    int TextureOffset = 0;

    // --- stamp sets
    std::vector<QImage> ImageList_Cvet, ImageList_Serdce, ImageList_Sneg, ImageList_Listik2;
    bool StampListsLoaded = false;

    // --- statistics
    int ClickCount = 0;
    std::array<TColorCount, 8> ColorCounts;  // in the order of kPaletteColors
    std::vector<TRaskraskaCount> PageCounts; // sized by the catalogue
    QString FavoriteColorText, FavoriteBookText;
    std::vector<TStatRecord> StatHistory;
    QString StatFilePath; // "stat.dat" in the current folder

    // --- catalogue nodes in top-down order
    std::vector<QTreeWidgetItem*> TreeNodes;

    // --- controls
    QFrame* Panel1;                    // the central widget
    QFrame* Panel_Color;               // bottom: the palette
    QTabWidget* PageControl1;          // palette tabs Toddler / Kids
    QWidget* TabSheet1;                // Toddler tab: big swatches
    QWidget* TabSheet2;                // Kids tab: colour chart
    TImage* Image1_Color;              // red
    TImage* Image2_Color;              // yellow
    TImage* Image3_Color;              // orange
    TImage* Image4_Color;              // green
    TImage* Image5_Color;              // blue
    TImage* Image6_Color;              // light blue
    TImage* Image7_Color;              // white
    TImage* Image8_Color;              // black
    TImage* Image10_Color;             // rainbow
    QFrame* Panel7;                    // frame of the chart
    TImage* Image2;                    // the color chart
    TImage* Image3;                    // multicolor swatch on the Kids tab
    QToolButton* Button_RndRaskraska;  // "Random" page, Toddler tab
    QToolButton* Button_Sterka;        // "Clear", Toddler tab
    QToolButton* Button_RndRaskraska2; // "Random" page, Kids tab
    QToolButton* Button_Sterka2;       // "Clear", Kids tab

    QFrame* Panel_left;     // left: the tool buttons
    QToolButton* BitBtn6;   // shapes
    QToolButton* But_kist;  // brush
    QToolButton* But_Erase; // eraser
    QToolButton* But_Kras;  // fill bucket

    QFrame* Panel_Right;         // right: buttons, catalogue, statistics
    QFrame* Panel_Buttons_Right; // the right-hand buttons
    QToolButton* Button_Stat;    // statistics
    QToolButton* Button_Folder;  // catalogue
    QToolButton* But_Sneg;       // stamps ("magic wand")
    QToolButton* But_Bolonchik;  // spray can
    QFrame* Panel_Tree;          // the catalogue panel
    QTreeWidget* TreeView1;      // archives and their pages
    QFrame* Panel_Stat;          // the statistics panel
    QLabel* Label1;              // "Child's statistics:"
    QLabel* Label_Clicks;        // clicks counter
    QLabel* Label_Color;         // favourite colour
    QLabel* Label_Raskraska;     // favourite page
    QLabel* Label2;              // "Full Statistics:"
    QTableWidget* StringGrid1;   // the stat.dat history

    QFrame* Panel_PaintBox;          // middle: options strip above the drawing area
    QFrame* Panel2;                  // holds the strip and the area
    QFrame* Panel3;                  // the options strip
    QStackedWidget* PageControl_Dop; // one options page per tool
    QWidget* Tab_Zalivka;            // fill options
    QWidget* Tab_PenSize;            // pen sizes (brush, eraser, spray)
    QWidget* Tab_Shtamp;             // stamp sets
    QWidget* Tab_Effect;             // shapes
    QFrame* Panel4;                  // holds the rotate button
    QToolButton* Button_Undo;        // one change back
    QToolButton* Button_Redo;        // the change undone, again
    QToolButton* Button_Rotate;      // turn the page half round
    TPaintBox* PaintBox1;            // the drawing area
    QLabel* Label_Load;              // "loading" text
    QLabel* Label_Error;             // "no pages found"
    QLabel* Label_Error2;            // the site address under it
    QLabel* img4;                    // the magnifier

    // Tab_Zalivka
    QToolButton* BitBtn17;            // fill up to the lines
    QToolButton* Button_1;            // back along the texture strip
    QToolButton* Button_2;            // on along the texture strip
    QToolButton* Button_3;            // loads the previews (hidden)
    QFrame* pnl2;                     // the texture strip
    std::array<TImage*, 6> box_img{}; // the six textures shown
    // Tab_PenSize
    QToolButton* BitBtn5;  // pen size huge
    QToolButton* BitBtn7;  // pen size big
    QToolButton* BitBtn8;  // pen size medium
    QToolButton* BitBtn20; // pen size little
    QToolButton* BitBtn21; // pen size tiny
    // Tab_Shtamp
    QToolButton* BitBtn18; // snowflakes
    QToolButton* btn5;     // leaves
    QToolButton* BitBtn12; // flowers
    QToolButton* BitBtn16; // hearts
    // Tab_Effect
    QToolButton* btn2;  // circle
    QToolButton* btn1;  // rectangle
    QToolButton* btn4;  // triangle
    QToolButton* btn3;  // line
    QToolButton* btn13; // diamond
    QToolButton* btn7;  // hexagon
    QToolButton* btn8;  // trapezium

    // menus
    QAction* menu_open;
    QAction* menu_undo; // Edit > Undo
    QAction* menu_redo; // Edit > Redo
    QAction* menu_Save;
    QAction* menu_openfolder;
    QAction* menu_options;
    QAction* menu_print;
    QAction* menu_exit;
    QAction* menu_ColroingSend;
    QAction* menu_ColoringView;
    QAction* menu_Mail;
    QAction* menu_about;

    QTimer* Timer_Color; // blinks the loading label

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void stepHistory(bool back);
    void buildControls();
    void buildMenus();
    void progressStep();
    void setRightPanelWidth(int w);
    void closeSidePanels();
    void reportShellFailure(const QString& urlOrPath);
    void followAreaSize();
};
