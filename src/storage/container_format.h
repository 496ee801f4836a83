#pragma once

#include <optional>
#include <string>
#include <string_view>

// The container form of a text file: the 24-byte "ESTREAM" header, then the
// text, padded with NULs to whole 8-byte blocks, compressed and/or enciphered
// and checksummed.

// Only files longer than the header with the exact magic are containers.
bool IsContainer(std::string_view bytes);

// The text a container holds (with its NUL padding). Throws Exception naming
// the reason when it cannot be read: a password is missing, the checksum does
// not match, or the compressed stream is corrupt.
std::string ReadContainer(std::string_view bytes, const std::string& password);

// The container holding text; nothing when the plain form will do: no
// compression that pays, no usable password, and a text that does not begin
// like a container itself.
std::optional<std::string> WriteContainer(std::string_view text, bool compressed, bool encrypted,
                                          const std::string& password);
