// Little-endian reading and writing of file records. A read past the end of the data is
// the program's "Stream read error".
#pragma once

#include "common/bit_cast.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace plakett {

inline constexpr const char* kStreamReadError = "Stream read error";

class StreamReadError : public std::runtime_error {
  public:
    StreamReadError() : std::runtime_error(kStreamReadError) {}
    // The standard text followed by where it happened.
    explicit StreamReadError(const std::string& where)
        : std::runtime_error(std::string(kStreamReadError) + " " + where) {}
};

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    std::span<const std::uint8_t> rest() const { return m_data.subspan(m_pos); }

    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (n > remaining()) throw StreamReadError();
        const auto out = m_data.subspan(m_pos, n);
        m_pos += n;
        return out;
    }
    void skip(std::size_t n) { bytes(n); }
    std::uint8_t u8() { return bytes(1)[0]; }
    std::uint16_t u16() {
        const auto b = bytes(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t u32() {
        const auto b = bytes(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    float f32() { return bitCast<float>(u32()); }

  private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

class ByteWriter {
  public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    void bytes(std::span<const std::uint8_t> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }
    void u8(std::uint8_t v) { m_out.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            u8(static_cast<std::uint8_t>(v >> shift));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { u32(bitCast<std::uint32_t>(v)); }

  private:
    std::vector<std::uint8_t>& m_out;
};

} // namespace plakett
