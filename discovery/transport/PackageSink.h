#pragma once

#include "../core/DeviceRecord.h"

#include <memory>

namespace vanmoor {

// Where the reply parsers hand the devices they parsed: the manager's pending list.
class PackageSink {
public:
    virtual ~PackageSink() = default;
    // Takes ownership of a newly parsed record.
    virtual void PushPackage(std::unique_ptr<DeviceRecord> record) = 0;
};

} // namespace vanmoor
