#include "app/options.h"

#include "base/usersettings.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>

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

TFm_Options::TFm_Options(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fm_Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(243, 172);
    setModal(true);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 225, 121);
    QFont bold = GroupBox1->font();
    bold.setBold(true);
    GroupBox1->setFont(bold);
    QFont normal = bold;
    normal.setBold(false);
    CheckBox_ScreenAll = new QCheckBox(GroupBox1);
    CheckBox_ScreenAll->setObjectName(QStringLiteral("CheckBox_ScreenAll"));
    CheckBox_ScreenAll->setGeometry(11, 17, 209, 31);
    CheckBox_ScreenAll->setFont(normal);
    CheckBox_Sound = new QCheckBox(GroupBox1);
    CheckBox_Sound->setObjectName(QStringLiteral("CheckBox_Sound"));
    CheckBox_Sound->setGeometry(10, 49, 209, 31);
    CheckBox_Sound->setFont(normal);
    CheckBox_MouseOut = new QCheckBox(QStringLiteral("Защита от выхода мышки"), GroupBox1);
    CheckBox_MouseOut->setObjectName(QStringLiteral("CheckBox_MouseOut"));
    CheckBox_MouseOut->setGeometry(139, 4, 185, 31);
    CheckBox_MouseOut->setVisible(false);
    // Kept in the user's own settings file: config.ini has its fixed set of keys.
    CheckBox_Outlines = new QCheckBox(GroupBox1);
    CheckBox_Outlines->setObjectName(QStringLiteral("CheckBox_Outlines"));
    CheckBox_Outlines->setGeometry(10, 81, 209, 31);
    CheckBox_Outlines->setFont(normal);
    CheckBox_Outlines->setChecked(UserSwitch(kOutlinesKey, true));
    connect(CheckBox_Outlines, &QCheckBox::toggled, this,
            [](bool on) { UserSettings().setValue(kOutlinesKey, on); });
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(72, 136, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TFm_Options::Button1Click);
    FormCreate();
}

void TFm_Options::FormCreate() {
    if (kInterfaceLanguage == QStringLiteral("En")) {
        setWindowTitle(QStringLiteral("Program options"));
        GroupBox1->setTitle(QStringLiteral("Options"));
        CheckBox_ScreenAll->setText(QStringLiteral("Windows Maxmized"));
        CheckBox_Sound->setText(QStringLiteral("Disable sound"));
        CheckBox_Outlines->setText(QStringLiteral("Outlines stay"));
        Button1->setText(QStringLiteral("Ok"));
    }
}

void TFm_Options::Button1Click() {
    accept();
}
