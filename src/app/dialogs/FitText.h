#pragma once
// Controls are placed in dialog units, but how wide a text is depends on the font, the
// screen's scale and the language. These grow labels and buttons to hold their texts
// (and a caption-less radio button to hold its circle), then the window to hold them.

class QWidget;

namespace vellumo::app {

// Grows `control` to its size hint where it is smaller; it keeps its left edge and its
// vertical centre. Word-wrapped labels keep their width.
void GrowToFitText(QWidget* control);

// Grows every label and button placed directly on `window`, then the window's fixed
// size so that they keep the right and bottom margins the layout gave them.
void FitTextControls(QWidget* window);

}  // namespace vellumo::app
