// database/int32_cast.h: toInt32, the one narrowing from the interface's `long` to the signed
// 32-bit handles, flags and counts that database objects store. Header-only, touches nothing.
// Values wrap modulo 2^32 exactly as a 32-bit caller's long would; they never saturate.
#pragma once

#include <cstdint>

namespace veltcore::detail {

// The low 32 bits read as two's complement. Only unsigned conversions are used, so the result is
// defined by the language rather than by the compiler.
inline std::int32_t toInt32(std::int64_t v) {
  const std::uint32_t low = static_cast<std::uint32_t>(v);
  if (low <= 0x7fffffffu) return static_cast<std::int32_t>(low);
  return static_cast<std::int32_t>(static_cast<std::int64_t>(low) - 0x100000000LL);
}

}  // namespace veltcore::detail
