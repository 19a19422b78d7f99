// Long runs: a thousand searches and two hundred lifecycles leave the process holding what it
// held after the first.
#include "LibraryFixture.h"
#include "ProcessFigures.h"
#include "ProgramInLan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vanmoor::test {
namespace {

constexpr int kWaitMilliseconds = 50; // the simulated devices answer at once
constexpr int kDevices = 20;          // half in each lan, half of them on each protocol
constexpr std::chrono::seconds kPatience{10};
// Allocators keep some freed memory for reuse, and threads may draw on new arenas; growth measured
// here stayed under 150 KiB. A leak of two records a search would exceed this after 1,000.
constexpr std::size_t kResidentMarginBytes = 512 * 1024;

using Macs = std::set<std::string>;

// Tells a late reply from a lost one: on a busy machine a device's reply may miss one short
// search and come in time for the next, but a device that two searches in a row miss is lost.
struct MissedDevices {
    explicit MissedDevices(Macs all) : all(std::move(all)) {}

    // The devices one search listed whole.
    void Round(const Macs& complete) {
        Macs missing;
        std::set_difference(all.begin(), all.end(), complete.begin(), complete.end(),
                            std::inserter(missing, missing.end()));
        late += static_cast<int>(missing.size());
        lost +=
            static_cast<int>(std::count_if(missing.begin(), missing.end(), [&](const auto& mac) {
                return missedLast.contains(mac);
            }));
        missedLast = std::move(missing);
    }

    // One more search when the last one missed a device, so that it too has a second chance.
    template <typename Search> void Confirm(Search search) {
        if (!missedLast.empty()) {
            const std::optional<Macs> complete = search();
            Round(complete.value_or(Macs{}));
        }
    }

    void Print(const char* what) const {
        std::printf("%s: %d device replies late for their search, %d devices lost\n", what, late,
                    lost);
    }

    const Macs all;
    Macs missedLast;
    int late = 0;
    int lost = 0;
};

// The simulated devices run as a program of their own in each lan, so that what this process
// holds is the library's and the test's alone.
class Soak : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        const char* subnets[] = {"192.0.2.", "198.51.100."};
        for (int lan = 1; lan <= 2; ++lan) {
            std::vector<std::string> arguments{"--ready"};
            for (int device = 0; device < kDevices / 2; ++device) {
                const char* protocol = device % 2 == 0 ? "4022" : "32970";
                arguments.push_back("--device");
                arguments.push_back(std::string("protocol=") + protocol + " mac=02:00:5e:0" +
                                    std::to_string(lan) + ":00:" + std::to_string(10 + device) +
                                    " ip=" + subnets[lan - 1] + std::to_string(20 + device) +
                                    " name=dev" + std::to_string(device) +
                                    " gateway=" + subnets[lan - 1] + "254");
            }
            m_Devices.push_back(
                std::make_unique<ProgramInLan>(lan, VANMOOR_DEVSIM_PROGRAM, arguments));
            ASSERT_EQ(m_Devices.back()->ReadLine(kPatience).rfind("vanmoor-devsim ready", 0), 0u);
        }
        ASSERT_NE(init(), nullptr);
        ASSERT_TRUE(setIPSearch(0, ""));
    }

    // One search, then every query of every device. The MACs of the devices whose every query
    // answered; none when the search failed.
    static std::optional<Macs> SearchAndReadEverything() {
        if (!search(kWaitMilliseconds)) {
            return std::nullopt;
        }
        Macs complete;
        for (int index = 0; index < getCounts(); ++index) {
            char mac[32] = {};
            char text[80] = {};
            char protocol = 0;
            bool answered =
                getMacString(index, mac, sizeof mac) && getIPString(index, text, sizeof text) &&
                getIPString_DetVer(index, text, sizeof text, &protocol) &&
                getGateWayString(index, text, sizeof text) &&
                getNetMaskString(index, text, sizeof text) && getName(index, text, sizeof text) &&
                getDNS1String(index, text, sizeof text) &&
                getDNS2String(index, text, sizeof text) && getDevice(index, text, sizeof text) &&
                getVersion(index, text, sizeof text) && getBrand(index, text, sizeof text) &&
                getModeName(index, text, sizeof text) && getCameraName1(index, text, sizeof text);
            answered = answered && getIPValue(index) != 0 && getPort(index) != 0 &&
                       getNetMaskValue(index) != 0;
            getGateWayValue(index);
            getDNS1Value(index);
            getDNS2Value(index);
            getDHCP(index);
            getType(index);
            if (answered) {
                complete.insert(mac);
            }
        }
        return complete;
    }

    static void ExpectNothingGrew(const char* what, const ProcessFigures& first,
                                  const ProcessFigures& last) {
        std::printf("%s: descriptors %zu -> %zu, threads %zu -> %zu, resident memory %.1f -> "
                    "%.1f MiB\n",
                    what, first.openDescriptors, last.openDescriptors, first.threads, last.threads,
                    first.residentBytes / 1048576.0, last.residentBytes / 1048576.0);
        EXPECT_EQ(last.openDescriptors, first.openDescriptors);
        EXPECT_EQ(last.threads, first.threads);
        if (kResidentMemoryMeaningful) {
            EXPECT_LE(last.residentBytes, first.residentBytes + kResidentMarginBytes);
        }
    }

private:
    std::vector<std::unique_ptr<ProgramInLan>> m_Devices;
};

TEST_F(Soak, AThousandSearchesWithEveryQuery) {
    const std::optional<Macs> all = SearchAndReadEverything();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), std::size_t{kDevices});
    const ProcessFigures first = ProcessFigures::Now();
    int failed = 0;
    MissedDevices missed(*all);
    for (int round = 2; round <= 1000; ++round) {
        const std::optional<Macs> complete = SearchAndReadEverything();
        failed += complete ? 0 : 1;
        if (complete) {
            missed.Round(*complete);
        }
    }
    missed.Confirm(SearchAndReadEverything);
    ExpectNothingGrew("1,000 searches", first, ProcessFigures::Now());
    missed.Print("1,000 searches");
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(missed.lost, 0) << "devices that two searches in a row did not list whole";
}

TEST_F(Soak, TwoHundredLifecycles) {
    deinit();
    const auto cycle = [] {
        init();
        setIPSearch(0, "");
        std::optional<Macs> complete = SearchAndReadEverything();
        deinit();
        return complete;
    };
    const std::optional<Macs> all = cycle();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), std::size_t{kDevices});
    const ProcessFigures first = ProcessFigures::Now();
    int failed = 0;
    MissedDevices missed(*all);
    for (int round = 2; round <= 200; ++round) {
        const std::optional<Macs> complete = cycle();
        failed += complete ? 0 : 1;
        if (complete) {
            missed.Round(*complete);
        }
    }
    missed.Confirm(cycle);
    ExpectNothingGrew("200 lifecycles", first, ProcessFigures::Now());
    missed.Print("200 lifecycles");
    EXPECT_EQ(failed, 0) << "cycles whose search failed";
    EXPECT_EQ(missed.lost, 0) << "devices that two cycles in a row did not list whole";
}

} // namespace
} // namespace vanmoor::test
