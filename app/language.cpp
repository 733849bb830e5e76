#include "app/language.h"
#include "app/options.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <optional>

namespace {
QString current = QStringLiteral("en");

QString voicePath(const QString& lang, const QString& prompt) {
    return QStringLiteral(":/sounds/%1/%2.wav").arg(lang, prompt);
}
} // namespace

const std::vector<Language>& languages() {
    static const std::vector<Language> all = {
        {"en", "English"},
        {"ru", "Русский"},
        {"uk", "Українська"},
        {"de", "Deutsch"},
        {"fr", "Français"},
        {"es", "Español"},
        {"pt_BR", "Português (Brasil)"},
    };
    return all;
}

QString supportedLanguage(const QString& localeName) {
    // "de_AT.UTF-8@euro" -> "de_AT"
    QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    const QString base = name.section(QLatin1Char('_'), 0, 0).toLower();
    for (const Language& l : languages()) {
        const QString code = QString::fromLatin1(l.code);
        if (name.compare(code, Qt::CaseInsensitive) == 0 ||
            base == code.section(QLatin1Char('_'), 0, 0))
            return code;
    }
    return QStringLiteral("en");
}

QString desktopLanguage() {
    // LANGUAGE is a list by preference; it counts only under a locale other than C, as gettext.
    const auto env = [](const char* n) { return qEnvironmentVariable(n); };
    QString locale = env("LC_ALL");
    if (locale.isEmpty())
        locale = env("LC_MESSAGES");
    if (locale.isEmpty())
        locale = env("LANG");
    const bool plainC = locale.isEmpty() || locale == QLatin1String("C") ||
                        locale == QLatin1String("POSIX") || locale.startsWith(QLatin1String("C."));
    if (!plainC)
        for (const QString& l : env("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            const QString s = supportedLanguage(l);
            if (s != QLatin1String("en") || l.startsWith(QLatin1String("en")))
                return s;
        }
    return plainC ? QStringLiteral("en") : supportedLanguage(locale);
}

QString chosenLanguage() {
    const std::optional<QString> chosen = UserOptions::language();
    for (const Language& l : languages())
        if (chosen && *chosen == QLatin1String(l.code))
            return *chosen;
    return desktopLanguage();
}

QString installLanguage(const QString& code) {
    static std::unique_ptr<QTranslator> own, qt;
    for (auto* t : {&own, &qt})
        if (*t) {
            QCoreApplication::removeTranslator(t->get());
            t->reset();
        }
    current = QStringLiteral("en");
    if (code != QLatin1String("en")) {
        auto mine = std::make_unique<QTranslator>();
        if (mine->load(QStringLiteral(":/i18n/pictaro_%1.qm").arg(code))) {
            current = code;
            auto theirs = std::make_unique<QTranslator>();
            // Qt's file dialogs and buttons, where the system has their translation.
            if (theirs->load(QStringLiteral("qtbase_") + code,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
                QCoreApplication::installTranslator(theirs.get());
                qt = std::move(theirs);
            }
            QCoreApplication::installTranslator(mine.get());
            own = std::move(mine);
        }
    }
    return current;
}

QString currentLanguage() {
    return current;
}

QString localPrompt(const QString& name) {
    if (current == QLatin1String("en") || !name.startsWith(QLatin1String("en_")))
        return name;
    const QString local = current + QLatin1Char('/') + name.mid(3);
    return QFileInfo::exists(voicePath(current, name.mid(3))) ? local : name;
}
