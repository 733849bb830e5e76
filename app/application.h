#pragma once
// The application object. An exception escaping an event handler ends up here: it is shown
// as the program's standard error report and that handler stops.
#include <QApplication>
#include <functional>

struct IMessageBox;

class PictaroApplication : public QApplication {
  public:
    PictaroApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    void setMessageBox(IMessageBox* box) { box_ = box; }

  private:
    IMessageBox* box_ = nullptr;
};

// Runs fn and turns an exception into the standard error report. For code that is not
// an event handler of its own (start-up steps, programmatic clicks).
void reportErrors(IMessageBox* box, const std::function<void()>& fn);
void showErrorReport(IMessageBox* box, const QString& text);
