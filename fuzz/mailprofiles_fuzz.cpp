// Reads mail profile files: the INI text of a profile book, and the same bytes as one Store or
// Transport value. Whatever is accepted must be a usable endpoint.
#include "mailbridge/parse/profiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace vsolo::mail;

constexpr std::string_view kHome = "/home/fuzz";

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
}

bool isClean(std::string_view text) {
    return std::none_of(text.begin(), text.end(), isControl) &&
           text.find(' ') == std::string_view::npos;
}

// "127." and three more decimal octets of at most three digits each.
bool isDottedLoopback(std::string_view text) {
    return text.starts_with("127.") && text.size() <= 15 &&
           std::count(text.begin(), text.end(), '.') == 3 &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

void checkEndpoint(const Endpoint& endpoint) {
    if (endpoint.isNetwork()) {
        require(!endpoint.host.empty() && isClean(endpoint.host) && isClean(endpoint.user));
        require(endpoint.path.empty());
        if (!mayAuthenticate(endpoint, false)) {
            require(!isLoopbackHost(endpoint.host));
        }
    } else {
        require(endpoint.path.starts_with('/') && endpoint.host.empty() && endpoint.port == 0);
        require(std::none_of(endpoint.path.begin(), endpoint.path.end(), isControl));
        require(mayAuthenticate(endpoint, false));
    }
}

void checkProfile(const MailProfile& profile) {
    checkEndpoint(profile.store);
    checkEndpoint(profile.transport);
    require(profile.store.scheme == Endpoint::Scheme::Maildir ||
            profile.store.scheme == Endpoint::Scheme::Imap ||
            profile.store.scheme == Endpoint::Scheme::Imaps);
    require(profile.caFile.empty() || profile.caFile.starts_with('/'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    ProfileBook book;
    const bool read = book.parse(text, kHome);
    const auto fallback = book.find("");
    if (!read) {
        require(fallback == builtInProfile(kHome));
    }
    if (fallback) {
        checkProfile(*fallback);
    }
    const std::string_view name = text.substr(0, std::min<std::size_t>(text.find('\n'), 16));
    if (const auto named = name.empty() ? std::nullopt : book.find(name); named) {
        require(read);
        checkProfile(*named);
    }

    for (const bool isStore : {true, false}) {
        if (const auto endpoint = parseEndpoint(text, isStore, kHome); endpoint) {
            checkEndpoint(*endpoint);
        }
    }
    if (isLoopbackHost(text)) {
        require(isDottedLoopback(text) || text == "::1" || text == "[::1]" ||
                (text.size() == 9 && std::equal(text.begin(), text.end(), "localhost",
                                                [](char a, char b) { return (a | 0x20) == b; })));
    }
    (void)profileBookPath(std::string(text).c_str(), kHome);
    return 0;
}
