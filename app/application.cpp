#include "app/application.h"

#include "app/platform.h"

#include <exception>
#include <malloc.h>

namespace {
// A 4K page is 33 MB, above glibc's largest threshold for mapping a block on its own: each
// page buffer freed went back to the kernel and the next one was faulted in afresh, which
// cost a tap tens of milliseconds on a loaded machine. Kept in the heap, it is reused.
void keepPageBuffersInHeap() {
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}
} // namespace

PictaroApplication::PictaroApplication(int& argc, char** argv) : QApplication(argc, argv) {
    keepPageBuffersInHeap();
}

void showErrorReport(IMessageBox* box, const QString& text) {
    if (box)
        box->show(QApplication::applicationName().isEmpty() ? QStringLiteral("Pictaro")
                                                            : QApplication::applicationName(),
                  text, MessageIcon::Error);
}

void reportErrors(IMessageBox* box, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        showErrorReport(box, QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorReport(box, QCoreApplication::translate("PictaroApplication", "Unknown error."));
    }
}

bool PictaroApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showErrorReport(box_, QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorReport(box_, QCoreApplication::translate("PictaroApplication", "Unknown error."));
    }
    return false;
}
