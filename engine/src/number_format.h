// Real numbers as the database file writes them.
#pragma once

#include <string>

namespace kestrum {

// Eight significant digits in the file's notation, or as many more (up to 17) as the value
// needs to read back to the same double: fixed notation for 0.1 <= |v| < 10^digits (no decimal
// point when no fraction digits are due), otherwise d.ddde+XXX; trailing fraction zeros are
// dropped, the point stays. 1 -> "1.", 0.0254 -> "2.54e-002", 100000000 -> "1.e+008".
std::string formatDatabaseNumber(double value);

}  // namespace kestrum
