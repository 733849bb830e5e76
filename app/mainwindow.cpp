#include "app/mainwindow.h"

#include "app/application.h"
#include "app/childmode.h"
#include "app/options.h"
#include "app/selection.h"
#include "app/splash.h"
#include "app/thumbnails.h"
#include "app/voice.h"
#include "app/widgets.h"
#include "palette/swatches.h"
#include "share/autosave.h" // the writer the window owns

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

QToolButton* button(QWidget* parent, const char* name, int x, int y, int w, int h,
                    const QString& caption = QString(), int captionPixels = 0) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
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
    fitPicture(b, QStringLiteral(":/buttons/%1.png").arg(QString::fromLatin1(name)));
    return b;
}

TImage* picture(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* i = new TImage(parent);
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
} // namespace

TForm1::TForm1(const Platform& platform_, const ProgramPaths& paths_, TFm_Splash* splash_,
               QWidget* parent)
    : QMainWindow(parent), platform(platform_), paths(paths_),
      SiteBase(QStringLiteral(PICTARO_SITE_BASE)), splash(splash_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Pictaro"));
    StatFilePath = QStringLiteral("stat.dat");
    buildControls();
    buildMenus();
    Fm_Options = new TFm_Options(this);
    Timer_Color = new QTimer(this);
    Timer_Color->setObjectName(QStringLiteral("Timer_Color"));
    Timer_Color->setInterval(100);
    connect(Timer_Color, &QTimer::timeout, this, guarded(&TForm1::Timer_ColorTimer));
    Timer_Color->start();
    if (platform.shell) {
        QPointer<TForm1> self(this);
        platform.shell->failed = [self](const QString& target) {
            if (self)
                self->reportShellFailure(target);
        };
    }
    FormCreate();
    childMode = new ChildMode(this);
    selectionLook = new SelectionLook(this);
    thumbnails = new CatalogueThumbnails(this);
    thumbnails->start();
}

void TForm1::OpenInShell(const QString& urlOrPath) {
    if (!platform.shell->open(urlOrPath))
        reportShellFailure(urlOrPath);
}

void TForm1::reportShellFailure(const QString& urlOrPath) {
    const bool web = urlOrPath.contains(QStringLiteral("://"));
    showErrorReport(
        platform.messages,
        web ? QStringLiteral("Cannot open \"%1\": no web browser could be started.").arg(urlOrPath)
            : QStringLiteral("Cannot open the folder \"%1\": no file manager could "
                             "be started.")
                  .arg(urlOrPath));
}

TForm1::~TForm1() {
    // The worker reads the tool state: it must be done before the state goes.
    if (SpeakThread)
        SpeakThread->wait();
    // Child mode filters this window's events: it goes first, or the window's last events
    // (children being removed while it is half destroyed) would reach into what is gone.
    delete childMode;
    childMode = nullptr;
}

void TForm1::runGuarded(const std::function<void()>& handler) {
    reportErrors(platform.messages, handler);
}

void TForm1::progressStep() {
    if (splash)
        splash->step();
}

