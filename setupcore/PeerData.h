#pragma once
// Reading the data another program sends over DDE: the text of an execute or a poke, which the
// server then splits into lines by the text list's rules. The peer decides what its data holds;
// only the size that DDEML reports for it is trusted.
#include <cstddef>
#include <optional>
#include <string>

namespace setupcore {

// The zero-terminated text in size bytes of a peer's data: data without a terminating zero ends
// at its last byte. Nothing when the data holds no byte at all (or there is none).
std::optional<std::string> PeerDataText(const void* data, std::size_t size);

}  // namespace setupcore
