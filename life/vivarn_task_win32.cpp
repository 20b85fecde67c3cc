// The Life task in the program: Start gathers the colour table, the field, the
// panel list, the font and the particle texture; Update draws the frame's Life
// content in output pixels before the video task presents it. Kernel thread
// only, with the GL window's context current.
#include <windows.h>

#include <GL/gl.h>

#include <string>
#include <vector>

#include "engine/core/frame_pacer.h"
#include "engine/gl/gl_caps.h"
#include "engine/gl/gl_window_win32.h"
#include "life/field_buffers_win32.h"
#include "life/overlay_text.h"
#include "life/task_inside.h"
#include "life/vivarn_task.h"
#include "palette/palette_container.h"

namespace {
constexpr char kFontPath[] = "res:TGA/CHILER_FONT";
constexpr char kParticlePath[] = "res:PNG/PARTICLE_TEX";

// Character height of the overlay font in pixels; the bitmap fonts the
// library makes know theirs, anything else is taken as 16.
float FontHeight(FontBase* font) {
  const auto* bitmap = dynamic_cast<const FontNeHe*>(font);
  return bitmap != nullptr && bitmap->lineHeight > 0.0f ? bitmap->lineHeight : 16.0f;
}

// The clock: large, softly transparent, in the top right corner of the
// `width` x `height` area the overlays are laid out in. The bitmap fonts'
// pen moves 14 units a character.
void DrawClock(FontBase* font, int32_t width, int32_t height) {
  const std::string line = LocalClockLine();
  const float scale = height >= 320 ? static_cast<float>(height) / 160.0f : 2.0f;
  const float textWidth = 14.0f * static_cast<float>(line.size()) * scale;
  glEnable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glColor4f(1.0f, 1.0f, 1.0f, 0.25f);
  glTranslatef(static_cast<float>(width) - textWidth, static_cast<float>(height) - FontHeight(font) * scale, 0.0f);
  glScalef(scale, scale, 1.0f);
  font->DrawText(line.c_str(), -1);
  glLoadIdentity();
}
}  // namespace

bool VivarnTaskBse::Start() {
  {
    // The store as LoadSettings left it; not read from the registry again.
    // The sheet may be changing it already: its lock first, then the task's.
    LockedPaletteStore palettes;
    const PaletteRecord* current = palettes->FindByGuid(palettes->currentGuid);
    BuildColourTable(current != nullptr ? &current->gradient : nullptr);
  }
  {
    std::lock_guard<std::recursive_mutex> guard(lock);
    // Where shaders will draw, the mesh's arrays are never built; should the
    // shaders fail after all, the first draw builds them.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (inside->useShaders && CanUseFieldShaders(version, extensions)) {
      for (size_t i = 0; i < inside->FieldCount(); ++i) inside->Pair(i).mesh.valuesOnly = true;
    }
    ApplyCellSize();
    ResetPopulation();
  }
  TaskInside& in = *inside;
  in.panelList = BuildTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, true);
  in.statisticsFormats = LoadStatisticsFormats();
  // Each library logs its own failure; the handle then stays empty and the
  // overlays, or the particle look of the cells, are left out.
  LibFont::Instance()->Get(kFontPath, in.font, 0, true);
  LibTexture::Instance()->Get(kParticlePath, in.particleTexture, 0, true);
  return true;
}

