#pragma once
// The main window: it owns every control, the page bitmap, the tool state and the run's
// counters. Its handlers are defined in the folder of their subsystem.
#include "app/platform.h"
#include "base/tcolor.h"
#include "paint/outline.h"
#include "paint/pagebitmap.h"
#include "stats/statrecord.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
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
class TFm_Splash;
class TImage;
class TPaintBox;
class TSpeakThread;
class AutosaveWriter;

extern const QString kInterfaceLanguage; // always "En"

// Tool, fill-style, stamp-set and shape values, compared exactly.
namespace tool {
inline const QString Fill = QStringLiteral("Заливать");
inline const QString Brush = QStringLiteral("Рисовать");
inline const QString Eraser = QStringLiteral("Стирать");
inline const QString Spray = QStringLiteral("Болончик");
inline const QString Stamp = QStringLiteral("Штамп");
inline const QString Shapes = QStringLiteral("Фигуры");
} // namespace tool
namespace fillstyle {
inline const QString Normal = QStringLiteral("обычная");
inline const QString Special = QStringLiteral("специальная");
} // namespace fillstyle
namespace stampkind {
inline const QString Flowers = QStringLiteral("цветы");
inline const QString Hearts = QStringLiteral("сердце");
inline const QString Snow = QStringLiteral("снег");
inline const QString Leaves = QStringLiteral("листья2");
} // namespace stampkind
namespace shape {
inline const QString Circle = QStringLiteral("Круг");
inline const QString Square = QStringLiteral("Квадрат");
inline const QString Line = QStringLiteral("Линия");
inline const QString Triangle = QStringLiteral("Треугольник");
inline const QString Polygon = QStringLiteral("Многоугольник");
inline const QString Trapezoid = QStringLiteral("Трапеция");
inline const QString Diamond = QStringLiteral("Ромб");
} // namespace shape
inline const QString kMulticolorMode = QStringLiteral("Цветной");

// Where the program keeps its files. Tests point these at temporary folders.
struct ProgramPaths {
    QString programFolder; // the executable's folder
    QString tempFolder;    // the user's temporary folder, with a trailing separator
    QString dataFolder;    // where the picture is kept between runs; empty: it is not kept
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

    // --- lifecycle (mainwindow.cpp, settings.cpp, about.cpp)
    void FormCreate();
    void FormShow();
    void FormClose();
    void menu_exitClick();
    void WMGetMinMaxInfo();
    void menu_optionsClick();
    void ReadSettings();
    void WriteSettings();
    void Timer_ColorTimer();
    void menu_aboutClick();

    // --- picture library (mainwindow_catalogue.cpp, mainwindow_loader.cpp)
    void LoadTreeFile();
    void TreeView1Click();
    void Button_RndRaskraskaClick();
    void Button_FolderClick();
    void menu_openfolderClick();
    void LoadKartinka(const QString& path);
    // Lays a page's picture out on a new PageBitmap the size of the drawing area and shows it.
    void PlacePage(const QImage& source);
    void menu_openClick();
    void Button_SterkaClick();
    int TreeNodeCount() const { return int(TreeNodes.size()); }
    QString PagePath(int nodeIndex) const;

    // --- painting (mainwindow_pointer/tools/textures/spray_stamp_shapes/rotation.cpp)
    void PaintBox1MouseDown(Qt::MouseButton button, int X, int Y);
    void PaintBox1MouseMove(int X, int Y);
    void PaintBox1MouseUp(Qt::MouseButton button, int X, int Y);
    void ShowPage(const QRect& dirty = QRect());
    void NewCursor(const QString& name, TColor color, int speak);
    void But_PipetkaClick();
    void But_kistClick();
    void But_EraseClick();
    void But_KrasClick();
    void But_SnegClick();
    void But_BolonchikClick();
    void BitBtn5Click();
    void BitBtn7Click();
    void BitBtn8Click();
    void BitBtn20Click();
    void BitBtn21Click();
    void BitBtn17Click();
    void Button_1Click();
    void Button_2Click();
    void Button_3Click();
    void box_img2Click(TImage* box);
    void Button_RotateClick();
    void BitBtn18Click();
    void btn5Click();
    void BitBtn12Click();
    void BitBtn16Click();
    void btn1Click();
    void btn2Click();
    void btn3Click();
    void btn4Click();
    void btn7Click();
    void btn8Click();
    void btn13Click();
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

    // --- palette and voice (mainwindow_palette.cpp, mainwindow_voice.cpp)
    void PlayPrompt(const QString& name);
    void Image1_ColorMouseDown();
    void Image2_ColorMouseDown();
    void Image3_ColorMouseDown();
    void Image4_ColorMouseDown();
    void Image5_ColorMouseDown();
    void Image6_ColorMouseDown();
    void Image8_ColorMouseDown();
    void Image9_ColorMouseDown();
    void Image10_ColorMouseDown();
    void Image2MouseDown(int X, int Y);
    void MyProc(QObject* child, bool entered);
    bool SoundDisabled() const;

    // --- statistics (mainwindow_stats.cpp)
    void CountClick();
    TFavorites ComputeFavorites();
    void Statsave();
    void Statload();
    void Button_StatClick();

    // --- output and sharing (mainwindow_save.cpp, mainwindow_send.cpp)
    void menu_SaveClick();
    void menu_printClick();
    void menu_ColroingSendClick();
    void menu_ColoringViewClick();
    void menu_MailClick();
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

