#pragma once
#include <cstdint>
#include <vector>

// Adds styles to a control of an extended dialog template (DLGTEMPLATEEX, as a
// resource script's DIALOGEX makes it) held in memory, for a style that a
// control takes only when it is created. False, and the template unchanged,
// when it is no extended template or has no control of that identifier.
bool AddControlStyle(std::vector<uint8_t>& dialogTemplate, uint32_t controlId, uint32_t style);
