#pragma once

namespace vanmoor::cli {

// True when `descriptor` is a pipe or socket whose reader has gone, or a terminal that hung up:
// a program that writes nothing for a while would otherwise not notice. False for -1.
bool OutputClosed(int descriptor);

} // namespace vanmoor::cli
