#include "TablePrinter.h"

#include "SafeText.h"

#include <algorithm>
#include <cctype>

namespace vanmoor::listing {

namespace {

std::string CellText(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return TerminalText(*text);
    }
    if (const auto* number = std::get_if<long long>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "yes" : "no";
    }
    return "-";
}

} // namespace

void TablePrinter::Begin(const std::string&, const std::vector<std::string>& columns) {
    m_Headings.clear();
    for (std::string heading : columns) {
        std::transform(heading.begin(), heading.end(), heading.begin(),
                       [](unsigned char c) { return c == '_' ? ' ' : std::toupper(c); });
        m_Headings.push_back(heading);
    }
    m_Widths.assign(m_Headings.size(), 0);
    for (std::size_t i = 0; i < m_Headings.size(); ++i) {
        m_Widths[i] = DisplayLength(m_Headings[i]);
    }
}

void TablePrinter::Row(const Record& record) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < record.size() && i < m_Widths.size(); ++i) {
        cells.push_back(CellText(record[i].value));
        m_Widths[i] = std::max(m_Widths[i], DisplayLength(cells.back()));
    }
    m_Pending.push_back(std::move(cells));
}

void TablePrinter::Flush() {
    if (!m_HeadingWritten && !m_Pending.empty()) {
        WriteLine(m_Headings);
        m_HeadingWritten = true;
    }
    for (const auto& cells : m_Pending) {
        WriteLine(cells);
    }
    m_Pending.clear();
    m_Out.flush();
}

void TablePrinter::WriteLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += cells[i];
        if (i + 1 < cells.size()) {
            line.append(m_Widths[i] - DisplayLength(cells[i]) + 2, ' ');
        }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    m_Out << line << '\n';
}

} // namespace vanmoor::listing
