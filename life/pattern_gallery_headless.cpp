// The host build has no resources: the gallery reads the table compiled from
// the same files.
#include "life/pattern_gallery_texts.h"

std::vector<GalleryText> GalleryTexts() { return CompiledGalleryTexts(); }
