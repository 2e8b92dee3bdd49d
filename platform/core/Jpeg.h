#pragma once
// JPEG encoding of RGB pixels through libjpeg (baseline, libjpeg's default sampling).
#include <cstdint>
#include <vector>

#include "System.h"

// `pixels` holds `height` rows of `width` R,G,B byte triples, rows `stride` bytes apart.
// Quality 1..100 (clamped). Returns the JPEG file's bytes; empty on any failure.
std::vector<uint8_t> EncodeJpegRgb(const uint8_t* pixels, int width, int height, int stride, int quality);

// Encodes and writes the file; false when encoding or writing failed.
bool SaveJpegRgbToFile(const AnsiString& fileName, const uint8_t* pixels, int width, int height, int stride,
                       int quality);
