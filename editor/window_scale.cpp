#include "editor/window_scale.h"

namespace tamix {

double WindowScale::fromTwips(double twips) const {
    return mode_ == Mode::Inches ? twips / kTwipsPerInch : twips;
}

double WindowScale::toTwips(double units) const {
    return mode_ == Mode::Inches ? units * kTwipsPerInch : units;
}

}  // namespace tamix
