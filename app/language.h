#pragma once
// The language the windows speak and the prompts are spoken in: the desktop's by default,
// or the one chosen in Options (per-user key "language").
#include <QString>
#include <vector>

struct Language {
    const char* code;       // as the translation and voice files are named
    const char* nativeName; // in its own words, never translated
};
// English first; every other one has a translation and a voice folder.
const std::vector<Language>& languages();

// The supported language nearest to a locale name such as "de_AT.UTF-8" or "pt"; "en" if none.
QString supportedLanguage(const QString& localeName);
// The desktop's language: LANGUAGE (its first entry), then LC_ALL, LC_MESSAGES, LANG.
QString desktopLanguage();
// The language in use: the chosen one if supported, else the desktop's.
QString chosenLanguage();
// Installs the translations of a language (Qt's own too, where installed); every window gets
// a LanguageChange event. Returns the language installed.
QString installLanguage(const QString& code);
QString currentLanguage();
// The resource of a prompt in the current language: "en_red" -> "ru/red" when that voice
// exists, else the name as given.
QString localPrompt(const QString& name);

inline const QString kLanguageKey = QStringLiteral("language");
