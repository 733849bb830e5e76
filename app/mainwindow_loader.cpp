// Loading a page file onto the drawing area; Open and Clear.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "library/pagefit.h"
#include "library/pageload.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <stdexcept>

void TForm1::LoadKartinka(const QString& path) {
    QImage source;
    QString openedFile;
    // A bitmap with no pixels is taken as no file at all: the white sheet.
    if (!path.isEmpty() && QFileInfo(path).isFile() && !isEmptyBitmapFile(path)) {
        QString error;
        // The bundled pages are bitmaps; a picture opened by hand or one of the parents' own
        // pages may be any common kind.
        const bool ownPage = !paths.pagesFolder.isEmpty() &&
                             path.startsWith(QDir(paths.pagesFolder).path() + QLatin1Char('/'));
        source = OpeningByHand || ownPage ? readPictureFile(path, PaintBox1->size(), &error)
                                          : readBitmapFile(path, &error);
        // An unreadable file leaves the picture on the area as it was; with none there yet,
        // the child gets the white sheet rather than an area that draws nothing.
        if (source.isNull()) {
            if (!PageBitmap)
                LoadKartinka(QString());
            throw std::runtime_error(error.isEmpty() ? "Bitmap image is not valid"
                                                     : error.toStdString());
        }
    }
    if (source.isNull()) {
        source = QImage(100, 100, QImage::Format_RGB32);
        source.fill(Qt::white);
    } else if (OpeningByHand) {
        openedFile = path;
    }
    PlacePage(source, openedFile);
    StartPageSource = source;
    StartPageRestored = false;
    PlayPrompt(QStringLiteral("S1"));
}

void TForm1::PlacePage(const QImage& source, const QString& openedFile) {
    const QSize area = PaintBox1->size();
    auto page = std::make_unique<PageBitmapCanvas>(area.width(), area.height());
    const bool byHand = OpeningByHand || !openedFile.isEmpty();
    const QSize size = page->image.size();
    stretchKeepingInk(source, page->image,
                      byHand ? layoutOpenedPicture(source.size(), size)
                             : layoutPage(source.size(), size));
    OutlineMask outline(page->image, byHand ? OutlineMask::Ink::PureBlack : OutlineMask::Ink::Dark);
    // The picture it replaces is one step back, unless this is the same page laid out again
    // or nothing changes (Clear on an untouched page).
    const bool same = PageBitmap && PicturePageIndex == CurrentPageIndex &&
                      PictureOpenedFile == openedFile && PageBitmap->image == page->image;
    if (PageBitmap && !RelayingOutPage && !same) {
        EndEdit();
        History.recordReplace({PageBitmap->image, Outline, PicturePageIndex, PictureOpenedFile});
    }
    Outline = std::move(outline);
    PicturePageIndex = CurrentPageIndex;
    // Laid out again, it is still the picture it was.
    if (!RelayingOutPage)
        PictureOpenedFile = openedFile;
    PageBitmap = std::move(page);
    NotePagePlaced(RelayingOutPage && PictureKeptAnyway);
    UpdateUndoControls();
    ShowPage();
}

void TForm1::menu_openClick() {
    OpenDialogOptions o;
    o.title = QStringLiteral("Open coloring book");
    o.filter = QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.webp *.svg);;"
                              "All files (*)");
    o.initialDir = OpenDialogInitialDir;
    const auto chosen = platform.dialogs->openFile(o);
    if (!chosen)
        return;
    try {
        OpeningByHand = true;
        LoadKartinka(*chosen);
        OpeningByHand = false;
    } catch (const std::exception& e) {
        // The picture on the area stays; the parent who chose the file is told why (too
        // large, not a picture), where it used to fail without a word.
        OpeningByHand = false;
        platform.messages->show(QStringLiteral("Open coloring book"),
                                QFileInfo(*chosen).fileName() + QStringLiteral("\n") +
                                    QString::fromUtf8(e.what()),
                                MessageIcon::Warning);
    }
}

void TForm1::Button_SterkaClick() {
    FillStyle = fillstyle::Normal;
    const auto reload = [this](const QString& path, bool byHand) {
        const QScopedValueRollback opening(OpeningByHand, byHand);
        try {
            LoadKartinka(path);
        } catch (const std::exception&) {
            // A page that cannot be loaded: start again on the white sheet, and say why once.
            LoadKartinka(QString());
            StrokeSinceClear = CurrentPageIndex;
            FillTexture = 0;
            throw;
        }
    };
    if (StrokeSinceClear == CurrentPageIndex)
        LoadKartinka(QString());
    else if (!PictureOpenedFile.isEmpty())
        // A picture opened by hand comes back clean from its own file, not the catalogue's.
        reload(PictureOpenedFile, true);
    else if (!TreeNodes.empty() && size_t(CurrentPageIndex) < TreeNodes.size())
        reload(PagePath(CurrentPageIndex), false);
    StrokeSinceClear = CurrentPageIndex;
    FillTexture = 0;
}
