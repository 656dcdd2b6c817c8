#pragma once

#include <functional>

class QLabel;

namespace sw48230 {

// Makes a label act as a link: a left click runs `open`. With `keyboard` it
// also takes the focus with Tab, shows it with a dotted frame, and Enter,
// Return or Space run `open` as a click does.
void make_link(QLabel* label, std::function<void()> open, bool keyboard = true);

}  // namespace sw48230
