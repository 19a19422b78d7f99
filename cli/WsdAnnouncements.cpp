#include "WsdAnnouncements.h"

#include "PlatformXmlReader.h"
#include "WsdDevice.h"
#include "WsdListener.h"

namespace vanmoor::cli {

namespace {

wsd::WsdListener::Options OptionsFor(std::vector<std::string> localAddresses) {
    wsd::WsdListener::Options options;
    options.localAddresses = std::move(localAddresses);
    return options;
}

} // namespace

// The listener with the reader it reads through, which must outlive it.
struct WsdAnnouncements::Listening {
    explicit Listening(std::vector<std::string> localAddresses)
        : reader(wsd::MakeXmlReader()), listener(*reader, OptionsFor(std::move(localAddresses))) {}

    std::unique_ptr<wsd::XmlReader> reader;
    wsd::WsdListener listener;
};

WsdAnnouncements::WsdAnnouncements(std::vector<std::string> localAddresses)
    : m_Listening(std::make_unique<Listening>(std::move(localAddresses))) {
    // An address that cannot listen (the port taken by another program) leaves the watch to
    // its searches there.
    m_Listening->listener.Start();
}

WsdAnnouncements::~WsdAnnouncements() = default;

std::vector<WsdAnnouncements::Announcement>
WsdAnnouncements::Poll(std::chrono::milliseconds patience) {
    std::vector<Announcement> heard;
    for (const wsd::Announcement& announcement : m_Listening->listener.Poll(patience)) {
        heard.push_back({announcement.kind == wsd::Announcement::Kind::Hello,
                         site::DeviceFromTarget(announcement.target, announcement.receivedOn,
                                                announcement.sender)});
    }
    return heard;
}

void WsdAnnouncements::ListenOn(std::vector<std::string> localAddresses) {
    m_Listening->listener.ListenOn(std::move(localAddresses));
}

std::size_t WsdAnnouncements::Lost() const {
    return m_Listening->listener.Overflowed();
}

} // namespace vanmoor::cli
