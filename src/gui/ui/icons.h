#pragma once

#include <QIcon>

namespace sw48230 {

// The program's few icons, drawn rather than loaded: the style's icon files
// are several sizes each and loading them is a noticeable part of start-up.
enum class IconKind { Information, Options, Close, Refresh };

QIcon program_icon(IconKind kind, int size = 32);

}  // namespace sw48230
