#pragma once

class QWidget;

namespace desktop {

// Widens a window's minimum to what its caption needs in the title bar (the caption in a bold
// title font, beside the icon and three buttons), so that the window system shows it whole.
// Called once the window has its caption and its layout.
void fitCaption(QWidget& window);

} // namespace desktop
