#pragma once
// Texts are UTF-8 inside; fixed-size buffers and character limits must not cut or
// count a character by its bytes.
#include <cstddef>
#include <string_view>

// The number of leading bytes of text that fit in maxBytes without cutting a character.
std::size_t Utf8FittingLength(std::string_view text, std::size_t maxBytes);

// Copies as much of text as fits into buffer (size bytes, terminating NUL included) and
// terminates it; returns the bytes copied. A null buffer or size <= 0 copies nothing.
int CopyUtf8ToBuffer(std::string_view text, char* buffer, int size);

// The number of characters (not bytes) of text.
int Utf8CharacterCount(std::string_view text);
