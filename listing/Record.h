#pragma once

#include <string>
#include <variant>
#include <vector>

namespace vanmoor::listing {

// One value of an output record. Texts are bytes as they came, possibly from the network and
// not valid UTF-8: the printers make them safe for their format.
using Value = std::variant<std::monostate, std::string, long long, bool>;

struct Field {
    std::string key; // lower case, stable: scripts depend on it
    Value value;
};

// One row of output: a device, a local address, an event. Fields in column order.
using Record = std::vector<Field>;

// The fields of `record` named by `keys`, in that order; a missing key gives a null value.
Record SelectFields(const Record& record, const std::vector<std::string>& keys);

// Orders `records` by the field `key`: numbers by value, dotted addresses by their numbers,
// other texts by their bytes, null first. Stable.
void SortRecords(std::vector<Record>& records, const std::string& key);

} // namespace vanmoor::listing
