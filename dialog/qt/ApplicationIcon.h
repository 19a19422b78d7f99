#pragma once

#include <QIcon>

namespace kestrun {

// The program's icon: a small camera, drawn rather than loaded so that the program needs no
// resource files.
QIcon ApplicationIcon();

} // namespace kestrun
