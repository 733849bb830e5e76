#include "app/parentgate.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFm_ParentGate::TFm_ParentGate(const GateQuestion& question, QWidget* parent)
    : QDialog(parent), question_(question), attempt_(question) {
    setObjectName(QStringLiteral("Fm_ParentGate"));
    setWindowTitle(tr("For grown-ups"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(QStringLiteral("#e6f2fb")));
    setPalette(pal);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(20, 16, 20, 16);
    v->setSpacing(12);
    Label_Question = new QLabel(this);
    Label_Question->setObjectName(QStringLiteral("Label_Question"));
    Label_Question->setAlignment(Qt::AlignCenter);
    QFont f = Label_Question->font();
    f.setPixelSize(20);
    Label_Question->setFont(f);
    // Words, not figures: the child who knows a few digits by sight still cannot read it.
    Label_Question->setText(tr("Grown-ups: press the numbers\n%1").arg(question_.words()));
    v->addWidget(Label_Question);
    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    QFont big = f;
    big.setPixelSize(26);
    big.setBold(true);
    for (int i = 0; i < 10; ++i) {
        const int digit = question_.order[size_t(i)];
        auto* b = new QPushButton(QString::number(digit), this);
        b->setObjectName(QStringLiteral("Button_Digit%1").arg(digit));
        b->setFixedSize(56, 56);
        b->setFont(big);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, digit] { digitPressed(digit); });
        buttons_[size_t(digit)] = b;
        grid->addWidget(b, i / 5, i % 5);
    }
    v->addLayout(grid);
    Label_Wrong = new QLabel(this);
    Label_Wrong->setObjectName(QStringLiteral("Label_Wrong"));
    Label_Wrong->setAlignment(Qt::AlignCenter);
    v->addWidget(Label_Wrong);
    Button_Back = new QPushButton(tr("Back to coloring"), this);
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    Button_Back->setAutoDefault(false);
    connect(Button_Back, &QPushButton::clicked, this, &QDialog::reject);
    v->addWidget(Button_Back, 0, Qt::AlignCenter);
    setFixedSize(sizeHint());
}

QPushButton* TFm_ParentGate::digitButton(int digit) const {
    return digit >= 0 && digit <= 9 ? buttons_[size_t(digit)] : nullptr;
}

void TFm_ParentGate::digitPressed(int digit) {
    switch (attempt_.press(digit)) {
    case GateAttempt::State::Passed:
        accept();
        break;
    case GateAttempt::State::Failed:
        reject();
        break;
    case GateAttempt::State::Waiting:
        if (attempt_.wrongPresses() > 0)
            Label_Wrong->setText(tr("Not quite: try again from where you were."));
        break;
    }
}
