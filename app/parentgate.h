#pragma once
// The grown-ups' gate dialog: "Press the numbers seven, two, nine" over ten digit buttons
// in a random order. Passed: accepted; three wrong presses or "Back": rejected.
#include "base/parentgate.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

class TFm_ParentGate : public QDialog {
    Q_OBJECT
  public:
    TFm_ParentGate(const GateQuestion& question, QWidget* parent = nullptr);
    // The button showing a digit, for tests and for the layout.
    QPushButton* digitButton(int digit) const;
    const GateQuestion& question() const { return question_; }

    QLabel* Label_Question;
    QLabel* Label_Wrong;
    QPushButton* Button_Back;

  private:
    void digitPressed(int digit);
    GateQuestion question_;
    GateAttempt attempt_;
    std::array<QPushButton*, 10> buttons_{};
};
