#pragma once

namespace vanmoor::cli {

// Terminal echo of standard input off for as long as it lives; nothing when the input is no
// terminal. SIGINT, SIGTERM and SIGHUP meanwhile turn the echo back on before they take effect.
class EchoOff {
public:
    EchoOff();
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    unsigned long m_Saved = 0; // the terminal's mode, as the platform keeps it
    bool m_Active = false;
};

} // namespace vanmoor::cli
