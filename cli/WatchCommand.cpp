#include "Command.h"
#include "DeviceWatch.h"
#include "Interrupt.h"
#include "OutputClosed.h"
#include "SafeText.h"
#include "Session.h"
#include "WsdAnnouncements.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <thread>

namespace vanmoor::cli {

namespace {

constexpr std::chrono::milliseconds kStopCheck{100};
// After a failed search, which may fail at once: no busy loop while an interface is gone.
constexpr std::chrono::milliseconds kPauseAfterFailure{1000};

std::chrono::milliseconds ReadInterval(const Arguments& arguments) {
    const std::string text = arguments.Value("--interval").value_or("2");
    double seconds = -1;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc{} || stop != text.data() + text.size() || seconds < 0 ||
        seconds > 86400) {
        throw UsageError("option '--interval' needs seconds from 0 to 86400, not '" + text + "'");
    }
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

std::string LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    // The thread-safe form of localtime; Windows names it and orders its arguments differently.
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// A stop asked for, or nobody left to read the events (`vanmoor watch | head -1`).
bool ShouldStop(const Console& console) {
    return InterruptCatcher::StopRequested() || OutputClosed(console.outFile);
}

// Waits `interval`, or less when the watch should stop, in steps of `waitAwhile`.
void Pause(std::chrono::milliseconds interval, const Console& console,
           const std::function<void(std::chrono::milliseconds)>& waitAwhile) {
    const auto end = std::chrono::steady_clock::now() + interval;
    while (!ShouldStop(console) && std::chrono::steady_clock::now() < end) {
        waitAwhile(std::chrono::ceil<std::chrono::milliseconds>(std::min<std::chrono::nanoseconds>(
            kStopCheck, end - std::chrono::steady_clock::now())));
    }
}

} // namespace

// Searches again and again and prints what changed, until Ctrl-C or --count searches; with
// WS-Discovery, the Hello and Bye heard between searches as well. A failed search (an interface
// gone) is told once on standard error and the watch goes on, so that it picks up again when
// the interface is back.
ExitStatus RunWatch(const CommandContext& context) {
    const Arguments arguments(context.words,
                              WithCommonOptions({{"--interval", "--count", kProtocolOption}, {}}));
    arguments.NoPositionals();
    const std::chrono::milliseconds interval = ReadInterval(arguments);
    const int count = arguments.Integer("--count", 0, 0, 1000000);
    auto printer = MakePrinter(ChosenFormat(arguments, context.console, OutputFormat::Jsonl),
                               context.console.out);
    const SearchOptions options = ReadSearchOptions(arguments);
    Session session(context.console, !context.quiet, options);
    std::unique_ptr<WsdAnnouncements> announcements;
    if (options.protocols.wsd) {
        announcements = std::make_unique<WsdAnnouncements>(
            options.interface ? session.SearchedAddresses() : std::vector<std::string>{});
    }
    const InterruptCatcher interrupts;

    DeviceWatch watch;
    std::size_t lost = 0;
    const auto waitAwhile = [&](std::chrono::milliseconds patience) {
        if (!announcements) {
            std::this_thread::sleep_for(patience);
            return;
        }
        for (const WsdAnnouncements::Announcement& heard : announcements->Poll(patience)) {
            for (const Record& event : watch.Announce(heard.device, heard.arrived, LocalTime())) {
                printer->Row(event);
            }
        }
        printer->Flush();
        if (announcements->Lost() > lost) {
            context.console.err << "vanmoor: " << announcements->Lost() - lost
                                << " WS-Discovery announcements came faster than they could be "
                                   "read and were lost; the searches tell what changed\n";
            lost = announcements->Lost();
        }
    };
    bool failing = false;
    printer->Begin("events", DeviceWatch::EventKeys());
    for (int round = 0; count == 0 || round < count; ++round) {
        if (round > 0) {
            Pause(failing ? std::max(interval, kPauseAfterFailure) : interval, context.console,
                  waitAwhile);
        }
        if (ShouldStop(context.console)) {
            break;
        }
        std::vector<DeviceInfo> found;
        try {
            if (announcements) {
                // Interfaces come and go while a watch runs: listen where the search goes.
                announcements->ListenOn(options.interface ? session.SearchedAddresses()
                                                          : std::vector<std::string>{});
            }
            found = session.Search();
        } catch (const CliError& error) {
            // Nothing is known about the devices, so none of them counts as gone.
            if (!failing) {
                context.console.err
                    << "vanmoor: the search failed: " << listing::TerminalText(error.what())
                    << "; searching on\n";
            }
            failing = true;
            continue;
        }
        if (failing) {
            context.console.err << "vanmoor: the search works again\n";
            failing = false;
        }
        for (const Record& event : watch.Update(found, LocalTime())) {
            printer->Row(event);
        }
        printer->Flush();
        waitAwhile(std::chrono::milliseconds::zero()); // what was heard during the search
    }
    if (!OutputClosed(context.console.outFile)) {
        printer->End();
    }
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
