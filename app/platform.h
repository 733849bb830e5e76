#pragma once
// What the window asks of the desktop. Qt implementations live in qtplatform.*; the tests
// hand the window fakes instead.
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

enum class MessageIcon { Information, Warning, Error };

struct IMessageBox {
    virtual ~IMessageBox() = default;
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
};

struct IInputBox {
    virtual ~IInputBox() = default;
    // Cancel gives an empty text.
    virtual QString ask(const QString& caption, const QString& prompt, const QString& def) = 0;
};

struct OpenDialogOptions {
    QString title;
    QString filter; // e.g. "Bitmaps (*.bmp)"
    QString initialDir;
    QString fileName; // proposed name (save)
    QString defaultSuffix;
};

struct IFileDialogs {
    virtual ~IFileDialogs() = default;
    virtual std::optional<QString> openFile(const OpenDialogOptions& o) = 0;
    // Several existing files at once; none when cancelled.
    virtual QStringList openFiles(const OpenDialogOptions& o) {
        const auto one = openFile(o);
        return one ? QStringList{*one} : QStringList{};
    }
    virtual std::optional<QString> saveFile(const OpenDialogOptions& o) = 0;
};

struct IShell {
    virtual ~IShell() = default;
    // Opens a web address or a folder in the desktop's default program. False when no program
    // could be started for it; one that starts and then gives up is reported later through
    // `failed`, with the same address.
    virtual bool open(const QString& urlOrPath) = 0;
    std::function<void(const QString& urlOrPath)> failed;
};

struct INetwork {
    virtual ~INetwork() = default;
    virtual bool isOnline() = 0;
};

struct IPrinter {
    virtual ~IPrinter() = default;
    // Prints img scaled by `scale` from the printable area's top-left corner. Throws
    // std::runtime_error with a readable reason when there is no printer or it fails.
    virtual void print(const QImage& img, int scale) = 0;
};

struct ISound {
    virtual ~ISound() = default;
    // Plays the named sound resource; a new sound stops the one playing.
    virtual void play(const QString& name, bool loop) = 0;
    virtual void stop() = 0;
    // Makes a language's prompts ready ahead of their first play.
    virtual void preload(const QString& language) { (void)language; }
};

struct Platform {
    IMessageBox* messages = nullptr;
    IInputBox* input = nullptr;
    IFileDialogs* dialogs = nullptr;
    IShell* shell = nullptr;
    INetwork* network = nullptr;
    IPrinter* printer = nullptr;
    ISound* sound = nullptr;
};
