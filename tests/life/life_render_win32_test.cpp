// The Life task drawing under a real kernel run: the video task's window in
// Xvfb, the task's field in it, read back from the frame before it is shown.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/task_engine_link_win32.h"
#include "engine/gl/font.h"
#include "engine/gl/gl_window_win32.h"
#include "engine/gl/texture.h"
#include "life/field_buffers_win32.h"
#include "tests/life/life_test_support.h"
#include "palette/palette_container.h"
#include "tests/gfx/gl_run_fixture_win32.h"
#include "tests/gfx/gl_test_context_win32.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Pixel {
  int r = 0, g = 0, b = 0;
};

// The frame being drawn, bottom row first, as 8-bit RGB.
std::vector<uint8_t> ReadFrame() {
  std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

Pixel At(const std::vector<uint8_t>& frame, int x, int y) {
  const uint8_t* p = &frame[(static_cast<size_t>(y) * kWidth + x) * 3];
  return Pixel{p[0], p[1], p[2]};
}

Pixel Bytes(const Rgba8& c) { return Pixel{c.r, c.g, c.b}; }

bool Near(const Pixel& a, const Pixel& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

const Pixel kDarkBlue{0, 0, 77};  // (0, 0, 0.3)

// The smooth field: the interpolated colour, up to rounding.
bool Exactly(const Pixel& seen, const Pixel& colour) { return Near(seen, colour, 3); }

// A particle: its colour laid over the background with the texture's alpha,
// which at the cell's centre is at least one half whatever mipmap level the
// small square samples.
bool ParticleOver(const Pixel& seen, const Pixel& colour) {
  const int d[3] = {colour.r - kDarkBlue.r, colour.g - kDarkBlue.g, colour.b - kDarkBlue.b};
  const int s[3] = {seen.r - kDarkBlue.r, seen.g - kDarkBlue.g, seen.b - kDarkBlue.b};
  int widest = 0;
  for (int i = 1; i < 3; ++i)
    if (std::abs(d[i]) > std::abs(d[widest])) widest = i;
  if (std::abs(d[widest]) < 40) return false;  // too close to the background to tell
  const double alpha = static_cast<double>(s[widest]) / d[widest];
  if (alpha < 0.5 || alpha > 1.02) return false;
  for (int i = 0; i < 3; ++i)
    if (std::abs(s[i] - alpha * d[i]) > 6.0) return false;
  return true;
}

// What the probe saw on the frame it looked at.
struct Seen {
  int liveCellsChecked = 0;
  int liveCellsMatching = 0;
  int backgroundPixels = 0;
  uint32_t generation = 0;
  std::vector<uint8_t> frame;
};

class LifeRender : public GLRun {
 protected:
  void SetUp() override {
    GLRun::SetUp();
    probe->order = 200;  // after the Life task has drawn, before the frame is shown
    ASSERT_NE(module = UseProgramResources(), nullptr);
    Settings().windowWidth = kWidth;
    Settings().windowHeight = kHeight;
    ConnectTaskToEngine();  // the field fills the window, as in the program
    VivarnTaskBse& life = *VivarnTask::Instance();
    life.SetBkColor(0.0f, 0.0f, 0.3f, 1.0f);
    life.LifeSpeed = 0.0f;
    life.PeriodicResetOn = false;
    life.AutoReset = false;
  }
  void TearDown() override {
    probe.Reset();
    ReleaseSingletons();
    if (module) FreeLibrary(module);
  }

  VivarnTaskBse& Life() { return *VivarnTask::Instance(); }

  // The video and Life tasks with the probe after them, until the probe
  // closes the window.
  void RunLife() {
    VekKernelBase& kernel = *VekKernel::Instance();
    kernel.AddMsgHandler(&messages);
    kernel.AddTask(VideoUpdateTask::Instance().get());
    kernel.AddTask(VivarnTask::Instance().get());
    kernel.AddTask(probe.get());
    kernel.Run();
  }

  // Runs until the field has gone through a few generations, then looks at
  // that frame: every cell whose colour the frame must show exactly (see
  // `exact`) is compared with the task's own colour for it.
  // `cell` pixels to a cell, dividing the window exactly.
  Seen RunAndLook(int cell, bool (*expected)(const VivarnTaskBse&, int32_t x, int32_t y, Pixel& colour),
                  bool (*matches)(const Pixel& seen, const Pixel& colour)) {
    Life().CellSize = cell;
    Seen seen;
    probe->onFrame = [&](int frame) {
      if (frame < 5 || !seen.frame.empty()) return;
      VivarnTaskBse& life = Life();
      std::lock_guard<std::recursive_mutex> guard(life.lock);
      if (Field(life).generation < 3) return;
      seen.generation = Field(life).generation;
      seen.frame = ReadFrame();
      for (int32_t y = 0; y < Field(life).rows; ++y) {
        for (int32_t x = 0; x < Field(life).columns; ++x) {
          Pixel colour;
          if (!expected(life, x, y, colour)) continue;
          ++seen.liveCellsChecked;
          const Pixel centre = At(seen.frame, x * cell + cell / 2, y * cell + cell / 2);
          if (matches(centre, colour)) ++seen.liveCellsMatching;
        }
      }
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          if (Near(At(seen.frame, x, y), kDarkBlue, 2)) ++seen.backgroundPixels;
      Close();
    };
    RunLife();
    EXPECT_FALSE(probe->timedOut) << "no frame after three generations before the deadline";
    return seen;
  }

  HMODULE module = nullptr;
};

float CellOf(const VivarnTaskBse& t, int32_t x, int32_t y) {
  return Field(t).cells[static_cast<size_t>(y) * Field(t).columns + x];
}

// A live cell is drawn in its own colour at its centre.
bool LiveCell(const VivarnTaskBse& t, int32_t x, int32_t y, Pixel& colour) {
  const float v = CellOf(t, x, y);
  if (v < 1.0f) return false;
  colour = Bytes(Mesh(t).CellColour(v));
  return true;
}

// In the smooth field a cell's quad takes its corners' colours from the cells
// at (x, y), (x + 1, y), (x + 1, y + 1) and (x, y + 1). In an odd-sized cell the
// centre pixel lies on the diagonal both triangles share, halfway between
// the lower right and the upper left corner: their mean colour, when both
// belong to live cells (opaque).
bool DiagonalMean(const VivarnTaskBse& t, int32_t x, int32_t y, Pixel& colour) {
  if (x + 1 >= Field(t).columns || y + 1 >= Field(t).rows) return false;
  const float right = CellOf(t, x + 1, y);
  const float up = CellOf(t, x, y + 1);
  if (right < 1.0f || up < 1.0f) return false;
  const Rgba8 a = Mesh(t).CellColour(right);
  const Rgba8 b = Mesh(t).CellColour(up);
  colour = Pixel{(a.r + b.r + 1) / 2, (a.g + b.g + 1) / 2, (a.b + b.b + 1) / 2};
  return true;
}

bool NothingChecked(const VivarnTaskBse&, int32_t, int32_t, Pixel&) { return false; }

TEST_F(LifeRender, CellsByCellShowTheBuiltInColoursOverTheBackground) {
  Life().FieldDrawMode = 0;
  const Seen seen = RunAndLook(10, LiveCell, ParticleOver);
  ASSERT_FALSE(seen.frame.empty());
  EXPECT_GE(seen.generation, 3u);
  // No palette stored: the built-in ramp, entry 1 almost pure red.
  EXPECT_EQ(Mesh(Life()).paletteColours[1].r, 254);
  EXPECT_EQ(Mesh(Life()).paletteColours[1].g, 1);
  EXPECT_TRUE(Life().Inside().particleTexture);
  EXPECT_TRUE(Life().Inside().font);
  ASSERT_GT(seen.liveCellsChecked, 20);
  EXPECT_EQ(seen.liveCellsMatching, seen.liveCellsChecked);
  // The soft particles leave the cell corners and the empty cells dark blue.
  EXPECT_GT(seen.backgroundPixels, kWidth * kHeight / 10);
  EXPECT_LT(seen.backgroundPixels, kWidth * kHeight);
}

TEST_F(LifeRender, SmoothFieldShowsTheCurrentPaletteColours) {
  CPaletteContainerBase& palettes = *CPaletteContainer::Instance();
  palettes.palettes.push_back(CPaletteContainerBase::MakeDefaultPalette());
  palettes.currentGuid = palettes.palettes.back()->guid;
  std::vector<uint8_t> bgr(1000 * 3);
  palettes.palettes.back()->gradient.FillColourTable(bgr.data(), 1000);

  Life().FieldDrawMode = 1;
  const Seen seen = RunAndLook(5, DiagonalMean, Exactly);
  ASSERT_FALSE(seen.frame.empty());
  // Start took its table from the current palette.
  ASSERT_EQ(Mesh(Life()).paletteSize, 1000);
  for (int i : {0, 1, 250, 999}) {
    EXPECT_EQ(Mesh(Life()).paletteColours[static_cast<size_t>(i)].r, bgr[i * 3 + 2]) << i;
    EXPECT_EQ(Mesh(Life()).paletteColours[static_cast<size_t>(i)].b, bgr[i * 3 + 0]) << i;
  }
  ASSERT_GT(seen.liveCellsChecked, 0) << "no cell with live neighbours to look at";
  EXPECT_EQ(seen.liveCellsMatching, seen.liveCellsChecked);
  EXPECT_GT(seen.backgroundPixels, 0);
}

// The colours the field had as four floats per vertex, for cells drawn with
// the built-in ramp: the same table entry and alpha, not rounded to bytes. A
// cell empty now was written (background) when it held anything before.
struct FloatColour {
  float r, g, b, a;
};

FloatColour FloatCellColour(const VivarnTaskBse& t, float v, float before) {
  const float magnitude = std::fabs(v);
  if (magnitude < 1e-7f) {
    if (before == 0.0f) return FloatColour{0.0f, 0.0f, 0.0f, 0.0f};
    return FloatColour{t.BkColor[0], t.BkColor[1], t.BkColor[2], 1.0f};
  }
  int32_t i = static_cast<int32_t>(magnitude) % 1000;
  if (i >= 500) i = 999 - i;  // the ramp mirrored
  const float d = 1.0f / 500.0f;
  const float red = i <= 250 ? (0.5f - static_cast<float>(i) * d) * 2.0f : 0.0f;
  const float blue = i >= 250 ? (static_cast<float>(i) * d - 0.5f) * 2.0f : 0.0f;
  const float green = i < 250 ? 1.0f - red : 1.0f - blue;
  return FloatColour{red, green, blue, v < 0.0f ? 1.0f - 1.0f / (magnitude + 1.0f) : 1.0f};
}

std::vector<FloatColour> FloatVertexColours(const VivarnTaskBse& t) {
  std::vector<FloatColour> out(static_cast<size_t>(Mesh(t).colourCount));
  for (int32_t y = 0; y < Field(t).rows; ++y) {
    for (int32_t x = 0; x < Field(t).columns; ++x) {
      const size_t cell = static_cast<size_t>(y) * Field(t).columns + x;
      const FloatColour c = FloatCellColour(t, Field(t).cells[cell], Field(t).nextCells[cell]);  // nextCells: the one before
      if (t.DrawMode() == 0) {
        const size_t c0 = static_cast<size_t>(2 * y) * (2 * Field(t).columns) + 2 * x;
        out[c0] = out[c0 + 1] = out[c0 + 2 * Field(t).columns] = out[c0 + 2 * Field(t).columns + 1] = c;
        continue;
      }
      const size_t stride = static_cast<size_t>(Field(t).columns) + 1;
      const bool lastX = x == Field(t).columns - 1, lastY = y == Field(t).rows - 1;
      out[y * stride + x] = c;
      if (lastX) out[y * stride + x + 1] = c;
      if (lastY) out[(y + 1) * stride + x] = c;
      if (lastX && lastY) out[(y + 1) * stride + x + 1] = c;
    }
  }
  return out;
}

// Draws what Update and DrawField drew, background and field, but with the
// float colours from client arrays.
void DrawWithFloatColours(const VivarnTaskBse& t) {
  const std::vector<FloatColour> colours = FloatVertexColours(t);
  glDisable(GL_TEXTURE_2D);
  glLoadIdentity();
  glColor4f(t.BkColor[0], t.BkColor[1], t.BkColor[2], t.BkColor[3]);
  BuildTexturedQuad(0.0f, 0.0f, static_cast<float>(kWidth), static_cast<float>(kHeight), false);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glScalef(static_cast<float>(kWidth) / Field(t).columns, static_cast<float>(kHeight) / Field(t).rows, 1.0f);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  if (t.DrawMode() == 0) {
    glEnable(GL_TEXTURE_2D);
    t.Inside().particleTexture->Bind();
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, Mesh(t).texCoords.get());
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, Mesh(t).vertices.get());
  glColorPointer(4, GL_FLOAT, 0, colours.data());
  glDrawElements(GL_TRIANGLES, Mesh(t).indexCount, GL_UNSIGNED_INT, Mesh(t).indices.get());
  glPopClientAttrib();
}

struct ByteColourCase {
  int32_t drawMode;
  bool bufferObjects;
};

class ByteColours : public LifeRender, public ::testing::WithParamInterface<ByteColourCase> {};

// The byte colours, from buffer objects or client arrays, give the picture
// the float colours gave, over fading soups: to one unit per channel but for
// at most one value in a thousand, which is two units away.
TEST_P(ByteColours, DrawAsTheFloatColoursDid) {
  Life().FieldDrawMode = GetParam().drawMode;
  Life().Inside().useBufferObjects = GetParam().bufferObjects;
  Life().Inside().useShaders = false;
  Life().CellSize = 5;
  int widest = -1;
  int differing = 0;
  int beyondOne = 0;
  uint32_t generation = 0;
  probe->onFrame = [&](int) {
    VivarnTaskBse& life = Life();
    std::lock_guard<std::recursive_mutex> guard(life.lock);
    if (widest >= 0 || Field(life).generation < 12) return;
    generation = Field(life).generation;
    const std::vector<uint8_t> drawn = ReadFrame();
    DrawWithFloatColours(life);
    const std::vector<uint8_t> floats = ReadFrame();
    widest = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
      const int d = std::abs(drawn[i] - floats[i]);
      if (d > widest) widest = d;
      if (d != 0) ++differing;
      if (d > 1) ++beyondOne;
    }
    Close();
  };
  RunLife();
  ASSERT_FALSE(probe->timedOut);
  ASSERT_GE(widest, 0) << "no frame compared";
  if (GetParam().drawMode == 0) {
    EXPECT_TRUE(Life().Inside().particleTexture);
  }
  // A vertex colour and its alpha are each within half a unit of the float
  // ones; where a fading cell blends over a far colour the two halves can add
  // up to one unit before the result is rounded, so a few values land two
  // units away.
  EXPECT_LE(widest, 2) << "generation " << generation;
  EXPECT_LE(beyondOne * 1000, kWidth * kHeight * 3) << beyondOne << " values more than one unit away";
  std::printf("mode %d %s: %d of %zu channel values differ, %d by more than 1, by at most %d\n",
              GetParam().drawMode, GetParam().bufferObjects ? "buffers" : "client arrays", differing,
              static_cast<size_t>(kWidth) * kHeight * 3, beyondOne, widest);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ByteColours,
                         ::testing::Values(ByteColourCase{0, true}, ByteColourCase{1, true},
                                           ByteColourCase{0, false}, ByteColourCase{1, false}));

