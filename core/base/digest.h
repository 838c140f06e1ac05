#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vsolo {

// A 128-bit fingerprint of bytes, for telling whether a file still holds what was read from it
// and whether two records are the same. It guards against accidents, not against an attacker:
// two different inputs have the same digest with a chance too small to matter (about 2^-128).
struct Digest {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    auto operator<=>(const Digest&) const = default;
};

// Digests bytes given in pieces of any size; the same bytes give the same digest however they are
// cut. Fast enough to run beside reading a file (several bytes per cycle).
class ContentDigest {
public:
    void add(std::string_view bytes);
    void add(const char* bytes, std::size_t size) { add(std::string_view(bytes, size)); }
    std::uint64_t length() const { return m_length; }
    Digest value() const;

    static Digest of(std::string_view bytes);

private:
    void block(const unsigned char* p);

    std::uint64_t m_lanes[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                                0x082EFA98EC4E6C89ull};
    unsigned char m_pending[32] = {};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_length = 0;
};

// Digests a stream of bytes up to a point that is known only at its end: the last `holdBack`
// bytes seen are kept aside until finish() says how far the digest reaches. For a file read to
// its end, whose last bytes may turn out to be a record cut short that the digest must not cover.
class TrailingDigest {
public:
    explicit TrailingDigest(std::size_t holdBack) : m_holdBack(holdBack) {}
    void add(const char* bytes, std::size_t size);
    std::uint64_t seen() const { return m_digest.length() + m_held.size(); }
    // The digest of the first `length` bytes seen; false when that is more than was seen or
    // reaches back past what was held.
    bool finish(std::uint64_t length, Digest& out);

private:
    std::size_t m_holdBack;
    ContentDigest m_digest;
    std::string m_held;
};

} // namespace vsolo
