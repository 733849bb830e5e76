#pragma once
// The grown-ups' gate: a question a parent answers in seconds and a small child cannot
// answer by chance, and the lock that keeps the parents' controls open a while after it.
#include <QString>
#include <array>
#include <functional>
#include <random>

// "zero" .. "nine".
QString digitWord(int digit);

struct GateQuestion {
    std::array<int, 3> digits{}; // to be pressed in this order, all different
    std::array<int, 10> order{}; // the digit on each button, left to right, top to bottom
    // "seven, two, nine"
    QString words() const;
    static GateQuestion random(std::mt19937& rng);
};

// One try at a question: presses move it on; a few wrong ones end it.
class GateAttempt {
  public:
    enum class State { Waiting, Passed, Failed };
    static constexpr int kWrongPressesAllowed = 2; // the third wrong press closes the gate

    explicit GateAttempt(const GateQuestion& q) : question_(q) {}
    State press(int digit);
    State state() const { return state_; }
    int wrongPresses() const { return wrong_; }
    int progress() const { return next_; }

  private:
    GateQuestion question_;
    int next_ = 0;
    int wrong_ = 0;
    State state_ = State::Waiting;
};

// Open for a minute after the gate was passed. The clock is injectable for tests.
class ParentLock {
  public:
    static constexpr qint64 kOpenMs = 60 * 1000;
    std::function<qint64()> now; // milliseconds, monotonic
    ParentLock();
    bool isOpen() const;
    void open();
    void close() { openedAt_ = -1; }

  private:
    qint64 openedAt_ = -1;
};
