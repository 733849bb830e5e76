#pragma once
// The main window's controls, by what they are. The window builds them panel by panel
// (mainwindow_build.cpp); the buttons of the choices come from the rows in choices.cpp.
#include <array>

class PictureBox;
class DrawingArea;
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
class QWidget;

struct WindowControls {
    QFrame* centralPanel = nullptr;

    // Bottom: the palette, on two tabs.
    QFrame* palettePanel = nullptr;
    QTabWidget* paletteTabs = nullptr;
    QWidget* toddlerTab = nullptr; // big paint blots
    QWidget* kidsTab = nullptr;    // the colour chart
    PictureBox* redBlot = nullptr;
    PictureBox* yellowBlot = nullptr;
    PictureBox* orangeBlot = nullptr;
    PictureBox* greenBlot = nullptr;
    PictureBox* blueBlot = nullptr;
    PictureBox* lightBlueBlot = nullptr;
    PictureBox* whiteBlot = nullptr;
    PictureBox* blackBlot = nullptr;
    PictureBox* rainbowBlot = nullptr;
    QFrame* chartFrame = nullptr;
    PictureBox* colorChart = nullptr;
    PictureBox* kidsRainbowBlot = nullptr;
    QToolButton* randomPageButton = nullptr;
    QToolButton* clearButton = nullptr;
    QToolButton* kidsRandomPageButton = nullptr;
    QToolButton* kidsClearButton = nullptr;

    // Left: tools.
    QFrame* toolColumn = nullptr;
    QToolButton* shapesButton = nullptr;
    QToolButton* brushButton = nullptr;
    QToolButton* eraserButton = nullptr;
    QToolButton* fillButton = nullptr;

    // Right: more tools, and the catalogue and statistics panels.
    QFrame* rightPanel = nullptr;
    QFrame* rightButtonColumn = nullptr;
    QToolButton* statisticsButton = nullptr;
    QToolButton* catalogueButton = nullptr;
    QToolButton* stampsButton = nullptr;
    QToolButton* sprayButton = nullptr;
    QFrame* cataloguePanel = nullptr;
    QTreeWidget* catalogueTree = nullptr;
    QFrame* statisticsPanel = nullptr;
    QLabel* statisticsTitle = nullptr;
    QLabel* clicksLabel = nullptr;
    QLabel* favoriteColorLabel = nullptr;
    QLabel* favoritePageLabel = nullptr;
    QLabel* historyTitle = nullptr;
    QTableWidget* historyTable = nullptr; // stat.dat, one run a row

    // Middle: the tool's options above the drawing area.
    QFrame* centrePanel = nullptr;
    QFrame* pageColumn = nullptr;
    QFrame* optionStrip = nullptr;
    QStackedWidget* toolOptionPages = nullptr;
    QWidget* fillOptions = nullptr;
    QWidget* penSizeOptions = nullptr; // brush, eraser and spray
    QWidget* stampOptions = nullptr;
    QWidget* shapeOptions = nullptr;
    QFrame* pageActionsPanel = nullptr;
    QToolButton* undoButton = nullptr;
    QToolButton* redoButton = nullptr;
    QToolButton* rotateButton = nullptr;
    DrawingArea* drawingArea = nullptr;
    QLabel* loadingLabel = nullptr;
    QLabel* noPagesLabel = nullptr;
    QLabel* siteLinkLabel = nullptr;
    QLabel* magnifierLens = nullptr;

    QToolButton* fillToLinesButton = nullptr;
    QToolButton* texturesBackButton = nullptr;
    QToolButton* texturesNextButton = nullptr;
    QToolButton* texturePreviewsButton = nullptr; // hidden: loads the previews
    QFrame* textureStrip = nullptr;
    std::array<PictureBox*, 6> textureBoxes{};
    QToolButton* hugePenButton = nullptr;
    QToolButton* bigPenButton = nullptr;
    QToolButton* mediumPenButton = nullptr;
    QToolButton* littlePenButton = nullptr;
    QToolButton* tinyPenButton = nullptr;
    QToolButton* snowflakesButton = nullptr;
    QToolButton* leavesButton = nullptr;
    QToolButton* flowersButton = nullptr;
    QToolButton* heartsButton = nullptr;
    QToolButton* circleButton = nullptr;
    QToolButton* rectangleButton = nullptr;
    QToolButton* triangleButton = nullptr;
    QToolButton* lineButton = nullptr;
    QToolButton* diamondButton = nullptr;
    QToolButton* hexagonButton = nullptr;
    QToolButton* trapeziumButton = nullptr;

    // Menus.
    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* worksMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* openAction = nullptr;
    QAction* addPagesAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* openFolderAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* printAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* sendAction = nullptr;
    QAction* viewGalleryAction = nullptr;
    QAction* writeToUsAction = nullptr;
    QAction* aboutAction = nullptr;

    QTimer* loadingBlinkTimer = nullptr; // blinks the loading label
};
