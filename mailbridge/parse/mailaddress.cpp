#include "mailbridge/parse/mailaddress.h"

namespace vsolo::mail {
namespace {

constexpr std::size_t kMaxAddrSpec = 254; // what SMTP carries in a path
constexpr std::size_t kMaxLocalPart = 64;
constexpr std::size_t kMaxLabel = 63;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(char c) {
    return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
}

bool isLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The characters of an atom besides letters and digits.
bool isAtext(char c) {
    return isLetterOrDigit(c) ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Atoms joined by single dots, no dot first or last.
bool isDotAtom(std::string_view text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.' ? text[i - 1] == '.' : !isAtext(text[i])) {
            return false;
        }
    }
    return true;
}

// Labels of letters, digits and inner hyphens, joined by single dots.
bool isHostName(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('.', start);
        const std::string_view label = text.substr(start, end - start);
        if (label.empty() || label.size() > kMaxLabel || label.front() == '-' ||
            label.back() == '-') {
            return false;
        }
        for (const char c : label) {
            if (!isLetterOrDigit(c) && c != '-') {
                return false;
            }
        }
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

std::optional<MailAddress> addrSpecOf(std::string_view text) {
    const std::size_t at = text.rfind('@');
    if (text.size() > kMaxAddrSpec || at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view local = text.substr(0, at);
    const std::string_view domain = text.substr(at + 1);
    if (local.size() > kMaxLocalPart || !isDotAtom(local) || !isHostName(domain)) {
        return std::nullopt;
    }
    return MailAddress{"", std::string(local), std::string(domain)};
}

// Words, dots, blanks and quoted strings; what a name may not hold unquoted (",", ";", "@",
// "<", brackets, parentheses) would make it a list or another address.
std::optional<std::string> displayNameOf(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && ++i == text.size()) {
                    return std::nullopt;
                }
                if (isControl(text[i])) {
                    return std::nullopt;
                }
                name += text[i];
            }
            if (i == text.size()) {
                return std::nullopt; // the quote is not closed
            }
        } else if (isBlank(c) || isAtext(c) || c == '.' || static_cast<unsigned char>(c) >= 0x80) {
            name += c;
        } else {
            return std::nullopt;
        }
    }
    return std::string(trimmed(name));
}

} // namespace

std::optional<MailAddress> parseMailAddress(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.back() != '>') {
        return addrSpecOf(text);
    }
    // No address holds "<", so the last one opens it; a quoted name may hold more.
    const std::size_t open = text.rfind('<');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<MailAddress> address =
        addrSpecOf(trimmed(text.substr(open + 1, text.size() - open - 2)));
    const std::optional<std::string> name = displayNameOf(text.substr(0, open));
    if (!address || !name) {
        return std::nullopt;
    }
    address->displayName = *name;
    return address;
}

std::string refusedAddressCause(std::string_view text, bool sender) {
    if (trimmed(text).empty()) {
        return sender ? "the sender's address is empty" : "a recipient's address is empty";
    }
    // Appended piece by piece: a text put in front of a temporary trips GCC 12's -Wrestrict.
    std::string cause = "\"";
    cause += text;
    return cause + "\" is not one e-mail address";
}

} // namespace vsolo::mail
