#pragma once

#include <QIcon>

// The pictures of the taxpayer screen's small buttons, drawn here so that they look alike
// whatever the desktop's icon theme.
namespace registers {

QIcon searchGlyph(); // a magnifying glass: the searches
QIcon checkGlyph();  // a tick: the NIP and REGON checks

} // namespace registers
