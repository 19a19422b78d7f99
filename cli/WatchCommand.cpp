#include "Command.h"
#include "DeviceWatch.h"
#include "Interrupt.h"
#include "Session.h"

#include <charconv>
#include <chrono>
#include <ctime>
#include <thread>

namespace vanmoor::cli {

namespace {

constexpr std::chrono::milliseconds kStopCheck{100};

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

// Waits `interval`, or less when a stop is asked for.
void Pause(std::chrono::milliseconds interval) {
    const auto end = std::chrono::steady_clock::now() + interval;
    while (!InterruptCatcher::StopRequested() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(
            std::min<std::chrono::nanoseconds>(kStopCheck, end - std::chrono::steady_clock::now()));
    }
}

} // namespace

// Searches again and again and prints what changed, until Ctrl-C or --count searches.
ExitStatus RunWatch(const CommandContext& context) {
    const Arguments arguments(context.words, WithCommonOptions({{"--interval", "--count"}, {}}));
    arguments.NoPositionals();
    const std::chrono::milliseconds interval = ReadInterval(arguments);
    const int count = arguments.Integer("--count", 0, 0, 1000000);
    auto printer = MakePrinter(ChosenFormat(arguments, context.console, OutputFormat::Jsonl),
                               context.console.out);
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    const InterruptCatcher interrupts;

    DeviceWatch watch;
    printer->Begin("events", DeviceWatch::EventKeys());
    for (int round = 0; count == 0 || round < count; ++round) {
        if (round > 0) {
            Pause(interval);
        }
        if (InterruptCatcher::StopRequested()) {
            break;
        }
        for (const Record& event : watch.Update(session.Search(), LocalTime())) {
            printer->Row(event);
        }
        printer->Flush();
    }
    printer->End();
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