    // --- autosave (mainwindow_autosave.cpp)
    QString AutosavePath() const;
    // Called after every change of the page: saves at once when the last save is a second
    // old, otherwise when the second is up.
    void AutosaveChanged();
    void AutosaveNow();
    // Brings back the picture of the last run; false when there is none that reads.
    bool RestoreAutosave();
    std::unique_ptr<AutosaveWriter> Autosaver;
    QTimer* AutosaveTimer = nullptr;
    qint64 LastAutosaveMs = -1000000;
    bool AutosaveRead = false; // the last run's file was looked at: it may be overwritten now
    QRect ShapeOutlineRect;    // the outline of the last drag step, for the next repaint
    QString CurrentTool;
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
    // The first page follows the drawing area's size until it is touched: the window manager
    // sizes the window only after the first show. Its picture, and the key of the page laid
    // out from it.
    QImage StartPageSource;
    qint64 StartPageKey = 0;
    // A page was picked in the catalogue since it was opened; leaving the catalogue then lays
    // that fresh page out again at the wider size.
    bool PagePickedInCatalogue = false;

    // --- texture strip
    std::vector<QImage> Imagelist_tex;
    int TextureCount = 0;
    int StripSize = 6;
    int TextureOffset = 0;

    // --- stamp sets
    std::vector<QImage> ImageList_Cvet, ImageList_Serdce, ImageList_Sneg, ImageList_Listik2;
    bool StampListsLoaded = false;

    // --- statistics
    int ClickCount = 0;
    std::array<TColorCount, 8> ColorCounts;
    std::vector<TRaskraskaCount> PageCounts; // sized by the catalogue
    QString FavoriteColorText, FavoriteBookText;
    std::vector<TStatRecord> StatHistory;
    QString StatFilePath; // "stat.dat" in the current folder

    // --- catalogue nodes in top-down order
    std::vector<QTreeWidgetItem*> TreeNodes;

    // --- controls
    QFrame* Panel1;
    QFrame* Panel_Color;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    TImage* Image1_Color;
    TImage* Image2_Color;
    TImage* Image3_Color;
    TImage* Image4_Color;
    TImage* Image5_Color;
    TImage* Image6_Color;
    TImage* Image7_Color;
    TImage* Image8_Color;
    TImage* Image10_Color;
    QFrame* Panel7;
    TImage* Image2; // the color chart
    TImage* Image3; // multicolor swatch on the Kids tab
    QToolButton* Button_RndRaskraska;
    QToolButton* Button_Sterka;
    QToolButton* Button_RndRaskraska2;
    QToolButton* Button_Sterka2;

    QFrame* Panel_left;
    QToolButton* BitBtn6;
    QToolButton* But_kist;
    QToolButton* But_Erase;
    QToolButton* But_Kras;

    QFrame* Panel_Right;
    QFrame* Panel_Buttons_Right;
    QToolButton* Button_Stat;
    QToolButton* Button_Folder;
    QToolButton* But_Sneg;
    QToolButton* But_Bolonchik;
    QFrame* Panel_Tree;
    QTreeWidget* TreeView1;
    QFrame* Panel_Stat;
    QLabel* Label1;
    QLabel* Label_Clicks;
    QLabel* Label_Color;
    QLabel* Label_Raskraska;
    QLabel* Label2;
    QTableWidget* StringGrid1;

    QFrame* Panel_PaintBox;
    QFrame* Panel2;
    QFrame* Panel3;
    QStackedWidget* PageControl_Dop;
    QWidget* Tab_Zalivka;
    QWidget* Tab_PenSize;
    QWidget* Tab_Shtamp;
    QWidget* Tab_Effect;
    QFrame* Panel4;
    QToolButton* Button_Rotate;
    TPaintBox* PaintBox1;
    QLabel* Label_Load;
    QLabel* Label_Error;
    QLabel* Label_Error2;
    QLabel* img4; // the magnifier

    // Tab_Zalivka
    QToolButton* BitBtn17;
    QToolButton* Button_1;
    QToolButton* Button_2;
    QToolButton* Button_3;
    QFrame* pnl2;
    std::array<TImage*, 6> box_img{};
    // Tab_PenSize
    QToolButton* BitBtn5;
    QToolButton* BitBtn7;
    QToolButton* BitBtn8;
    QToolButton* BitBtn20;
    QToolButton* BitBtn21;
    // Tab_Shtamp
    QToolButton* BitBtn18;
    QToolButton* btn5;
    QToolButton* BitBtn12;
    QToolButton* BitBtn16;
    // Tab_Effect
    QToolButton* btn2;
    QToolButton* btn1;
    QToolButton* btn4;
    QToolButton* btn3;
    QToolButton* btn13;
    QToolButton* btn7;
    QToolButton* btn8;

    // menus
    QAction* menu_open;
    QAction* menu_Save;
    QAction* menu_openfolder;
    QAction* menu_options;
    QAction* menu_print;
    QAction* menu_exit;
    QAction* menu_ColroingSend;
    QAction* menu_ColoringView;
    QAction* menu_Mail;
    QAction* menu_about;

    QTimer* Timer_Color;

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void progressStep();
    void setRightPanelWidth(int w);
    void closeSidePanels();
    void reportShellFailure(const QString& urlOrPath);
    void followAreaSize();
};
