// Geometry of the mismatch marks.
#include "render/mismatch_geometry.h"

namespace tintmark {

Rect MismatchGutterRect(int32_t textOriginX, int32_t lineHeight, int32_t row) {
    const int32_t top = row * lineHeight;
    return Rect{textOriginX - 6, top + 2, textOriginX - 3, top + lineHeight - 1};
}


}  // namespace tintmark
