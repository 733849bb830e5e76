#include "app/options.h"
#include "app/language.h"

#include "base/usersettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {
const QString kChildModeKey = QStringLiteral("childMode");
const QString kOutlinesKey = QStringLiteral("OutlinesStay");
const QString kRememberKey = QStringLiteral("RememberColoring");
const QString kSaveTypeKey = QStringLiteral("saveType");
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

bool UserOptions::childMode() {
    return UserSwitch(kChildModeKey, false);
}
void UserOptions::setChildMode(bool on) {
    UserSettings().setValue(kChildModeKey, on);
}
bool UserOptions::outlinesStay() {
    return UserSwitch(kOutlinesKey, true);
}
void UserOptions::setOutlinesStay(bool on) {
    UserSettings().setValue(kOutlinesKey, on);
}
bool UserOptions::pagesRememberColoring() {
    return UserSwitch(kRememberKey, true);
}
void UserOptions::setPagesRememberColoring(bool on) {
    UserSettings().setValue(kRememberKey, on);
}
bool UserOptions::prefersPng() {
    // The 8-bit bitmap loses most of a picture's colours (a rainbow texture comes out banded).
    const std::optional<QString> stored = UserSettingText(kSaveTypeKey);
    return !stored || stored->compare(QStringLiteral("bmp"), Qt::CaseInsensitive) != 0;
}
void UserOptions::setSavedAsPng(bool png) {
    UserSettings().setValue(kSaveTypeKey, png ? QStringLiteral("png") : QStringLiteral("bmp"));
}
std::optional<QString> UserOptions::language() {
    return UserSettingText(kLanguageKey);
}
void UserOptions::setLanguage(const QString& code) {
    if (code.isEmpty())
        UserSettings().remove(kLanguageKey);
    else
        UserSettings().setValue(kLanguageKey, code);
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
    outlinesStayCheck->setChecked(UserOptions::outlinesStay());
    connect(outlinesStayCheck, &QCheckBox::toggled, this, &UserOptions::setOutlinesStay);
    // Each language in its own name, so that a parent finds theirs whatever is shown now.
    languageLabel = new QLabel(optionsGroup);
    languageLabel->setObjectName(QStringLiteral("languageLabel"));
    languageLabel->setFont(normal);
    languageCombo = new QComboBox(optionsGroup);
    languageCombo->setObjectName(QStringLiteral("languageCombo"));
    languageCombo->setFont(normal);
    languageCombo->addItem(QString(), QString());
    for (const Language& l : languages())
        languageCombo->addItem(QString::fromUtf8(l.nativeName), QString::fromLatin1(l.code));
    const int stored = languageCombo->findData(UserOptions::language().value_or(QString()));
    languageCombo->setCurrentIndex(std::max(stored, 0));
    connect(languageCombo, &QComboBox::activated, this, [this](int index) {
        const QString code = languageCombo->itemData(index).toString();
        UserOptions::setLanguage(code);
        installLanguage(chosenLanguage());
    });
    languageLabel->setBuddy(languageCombo);
    auto* languageRow = new QHBoxLayout();
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(languageCombo, 1);
    checks->addLayout(languageRow);
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
    setWindowTitle(tr("Program options"));
    optionsGroup->setTitle(tr("Options"));
    fullScreenCheck->setText(tr("Windows Maximized"));
    silentCheck->setText(tr("Disable sound"));
    outlinesStayCheck->setText(tr("Outlines stay"));
    languageLabel->setText(tr("Language:"));
    languageCombo->setItemText(0, tr("Desktop language"));
    okButton->setText(tr("Ok"));
    for (const auto& [check, text] : extraSwitches)
        check->setText(tr(text));
}

void OptionsDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        initialize();
    QDialog::changeEvent(event);
}

QCheckBox* OptionsDialog::addSwitch(const char* name, const char* text) {
    auto* c = new QCheckBox(tr(text), optionsGroup);
    extraSwitches.push_back({c, text});
    c->setObjectName(QString::fromLatin1(name));
    c->setFont(silentCheck->font());
    optionsGroup->layout()->addWidget(c);
    return c;
}

void OptionsDialog::onOkClicked() {
    accept();
}
