#pragma once

#include <string>
#include <vector>

namespace vanmoor::devsim::test {

// Hellos multicast into lan 1, heard on the pc side.
class HelloListener {
public:
    HelloListener();
    ~HelloListener();
    HelloListener(const HelloListener&) = delete;
    HelloListener& operator=(const HelloListener&) = delete;

    // True once a Hello holding every one of `texts` arrived within the test's patience.
    bool HeardHello(const std::vector<std::string>& texts);

private:
    int m_Socket;
};

} // namespace vanmoor::devsim::test