void TForm1::buildControls() {
    Panel1 = panel(this, "Panel1", QStringLiteral("#ffffff"));
    setCentralWidget(Panel1);
    auto* v = new QVBoxLayout(Panel1);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    v->addLayout(row, 1);

    // Left: shapes, brush, eraser and fill.
    Panel_left = panel(Panel1, "Panel_left", QStringLiteral("#e6f2fb"));
    Panel_left->setFixedWidth(135);
    BitBtn6 = button(Panel_left, "BitBtn6", 14, 5, 110, 108);
    But_kist = button(Panel_left, "But_kist", 14, 116, 110, 139);
    But_Erase = button(Panel_left, "But_Erase", 14, 260, 110, 98);
    But_Kras = button(Panel_left, "But_Kras", 14, 363, 110, 95);
    row->addWidget(Panel_left);

    // Centre: option strip and drawing area.
    Panel_PaintBox = panel(Panel1, "Panel_PaintBox");
    row->addWidget(Panel_PaintBox, 1);
    auto* pv = new QVBoxLayout(Panel_PaintBox);
    pv->setContentsMargins(0, 0, 0, 0);
    Panel2 = panel(Panel_PaintBox, "Panel2", QStringLiteral("#ffffff"));
    pv->addWidget(Panel2);
    auto* p2 = new QVBoxLayout(Panel2);
    p2->setContentsMargins(0, 0, 0, 0);
    p2->setSpacing(0);
    Panel3 = panel(Panel2, "Panel3", QStringLiteral("#f4f0fb"));
    Panel3->setFixedHeight(104);
    p2->addWidget(Panel3);
    auto* p3 = new QHBoxLayout(Panel3);
    p3->setContentsMargins(0, 0, 0, 0);
    p3->setSpacing(0);
    PageControl_Dop = new QStackedWidget(Panel3);
    PageControl_Dop->setObjectName(QStringLiteral("PageControl_Dop"));
    p3->addWidget(PageControl_Dop, 1);
    Panel4 = panel(Panel3, "Panel4");
    // Undo, Redo and Rotate: what is done to the page itself, whatever the tool.
    Panel4->setFixedWidth(273);
    p3->addWidget(Panel4);
    Button_Undo = button(Panel4, "Button_Undo", 6, 7, 83, 90, QStringLiteral("Undo"));
    Button_Redo = button(Panel4, "Button_Redo", 95, 7, 83, 90, QStringLiteral("Redo"));
    Button_Rotate = button(Panel4, "Button_Rotate", 184, 7, 83, 90, QStringLiteral("Rotate"));

    Tab_Zalivka = new QWidget(PageControl_Dop);
    Tab_Zalivka->setObjectName(QStringLiteral("Tab_Zalivka"));
    Tab_PenSize = new QWidget(PageControl_Dop);
    Tab_PenSize->setObjectName(QStringLiteral("Tab_PenSize"));
    Tab_Shtamp = new QWidget(PageControl_Dop);
    Tab_Shtamp->setObjectName(QStringLiteral("Tab_Shtamp"));
    Tab_Effect = new QWidget(PageControl_Dop);
    Tab_Effect->setObjectName(QStringLiteral("Tab_Effect"));
    for (QWidget* t : {Tab_Zalivka, Tab_PenSize, Tab_Shtamp, Tab_Effect})
        PageControl_Dop->addWidget(t);

    BitBtn17 = button(Tab_Zalivka, "BitBtn17", 8, 9, 85, 85);
    Button_1 = button(Tab_Zalivka, "Button_1", 104, 11, 60, 81);
    pnl2 = panel(Tab_Zalivka, "pnl2");
    pnl2->setGeometry(164, 11, 475, 81);
    pnl2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    for (int n = 0; n < 6; ++n) {
        const QByteArray name = "box_img" + QByteArray::number(n + 1);
        box_img[n] = picture(pnl2, name.constData(), n * 79, 0, 80, 80);
        box_img[n]->setScaledContents(true);
        box_img[n]->setCursor(Qt::PointingHandCursor);
        TImage* box = box_img[n];
        box->onMouseDown = [this, box](Qt::MouseButton, QPoint) {
            runGuarded([&] { box_img2Click(box); });
        };
    }
    Button_2 = button(Tab_Zalivka, "Button_2", 639, 9, 60, 84);
    Button_3 = button(Tab_Zalivka, "Button_3", 0, 0, 10, 10);
    Tab_Zalivka->installEventFilter(this);
    Button_3->setVisible(false);

    BitBtn5 = button(Tab_PenSize, "BitBtn5", 0, 12, 89, 80);
    BitBtn7 = button(Tab_PenSize, "BitBtn7", 94, 12, 89, 80);
    BitBtn8 = button(Tab_PenSize, "BitBtn8", 190, 12, 89, 80);
    BitBtn20 = button(Tab_PenSize, "BitBtn20", 284, 12, 89, 80);
    BitBtn21 = button(Tab_PenSize, "BitBtn21", 378, 12, 89, 80);

    BitBtn18 = button(Tab_Shtamp, "BitBtn18", 4, 9, 85, 85);
    btn5 = button(Tab_Shtamp, "btn5", 94, 9, 85, 85);
    BitBtn12 = button(Tab_Shtamp, "BitBtn12", 184, 9, 85, 85);
    BitBtn16 = button(Tab_Shtamp, "BitBtn16", 274, 9, 85, 85);

    btn2 = button(Tab_Effect, "btn2", 0, 11, 90, 82);
    btn1 = button(Tab_Effect, "btn1", 96, 11, 90, 82);
    btn4 = button(Tab_Effect, "btn4", 192, 11, 90, 82);
    btn3 = button(Tab_Effect, "btn3", 288, 11, 90, 82);
    btn13 = button(Tab_Effect, "btn13", 384, 11, 90, 82);
    btn7 = button(Tab_Effect, "btn7", 480, 11, 90, 82);
    btn8 = button(Tab_Effect, "btn8", 576, 11, 90, 82);

    PaintBox1 = new TPaintBox(this, Panel2);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    p2->addWidget(PaintBox1, 1);
    Label_Load =
        label(PaintBox1, "Label_Load", QStringLiteral("Загрузка программы. Подождите немножко..."),
              200, 200, 24, true);
    Label_Error =
        label(PaintBox1, "Label_Error",
              QStringLiteral("No coloring pages were found. You can get them on our site:"), 40,
              115, 18, true);
    Label_Error->setVisible(false);
    Label_Error2 = label(PaintBox1, "Label_Error2", SiteBase, 40, 145, 18, true);
    Label_Error2->setCursor(Qt::PointingHandCursor);
    Label_Error2->setStyleSheet(QStringLiteral("color: #1040c0; text-decoration: underline;"));
    Label_Error2->setVisible(false);
    Label_Error2->installEventFilter(this);
    PaintBox1->installEventFilter(this);
    img4 = new QLabel(Panel2);
    img4->setObjectName(QStringLiteral("img4"));
    img4->setFixedSize(200, 200);
    img4->setVisible(false);
    img4->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Right: button column, catalogue and statistics panels.
    Panel_Right = panel(Panel1, "Panel_Right", QStringLiteral("#e6f2fb"));
    row->addWidget(Panel_Right);
    auto* rh = new QHBoxLayout(Panel_Right);
    rh->setContentsMargins(0, 0, 0, 0);
    rh->setSpacing(0);
    Panel_Buttons_Right = panel(Panel_Right, "Panel_Buttons_Right");
    Panel_Buttons_Right->setFixedWidth(132);
    rh->addWidget(Panel_Buttons_Right);
    Button_Stat = button(Panel_Buttons_Right, "Button_Stat", 10, 6, 110, 78,
                         QStringLiteral("Statistics"), 14);
    Button_Folder = button(Panel_Buttons_Right, "Button_Folder", 10, 90, 110, 80,
                           QStringLiteral("Coloring book"), 14);
    But_Sneg = button(Panel_Buttons_Right, "But_Sneg", 10, 176, 110, 124);
    But_Bolonchik = button(Panel_Buttons_Right, "But_Bolonchik", 10, 306, 110, 115);

    Panel_Tree = panel(Panel_Right, "Panel_Tree");
    rh->addWidget(Panel_Tree, 1);
    auto* tl = new QVBoxLayout(Panel_Tree);
    tl->setContentsMargins(0, 0, 0, 0);
    TreeView1 = new QTreeWidget(Panel_Tree);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(27);
    TreeView1->setIconSize(QSize(24, 24));
    TreeView1->setSortingEnabled(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setCursor(Qt::PointingHandCursor);
    TreeView1->viewport()->setCursor(Qt::PointingHandCursor);
    TreeView1->setStyleSheet(
        QStringLiteral("QTreeWidget { background: rgb(253, 248, 200); font-size: 16px; }"));
    tl->addWidget(TreeView1);
    Panel_Tree->setVisible(false);

    Panel_Stat = panel(Panel_Right, "Panel_Stat", QStringLiteral("#fffbe8"));
    rh->addWidget(Panel_Stat, 1);
    Label1 = label(Panel_Stat, "Label1", QStringLiteral("Child's statistics:"), 13, 13, 15, true);
    Label_Clicks = label(Panel_Stat, "Label_Clicks", QStringLiteral("Clicks counter:"), 20, 39);
    Label_Color = label(Panel_Stat, "Label_Color", QStringLiteral("Favorite color:"), 20, 64);
    Label_Raskraska =
        label(Panel_Stat, "Label_Raskraska", QStringLiteral("Favorite coloring book:"), 21, 91);
    // Shown once they have a value: a run with no color or page yet says nothing of them.
    Label_Color->setVisible(false);
    Label_Raskraska->setVisible(false);
    Label2 = label(Panel_Stat, "Label2", QStringLiteral("Full Statistics:"), 13, 125, 15, true);
    for (QLabel* l : {Label_Clicks, Label_Color, Label_Raskraska})
        l->setMinimumWidth(440);
    StringGrid1 = new QTableWidget(Panel_Stat);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(12, 152, 436, 345);
    StringGrid1->setColumnCount(5);
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Date"), QStringLiteral("Favorite coloring book"),
         QStringLiteral("Favorite color"), QStringLiteral("Number of clicks")});
    StringGrid1->horizontalHeader()->setDefaultSectionSize(90);
    const int widths[5] = {29, 87, 112, 90, 88};
    for (int c = 0; c < 5; ++c)
        StringGrid1->setColumnWidth(c, widths[c]);
    // Long headings wrap onto two lines instead of being cut.
    StringGrid1->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    StringGrid1->horizontalHeader()->setMinimumHeight(2 * StringGrid1->fontMetrics().height() + 8);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont gf = StringGrid1->font();
    gf.setPixelSize(13);
    StringGrid1->setFont(gf);
    Panel_Stat->setVisible(false);
    setRightPanelWidth(kClosedRightPanelWidth);

    // Bottom: the palette.
    Panel_Color = panel(Panel1, "Panel_Color", QStringLiteral("#fff6e0"));
    Panel_Color->setFixedHeight(156);
    v->addWidget(Panel_Color);
    auto* cl = new QVBoxLayout(Panel_Color);
    cl->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel_Color);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    cl->addWidget(PageControl1);
    TabSheet1 = new QWidget();
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget();
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Toddler"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Kids"));
    PageControl1->setCurrentIndex(1); // as designed; the settings choose the tab

    Button_RndRaskraska =
        button(TabSheet1, "Button_RndRaskraska", 10, 4, 110, 110, QStringLiteral("Random"));
    Button_Sterka = button(TabSheet1, "Button_Sterka", 128, 4, 110, 110, QStringLiteral("Clear"));
    Button_RndRaskraska2 =
        button(TabSheet2, "Button_RndRaskraska2", 10, 4, 110, 110, QStringLiteral("Random"));
    Button_Sterka2 = button(TabSheet2, "Button_Sterka2", 128, 4, 110, 110, QStringLiteral("Clear"));
    for (auto* b : {Button_RndRaskraska, Button_RndRaskraska2})
        fitPicture(b, QStringLiteral(":/buttons/Random.png"));
    for (auto* b : {Button_Sterka, Button_Sterka2})
        fitPicture(b, QStringLiteral(":/buttons/Clear.png"));

    struct Swatch {
        TImage** slot;
        const char* name;
        int left;
        QString res;
    };
    // The paint colours in palette order, then the rainbow.
    TImage** const paintSlots[kPaletteColors.size()] = {&Image1_Color, &Image2_Color, &Image3_Color,
                                                        &Image4_Color, &Image5_Color, &Image6_Color,
                                                        &Image8_Color, &Image7_Color};
    const int paintLefts[kPaletteColors.size()] = {259, 369, 479, 588, 697, 807, 921, 1033};
    std::vector<Swatch> swatches;
    for (size_t i = 0; i < kPaletteColors.size(); ++i)
        swatches.push_back({paintSlots[i], kPaletteColors[i].control, paintLefts[i],
                            QString::fromLatin1(kPaletteColors[i].picture) + QLatin1Char('1')});
    swatches.push_back({&Image10_Color, "Image10_Color", 1153, QStringLiteral("RAINBOW")});
    for (const Swatch& s : swatches) {
        *s.slot = picture(TabSheet1, s.name, s.left, 2, 103, 116);
        (*s.slot)->setCursor(Qt::PointingHandCursor);
        const QString res = QStringLiteral(":/swatches/%1.png").arg(s.res);
        if (QFileInfo::exists(res))
            (*s.slot)->setPicture(QImage(res));
    }
    const std::pair<TImage*, void (TForm1::*)()> swatchHandlers[] = {
        {Image1_Color, &TForm1::Image1_ColorMouseDown},
        {Image2_Color, &TForm1::Image2_ColorMouseDown},
        {Image3_Color, &TForm1::Image3_ColorMouseDown},
        {Image4_Color, &TForm1::Image4_ColorMouseDown},
        {Image5_Color, &TForm1::Image5_ColorMouseDown},
        {Image6_Color, &TForm1::Image6_ColorMouseDown},
        {Image8_Color, &TForm1::Image8_ColorMouseDown},
        {Image7_Color, &TForm1::Image9_ColorMouseDown},
        {Image10_Color, &TForm1::Image10_ColorMouseDown}};
    for (const auto& [swatch, handler] : swatchHandlers)
        swatch->onMouseDown = [this, handler = handler](Qt::MouseButton, QPoint) {
            runGuarded([this, handler] { (this->*handler)(); });
        };

    Panel7 = panel(TabSheet2, "Panel7");
    Panel7->setGeometry(255, 2, 835, 114);
    Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image2 = picture(Panel7, "Image2", 1, 1, 833, 112);
    Image2->setCursor(Qt::PointingHandCursor);
    if (QFileInfo::exists(QStringLiteral(":/swatches/chart.png")))
        Image2->setPicture(QImage(QStringLiteral(":/swatches/chart.png")));
    Image2->onMouseDown = [this](Qt::MouseButton, QPoint p) {
        runGuarded([&] { Image2MouseDown(p.x(), p.y()); });
    };
    Image3 = picture(TabSheet2, "Image3", 1128, 2, 103, 116);
    Image3->setCursor(Qt::PointingHandCursor);
    if (QFileInfo::exists(QStringLiteral(":/swatches/RAINBOW.png")))
        Image3->setPicture(QImage(QStringLiteral(":/swatches/RAINBOW.png")));
    Image3->onMouseDown = [this](Qt::MouseButton, QPoint) {
        runGuarded([this] { Image10_ColorMouseDown(); });
    };

    // Handlers.
    // Errors are reported at the slot, before they reach the application's notify():
    // unwinding through Qt's signal frames skips their clean-up and leaks what they hold.
    auto on = [this](QToolButton* b, void (TForm1::*fn)()) {
        connect(b, &QToolButton::clicked, this, guarded(fn));
    };
    on(BitBtn6, &TForm1::But_PipetkaClick);
    on(But_kist, &TForm1::But_kistClick);
    on(But_Erase, &TForm1::But_EraseClick);
    on(But_Kras, &TForm1::But_KrasClick);
    on(But_Sneg, &TForm1::But_SnegClick);
    on(But_Bolonchik, &TForm1::But_BolonchikClick);
    on(BitBtn5, &TForm1::BitBtn5Click);
    on(BitBtn7, &TForm1::BitBtn7Click);
    on(BitBtn8, &TForm1::BitBtn8Click);
    on(BitBtn20, &TForm1::BitBtn20Click);
    on(BitBtn21, &TForm1::BitBtn21Click);
    on(BitBtn17, &TForm1::BitBtn17Click);
    on(Button_1, &TForm1::Button_1Click);
    on(Button_2, &TForm1::Button_2Click);
    on(Button_3, &TForm1::Button_3Click);
    on(Button_Rotate, &TForm1::Button_RotateClick);
    on(Button_Undo, &TForm1::Button_UndoClick);
    on(Button_Redo, &TForm1::Button_RedoClick);
    on(BitBtn18, &TForm1::BitBtn18Click);
    on(btn5, &TForm1::btn5Click);
    on(BitBtn12, &TForm1::BitBtn12Click);
    on(BitBtn16, &TForm1::BitBtn16Click);
    on(btn1, &TForm1::btn1Click);
    on(btn2, &TForm1::btn2Click);
    on(btn3, &TForm1::btn3Click);
    on(btn4, &TForm1::btn4Click);
    on(btn7, &TForm1::btn7Click);
    on(btn8, &TForm1::btn8Click);
    on(btn13, &TForm1::btn13Click);
    on(Button_RndRaskraska, &TForm1::Button_RndRaskraskaClick);
    on(Button_RndRaskraska2, &TForm1::Button_RndRaskraskaClick);
    on(Button_Sterka, &TForm1::Button_SterkaClick);
    on(Button_Sterka2, &TForm1::Button_SterkaClick);
    on(Button_Stat, &TForm1::Button_StatClick);
    on(Button_Folder, &TForm1::Button_FolderClick);
    connect(TreeView1, &QTreeWidget::itemClicked, this, guarded(&TForm1::TreeView1Click));

    // Hints for the grown-ups; the children go by the pictures.
    const std::pair<QWidget*, const char*> hints[] = {
        {BitBtn6, "Shapes"},
        {But_kist, "Brush"},
        {But_Erase, "Eraser"},
        {But_Kras, "Paint bucket"},
        {But_Sneg, "Magic wand"},
        {But_Bolonchik, "Spray can"},
        {BitBtn5, "Huge"},
        {BitBtn7, "Big"},
        {BitBtn8, "Medium"},
        {BitBtn20, "Little"},
        {BitBtn21, "Tiny"},
        {BitBtn17, "Fill up to the lines"},
        {Button_1, "More textures"},
        {Button_2, "More textures"},
        {BitBtn18, "Snowflakes"},
        {btn5, "Leaves"},
        {BitBtn12, "Flowers"},
        {BitBtn16, "Hearts"},
        {btn2, "Circle"},
        {btn1, "Rectangle"},
        {btn4, "Triangle"},
        {btn3, "Line"},
        {btn13, "Diamond"},
        {btn7, "Hexagon"},
        {btn8, "Trapezoid"},
        {Button_Rotate, "Turn the page around"},
        {Button_Undo, "Undo (Ctrl+Z)"},
        {Button_Redo, "Redo (Ctrl+Shift+Z)"},
        {Image10_Color, "Rainbow colors"},
        {Image3, "Rainbow colors"},
    };
    for (const auto& [w, text] : hints)
        w->setToolTip(QString::fromLatin1(text));
}

