#pragma once

#include "Printer.h"

namespace vanmoor::listing {

// JSON for programs: one document {"<list>": [ ... ]}, or with `linePerRecord` one object per
// line (JSON Lines), flushed as it is written. Texts with invalid UTF-8 get U+FFFD.
class JsonPrinter : public Printer {
public:
    JsonPrinter(std::ostream& out, bool linePerRecord)
        : m_Out(out), m_LinePerRecord(linePerRecord) {}

    void Begin(const std::string& listName, const std::vector<std::string>& columns) override;
    void Row(const Record& record) override;
    void Flush() override { m_Out.flush(); }
    void End() override;

private:
    std::ostream& m_Out;
    const bool m_LinePerRecord;
    bool m_FirstRow = true;
};

} // namespace vanmoor::listing
