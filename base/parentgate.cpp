#include "base/parentgate.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <numeric>

QString digitWord(int digit) {
    static const char* const words[10] = {"zero", "one", "two",   "three", "four",
                                          "five", "six", "seven", "eight", "nine"};
    return digit >= 0 && digit <= 9 ? QString::fromLatin1(words[digit]) : QString();
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
