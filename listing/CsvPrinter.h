#pragma once

#include "Printer.h"

namespace vanmoor::listing {

// CSV after RFC 4180 with a heading row of the keys and CRLF line ends; see CsvCell for what
// happens to device texts.
class CsvPrinter : public Printer {
public:
    explicit CsvPrinter(std::ostream& out) : m_Out(out) {}

    void Begin(const std::string& listName, const std::vector<std::string>& columns) override;
    void Row(const Record& record) override;
    void Flush() override { m_Out.flush(); }
    void End() override { m_Out.flush(); }

private:
    void WriteLine(const std::vector<std::string>& cells);

    std::ostream& m_Out;
};

} // namespace vanmoor::listing
