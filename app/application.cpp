#include "app/application.h"

#include "app/platform.h"

#include <exception>

PictaroApplication::PictaroApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
