#pragma once

#include "Printer.h"

namespace vanmoor::listing {

// Aligned columns under an upper-case heading, for people. Rows wait until Flush so that their
// columns line up; columns only grow, so a stream of flushes stays aligned.
class TablePrinter : public Printer {
public:
    explicit TablePrinter(std::ostream& out) : m_Out(out) {}

    void Begin(const std::string& listName, const std::vector<std::string>& columns) override;
    void Row(const Record& record) override;
    void Flush() override;
    void End() override { Flush(); }

private:
    void WriteLine(const std::vector<std::string>& cells);

    std::ostream& m_Out;
    std::vector<std::string> m_Headings;
    std::vector<std::size_t> m_Widths;
    std::vector<std::vector<std::string>> m_Pending;
    bool m_HeadingWritten = false;
};

} // namespace vanmoor::listing
