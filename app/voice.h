#pragma once
// The worker behind the spray and eraser noises.
#include <QThread>

class MainWindow;

// Reads the current tool once, hands the start of that tool's loop to the sound player on
// the window thread and ends. It deletes itself when finished.
class ToolSoundThread : public QThread {
    Q_OBJECT
  public:
    explicit ToolSoundThread(MainWindow* form);

  protected:
    void run() override;

  private:
    MainWindow* form_;
};
