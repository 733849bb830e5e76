#pragma once
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSettings;

// The per-user settings file for what config.ini has no key for.
QSettings UserSettings();

// The options window: a check box takes effect when clicked; "Ok" only closes.
class TFm_Options : public QDialog {
    Q_OBJECT
  public:
    explicit TFm_Options(QWidget* parent = nullptr);
    void FormCreate();
    void Button1Click();

    QGroupBox* GroupBox1;
    QCheckBox* CheckBox_ScreenAll;
    QCheckBox* CheckBox_Sound;    // checked: silent
    QCheckBox* CheckBox_MouseOut; // stored only, never shown
    QCheckBox* CheckBox_Outlines; // checked: paint never covers the page's lines
    QPushButton* Button1;
};
