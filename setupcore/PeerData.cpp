#include "setupcore/PeerData.h"

#include <cstring>

namespace setupcore {

std::optional<std::string> PeerDataText(const void* data, std::size_t size) {
  if (!data || size == 0) return std::nullopt;
  const char* bytes = static_cast<const char*>(data);
  const void* zero = std::memchr(bytes, 0, size);
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  return std::string(bytes, length);
}

}  // namespace setupcore
