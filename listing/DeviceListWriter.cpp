#include "DeviceListWriter.h"

namespace vanmoor::listing {

void WriteDeviceList(OutputFormat format, std::ostream& out, const std::vector<Record>& devices,
                     const std::vector<std::string>& keys) {
    auto printer = MakePrinter(format, out);
    printer->Begin("devices", keys);
    for (const Record& record : devices) {
        printer->Row(SelectFields(record, keys));
    }
    printer->End();
}

} // namespace vanmoor::listing
