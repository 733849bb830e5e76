#pragma once
#include <QDialog>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QGroupBox;
class QPushButton;
class QSettings;

// The per-user settings file for what config.ini has no key for. Written through QSettings,
// read with the two functions below.
QSettings UserSettings();

// A per-user setting's text as the file holds it (unquoted, trimmed), or nothing: no such key,
// or a stored object (@Variant, @ByteArray...) or a line too long to be one of ours. Reads the
// text only: QSettings decodes every stored object of the file when it reads any key.
std::optional<QString> UserSettingText(const QString& key);
// A switch: true/false, on/off, yes/no or 1/0 in any case; anything else is the fallback.
bool UserSwitch(const QString& key, bool fallback);

// Every option a user keeps in their own settings file, in one place: its key, its default,
// reading it as text when asked (the parent may have edited the file) and writing it at once.
// config.ini keeps only its own four keys.
class UserOptions {
  public:
    static bool childMode(); // off by default
    static void setChildMode(bool on);
    static bool outlinesStay(); // on by default
    static void setOutlinesStay(bool on);
    static bool pagesRememberColoring(); // on by default
    static void setPagesRememberColoring(bool on);
    // PNG unless the parent last chose the bitmap.
    static bool prefersPng();
    static void setSavedAsPng(bool png);
    // The language chosen in Options; nothing for the desktop's.
    static std::optional<QString> language();
    static void setLanguage(const QString& code); // empty: the desktop's again
};

// The options window: a check box takes effect when clicked; "Ok" only closes.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit OptionsDialog(QWidget* parent = nullptr);
    // Sets every text in the current language.
    void initialize();
    void onOkClicked();
    // One more switch under the others; the window grows to hold it. The text is translated
    // here, so mark it with QT_TRANSLATE_NOOP("OptionsDialog", ...).
    QCheckBox* addSwitch(const char* name, const char* text);

    QGroupBox* optionsGroup;
    QCheckBox* fullScreenCheck;
    QCheckBox* silentCheck;       // checked: silent
    QCheckBox* mouseOutCheck;     // stored only, never shown
    QCheckBox* outlinesStayCheck; // checked: paint never covers the page's lines
    QLabel* languageLabel;
    QComboBox* languageCombo; // "Desktop language" first, then each language by its code
    QPushButton* okButton;

  private:
    std::vector<std::pair<QCheckBox*, const char*>> extraSwitches;

  protected:
    void changeEvent(QEvent* event) override;
};
