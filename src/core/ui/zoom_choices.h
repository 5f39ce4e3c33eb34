// The page zoom factors the user picks from: the steps of the zoom commands and the
// entries of the Settings dialog's zoom list.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace velquist {

// The eleven factors from 0.5 to 2.0, ascending.
std::span<const double> ZoomChoices();

// The factor as the list shows it: the whole percent nearest to it ("67%" for 0.67).
std::string ZoomChoiceText(double factor);

// The index of the choice nearest to zoom; on a tie the earlier one, so 1.05 gives 100 %
// and 1.06 gives 110 %. A zoom that is not a number gives the first choice.
std::size_t NearestZoomChoice(double zoom);

}  // namespace velquist
