#include "app/qtplatform.h"
#include "app/language.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <cups/cups.h>
#include <stdexcept>

namespace {
// The queue's own default resolution in dots per inch, 0 when it does not say. Qt lays a
// page out at 1200 dpi whatever the printer, but "printer pixels" are the printer's.
int defaultResolution(const std::string& printer) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
    if (!dest)
        return 0;
    int dpi = 0;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* a =
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            const int x = ippGetResolution(a, 0, &y, &units);
            dpi = units == IPP_RES_PER_CM ? qRound(x * 2.54) : x;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return dpi;
}

QWidget* owner() {
    QWidget* w = QApplication::activeWindow();
    return w ? w : QApplication::activeModalWidget();
}
} // namespace

void QtMessageBox::show(const QString& title, const QString& text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                    : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                     : QMessageBox::Critical,
                    title, text, QMessageBox::Ok, owner());
    box.exec();
}

QString QtInputBox::ask(const QString& caption, const QString& prompt, const QString& def) {
    bool ok = false;
    const QString s = QInputDialog::getText(owner(), caption, prompt, QLineEdit::Normal, def, &ok);
    return ok ? s : QString();
}

std::optional<QString> QtFileDialogs::openFile(const OpenDialogOptions& o) {
    QFileDialog dlg(owner(), o.title, o.initialDir, o.filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile); // a typed name need not exist
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().front();
}

