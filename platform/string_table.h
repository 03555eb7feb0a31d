#pragma once

#include <QString>

namespace platform {

// Language identifiers as the system's language tables know them.
enum LanguageId : int {
    LANG_ENGLISH_US = 1033,
    LANG_GERMAN = 1031,
    LANG_SPANISH = 1034,
    LANG_FRENCH = 1036,
    LANG_ITALIAN = 1040,
    LANG_KOREAN = 1042,
    LANG_RUSSIAN = 1049,
    LANG_CHINESE_SIMPLIFIED = 2052,
};

// The system language, taken from the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
int SystemLanguageId();
bool IsChineseSystem();

// Replaces the detected language until the guard ends (tests, and users who ask for it).
class ScopedLanguage {
public:
    explicit ScopedLanguage(int languageId);
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    int m_previous;
};

// The text of a string-table entry in the current language. Chinese texts that are missing
// fall back to English; an unknown id gives an empty string.
//
// The tables are the files ":/strings/*.tsv" that the program links in (res/ or res2/):
// one entry per line, "id<TAB>English<TAB>Chinese", with \n, \r, \t and \\ escapes and
// '#' comment lines.
QString LoadString(int id);

// True when the linked tables define the id.
bool HasString(int id);

} // namespace platform
