#include "app/options.h"

#include "base/usersettings.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

extern const QString kInterfaceLanguage;

namespace {
const QString kOutlinesKey = QStringLiteral("OutlinesStay");
} // namespace

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Pictaro"),
                     QStringLiteral("pictaro"));
}

std::optional<QString> UserSettingText(const QString& key) {
    // Opening the file through QSettings finds it where QSettings keeps it.
    QFile file(UserSettings().fileName());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readUserSettingText(file, key);
}

bool UserSwitch(const QString& key, bool fallback) {
    const std::optional<QString> text = UserSettingText(key);
    return text ? switchValue(*text).value_or(fallback) : fallback;
}

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    optionsGroup = new QGroupBox(this);
    optionsGroup->setObjectName(QStringLiteral("optionsGroup"));
    QFont bold = optionsGroup->font();
    bold.setBold(true);
    optionsGroup->setFont(bold);
    QFont normal = bold;
    normal.setBold(false);
    auto* checks = new QVBoxLayout(optionsGroup);
    const auto check = [&](const char* name) {
        auto* c = new QCheckBox(optionsGroup);
        c->setObjectName(QString::fromLatin1(name));
        c->setFont(normal);
        checks->addWidget(c);
        return c;
    };
    fullScreenCheck = check("fullScreenCheck");
    silentCheck = check("silentCheck");
    // Kept in the user's own settings file: config.ini has its fixed set of keys.
    outlinesStayCheck = check("outlinesStayCheck");
    outlinesStayCheck->setChecked(UserSwitch(kOutlinesKey, true));
    connect(outlinesStayCheck, &QCheckBox::toggled, this,
            [](bool on) { UserSettings().setValue(kOutlinesKey, on); });
    // Stored in config.ini, never shown.
    mouseOutCheck = new QCheckBox(this);
    mouseOutCheck->setObjectName(QStringLiteral("mouseOutCheck"));
    mouseOutCheck->setVisible(false);
    okButton = new QPushButton(this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);

    // Laid out by its texts: a longer translation makes the window wider, never cuts a word.
    auto* column = new QVBoxLayout(this);
    column->addWidget(optionsGroup);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addStretch();
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
    initialize();
}

void OptionsDialog::initialize() {
    if (kInterfaceLanguage == QStringLiteral("En")) {
        setWindowTitle(tr("Program options"));
        optionsGroup->setTitle(tr("Options"));
        fullScreenCheck->setText(tr("Windows Maximized"));
        silentCheck->setText(tr("Disable sound"));
        outlinesStayCheck->setText(tr("Outlines stay"));
        okButton->setText(tr("Ok"));
    }
}

QCheckBox* OptionsDialog::addSwitch(const char* name, const QString& text) {
    auto* c = new QCheckBox(text, optionsGroup);
    c->setObjectName(QString::fromLatin1(name));
    c->setFont(silentCheck->font());
    optionsGroup->layout()->addWidget(c);
    return c;
}

void OptionsDialog::onOkClicked() {
    accept();
}