void VivarnTaskBse::Update() {
  // The frame's own duration, so that a stall's time is not handed out over
  // the frames after it; a preview's frames may make up for the display
  // frames it leaves out.
  AdvanceGenerationTimer(frameDuration, refreshesPerFrame);
  const FrameLook look = CurrentLook();
  FontBase* font = inside->font.get();

  size_t fields = 0;
  {
    std::lock_guard<std::recursive_mutex> guard(lock);
    fields = inside->FieldCount();
  }
  // The last first: where monitors overlap, the primary's field is drawn
  // last and is the one seen. Each other monitor's statistics go with its
  // field; the primary's, and the frame rate, are the overlays below.
  for (size_t i = fields; i-- > 0;) {
    int32_t width = 0;
    int32_t height = 0;
    GLWindow::Instance()->BeginOrtho2D(width, height, i);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);

    glLoadIdentity();
    glColor4f(look.bkColor[0], look.bkColor[1], look.bkColor[2], look.bkColor[3]);
    BuildTexturedQuad(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), false);

    DrawField(i, OutputSize{width, height});
    if (i > 0 && look.showStat) DrawStatistics(width, i);
  }
  if (font == nullptr || !(look.showStat || look.showFPS || look.showClock)) return;
  // Over several monitors the overlays keep to the primary one.
  int32_t overlayWidth = 0;
  int32_t overlayHeight = 0;
  GLWindow::Instance()->BeginOverlay2D(overlayWidth, overlayHeight);
  // The overlays drift so as not to mark the panel: laid out in an area
  // smaller by the drift's range, and the whole of it moved by the offset.
  const OverlayOffset drift = OverlayDrift(timeTotal / 1000.0, overlayWidth, overlayHeight);
  overlayWidth -= DriftRange(overlayWidth);
  overlayHeight -= DriftRange(overlayHeight);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glTranslatef(drift.x, drift.y, 0.0f);
  glMatrixMode(GL_MODELVIEW);
  if (look.showStat) DrawStatistics(overlayWidth);
  if (look.showFPS) {
    glLoadIdentity();
    glColor4f(0.8f, 0.8f, 0.8f, 1.0f);
    glTranslatef(0.0f, static_cast<float>(overlayHeight) - FontHeight(font), 0.0f);
    const std::string line = FrameRateLine(frameTime);
    glEnable(GL_TEXTURE_2D);
    font->DrawText(line.c_str(), -1);
  }
  if (look.showClock) DrawClock(font, overlayWidth, overlayHeight);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

void VivarnTaskBse::DrawField(size_t index, OutputSize output) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (index >= inside->FieldCount()) return;
  FieldPair& pair = inside->Pair(index);
  FieldDrawSwitches switches;
  switches.useBufferObjects = inside->useBufferObjects;
  switches.useShaders = inside->useShaders;
  switches.useGridColours = inside->useGridColours;
  if (SmoothGenerations)
    switches.generationBlend =
        static_cast<float>(GenerationProgress(inside->generationTimer, frameDuration, EffectiveLifeSpeed()));
  DrawFieldMesh(pair.field, pair.mesh, pair.buffers, output, inside->particleTexture.get(), switches);
  if (index == 0 && pair.mesh.columns > 0 && pair.mesh.rows > 0)
    inside->drawPath = pair.mesh.valuesOnly ? FieldDrawPath::Shaders : FieldDrawPath::Mesh;
}

void VivarnTaskBse::DrawStatistics(int32_t panelWidth, size_t index) {
  FontBase* font = inside->font.get();
  if (font == nullptr) return;
  // The counters change under the lock when the configuration pages reseed;
  // holding it keeps the lines from one moment.
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (index >= inside->FieldCount()) return;
  const LifeField& field = inside->Pair(index).field;
  const float fh = FontHeight(font);

  const auto counters =
      StatisticsLines(inside->statisticsFormats, field.population, field.averageAge, field.generation, field.populationSum);
  std::vector<std::string> lines(counters.begin(), counters.end());
  // The pattern fill modes add the pattern last placed, or why there is none.
  const SeedReport& seed = field.lastSeed;
  if (seed.nothingToPlace && field.reseed.fillMode == 3) {
    lines.push_back(inside->statisticsFormats.noFamousPattern);
  } else {
    const std::string placed = PlacedPatternName(index);
    if (!placed.empty()) lines.push_back(PatternLine(inside->statisticsFormats, placed));
  }

  glEnable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glColor4ub(10, 10, 10, 100);
  // After the particles the panel wears the particle texture stretched over
  // it; after the smooth field the last texture is the font's sheet, which
  // would smear glyphs over the panel, so it is drawn plain.
  if (inside->mesh.drawMode == 1) glDisable(GL_TEXTURE_2D);
  glScalef(static_cast<float>(panelWidth), (static_cast<float>(lines.size()) + 0.5f) * fh, 1.0f);
  glCallList(inside->panelList);
  glEnable(GL_TEXTURE_2D);

  glLoadIdentity();
  glColor4f(1.0f, 1.0f, 1.0f, 0.6f);
  for (size_t i = 0; i < lines.size(); ++i) {
    glTranslatef(0.0f, static_cast<float>(lines.size() - 1 - i) * fh, 0.0f);
    font->DrawText(lines[i].c_str(), -1);
    glLoadIdentity();
  }
}
