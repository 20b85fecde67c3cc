#include "life/field_upload.h"

FieldUploadPlan FieldUploadTracker::Plan(FieldArrayVersions now) const {
  FieldUploadPlan plan;
  // Counts are compared for equality only, so their wrapping is harmless.
  plan.sendGeometry = !holdsArrays || now.geometry != held.geometry;
  plan.sendColours = plan.sendGeometry || now.colours != held.colours;
  return plan;
}

void FieldUploadTracker::Sent(FieldArrayVersions now) {
  holdsArrays = true;
  held = now;
}

void FieldUploadTracker::Forget() { holdsArrays = false; }

FieldTexturePlan FieldTextureTracker::Plan(FieldValueVersions now) const {
  FieldTexturePlan plan;
  if (!holdsTextures || now.geometry != held.geometry) {
    plan.sendAll = plan.resize = plan.sendPalette = true;
  } else if (now.colours == held.colours) {
    // Nothing changed (a step always counts a colour change).
  } else if (now.colours == held.colours + 1 && now.steps == held.steps + 1) {
    plan.sendCurrent = true;
  } else {
    plan.sendAll = true;
    // Every colour change a step: only the cells changed.
    plan.sendPalette = now.colours - held.colours != now.steps - held.steps;
  }
  return plan;
}

void FieldTextureTracker::Sent(FieldValueVersions now) {
  holdsTextures = true;
  held = now;
}

void FieldTextureTracker::Forget() { holdsTextures = false; }
