// The language the game speaks: chosen by the player or taken from the desktop, and the words
// drawn at run time looked up in that language's catalog.
#pragma once

#include <string>

// ---- Languages ----
// A language the game speaks: its catalog's code ("de") and its name in itself ("Deutsch").
struct Language {
    const char* Code;
    const char* OwnName;
};
// How many languages the game speaks.
constexpr int LanguageCount = 2;
// The languages the game speaks, English (the words as written in the code) first.
extern const Language Languages[LanguageCount];
// The language spoken now, an index into Languages; 0 (English) until ChooseLanguage.
extern int CurrentLanguage;
// The key of the player's choice in the settings file.
constexpr const char* LanguageSetting = "language";

// Called by ChooseLanguage (and tests): the language the desktop asks for, read as gettext reads
// it: LC_ALL, else LC_MESSAGES, else LANG names the locale; unless that is "C" or "POSIX", the
// languages listed in LANGUAGE (separated by ':') come first, then the locale's own; the first of
// those the game speaks, else English.
int DesktopLanguage();

// Called once at start-up after the settings are read, before any word is drawn: the player's
// choice kept in the settings when it names a language the game speaks, else the desktop's.
void ChooseLanguage();

// Called by the Options card when the player picks a language: speaks it from now on and keeps
// the choice in the settings file.
void PickLanguage(int language);

// Called wherever words are shown to the player: the words, written in English in the code, in the
// language spoken now (the English words when its catalog lacks them).
const char* Translated(const char* words);

// Called where the same English words mean different things: `words` as Translated gives them,
// told apart by `context` in the catalogs.
const char* TranslatedIn(const char* context, const char* words);

// Called for sentences with numbers or names in them: the pattern in the language spoken now,
// filled in by printf's rules; the catalogs may reorder the arguments ("%2$s ... %1$d").
std::string TranslatedSentence(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
