#include "Record.h"

#include "AddressText.h"

#include <algorithm>

namespace vanmoor::listing {

namespace {

const Value* Find(const Record& record, const std::string& key) {
    for (const Field& field : record) {
        if (field.key == key) {
            return &field.value;
        }
    }
    return nullptr;
}

bool TextBefore(const std::string& a, const std::string& b) {
    const auto addressA = settings::ParseDottedAddress(a);
    const auto addressB = settings::ParseDottedAddress(b);
    if (addressA && addressB) {
        return *addressA < *addressB;
    }
    return a < b;
}

bool ValueBefore(const Value& a, const Value& b) {
    if (a.index() != b.index()) {
        return a.index() < b.index();
    }
    if (const auto* text = std::get_if<std::string>(&a)) {
        return TextBefore(*text, std::get<std::string>(b));
    }
    return a < b;
}

} // namespace

Record SelectFields(const Record& record, const std::vector<std::string>& keys) {
    Record selected;
    for (const std::string& key : keys) {
        const Value* value = Find(record, key);
        selected.push_back({key, value != nullptr ? *value : Value{}});
    }
    return selected;
}

void SortRecords(std::vector<Record>& records, const std::string& key) {
    const Value none;
    std::stable_sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        const Value* valueA = Find(a, key);
        const Value* valueB = Find(b, key);
        return ValueBefore(valueA != nullptr ? *valueA : none, valueB != nullptr ? *valueB : none);
    });
}

} // namespace vanmoor::listing