void TForm1::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    menu_open = file->addAction(QStringLiteral("Open coloring book..."), this,
                                guarded(&TForm1::menu_openClick));
    menu_addpages =
        file->addAction(QStringLiteral("Add pages..."), this, guarded(&TForm1::AddPagesClick));
    menu_Save = file->addAction(QStringLiteral("Save coloring book..."), this,
                                guarded(&TForm1::menu_SaveClick));
    menu_openfolder = file->addAction(QStringLiteral("Open folder coloring book"), this,
                                      guarded(&TForm1::menu_openfolderClick));
    file->addSeparator();
    menu_options =
        file->addAction(QStringLiteral("Options..."), this, guarded(&TForm1::menu_optionsClick));
    menu_print = file->addAction(QStringLiteral("Print coloring book..."), this,
                                 guarded(&TForm1::menu_printClick));
    file->addSeparator();
    menu_exit = file->addAction(QStringLiteral("Exit"), this, guarded(&TForm1::menu_exitClick));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    menu_undo = edit->addAction(QStringLiteral("Undo"), this, guarded(&TForm1::Button_UndoClick));
    menu_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    menu_redo = edit->addAction(QStringLiteral("Redo"), this, guarded(&TForm1::Button_RedoClick));
    menu_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QMenu* works = menuBar()->addMenu(QStringLiteral("Children's works "));
    menu_ColroingSend = works->addAction(QStringLiteral("Send my coloring book"), this,
                                         guarded(&TForm1::menu_ColroingSendClick));
    menu_ColoringView = works->addAction(QStringLiteral("View works of children"), this,
                                         guarded(&TForm1::menu_ColoringViewClick));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    menu_Mail =
        help->addAction(QStringLiteral("Write to us"), this, guarded(&TForm1::menu_MailClick));
    menu_about =
        help->addAction(QStringLiteral("About Pictaro"), this, guarded(&TForm1::menu_aboutClick));
    const std::pair<QAction*, const char*> names[] = {{menu_open, "menu_open"},
                                                      {menu_addpages, "menu_addpages"},
                                                      {menu_Save, "menu_Save"},
                                                      {menu_openfolder, "menu_openfolder"},
                                                      {menu_options, "menu_options"},
                                                      {menu_print, "menu_print"},
                                                      {menu_exit, "menu_exit"},
                                                      {menu_undo, "menu_undo"},
                                                      {menu_redo, "menu_redo"},
                                                      {menu_ColroingSend, "menu_ColroingSend"},
                                                      {menu_ColoringView, "menu_ColoringView"},
                                                      {menu_Mail, "menu_Mail"},
                                                      {menu_about, "menu_about"}};
    for (const auto& [a, n] : names)
        a->setObjectName(QString::fromLatin1(n));
}

