#include "core/base/digest.h"

#include <algorithm>
#include <cstring>

namespace vsolo {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ull;

constexpr std::uint64_t rotl(std::uint64_t v, int bits) {
    return (v << bits) | (v >> (64 - bits));
}

std::uint64_t load64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

constexpr std::uint64_t round(std::uint64_t lane, std::uint64_t word) {
    return rotl(lane + word * kPrime2, 31) * kPrime1;
}

// Spreads every input bit over every output bit.
constexpr std::uint64_t avalanche(std::uint64_t v) {
    v ^= v >> 33;
    v *= 0xFF51AFD7ED558CCDull;
    v ^= v >> 33;
    v *= 0xC4CEB9FE1A85EC53ull;
    v ^= v >> 33;
    return v;
}

} // namespace

void ContentDigest::block(const unsigned char* p) {
    for (int i = 0; i < 4; ++i) {
        m_lanes[i] = round(m_lanes[i], load64(p + 8 * i));
    }
}

void ContentDigest::add(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    m_length += size;
    if (m_pendingSize > 0) {
        const std::size_t take = std::min(size, sizeof m_pending - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, p, take);
        m_pendingSize += take;
        p += take;
        size -= take;
        if (m_pendingSize < sizeof m_pending) {
            return;
        }
        block(m_pending);
        m_pendingSize = 0;
    }
    // The lanes stay in registers over the whole run of blocks.
    std::uint64_t a = m_lanes[0];
    std::uint64_t b = m_lanes[1];
    std::uint64_t c = m_lanes[2];
    std::uint64_t d = m_lanes[3];
    for (; size >= 32; p += 32, size -= 32) {
        a = round(a, load64(p));
        b = round(b, load64(p + 8));
        c = round(c, load64(p + 16));
        d = round(d, load64(p + 24));
    }
    m_lanes[0] = a;
    m_lanes[1] = b;
    m_lanes[2] = c;
    m_lanes[3] = d;
    std::memcpy(m_pending, p, size);
    m_pendingSize = size;
}

Digest ContentDigest::value() const {
    std::uint64_t a = m_lanes[0];
    std::uint64_t b = m_lanes[1];
    std::uint64_t c = m_lanes[2];
    std::uint64_t d = m_lanes[3];
    for (std::size_t i = 0; i < m_pendingSize; ++i) {
        const std::uint64_t byte = m_pending[i];
        a = rotl(a ^ (byte * kPrime3), 11) * kPrime1;
        c = rotl(c + (byte * kPrime1), 23) * kPrime2;
    }
    const std::uint64_t mixed = rotl(a, 1) + rotl(b, 7) + rotl(c, 12) + rotl(d, 18);
    Digest out;
    out.high = avalanche(mixed ^ m_length);
    out.low = avalanche((a ^ rotl(d, 29)) + (b ^ rotl(c, 41)) * kPrime3 + m_length * kPrime2);
    return out;
}

Digest ContentDigest::of(std::string_view bytes) {
    ContentDigest digest;
    digest.add(bytes);
    return digest.value();
}

void TrailingDigest::add(const char* bytes, std::size_t size) {
    if (size >= m_holdBack) {
        m_digest.add(m_held);
        m_digest.add(bytes, size - m_holdBack);
        m_held.assign(bytes + size - m_holdBack, m_holdBack);
        return;
    }
    m_held.append(bytes, size);
    if (m_held.size() > m_holdBack) {
        const std::size_t over = m_held.size() - m_holdBack;
        m_digest.add(m_held.data(), over);
        m_held.erase(0, over);
    }
}

bool TrailingDigest::finish(std::uint64_t length, Digest& out) {
    if (length < m_digest.length() || length > seen()) {
        return false;
    }
    m_digest.add(m_held.data(), static_cast<std::size_t>(length - m_digest.length()));
    m_held.clear();
    out = m_digest.value();
    return true;
}

} // namespace vsolo
