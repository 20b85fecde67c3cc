// Host builds have no executable resources: every "res:" path is absent, the
// same answer a Windows executable gives for a resource it does not carry.
#include "engine/io/file.h"

bool ReadEmbeddedResource(const std::string&, const std::string&, std::vector<uint8_t>&) { return false; }
