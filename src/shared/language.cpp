// The language the game speaks, and its catalogs read through GNU gettext.
#include "shared/language.h"

#include <libintl.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/settings.h"

const Language Languages[LanguageCount] = {
    {"en", "English"},
    {"de", "Deutsch"},
};
int CurrentLanguage = 0;

namespace {

// The catalogs' name: "<locale folder>/<code>/LC_MESSAGES/pelmaro.mo".
const char* const CatalogName = "pelmaro";
// The catalogs' folder, beside the pictures in the build's data folder; an installed game's is
// the system's locale folder, seen from its data folder.
const char* const LocaleFromData = PELMARO_LOCALE_FROM_DATA;

// The desktop's LANGUAGE, kept from before the game first set its own; SpeakLanguage sets it.
bool LanguageListKept = false;
std::string DesktopLanguageList;

// The language of a locale or language name: "de_DE.UTF-8@euro" gives "de".
std::string LanguagePart(const std::string& name) {
    return name.substr(0, name.find_first_of("_.@"));
}

// The index into Languages of a language or locale name; -1 when the game does not speak it.
int LanguageNamed(const std::string& name) {
    const std::string code = LanguagePart(name);
    for (int i = 0; i < LanguageCount; ++i) {
        if (code == Languages[i].Code) return i;
    }
    return -1;
}

// The folder the catalogs are read from, as an absolute path.
std::string LocaleFolder() {
    return platform::FullPath(platform::DataFolder.empty() ? std::string("locale")
                                                           : platform::DataFolder + LocaleFromData);
}

// Points gettext at the catalog of Languages[language]: its messages follow LANGUAGE as long as
// the messages' locale is not "C", so that locale is set to C.UTF-8, which every system has and
// which leaves numbers and letters as they were. Naming the catalog again tells gettext to forget
// the words it found before.
void SpeakLanguage(int language) {
    if (!LanguageListKept) {
        DesktopLanguageList = platform::EnvironmentValue("LANGUAGE");
        LanguageListKept = true;
    }
    CurrentLanguage = language;
    setenv("LANGUAGE", Languages[language].Code, 1);
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) std::setlocale(LC_MESSAGES, "");
    textdomain(CatalogName);
}

}  // namespace

int DesktopLanguage() {
    std::string locale = platform::EnvironmentValue("LC_ALL");
    if (locale.empty()) locale = platform::EnvironmentValue("LC_MESSAGES");
    if (locale.empty()) locale = platform::EnvironmentValue("LANG");
    if (locale.empty() || locale == "C" || locale == "POSIX") return 0;
    std::string list =
        (LanguageListKept ? DesktopLanguageList : platform::EnvironmentValue("LANGUAGE")) + ":" +
        locale;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const int found = LanguageNamed(list.substr(start, end - start));
        if (found >= 0) return found;
        start = end + 1;
    }
    return 0;
}

void ChooseLanguage() {
    bindtextdomain(CatalogName, LocaleFolder().c_str());
    bind_textdomain_codeset(CatalogName, "UTF-8");
    const int chosen = LanguageNamed(platform::Setting(LanguageSetting));
    SpeakLanguage(chosen >= 0 ? chosen : DesktopLanguage());
}

void PickLanguage(int language) {
    SpeakLanguage(language);
    platform::ChangeSetting(LanguageSetting, Languages[language].Code);
}

const char* Translated(const char* words) { return dgettext(CatalogName, words); }

const char* TranslatedIn(const char* context, const char* words) {
    const std::string key = std::string(context) + '\004' + words;
    const char* found = dgettext(CatalogName, key.c_str());
    return found == key.c_str() ? words : found;
}

std::string TranslatedSentence(const char* pattern, ...) {
    const char* format = Translated(pattern);
    va_list arguments;
    va_start(arguments, pattern);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    return text.data();
}
