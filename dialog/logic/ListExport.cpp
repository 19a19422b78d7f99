#include "ListExport.h"

#include "DeviceListWriter.h"
#include "DeviceReader.h"
#include "LibraryDevices.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace kestrun {

namespace {

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The text after the last dot of the file's own name, without the dot; none when it has none.
std::optional<std::string_view> ExtensionOf(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t folder = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder)) {
        return std::nullopt;
    }
    return fileName.substr(dot + 1);
}

} // namespace

std::vector<DeviceInfo> ReadListedDevices(const LibraryApi& api, const DeviceList& list) {
    const vanmoor::listing::DeviceQueries queries = DeviceQueriesOf(api);
    std::vector<DeviceInfo> devices;
    for (std::size_t row = 0; row < list.Rows().size(); ++row) {
        if (const DeviceInfo* camera = list.WsdDevice(row)) {
            devices.push_back(*camera);
            continue;
        }
        // The local address stays null, as ReadDevice leaves it: the search learns it only for
        // the merge.
        if (auto device = vanmoor::listing::ReadDevice(queries, list.DeviceNumber(row) - 1)) {
            if (const vanmoor::site::WsdDetails* twin = list.WsdTwin(row)) {
                device->wsd = *twin;
            }
            devices.push_back(std::move(*device));
        }
    }
    return devices;
}

void WriteListExport(const std::vector<DeviceInfo>& devices, OutputFormat format, std::ostream& out,
                     bool wsdSearched) {
    std::vector<vanmoor::listing::Record> records;
    records.reserve(devices.size());
    for (const DeviceInfo& device : devices) {
        records.push_back(vanmoor::listing::DeviceRecord(device));
    }
    vanmoor::listing::WriteDeviceList(format, out, records,
                                      vanmoor::listing::ListDeviceKeys(wsdSearched));
}

OutputFormat ExportFormatFor(std::string_view fileName, OutputFormat chosen) {
    const std::optional<std::string_view> found = ExtensionOf(fileName);
    if (!found) {
        return chosen;
    }
    const std::string extension = LowerCase(*found);
    if (extension == "csv") {
        return OutputFormat::Csv;
    }
    return extension == "json" ? OutputFormat::Json : chosen;
}

std::string ExportFileName(std::string_view fileName, OutputFormat format) {
    std::string name(fileName);
    if (!ExtensionOf(fileName)) {
        name += format == OutputFormat::Json ? ".json" : ".csv";
    }
    return name;
}

} // namespace kestrun
