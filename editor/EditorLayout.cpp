#include "EditorLayout.h"

namespace {

using K = ControlKind;
using T = DisplayText;

// Sliders are 16 x 160 at top 160, 35 pixels apart within a group; displays 30 x 14 at top
// 326; buttons 26 x 18 stacked without gaps; knobs 32 x 32 at top 44.
constexpr ControlPlacement kControls[EditorLayout::kControlCount] = {
    {K::knob, 16, {339, 44, 371, 76}, 0.5f, T::number},
    {K::knob, 17, {396, 44, 428, 76}, 0.5f, T::number},
    {K::slider, 0, {40, 160, 56, 320}, 0.5f, T::number},
    {K::slider, 1, {75, 160, 91, 320}, 0.5f, T::number},
    {K::slider, 2, {110, 160, 126, 320}, 0.75f, T::number},
    {K::slider, 3, {176, 160, 192, 320}, 0.5f, T::number},
    {K::slider, 4, {211, 160, 227, 320}, 0.5f, T::number},
    {K::slider, 5, {274, 160, 290, 320}, 1.0f, T::number},
    {K::slider, 6, {309, 160, 325, 320}, 0.5f, T::number},
    {K::slider, 9, {364, 160, 380, 320}, 0.5f, T::number},
    {K::slider, 10, {399, 160, 415, 320}, 0.5f, T::number},
    {K::slider, 8, {434, 160, 450, 320}, 0.5f, T::number},
    {K::slider, 13, {469, 160, 485, 320}, 1.0f, T::number},
    {K::slider, 12, {504, 160, 520, 320}, 1.0f, T::number},
    {K::slider, 11, {539, 160, 555, 320}, 0.5f, T::number},
    {K::slider, 14, {597, 160, 613, 320}, 1.0f, T::number},
    {K::slider, 15, {632, 160, 648, 320}, 0.5f, T::number},
    {K::button, 7, {264, 40, 290, 58}, 0.5f, T::number},
    {K::button, 7, {264, 58, 290, 76}, 0.5f, T::number},
    {K::button, 7, {264, 76, 290, 94}, 0.5f, T::number},
    {K::display, 0, {33, 326, 63, 340}, 0.5f, T::number},
    {K::display, 1, {68, 326, 98, 340}, 0.5f, T::oscNote},
    {K::display, 2, {103, 326, 133, 340}, 0.5f, T::oscWave},
    {K::display, 3, {166, 326, 196, 340}, 0.5f, T::number},
    {K::display, 4, {201, 326, 231, 340}, 0.5f, T::number},
    {K::display, 5, {264, 326, 294, 340}, 0.5f, T::number},
    {K::display, 6, {299, 326, 329, 340}, 0.5f, T::number},
    {K::display, 9, {358, 326, 388, 340}, 0.5f, T::number},
    {K::display, 10, {393, 326, 423, 340}, 0.5f, T::number},
    {K::display, 8, {428, 326, 458, 340}, 0.5f, T::number},
    {K::display, 13, {463, 326, 493, 340}, 0.5f, T::number},
    {K::display, 12, {498, 326, 528, 340}, 0.5f, T::number},
    {K::display, 11, {533, 326, 563, 340}, 0.5f, T::number},
    {K::display, 14, {591, 326, 621, 340}, 0.5f, T::number},
    {K::display, 15, {626, 326, 656, 340}, 0.5f, T::number},
};

}  // namespace

const ControlPlacement& EditorLayout::control(int32_t row) { return kControls[row]; }
