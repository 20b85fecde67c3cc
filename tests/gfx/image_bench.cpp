// Decoding speed of the formats the program and its users load: a glyph
// sheet sized TGA (plain and run-length), a 24-bit BMP, an RGBA PNG, and a
// compressed block round trip.
#include <benchmark/benchmark.h>
#include <png.h>

#include "engine/core/log.h"
#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"

using namespace gfx_test;

namespace {

Bytes Tga32(int size, bool runLength) {
  Bytes b = {0, 0, static_cast<uint8_t>(runLength ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PutLE16(b, size);
  PutLE16(b, size);
  b.push_back(32);
  b.push_back(0x28);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; x += runLength ? 8 : 1) {
      if (runLength) b.push_back(0x87);
      b.insert(b.end(), {255, 255, 255, static_cast<uint8_t>((x / 8 + y) & 1 ? 255 : 0)});
    }
  return b;
}

Bytes Bmp24(int size) {
  Bytes b = {'B', 'M'};
  PutLE32(b, 0);
  PutLE32(b, 0);
  PutLE32(b, 54);
  PutLE32(b, 40);
  PutLE32(b, size);
  PutLE32(b, size);
  PutLE16(b, 1);
  PutLE16(b, 24);
  for (int i = 0; i < 6; ++i) PutLE32(b, 0);
  for (int i = 0; i < size * size * 3; ++i) b.push_back(static_cast<uint8_t>(i * 7));
  return b;
}

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

Bytes PngRgba(int size) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  Bytes row(size * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size * 4; ++x) row[x] = static_cast<uint8_t>(x * y);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void Decode(benchmark::State& state, const Bytes& bytes) {
  MainLog().SetConsole(false);
  LifecycleLog().SetConsole(false);
  auto file = MemoryStream(bytes);
  for (auto _ : state) {
    file->Rewind();
    CRefCountPtrT<Image> image;
    if (!DecodeImage(*file, image)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Tga32Sheet(benchmark::State& state) { Decode(state, Tga32(256, false)); }
void BM_Tga32RunLength(benchmark::State& state) { Decode(state, Tga32(256, true)); }
void BM_Bmp24(benchmark::State& state) { Decode(state, Bmp24(256)); }
void BM_PngRgba(benchmark::State& state) { Decode(state, PngRgba(static_cast<int>(state.range(0)))); }

void BM_BlockRoundTrip(benchmark::State& state) {
  Bytes data(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i * 31) ^ (i >> 7));
  Bytes back(data.size());
  for (auto _ : state) {
    CRefCountPtrT<IVekFileBase> file;
    file.Adopt(new MemoryFile());
    file->Open("bench", IVekFileBase::ModeCreate | IVekFileBase::ModeRead | IVekFileBase::ModeWrite);
    file->BeginBlock(true, IVekFileBase::ModeWrite);
    file->Write(data.data(), static_cast<int32_t>(data.size()));
    file->EndBlock();
    file->Rewind();
    file->BeginBlock(true, IVekFileBase::ModeRead);
    benchmark::DoNotOptimize(file->Read(back.data(), static_cast<int32_t>(back.size())));
    file->EndBlock();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}

}  // namespace

BENCHMARK(BM_Tga32Sheet);
BENCHMARK(BM_Tga32RunLength);
BENCHMARK(BM_Bmp24);
BENCHMARK(BM_PngRgba)->Arg(64)->Arg(256);
BENCHMARK(BM_BlockRoundTrip)->Arg(64 << 10);
BENCHMARK_MAIN();
