// tools/velt/render/text_layout.h: a text entity placed for drawing, from the library's own text
// geometry: the base point the justification gives (TEXT_3D::getBasePoint), the font's scale
// (text height over the font's cell height, in font units), the width factor, the oblique angle
// and the rotation, all then carried through the entity's pixel transform.
#pragma once

#include <string>

#include <veltcore/geometry/text.h>

#include "render/canvas.h"
#include "render/pixel_transform.h"

namespace velt {

class FreeTypeFont;

// The characters a text shows, as UTF-8: its bytes are Latin-1, and the control codes of
// drawing texts become what they stand for (%%d degree, %%p plus-minus, %%c diameter, %%%
// percent, %%nnn character nnn; %%u and %%o, underline and overline, are dropped).
// Written into out, whose storage is reused.
void displayText(const char* text, std::string& out);

// Places run for t seen through transform: font, frame and direction, not yet the characters
// (a text too small to read never needs them). The font is the text style's when it is a
// FreeType font, else fallback; false when there is neither or the frame is degenerate.
bool placeText(const TEXT_3D& t, const PixelTransform& transform, const FreeTypeFont* fallback,
               TextRun& run);

// The height of the text's character cell in pixels (the height the layout gives it).
double pixelHeight(const TextRun& run);

// The text's cell (TEXT_3D::getExtremes) in pixels: bottom left, bottom right, top right, top
// left.
void textCorners(const TEXT_3D& t, const PixelTransform& transform, PixelPoint corners[4]);

}  // namespace velt
