#include "base/parentgate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <numeric>

QString digitWord(int digit) {
    // In the reader's language: the gate asks a parent, who reads their own.
    static const char* const words[10] = {
        QT_TRANSLATE_NOOP("ParentGate", "zero"),  QT_TRANSLATE_NOOP("ParentGate", "one"),
        QT_TRANSLATE_NOOP("ParentGate", "two"),   QT_TRANSLATE_NOOP("ParentGate", "three"),
        QT_TRANSLATE_NOOP("ParentGate", "four"),  QT_TRANSLATE_NOOP("ParentGate", "five"),
        QT_TRANSLATE_NOOP("ParentGate", "six"),   QT_TRANSLATE_NOOP("ParentGate", "seven"),
        QT_TRANSLATE_NOOP("ParentGate", "eight"), QT_TRANSLATE_NOOP("ParentGate", "nine")};
    return digit >= 0 && digit <= 9 ? QCoreApplication::translate("ParentGate", words[digit])
                                    : QString();
}

QString GateQuestion::words() const {
    QStringList parts;
    for (int d : digits)
        parts << digitWord(d);
    return parts.join(QStringLiteral(", "));
}

GateQuestion GateQuestion::random(std::mt19937& rng) {
    GateQuestion q;
    std::iota(q.order.begin(), q.order.end(), 0);
    std::shuffle(q.order.begin(), q.order.end(), rng);
    // Three different digits, so that pressing one button over and over never passes.
    std::array<int, 10> pool{};
    std::iota(pool.begin(), pool.end(), 0);
    std::shuffle(pool.begin(), pool.end(), rng);
    std::copy_n(pool.begin(), 3, q.digits.begin());
    return q;
}

GateAttempt::State GateAttempt::press(int digit) {
    if (state_ != State::Waiting)
        return state_;
    if (digit == question_.digits[size_t(next_)]) {
        if (++next_ == int(question_.digits.size()))
            state_ = State::Passed;
    } else if (++wrong_ > kWrongPressesAllowed) {
        state_ = State::Failed;
    }
    return state_;
}

ParentLock::ParentLock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    now = [timer] { return timer->elapsed(); };
}

bool ParentLock::isOpen() const {
    return openedAt_ >= 0 && now() - openedAt_ < kOpenMs;
}

void ParentLock::open() {
    openedAt_ = now();
}
