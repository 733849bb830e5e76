#pragma once
// The desktop ending the program: SIGTERM (logout, shutdown), SIGHUP (its terminal gone) and
// SIGINT arrive here as one Qt signal on the window's thread, where the window can close as
// its close button closes it. Only one may exist.
#include <QObject>

class QSocketNotifier;

class QuitRequests : public QObject {
    Q_OBJECT
  public:
    explicit QuitRequests(QObject* parent = nullptr);
    ~QuitRequests() override; // the signals' default actions come back

  signals:
    void quitRequested(int signalNumber);

  private:
    void readPending();
    QSocketNotifier* notifier_ = nullptr;
};
