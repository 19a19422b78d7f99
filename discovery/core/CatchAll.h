#pragma once

#include "LibraryLog.h"

namespace vanmoor {

// Runs `body`; an exception is logged with `message` (a whole line, such as
// "CBroadCastManager::getCounts() catch failed\n") and turns into `failure`.
template <class Result, class Body>
Result CatchAll(const char* message, Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        WriteLog("%s", message);
        return failure;
    }
}

} // namespace vanmoor
