#include "mailbridge/parse/errortexts.h"

#include "core/base/usertext.h"

namespace vsolo::mail {

namespace {

struct CodeText {
    unsigned long code;
    const char* text;
};

constexpr CodeText kCodeTexts[] = {
    {1, VSOLO_TR("E-mail has not been sent.")},
    {2, VSOLO_TR("General MAPI Failure")},
    {3, VSOLO_TR("MAPI login procedure failed")},
    {4, VSOLO_TR("An error occurred because the hard drive is running out of space")},
    {5, VSOLO_TR("MAPI is encountering low memory problems")},
    {8, VSOLO_TR("MAPI has too many sessions open")},
    {9, VSOLO_TR("There are too many attachments")},
    {14, VSOLO_TR("The recipient does not exist")},
    {15, VSOLO_TR("MAPI recipient type was invalid")},
    {17, VSOLO_TR("The message is not valid")},
    {18, VSOLO_TR("The text in the message is too long")},
    {19, VSOLO_TR("Invalid MAPI session")},
    {25, VSOLO_TR("One or more recipients are invalid")},
};
// Every other code's.
constexpr const char* kGeneralText = VSOLO_TR("A general MAPI error has occurred");

constexpr std::string_view kCauseSeparator = ": ";

// Whether `shown` is `text`, alone or followed by a cause.
bool isTextOf(std::string_view shown, std::string_view text) {
    return shown.starts_with(text) &&
           (shown.size() == text.size() || shown.substr(text.size()).starts_with(kCauseSeparator));
}

// `shown`, which starts with `text`, with that text in the user's language.
std::string withTextTranslated(std::string_view shown, const char* text) {
    return tx(text) + std::string(shown.substr(std::string_view(text).size()));
}

} // namespace

const char* errorText(unsigned long code) {
    // Success, and "no messages": the end of a search, not a fault.
    if (code == 0 || code == 16) {
        return nullptr;
    }
    for (const CodeText& known : kCodeTexts) {
        if (known.code == code) {
            return known.text;
        }
    }
    return kGeneralText;
}

std::optional<std::string> errorText(unsigned long code, std::string_view cause) {
    const char* text = errorText(code);
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string shown = text;
    if (!cause.empty()) {
        shown.append(kCauseSeparator).append(cause);
    }
    return shown;
}

std::string inUserLanguage(std::string_view shown) {
    for (const CodeText& known : kCodeTexts) {
        if (isTextOf(shown, known.text)) {
            return withTextTranslated(shown, known.text);
        }
    }
    return isTextOf(shown, kGeneralText) ? withTextTranslated(shown, kGeneralText)
                                         : std::string(shown);
}

} // namespace vsolo::mail
