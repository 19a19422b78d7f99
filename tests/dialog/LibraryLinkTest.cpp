#include "LibraryLink.h"
#include "BatchAssign.h"
#include "FakeLibrary.h"
#include "LibraryDevices.h"

#include <gtest/gtest.h>

namespace kestrun::test {
namespace {

using vanmoor::commission::AssignResult;

// set() rewrites the library's record of the device at once, as the real library does, so a
// search that fails and keeps the table must not count the device as changed.
TEST(LibraryLink, ADeviceCountsAsChangedOnlyWhenASearchSucceededAfterTheSend) {
    FakeLibrary fake;
    FakeDevice camera;
    camera.ip = {192, 0, 2, 99};
    camera.netmask = {255, 255, 255, 0};
    camera.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    fake.devices = {camera};
    fake.setsChangeDevices = true;
    const LibraryApi api = fake.Api();
    LibraryLink link(api);
    vanmoor::commission::PlannedDevice planned;
    planned.device = *ReadSiteDevice(api, 0);
    planned.ip = {192, 0, 2, 10};
    planned.netmask = camera.netmask;

    for (const bool searched : {false, true}) {
        fake.searchSucceeds = searched;
        fake.devices = {camera};
        const auto outcomes = vanmoor::commission::BatchAssign(link, {}, 0).Apply({planned});
        EXPECT_EQ(outcomes[0].result, searched ? AssignResult::Changed : AssignResult::NotFound);
    }
    EXPECT_EQ(fake.calls.back(), "search(1500)");
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "set()"), 2);
}

} // namespace
} // namespace kestrun::test
