// The window's controls, built panel by panel; the choices' buttons come from their rows.
#include "app/language.h"
#include "app/mainwindow.h"
#include "app/widgets.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The statistics table's columns as designed; a heading's longest word widens its column.
constexpr int kHistoryColumnWidths[5] = {29, 87, 112, 90, 88};

QFrame* panel(QWidget* parent, const char* name, const QString& color = QString()) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    if (!color.isEmpty()) {
        f->setAutoFillBackground(true);
        QPalette pal = f->palette();
        pal.setColor(QPalette::Window, QColor(color));
        f->setPalette(pal);
    }
    return f;
}

// Gives a button its picture, as large as the button allows (less room for a caption).
void fitPicture(QToolButton* b, const QString& res) {
    if (!QFileInfo::exists(res))
        return;
    const QPixmap pm(res);
    b->setIcon(QIcon(pm));
    const bool captioned = !b->text().isEmpty();
    const int captionRoom = captioned ? b->fontMetrics().height() + 8 : 0;
    const QSize room(b->width() - 16, b->height() - 16 - captionRoom);
    b->setIconSize(pm.size().scaled(room, Qt::KeepAspectRatio));
    b->setToolButtonStyle(captioned ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

QToolButton* button(QWidget* parent, const char* name, const QRect& geometry,
                    const QString& caption = QString(), int captionPixels = 0) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(false);
    b->setCursor(Qt::PointingHandCursor);
    if (captionPixels > 0) {
        QFont f = b->font();
        f.setPixelSize(captionPixels);
        b->setFont(f);
    }
    b->setText(caption);
    b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    return b;
}

PictureBox* picture(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* i = new PictureBox(parent);
    i->setObjectName(QString::fromLatin1(name));
    i->setGeometry(x, y, w, h);
    return i;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y,
              int pixelSize = 15, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QWidget* page(QStackedWidget* pages, const char* name) {
    auto* w = new QWidget(pages);
    w->setObjectName(QString::fromLatin1(name));
    pages->addWidget(w);
    return w;
}
} // namespace

void MainWindow::buildChoiceButtons(Shelf shelf, QWidget* parent) {
    for (const Choice& c : choices()) {
        if (c.shelf != shelf)
            continue;
        QToolButton* b = button(parent, c.objectName, c.geometry, choiceText(c.caption),
                                shelf == Shelf::RightColumn ? 14 : 0);
        fitPicture(b, QStringLiteral(":/buttons/%1.png").arg(QLatin1String(c.picture)));
        b->setToolTip(choiceText(c.tooltip));
        ui.*c.button = b;
        // Errors are reported at the slot, before they reach the application's notify():
        // unwinding through Qt's signal frames skips their clean-up and leaks what they hold.
        if (c.onChosen)
            connect(b, &QToolButton::clicked, this,
                    guarded([this, &c] { (this->*c.onChosen)(c); }));
        else if (c.onClicked)
            connect(b, &QToolButton::clicked, this, guarded(c.onClicked));
    }
}

void MainWindow::buildControls() {
    ui.centralPanel = panel(this, "centralPanel", QStringLiteral("#ffffff"));
    setCentralWidget(ui.centralPanel);
    auto* column = new QVBoxLayout(ui.centralPanel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    column->addLayout(row, 1);
    buildToolColumn(row);
    buildCentre(row);
    buildRightPanel(row);
    buildPalette(column);
}

void MainWindow::buildToolColumn(QHBoxLayout* row) {
    ui.toolColumn = panel(ui.centralPanel, "toolColumn", QStringLiteral("#e6f2fb"));
    ui.toolColumn->setFixedWidth(135);
    buildChoiceButtons(Shelf::Tools, ui.toolColumn);
    row->addWidget(ui.toolColumn);
}

void MainWindow::buildCentre(QHBoxLayout* row) {
    ui.centrePanel = panel(ui.centralPanel, "centrePanel");
    row->addWidget(ui.centrePanel, 1);
    auto* pv = new QVBoxLayout(ui.centrePanel);
    pv->setContentsMargins(0, 0, 0, 0);
    ui.pageColumn = panel(ui.centrePanel, "pageColumn", QStringLiteral("#ffffff"));
    pv->addWidget(ui.pageColumn);
    auto* pageColumn = new QVBoxLayout(ui.pageColumn);
    pageColumn->setContentsMargins(0, 0, 0, 0);
    pageColumn->setSpacing(0);
    ui.optionStrip = panel(ui.pageColumn, "optionStrip", QStringLiteral("#f4f0fb"));
    ui.optionStrip->setFixedHeight(104);
    pageColumn->addWidget(ui.optionStrip);
    auto* strip = new QHBoxLayout(ui.optionStrip);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    ui.toolOptionPages = new QStackedWidget(ui.optionStrip);
    ui.toolOptionPages->setObjectName(QStringLiteral("toolOptionPages"));
    strip->addWidget(ui.toolOptionPages, 1);
    // Undo, Redo and Rotate: what is done to the page itself, whatever the tool.
    ui.pageActionsPanel = panel(ui.optionStrip, "pageActionsPanel");
    ui.pageActionsPanel->setFixedWidth(273);
    strip->addWidget(ui.pageActionsPanel);
    buildChoiceButtons(Shelf::PageActions, ui.pageActionsPanel);
    buildOptionPages();
    buildDrawingArea(pageColumn);
}

void MainWindow::buildOptionPages() {
    ui.fillOptions = page(ui.toolOptionPages, "fillOptions");
    ui.penSizeOptions = page(ui.toolOptionPages, "penSizeOptions");
    ui.stampOptions = page(ui.toolOptionPages, "stampOptions");
    ui.shapeOptions = page(ui.toolOptionPages, "shapeOptions");
    buildFillOptions();
    buildChoiceButtons(Shelf::PenSizes, ui.penSizeOptions);
    buildChoiceButtons(Shelf::Stamps, ui.stampOptions);
    buildChoiceButtons(Shelf::Shapes, ui.shapeOptions);
}

void MainWindow::buildFillOptions() {
    buildChoiceButtons(Shelf::FillOptions, ui.fillOptions);
    ui.textureStrip = panel(ui.fillOptions, "textureStrip");
    ui.textureStrip->setGeometry(164, 11, 475, 81);
    ui.textureStrip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    for (int n = 0; n < 6; ++n) {
        const QByteArray name = "textureBox" + QByteArray::number(n + 1);
        PictureBox* box = picture(ui.textureStrip, name.constData(), n * 79, 0, 80, 80);
        box->setScaledContents(true);
        box->setCursor(Qt::PointingHandCursor);
        box->onMouseDown = [this, box](Qt::MouseButton, QPoint) {
            runGuarded([&] { onTextureClicked(box); });
        };
        ui.textureBoxes[size_t(n)] = box;
    }
    ui.texturePreviewsButton = button(ui.fillOptions, "texturePreviewsButton", {0, 0, 10, 10});
    ui.texturePreviewsButton->setVisible(false);
    connect(ui.texturePreviewsButton, &QToolButton::clicked, this,
            guarded(&MainWindow::loadTexturePreviews));
    ui.fillOptions->installEventFilter(this);
}

void MainWindow::buildDrawingArea(QVBoxLayout* column) {
    ui.drawingArea = new DrawingArea(this, ui.pageColumn);
    ui.drawingArea->setObjectName(QStringLiteral("drawingArea"));
    column->addWidget(ui.drawingArea, 1);
    ui.loadingLabel = label(ui.drawingArea, "loadingLabel", QString(), 200, 200, 24, true);
    ui.noPagesLabel = label(ui.drawingArea, "noPagesLabel", QString(), 40, 115, 18, true);
    ui.noPagesLabel->setVisible(false);
    ui.siteLinkLabel = label(ui.drawingArea, "siteLinkLabel", siteBase, 40, 145, 18, true);
    ui.siteLinkLabel->setCursor(Qt::PointingHandCursor);
    ui.siteLinkLabel->setStyleSheet(QStringLiteral("color: #1040c0; text-decoration: underline;"));
    ui.siteLinkLabel->setVisible(false);
    ui.siteLinkLabel->installEventFilter(this);
    ui.drawingArea->installEventFilter(this);
    ui.magnifierLens = new QLabel(ui.pageColumn);
    ui.magnifierLens->setObjectName(QStringLiteral("magnifierLens"));
    ui.magnifierLens->setFixedSize(200, 200);
    ui.magnifierLens->setVisible(false);
    ui.magnifierLens->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MainWindow::buildRightPanel(QHBoxLayout* row) {
    ui.rightPanel = panel(ui.centralPanel, "rightPanel", QStringLiteral("#e6f2fb"));
    row->addWidget(ui.rightPanel);
    auto* rh = new QHBoxLayout(ui.rightPanel);
    rh->setContentsMargins(0, 0, 0, 0);
    rh->setSpacing(0);
    ui.rightButtonColumn = panel(ui.rightPanel, "rightButtonColumn");
    ui.rightButtonColumn->setFixedWidth(132);
    rh->addWidget(ui.rightButtonColumn);
    buildChoiceButtons(Shelf::RightColumn, ui.rightButtonColumn);

    ui.cataloguePanel = panel(ui.rightPanel, "cataloguePanel");
    rh->addWidget(ui.cataloguePanel, 1);
    auto* tl = new QVBoxLayout(ui.cataloguePanel);
    tl->setContentsMargins(0, 0, 0, 0);
    ui.catalogueTree = new QTreeWidget(ui.cataloguePanel);
    ui.catalogueTree->setObjectName(QStringLiteral("catalogueTree"));
    ui.catalogueTree->setHeaderHidden(true);
    ui.catalogueTree->setIndentation(27);
    ui.catalogueTree->setIconSize(QSize(24, 24));
    ui.catalogueTree->setSortingEnabled(false);
    ui.catalogueTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.catalogueTree->setCursor(Qt::PointingHandCursor);
    ui.catalogueTree->viewport()->setCursor(Qt::PointingHandCursor);
    ui.catalogueTree->setStyleSheet(
        QStringLiteral("QTreeWidget { background: rgb(253, 248, 200); font-size: 16px; }"));
    tl->addWidget(ui.catalogueTree);
    ui.cataloguePanel->setVisible(false);
    connect(ui.catalogueTree, &QTreeWidget::itemClicked, this,
            guarded(&MainWindow::onCatalogueItemClicked));

    ui.statisticsPanel = panel(ui.rightPanel, "statisticsPanel", QStringLiteral("#fffbe8"));
    rh->addWidget(ui.statisticsPanel, 1);
    buildStatisticsPanel();
    ui.statisticsPanel->setVisible(false);
    setRightPanelWidth(kClosedRightPanelWidth);
}

void MainWindow::buildStatisticsPanel() {
    QWidget* p = ui.statisticsPanel;
    ui.statisticsTitle = label(p, "statisticsTitle", QString(), 13, 13, 15, true);
    ui.clicksLabel = label(p, "clicksLabel", QString(), 20, 39);
    ui.favoriteColorLabel = label(p, "favoriteColorLabel", QString(), 20, 64);
    ui.favoritePageLabel = label(p, "favoritePageLabel", QString(), 21, 91);
    // Shown once they have a value: a run with no color or page yet says nothing of them.
    ui.favoriteColorLabel->setVisible(false);
    ui.favoritePageLabel->setVisible(false);
    ui.historyTitle = label(p, "historyTitle", QString(), 13, 125, 15, true);
    for (QLabel* l : {ui.clicksLabel, ui.favoriteColorLabel, ui.favoritePageLabel})
        l->setMinimumWidth(440);
    QTableWidget* t = ui.historyTable = new QTableWidget(p);
    t->setObjectName(QStringLiteral("historyTable"));
    t->setGeometry(12, 152, 436, 345);
    t->setColumnCount(5);
    t->horizontalHeader()->setDefaultSectionSize(90);
    // Long headings wrap onto two lines instead of being cut.
    t->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    t->horizontalHeader()->setMinimumHeight(2 * t->fontMetrics().height() + 8);
    t->verticalHeader()->setVisible(false);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::ExtendedSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont gf = t->font();
    gf.setPixelSize(13);
    t->setFont(gf);
}

void MainWindow::buildPalette(QVBoxLayout* column) {
    ui.palettePanel = panel(ui.centralPanel, "palettePanel", QStringLiteral("#fff6e0"));
    ui.palettePanel->setFixedHeight(156);
    column->addWidget(ui.palettePanel);
    auto* cl = new QVBoxLayout(ui.palettePanel);
    cl->setContentsMargins(0, 0, 0, 0);
    ui.paletteTabs = new QTabWidget(ui.palettePanel);
    ui.paletteTabs->setObjectName(QStringLiteral("paletteTabs"));
    cl->addWidget(ui.paletteTabs);
    ui.toddlerTab = new QWidget();
    ui.toddlerTab->setObjectName(QStringLiteral("toddlerTab"));
    ui.kidsTab = new QWidget();
    ui.kidsTab->setObjectName(QStringLiteral("kidsTab"));
    ui.paletteTabs->addTab(ui.toddlerTab, QString());
    ui.paletteTabs->addTab(ui.kidsTab, QString());
    ui.paletteTabs->setCurrentIndex(1); // as designed; the settings choose the tab
    buildToddlerTab();
    buildKidsTab();
}

void MainWindow::buildToddlerTab() {
    buildChoiceButtons(Shelf::ToddlerTab, ui.toddlerTab);
    for (const ColorChoice& c : colorChoices()) {
        PictureBox* blot = picture(ui.toddlerTab, c.objectName, c.left, 2, 103, 116);
        blot->setCursor(Qt::PointingHandCursor);
        blot->setToolTip(choiceText(c.tooltip));
        const QString res = QStringLiteral(":/swatches/%1%2.png")
                                .arg(QLatin1String(c.picture),
                                     c.color == MulticolorMarker ? QString() : QStringLiteral("1"));
        if (QFileInfo::exists(res))
            blot->setPicture(QImage(res));
        blot->onMouseDown = [this, &c](Qt::MouseButton, QPoint) {
            runGuarded([this, &c] { onBlotClicked(c); });
        };
        // The blot under the pointer shows a face.
        blot->installEventFilter(this);
        ui.*c.blot = blot;
    }
}

void MainWindow::buildKidsTab() {
    buildChoiceButtons(Shelf::KidsTab, ui.kidsTab);
    ui.chartFrame = panel(ui.kidsTab, "chartFrame");
    ui.chartFrame->setGeometry(255, 2, 835, 114);
    ui.chartFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ui.colorChart = picture(ui.chartFrame, "colorChart", 1, 1, 833, 112);
    ui.colorChart->setCursor(Qt::PointingHandCursor);
    if (QFileInfo::exists(QStringLiteral(":/swatches/chart.png")))
        ui.colorChart->setPicture(QImage(QStringLiteral(":/swatches/chart.png")));
    ui.colorChart->onMouseDown = [this](Qt::MouseButton, QPoint p) {
        runGuarded([&] { onChartPressed(p.x(), p.y()); });
    };
    ui.kidsRainbowBlot = picture(ui.kidsTab, "kidsRainbowBlot", 1128, 2, 103, 116);
    ui.kidsRainbowBlot->setCursor(Qt::PointingHandCursor);
    if (QFileInfo::exists(QStringLiteral(":/swatches/RAINBOW.png")))
        ui.kidsRainbowBlot->setPicture(QImage(QStringLiteral(":/swatches/RAINBOW.png")));
    ui.kidsRainbowBlot->onMouseDown = [this](Qt::MouseButton, QPoint) {
        runGuarded([this] { onRainbowClicked(); });
    };
}

void MainWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const char* name, auto handler) {
        QAction* a = menu->addAction(QString(), this, guarded(handler));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = ui.fileMenu = menuBar()->addMenu(QString());
    ui.openAction = add(file, "openAction", &MainWindow::onOpenClicked);
    ui.addPagesAction = add(file, "addPagesAction", &MainWindow::onAddPagesClicked);
    ui.saveAction = add(file, "saveAction", &MainWindow::onSaveClicked);
    ui.openFolderAction = add(file, "openFolderAction", &MainWindow::onOpenFolderClicked);
    file->addSeparator();
    ui.optionsAction = add(file, "optionsAction", &MainWindow::onOptionsClicked);
    ui.printAction = add(file, "printAction", &MainWindow::onPrintClicked);
    file->addSeparator();
    ui.exitAction = add(file, "exitAction", &MainWindow::onExitClicked);
    QMenu* edit = ui.editMenu = menuBar()->addMenu(QString());
    ui.undoAction = add(edit, "undoAction", &MainWindow::onUndoClicked);
    ui.undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ui.redoAction = add(edit, "redoAction", &MainWindow::onRedoClicked);
    ui.redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QMenu* works = ui.worksMenu = menuBar()->addMenu(QString());
    ui.sendAction = add(works, "sendAction", &MainWindow::onSendClicked);
    ui.viewGalleryAction = add(works, "viewGalleryAction", &MainWindow::onViewGalleryClicked);
    QMenu* help = ui.helpMenu = menuBar()->addMenu(QString());
    ui.writeToUsAction = add(help, "writeToUsAction", &MainWindow::onWriteToUsClicked);
    ui.aboutAction = add(help, "aboutAction", &MainWindow::onAboutClicked);
    retranslate();
}

void MainWindow::retranslate() {
    const auto setLabel = [](QLabel* l, const QString& text) {
        l->setText(text);
        l->adjustSize();
    };
    updateShelfCaption();
    ui.fileMenu->setTitle(tr("File"));
    ui.openAction->setText(tr("Open coloring book..."));
    ui.addPagesAction->setText(tr("Add pages..."));
    ui.saveAction->setText(tr("Save coloring book..."));
    ui.openFolderAction->setText(tr("Open folder coloring book"));
    ui.optionsAction->setText(tr("Options..."));
    ui.printAction->setText(tr("Print coloring book..."));
    ui.exitAction->setText(tr("Exit"));
    ui.editMenu->setTitle(tr("Edit"));
    ui.undoAction->setText(tr("Undo"));
    ui.redoAction->setText(tr("Redo"));
    ui.worksMenu->setTitle(tr("Children's works"));
    ui.sendAction->setText(tr("Send my coloring book"));
    ui.viewGalleryAction->setText(tr("View works of children"));
    ui.helpMenu->setTitle(tr("Help"));
    ui.writeToUsAction->setText(tr("Write to us"));
    ui.aboutAction->setText(tr("About Pictaro"));

    for (const Choice& c : choices()) {
        QToolButton* b = ui.*c.button;
        b->setText(choiceText(c.caption));
        b->setToolTip(choiceText(c.tooltip));
    }
    for (const ColorChoice& c : colorChoices())
        (ui.*c.blot)->setToolTip(choiceText(c.tooltip));
    ui.kidsRainbowBlot->setToolTip(tr("Rainbow colors"));
    ui.paletteTabs->setTabText(ui.paletteTabs->indexOf(ui.toddlerTab), tr("Toddler"));
    ui.paletteTabs->setTabText(ui.paletteTabs->indexOf(ui.kidsTab), tr("Kids"));

    setLabel(ui.loadingLabel, tr("Pictaro is starting. Just a moment..."));
    setLabel(ui.noPagesLabel, tr("No coloring pages were found. You can get them on our site:"));
    setLabel(ui.statisticsTitle, tr("Child's statistics:"));
    setLabel(ui.historyTitle, tr("Full Statistics:"));
    ui.historyTable->setHorizontalHeaderLabels({tr("No."), tr("Date"), tr("Favorite coloring book"),
                                                tr("Favorite color"), tr("Number of clicks")});
    QHeaderView* head = ui.historyTable->horizontalHeader();
    for (int c = 0; c < head->count(); ++c) {
        int widest = 0;
        for (const QString& word : ui.historyTable->horizontalHeaderItem(c)->text().split(u' '))
            widest = std::max(widest, head->fontMetrics().horizontalAdvance(word));
        ui.historyTable->setColumnWidth(c, std::max(kHistoryColumnWidths[c], widest + 12));
    }
    showStatisticsTexts();
    if (!ui.statisticsPanel->isHidden())
        loadStatistics(); // its first row says "Now"
    for (QTreeWidgetItem* node : catalogue.catalogueNodes)
        if (node && node->data(0, catalogue::FileRole).toString() == paths.pagesFolder &&
            !paths.pagesFolder.isEmpty())
            node->setText(0, myPagesCaption(node->childCount()));
}

QString MainWindow::myPagesCaption(int pages) {
    return tr("My pages (%1)").arg(pages);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        if (platform.sound)
            platform.sound->preload(currentLanguage());
    }
    QMainWindow::changeEvent(event);
}
