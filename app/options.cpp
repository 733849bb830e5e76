#include "app/options.h"
#include "app/language.h"

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
const QString kOutlinesKey = QStringLiteral("OutlinesStay");

// A value as QSettings writes a plain one: bare up to a comment, or quoted. Nothing for a
// stored object (@Variant, @ByteArray...) or a quote left open.
std::optional<QByteArray> plainValue(QByteArray v) {
    v = v.trimmed();
    if (v.startsWith('"')) {
        const qsizetype close = v.indexOf('"', 1);
        if (close < 0)
            return std::nullopt;
        v = v.sliced(1, close - 1);
    } else if (const qsizetype comment = v.indexOf(';'); comment >= 0) {
        v = v.first(comment).trimmed();
    }
    if (v.startsWith('@'))
        return std::nullopt;
    return v;
}
} // namespace

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Pictaro"),
                     QStringLiteral("pictaro"));
}

std::optional<QString> UserSettingText(const QString& key) {
    // Opening the file through QSettings finds it where QSettings keeps it and reads the bytes,
    // without decoding any value.
    QFile file(UserSettings().fileName());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Keys of the top level sit before any section or under [General], as QSettings writes
    // them; a later line of the same key wins, as in QSettings.
    constexpr qint64 kLongest = 1024;
    std::optional<QString> found;
    bool topLevel = true;
    while (!file.atEnd()) {
        QByteArray line = file.readLine(kLongest);
        const bool whole = line.endsWith('\n') || file.atEnd();
        // The rest of a line too long to be one of ours is passed over, not kept.
        while (!whole && !file.atEnd() && !file.readLine(kLongest).endsWith('\n')) {
        }
        line = line.trimmed();
        if (whole && line.startsWith('[') && line.endsWith(']')) {
            topLevel = line.sliced(1, line.size() - 2).compare("general", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!topLevel || eq < 0 || QString::fromUtf8(line.first(eq).trimmed()) != key)
            continue;
        const std::optional<QByteArray> value =
            whole ? plainValue(line.sliced(eq + 1)) : std::nullopt;
        found = value ? std::optional(QString::fromUtf8(*value)) : std::nullopt;
    }
    return found;
}

bool UserSwitch(const QString& key, bool fallback) {
    const std::optional<QString> text = UserSettingText(key);
    if (!text)
        return fallback;
    for (const char* on : {"true", "on", "yes", "1"})
        if (text->compare(QLatin1String(on), Qt::CaseInsensitive) == 0)
            return true;
    for (const char* off : {"false", "off", "no", "0"})
        if (text->compare(QLatin1String(off), Qt::CaseInsensitive) == 0)
            return false;
    return fallback;
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
    const int stored = languageCombo->findData(UserSettingText(kLanguageKey).value_or(QString()));
    languageCombo->setCurrentIndex(std::max(stored, 0));
    connect(languageCombo, &QComboBox::activated, this, [this](int index) {
        const QString code = languageCombo->itemData(index).toString();
        if (code.isEmpty())
            UserSettings().remove(kLanguageKey);
        else
            UserSettings().setValue(kLanguageKey, code);
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
