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
