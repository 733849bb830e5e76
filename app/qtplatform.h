#pragma once
#include "app/platform.h"

#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

class QPrinter;
class QSoundEffect;

class QtMessageBox : public IMessageBox {
  public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
};

class QtInputBox : public IInputBox {
  public:
    QString ask(const QString& caption, const QString& prompt, const QString& def) override;
};

class QtFileDialogs : public IFileDialogs {
  public:
    std::optional<QString> openFile(const OpenDialogOptions& o) override;
    QStringList openFiles(const OpenDialogOptions& o) override;
    std::optional<QString> saveFile(const OpenDialogOptions& o) override;
};

class QtShell : public IShell {
  public:
    bool open(const QString& urlOrPath) override;
};

class QtNetwork : public INetwork {
  public:
    bool isOnline() override;
};

class QtPrinter : public IPrinter {
  public:
    explicit QtPrinter(const QString& docName = QStringLiteral("Pictaro")) : docName_(docName) {}
    void print(const QImage& img, int scale) override;
    // Paints img at scale device pixels per picture pixel from the top-left corner of the
    // printable area and ends the job. Throws when the printer will not start or finish.
    static void printOn(QPrinter& printer, const QImage& img, int scale);

  private:
    QString docName_;
};

// One player: starting a sound stops the one playing, and stop silences whatever plays, a
// loop included. Sounds are WAV resources under ":/sounds/", looked up by lower-case name,
// loaded when the player is made. Needs the event loop of the thread that made it.
class QtSound : public ISound {
  public:
    QtSound();
    ~QtSound() override;
    void play(const QString& name, bool loop) override;
    void stop() override;
    bool isLoaded(const QString& name) const;
    // Decodes a language's prompts ahead, as the English ones are at start.
    void preload(const QString& language) override;

  private:
    QSoundEffect* effectFor(const QString& name);
    std::map<QString, QSoundEffect*> effects_;
    QSoundEffect* current_ = nullptr;
};

// The whole set, owned together.
struct QtPlatform {
    QtMessageBox messages;
    QtInputBox input;
    QtFileDialogs dialogs;
    QtShell shell;
    QtNetwork network;
    QtPrinter printer;
    QtSound sound;
    Platform platform() {
        return Platform{&messages, &input, &dialogs, &shell, &network, &printer, &sound};
    }
};
