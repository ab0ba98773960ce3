#pragma once
// Reads a device-independent bitmap: a .bmp file, or the packed form a bitmap
// resource holds (the same without the 14-byte file header). Every field is
// read by itself and every read is bounded by the bytes given.
#include "framework/core/CString.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

// The pixels as Format_RGB32, or a null image and a reason in error.
QImage GdiReadBmp(const std::uint8_t* data, std::size_t size, CString& error);
