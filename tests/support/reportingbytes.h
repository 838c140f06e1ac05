#pragma once

// The reporting tool's file and the tracker's template and transaction files, field by field as
// the readers expect them (see bytebuilder.h).

#include "tests/support/bytebuilder.h"
#include "tests/support/tempdir.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace vsolo::testing {

inline ByteBuilder& real(ByteBuilder& b, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i) {
        b.u8(static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF));
    }
    return b;
}

inline ByteBuilder vsrHeader() {
    ByteBuilder b;
    b.i32(1).fixed("Veltimo Solo Reports", 25);
    return b;
}

inline ByteBuilder templateHeader(std::int32_t count, std::int32_t version = 4) {
    ByteBuilder b;
    b.i32(version).fixed("Veltimo Solo File", 25).i32(100).i32(100).zeros(63).i32(count);
    return b;
}

inline void templateItem(ByteBuilder& b, std::int32_t group, std::int32_t parent, std::int32_t sub,
                         std::int32_t depth, std::uint8_t level, const std::string& name) {
    b.i32(group).i32(parent).i32(sub).i32(depth).u8(1).u8(level).u16(0);
    b.counted(name).counted("about " + name).counted(" ");
}

inline ByteBuilder transactionHeader(std::int32_t version = 4,
                                     const std::string& type = "Transaction File") {
    ByteBuilder b;
    b.i32(version).fixed(type, 25);
    return b;
}

inline void transactionRecord(ByteBuilder& b, std::int32_t group, std::int32_t sub,
                              const std::string& date, const std::string& start,
                              const std::string& end, std::int32_t sent = 0) {
    b.i32(group).i32(sub).fixed(date, 11).fixed(start, 6).fixed(end, 6).i32(sent);
    b.counted("work");
}

inline void writeBytes(const std::string& path, const ByteBuilder& bytes) {
    writeBytes(path, std::string_view(bytes.bytes()));
}

} // namespace vsolo::testing
