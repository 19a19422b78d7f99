#pragma once

#include "ByteReader.h"
#include "TableModel.h"

#include "core/BroadCastManager.h"

namespace vanmoor::fuzz {

// Runs every query of the manager on every index of the model's table, on out-of-range and
// negative ones, and on one index from the input, with output buffers of exactly the size the
// input gives; aborts when a result differs from the model.
void CheckQueries(CBroadCastManager& manager, ByteReader& input, const TableModel& model);

} // namespace vanmoor::fuzz
