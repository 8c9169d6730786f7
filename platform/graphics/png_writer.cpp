#include "platform/graphics/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vtrak {
namespace {

struct PngErrorText {
  char text[256];
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<PngErrorText*>(png_get_error_ptr(png));
  std::snprintf(error->text, sizeof(error->text), "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame across setjmp; the row buffer belongs
// to the caller.
bool Encode(std::FILE* file, const uint32_t* argb, int width, int height, uint8_t* row,
            PngErrorText& error) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  if (png == nullptr) {
    std::snprintf(error.text, sizeof(error.text), "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* source = argb + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(source[x] >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(source[x]);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const uint32_t* argb, int width, int height,
              std::string* error) {
  const auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = "cannot write PNG file " + path + ": " + reason;
    return false;
  };
  if (argb == nullptr || width <= 0 || height <= 0) return fail("no picture to write");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return fail(std::strerror(errno));
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3u);
  PngErrorText pngError{};
  const bool encoded = Encode(file, argb, width, height, row.data(), pngError);
  const bool closed = std::fclose(file) == 0;
  if (!encoded) return fail(pngError.text);
  if (!closed) return fail(std::strerror(errno));
  return true;
}

}  // namespace vtrak