void TForm1::setRightPanelWidth(int w) {
    Panel_Right->setFixedWidth(w);
}

void TForm1::closeSidePanels() {
    const bool wasOpen = !Panel_Tree->isHidden() || !Panel_Stat->isHidden();
    Panel_Tree->setVisible(false);
    Panel_Stat->setVisible(false);
    setRightPanelWidth(kClosedRightPanelWidth);
    // However a panel closes, the area is its full size at once: an untouched page is laid
    // out again for it (through the area's resize), before anything draws.
    if (wasOpen && centralWidget() && centralWidget()->layout())
        centralWidget()->layout()->activate();
}

void TForm1::FormCreate() {
    setAttribute(Qt::WA_NoSystemBackground, false); // double buffering is Qt's own
    progressStep();
    ProgramFolder = QDir::cleanPath(paths.programFolder);
    PakFolder = ProgramFolder + QStringLiteral("/pak/");
    CacheFolder = paths.tempFolder + QStringLiteral("raskraska");
    SaveFolder = ProgramFolder + QStringLiteral("/save/");
    StaleFile = ProgramFolder + QStringLiteral("/temp");
    UploadFolder = ProgramFolder + QStringLiteral("/upload");
    SaveDialogInitialDir = SaveFolder;
    OpenDialogInitialDir = SaveFolder;

    // Hover pictures of the Toddler swatches.
    for (TImage* s : {Image1_Color, Image2_Color, Image3_Color, Image4_Color, Image5_Color,
                      Image6_Color, Image7_Color, Image8_Color, Image10_Color})
        s->installEventFilter(this);

    if (QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect work = scr->availableGeometry();
        // Restored size: as wide as the work area reaches; the height of the work area so
        // that a desktop without a window manager still shows the whole window.
        resize(work.x() + work.width(), work.height());
    }
    ReadSettings();
    progressStep();

    QFileInfo stale(StaleFile);
    if (stale.isFile())
        QFile::remove(StaleFile);
    progressStep();

    for (size_t i = 0; i < ColorCounts.size(); ++i)
        ColorCounts[i].Name = QString::fromLatin1(kPaletteColors[i].statName);
    PenSize = 25;

    closeSidePanels();
    progressStep();
    reportErrors(platform.messages, [this] { LoadTreeFile(); });
    progressStep();
}