struct ShaderCase {
  int32_t drawMode;
  int32_t cellSize;
  int32_t states;
  bool gridColours = true;  // off: the smooth field interpolated by the field shader
};

class ShaderPath : public LifeRender, public ::testing::WithParamInterface<ShaderCase> {};

// The task's field drawn again over its background, by the paths and with
// the blend `switches` give; the frame read back.
std::vector<uint8_t> DrawFieldAgain(VivarnTaskBse& life, FieldDrawSwitches switches) {
  glDisable(GL_TEXTURE_2D);
  glLoadIdentity();
  glColor4f(life.BkColor[0], life.BkColor[1], life.BkColor[2], life.BkColor[3]);
  BuildTexturedQuad(0.0f, 0.0f, static_cast<float>(kWidth), static_cast<float>(kHeight), false);
  DrawFieldMesh(Field(life), Mesh(life), life.Inside().pair.buffers, OutputSize{kWidth, kHeight},
                life.Inside().particleTexture.get(), switches);
  return ReadFrame();
}

// The shaders draw from the cell values what the mesh draws from its vertex
// colours, over fading soups and a Generations rule's dying states: every
// channel within one unit. The frame the task drew with its shaders is read
// back, then the same field is drawn again through the mesh. Where the smooth
// field's colours are interpolated by the field shader (contexts that cannot
// render its vertex colours into a buffer), the shader and the rasteriser
// break rounding ties their own ways: as between the mesh's byte and float
// colours (ByteColours) a value in a thousand may land two units away.
TEST_P(ShaderPath, DrawsWhatTheMeshDraws) {
  Life().FieldDrawMode = GetParam().drawMode;
  Life().CellSize = GetParam().cellSize;
  Life().RuleStates = GetParam().states;
  Life().DieStep = 0.8f;
  Life().Inside().useGridColours = GetParam().gridColours;
  bool shaded = false;
  int widest = -1;
  int differing = 0;
  int beyondOne = 0;
  int fieldPixels = 0;
  uint32_t dying = 0;
  int firstFrameField = -1;  // pixels of the first frame that are not background
  probe->onFrame = [&](int) {
    VivarnTaskBse& life = Life();
    std::lock_guard<std::recursive_mutex> guard(life.lock);
    if (firstFrameField < 0) {
      // Goes out before the shaders are built: the background alone.
      const std::vector<uint8_t> first = ReadFrame();
      firstFrameField = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          if (!Near(At(first, x, y), kDarkBlue, 2)) ++firstFrameField;
    }
    if (widest >= 0 || Field(life).generation < 12) return;
    // The shader path keeps no vertex arrays; the mesh's builds them again.
    shaded = Mesh(life).valuesOnly && !Mesh(life).colours;
    dying = Field(life).dying;
    const std::vector<uint8_t> drawn = ReadFrame();
    FieldDrawSwitches mesh;
    mesh.useShaders = false;
    const std::vector<uint8_t> meshDrawn = DrawFieldAgain(life, mesh);
    widest = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
      const int d = std::abs(drawn[i] - meshDrawn[i]);
      if (d > widest) widest = d;
      if (d != 0) ++differing;
      if (d > 1) ++beyondOne;
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (!Near(At(meshDrawn, x, y), kDarkBlue, 2)) ++fieldPixels;
    Close();
  };
  RunLife();
  ASSERT_FALSE(probe->timedOut);
  ASSERT_GE(widest, 0) << "no frame compared";
  EXPECT_TRUE(shaded) << "the task drew without shaders, or kept the mesh's arrays";
  EXPECT_EQ(firstFrameField, 0) << "the first frame waited for the shaders";
  // A Generations soup at cell size 10 may be down to a few dozen cells.
  EXPECT_GT(fieldPixels, kWidth * kHeight / 40) << "too little of the field to compare";
  if (GetParam().states > 2) {
    EXPECT_GT(dying, 0u);
  }
  EXPECT_LE(widest, GetParam().gridColours ? 1 : 2);
  EXPECT_LE(beyondOne * 1000, kWidth * kHeight * 3) << beyondOne << " values more than one unit away";
  std::printf("mode %d%s, cell size %d, %d states: %d channel values differ, %d by more than 1, by at most %d\n",
              GetParam().drawMode, GetParam().gridColours ? "" : " (field shader)", GetParam().cellSize,
              GetParam().states, differing, beyondOne, widest);
}