QStringList QtFileDialogs::openFiles(const OpenDialogOptions& o) {
    QFileDialog dlg(owner(), o.title, o.initialDir, o.filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

std::optional<QString> QtFileDialogs::saveFile(const OpenDialogOptions& o) {
    QFileDialog dlg(owner(), o.title, o.initialDir, o.filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    dlg.setOption(QFileDialog::ReadOnly, false);
    dlg.setSizeGripEnabled(true);
    if (!o.defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(o.defaultSuffix);
    if (!o.fileName.isEmpty())
        dlg.selectFile(o.fileName);
    // Picking another type carries the proposed name's extension along with it.
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
        const QString suffix = filter.contains(QStringLiteral("*.png")) ? QStringLiteral("png")
                                                                        : QStringLiteral("bmp");
        dlg.setDefaultSuffix(suffix);
        const QFileInfo name(dlg.selectedFiles().value(0));
        const QString now = name.suffix().toLower();
        if (now == QStringLiteral("bmp") || now == QStringLiteral("png"))
            dlg.selectFile(name.completeBaseName() + QLatin1Char('.') + suffix);
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().front();
}

bool QtShell::open(const QString& urlOrPath) {
    const QUrl url = urlOrPath.contains(QStringLiteral("://")) ? QUrl(urlOrPath)
                                                               : QUrl::fromLocalFile(urlOrPath);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    // The desktop's opener says by its exit status whether it found a program (Qt's own
    // launch only knows that the opener started). It may wait for the browser to end, so it
    // is not waited for here; a process still running when the program ends is left to run.
    auto* proc = new QProcess();
    proc->setProgram(opener);
    proc->setArguments({url.toString(QUrl::FullyEncoded)});
    proc->setStandardInputFile(QProcess::nullDevice());
    proc->setStandardOutputFile(QProcess::nullDevice());
    proc->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(proc, &QProcess::finished, proc,
                     [onFailure = failed, proc, urlOrPath](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && onFailure)
                             onFailure(urlOrPath);
                         proc->deleteLater();
                     });
    proc->start();
    if (!proc->waitForStarted(5000)) {
        delete proc;
        return false;
    }
    return true;
}

bool QtNetwork::isOnline() {
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : all) {
        const auto f = i.flags();
        if ((f & QNetworkInterface::IsUp) && (f & QNetworkInterface::IsRunning) &&
            !(f & QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}

void QtPrinter::print(const QImage& img, int scale) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw std::runtime_error("No printer is installed.");
    const std::string name = info.printerName().toStdString();
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        throw std::runtime_error("The printer \"" + name + "\" is not available.");
    printer.setDocName(docName_);
    printer.setFullPage(false); // the origin is the printable area's corner
    if (const int dpi = defaultResolution(name); dpi > 0)
        printer.setResolution(dpi);
    // Qt submits its own jobs without looking at the answer, so a queue that refuses them
    // would fail silently: lay the page out for this printer into a file, and hand that
    // to the print server here.
    QTemporaryFile pdf(QDir::tempPath() + QStringLiteral("/pictaro-print-XXXXXX.pdf"));
    if (!pdf.open())
        throw std::runtime_error("Cannot create a temporary file for printing.");
    pdf.close();
    printer.setOutputFileName(pdf.fileName());
    printOn(printer, img, scale);
    const int job = cupsPrintFile(name.c_str(), QFile::encodeName(pdf.fileName()).constData(),
                                  docName_.toUtf8().constData(), 0, nullptr);
    if (job == 0)
        throw std::runtime_error("The printer \"" + name +
                                 "\" refused the job: " + cupsLastErrorString());
}

void QtPrinter::printOn(QPrinter& printer, const QImage& img, int scale) {
    QPainter p;
    if (!p.begin(&printer))
        throw std::runtime_error("The print job could not be started.");
    // The painter works in device pixels of the printer's resolution; keep every picture
    // pixel a sharp block of scale x scale of them.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(0, 0, img.width() * scale, img.height() * scale), img);
    if (!p.end() || printer.printerState() == QPrinter::Error)
        throw std::runtime_error("The print job could not be finished.");
}

QtSound::QtSound() {
    // Decoding is asynchronous: load every sound now so that a child's first click already
    // sounds at once. Without an output device each effect would only complain.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    const QStringList files =
        QDir(QStringLiteral(":/sounds")).entryList({QStringLiteral("*.wav")}, QDir::Files);
    for (const QString& f : files)
        effectFor(QFileInfo(f).completeBaseName());
    preload(currentLanguage());
}

void QtSound::preload(const QString& language) {
    if (language == QLatin1String("en") || QMediaDevices::defaultAudioOutput().isNull())
        return;
    const QStringList files = QDir(QStringLiteral(":/sounds/") + language)
                                  .entryList({QStringLiteral("*.wav")}, QDir::Files);
    for (const QString& f : files)
        effectFor(language + QLatin1Char('/') + QFileInfo(f).completeBaseName());
}

QtSound::~QtSound() {
    stop();
    for (auto& [name, e] : effects_)
        delete e;
}

namespace {
// English names are looked up in any case; a language's folder ("pt_BR/") is kept as named.
QString soundKey(const QString& name) {
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    return name.left(slash + 1) + name.mid(slash + 1).toLower();
}
} // namespace

QSoundEffect* QtSound::effectFor(const QString& name) {
    const QString key = soundKey(name);
    auto it = effects_.find(key);
    if (it != effects_.end())
        return it->second;
    const QString path = QStringLiteral(":/sounds/") + key + QStringLiteral(".wav");
    if (!QFileInfo::exists(path))
        return nullptr;
    auto* e = new QSoundEffect();
    e->setSource(QUrl(QStringLiteral("qrc") + path));
    effects_[key] = e;
    return e;
}

bool QtSound::isLoaded(const QString& name) const {
    const auto it = effects_.find(soundKey(name));
    return it != effects_.end() && it->second->status() == QSoundEffect::Ready;
}

void QtSound::play(const QString& name, bool loop) {
    stop();
    QSoundEffect* e = effectFor(name);
    if (!e)
        return;
    e->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    // Asked for while its sample still loads, the effect starts once the sample is ready;
    // a stop or another play before then cancels it.
    e->play();
    current_ = e;
}

void QtSound::stop() {
    if (current_)
        current_->stop();
    current_ = nullptr;
}
