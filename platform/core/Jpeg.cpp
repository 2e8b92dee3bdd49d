#include "Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>

#include "Exceptions.h"
#include "FileStream.h"

namespace {

// libjpeg's default error handler calls exit(); ours jumps back to the encoder instead.
struct JumpingErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
};

void JumpOnError(j_common_ptr cinfo)
{
  std::longjmp(reinterpret_cast<JumpingErrorManager*>(cinfo->err)->Jump, 1);
}

void IgnoreMessage(j_common_ptr)
{
}

// Plain C-style so that the longjmp skips no destructor. On success the caller
// owns *out (malloc'ed by libjpeg).
bool Compress(const uint8_t* pixels, int width, int height, int stride, int quality, unsigned char** out,
              unsigned long* outSize)
{
  jpeg_compress_struct cinfo;
  JumpingErrorManager error;
  cinfo.err = jpeg_std_error(&error.Base);
  error.Base.error_exit = JumpOnError;
  error.Base.output_message = IgnoreMessage;
  *out = nullptr;
  *outSize = 0;
  if (setjmp(error.Jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(*out);
    *out = nullptr;
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, outSize);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // libjpeg takes non-const rows but only reads them.
    JSAMPROW row =
        const_cast<JSAMPROW>(pixels + static_cast<size_t>(cinfo.next_scanline) * static_cast<size_t>(stride));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeJpegRgb(const uint8_t* pixels, int width, int height, int stride, int quality)
{
  if (!pixels || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION ||
      static_cast<int64_t>(stride) < static_cast<int64_t>(width) * 3)
    return {};
  quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  if (!Compress(pixels, width, height, stride, quality, &out, &outSize))
    return {};
  const std::unique_ptr<unsigned char, decltype(&std::free)> owned(out, &std::free);
  return std::vector<uint8_t>(out, out + outSize);
}

bool SaveJpegRgbToFile(const AnsiString& fileName, const uint8_t* pixels, int width, int height, int stride,
                       int quality)
{
  const std::vector<uint8_t> bytes = EncodeJpegRgb(pixels, width, height, stride, quality);
  if (bytes.empty())
    return false;
  try {
    TFileStream file(fileName, fmCreate);
    if (file.Write(bytes.data(), static_cast<int32_t>(bytes.size())) != static_cast<int32_t>(bytes.size()))
      return false;
    return file.Close();
  } catch (const EStreamError&) {
    return false;
  }
}