INSTANTIATE_TEST_SUITE_P(ModesSizesRules, ShaderPath,
                         ::testing::Values(ShaderCase{0, 5, 2}, ShaderCase{1, 5, 2}, ShaderCase{0, 20, 2},
                                           ShaderCase{1, 3, 2}, ShaderCase{0, 10, 5}, ShaderCase{1, 4, 5},
                                           ShaderCase{1, 5, 2, false}));

// Smooth generations: just after a step the picture is still the last
// generation's, at the end of the interval it is the new one's, and halfway
// most values that change are neither; by cell (each pixel one cell's
// colour) every channel lies between the two. Across the smooth field a
// pixel mixes several cells' colours and alphas, so there it need not.
class SmoothGenerations : public LifeRender, public ::testing::WithParamInterface<int32_t> {};

TEST_P(SmoothGenerations, FadeFromTheLastGenerationIntoThisOne) {
  Life().FieldDrawMode = GetParam();
  Life().CellSize = 5;
  Life().DieStep = 0.8f;
  bool compared = false;
  int atStartApart = 0, halfwayOutside = 0, halfwayMoved = 0, stepChanged = 0;
  probe->onFrame = [&](int) {
    VivarnTaskBse& life = Life();
    std::lock_guard<std::recursive_mutex> guard(life.lock);
    if (compared || Field(life).generation < 12) return;
    FieldDrawSwitches smooth;
    const std::vector<uint8_t> last = DrawFieldAgain(life, smooth);
    life.Step();
    smooth.generationBlend = 0.0f;
    const std::vector<uint8_t> atStart = DrawFieldAgain(life, smooth);
    smooth.generationBlend = 0.5f;
    const std::vector<uint8_t> halfway = DrawFieldAgain(life, smooth);
    smooth.generationBlend = 1.0f;
    const std::vector<uint8_t> next = DrawFieldAgain(life, smooth);
    compared = true;
    for (size_t i = 0; i < last.size(); ++i) {
      atStartApart = std::max(atStartApart, std::abs(atStart[i] - last[i]));
      const int low = std::min(last[i], next[i]), high = std::max(last[i], next[i]);
      halfwayOutside = std::max({halfwayOutside, low - halfway[i], halfway[i] - high});
      if (high - low >= 8) {
        ++stepChanged;
        if (std::abs(halfway[i] - low) > 1 && std::abs(halfway[i] - high) > 1) ++halfwayMoved;
      }
    }
    Close();
  };
  RunLife();
  ASSERT_FALSE(probe->timedOut);
  ASSERT_TRUE(compared) << "no frame compared";
  EXPECT_LE(atStartApart, 1);
  if (GetParam() == 0) {
    EXPECT_LE(halfwayOutside, 1);
  }
  ASSERT_GT(stepChanged, 1000) << "the step changed too little to see a fade";
  EXPECT_GT(halfwayMoved * 2, stepChanged) << halfwayMoved << " of " << stepChanged << " changed values moved halfway";
}

