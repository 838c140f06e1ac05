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

const char* tx(const char* text) {
    Translations& t = translations();
    const std::lock_guard guard(t.lock);
    if (!t.translator) {
        return text;
    }
    auto found = t.known.find(std::string_view(text));
    if (found == t.known.end()) {
        found = t.known.emplace(text, t.translator(text)).first;
    }
    return found->second.c_str();
}

} // namespace vsolo