void TForm1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    WMGetMinMaxInfo();
    if (!FirstShowDone) {
        FirstShowDone = true;
        InFormShow = true;
        FormShow();
        InFormShow = false;
        // A close request that came while the first show ran is served now that it is over.
        if (CloseDuringShow)
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TForm1::FormShow() {
    Label_Load->setVisible(false);
    QApplication::processEvents();
    reportErrors(platform.messages, [this] { Button_RndRaskraskaClick(); });
    RestoreAutosave();
    // The page the child starts on is where undo stops.
    History.clear();
    UpdateUndoControls();
    CurrentTool = tool::Fill;
    Timer_Color->stop();
    NewCursor(QStringLiteral("Синий"), clBlue, 0);
    StampKind = stampkind::Snow;
    FillStyle = fillstyle::Normal;
    PageControl_Dop->setCurrentWidget(Tab_Zalivka);
    Button_3Click();
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (InFormShow) {
        CloseDuringShow = true;
        e->ignore();
        return;
    }
    // A second close request (one more click while the first close showed a message) must
    // not append a second record.
    if (!CloseDone) {
        CloseDone = true;
        FormClose();
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

void TForm1::CloseForSessionEnd() {
    if (EndingSession)
        return;
    EndingSession = true;
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
    if (InFormShow) {
        CloseDuringShow = true;
        return;
    }
    close();
    QCoreApplication::exit(0);
}

void TForm1::followAreaSize() {
    // The page is laid out again at the area's new size while nothing has touched it since
    // it was placed: a press, a rotation or another page changes the page's key.
    if (StartPageSource.isNull() || !PageBitmap || PageBitmap->image.cacheKey() != PlacedPageKey)
        return;
    if (PageBitmap->image.size() == PaintBox1->size() || !Panel_Tree->isHidden() ||
        !Panel_Stat->isHidden())
        return;
    const QScopedValueRollback relayout(RelayingOutPage, true);
    if (StartPageRestored)
        PlaceRestoredPicture(StartPageSource);
    else
        PlacePage(StartPageSource, PictureOpenedFile);
}

void TForm1::GrowPageToArea() {
    if (!PageBitmap)
        return;
    const QSize area = PaintBox1->size();
    const QSize now = PageBitmap->image.size();
    if (area.isEmpty() || (now.width() >= area.width() && now.height() >= area.height()))
        return;
    // The picture stays where it is on the screen; the rest is new paper. The smaller picture
    // is one step back, which keeps every older step exact.
    auto grown = std::make_unique<PageBitmapCanvas>(std::max(now.width(), area.width()),
                                                    std::max(now.height(), area.height()));
    grown->draw(0, 0, PageBitmap->image);
    EndEdit();
    if (History.canUndo() || History.canRedo())
        History.recordReplace({PageBitmap->image, Outline, PicturePageIndex, PictureOpenedFile});
    Outline = Outline.grownTo(grown->image.size());
    PageBitmap = std::move(grown);
    NotePagePlaced(true);
    StartPageSource = QImage();
    UpdateUndoControls();
    ShowPage();
}

void TForm1::FormClose() {
    // The history is saved first; a failure there is reported and the settings are still
    // written, so neither is lost to the other.
    reportErrors(platform.messages, [this] { Statsave(); });
    AutosaveNow();
    Autosaver.reset(); // writes what is still waiting
    PageBitmap.reset();
    WriteSettings();
    QGuiApplication::restoreOverrideCursor();
}

void TForm1::menu_exitClick() {
    QApplication::exit(0);
}

void TForm1::WMGetMinMaxInfo() {
    // The window may never grow beyond the screen plus its own frame.
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!scr)
        return;
    setMaximumSize(scr->geometry().size());
}

void TForm1::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (Label_Load->isVisible())
        Label_Load->move(PaintBox1->width() / 4, Label_Load->y());
}

void TForm1::menu_optionsClick() {
    Fm_Options->exec();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PaintBox1 && event->type() == QEvent::Resize)
        followAreaSize();
    if (watched == Tab_Zalivka && event->type() == QEvent::Resize)
        FitTextureStrip();
    if (watched == Label_Error2 && event->type() == QEvent::MouseButtonPress) {
        OpenInShell(SiteBase);
        return true;
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        auto* w = qobject_cast<TImage*>(watched);
        if (w && w->parentWidget() == TabSheet1) {
            // The control's own handling first, then the hover picture.
            const bool handled = static_cast<QObject*>(w)->event(event);
            MyProc(watched, event->type() == QEvent::Enter);
            return handled;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
