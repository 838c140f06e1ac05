#include "core/base/usertext.h"

#include <map>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo {

namespace {

struct Translations {
    std::mutex lock;
    TextTranslator translator;
    // By the English text; a node keeps its place, so a translation handed out stays valid.
    std::map<std::string, std::string, std::less<>> known;
    // Those of earlier translators, kept for the pointers handed out before the change.
    std::vector<std::map<std::string, std::string, std::less<>>> retired;
};

Translations& translations() {
    static Translations instance;
    return instance;
}

} // namespace

void setTextTranslator(TextTranslator translator) {
    Translations& t = translations();
    const std::lock_guard guard(t.lock);
    t.translator = std::move(translator);
    if (!t.known.empty()) {
        t.retired.push_back(std::move(t.known));
        t.known.clear();
    }
}

namespace {

// The translation of `text`, asked of the translator the first time only; null without one.
const std::string* translation(std::string_view text) {
    Translations& t = translations();
    const std::lock_guard guard(t.lock);
    if (!t.translator) {
        return nullptr;
    }
    auto found = t.known.find(text);
    if (found == t.known.end()) {
        std::string key(text);
        std::string translated = t.translator(key.c_str());
        found = t.known.emplace(std::move(key), std::move(translated)).first;
    }
    return &found->second;
}

} // namespace

const char* tx(const char* text) {
    const std::string* translated = translation(text);
    return translated ? translated->c_str() : text;
}

std::string_view tx(std::string_view text) {
    const std::string* translated = translation(text);
    return translated ? std::string_view(*translated) : text;
}

} // namespace vsolo