INSTANTIATE_TEST_SUITE_P(BothModes, SmoothGenerations, ::testing::Values(0, 1));

// Whether a pixel is light grey or white: the overlay text. Neither the
// built-in colours (at most two channels lit) nor the background are.
bool Whitish(const Pixel& p) { return p.r > 120 && p.g > 120 && p.b > 120; }

int WhitishIn(const std::vector<uint8_t>& frame, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (Whitish(At(frame, x, y))) ++n;
  return n;
}

TEST_F(LifeRender, OverlaysWriteInTheirBandsOnly) {
  Life().FieldDrawMode = 1;
  Life().ShowStat = true;
  Life().ShowFPS = true;
  const Seen seen = RunAndLook(10, NothingChecked, Exactly);
  ASSERT_FALSE(seen.frame.empty());
  const int fh = 16;
  // Statistics: four lines in the 4.5 character heights at the bottom.
  EXPECT_GT(WhitishIn(seen.frame, 0, 0, kWidth, fh), 0);
  EXPECT_GT(WhitishIn(seen.frame, 0, 3 * fh, kWidth, 4 * fh), 0);
  // The frame-rate line in the top character height, from the left edge.
  EXPECT_GT(WhitishIn(seen.frame, 0, kHeight - fh, kWidth / 2, kHeight), 0);
  // Nothing in between.
  EXPECT_EQ(WhitishIn(seen.frame, 0, 5 * fh, kWidth, kHeight - fh - 1), 0);
  // The panel darkens the background under it: (10, 10, 10) at 100/255.
  int darkenedBackground = 0;
  for (int x = 0; x < kWidth; ++x)
    if (Near(At(seen.frame, x, 70), Pixel{4, 4, 51}, 3)) ++darkenedBackground;
  EXPECT_GT(darkenedBackground, 0);
}

}  // namespace
