#pragma once
// The worker behind the spray and eraser noises.
#include <QThread>

class TForm1;

// Reads the current tool once, hands the start of that tool's loop to the sound player on
// the window thread and ends. It deletes itself when finished.
class TSpeakThread : public QThread {
    Q_OBJECT
  public:
    explicit TSpeakThread(TForm1* form);

  protected:
    void run() override;

  private:
    TForm1* form_;
};
