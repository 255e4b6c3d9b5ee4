#include "ui/text.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>

extern "C" int _nl_msg_cat_cntr; // glibc: bumped so that a changed LANGUAGE is looked up anew

namespace vezer::ui {

namespace {

constexpr const char* kDomain = "vezer";
int g_language = kHungarian;

} // namespace

void SetInterfaceLanguage(const std::string& gameDir, int language) {
    // gettext ignores LANGUAGE under the plain "C" locale; C.UTF-8 is always there.
    const char* current = std::setlocale(LC_MESSAGES, nullptr);
    if (current == nullptr || std::strcmp(current, "C") == 0 || std::strcmp(current, "POSIX") == 0)
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    bindtextdomain(kDomain, (gameDir + "/locale").c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    setenv("LANGUAGE", language == kEnglish ? "en" : "hu", 1);
    ++_nl_msg_cat_cntr;
    g_language = language == kEnglish ? kEnglish : kHungarian;
}

int InterfaceLanguage() {
    return g_language;
}

const char* Tr(const char* hungarian) {
    if (g_language != kEnglish) return hungarian;
    return dgettext(kDomain, hungarian);
}

} // namespace vezer::ui
